#pragma once
// Plain value types shared by the chart's arithmetic and its canvas: colours, pens, fonts,
// points and rectangles. Nothing here knows of a window system.

#include <cstdint>
#include <string>

// Colours are 0x00BBGGRR. Values with the top byte 0x80 name a system colour (the index in
// the low byte), resolved by the canvas from the desktop's palette.
using TColor = uint32_t;

constexpr TColor clBlack = 0x00000000;
constexpr TColor clRed = 0x000000FF;
constexpr TColor clBlue = 0x00FF0000;
constexpr TColor clGray = 0x00808080;
// On a point: "use the series colour".
constexpr TColor clDefault = 0x20000000;

constexpr TColor clSystemColor = 0x80000000;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;

constexpr bool IsSystemColor(TColor c) { return (c & 0xFF000000u) == clSystemColor; }
constexpr int ColorRed(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int ColorGreen(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int ColorBlue(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }

enum class TPenStyle { psSolid, psDot };

struct TChartPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
};

// Sizes are in pixels so that the layout does not follow the screen's reported resolution.
struct TChartFont {
    std::string Name = "Arial";
    int PixelSize = 11;
    TColor Color = clBlack;

    bool SameFace(const TChartFont &o) const { return Name == o.Name && PixelSize == o.PixelSize; }
};

struct TChartPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TChartPoint &) const = default;
};

// Right and bottom are exclusive, as for the window system's rectangles.
struct TChartRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TChartRect &) const = default;
};

enum class TTextAlign { Left, Center, Right };
