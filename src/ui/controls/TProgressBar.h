#pragma once
// Smooth horizontal progress bar. Position is kept as set; a position above Max shows a full
// bar, one below Min an empty bar. The bar paints its fill itself, so that every change of
// position shows at the next paint, however small.

#include <QProgressBar>
#include <QRect>

class TProgressBar : public QProgressBar {
    Q_OBJECT
public:
    TProgressBar(QWidget *Parent, int Min, int Max);

    int Position() const { return FPosition; }
    void SetPosition(int Value);

    // The part of the bar inside its frame, and the width of its fill there.
    QRect InnerRect() const;
    int FillWidth() const;
    // How full the bar is, in whole percent.
    int FilledPercent() const;

protected:
    void paintEvent(QPaintEvent *Event) override;

private:
    int FPosition = 0;
};
