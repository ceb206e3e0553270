#pragma once
// Up-down spinner, the view of a spinner's state: a pair of arrow buttons whose clicks go to
// its model. An attached spinner sits at its edit box's right edge, and the arrow keys in the
// box step it as its arrows do.

#include <QWidget>

#include "Forwarding.h"
#include "LabControls.h"

class QToolButton;
class TEdit;

class TUpDown : public QWidget {
    Q_OBJECT
public:
    TUpDown(QWidget *Parent, TUpDownModel &Model, TForwarder Forward);

    int16_t Position() const { return FModel.Position(); }
    int16_t Min() const { return FModel.Min(); }
    int16_t Max() const { return FModel.Max(); }

    TEdit *Associate() const { return FAssociate; }
    void SetAssociate(TEdit *Edit);

    // The spinner and its arrows named for a screen reader by the quantity it sets.
    void SetAccessibleQuantity(const QString &Quantity);

    QToolButton *UpButton() const { return FUp; }
    QToolButton *DownButton() const { return FDown; }

protected:
    void resizeEvent(QResizeEvent *Event) override;
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void Click(TUDBtnType Button);

    TUpDownModel &FModel;
    TForwarder FForward;
    QToolButton *FUp;
    QToolButton *FDown;
    TEdit *FAssociate = nullptr;
};
