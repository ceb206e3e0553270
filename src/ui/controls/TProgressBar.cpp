#include "TProgressBar.h"

#include <QAccessibleWidget>

#include "AccessibleClass.h"
#include <QPainter>
#include <QStyleOptionProgressBar>

#include <algorithm>
#include <cmath>

namespace {
// The bar only shows: a screen reader gets its fill in its description, and no value
// interface, whose Increase and Decrease actions could not move it.
class TProgressBarAccessible : public QAccessibleWidget {
public:
    explicit TProgressBarAccessible(QWidget *Widget) : QAccessibleWidget(Widget, QAccessible::ProgressBar) {}
    QString text(QAccessible::Text Kind) const override
    {
        if (Kind == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return QStringLiteral("%1 %").arg(static_cast<const TProgressBar *>(widget())->FilledPercent());
        return QAccessibleWidget::text(Kind);
    }
};
} // namespace

TProgressBar::TProgressBar(QWidget *Parent, int Min, int Max) : QProgressBar(Parent)
{
    InstallAccessibleClass(QStringLiteral("TProgressBar"),
                           [](QWidget *w) -> QAccessibleInterface * { return new TProgressBarAccessible(w); });
    setTextVisible(false);
    setRange(Min, Max);
    setValue(Min);
    FPosition = Min;
}

void TProgressBar::SetPosition(int Value)
{
    if (Value == FPosition)
        return;
    FPosition = Value;
    // Out-of-range values would be ignored by the bar: show them at the nearest end.
    setValue(std::clamp(Value, minimum(), maximum()));
    // QProgressBar repaints only when the value moves by about one chunk.
    update();
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

int TProgressBar::FilledPercent() const
{
    const long long span = static_cast<long long>(maximum()) - minimum();
    if (span <= 0)
        return FPosition > minimum() ? 100 : 0;
    const long long shown = std::clamp<long long>(static_cast<long long>(FPosition) - minimum(), 0, span);
    return static_cast<int>((shown * 100 + span / 2) / span);
}

QRect TProgressBar::InnerRect() const
{
    QStyleOptionProgressBar option;
    initStyleOption(&option);
    QRect inner = style()->subElementRect(QStyle::SE_ProgressBarContents, &option, this);
    if (inner.isEmpty())
        inner = rect();
    // The contents rectangle of some styles includes the frame line itself.
    const QRect framed = rect().adjusted(1, 1, -1, -1);
    return inner.intersected(framed);
}

int TProgressBar::FillWidth() const
{
    const int width = InnerRect().width();
    if (FPosition <= minimum() || maximum() <= minimum())
        return FPosition > minimum() ? width : 0;
    if (FPosition >= maximum())
        return width;
    const double share = static_cast<double>(FPosition - minimum()) / (static_cast<double>(maximum()) - minimum());
    return static_cast<int>(std::lround(share * width));
}

void TProgressBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The style draws the empty groove and frame; the fill is a plain rectangle inside it.
    QStyleOptionProgressBar option;
    initStyleOption(&option);
    option.progress = option.minimum;
    style()->drawControl(QStyle::CE_ProgressBarGroove, &option, &painter, this);
    const QRect inner = InnerRect();
    const int fill = FillWidth();
    if (fill > 0)
        painter.fillRect(QRect(inner.left(), inner.top(), fill, inner.height()), palette().color(QPalette::Highlight));
}
