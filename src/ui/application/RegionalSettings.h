#pragma once
// The user's regional number settings: the decimal separator of the number texts and the
// decimal and thousands separators of the chart labels, read at start-up and again on the
// system's change notice.

#include <QLocale>

#include <functional>

// Hands the decimal separator of Locale to the number texts and both separators to the
// charts; a separator that is not exactly one character falls back to "." (decimal) or ","
// (thousands).
void ApplyNumberSeparators(const QLocale &Locale);

// Reads the regional settings afresh and applies them.
void ReadRegionalSettings();

// Where the regional settings come from: the system's locale unless a test replaces it.
void SetRegionalSettingsSource(std::function<QLocale()> Source);
