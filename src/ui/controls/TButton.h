#pragma once
// Push button whose click runs OnClick; Enter presses it, as Space does.

#include <QPushButton>

#include <functional>

class TButton : public QPushButton {
    Q_OBJECT
public:
    TButton(QWidget *Parent, const QString &Caption);

    std::function<void()> OnClick;

protected:
    void keyPressEvent(QKeyEvent *Event) override;
};
