#include "NumberTextProperties.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <limits>
#include <memory>

#include "DecimalSeparatorScope.h"
#include "Errors.h"
#include "NumberText.h"
#include "NumberTextGrammar.h"

namespace {

using Limits = std::numeric_limits<long double>;

// The text in a heap block of exactly its length, so that AddressSanitizer catches a read of
// even one byte past its end (a std::string would have its terminator there).
class TExactText {
public:
    explicit TExactText(std::string_view Text) : FBytes(new char[Text.size()]), FSize(Text.size())
    {
        if (FSize > 0)
            std::memcpy(FBytes.get(), Text.data(), FSize);
    }
    std::string_view View() const { return {FBytes.get(), FSize}; }

private:
    std::unique_ptr<char[]> FBytes;
    std::size_t FSize;
};

// What a parser did with a text: a value, the conversion error's message, or something else.
template <class T>
struct TOutcome {
    bool Accepted = false;
    T Value{};
    bool Converted = false; // rejected with EConvertError
    std::string Message;
};

template <class T, class F>
TOutcome<T> Attempt(F Parse)
{
    TOutcome<T> R;
    try {
        R.Value = Parse();
        R.Accepted = true;
    } catch (const EConvertError &e) {
        R.Converted = true;
        R.Message = e.Message();
    } catch (const std::exception &e) {
        R.Message = std::string("unexpected exception: ") + e.what();
    } catch (...) {
        R.Message = "unexpected exception of unknown type";
    }
    return R;
}

std::string Quote(std::string_view Text) { return "'" + std::string(Text) + "'"; }

// The text as a fault report shows it: control bytes and bytes outside ASCII escaped.
std::string Shown(std::string_view Text)
{
    std::string s = "'";
    for (unsigned char c : Text) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            s += static_cast<char>(c);
        } else {
            char Buffer[8];
            std::snprintf(Buffer, sizeof Buffer, "\\x%02X", c);
            s += Buffer;
        }
    }
    return s + "'";
}

std::string Show(long double v)
{
    char Buffer[64];
    std::snprintf(Buffer, sizeof Buffer, "%.21Lg", v);
    return Buffer;
}

template <class T>
std::string ExpectRejected(const TOutcome<T> &R, std::string_view Text, const std::string &Message, const char *Why)
{
    if (R.Accepted)
        return Shown(Text) + " was accepted, but " + Why;
    if (!R.Converted || R.Message != Message)
        return Shown(Text) + " rejected with \"" + R.Message + "\" instead of \"" + Message + "\"";
    return {};
}

template <class T>
std::string ExpectAccepted(const TOutcome<T> &R, std::string_view Text)
{
    if (!R.Accepted)
        return Shown(Text) + " belongs to the grammar and is in range, but was rejected: " + R.Message;
    return {};
}

// Significant digits of a digit string: leading zeros do not count.
std::size_t SignificantDigits(const std::string &Digits)
{
    const std::size_t First = Digits.find_first_not_of('0');
    return First == std::string::npos ? 0 : Digits.size() - First;
}

// The correctly rounded extended value of [-]Int.FracE<Exponent>, from the C library, which
// reads any number of digits exactly.
long double ReferenceValue(bool Negative, const std::string &Int, const std::string &Frac, int64_t Exponent)
{
    std::string Normal = Negative ? "-" : "";
    Normal += Int.empty() ? "0" : Int;
    Normal += '.';
    Normal += Frac;
    Normal += 'e' + std::to_string(Exponent);
    return std::strtold(Normal.c_str(), nullptr);
}

// How far the parser's value may lie from the correctly rounded one. The digits form one
// integer, exact while it has at most 19 digits; each further digit costs up to two roundings.
// The scaling costs the roundings of a power of ten or two and of the products or quotients.
long double Tolerance(std::size_t Digits)
{
    const long double Ulp = std::ldexp(1.0L, -64);
    return (2.0L * static_cast<long double>(Digits > 19 ? Digits - 19 : 0) + 8) * Ulp;
}

enum class TValueCheck { Ok, Off, NearLimit };

TValueCheck CompareValue(long double Got, long double Ref, std::size_t Digits)
{
    const long double Tol = Tolerance(Digits);
    if (std::fabs(Ref) > Limits::max() / (1 + Tol))
        return TValueCheck::NearLimit;
    if (std::signbit(Got) != std::signbit(Ref) || !std::isfinite(Got))
        return TValueCheck::Off;
    const long double Allowed = Tol * std::fabs(Ref) + 2 * Limits::denorm_min();
    return std::fabs(Got - Ref) <= Allowed ? TValueCheck::Ok : TValueCheck::Off;
}

// The check of one parse of a text in the float grammar; shared by the parser target and the
// round trip of the format target.
std::string CheckFloatValue(std::string_view Text, const TFloatSyntax &Syntax, const TOutcome<long double> &R)
{
    const std::string Message = Quote(Text) + " is not a valid floating point value";
    const std::string AllDigits = Syntax.IntDigits + Syntax.FracDigits;
    const std::size_t Digits = SignificantDigits(AllDigits);
    if (Digits == 0) {
        if (std::string Fault = ExpectAccepted(R, Text); !Fault.empty())
            return Fault;
        if (R.Value != 0 || std::signbit(R.Value) != Syntax.Negative)
            return Shown(Text) + " has no non-zero digit but read as " + Show(R.Value);
        return {};
    }
    // The digits as one integer must fit the extended range: 10^4932 does, 10^4933 does not.
    if (Digits > 4933)
        return ExpectRejected(R, Text, Message, "its digits as one integer overflow the extended range");
    const long double Ref = ReferenceValue(Syntax.Negative, Syntax.IntDigits, Syntax.FracDigits, Syntax.Exponent);
    if (std::isinf(Ref)) {
        // The parser's arithmetic is not correctly rounded, so a value within its tolerance
        // of the largest extended value may still come out finite (as that value).
        const long double Tenth = ReferenceValue(Syntax.Negative, Syntax.IntDigits, Syntax.FracDigits, Syntax.Exponent - 1);
        const bool NearLimit = std::fabs(Tenth) <= Limits::max() / 10 * (1 + Tolerance(Digits));
        if (NearLimit && R.Accepted && std::fabs(R.Value) >= Limits::max() / (1 + Tolerance(Digits)) &&
            std::signbit(R.Value) == Syntax.Negative)
            return {};
        return ExpectRejected(R, Text, Message, "its value overflows the extended range");
    }
    if (!R.Accepted) {
        if (Digits == 4933 || std::fabs(Ref) > Limits::max() / (1 + Tolerance(Digits)))
            return ExpectRejected(R, Text, Message, "(no value expected)"); // at the limit: a rejection is fine
        return ExpectAccepted(R, Text);
    }
    if (CompareValue(R.Value, Ref, Digits) == TValueCheck::Off)
        return Shown(Text) + " read as " + Show(R.Value) + ", the correctly rounded value is " + Show(Ref);
    return {};
}

// A formatted number taken apart: its significant digits d1 .. dn and the decimal exponent E
// of 0.d1..dn x 10^E. Empty Fault means it obeys the layout rules.
struct TFormatted {
    std::string Fault;
    bool Negative = false;
    bool Scientific = false;
    std::string Digits;
    int E = 0;
    std::string ExponentText;
};

bool AllDecimal(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A fraction as written must have digits and no trailing zero.
const char *FractionFault(std::string_view Frac)
{
    if (Frac.empty())
        return "a separator without fraction digits";
    if (!AllDecimal(Frac))
        return "a non-digit in the fraction";
    if (Frac.back() == '0')
        return "a trailing zero in the fraction";
    return nullptr;
}

TFormatted TakeApart(std::string_view Text, std::string_view Separator)
{
    TFormatted F;
    std::string_view Body = Text;
    if (Body.starts_with('-')) {
        F.Negative = true;
        Body.remove_prefix(1);
    }
    const std::size_t Mark = Body.find('E');
    F.Scientific = Mark != std::string_view::npos;
    std::string_view Mantissa = Body.substr(0, Mark);
    const std::size_t At = Mantissa.find(Separator);
    const std::string_view Int = Mantissa.substr(0, At);
    const bool HasFraction = At != std::string_view::npos;
    const std::string_view Frac = HasFraction ? Mantissa.substr(At + Separator.size()) : std::string_view();
    if (Int.empty() || !AllDecimal(Int)) {
        F.Fault = "the integer part is not a digit string";
        return F;
    }
    if (HasFraction) {
        if (const char *Why = FractionFault(Frac)) {
            F.Fault = Why;
            return F;
        }
    }
    if (F.Scientific) {
        std::string_view Exp = Body.substr(Mark + 1);
        bool NegativeExp = false;
        if (Exp.starts_with('-')) {
            NegativeExp = true;
            Exp.remove_prefix(1);
        }
        if (Int.size() != 1 || Int[0] == '0') {
            F.Fault = "the scientific mantissa does not start with one non-zero digit";
            return F;
        }
        if (Exp.empty() || !AllDecimal(Exp) || Exp.size() > 5) {
            F.Fault = "the exponent is not a digit string";
            return F;
        }
        F.ExponentText = std::string(Exp);
        F.Digits = std::string(Int) + std::string(Frac);
        const int e = std::stoi(F.ExponentText);
        F.E = (NegativeExp ? -e : e) + 1;
        if (NegativeExp && e == 0)
            F.Fault = "a negative zero exponent";
        return F;
    }
    if (Int == "0") {
        const std::size_t Lead = Frac.find_first_not_of('0');
        if (!HasFraction || Lead == std::string_view::npos) {
            F.Fault = "a zero written for a non-zero value";
            return F;
        }
        F.Digits = std::string(Frac.substr(Lead));
        F.E = -static_cast<int>(Lead);
        return F;
    }
    if (Int[0] == '0') {
        F.Fault = "a leading zero";
        return F;
    }
    F.Digits = std::string(Int) + std::string(Frac);
    F.Digits.erase(F.Digits.find_last_not_of('0') + 1);
    F.E = static_cast<int>(Int.size());
    return F;
}

// |x| as d1..dn x 10^(E-n): the 18 correctly rounded digits the C library gives (ties to
// even on the exact binary value), then rounded half up to P digits, trailing zeros dropped.
void RoundedDigits(long double x, int P, std::string &Digits, int &E)
{
    char Buffer[64];
    std::snprintf(Buffer, sizeof Buffer, "%.17Le", std::fabs(x));
    Digits = std::string(1, Buffer[0]) + std::string(Buffer + 2, 17);
    E = std::atoi(std::strchr(Buffer, 'e') + 1) + 1;
    const bool Up = P < 18 && Digits[P] >= '5';
    Digits.resize(P);
    if (Up) {
        int i = P - 1;
        for (; i >= 0 && Digits[i] == '9'; --i)
            Digits[i] = '0';
        if (i >= 0) {
            ++Digits[i];
        } else {
            Digits.insert(Digits.begin(), '1');
            Digits.pop_back();
            ++E;
        }
    }
    Digits.erase(Digits.find_last_not_of('0') + 1);
}

long double DecodeExtended(const uint8_t *Bytes)
{
    uint64_t Mantissa;
    uint16_t SignExp;
    std::memcpy(&Mantissa, Bytes, 8);
    std::memcpy(&SignExp, Bytes + 8, 2);
    // Only canonical encodings: the explicit integer bit is set exactly for normal numbers,
    // infinities and NaNs, as every arithmetic result has it.
    const uint64_t Integer = uint64_t{1} << 63;
    Mantissa = (SignExp & 0x7FFF) == 0 ? Mantissa & ~Integer : Mantissa | Integer;
    long double x = 0;
    std::memcpy(&x, &Mantissa, 8);
    std::memcpy(reinterpret_cast<unsigned char *>(&x) + 8, &SignExp, 2);
    return x;
}

std::string Padded(int Value, int Width)
{
    std::string s = std::to_string(Value);
    if (static_cast<int>(s.size()) < Width)
        s.insert(0, Width - s.size(), '0');
    return s;
}

} // namespace

std::string_view FuzzSeparator(uint8_t Choice)
{
    static constexpr std::string_view Separators[] = {",", ".", "\xD9\xAB", "\xE2\x8E\x96"};
    return Separators[Choice % 4];
}

std::string CheckParseFloat(const uint8_t *Data, std::size_t Size)
{
    if (Size == 0)
        return {};
    const std::string_view Separator = FuzzSeparator(Data[0]);
    TDecimalSeparatorScope Scope(Separator);
    const std::string_view Text(reinterpret_cast<const char *>(Data + 1), Size - 1);
    const TFloatSyntax Syntax = RecogniseFloat(Text, Separator);
    const TExactText Exact(Text);
    const auto R = Attempt<long double>([&] { return ParseFloatText(Exact.View()); });
    if (!Syntax.Valid)
        return ExpectRejected(R, Text, Quote(Text) + " is not a valid floating point value", "it is outside the grammar");
    return CheckFloatValue(Text, Syntax, R);
}

std::string CheckParseInt(const uint8_t *Data, std::size_t Size)
{
    if (Size == 0)
        return {};
    TDecimalSeparatorScope Scope(FuzzSeparator(Data[0]));
    const std::string_view Text(reinterpret_cast<const char *>(Data + 1), Size - 1);
    const TExactText Exact(Text);
    const auto R = Attempt<int32_t>([&] { return ParseIntText(Exact.View()); });
    const std::string Message = Quote(Text) + " is not a valid integer value";
    const TIntSyntax Syntax = RecogniseInt(Text);
    if (!Syntax.Valid)
        return ExpectRejected(R, Text, Message, "it is outside the grammar");

    const std::size_t First = Syntax.Digits.find_first_not_of('0');
    const std::string Significant = First == std::string::npos ? "" : Syntax.Digits.substr(First);
    if (Significant.size() > (Syntax.Hex ? 8u : 10u))
        return ExpectRejected(R, Text, Message, "its value is out of range");
    const uint64_t Magnitude = Significant.empty() ? 0 : std::stoull(Significant, nullptr, Syntax.Hex ? 16 : 10);
    int64_t Expected;
    if (Syntax.Hex) {
        // The 32-bit pattern read as signed, then negated in 32 bits.
        const uint32_t Bits = static_cast<uint32_t>(Syntax.Negative ? 0 - Magnitude : Magnitude);
        Expected = Bits >= 0x80000000u ? static_cast<int64_t>(Bits) - 0x100000000 : Bits;
    } else {
        if (Magnitude > (Syntax.Negative ? 2147483648u : 2147483647u))
            return ExpectRejected(R, Text, Message, "its value is out of range");
        Expected = Syntax.Negative ? -static_cast<int64_t>(Magnitude) : static_cast<int64_t>(Magnitude);
    }
    if (std::string Fault = ExpectAccepted(R, Text); !Fault.empty())
        return Fault;
    if (R.Value != Expected)
        return Shown(Text) + " read as " + std::to_string(R.Value) + " instead of " + std::to_string(Expected);
    return {};
}

std::string CheckFormatGeneral(const uint8_t *Data, std::size_t Size)
{
    uint8_t Bytes[14] = {};
    std::memcpy(Bytes, Data, std::min(Size, sizeof Bytes));
    const int P = Bytes[0] % 24 - 2;
    const int W = Bytes[1] % 10 - 2;
    const std::string_view Separator = FuzzSeparator(Bytes[2]);
    long double x;
    if (Bytes[3] % 2) {
        double d;
        std::memcpy(&d, Bytes + 4, 8);
        x = d;
    } else {
        x = DecodeExtended(Bytes + 4);
    }
    TDecimalSeparatorScope Scope(Separator);

    std::string Text;
    try {
        Text = FormatGeneral(x, P, W);
    } catch (...) {
        return "FormatGeneral raised an error for " + Show(x);
    }
    const std::string Call = "FormatGeneral(" + Show(x) + ", " + std::to_string(P) + ", " + std::to_string(W) + ") = " + Shown(Text);

    const char *Special = std::isnan(x) ? "NAN" : std::isinf(x) ? (x > 0 ? "INF" : "-INF") : x == 0 ? "0" : nullptr;
    if (Special)
        return Text == Special ? std::string() : Call + ", expected " + Quote(Special);

    const int Pc = std::clamp(P, 2, 18);
    const int Wc = W > 4 ? 0 : W;
    std::string RefDigits;
    int RefE = 0;
    RoundedDigits(x, Pc, RefDigits, RefE);

    const TFormatted F = TakeApart(Text, Separator);
    if (!F.Fault.empty())
        return Call + ": " + F.Fault;
    if (F.Negative != (x < 0))
        return Call + ": wrong sign";
    if (F.Digits != RefDigits || F.E != RefE)
        return Call + ": digits " + F.Digits + " x 10^" + std::to_string(F.E) + ", expected 0." + RefDigits + " x 10^" + std::to_string(RefE);
    const bool Scientific = RefE > Pc || RefE < -3;
    if (F.Scientific != Scientific)
        return Call + (Scientific ? ": fixed-point text for a scientific value" : ": scientific text for a fixed-point value");
    if (Scientific && F.ExponentText != Padded(std::abs(RefE - 1), Wc))
        return Call + ": exponent digits should be " + Padded(std::abs(RefE - 1), Wc);

    // The text reads back as the rounded value (or, rounded past the largest extended value,
    // is rejected as an overflow).
    const TFloatSyntax Syntax = RecogniseFloat(Text, Separator);
    if (!Syntax.Valid)
        return Call + ": the text is not in the input grammar";
    const TExactText Exact(Text);
    const auto R = Attempt<long double>([&] { return ParseFloatText(Exact.View()); });
    if (std::string Fault = CheckFloatValue(Text, Syntax, R); !Fault.empty())
        return Call + ": round trip: " + Fault;
    return {};
}

std::string FormatGeneralInput(long double x, int P, int W, uint8_t Separator)
{
    std::string Bytes(14, '\0');
    Bytes[0] = static_cast<char>(P + 2);
    Bytes[1] = static_cast<char>(W + 2);
    Bytes[2] = static_cast<char>(Separator);
    Bytes[3] = 0; // extended value
    std::memcpy(Bytes.data() + 4, &x, 10);
    return Bytes;
}
