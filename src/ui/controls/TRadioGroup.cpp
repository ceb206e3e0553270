#include "TRadioGroup.h"

#include <QFontMetrics>
#include <QRadioButton>

#include "ErrorBox.h"

namespace {
// An item takes a click anywhere in its row, not only on its circle and text.
class TGroupButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint &Pos) const override { return rect().contains(Pos); }
};
} // namespace

TRadioGroup::TRadioGroup(QWidget *Parent, const QString &Caption, const QStringList &Items) : QGroupBox(Caption, Parent)
{
    for (int i = 0; i < Items.size(); ++i) {
        auto *button = new TGroupButton(Items.at(i), this);
        FButtons.append(button);
        // clicked comes from the mouse and the keyboard only, never from setChecked.
        connect(button, &QRadioButton::clicked, this, [this, i] { UserSelected(i); });
    }
    UpdateFocusPolicies();
}

void TRadioGroup::SetItemIndex(int Index)
{
    if (Index < 0 || Index >= Count())
        Index = -1;
    if (Index >= 0) {
        FButtons.at(Index)->setChecked(true);
    } else if (FItemIndex >= 0) {
        QRadioButton *checked = FButtons.at(FItemIndex);
        checked->setAutoExclusive(false);
        checked->setChecked(false);
        checked->setAutoExclusive(true);
    }
    FItemIndex = Index;
    UpdateFocusPolicies();
}

void TRadioGroup::UserSelected(int Index)
{
    if (Index == FItemIndex)
        return;
    FItemIndex = Index;
    UpdateFocusPolicies();
    if (OnClick)
        CallGuarded(OnClick);
}

void TRadioGroup::UpdateFocusPolicies()
{
    for (int i = 0; i < Count(); ++i)
        FButtons.at(i)->setFocusPolicy(i == FItemIndex ? Qt::StrongFocus : Qt::ClickFocus);
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
