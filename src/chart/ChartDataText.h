#pragma once
// The points a chart shows, as text for other programs: CSV for files and tab-separated text
// for the clipboard. Every value carries the fewest digits that read back to the same double.

#include <string>
#include <vector>

class TChartPanel;

struct TChartPoints {
    std::string Title; // the chart's title, its lines joined by spaces
    std::vector<double> X;
    std::vector<double> Y;
};

// The points of the panel's series as they stand, in index order.
TChartPoints ChartPoints(const TChartPanel &Panel);

// The shortest text that reads back to Value, a point as decimal separator, an exponent only
// where it makes the text shorter ("0.3", "255", "-1e-05"); "inf", "-inf", "nan".
std::string ExactNumberText(double Value);

// RFC 4180: a header row (the index column, then the chart's title), then one row per point;
// comma between fields, CRLF after every row, fields quoted where they must be.
std::string ChartPointsCsv(const TChartPoints &Points);

// The same rows with tabs between the fields, LF after every row and the given decimal
// separator, the way a spreadsheet of that locale reads numbers from a paste.
std::string ChartPointsTsv(const TChartPoints &Points, const std::string &DecimalSeparator);

// The caption of the index column.
inline constexpr const char *ChartIndexCaption = "Отсчёт";
