#pragma once
// The separators in force for the number texts: "." and "," until the window reads the user's
// regional settings. Each is one character, stored as its UTF-8 encoding; the window checks
// them (IsOneUtf8Character) before it sets them. Only the decimal separator takes part in the
// number texts; the thousands separator is kept for the chart labels the window hands it to.

#include <string>
#include <string_view>

const std::string &DecimalSeparator();
void SetDecimalSeparator(std::string_view Separator);
// Grows by one with every SetDecimalSeparator, so that a text converted earlier can tell
// cheaply whether the separator may have changed since.
unsigned DecimalSeparatorChanges();
const std::string &ThousandSeparator();
void SetThousandSeparator(std::string_view Separator);
