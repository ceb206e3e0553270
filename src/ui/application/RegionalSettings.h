#pragma once
// The user's regional number settings: the decimal and thousands separators, read at start-up
// and again on the system's change notice, checked here once and handed to the number texts
// and to every chart.

#include <QLocale>
#include <QString>

#include <functional>

class TChart;

// Sets the separators in force; one that is not exactly one character falls back to "."
// (decimal) or "," (thousands). Every chart there is takes them too.
void ApplyNumberSeparators(const QString &Decimal, const QString &Thousands);
void ApplyNumberSeparators(const QLocale &Locale);

// Hands the separators in force to a chart, as to one made after they were read.
void HandNumberSeparators(TChart &Chart);

// Reads the regional settings afresh and applies them.
void ReadRegionalSettings();

// Where the regional settings come from: the system's locale unless a test replaces it.
void SetRegionalSettingsSource(std::function<QLocale()> Source);
