#include "ChartNumberFormat.h"

#include <cmath>
#include <cstdio>

namespace {
std::string GChartDecimal = ".";
std::string GChartThousands = ",";

bool IsOneCharacter(const std::string &s)
{
    if (s.empty() || s.size() > 4)
        return false;
    const auto lead = static_cast<unsigned char>(s[0]);
    const std::size_t len = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (len != s.size())
        return false;
    for (std::size_t i = 1; i < len; ++i)
        if ((static_cast<unsigned char>(s[i]) >> 6) != 0x2)
            return false;
    return true;
}

// Exact decimal expansion rounded to three decimals. printf rounds an exact tie to even;
// ties exist only for odd multiples of 1/16 (x.0625, x.1875, ...), whose four-decimal text
// is exact, so those are rounded away from zero by hand.
std::string FixedThreeDecimals(double a)
{
    char small[64];
    const double sixteenths = a * 16.0;
    const bool tie = a < 0x1p49 && std::floor(sixteenths) == sixteenths && std::fmod(sixteenths, 2.0) == 1.0;
    if (!tie) {
        const int n = std::snprintf(small, sizeof small, "%.3f", a);
        if (n >= 0 && static_cast<std::size_t>(n) < sizeof small)
            return small;
        std::string big(static_cast<std::size_t>(n) + 1, '\0');
        std::snprintf(big.data(), big.size(), "%.3f", a);
        big.resize(static_cast<std::size_t>(n));
        return big;
    }
    std::snprintf(small, sizeof small, "%.4f", a);
    std::string s(small);
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

void SetChartNumberSeparators(const std::string &Decimal, const std::string &Thousands)
{
    GChartDecimal = IsOneCharacter(Decimal) ? Decimal : std::string(".");
    GChartThousands = IsOneCharacter(Thousands) ? Thousands : std::string(",");
}

const std::string &ChartDecimalSeparator() { return GChartDecimal; }
const std::string &ChartThousandSeparator() { return GChartThousands; }

std::string FormatAxisValue(double v)
{
    return FormatAxisValue(v, GChartDecimal, GChartThousands);
}

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
