#include <gtest/gtest.h>

#include <cfloat>
#include <cstdlib>
#include <cstring>

#include "ChartDataText.h"
#include "ChartPanel.h"

namespace {
// Values whose shortest text is not their exact one, the ends of the range and a denormal.
const double Awkward[] = {0.1, 1.0 / 3, -2.5, 0.3, 1e-5, -123456.789, DBL_MAX, -DBL_MIN, 4.9406564584124654e-324, 0.0};

std::vector<std::string> Split(const std::string &Text, const std::string &Separator)
{
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = Text.find(Separator, from)) != std::string::npos; from = at + Separator.size())
        parts.push_back(Text.substr(from, at - from));
    parts.push_back(Text.substr(from));
    return parts;
}
} // namespace

// Each row of the CSV and of the clipboard's text reads back to the very double shown.
TEST(ChartDataText, EveryValueReadsBackExactlyUnderTheTitle)
{
    struct TRow {
        std::string Title, Header, RowEnd, Field, Decimal;
        std::string (*Text)(const TChartPoints &);
    };
    const TRow rows[] = {
        {"U, \"В\"", "Отсчёт,\"U, \"\"В\"\"\"", "\r\n", ",", ".", [](const TChartPoints &p) { return ChartPointsCsv(p); }},
        {"Полезный сигнал", "Отсчёт\tПолезный сигнал", "\n", "\t", ",",
         [](const TChartPoints &p) { return ChartPointsTsv(p, ","); }},
    };
    for (const TRow &row : rows) {
        TChartPanel panel;
        panel.Title.Text = {row.Title};
        TLineSeries *series = panel.AddLineSeries();
        for (double v : Awkward)
            series->AppendValue(v);
        const std::vector<std::string> lines = Split(row.Text(ChartPoints(panel)), row.RowEnd);
        ASSERT_EQ(lines.size(), std::size(Awkward) + 2); // header, points, nothing after the last row end
        EXPECT_EQ(lines[0], row.Header);
        EXPECT_EQ(lines[4], "3" + row.Field + "0" + row.Decimal + "29999999999999999");
        for (std::size_t i = 0; i < std::size(Awkward); ++i) {
            std::vector<std::string> fields = Split(lines[i + 1], row.Field);
            ASSERT_EQ(fields.size(), 2u) << lines[i + 1];
            EXPECT_EQ(fields[0], std::to_string(i));
            if (const std::size_t at = fields[1].find(row.Decimal); at != std::string::npos)
                fields[1][at] = '.';
            const double back = std::strtod(fields[1].c_str(), nullptr);
            EXPECT_EQ(std::memcmp(&back, &Awkward[i], sizeof back), 0) << lines[i + 1];
        }
    }
}
