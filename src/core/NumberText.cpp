#include "NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "Errors.h"
#include "NumberSettings.h"

namespace {

constexpr int AllDigits = 18;

// |x| as 0.d1 .. d18 x 10^E with d1 != 0, the 18 digits correctly rounded (ties to even on
// the exact binary value). to_chars, unlike the C library's printf, ignores the process
// locale, which the window's toolkit sets from the user's settings.
int DecimalDigits(long double x, char (&Digits)[AllDigits])
{
    char Buffer[64];
    const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, std::fabs(x),
                                      std::chars_format::scientific, AllDigits - 1);
    // d.ddddddddddddddddde[+-]x..x
    Digits[0] = Buffer[0];
    std::copy_n(Buffer + 2, AllDigits - 1, Digits + 1);
    int Exponent = 0;
    std::from_chars(Buffer + AllDigits + 2 + (Buffer[AllDigits + 2] == '+'), Result.ptr, Exponent);
    return Exponent + 1;
}

void AppendPadded(std::string &Text, int Value, int Width)
{
    const std::string Number = std::to_string(Value);
    if (static_cast<int>(Number.size()) < Width)
        Text.append(Width - Number.size(), '0');
    Text += Number;
}

[[noreturn]] void FailFloat(std::string_view Text)
{
    throw EConvertError("'" + std::string(Text) + "' is not a valid floating point value");
}

[[noreturn]] void FailInt(std::string_view Text)
{
    throw EConvertError("'" + std::string(Text) + "' is not a valid integer value");
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// 10^n for n >= 0: exact up to 10^27, the largest power of ten that extended precision holds.
long double PowerOfTen(int64_t n)
{
    static const auto Exact = [] {
        std::array<long double, 28> Table{};
        Table[0] = 1;
        for (std::size_t i = 1; i < Table.size(); ++i)
            Table[i] = Table[i - 1] * 10;
        return Table;
    }();
    if (n < static_cast<int64_t>(Exact.size()))
        return Exact[n];
    return std::pow(10.0L, static_cast<long double>(n)); // infinite beyond the extended range
}

// Both parsers start alike: leading spaces (the space character only), then one optional
// sign. Moves i past them and tells whether the sign was a minus.
bool SkipSpacesAndSign(std::string_view Text, std::size_t &i)
{
    while (i < Text.size() && Text[i] == ' ')
        ++i;
    if (i < Text.size() && (Text[i] == '+' || Text[i] == '-'))
        return Text[i++] == '-';
    return false;
}

} // namespace

std::string FormatGeneral(long double x, int P, int W)
{
    P = std::clamp(P, 2, AllDigits);
    if (W > 4)
        W = 0;
    if (std::isnan(x))
        return "NAN";
    if (std::isinf(x))
        return x > 0 ? "INF" : "-INF";
    if (x == 0)
        return "0";

    char Digits[AllDigits];
    int E = DecimalDigits(x, Digits);

    // Shorten to P digits, rounding half up on the 18-digit string.
    int n = P;
    if (P < AllDigits && Digits[P] >= '5') {
        int i = P - 1;
        while (i >= 0 && Digits[i] == '9')
            Digits[i--] = '0';
        if (i >= 0) {
            ++Digits[i];
        } else {
            Digits[0] = '1';
            ++E;
        }
    }
    while (n > 1 && Digits[n - 1] == '0')
        --n;

    const std::string &Separator = DecimalSeparator();
    std::string Text;
    if (x < 0)
        Text += '-';
    if (E > P || E < -3) {
        Text += Digits[0];
        if (n > 1) {
            Text += Separator;
            Text.append(Digits + 1, n - 1);
        }
        Text += 'E';
        if (E - 1 < 0)
            Text += '-';
        AppendPadded(Text, std::abs(E - 1), W);
    } else if (E >= 1) {
        Text.append(Digits, std::min(n, E));
        if (n < E)
            Text.append(E - n, '0');
        if (n > E) {
            Text += Separator;
            Text.append(Digits + E, n - E);
        }
    } else {
        Text += '0';
        Text += Separator;
        Text.append(-E, '0');
        Text.append(Digits, n);
    }
    return Text;
}

long double ParseFloatText(std::string_view Text)
{
    const std::string &Separator = DecimalSeparator();
    const std::size_t End = Text.size();
    std::size_t i = 0;
    const bool Negative = SkipSpacesAndSign(Text, i);

    const std::size_t MantissaStart = i;
    long double Value = 0;
    int64_t FractionDigits = 0;
    while (i < End && IsDigit(Text[i]))
        Value = Value * 10 + (Text[i++] - '0');
    if (Text.substr(i, Separator.size()) == Separator) {
        i += Separator.size();
        while (i < End && IsDigit(Text[i])) {
            Value = Value * 10 + (Text[i++] - '0');
            ++FractionDigits;
        }
    }
    if (i == MantissaStart)
        FailFloat(Text);

    int64_t Exponent = 0;
    if (i < End && (Text[i] == 'E' || Text[i] == 'e')) {
        ++i;
        bool NegativeExponent = false;
        if (i < End && (Text[i] == '+' || Text[i] == '-'))
            NegativeExponent = Text[i++] == '-';
        while (i < End && IsDigit(Text[i]) && Exponent < 500)
            Exponent = Exponent * 10 + (Text[i++] - '0');
        if (NegativeExponent)
            Exponent = -Exponent;
    }
    while (i < End && Text[i] == ' ')
        ++i;
    if (i != End)
        FailFloat(Text);

    // A zero mantissa is zero whatever the exponent (0 times an overflowed power of ten would
    // otherwise read as invalid).
    if (Value != 0) {
        const int64_t Scale = Exponent - FractionDigits;
        if (Scale > 0)
            Value *= PowerOfTen(Scale);
        else if (Scale < 0) {
            // Beyond 10^4932 the power itself is infinite, although the quotient may still
            // be a (subnormal) extended value: divide in steps that stay in range.
            int64_t k = -Scale;
            for (; k > 4000; k -= 4000)
                Value /= PowerOfTen(4000);
            Value /= PowerOfTen(k);
        }
    }
    if (!std::isfinite(Value))
        FailFloat(Text);
    return Negative ? -Value : Value;
}

int32_t ParseIntText(std::string_view Text)
{
    const std::size_t End = Text.size();
    std::size_t i = 0;
    const bool Negative = SkipSpacesAndSign(Text, i);

    bool Hex = false;
    if (i < End && (Text[i] == '$' || Text[i] == 'x' || Text[i] == 'X')) {
        Hex = true;
        ++i;
    } else if (i + 1 < End && Text[i] == '0' && (Text[i + 1] == 'x' || Text[i + 1] == 'X')) {
        Hex = true;
        i += 2;
    }

    const std::size_t DigitsStart = i;
    uint64_t Value = 0;
    if (Hex) {
        for (; i < End && HexDigit(Text[i]) >= 0; ++i) {
            Value = Value * 16 + HexDigit(Text[i]);
            if (Value > 0xFFFFFFFFu)
                FailInt(Text);
        }
    } else {
        const uint64_t Limit = Negative ? 2147483648u : 2147483647u;
        for (; i < End && IsDigit(Text[i]); ++i) {
            Value = Value * 10 + (Text[i] - '0');
            if (Value > Limit)
                FailInt(Text);
        }
    }
    if (i == DigitsStart || i != End)
        FailInt(Text);

    // A hexadecimal number is a 32-bit pattern: read as signed, then negated in 32 bits.
    auto Bits = static_cast<uint32_t>(Value);
    if (Negative)
        Bits = 0u - Bits;
    return static_cast<int32_t>(Bits);
}
