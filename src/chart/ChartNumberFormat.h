#pragma once
// The axis label format "#,##0.###". The separators come with each call: the chart keeps none
// of its own, and checks none, since the window hands it the regional ones it has checked.

#include <string>
#include <string_view>

// The separators a panel writes its labels with, each one character in UTF-8.
struct TNumberSeparators {
    std::string Decimal = ".";
    std::string Thousands = ",";
};

// v with at least one integer digit, thousands grouped, at most three decimals (rounded to
// nearest, halves away from zero), trailing zeros and a bare decimal separator dropped, a
// leading minus for negative values. A value that rounds to zero is written "0", without a
// sign. Infinities and NaN give "INF", "-INF" and "NAN".
std::string FormatAxisValue(double v, std::string_view Decimal, std::string_view Thousands);
