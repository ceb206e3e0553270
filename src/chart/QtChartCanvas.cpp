#include "QtChartCanvas.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QString>

#include <algorithm>
#include <cstdlib>

TQtChartCanvas::TQtChartCanvas(const QPalette &Palette) : FPalette(Palette)
{
    FPoints.reserve(512);
}

TQtChartCanvas::TPaintScope::TPaintScope(TQtChartCanvas &Canvas, QPainter &Painter) : FCanvas(Canvas)
{
    FCanvas.Begin(Painter);
}

TQtChartCanvas::TPaintScope::~TPaintScope()
{
    FCanvas.End();
}

void TQtChartCanvas::Begin(QPainter &Painter)
{
    FPainter = &Painter;
    FCurrentFont = nullptr;
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setBackgroundMode(Qt::TransparentMode);
    // One-pixel lines of a vector picture grow with it when it is enlarged.
    FVector = Painter.paintEngine() && Painter.paintEngine()->type() == QPaintEngine::SVG;
}

void TQtChartCanvas::End()
{
    FPainter = nullptr;
    FCurrentFont = nullptr;
}

QColor TQtChartCanvas::ToQColor(TColor Color) const
{
    if (IsSystemColor(Color)) {
        switch (Color) {
        case clBtnFace: return FPalette.color(QPalette::Button);
        case clBtnHighlight: return FPalette.color(QPalette::Light);
        case clBtnShadow: return FPalette.color(QPalette::Dark);
        case cl3DDkShadow: return FPalette.color(QPalette::Shadow);
        case cl3DLight: return FPalette.color(QPalette::Midlight);
        default: return FPalette.color(QPalette::Window);
        }
    }
    return QColor(ColorRed(Color), ColorGreen(Color), ColorBlue(Color));
}

QFont TQtChartCanvas::MakeFont(const TChartFont &Font)
{
    QFont f;
    f.setFamilies({QString::fromStdString(Font.Name), QStringLiteral("Liberation Sans")});
    f.setPixelSize(Font.PixelSize);
    return f;
}

const TQtChartCanvas::TFontEntry &TQtChartCanvas::Lookup(const TChartFont &Font)
{
    for (const TFontEntry &e : FFonts)
        if (e.Face.SameFace(Font))
            return e;
    QFont f = MakeFont(Font);
    FFonts.push_back({Font, f, QFontMetrics(f)});
    FCurrentFont = nullptr; // the vector may have moved
    return FFonts.back();
}

int TQtChartCanvas::TextHeight(const TChartFont &Font, const std::string &)
{
    return Lookup(Font).Metrics.height();
}

int TQtChartCanvas::TextWidth(const TChartFont &Font, const std::string &Text)
{
    return Lookup(Font).Metrics.horizontalAdvance(QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size())));
}

void TQtChartCanvas::SolidBand(int Left, int Top, int Right, int Bottom, TColor Color)
{
    if (Right > Left && Bottom > Top)
        FPainter->fillRect(Left, Top, Right - Left, Bottom - Top, ToQColor(Color));
}

void TQtChartCanvas::FillRect(const TChartRect &Rect, TColor Color)
{
    SolidBand(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom, Color);
}

void TQtChartCanvas::Line(int X1, int Y1, int X2, int Y2, const TChartPen &Pen)
{
    if (X1 == X2 && Y1 == Y2)
        return;
    const int w = Pen.Width;
    if (TAxisLine l; AxisParallel(X1, Y1, X2, Y2, w, l)) {
        if (Pen.Style != TPenStyle::psDot) {
            if (l.Vertical)
                SolidBand(l.Across, l.Lo, l.Across + w, l.Hi, Pen.Color);
            else
                SolidBand(l.Lo, l.Across, l.Hi, l.Across + w, Pen.Color);
            return;
        }
        // The gaps keep what is under them.
        if (FPixelScale != 1) { // each dot a whole pixel of the layout, as on the screen
            const QColor colour = ToQColor(Pen.Color);
            for (int p = l.Start; p >= l.Lo && p < l.Hi; p += l.Step)
                FPainter->fillRect(l.Vertical ? QRect(l.Across, p, w, 1) : QRect(p, l.Across, 1, w), colour);
            return;
        }
        FPoints.clear();
        for (int p = l.Start; p >= l.Lo && p < l.Hi; p += l.Step)
            for (int c = l.Across; c < l.Across + w; ++c)
                FPoints.push_back(l.Vertical ? QPoint(c, p) : QPoint(p, c));
        QPen pen(ToQColor(Pen.Color));
        pen.setCosmetic(true);
        pen.setWidth(1);
        FPainter->setPen(pen);
        FPainter->drawPoints(FPoints.constData(), static_cast<int>(FPoints.size()));
        return;
    }
    QPen pen(ToQColor(Pen.Color));
    pen.setWidthF(w <= 1 ? FPixelScale : w);
    pen.setCosmetic(w <= 1 && !FVector);
    pen.setCapStyle(Qt::FlatCap);
    pen.setStyle(Pen.Style == TPenStyle::psDot ? Qt::DotLine : Qt::SolidLine);
    FPainter->setPen(pen);
    FPainter->drawLine(X1, Y1, X2, Y2);
}

void TQtChartCanvas::Polyline(const TChartPoint *Points, int Count, const TChartPen &Pen)
{
    if (Count < 2)
        return;
    FPoints.resize(Count);
    for (int i = 0; i < Count; ++i)
        FPoints[i] = QPoint(Points[i].X, Points[i].Y);
    QPen pen(ToQColor(Pen.Color));
    pen.setWidthF(Pen.Width <= 1 ? FPixelScale : Pen.Width);
    pen.setCosmetic(Pen.Width <= 1 && !FVector);
    pen.setJoinStyle(Qt::MiterJoin);
    FPainter->setPen(pen);
    FPainter->drawPolyline(FPoints.constData(), Count);
}

void TQtChartCanvas::FrameRect(const TChartRect &Rect, const TChartPen &Pen)
{
    for (const TChartRect &band : FrameBands(Rect, Pen.Width))
        SolidBand(band.Left, band.Top, band.Right, band.Bottom, Pen.Color);
}

void TQtChartCanvas::DrawTextAt(const TChartFont &Font, int X, int Y, const std::string &Text, TTextAlign Align)
{
    const TFontEntry &e = Lookup(Font);
    const QString s = QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
    int x = X;
    if (Align != TTextAlign::Left) {
        const int width = e.Metrics.horizontalAdvance(s);
        x = Align == TTextAlign::Center ? X - width / 2 : X - width;
    }
    if (FCurrentFont != &e) {
        FPainter->setFont(e.Font);
        FCurrentFont = &e;
    }
    FPainter->setPen(ToQColor(Font.Color));
    FPainter->drawText(QPoint(x, Y + e.Metrics.ascent()), s);
}

void TQtChartCanvas::SetClipRect(const TChartRect &Rect)
{
    FPainter->setClipRect(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
}

void TQtChartCanvas::ResetClip()
{
    FPainter->setClipping(false);
}
