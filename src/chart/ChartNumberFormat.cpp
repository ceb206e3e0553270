#include "ChartNumberFormat.h"

#include <cmath>
#include <cstdio>

namespace {
std::string GChartDecimal = ".";
std::string GChartThousands = ",";

// Exactly one well-formed UTF-8 sequence of 1 to 4 bytes: no stray continuation byte, no
// overlong form, no surrogate, nothing above U+10FFFF.
bool IsOneCharacter(const std::string &s)
{
    if (s.empty())
        return false;
    const auto lead = static_cast<unsigned char>(s[0]);
    std::size_t len = 0;
    // The second byte's range; later ones are always 0x80 .. 0xBF.
    unsigned char low = 0x80, high = 0xBF;
    if (lead < 0x80)
        len = 1;
    else if (lead >= 0xC2 && lead <= 0xDF)
        len = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else
        return false;
    if (s.size() != len)
        return false;
    for (std::size_t i = 1; i < len; ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < (i == 1 ? low : 0x80) || c > (i == 1 ? high : 0xBF))
            return false;
    }
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
