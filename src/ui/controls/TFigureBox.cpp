#include "TFigureBox.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QPalette>

namespace {
// A screen reader hears the box's caption as its name and the figure shown as its value.
class TFigureBoxAccessible : public QAccessibleWidget {
public:
    explicit TFigureBoxAccessible(QWidget *Widget) : QAccessibleWidget(Widget, QAccessible::StaticText) {}
    QString text(QAccessible::Text Kind) const override
    {
        if (Kind == QAccessible::Value)
            return static_cast<const QLabel *>(widget())->text();
        return QAccessibleWidget::text(Kind);
    }
};

QAccessibleInterface *FigureBoxFactory(const QString &ClassName, QObject *Object)
{
    if (ClassName == QLatin1String("TFigureBox") && Object && Object->isWidgetType())
        return new TFigureBoxAccessible(static_cast<QWidget *>(Object));
    return nullptr;
}
} // namespace

TFigureBox::TFigureBox(QWidget *Parent) : QLabel(QStringLiteral("0"), Parent)
{
    static const bool factoryInstalled = (QAccessible::installFactory(FigureBoxFactory), true);
    (void)factoryInstalled;
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    setPalette(p);
}
