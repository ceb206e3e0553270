#include "Display.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "NumberText.h"

namespace {
int TenfoldPosition(long double Value, int Full)
{
    const long double rounded = std::nearbyint(Value * 10.0L);
    if (!(rounded >= std::numeric_limits<int32_t>::min() && rounded <= std::numeric_limits<int32_t>::max()))
        return Full;
    return static_cast<int>(rounded);
}

long double Gain(double InSnr, double OutSnr)
{
    return static_cast<long double>(OutSnr) / static_cast<long double>(InSnr);
}
} // namespace

void ShapeChart(TChartPanel &Panel, int Chart)
{
    if (Chart == 2)
        return;
    TScaleDiv &axis = Panel.LeftAxis();
    axis.SetAutomatic(false);
    axis.SetAutomaticMinimum(false);
    axis.SetAutomaticMaximum(false);
    axis.SetMinimum(-2.5);
    axis.SetMaximum(2.5);
}

std::string FigureText(double Value)
{
    return FormatGeneral(Value, 4, 4);
}

std::string GainText(double InSnr, double OutSnr)
{
    if (InSnr == 0 || std::isinf(InSnr) || std::isinf(OutSnr))
        return "0";
    return FormatGeneral(Gain(InSnr, OutSnr), 4, 4);
}

int RatioBarPosition(double Snr, int Full)
{
    if (std::isinf(Snr))
        return Full;
    return TenfoldPosition(Snr, Full);
}

int GainBarPosition(double InSnr, double OutSnr, int Full)
{
    if (InSnr == 0 || std::isinf(InSnr) || OutSnr == 0 || std::isinf(OutSnr))
        return 0;
    return TenfoldPosition(Gain(InSnr, OutSnr), Full);
}

void TDisplay::Refresh(const TExperimentState &e)
{
    const auto fill = [](auto &Points, const auto &History) {
        const auto entries = History.Entries(0, TExperimentState::HistLen);
        std::copy(entries.begin(), entries.end(), Points.begin());
    };
    fill(Series[0], e.SignalHist);
    fill(Series[1], e.InputHist);
    fill(Series[2], e.OutputHist);
    Figures = {FigureText(e.InPeak),  FigureText(e.InNoiseRms),  FigureText(e.InSnr), FigureText(e.OutPeak),
               FigureText(e.OutNoiseRms), FigureText(e.OutSnr), GainText(e.InSnr, e.OutSnr)};
    Bars = {RatioBarPosition(e.InSnr, BarMax[0]), RatioBarPosition(e.OutSnr, BarMax[1]),
            GainBarPosition(e.InSnr, e.OutSnr, BarMax[2])};
    ++Refreshes;
}
