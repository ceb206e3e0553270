#pragma once
// Helpers shared by the GUI tests: capturing the error box, and number settings per test.

#include <QString>
#include <QStringList>

#include <string>

#include "ErrorBox.h"
#include "NumberSettings.h"

// Captures every error box shown while it lives.
class TBoxCapture {
public:
    TBoxCapture()
    {
        TErrorBox::Instance().SetHook([this](const QString &Caption, const QString &Text) {
            Captions << Caption;
            Texts << Text;
        });
    }
    ~TBoxCapture() { TErrorBox::Instance().SetHook({}); }
    TBoxCapture(const TBoxCapture &) = delete;
    TBoxCapture &operator=(const TBoxCapture &) = delete;

    QStringList Captions;
    QStringList Texts;
};

// Sets the decimal separator for one test and restores the one before.
class TDecimalSeparatorScope {
public:
    explicit TDecimalSeparatorScope(const std::string &Separator) : FSaved(DecimalSeparator())
    {
        SetDecimalSeparator(Separator);
    }
    ~TDecimalSeparatorScope() { SetDecimalSeparator(FSaved); }
    TDecimalSeparatorScope(const TDecimalSeparatorScope &) = delete;
    TDecimalSeparatorScope &operator=(const TDecimalSeparatorScope &) = delete;

private:
    std::string FSaved;
};
