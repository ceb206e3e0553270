#include "RegionalSettings.h"

#include <QApplication>
#include <QWidget>

#include "NumberSettings.h"
#include "TChart.h"
#include "Utf8.h"

namespace {
std::function<QLocale()> GSource;

std::string OneCharacter(const QString &Text, const char *Fallback)
{
    const std::string Utf8 = Text.toStdString();
    return IsOneUtf8Character(Utf8) ? Utf8 : std::string(Fallback);
}
} // namespace

void ApplyNumberSeparators(const QString &Decimal, const QString &Thousands)
{
    SetDecimalSeparator(OneCharacter(Decimal, "."));
    SetThousandSeparator(OneCharacter(Thousands, ","));
    for (QWidget *w : QApplication::allWidgets())
        if (auto *chart = qobject_cast<TChart *>(w))
            HandNumberSeparators(*chart);
}

void ApplyNumberSeparators(const QLocale &Locale)
{
    ApplyNumberSeparators(Locale.decimalPoint(), Locale.groupSeparator());
}

void HandNumberSeparators(TChart &Chart)
{
    Chart.Panel().SetNumberSeparators({DecimalSeparator(), ThousandSeparator()});
}

void ReadRegionalSettings()
{
    ApplyNumberSeparators(GSource ? GSource() : QLocale::system());
}

void SetRegionalSettingsSource(std::function<QLocale()> Source)
{
    GSource = std::move(Source);
}
