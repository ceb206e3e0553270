#pragma once
// Framed group of radio buttons stacked in one column, the view of a radio group's state: a
// user's selection, by mouse or keyboard, goes to its model, and Draw shows the model's
// selection. Only the selected item takes part in the Tab order, or the first item while none
// is selected.

#include <QGroupBox>
#include <QList>
#include <QStringList>

#include "Forwarding.h"
#include "LabControls.h"

class QRadioButton;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(QWidget *Parent, const QString &Caption, const QStringList &Items, TRadioGroupModel &Model,
                TForwarder Forward);

    int ItemIndex() const { return FModel.ItemIndex(); }
    // Checks the model's selected item, or none.
    void Draw();
    int Count() const { return static_cast<int>(FButtons.size()); }
    QRadioButton *Button(int Index) const { return FButtons.at(Index); }

    // The items' distance from the group's left and right edges.
    static constexpr int MadeLeftMargin = 8;
    static constexpr int MadeRightMargin = 4;
    void SetItemMargins(int Left, int Right);

protected:
    void resizeEvent(QResizeEvent *Event) override;
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void UpdateFocusPolicies();
    void LayoutItems();

    TRadioGroupModel &FModel;
    TForwarder FForward;
    QList<QRadioButton *> FButtons;
    int FLeftMargin = MadeLeftMargin;
    int FRightMargin = MadeRightMargin;
};
