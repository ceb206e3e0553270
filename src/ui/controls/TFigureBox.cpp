#include "TFigureBox.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QPalette>

#include "AccessibleClass.h"

namespace {
// The box's text as a read-only text: what a screen reader reads out and re-reads on change.
class TFigureBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TFigureBoxAccessible(QWidget *Widget) : QAccessibleWidget(Widget, QAccessible::StaticText) {}

    void *interface_cast(QAccessible::InterfaceType Type) override
    {
        if (Type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(Type);
    }
    QString text(QAccessible::Text Kind) const override
    {
        if (Kind == QAccessible::Value)
            return Shown();
        return QAccessibleWidget::text(Kind);
    }

    void selection(int, int *Start, int *End) const override { *Start = *End = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int Start, int End) const override { return Shown().mid(Start, End - Start); }
    int characterCount() const override { return static_cast<int>(Shown().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *Start, int *End) const override
    {
        *Start = 0;
        *End = characterCount();
        return {};
    }

private:
    QString Shown() const { return static_cast<const QLabel *>(widget())->text(); }
};
} // namespace

TFigureBox::TFigureBox(QWidget *Parent) : QLabel(QStringLiteral("0"), Parent)
{
    InstallAccessibleClass(QStringLiteral("TFigureBox"),
                           [](QWidget *w) -> QAccessibleInterface * { return new TFigureBoxAccessible(w); });
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    setPalette(p);
    // Only the family is set, so the size still follows the window's font. "MS Sans Serif"
    // holds a figure such as "0,09479" within the 65 pixels; where it is missing, the sans-serif
    // faces that stand in for it are wider, and their narrow cuts keep the figures whole.
    QFont f;
    f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans Narrow"),
                   QStringLiteral("Arial Narrow")});
    setFont(f);
}

void TFigureBox::setText(const QString &Text)
{
    const QString old = text();
    if (Text == old)
        return;
    QLabel::setText(Text);
    QAccessibleTextUpdateEvent event(this, 0, old, Text);
    QAccessible::updateAccessibility(&event);
}
