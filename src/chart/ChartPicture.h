#pragma once
// Pictures of a chart for other programs, drawn by the chart's own paint so that labels,
// ticks, grid and colours are those of the screen, at the size of the window's layout however
// far the window is shrunk.

#include <QByteArray>
#include <QImage>

class TChart;

// The chart at Factor times its layout's pixels: every pixel of the layout a Factor x Factor
// block, texts drawn at that resolution; stated to be of the layout's size on a 96 dpi screen.
QImage ChartImage(TChart &Chart, int Factor);

// The chart as an SVG document of its layout's size in pixels at 96 dpi: lines and rectangles
// as vectors, texts as text.
QByteArray ChartSvg(TChart &Chart);
