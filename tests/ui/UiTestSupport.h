#pragma once
// Helpers shared by the GUI tests: capturing the error box, and number settings per test.

#include <QString>
#include <QStringList>

#include "DecimalSeparatorScope.h"
#include "ErrorBox.h"

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
