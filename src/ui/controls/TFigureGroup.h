#pragma once
// A group of figure boxes: a group box that Tab and a click reach, so that the menu key opens
// its menu, with a frame around its caption while it has the focus.

#include <QGroupBox>

class TFigureGroup : public QGroupBox {
    Q_OBJECT
public:
    TFigureGroup(const QString &Title, QWidget *Parent);

protected:
    void paintEvent(QPaintEvent *Event) override;
};
