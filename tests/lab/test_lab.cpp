// The window's behaviour without a window: start-up, the parameter handlers, the run and the
// display refresh, driven as a view drives them.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "DSPTools.h"
#include "DecimalSeparatorScope.h"
#include "Errors.h"
#include "Lab.h"

namespace {
using TState = TRunScheduler::TState;

// A clock that stands still: every slice makes its whole count of passes.
struct TStillClock : TLabClock {
    int64_t Now() override { return 0; }
};

struct LabTest : ::testing::Test {
    TDecimalSeparatorScope Comma{","};
    uint32_t SeedAtStart = RandomSeed;
    TStillClock Clock;
    std::unique_ptr<TLab> Lab = std::make_unique<TLab>(Clock);
    // The message box texts of the errors that left the events, as a view would show them.
    std::vector<std::string> Boxes;

    void TearDown() override { RandomSeed = SeedAtStart; }

    void Event(const std::function<void()> &Action)
    {
        try {
            Action();
        } catch (const Exception &e) {
            Boxes.push_back(MessageBoxText(e.Message()));
        }
    }
    // Selects the box's text and types Text over it, one keystroke at a time.
    void Retype(TEditModel &Edit, const std::string &Text)
    {
        if (Text.empty())
            return Event([&] { Edit.SetText(""); });
        for (size_t n = 1; n <= Text.size(); ++n)
            Event([&] { Edit.SetText(Text.substr(0, n)); });
    }
    void Click(TUpDownModel &UpDown, int Times, TUDBtnType Arrow = TUDBtnType::btNext)
    {
        for (int i = 0; i < Times; ++i)
            Event([&] { UpDown.Click(Arrow); });
    }
    // Runs until Total passes have been made in all, as the view's loop does.
    void RunUntil(int64_t Total)
    {
        Lab->Scheduler().SetPassLimit(Total);
        while (Lab->Scheduler().WantsPasses())
            Event([&] { Lab->Slice(); });
    }
    void RestartPass() { Lab->Pass(); } // the statistics run from here
    bool StatsValid() const { return Lab->EngineState().StatsValid; }
    double Pole() const { return -Lab->EngineState().InputFilter->A(1); }
};

TEST_F(LabTest, StartUpState)
{
    EXPECT_EQ(Lab->RadioGroup1.ItemIndex(), skRectangle);
    EXPECT_EQ(Lab->RadioGroup3.ItemIndex(), ckNone);
    EXPECT_EQ(Lab->RadioGroup2.ItemIndex(), fkRC);
    EXPECT_FALSE(Lab->CheckBox1);
    EXPECT_EQ(Lab->Edit1.Text(), "5");
    EXPECT_EQ(Lab->Edit2.Text(), "0,3");
    EXPECT_EQ(Lab->Edit3.Text(), "0");
    EXPECT_EQ(Lab->UpDown1.Position(), 5);
    EXPECT_EQ(Lab->UpDown2.Position(), 3);
    EXPECT_EQ(Lab->UpDown3.Position(), 0);
    EXPECT_EQ(Lab->UpDown1.Associate(), &Lab->Edit1);
    EXPECT_EQ(Lab->UpDown2.Associate(), nullptr);
    EXPECT_EQ(Lab->UpDown3.Associate(), &Lab->Edit3);
    EXPECT_TRUE(Lab->Timer1Enabled());
    EXPECT_FALSE(Lab->Running());
    EXPECT_EQ(Lab->Scheduler().State(), TState::Idle);
    // The sections follow the time-constant box from the start.
    EXPECT_EQ(Pole(), RCPoleFromTimeConstant(5));
    EXPECT_FALSE(StatsValid());

    // Before Start every refresh shows zeros and leaves the bars empty.
    Lab->Timer1Timer();
    for (const auto &series : Lab->Display().Series)
        for (double v : series)
            ASSERT_EQ(v, 0);
    for (const std::string &text : Lab->Display().Figures)
        EXPECT_EQ(text, "0");
    EXPECT_EQ(Lab->Display().Bars, (std::array<int, 3>{0, 0, 0}));
}

TEST_F(LabTest, NoiseSpinnerWritesTenthsAndStopsAtItsLimits)
{
    RestartPass();
    Click(Lab->UpDown2, 1);
    EXPECT_EQ(Lab->Edit2.Text(), "0,4");
    EXPECT_EQ(Lab->UpDown2.Position(), 4);
    EXPECT_FALSE(StatsValid());
    Click(Lab->UpDown2, 4, TUDBtnType::btPrev);
    EXPECT_EQ(Lab->Edit2.Text(), "0");
    RestartPass();
    Click(Lab->UpDown2, 2, TUDBtnType::btPrev); // at the limit: no event, the statistics stay
    EXPECT_EQ(Lab->UpDown2.Position(), 0);
    EXPECT_TRUE(StatsValid());
    Click(Lab->UpDown2, 10);
    EXPECT_EQ(Lab->Edit2.Text(), "1");
    Click(Lab->UpDown2, 95);
    EXPECT_EQ(Lab->Edit2.Text(), "10");
    EXPECT_EQ(Lab->UpDown2.Position(), 100);
    // Every position's text converts back to the same position, so the echo of the text
    // handler never moves the spinner.
    for (int p = 100; p > 0; --p) {
        Click(Lab->UpDown2, 1, TUDBtnType::btPrev);
        ASSERT_EQ(Lab->UpDown2.Position(), p - 1) << Lab->Edit2.Text();
    }
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(LabTest, TypedNoiseLevelsKeepTheirTextAndSetTheSpinner)
{
    const struct {
        const char *Typed;
        int Position;
        TUDBtnType Arrow;
        const char *NextText;
    } cases[] = {
        {"0,25", 2, TUDBtnType::btNext, "0,3"}, {"-0,5", 0, TUDBtnType::btNext, "0,1"},
        {"12", 100, TUDBtnType::btPrev, "9,9"},  {"1E400", 100, TUDBtnType::btPrev, "9,9"},
        {"0,99", 9, TUDBtnType::btNext, "1"},
    };
    for (const auto &c : cases) {
        RestartPass();
        Retype(Lab->Edit2, c.Typed);
        EXPECT_EQ(Lab->Edit2.Text(), c.Typed);
        EXPECT_EQ(Lab->UpDown2.Position(), c.Position) << c.Typed;
        EXPECT_FALSE(StatsValid());
        Click(Lab->UpDown2, 1, c.Arrow);
        EXPECT_EQ(Lab->Edit2.Text(), c.NextText) << c.Typed;
    }
    // A lone minus on the way to "-0,5" is not a number yet.
    EXPECT_EQ(Boxes, std::vector<std::string>({"'-' is not a valid floating point value."}));

    RestartPass();
    Retype(Lab->Edit2, "");
    Retype(Lab->Edit2, "0.3");
    EXPECT_EQ(std::vector<std::string>(Boxes.begin() + 1, Boxes.end()),
              std::vector<std::string>({"'' is not a valid floating point value.",
                                        "'0.' is not a valid floating point value.",
                                        "'0.3' is not a valid floating point value."}));
    EXPECT_EQ(Lab->UpDown2.Position(), 0); // from the "0" typed on the way
    EXPECT_FALSE(StatsValid());
}

TEST_F(LabTest, TimeConstantKeystrokesBuildSectionsOrReportWithoutChange)
{
    RestartPass();
    Retype(Lab->Edit1, "12"); // through tau = 1 to tau = 12
    EXPECT_EQ(Pole(), RCPoleFromTimeConstant(12));
    EXPECT_FALSE(StatsValid());
    EXPECT_EQ(Lab->EngineState().InputFilter->B(0), static_cast<double>(1.0L - RCPoleFromTimeConstant(12)));

    const TIIRFilter *sections = Lab->EngineState().InputFilter.get();
    RestartPass();
    Retype(Lab->Edit1, "");
    EXPECT_EQ(Boxes, std::vector<std::string>({"'' is not a valid floating point value."}));
    EXPECT_EQ(Lab->EngineState().InputFilter.get(), sections);
    EXPECT_TRUE(StatsValid());

    // "0" and "0," are both zero: two division errors, then tau = 0.5.
    Retype(Lab->Edit1, "0,5");
    EXPECT_EQ(std::vector<std::string>(Boxes.begin() + 1, Boxes.end()),
              std::vector<std::string>(2, "Floating point division by zero."));
    EXPECT_EQ(Pole(), RCPoleFromTimeConstant(0.5L));

    // The arrows step the box through whole numbers, each step building sections; "0,5" is
    // none, so they start from the spinner's 5.
    Click(Lab->UpDown1, 1);
    EXPECT_EQ(Lab->Edit1.Text(), "6");
    EXPECT_EQ(Pole(), RCPoleFromTimeConstant(6));
    Click(Lab->UpDown1, 10, TUDBtnType::btPrev);
    EXPECT_EQ(Lab->Edit1.Text(), "1");
}

TEST_F(LabTest, CopyControlsTakeEffectWithoutARestart)
{
    RestartPass();
    Click(Lab->UpDown3, 3);
    EXPECT_EQ(Lab->Edit3.Text(), "3");
    Lab->CheckBox1 = true;
    EXPECT_TRUE(StatsValid());
}

TEST_F(LabTest, SignalGroupsStayExclusiveAndReselectingChangesNothing)
{
    RestartPass();
    Lab->RadioGroup3.Select(ckBarker);
    EXPECT_EQ(Lab->RadioGroup1.ItemIndex(), -1);
    EXPECT_FALSE(StatsValid());
    Lab->RadioGroup1.Select(2);
    EXPECT_EQ(Lab->RadioGroup3.ItemIndex(), -1);

    RestartPass();
    Lab->RadioGroup1.Select(2);
    Lab->RadioGroup2.Select(fkRC);
    EXPECT_TRUE(StatsValid());
    Lab->RadioGroup2.Select(fkMatched);
    EXPECT_FALSE(StatsValid());
    EXPECT_EQ(Lab->RadioGroup1.ItemIndex(), 2);
}

// Runs made through the events end in the state of a bare engine given the same parameters
// and restarts, stop making passes at Stop, and the refresh shows that state.
TEST_F(LabTest, RunsEndInTheBareEnginesStateAndTheRefreshShowsIt)
{
    struct TSegment {
        int Passes;     // made after Start is pressed
        bool StopAfter; // else the next Start is pressed during the run
    };
    struct TRow {
        const char *What;
        std::function<void(TLab &)> Set;
        TPassParameters Bare;
        std::vector<TSegment> Segments;
    };
    const std::vector<TRow> rows = {
        {"RC section, rectangle", [](TLab &) {}, {0.3, false, 0, skRectangle, ckNone, fkRC}, {{700, true}}},
        {"matched filter, Barker code with a copy 20 samples later",
         [](TLab &l) {
             l.RadioGroup3.Select(ckBarker);
             l.RadioGroup2.Select(fkMatched);
             l.CheckBox1 = true;
             for (int i = 0; i < 20; ++i)
                 l.UpDown3.Click(TUDBtnType::btNext);
         },
         {0.3, true, 20, skNone, ckBarker, fkMatched}, {{450, true}}},
        {"Stop then Start, and Start during a run, restart the averaging", [](TLab &) {},
         {0.3, false, 0, skRectangle, ckNone, fkRC}, {{300, true}, {200, false}, {150, true}}},
    };
    for (const TRow &row : rows) {
        SCOPED_TRACE(row.What);
        RandomSeed = SeedAtStart;
        Lab = std::make_unique<TLab>(Clock);
        row.Set(*Lab);
        int64_t total = 0;
        bool running = false;
        for (const TSegment &seg : row.Segments) {
            Lab->Button1Click();
            EXPECT_EQ(Lab->EngineState().AvgCount, 0);
            RunUntil(total += seg.Passes);
            EXPECT_EQ(Lab->Scheduler().PassesMade(), total);
            EXPECT_EQ(Lab->Scheduler().State(), TState::Active);
            if (seg.StopAfter)
                Lab->Button2Click();
            running = !seg.StopAfter;
        }
        EXPECT_FALSE(running);
        EXPECT_FALSE(Lab->Running());
        EXPECT_FALSE(Lab->Timer1Enabled());
        EXPECT_FALSE(Lab->Scheduler().WantsPasses());

        RandomSeed = SeedAtStart;
        TExperiment bare;
        bare.SetTimeConstant(5);
        for (const TSegment &seg : row.Segments) {
            bare.StartRun();
            for (int i = 0; i < seg.Passes; ++i)
                bare.Pass(row.Bare);
        }
        const TExperimentState &b = bare.State();
        const TExperimentState &e = Lab->EngineState();
        EXPECT_EQ(e.SignalHist, b.SignalHist);
        EXPECT_EQ(e.NoiseHist, b.NoiseHist);
        EXPECT_EQ(e.OutputHist, b.OutputHist);
        EXPECT_EQ(e.OutNoiseHist, b.OutNoiseHist);
        EXPECT_EQ(e.OutPeakWin, b.OutPeakWin);
        EXPECT_EQ(e.AvgCount, b.AvgCount);
        EXPECT_EQ(e.Generator->SampleIndex(), b.Generator->SampleIndex());

        Lab->Timer1Timer();
        const TDisplay &d = Lab->Display();
        const std::vector<std::string> figures = {FigureText(b.InPeak),     FigureText(b.InNoiseRms),
                                                  FigureText(b.InSnr),      FigureText(b.OutPeak),
                                                  FigureText(b.OutNoiseRms), FigureText(b.OutSnr),
                                                  GainText(b.InSnr, b.OutSnr)};
        EXPECT_EQ(std::vector<std::string>(d.Figures.begin(), d.Figures.end()), figures);
        EXPECT_EQ(d.Bars[0], RatioBarPosition(b.InSnr, 1500));
        for (int i = 0; i < TExperiment::HistLen; ++i) {
            ASSERT_EQ(d.Series[0][i], b.SignalHist[i]) << i;
            ASSERT_EQ(d.Series[1][i], b.InputHist[i]) << i;
            ASSERT_EQ(d.Series[2][i], b.OutputHist[i]) << i;
        }
        EXPECT_TRUE(Boxes.empty());
    }
}

// A text that does not convert, or a noise level beyond the double range, holds the run at
// its first pass until Start or Stop; the view shows the message once.
TEST_F(LabTest, UnusablePassParametersStallTheRun)
{
    const struct {
        TEditModel TLab::*Box;
        const char *Text;
        const char *Message;
    } rows[] = {
        {&TLab::Edit3, "x", "'x' is not a valid integer value."},
        {&TLab::Edit3, "", "'' is not a valid integer value."},
        {&TLab::Edit2, "1E400", "Floating point overflow."},
    };
    for (const auto &r : rows) {
        Lab = std::make_unique<TLab>(Clock);
        Boxes.clear();
        (Lab.get()->*r.Box).OnChange = nullptr;
        (Lab.get()->*r.Box).SetText(r.Text);
        Lab->Button1Click();
        RunUntil(10);
        EXPECT_EQ(Boxes, std::vector<std::string>({r.Message})) << r.Text;
        EXPECT_EQ(Lab->Scheduler().State(), TState::Stalled);
        EXPECT_FALSE(Lab->Scheduler().WantsPasses());
        EXPECT_TRUE(Lab->Running());
        EXPECT_TRUE(Lab->Timer1Enabled());
        EXPECT_EQ(Lab->Scheduler().PassesMade(), 0);
        EXPECT_EQ(Lab->EngineState().Generator->SampleIndex(), 0);
    }
    // Start again after mending the text: the run goes on; Stop ends it.
    Lab->Edit2.SetText("0,3");
    Lab->Button1Click();
    RunUntil(50);
    EXPECT_EQ(Lab->Scheduler().PassesMade(), 50);
    Lab->Button2Click();
    EXPECT_EQ(Lab->Scheduler().State(), TState::Idle);
}

TEST_F(LabTest, ClosingTheWindowDuringARunEndsTheRun)
{
    Lab->Button1Click();
    RunUntil(20);
    Lab->FormClose();
    EXPECT_FALSE(Lab->Running());
    EXPECT_EQ(Lab->Scheduler().State(), TState::Idle);
    EXPECT_FALSE(Lab->Scheduler().WantsPasses());
}

TEST_F(LabTest, UnderAPointTheStoredNoiseTextStartsAndACommaFailsFromTheNextPass)
{
    TDecimalSeparatorScope point(".");
    Lab = std::make_unique<TLab>(Clock);
    EXPECT_EQ(Lab->Edit2.Text(), "0.3");
    Lab->Button1Click();
    RunUntil(10);
    EXPECT_TRUE(Boxes.empty());
    // The box's own handler reports the text first, then the next pass stalls on it.
    Retype(Lab->Edit2, "0,3");
    RunUntil(20);
    EXPECT_EQ(std::vector<std::string>(Boxes.end() - 2, Boxes.end()),
              std::vector<std::string>(2, "'0,3' is not a valid floating point value."));
    EXPECT_EQ(Lab->Scheduler().State(), TState::Stalled);
    EXPECT_EQ(Lab->Scheduler().PassesMade(), 10);
    // The spinner writes the separator in force.
    Click(Lab->UpDown2, 1);
    EXPECT_EQ(Lab->Edit2.Text(), "0.1"); // from the "0" typed on the way
}

// The pass parameters follow every way the controls can change between two passes, texts are
// read again after a change of the decimal separator, and a text that does not convert raises
// on every read until it is changed.
TEST(PassInputsTest, FollowTheControlsBetweenPasses)
{
    TDecimalSeparatorScope comma{","};
    TEditModel noise("0,3"), delay("0");
    bool copy = false;
    TRadioGroupModel simple(2, 0), complex(2, -1), filter(2, 0);
    TPassInputs inputs({noise, copy, delay, simple, complex, filter});
    using TCheck = std::function<bool(const TPassParameters &)>;
    const struct {
        const char *Change;
        std::function<void()> Make;
        TCheck Holds; // empty: the read raises EConvertError
    } steps[] = {
        {"none", [] {}, [](auto &P) { return P.NoiseSD == 0.3 && !P.CopyEnabled && P.CopyShift == 0; }},
        {"copy checked", [&] { copy = true; }, [](auto &P) { return P.CopyEnabled; }},
        {"noise typed", [&] { noise.SetText("1,5"); }, [](auto &P) { return P.NoiseSD == 1.5; }},
        {"delay typed", [&] { delay.SetText("40"); }, [](auto &P) { return P.CopyShift == 40; }},
        {"kinds set",
         [&] {
             simple.SetItemIndex(1);
             complex.SetItemIndex(0);
             filter.SetItemIndex(1);
         },
         [](auto &P) { return P.SimpleKind == 1 && P.ComplexKind == ckLfm && P.FilterKind == fkMatched; }},
        {"separator now a point", [] { SetDecimalSeparator("."); }, {}},
        {"still the same", [] {}, {}},
        {"noise retyped", [&] { noise.SetText("2.5"); }, [](auto &P) { return P.NoiseSD == 2.5; }},
        {"bad delay", [&] { delay.SetText("4x"); }, {}},
        {"delay retyped", [&] { delay.SetText("7"); }, [](auto &P) { return P.CopyShift == 7 && P.NoiseSD == 2.5; }},
    };
    for (const auto &step : steps) {
        step.Make();
        if (step.Holds)
            EXPECT_TRUE(step.Holds(inputs.Read())) << step.Change;
        else
            EXPECT_THROW(inputs.Read(), EConvertError) << step.Change;
    }
}

} // namespace
