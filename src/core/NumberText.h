#pragma once
// Conversions between numbers and text with the decimal separator in force.

#include <cstdint>
#include <string>
#include <string_view>

// General format: P significant digits (clamped to 2..18), at least W exponent digits
// (a W above 4 counts as 0); fixed-point while the rounded value is at least 0.0001 and
// has at most P integer digits, scientific otherwise. "INF", "-INF", "NAN" for the special values.
std::string FormatGeneral(long double x, int P, int W);

// Raise EConvertError "'<text>' is not a valid floating point value" / "... integer value".
long double ParseFloatText(std::string_view Text);
int32_t ParseIntText(std::string_view Text);
