#include "ChartNumberFormat.h"

#include <charconv>
#include <cmath>

namespace {
// The digits of a >= 0 with Decimals places, correctly rounded with ties to even; no locale
// takes part. The widest double needs 309 integer digits.
std::string Fixed(double a, int Decimals)
{
    char buffer[320];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, a, std::chars_format::fixed, Decimals);
    return std::string(buffer, result.ptr);
}

// Exact decimal expansion rounded to three decimals, halves away from zero. Ties exist only
// for odd multiples of 1/16 (x.0625, x.1875, ...), whose four-decimal text is exact: those
// are rounded up by hand instead of to even.
std::string FixedThreeDecimals(double a)
{
    const double sixteenths = a * 16.0;
    const bool tie = a < 0x1p49 && std::floor(sixteenths) == sixteenths && std::fmod(sixteenths, 2.0) == 1.0;
    if (!tie)
        return Fixed(a, 3);
    std::string s = Fixed(a, 4);
    s.pop_back(); // the final '5'
    for (std::size_t i = s.size(); i-- > 0;) {
        if (s[i] == '.')
            continue;
        if (s[i] != '9') {
            ++s[i];
            return s;
        }
        s[i] = '0';
    }
    return "1" + s;
}
} // namespace

std::string FormatAxisValue(double v, std::string_view Decimal, std::string_view Thousands)
{
    if (std::isnan(v))
        return "NAN";
    if (std::isinf(v))
        return v < 0 ? "-INF" : "INF";

    const std::string digits = FixedThreeDecimals(std::fabs(v));
    const std::size_t point = digits.find('.');
    const std::string whole = digits.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : digits.substr(point + 1);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();

    std::string out;
    const bool zero = fraction.empty() && whole.find_first_not_of('0') == std::string::npos;
    if (v < 0 && !zero)
        out += '-';
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            out += Thousands;
        out += whole[i];
    }
    if (!fraction.empty()) {
        out += Decimal;
        out += fraction;
    }
    return out;
}
