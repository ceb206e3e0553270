#pragma once
// Recognisers for the accepted number input, written apart from the parsers they check:
// they say whether a text belongs to the grammar and which parts it is made of, and leave
// the arithmetic to a reference.

#include <cstdint>
#include <string>
#include <string_view>

struct TFloatSyntax {
    bool Valid = false;
    bool Negative = false;
    std::string IntDigits;  // as written, possibly empty
    std::string FracDigits; // as written, possibly empty
    int64_t Exponent = 0;   // signed, 0 when there is no exponent or no exponent digit
};

// Leading spaces, a sign, integer digits, the separator and fraction digits (at least one
// character of these two parts), an optional "E"/"e" with a sign and the digits taken while
// the exponent is below 500, trailing spaces, nothing else.
TFloatSyntax RecogniseFloat(std::string_view Text, std::string_view Separator);

struct TIntSyntax {
    bool Valid = false;
    bool Negative = false;
    bool Hex = false;
    std::string Digits; // without the hexadecimal prefix
};

// Leading spaces, one sign, then "$", "x", "X", "0x" or "0X" and at least one hex digit, or at
// least one decimal digit; nothing after the digits. The value range is not checked here.
TIntSyntax RecogniseInt(std::string_view Text);
