#include "TButton.h"

#include <QKeyEvent>

#include "ErrorBox.h"

TButton::TButton(QWidget *Parent, const QString &Caption) : QPushButton(Caption, Parent)
{
    connect(this, &QPushButton::clicked, this, [this] {
        if (OnClick)
            CallGuarded(OnClick);
    });
}

void TButton::keyPressEvent(QKeyEvent *Event)
{
    const bool enter = Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter;
    if (enter && !Event->isAutoRepeat() && (Event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        click();
        return;
    }
    QPushButton::keyPressEvent(Event);
}
