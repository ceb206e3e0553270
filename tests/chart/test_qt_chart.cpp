#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <stdexcept>

#include "TChart.h"

namespace {
struct TBox {
    int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
    int Count = 0;
};

QImage Render(TChart &chart)
{
    QImage image(chart.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    chart.DrawTo(painter);
    return image;
}

bool IsRed(QRgb p) { return p == qRgb(255, 0, 0); }
bool IsBlack(QRgb p) { return p == qRgb(0, 0, 0); }

TBox RedPixels(const QImage &image)
{
    TBox box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (IsRed(image.pixel(x, y))) {
                box.Left = std::min(box.Left, x);
                box.Right = std::max(box.Right, x);
                box.Top = std::min(box.Top, y);
                box.Bottom = std::max(box.Bottom, y);
                ++box.Count;
            }
    return box;
}

struct TQtChart : testing::Test {
    TChart chart;
    TLineSeries *series = nullptr;

    void MakeFixed(int height = 240)
    {
        chart.resize(401, height);
        chart.SetTitle(QStringLiteral("Полезный сигнал"));
        chart.LeftAxis().SetMinMax(-2.5, 2.5);
        series = chart.AddLineSeries();
    }
    void MakeAutomatic()
    {
        chart.resize(401, 241);
        chart.SetTitle(QStringLiteral("Сигнал + Шум на выходе фильтра"));
        series = chart.AddLineSeries();
    }
    // The first paint measures the left labels at the range ends; the second settles.
    QImage Paint()
    {
        Render(chart);
        return Render(chart);
    }
};

TEST(QtChartCanvas, LabelFontIsArialOrItsMetricTwinAtElevenPixels)
{
    const QFont font = TQtChartCanvas::MakeFont(TChartFont{});
    const QFontInfo info(font);
    EXPECT_TRUE(info.family() == "Arial" || info.family() == "Liberation Sans") << info.family().toStdString();
    EXPECT_EQ(info.pixelSize(), 11);
}

TEST(QtChartCanvas, APaintScopeEndsTheDrawingHoweverItIsLeft)
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TQtChartCanvas canvas;
    EXPECT_FALSE(canvas.Drawing());
    {
        const TQtChartCanvas::TPaintScope scope(canvas, painter);
        EXPECT_TRUE(canvas.Drawing());
        canvas.FillRect({2, 2, 8, 8}, clBlue);
    }
    EXPECT_FALSE(canvas.Drawing());
    try {
        const TQtChartCanvas::TPaintScope scope(canvas, painter);
        throw std::runtime_error("interrupted");
    } catch (const std::runtime_error &) {
    }
    EXPECT_FALSE(canvas.Drawing());
    EXPECT_GT(canvas.TextHeight(TChartFont{}, "W"), 0); // measuring needs no painter
    painter.end();
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
}

TEST_F(TQtChart, BackWallAndAxisLinesLieWhereTheLayoutPutsThem)
{
    MakeFixed();
    const QImage image = Paint();
    const QFontMetrics fm(TQtChartCanvas::MakeFont(TChartFont{}));
    const int h = fm.height();
    // Client 397 x 236 inside the 2-pixel border; margins 12 and 9 pixels.
    const int top = 2 + 9 + h + 5;
    const int bottom = 238 - 9 - h - 6;
    const int left = 14 + std::max(fm.horizontalAdvance("-2"), fm.horizontalAdvance("2")) + fm.horizontalAdvance(" ") + 6;
    const int right = 399 - 12;
    ASSERT_EQ(chart.Panel().PlotRect(), (TChartRect{left, top, right, bottom}));

    for (int x = left; x <= right; ++x) {
        EXPECT_TRUE(IsBlack(image.pixel(x, top))) << x;
        EXPECT_TRUE(IsBlack(image.pixel(x, bottom))) << x;
        EXPECT_TRUE(IsBlack(image.pixel(x, bottom - 1))) << x; // the 2-pixel bottom axis
    }
    for (int y = top; y <= bottom; ++y) {
        EXPECT_TRUE(IsBlack(image.pixel(left, y))) << y;
        EXPECT_TRUE(IsBlack(image.pixel(left + 1, y))) << y; // the 2-pixel left axis
        EXPECT_TRUE(IsBlack(image.pixel(right, y))) << y;
    }
    const QRgb face = chart.palette().color(QPalette::Button).rgb();
    EXPECT_EQ(image.pixel(right + 1, (top + bottom) / 2), face);
    EXPECT_EQ(image.pixel(left + 5, top - 1), face);
    EXPECT_EQ(image.pixel(right - 1, top + 3), face); // the inside is not filled
}

TEST_F(TQtChart, TicksAndDottedGridAreCrispGray)
{
    MakeFixed();
    series->AppendValue(0);
    const QImage image = Paint();
    const TChartRect plot = chart.Panel().PlotRect();
    const QRgb gray = qRgb(128, 128, 128);
    const QRgb face = chart.palette().color(QPalette::Button).rgb();
    const std::vector<int> ticks = chart.Panel().LeftScaleDraw().TickList();
    ASSERT_EQ(ticks.size(), 5u);
    for (int p : ticks) {
        for (int x = plot.Left - 4; x < plot.Left; ++x)
            EXPECT_EQ(image.pixel(x, p), gray) << x << "," << p;
        EXPECT_NE(image.pixel(plot.Left - 5, p), gray);
        if (p == chart.Panel().LeftMap().ValueToPixel(0))
            continue; // the red line runs along this one
        const std::vector<int> &crossing = chart.Panel().BottomScaleDraw().TickList();
        for (int x = plot.Left + 2; x < plot.Right; ++x) {
            if (std::find(crossing.begin(), crossing.end(), x) == crossing.end()) {
                EXPECT_EQ(image.pixel(x, p), (x - plot.Left) % 2 == 0 ? gray : face) << x << "," << p;
            }
        }
    }
}

TEST_F(TQtChart, TheLineStaysInsideThePlotAndIsCutAtTheFrame)
{
    MakeFixed(241);
    for (int i = 0; i < 256; ++i)
        series->AppendValue(i % 2 ? 5.0 : -4.0 + (i % 7));
    const QImage image = Paint();
    const TChartRect plot = chart.Panel().PlotRect();
    const TBox red = RedPixels(image);
    ASSERT_GT(red.Count, 0);
    EXPECT_GE(red.Left, plot.Left);
    EXPECT_LE(red.Right, plot.Right);
    EXPECT_EQ(red.Top, plot.Top);
    EXPECT_EQ(red.Bottom, plot.Bottom);
}

TEST_F(TQtChart, EqualValuesOnTheAutomaticAxisDrawAHorizontalLineAtTheMiddle)
{
    MakeAutomatic();
    for (int i = 0; i < 256; ++i)
        series->AppendValue(0.37);
    const QImage image = Paint();
    const TChartRect plot = chart.Panel().PlotRect();
    const int middle = (plot.Top + plot.Bottom) / 2;
    const TBox red = RedPixels(image);
    EXPECT_EQ(red.Top, middle);
    EXPECT_EQ(red.Bottom, middle);
    EXPECT_EQ(red.Left, plot.Left);
    EXPECT_EQ(red.Right, plot.Right);
    EXPECT_EQ(red.Count, plot.Right - plot.Left + 1);
}

TEST_F(TQtChart, ASinglePointDrawsNoLine)
{
    MakeAutomatic();
    series->AppendValue(1.5);
    EXPECT_EQ(RedPixels(Paint()).Count, 0);
}

TEST_F(TQtChart, TitleIsBlueAndLabelsAreDark)
{
    MakeFixed();
    const QImage image = Paint();
    const TChartRect plot = chart.Panel().PlotRect();
    int blue = 0, dark = 0;
    for (int y = 3; y < plot.Top - 5; ++y)
        for (int x = 3; x < 398; ++x) {
            const QColor c(image.pixel(x, y));
            if (c.blue() > 200 && c.red() < 100 && c.green() < 100)
                ++blue;
        }
    for (int y = plot.Top; y < plot.Bottom; ++y)
        for (int x = 3; x < chart.Panel().LeftScaleDraw().LabelEdgePos(); ++x)
            if (qGray(image.pixel(x, y)) < 60)
                ++dark;
    EXPECT_GT(blue, 20);
    EXPECT_GT(dark, 20);
}

class TCountingChart : public TChart {
public:
    int Paints = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++Paints;
        TChart::paintEvent(event);
    }
};

TEST(QtChartRepaint, ARefillOf256ValuesPaintsOnce)
{
    TCountingChart chart;
    chart.resize(401, 241);
    TLineSeries *series = chart.AddLineSeries();
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    QTest::qWait(30);
    chart.Paints = 0;
    series->RemoveAllPoints();
    for (int i = 0; i < 256; ++i)
        series->AppendValue(i * 0.01);
    EXPECT_EQ(chart.Paints, 0); // nothing is drawn inside the refresh
    QTest::qWait(50);
    EXPECT_EQ(chart.Paints, 1);
}
} // namespace
