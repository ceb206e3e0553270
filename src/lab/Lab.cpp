#include "Lab.h"

#include <algorithm>
#include <cmath>

#include "NumberSettings.h"
#include "NumberText.h"

TLab::TLab(TLabClock &Clock)
    : Edit2("0" + DecimalSeparator() + "3"), FScheduler([this] { Pass(); }, Clock)
{
    // The time-constant box's spinner writes its "5" once as the window comes up, so the RC
    // sections follow the box from the start.
    Edit1Change();
    Edit1.OnChange = [this] { Edit1Change(); };
    Edit2.OnChange = [this] { Edit2Change(); };
    UpDown2.OnClick = [this](TUDBtnType Button) { UpDown2Click(Button); };
    RadioGroup1.OnClick = [this] { RadioGroup1Click(); };
    RadioGroup2.OnClick = [this] { RadioGroup2Click(); };
    RadioGroup3.OnClick = [this] { RadioGroup3Click(); };
}

void TLab::Button1Click()
{
    FRunning = true;
    FTimer1Enabled = true;
    // Start during a run restarts the averaging of the same run.
    FEngine->StartRun();
    FScheduler.Start();
}

void TLab::Button2Click()
{
    FRunning = false;
    FTimer1Enabled = false;
    FScheduler.Stop();
}

void TLab::FormClose()
{
    // Closing the window ends a run and with it the program.
    if (FRunning)
        Button2Click();
}

void TLab::Pass()
{
    FEngine->Pass(FInputs.Read());
}

void TLab::Timer1Timer()
{
    FDisplay.Refresh(FEngine->State());
}

void TLab::Edit1Change()
{
    FEngine->SetTimeConstant(ParseFloatText(Edit1.Text()));
}

void TLab::Edit2Change()
{
    FEngine->MarkStatsStale();
    const long double tenfold = std::trunc(NoiseLevel(Edit2) * 10.0L);
    // A typed level beyond the spinner's range holds it at the nearer limit (before the
    // conversion, which an infinite level would not survive).
    UpDown2.SetPosition(static_cast<int>(std::clamp<long double>(tenfold, UpDown2.Min(), UpDown2.Max())));
}

void TLab::UpDown2Click(TUDBtnType)
{
    Edit2.SetText(NoiseLevelText(UpDown2.Position() / 10.0L));
    FEngine->MarkStatsStale();
}

void TLab::RadioGroup1Click()
{
    FEngine->MarkStatsStale();
    RadioGroup3.SetItemIndex(ckNone);
}

void TLab::RadioGroup2Click()
{
    FEngine->MarkStatsStale();
}

void TLab::RadioGroup3Click()
{
    FEngine->MarkStatsStale();
    RadioGroup1.SetItemIndex(skNone);
}
