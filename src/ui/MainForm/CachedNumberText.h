#pragma once
// The conversions a pass makes of the noise and copy-delay texts, remembered per text (and
// per decimal separator): a pass with the same text as the one before gets the same value,
// or the same error with the same message, without converting again.

#include <QString>

#include <cstdint>
#include <exception>
#include <string>

// The noise level: ParseFloatText, then rounded to a 64-bit float (a text beyond its range
// raises EOverflow).
class TCachedFloatText {
public:
    double Value(const QString &Text);

private:
    QString FText;
    std::string FSeparator;
    bool FHave = false;
    double FValue = 0;
    std::exception_ptr FError;
};

// The copy delay: ParseIntText.
class TCachedIntText {
public:
    int32_t Value(const QString &Text);

private:
    QString FText;
    bool FHave = false;
    int32_t FValue = 0;
    std::exception_ptr FError;
};
