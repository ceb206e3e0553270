#include "CachedNumberText.h"

#include "FloatFaults.h"
#include "NumberSettings.h"
#include "NumberText.h"

namespace {
// The same text as last time: sharing the same characters is the common, cheap case.
bool SameText(const QString &a, const QString &b)
{
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}
} // namespace

double TCachedFloatText::Value(const QString &Text)
{
    if (!FHave || !SameText(Text, FText) || FSeparator != DecimalSeparator()) {
        FText = Text;
        FSeparator = DecimalSeparator();
        FHave = true;
        FError = nullptr;
        try {
            FValue = StoreDouble(ParseFloatText(Text.toStdString()));
        } catch (...) {
            FError = std::current_exception();
        }
    }
    if (FError)
        std::rethrow_exception(FError);
    return FValue;
}

int32_t TCachedIntText::Value(const QString &Text)
{
    if (!FHave || !SameText(Text, FText)) {
        FText = Text;
        FHave = true;
        FError = nullptr;
        try {
            FValue = ParseIntText(Text.toStdString());
        } catch (...) {
            FError = std::current_exception();
        }
    }
    if (FError)
        std::rethrow_exception(FError);
    return FValue;
}
