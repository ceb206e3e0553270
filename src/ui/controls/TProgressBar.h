#pragma once
// Smooth horizontal progress bar. Position is kept as set; a position above Max shows a full
// bar, one below Min an empty bar.

#include <QProgressBar>

class TProgressBar : public QProgressBar {
    Q_OBJECT
public:
    TProgressBar(QWidget *Parent, int Min, int Max);

    int Position() const { return FPosition; }
    void SetPosition(int Value);

private:
    int FPosition = 0;
};
