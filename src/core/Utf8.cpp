#include "Utf8.h"

#include <cstddef>

bool IsOneUtf8Character(std::string_view Text)
{
    if (Text.empty())
        return false;
    const auto Byte = [&](std::size_t i) { return static_cast<unsigned char>(Text[i]); };
    const unsigned char Lead = Byte(0);
    // The length from the lead byte, and the range of the second byte, which rules out the
    // overlong forms (after E0 and F0), the surrogates (after ED) and the code points above
    // U+10FFFF (after F4). Every further byte lies in 80 .. BF.
    std::size_t Length = 0;
    unsigned char Low = 0x80, High = 0xBF;
    if (Lead < 0x80) {
        Length = 1;
    } else if (Lead >= 0xC2 && Lead <= 0xDF) {
        Length = 2;
    } else if (Lead >= 0xE0 && Lead <= 0xEF) {
        Length = 3;
        Low = Lead == 0xE0 ? 0xA0 : 0x80;
        High = Lead == 0xED ? 0x9F : 0xBF;
    } else if (Lead >= 0xF0 && Lead <= 0xF4) {
        Length = 4;
        Low = Lead == 0xF0 ? 0x90 : 0x80;
        High = Lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (Length == 0 || Text.size() != Length)
        return false;
    for (std::size_t i = 1; i < Length; ++i) {
        const unsigned char b = Byte(i);
        if (b < (i == 1 ? Low : 0x80) || b > (i == 1 ? High : 0xBF))
            return false;
    }
    return true;
}
