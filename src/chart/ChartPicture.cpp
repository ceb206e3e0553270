#include "ChartPicture.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include "TChart.h"

QImage ChartImage(TChart &Chart, int Factor)
{
    QImage image(Chart.LayoutSize() * Factor, QImage::Format_RGB32);
    image.setDevicePixelRatio(Factor);
    // Placed in a document, the picture takes the size the chart has on a 96 dpi screen.
    const int dotsPerMeter = qRound(96 * Factor / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    Chart.DrawLayoutTo(painter, Factor);
    return image;
}

QByteArray ChartSvg(TChart &Chart)
{
    QByteArray document;
    QBuffer buffer(&document);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(Chart.LayoutSize());
    generator.setViewBox(QRect(QPoint(0, 0), Chart.LayoutSize()));
    // The chart's fonts are sized in pixels; at the screen's 96 per inch they stay that size.
    generator.setResolution(96);
    generator.setTitle(Chart.accessibleName());
    generator.setDescription(Chart.accessibleDescription());
    {
        QPainter painter(&generator);
        Chart.DrawLayoutTo(painter, 1);
    }
    return document;
}
