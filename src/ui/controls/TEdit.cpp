#include "TEdit.h"

#include "ErrorBox.h"

TEdit::TEdit(QWidget *Parent) : QLineEdit(Parent)
{
    // Typing, pasting, undo: everything the user does arrives here, each as its own event.
    connect(this, &QLineEdit::textChanged, this, [this](const QString &Text) {
        FText = Text;
        if (!FSettingText && OnChange)
            CallGuarded(OnChange);
    });
}

void TEdit::SetText(const QString &Text)
{
    if (Text == text())
        return;
    FSettingText = true;
    setText(Text);
    FSettingText = false;
    if (OnChange)
        OnChange();
}
