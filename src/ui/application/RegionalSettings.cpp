#include "RegionalSettings.h"

#include "ChartNumberFormat.h"
#include "NumberSettings.h"
#include "Utf8.h"

namespace {
std::function<QLocale()> GSource;

std::string OneCharacter(const QString &Text, const char *Fallback)
{
    const std::string Utf8 = Text.toStdString();
    return IsOneUtf8Character(Utf8) ? Utf8 : std::string(Fallback);
}
} // namespace

void ApplyNumberSeparators(const QLocale &Locale)
{
    const std::string decimal = OneCharacter(Locale.decimalPoint(), ".");
    const std::string thousands = OneCharacter(Locale.groupSeparator(), ",");
    SetDecimalSeparator(decimal);
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
