#include "NumberSettings.h"

#include "Utf8.h"

namespace {
std::string GDecimalSeparator = ".";
} // namespace

const std::string &DecimalSeparator() { return GDecimalSeparator; }

void SetDecimalSeparator(std::string_view Separator)
{
    GDecimalSeparator = IsOneUtf8Character(Separator) ? std::string(Separator) : std::string(".");
}
