#pragma once
// Push button whose click runs OnClick.

#include <QPushButton>

#include <functional>

class TButton : public QPushButton {
    Q_OBJECT
public:
    TButton(QWidget *Parent, const QString &Caption);

    std::function<void()> OnClick;
};
