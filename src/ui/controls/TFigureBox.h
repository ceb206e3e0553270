#pragma once
// A figure box: a fixed-size label on the button-face colour, in the narrow cut of the window's
// font where "MS Sans Serif" is missing; its text is left-aligned and
// cut off at the right edge when it is wider than the box. A screen reader hears its caption
// as its name, its group as its description and the figure as its text, and is told of every
// new figure.

#include <QLabel>

class TFigureBox : public QLabel {
    Q_OBJECT
public:
    explicit TFigureBox(QWidget *Parent);

    // Hides QLabel's: the figures are written through the box, so each change is announced.
    void setText(const QString &Text);
};
