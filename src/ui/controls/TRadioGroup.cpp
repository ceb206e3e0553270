#include "TRadioGroup.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QRadioButton>

#include <algorithm>


namespace {
// An item takes a click anywhere in its row, not only on its circle and text.
class TGroupButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint &Pos) const override { return rect().contains(Pos); }
};
} // namespace

TRadioGroup::TRadioGroup(QWidget *Parent, const QString &Caption, const QStringList &Items, TRadioGroupModel &Model,
                         TForwarder Forward)
    : QGroupBox(Caption, Parent), FModel(Model), FForward(std::move(Forward))
{
    for (int i = 0; i < Items.size(); ++i) {
        auto *button = new TGroupButton(Items.at(i), this);
        FButtons.append(button);
        // clicked comes from the mouse and the keyboard only, never from setChecked.
        connect(button, &QRadioButton::clicked, this, [this, i] { FForward([this, i] { FModel.Select(i); }); });
        button->installEventFilter(this);
    }
    Draw();
}

void TRadioGroup::Draw()
{
    const int index = FModel.ItemIndex();
    for (int i = 0; i < Count(); ++i) {
        QRadioButton *button = FButtons.at(i);
        if (button->isChecked() == (i == index))
            continue;
        // Unchecking the one checked item of an exclusive group takes leaving the group.
        button->setAutoExclusive(false);
        button->setChecked(i == index);
        button->setAutoExclusive(true);
    }
    UpdateFocusPolicies();
}

void TRadioGroup::UpdateFocusPolicies()
{
    // A group without a selection is still reached by Tab, at its first item.
    const int focusItem = ItemIndex() >= 0 ? ItemIndex() : 0;
    for (int i = 0; i < Count(); ++i)
        FButtons.at(i)->setFocusPolicy(i == focusItem ? Qt::StrongFocus : Qt::ClickFocus);
}

bool TRadioGroup::eventFilter(QObject *Watched, QEvent *Event)
{
    // With a selection the buttons move it by the arrows themselves; without one they would
    // only move the focus, so here an arrow selects the item it leads to.
    if (Event->type() == QEvent::KeyPress && ItemIndex() < 0) {
        const int from = static_cast<int>(FButtons.indexOf(static_cast<QRadioButton *>(Watched)));
        const int key = static_cast<QKeyEvent *>(Event)->key();
        const bool back = key == Qt::Key_Up || key == Qt::Key_Left;
        const bool forward = key == Qt::Key_Down || key == Qt::Key_Right;
        if (from >= 0 && (back || forward)) {
            const int to = std::clamp(from + (forward ? 1 : -1), 0, Count() - 1);
            FButtons.at(to)->setFocus(Qt::TabFocusReason);
            FButtons.at(to)->click();
            return true;
        }
    }
    return QGroupBox::eventFilter(Watched, Event);
}

void TRadioGroup::SetItemMargins(int Left, int Right)
{
    FLeftMargin = Left;
    FRightMargin = Right;
    LayoutItems();
}

void TRadioGroup::resizeEvent(QResizeEvent *Event)
{
    QGroupBox::resizeEvent(Event);
    LayoutItems();
}

void TRadioGroup::LayoutItems()
{
    if (FButtons.isEmpty())
        return;
    // Below the caption the items share the height evenly, one row each.
    const int top = fontMetrics().height() + 2;
    const int rowHeight = (height() - top - 4) / Count();
    for (int i = 0; i < Count(); ++i)
        FButtons.at(i)->setGeometry(FLeftMargin, top + i * rowHeight, width() - FLeftMargin - FRightMargin, rowHeight);
}
