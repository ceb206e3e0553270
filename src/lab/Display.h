#pragma once
// What the display refresh shows, as data: the three charts' points, the seven figure texts
// and the three bar positions, with the rules that turn the measured figures into them.

#include <array>
#include <string>

#include "ChartPanel.h"
#include "Experiment.h"

struct TDisplay {
    // The bars' maxima: full at a ratio of 150 and at a gain of 10.
    static constexpr std::array<int, 3> BarMax = {1500, 1500, 100};

    // The clean signal, the filter's input and its output, entries 0 .. 255, point i at i.
    std::array<std::array<double, TExperimentState::HistLen>, 3> Series{};
    // Peak, noise and ratio at the input, the same at the output, then the gain.
    std::array<std::string, 7> Figures{"0", "0", "0", "0", "0", "0", "0"};
    // The input ratio, the output ratio and the gain, tenfold.
    std::array<int, 3> Bars{};
    // Grows with every refresh, so that a view draws each one once.
    unsigned Refreshes = 0;

    // One refresh from the engine's state.
    void Refresh(const TExperimentState &Engine);
};

// The scale of chart Chart (0 .. 2, as in Series): the clean signal and the filter's input on a
// fixed vertical scale of -2.5 .. 2.5, the output on one that follows its values.
void ShapeChart(TChartPanel &Panel, int Chart);

// A figure box's text: four significant digits, "INF" for an infinite ratio.
std::string FigureText(double Value);

// The gain in signal-to-noise ratio, OutSnr / InSnr at extended precision, as its box shows
// it: "0" when either ratio is infinite or the input ratio is 0.
std::string GainText(double InSnr, double OutSnr);

// Ten times a ratio as a bar position, halves to even; Full for an infinite ratio, and for
// one whose tenfold value does not fit the bar's 32-bit position.
int RatioBarPosition(double Snr, int Full);

// Ten times the gain as a bar position; 0 when either ratio is 0 or infinite.
int GainBarPosition(double InSnr, double OutSnr, int Full);
