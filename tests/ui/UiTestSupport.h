#pragma once
// Helpers shared by the GUI tests: capturing the error and question boxes, and number settings
// per test.

#include <QString>
#include <QStringList>

#include "DecimalSeparatorScope.h"
#include "ErrorBox.h"

// Captures every error box and every question shown while it lives; questions get Answer.
class TBoxCapture {
public:
    TBoxCapture()
    {
        TErrorBox::Instance().SetHook([this](const QString &Caption, const QString &Text) {
            Captions << Caption;
            Texts << Text;
        });
        SetQuestionHook([this](const QString &, const QString &Text) {
            Questions << Text;
            return Answer;
        });
    }
    ~TBoxCapture()
    {
        TErrorBox::Instance().SetHook({});
        SetQuestionHook({});
    }
    TBoxCapture(const TBoxCapture &) = delete;
    TBoxCapture &operator=(const TBoxCapture &) = delete;

    QStringList Captions;
    QStringList Texts;
    QStringList Questions;
    bool Answer = false;
};
