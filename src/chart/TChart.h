#pragma once
// The chart panel widget: one TChartPanel laid out and painted with QPainter. Changes to
// its series ask for a repaint through QWidget::update(), which Qt merges into one paint.

#include <QString>
#include <QWidget>

#include "ChartPanel.h"
#include "ChartSeries.h"
#include "QtChartCanvas.h"

class QPainter;
class QPaintEvent;

class TChart : public QWidget {
    Q_OBJECT

public:
    explicit TChart(QWidget *parent = nullptr);
    ~TChart() override;

    // One title line; an empty text shows no title and reserves no room.
    void SetTitle(const QString &text);

    // The range settings of the axes.
    TScaleDiv &LeftAxis() { return FPanel.LeftAxis(); }
    TScaleDiv &BottomAxis() { return FPanel.BottomAxis(); }
    // Owned by the chart, drawn against LeftAxis and BottomAxis, SeriesColor clRed.
    TLineSeries *AddLineSeries();

    TChartPanel &Panel() { return FPanel; }
    const TChartPanel &Panel() const { return FPanel; }

    // Paints the whole widget (border included) with its top-left corner at the painter's
    // origin, as paintEvent does; used for off-screen images too. A picture PixelScale times
    // the screen's size has its one-pixel lines and dots PixelScale device pixels wide.
    void DrawTo(QPainter &painter, qreal PixelScale = 1);

    // The size and the panel's sizes that the window's layout gives the chart, which a window
    // too small for its layout shrinks; until set, the present ones.
    void SetLayoutSize(const QSize &Size, const TChartSizes &Sizes);
    QSize LayoutSize() const { return FLayoutSize.isValid() ? FLayoutSize : size(); }
    const TChartSizes &LayoutSizes() const { return FLayoutSizes; }
    // Paints the chart as DrawTo does, at its layout size however the window is shrunk: the
    // pictures other programs get.
    void DrawLayoutTo(QPainter &painter, qreal PixelScale);

    QSize sizeHint() const override { return QSize(401, 241); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void Draw(QPainter &painter, qreal PixelScale, const QSize &Size);

    TChartPanel FPanel;
    TQtChartCanvas FCanvas;
    QSize FLayoutSize;
    TChartSizes FLayoutSizes;
};
