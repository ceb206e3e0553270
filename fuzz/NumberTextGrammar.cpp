#include "NumberTextGrammar.h"

namespace {

bool Decimal(char c) { return c >= '0' && c <= '9'; }

bool Hexadecimal(char c) { return Decimal(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

} // namespace

// A state machine over the text, one token (a character or the whole separator) per step,
// so that it shares no scanning code with the parser it judges.
TFloatSyntax RecogniseFloat(std::string_view Text, std::string_view Separator)
{
    enum class S { Lead, Sign, Int, Frac, ExpMark, ExpSign, ExpDigits, Trail };
    TFloatSyntax R;
    S State = S::Lead;
    bool NegativeExponent = false;
    int64_t Exponent = 0;
    std::size_t i = 0;
    while (i < Text.size()) {
        const char c = Text[i];
        const bool AtSeparator = !Separator.empty() && Text.substr(i).starts_with(Separator);
        const bool MantissaSeen = !R.IntDigits.empty() || State == S::Frac;
        switch (State) {
        case S::Lead:
        case S::Sign:
            if (State == S::Lead && c == ' ') {
                ++i;
                continue;
            }
            if (State == S::Lead && (c == '+' || c == '-')) {
                R.Negative = c == '-';
                State = S::Sign;
                ++i;
                continue;
            }
            [[fallthrough]];
        case S::Int:
            if (Decimal(c)) {
                R.IntDigits += c;
                State = S::Int;
                ++i;
                continue;
            }
            if (AtSeparator) {
                State = S::Frac;
                i += Separator.size();
                continue;
            }
            [[fallthrough]];
        case S::Frac:
            if (State == S::Frac && Decimal(c)) {
                R.FracDigits += c;
                ++i;
                continue;
            }
            if (!MantissaSeen)
                return {};
            if (c == 'E' || c == 'e') {
                State = S::ExpMark;
                ++i;
                continue;
            }
            State = S::Trail;
            continue; // the same character again, as trailing text
        case S::ExpMark:
            if (c == '+' || c == '-') {
                NegativeExponent = c == '-';
                State = S::ExpSign;
                ++i;
                continue;
            }
            [[fallthrough]];
        case S::ExpSign:
        case S::ExpDigits:
            if (Decimal(c) && Exponent < 500) {
                Exponent = Exponent * 10 + (c - '0');
                State = S::ExpDigits;
                ++i;
                continue;
            }
            State = S::Trail;
            continue;
        case S::Trail:
            if (c != ' ')
                return {};
            ++i;
            continue;
        }
    }
    if (State == S::Lead || State == S::Sign)
        return {};
    R.Exponent = NegativeExponent ? -Exponent : Exponent;
    R.Valid = true;
    return R;
}

TIntSyntax RecogniseInt(std::string_view Text)
{
    TIntSyntax R;
    std::size_t i = Text.find_first_not_of(' ');
    if (i == std::string_view::npos)
        return {};
    if (Text[i] == '+' || Text[i] == '-')
        R.Negative = Text[i++] == '-';
    const std::string_view Rest = Text.substr(i);
    for (std::string_view Prefix : {"$", "x", "X", "0x", "0X"}) {
        if (Rest.starts_with(Prefix)) {
            R.Hex = true;
            R.Digits = std::string(Rest.substr(Prefix.size()));
            break;
        }
    }
    if (!R.Hex)
        R.Digits = std::string(Rest);
    if (R.Digits.empty())
        return {};
    for (char c : R.Digits)
        if (!(R.Hex ? Hexadecimal(c) : Decimal(c)))
            return {};
    R.Valid = true;
    return R;
}
