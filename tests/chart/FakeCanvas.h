#pragma once
// A canvas with invented font metrics that records what is drawn, so the layout and the
// drawing can be checked without a window system. Every text line is 14 pixels high; widths
// per character: '2' 7, other digits 6, '-' 4, ' ' 2, '.' and ',' 3, anything else 7 (so
// "255" is 19 wide and "-2" plus a space 13).

#include <string>
#include <vector>

#include "ChartCanvas.h"

struct TDrawnText {
    int X, Y;
    std::string Text;
    TTextAlign Align;
    TColor Color;
};

struct TDrawnLine {
    int X1, Y1, X2, Y2;
    TChartPen Pen;
};

class TFakeCanvas : public TChartCanvas {
public:
    int LineHeight = 14;

    std::vector<TDrawnText> Texts;
    std::vector<TDrawnLine> Lines;
    std::vector<std::vector<TChartPoint>> Polylines;
    std::vector<TChartPen> PolylinePens;
    std::vector<TChartRect> Frames;
    std::vector<TChartRect> Clips;
    int ClipResets = 0;
    bool ClipActiveDuringPolyline = true;

    void Clear()
    {
        Texts.clear();
        Lines.clear();
        Polylines.clear();
        PolylinePens.clear();
        Frames.clear();
        Clips.clear();
        ClipResets = 0;
        FClipped = false;
        ClipActiveDuringPolyline = true;
    }

    int TextHeight(const TChartFont &, const std::string &) override { return LineHeight; }
    int TextWidth(const TChartFont &, const std::string &Text) override
    {
        int w = 0;
        for (unsigned char c : Text) {
            if ((c & 0xC0) == 0x80)
                continue; // continuation byte of a UTF-8 character
            w += c == '2' ? 7 : (c >= '0' && c <= '9') ? 6 : c == '-' ? 4 : c == ' ' ? 2 : (c == '.' || c == ',') ? 3 : 7;
        }
        return w;
    }
    void FillRect(const TChartRect &, TColor) override {}
    void Line(int X1, int Y1, int X2, int Y2, const TChartPen &Pen) override { Lines.push_back({X1, Y1, X2, Y2, Pen}); }
    void Polyline(const TChartPoint *Points, int Count, const TChartPen &Pen) override
    {
        Polylines.emplace_back(Points, Points + Count);
        PolylinePens.push_back(Pen);
        ClipActiveDuringPolyline = ClipActiveDuringPolyline && FClipped;
    }
    void FrameRect(const TChartRect &Rect, const TChartPen &) override { Frames.push_back(Rect); }
    void DrawTextAt(const TChartFont &Font, int X, int Y, const std::string &Text, TTextAlign Align) override
    {
        Texts.push_back({X, Y, Text, Align, Font.Color});
    }
    void SetClipRect(const TChartRect &Rect) override
    {
        Clips.push_back(Rect);
        FClipped = true;
    }
    void ResetClip() override
    {
        ++ClipResets;
        FClipped = false;
    }

    std::vector<std::string> TextsIn(TTextAlign Align) const
    {
        std::vector<std::string> out;
        for (const auto &t : Texts)
            if (t.Align == Align)
                out.push_back(t.Text);
        return out;
    }
    std::vector<TDrawnLine> LinesWith(TColor Color, TPenStyle Style, int Width = 1) const
    {
        std::vector<TDrawnLine> out;
        for (const auto &l : Lines)
            if (l.Pen.Color == Color && l.Pen.Style == Style && l.Pen.Width == Width)
                out.push_back(l);
        return out;
    }

private:
    bool FClipped = false;
};
