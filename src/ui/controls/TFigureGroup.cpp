#include "TFigureGroup.h"

#include <QPainter>
#include <QPen>
#include <QStyle>
#include <QStyleOptionGroupBox>

TFigureGroup::TFigureGroup(const QString &Title, QWidget *Parent) : QGroupBox(Title, Parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void TFigureGroup::paintEvent(QPaintEvent *Event)
{
    QGroupBox::paintEvent(Event);
    if (!hasFocus())
        return;
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QRect caption = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(QRectF(caption).adjusted(-2, 1, 2, 1));
}
