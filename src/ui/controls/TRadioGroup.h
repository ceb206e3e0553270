#pragma once
// Framed group of radio buttons stacked in one column. ItemIndex is the selected item
// (-1: none). OnClick follows only a user's selection of an item other than the selected
// one, by mouse or keyboard; setting ItemIndex from the program raises nothing. Only the
// selected item takes part in the Tab order, or the first item while none is selected.

#include <QGroupBox>
#include <QList>
#include <QStringList>

#include <functional>

class QRadioButton;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(QWidget *Parent, const QString &Caption, const QStringList &Items);

    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Index);
    int Count() const { return static_cast<int>(FButtons.size()); }
    QRadioButton *Button(int Index) const { return FButtons.at(Index); }

    // The items' distance from the group's left and right edges.
    static constexpr int MadeLeftMargin = 8;
    static constexpr int MadeRightMargin = 4;
    void SetItemMargins(int Left, int Right);

    std::function<void()> OnClick;

protected:
    void resizeEvent(QResizeEvent *Event) override;
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void UserSelected(int Index);
    void UpdateFocusPolicies();
    void LayoutItems();

    QList<QRadioButton *> FButtons;
    int FItemIndex = -1;
    int FLeftMargin = MadeLeftMargin;
    int FRightMargin = MadeRightMargin;
};
