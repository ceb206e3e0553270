#pragma once
// The decimal separator in force for the number texts: "." until the window reads the user's
// regional settings; one character, stored as its UTF-8 encoding.

#include <string>
#include <string_view>

const std::string &DecimalSeparator();

// A value that is not exactly one character falls back to ".".
void SetDecimalSeparator(std::string_view Separator);
