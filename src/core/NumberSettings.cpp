#include "NumberSettings.h"

namespace {
std::string GDecimalSeparator = ".";
std::string GThousandSeparator = ",";

// One UTF-8 encoded character: 1 to 4 bytes.
bool IsOneCharacter(std::string_view s)
{
    if (s.empty() || s.size() > 4)
        return false;
    const auto lead = static_cast<unsigned char>(s[0]);
    const std::size_t len = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    return len == s.size();
}
} // namespace

const std::string &DecimalSeparator() { return GDecimalSeparator; }
const std::string &ThousandSeparator() { return GThousandSeparator; }

void SetDecimalSeparator(std::string_view Separator)
{
    GDecimalSeparator = IsOneCharacter(Separator) ? std::string(Separator) : std::string(".");
}

void SetThousandSeparator(std::string_view Separator)
{
    GThousandSeparator = IsOneCharacter(Separator) ? std::string(Separator) : std::string(",");
}
