#include "TButton.h"

#include "ErrorBox.h"

TButton::TButton(QWidget *Parent, const QString &Caption) : QPushButton(Caption, Parent)
{
    connect(this, &QPushButton::clicked, this, [this] {
        if (OnClick)
            CallGuarded(OnClick);
    });
}
