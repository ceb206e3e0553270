#include "TUpDown.h"

#include <QEvent>
#include <QKeyEvent>
#include <QToolButton>

#include "TEdit.h"

TUpDown::TUpDown(QWidget *Parent, TUpDownModel &Model, TForwarder Forward)
    : QWidget(Parent), FModel(Model), FForward(std::move(Forward)), FUp(new QToolButton(this)),
      FDown(new QToolButton(this))
{
    setFocusPolicy(Qt::NoFocus);
    for (QToolButton *b : {FUp, FDown}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
    }
    FUp->setArrowType(Qt::UpArrow);
    FDown->setArrowType(Qt::DownArrow);
    connect(FUp, &QToolButton::clicked, this, [this] { Click(TUDBtnType::btNext); });
    connect(FDown, &QToolButton::clicked, this, [this] { Click(TUDBtnType::btPrev); });
}

void TUpDown::Click(TUDBtnType Button)
{
    FForward([this, Button] { FModel.Click(Button); });
}

void TUpDown::SetAssociate(TEdit *Edit)
{
    if (FAssociate)
        FAssociate->removeEventFilter(this);
    FAssociate = Edit;
    if (!Edit)
        return;
    setGeometry(Edit->x() + Edit->width(), Edit->y(), width(), Edit->height());
    Edit->installEventFilter(this);
}

void TUpDown::SetAccessibleQuantity(const QString &Quantity)
{
    setAccessibleName(Quantity);
    FUp->setAccessibleName(QStringLiteral("больше: ") + Quantity);
    FDown->setAccessibleName(QStringLiteral("меньше: ") + Quantity);
}

void TUpDown::resizeEvent(QResizeEvent *)
{
    const int upHeight = height() / 2;
    FUp->setGeometry(0, 0, width(), upHeight);
    FDown->setGeometry(0, upHeight, width(), height() - upHeight);
}

bool TUpDown::eventFilter(QObject *Watched, QEvent *Event)
{
    // The arrow keys in the attached box step the spinner, as its arrows do.
    if (Watched == FAssociate && Event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(Event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Click(key == Qt::Key_Up ? TUDBtnType::btNext : TUDBtnType::btPrev);
            return true;
        }
    }
    return QWidget::eventFilter(Watched, Event);
}
