#pragma once
// The chart's canvas on a QPainter: pixel-exact lines without antialiasing, text in pixel
// sized fonts, system colours from the widget's palette.

#include <QFont>
#include <QFontMetrics>
#include <QPalette>
#include <QPoint>
#include <QVector>

#include <vector>

#include "ChartCanvas.h"

class QPainter;

class TQtChartCanvas : public TChartCanvas {
public:
    explicit TQtChartCanvas(const QPalette &Palette = QPalette());

    // Drawing goes to the painter while a scope lives, and ends with it however the scope is
    // left; measuring works without one. The painter stays the caller's.
    class TPaintScope {
    public:
        TPaintScope(TQtChartCanvas &Canvas, QPainter &Painter);
        ~TPaintScope();
        TPaintScope(const TPaintScope &) = delete;
        TPaintScope &operator=(const TPaintScope &) = delete;

    private:
        TQtChartCanvas &FCanvas;
    };
    bool Drawing() const { return FPainter != nullptr; }

    void SetPalette(const QPalette &Palette) { FPalette = Palette; }
    // Device pixels per pixel of the layout in a picture drawn larger than the screen: the
    // one-pixel lines and dots grow with it, so the picture is the screen enlarged.
    void SetPixelScale(qreal Scale) { FPixelScale = Scale; }

    QColor ToQColor(TColor Color) const;
    // The family asked for first, then the metric-compatible "Liberation Sans".
    static QFont MakeFont(const TChartFont &Font);

    int TextHeight(const TChartFont &Font, const std::string &Text) override;
    int TextWidth(const TChartFont &Font, const std::string &Text) override;
    void FillRect(const TChartRect &Rect, TColor Color) override;
    void Line(int X1, int Y1, int X2, int Y2, const TChartPen &Pen) override;
    void Polyline(const TChartPoint *Points, int Count, const TChartPen &Pen) override;
    void FrameRect(const TChartRect &Rect, const TChartPen &Pen) override;
    void DrawTextAt(const TChartFont &Font, int X, int Y, const std::string &Text, TTextAlign Align) override;
    void SetClipRect(const TChartRect &Rect) override;
    void ResetClip() override;

private:
    struct TFontEntry {
        TChartFont Face;
        QFont Font;
        QFontMetrics Metrics;
    };
    void Begin(QPainter &Painter);
    void End();
    const TFontEntry &Lookup(const TChartFont &Font);
    void SolidBand(int Left, int Top, int Right, int Bottom, TColor Color);

    QPainter *FPainter = nullptr;
    qreal FPixelScale = 1;
    bool FVector = false;
    QPalette FPalette;
    std::vector<TFontEntry> FFonts;
    const TFontEntry *FCurrentFont = nullptr;
    QVector<QPoint> FPoints;
};
