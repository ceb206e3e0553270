#include "NumberSettings.h"

namespace {
std::string GDecimalSeparator = ".";
std::string GThousandSeparator = ",";
} // namespace

const std::string &DecimalSeparator() { return GDecimalSeparator; }
void SetDecimalSeparator(std::string_view Separator) { GDecimalSeparator = Separator; }
const std::string &ThousandSeparator() { return GThousandSeparator; }
void SetThousandSeparator(std::string_view Separator) { GThousandSeparator = Separator; }
