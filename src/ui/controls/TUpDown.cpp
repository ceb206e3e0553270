#include "TUpDown.h"

#include <QEvent>
#include <QKeyEvent>
#include <QToolButton>

#include <algorithm>

#include "ErrorBox.h"
#include "TEdit.h"

TUpDown::TUpDown(QWidget *Parent) : QWidget(Parent), FUp(new QToolButton(this)), FDown(new QToolButton(this))
{
    setFocusPolicy(Qt::NoFocus);
    for (QToolButton *b : {FUp, FDown}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
    }
    FUp->setArrowType(Qt::UpArrow);
    FDown->setArrowType(Qt::DownArrow);
    connect(FUp, &QToolButton::clicked, this, [this] { CallGuarded([this] { Click(TUDBtnType::btNext); }); });
    connect(FDown, &QToolButton::clicked, this, [this] { CallGuarded([this] { Click(TUDBtnType::btPrev); }); });
}

void TUpDown::SetPosition(int Value)
{
    FPosition = static_cast<int16_t>(std::clamp<int>(Value, FMin, FMax));
}

void TUpDown::SetRange(int16_t Min, int16_t Max)
{
    FMin = Min;
    FMax = std::max(Min, Max);
    SetPosition(FPosition);
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

void TUpDown::Click(TUDBtnType Button)
{
    int from = FPosition;
    if (FAssociate) {
        // After typing, the step starts from what the box shows.
        bool ok = false;
        const int shown = FAssociate->text().trimmed().toInt(&ok);
        if (ok && shown >= FMin && shown <= FMax)
            from = shown;
    }
    const int step = Button == TUDBtnType::btNext ? FIncrement : -FIncrement;
    const int to = std::clamp(from + step, int(FMin), int(FMax));
    FPosition = static_cast<int16_t>(from);
    if (to == from)
        return;
    FPosition = static_cast<int16_t>(to);
    if (FAssociate)
        FAssociate->SetText(QString::number(to));
    if (OnClick)
        OnClick(Button);
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
            CallGuarded([this, key] { Click(key == Qt::Key_Up ? TUDBtnType::btNext : TUDBtnType::btPrev); });
            return true;
        }
    }
    return QWidget::eventFilter(Watched, Event);
}
