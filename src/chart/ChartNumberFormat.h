#pragma once
// Separators the axis labels use, and the label format "#,##0.###". The chart keeps its own
// copy: the window sets these together with the program's regional number settings.

#include <string>
#include <string_view>

// Each separator is one character in UTF-8; anything else falls back to "." (decimal) or
// "," (thousands).
void SetChartNumberSeparators(const std::string &Decimal, const std::string &Thousands);
const std::string &ChartDecimalSeparator();
const std::string &ChartThousandSeparator();

// v with at least one integer digit, thousands grouped, at most three decimals (rounded to
// nearest, halves away from zero), trailing zeros and a bare decimal separator dropped, a
// leading minus for negative values. A value that rounds to zero is written "0", without a
// sign. Infinities and NaN give "INF", "-INF" and "NAN".
std::string FormatAxisValue(double v);
std::string FormatAxisValue(double v, std::string_view Decimal, std::string_view Thousands);
