#include "NumberSettings.h"

namespace {
std::string GDecimalSeparator = ".";
std::string GThousandSeparator = ",";
unsigned GDecimalSeparatorChanges = 0;
} // namespace

const std::string &DecimalSeparator() { return GDecimalSeparator; }
void SetDecimalSeparator(std::string_view Separator)
{
    GDecimalSeparator = Separator;
    ++GDecimalSeparatorChanges;
}
unsigned DecimalSeparatorChanges() { return GDecimalSeparatorChanges; }
const std::string &ThousandSeparator() { return GThousandSeparator; }
void SetThousandSeparator(std::string_view Separator) { GThousandSeparator = Separator; }
