#pragma once
// The process-wide number settings: the decimal and thousands separators in force.
// "." and "," until the window reads the user's regional settings; each separator is
// one character, stored as its UTF-8 encoding.

#include <string>
#include <string_view>

const std::string &DecimalSeparator();
const std::string &ThousandSeparator();

// Empty or over-long values fall back to "." (decimal) and "," (thousands).
void SetDecimalSeparator(std::string_view Separator);
void SetThousandSeparator(std::string_view Separator);
