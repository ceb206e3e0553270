// The single-character rule of the number separators.
#include <gtest/gtest.h>

#include <string>

#include "Utf8.h"

TEST(Utf8, OneCharacterIsExactlyOneWellFormedSequence)
{
    const struct {
        std::string Text;
        bool One;
    } Cases[] = {
        {".", true},
        {",", true},
        {std::string(1, '\0'), true},
        {"\x7F", true},
        {"\xC2\x80", true},         // U+0080, the first two-byte character
        {"\xC2\xA0", true},         // no-break space
        {"\xD9\xAB", true},         // Arabic decimal separator
        {"\xDF\xBF", true},         // U+07FF
        {"\xE0\xA0\x80", true},     // U+0800, the first three-byte character
        {"\xE2\x80\xAF", true},     // narrow no-break space
        {"\xED\x9F\xBF", true},     // U+D7FF, just below the surrogates
        {"\xEE\x80\x80", true},     // U+E000, just above them
        {"\xEF\xBF\xBD", true},     // U+FFFD
        {"\xF0\x90\x80\x80", true}, // U+10000, the first four-byte character
        {"\xF0\x9F\x98\x80", true},
        {"\xF4\x8F\xBF\xBF", true}, // U+10FFFF, the last code point

        {"", false},
        {",,", false},
        {"a\xC2\xA0", false},
        {"\xC2\xA0\xC2\xA0", false},
        {"\x80", false},             // a continuation byte alone
        {"\xBF", false},
        {"\xC2", false},             // cut short
        {"\xE2\x80", false},
        {"\xF0\x9F\x98", false},
        {"\xC2" "A", false},         // a lead byte without its continuation
        {"\xE2\x28\xA1", false},
        {"\xF0\x9F\x28\x80", false},
        {"\xF0\x9F\x98\x28", false},
        {"\xC2\xA0\x80", false},     // one continuation too many
        {"\xC0\x80", false},         // overlong forms
        {"\xC1\xBF", false},
        {"\xE0\x9F\xBF", false},
        {"\xF0\x8F\xBF\xBF", false},
        {"\xED\xA0\x80", false},     // surrogates
        {"\xED\xBF\xBF", false},
        {"\xF4\x90\x80\x80", false}, // beyond U+10FFFF
        {"\xF5\x80\x80\x80", false},
        {"\xF8\x88\x80\x80\x80", false},
        {"\xFE", false},
        {"\xFF", false},
    };
    for (const auto &c : Cases) {
        std::string Hex;
        for (unsigned char b : c.Text)
            Hex += " " + std::to_string(b);
        EXPECT_EQ(IsOneUtf8Character(c.Text), c.One) << "bytes" << Hex;
    }
}
