#include "WindowScale.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

#include "TChart.h"

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
                const TChartAxis &left = chart->LeftAxis();
                const TChartAxis &bottom = chart->BottomAxis();
                FCharts.append({chart, chart->Panel().Title.Font.PixelSize, left.LabelsFont().PixelSize,
                                bottom.LabelsFont().PixelSize, left.TickLength(), left.MinorTickLength(),
                                bottom.TickLength(), bottom.MinorTickLength()});
            }
        }
    }
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
    for (const TPlace &place : FPlaces)
        place.Widget->setGeometry(ScaledRect(place.Rect, Factor));
    for (const TChartSizes &sizes : FCharts) {
        TChart *chart = sizes.Chart;
        TChartAxis &left = chart->LeftAxis();
        TChartAxis &bottom = chart->BottomAxis();
        chart->Panel().Title.Font.PixelSize = ScaledFontSize(sizes.TitleSize, Factor);
        left.LabelsFont().PixelSize = ScaledFontSize(sizes.LeftLabelsSize, Factor);
        bottom.LabelsFont().PixelSize = ScaledFontSize(sizes.BottomLabelsSize, Factor);
        left.SetTickLength(ScaledLength(sizes.LeftTick, Factor));
        left.SetMinorTickLength(ScaledLength(sizes.LeftMinorTick, Factor));
        bottom.SetTickLength(ScaledLength(sizes.BottomTick, Factor));
        bottom.SetMinorTickLength(ScaledLength(sizes.BottomMinorTick, Factor));
        chart->update();
    }
}
