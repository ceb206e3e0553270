#pragma once
// The decimal separator of one test or check; the one in force before is back afterwards.
// Shared by the test programs and the number-text fuzz checks.

#include <string>
#include <string_view>

#include "NumberSettings.h"

class TDecimalSeparatorScope {
public:
    explicit TDecimalSeparatorScope(std::string_view Separator) : FSaved(DecimalSeparator())
    {
        SetDecimalSeparator(Separator);
    }
    ~TDecimalSeparatorScope() { SetDecimalSeparator(FSaved); }
    TDecimalSeparatorScope(const TDecimalSeparatorScope &) = delete;
    TDecimalSeparatorScope &operator=(const TDecimalSeparatorScope &) = delete;

private:
    std::string FSaved;
};

// A number text written with a comma, its comma turned into the separator in force.
inline std::string WithDecimalSeparator(std::string Text)
{
    if (const std::size_t At = Text.find(','); At != std::string::npos)
        Text.replace(At, 1, DecimalSeparator());
    return Text;
}
