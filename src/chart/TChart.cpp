#include "TChart.h"

#include <QEvent>
#include <QPainter>
#include <QPen>

TChart::TChart(QWidget *parent) : QWidget(parent), FCanvas(palette())
{
    // The panel fills every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    FPanel.SetOnRepaintRequest([this] { update(); });
}

TChart::~TChart()
{
    FPanel.SetOnRepaintRequest(nullptr);
}

void TChart::SetTitle(const QString &text)
{
    FPanel.SetTitleText(text.isEmpty() ? std::vector<std::string>{} : std::vector{text.toStdString()});
}

TLineSeries *TChart::AddLineSeries()
{
    return FPanel.AddLineSeries();
}

void TChart::DrawTo(QPainter &painter, qreal PixelScale)
{
    Draw(painter, PixelScale, size());
}

void TChart::SetLayoutSize(const QSize &Size, const TChartSizes &Sizes)
{
    FLayoutSize = Size;
    FLayoutSizes = Sizes;
}

void TChart::DrawLayoutTo(QPainter &painter, qreal PixelScale)
{
    if (!FLayoutSize.isValid())
        return DrawTo(painter, PixelScale);
    const TChartSizes shown = FPanel.Sizes();
    FPanel.SetSizes(FLayoutSizes);
    Draw(painter, PixelScale, FLayoutSize);
    // Asks for a repaint too, which lays the panel out at its shown size again.
    FPanel.SetSizes(shown);
}

void TChart::Draw(QPainter &painter, qreal PixelScale, const QSize &Size)
{
    FCanvas.SetPalette(palette());
    FCanvas.SetPixelScale(PixelScale);
    const TQtChartCanvas::TPaintScope scope(FCanvas, painter);
    FPanel.Draw(FCanvas, {0, 0, Size.width(), Size.height()});
}

void TChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    DrawTo(painter);
    if (hasFocus()) {
        // The keyboard's place, for the menu key: a frame just inside the sunken edge, clear of
        // the title and the axes' labels.
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(3, 3, -3, -3));
    }
}

void TChart::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}
