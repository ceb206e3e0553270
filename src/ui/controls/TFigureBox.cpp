#include "TFigureBox.h"

#include <QApplication>
#include <QPalette>

TFigureBox::TFigureBox(QWidget *Parent) : QLabel(QStringLiteral("0"), Parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    setPalette(p);
}
