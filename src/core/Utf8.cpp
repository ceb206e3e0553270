#include "Utf8.h"

#include <cstddef>

bool IsOneUtf8Character(std::string_view Text)
{
    if (Text.empty())
        return false;
    const auto Byte = [&](std::size_t i) { return static_cast<unsigned char>(Text[i]); };
    const unsigned char Lead = Byte(0);
    std::size_t Length;
    // The range of the second byte, which also rules out the overlong forms, the surrogates
    // and the code points above U+10FFFF; any further byte is 0x80 .. 0xBF.
    unsigned char Low = 0x80, High = 0xBF;
    if (Lead < 0x80)
        Length = 1;
    else if (Lead >= 0xC2 && Lead <= 0xDF)
        Length = 2;
    else if (Lead >= 0xE0 && Lead <= 0xEF) {
        Length = 3;
        if (Lead == 0xE0)
            Low = 0xA0;
        else if (Lead == 0xED)
            High = 0x9F;
    } else if (Lead >= 0xF0 && Lead <= 0xF4) {
        Length = 4;
        if (Lead == 0xF0)
            Low = 0x90;
        else if (Lead == 0xF4)
            High = 0x8F;
    } else
        return false;
    if (Text.size() != Length)
        return false;
    for (std::size_t i = 1; i < Length; ++i) {
        const unsigned char b = Byte(i);
        if (b < (i == 1 ? Low : 0x80) || b > (i == 1 ? High : 0xBF))
            return false;
    }
    return true;
}
