#pragma once
// The one rule for a text that must be a single character, as the number separators are.

#include <string_view>

// True when Text is exactly one well-formed UTF-8 sequence of 1 to 4 bytes: no overlong
// form, no surrogate code point, nothing above U+10FFFF.
bool IsOneUtf8Character(std::string_view Text);
