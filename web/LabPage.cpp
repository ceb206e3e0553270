// The laboratory for the browser: the lab's controls, events, run and refresh behind a small
// interface for the page's script, and the three charts drawn by the chart panel on the page's
// 2D canvases. The page forwards each user's action here and draws the state it reads back;
// this is its one catching point: an error that leaves an event comes back as the text of the
// message the page shows.

#include <emscripten/bind.h>
#include <emscripten/emscripten.h>
#include <emscripten/val.h>

#include <array>
#include <functional>
#include <string>

#include "CanvasChart.h"
#include "ChartDataText.h"
#include "ChartPanel.h"
#include "Errors.h"
#include "Lab.h"
#include "NumberSettings.h"
#include "Utf8.h"

namespace {

class TPageClock : public TLabClock {
public:
    int64_t Now() override { return static_cast<int64_t>(emscripten_get_now() * 1e6); }
};

// A separator the browser gives must be one character, as on the desktop; else the fallback.
std::string OneCharacter(const std::string &Text, const char *Fallback)
{
    return IsOneUtf8Character(Text) ? Text : std::string(Fallback);
}

class TLabPage {
public:
    TLabPage(const std::string &Decimal, const std::string &Thousands)
    {
        SetDecimalSeparator(OneCharacter(Decimal, "."));
        SetThousandSeparator(OneCharacter(Thousands, ","));
        FLab = std::make_unique<TLab>(FClock);
        for (int i = 0; i < 3; ++i) {
            FCharts[i].SetNumberSeparators({DecimalSeparator(), ThousandSeparator()});
            FSeries[i] = FCharts[i].AddLineSeries();
            ShapeChart(FCharts[i], i);
        }
    }

    void SetTitle(int Chart, const std::string &Title) { FCharts.at(Chart).SetTitleText({Title}); }

    // The events; each answers "" or the message of the error that left it.
    std::string SetText(int Box, const std::string &Text) { return Guarded([&] { Edit(Box).SetText(Text); }); }
    std::string Select(int Group, int Index) { return Guarded([&] { RadioGroup(Group).Select(Index); }); }
    std::string Spin(int Spinner, bool Up)
    {
        return Guarded([&] { UpDown(Spinner).Click(Up ? TUDBtnType::btNext : TUDBtnType::btPrev); });
    }
    std::string SetCopy(bool Checked) { return Guarded([&] { FLab->CheckBox1 = Checked; }); }
    std::string Start() { return Guarded([&] { FLab->Button1Click(); }); }
    std::string Stop() { return Guarded([&] { FLab->Button2Click(); }); }
    std::string Tick() { return Guarded([&] { FLab->Timer1Timer(); }); }
    std::string Close() { return Guarded([&] { FLab->FormClose(); }); }
    std::string Slice() { return Guarded([&] { FLab->Slice(); }); }

    // The state the page draws.
    std::string Text(int Box) { return Edit(Box).Text(); }
    int ItemIndex(int Group) { return RadioGroup(Group).ItemIndex(); }
    bool Checked() const { return FLab->CheckBox1; }
    bool Running() const { return FLab->Running(); }
    bool TimerEnabled() const { return FLab->Timer1Enabled(); }
    bool WantsPasses() const { return FLab->Scheduler().WantsPasses(); }
    double PassesMade() const { return static_cast<double>(FLab->Scheduler().PassesMade()); }
    void SetPassLimit(double Limit) { FLab->Scheduler().SetPassLimit(static_cast<int64_t>(Limit)); }
    unsigned Refreshes() const { return FLab->Display().Refreshes; }
    std::string Figure(int Index) const { return FLab->Display().Figures.at(Index); }
    int Bar(int Index) const { return FLab->Display().Bars.at(Index); }
    int BarMax(int Index) const { return TDisplay::BarMax.at(Index); }

    // Draws a chart with the points of the last refresh on a canvas of Width x Height layout
    // pixels at Ratio device pixels each.
    void DrawChart(int Chart, emscripten::val Context, int Width, int Height, double Ratio)
    {
        TLineSeries &series = *FSeries.at(Chart);
        series.RemoveAllPoints();
        for (double v : FLab->Display().Series.at(Chart))
            series.AppendValue(v);
        TCanvasChart canvas(std::move(Context), Ratio);
        FCharts[Chart].Draw(canvas, {0, 0, Width, Height});
    }

    // The points of a chart as last drawn: a CSV file, and tab-separated text with the
    // decimal separator in force for a spreadsheet.
    std::string ChartCsv(int Chart) const { return ChartPointsCsv(ChartPoints(FCharts.at(Chart))); }
    std::string ChartText(int Chart) const
    {
        return ChartPointsTsv(ChartPoints(FCharts.at(Chart)), DecimalSeparator());
    }

private:
    std::string Guarded(const std::function<void()> &Event)
    {
        try {
            Event();
            return {};
        } catch (const Exception &e) {
            return MessageBoxText(e.Message());
        } catch (const std::exception &e) {
            return MessageBoxText(e.what());
        }
    }
    TEditModel &Edit(int Box)
    {
        std::array<TEditModel *, 3> boxes = {&FLab->Edit1, &FLab->Edit2, &FLab->Edit3};
        return *boxes.at(Box);
    }
    TRadioGroupModel &RadioGroup(int Group)
    {
        std::array<TRadioGroupModel *, 3> groups = {&FLab->RadioGroup1, &FLab->RadioGroup2, &FLab->RadioGroup3};
        return *groups.at(Group);
    }
    TUpDownModel &UpDown(int Spinner)
    {
        std::array<TUpDownModel *, 3> spinners = {&FLab->UpDown1, &FLab->UpDown2, &FLab->UpDown3};
        return *spinners.at(Spinner);
    }

    TPageClock FClock;
    std::unique_ptr<TLab> FLab;
    std::array<TChartPanel, 3> FCharts;
    std::array<TLineSeries *, 3> FSeries{};
};

} // namespace

EMSCRIPTEN_BINDINGS(lab)
{
    using namespace emscripten;
    class_<TLabPage>("LabPage")
        .constructor<std::string, std::string>()
        .function("setTitle", &TLabPage::SetTitle)
        .function("setText", &TLabPage::SetText)
        .function("select", &TLabPage::Select)
        .function("spin", &TLabPage::Spin)
        .function("setCopy", &TLabPage::SetCopy)
        .function("start", &TLabPage::Start)
        .function("stop", &TLabPage::Stop)
        .function("tick", &TLabPage::Tick)
        .function("close", &TLabPage::Close)
        .function("slice", &TLabPage::Slice)
        .function("text", &TLabPage::Text)
        .function("itemIndex", &TLabPage::ItemIndex)
        .function("checked", &TLabPage::Checked)
        .function("running", &TLabPage::Running)
        .function("timerEnabled", &TLabPage::TimerEnabled)
        .function("wantsPasses", &TLabPage::WantsPasses)
        .function("passesMade", &TLabPage::PassesMade)
        .function("setPassLimit", &TLabPage::SetPassLimit)
        .function("refreshes", &TLabPage::Refreshes)
        .function("figure", &TLabPage::Figure)
        .function("bar", &TLabPage::Bar)
        .function("barMax", &TLabPage::BarMax)
        .function("drawChart", &TLabPage::DrawChart)
        .function("chartCsv", &TLabPage::ChartCsv)
        .function("chartText", &TLabPage::ChartText);
}
