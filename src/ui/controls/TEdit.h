#pragma once
// Single-line edit box with a change event on every change of its text: each keystroke
// that changes it, an attached spinner's step, or the program setting a different text.

#include <QLineEdit>

#include <functional>

class TEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdit(QWidget *Parent);

    // Sets the text from the program; a different text raises OnChange at once, inside this
    // call, and an error from the handler goes on to the caller.
    void SetText(const QString &Text);
    // The current text, kept by the box itself, so reading it copies nothing.
    const QString &Text() const { return FText; }

    std::function<void()> OnChange;

private:
    QString FText;
    bool FSettingText = false;
};
