#pragma once
// A figure box: a fixed-size label on the button-face colour; its text is left-aligned and
// cut off at the right edge when it is wider than the box.

#include <QLabel>

class TFigureBox : public QLabel {
    Q_OBJECT
public:
    explicit TFigureBox(QWidget *Parent);
};
