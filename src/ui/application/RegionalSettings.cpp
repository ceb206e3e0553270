#include "RegionalSettings.h"

#include "ChartNumberFormat.h"
#include "NumberSettings.h"

namespace {
std::function<QLocale()> GSource;

std::string OneCharacter(const QString &Text, const char *Fallback)
{
    // One user-perceived character; a surrogate pair counts as one.
    const bool single = Text.size() == 1 || (Text.size() == 2 && Text.at(0).isHighSurrogate());
    return single ? Text.toStdString() : std::string(Fallback);
}
} // namespace

void ApplyNumberSeparators(const QLocale &Locale)
{
    const std::string decimal = OneCharacter(Locale.decimalPoint(), ".");
    const std::string thousands = OneCharacter(Locale.groupSeparator(), ",");
    SetDecimalSeparator(decimal);
    SetThousandSeparator(thousands);
    SetChartNumberSeparators(decimal, thousands);
}

void ReadRegionalSettings()
{
    ApplyNumberSeparators(GSource ? GSource() : QLocale::system());
}

void SetRegionalSettingsSource(std::function<QLocale()> Source)
{
    GSource = std::move(Source);
}
