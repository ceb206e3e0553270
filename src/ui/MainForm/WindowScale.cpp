#include "WindowScale.h"

#include <QCheckBox>
#include <QProxyStyle>
#include <QRadioButton>
#include <QWidget>

#include <algorithm>
#include <cmath>

#include "TChart.h"
#include "TRadioGroup.h"

namespace {
int Scaled(int Value, double Factor)
{
    return static_cast<int>(std::lround(Value * Factor));
}

// Tick marks stay visible however far the window shrinks.
int ScaledLength(int Length, double Factor)
{
    return Length > 0 ? std::max(1, Scaled(Length, Factor)) : Length;
}
} // namespace

// The application's style, with the marks of check boxes and radio items and the gap beside
// them at the window's factor.
class TScaledIndicatorStyle : public QProxyStyle {
public:
    explicit TScaledIndicatorStyle(double Factor) : FFactor(Factor) {}

    int pixelMetric(PixelMetric Metric, const QStyleOption *Option, const QWidget *Widget) const override
    {
        const int size = QProxyStyle::pixelMetric(Metric, Option, Widget);
        switch (Metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
            return ScaledLength(size, FFactor);
        default:
            return size;
        }
    }

private:
    double FFactor;
};

TWindowScale::TWindowScale() = default;

TWindowScale::~TWindowScale()
{
    // The buttons outlive this object by a moment as their window goes: give them their
    // style back first.
    for (const QPointer<QAbstractButton> &button : FMarked)
        if (button)
            button->setStyle(nullptr);
}

QRect ScaledRect(const QRect &Rect, double Factor)
{
    const int left = Scaled(Rect.left(), Factor);
    const int top = Scaled(Rect.top(), Factor);
    const int right = Scaled(Rect.left() + Rect.width(), Factor);
    const int bottom = Scaled(Rect.top() + Rect.height(), Factor);
    return QRect(left, top, right - left, bottom - top);
}

int ScaledFontSize(int Size, double Factor)
{
    return std::max(1, static_cast<int>(Size * Factor + 1e-9));
}

void TWindowScale::Record(QWidget *Window, const QList<QWidget *> &Containers)
{
    FWindow = Window;
    FFont = Window->font();
    FPlaces.clear();
    FCharts.clear();
    QList<QWidget *> parents{Window};
    parents.append(Containers);
    for (QWidget *parent : parents) {
        for (QWidget *child : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            FPlaces.append({child, child->geometry()});
            if (auto *chart = qobject_cast<TChart *>(child)) {
                chart->SetLayoutSize(child->size(), chart->Panel().Sizes());
                FCharts.append(chart);
            }
        }
    }
    FMarked.clear();
    for (QAbstractButton *button : Window->findChildren<QAbstractButton *>())
        if (qobject_cast<QCheckBox *>(button) || qobject_cast<QRadioButton *>(button))
            FMarked.append(button);
    FFactor = 1.0;
}

void TWindowScale::Apply(double Factor)
{
    if (!FWindow)
        return;
    FFactor = Factor;
    // The font first: the radio groups lay out their items by its height as they are resized.
    QFont font = FFont;
    if (FFont.pixelSize() > 0)
        font.setPixelSize(ScaledFontSize(FFont.pixelSize(), Factor));
    else
        font.setPointSizeF(FFont.pointSizeF() * Factor);
    FWindow->setFont(font);
    auto markStyle = Factor == 1.0 ? nullptr : std::make_unique<TScaledIndicatorStyle>(Factor);
    for (const QPointer<QAbstractButton> &button : FMarked)
        if (button)
            button->setStyle(markStyle.get());
    FMarkStyle = std::move(markStyle);
    for (const TPlace &place : FPlaces) {
        place.Widget->setGeometry(ScaledRect(place.Rect, Factor));
        if (auto *group = qobject_cast<TRadioGroup *>(place.Widget))
            group->SetItemMargins(ScaledLength(TRadioGroup::MadeLeftMargin, Factor),
                                  ScaledLength(TRadioGroup::MadeRightMargin, Factor));
    }
    for (TChart *chart : FCharts) {
        const TChartSizes &made = chart->LayoutSizes();
        chart->Panel().SetSizes({ScaledFontSize(made.TitleFont, Factor), ScaledFontSize(made.LabelsFont, Factor),
                                 ScaledLength(made.TickLength, Factor), ScaledLength(made.MinorTickLength, Factor)});
    }
}
