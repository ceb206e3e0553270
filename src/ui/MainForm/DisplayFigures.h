#pragma once
// What the figure boxes and bars of the display show for the measured figures.

#include <string>

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
