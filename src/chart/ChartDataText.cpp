#include "ChartDataText.h"

#include <charconv>
#include <cmath>

#include "ChartPanel.h"

TChartPoints ChartPoints(const TChartPanel &Panel)
{
    TChartPoints points;
    for (const std::string &line : Panel.TitleLines())
        points.Title += (points.Title.empty() ? "" : " ") + line;
    for (int s = 0; s < Panel.SeriesCount(); ++s) {
        const TChartSeries &series = Panel.Series(s);
        for (int i = 0; i < series.Count(); ++i) {
            points.X.push_back(series.XValues().Value(i));
            points.Y.push_back(series.YValues().Value(i));
        }
    }
    return points;
}

std::string ExactNumberText(double Value)
{
    if (std::isnan(Value))
        return "nan";
    if (std::isinf(Value))
        return Value < 0 ? "-inf" : "inf";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, Value);
    return std::string(buffer, result.ptr);
}

namespace {
std::string CsvField(const std::string &Text)
{
    if (Text.find_first_of(",\"\r\n") == std::string::npos)
        return Text;
    std::string quoted = "\"";
    for (char c : Text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

// A tab or a line break in the title would start a new cell or row of the paste.
std::string TsvField(std::string Text)
{
    for (char &c : Text)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return Text;
}

std::string WithSeparator(std::string Text, const std::string &DecimalSeparator)
{
    const std::size_t point = Text.find('.');
    return point == std::string::npos ? Text : Text.replace(point, 1, DecimalSeparator);
}
} // namespace

std::string ChartPointsCsv(const TChartPoints &Points)
{
    std::string text = CsvField(ChartIndexCaption) + ',' + CsvField(Points.Title) + "\r\n";
    for (std::size_t i = 0; i < Points.X.size(); ++i)
        text += ExactNumberText(Points.X[i]) + ',' + ExactNumberText(Points.Y[i]) + "\r\n";
    return text;
}

std::string ChartPointsTsv(const TChartPoints &Points, const std::string &DecimalSeparator)
{
    std::string text = TsvField(ChartIndexCaption) + '\t' + TsvField(Points.Title) + '\n';
    for (std::size_t i = 0; i < Points.X.size(); ++i)
        text += WithSeparator(ExactNumberText(Points.X[i]), DecimalSeparator) + '\t' +
                WithSeparator(ExactNumberText(Points.Y[i]), DecimalSeparator) + '\n';
    return text;
}
