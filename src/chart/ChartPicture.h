#pragma once
// Pictures of a chart for other programs, drawn by the chart's own paint so that labels,
// ticks, grid and colours are those of the screen.

#include <QByteArray>
#include <QImage>

class TChart;

// The chart at Factor times its device pixels (the screen's pixel ratio included): the same
// layout, every pixel of the screen a Factor x Factor block, texts drawn at that resolution.
QImage ChartImage(TChart &Chart, int Factor);

// The chart as an SVG document of its size in logical pixels: lines and rectangles as vectors,
// texts as text.
QByteArray ChartSvg(TChart &Chart);
