#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "ChartDataText.h"
#include "ChartPanel.h"

namespace {
// Values whose shortest text is not their exact one, the ends of the range and a denormal.
const double Awkward[] = {0.1, 1.0 / 3, -2.5, 0.3, 1e-5, -123456.789, DBL_MAX, -DBL_MIN, 4.9406564584124654e-324, 0.0};

struct TPanelWithPoints {
    TChartPanel Panel;
    TPanelWithPoints(const std::string &Title)
    {
        Panel.Title.Text = {Title};
        TLineSeries *series = Panel.AddLineSeries();
        for (double v : Awkward)
            series->AppendValue(v);
    }
};

std::vector<std::string> Split(const std::string &Text, const std::string &Separator)
{
    std::vector<std::string> parts;
    std::size_t from = 0, at;
    while ((at = Text.find(Separator, from)) != std::string::npos) {
        parts.push_back(Text.substr(from, at - from));
        from = at + Separator.size();
    }
    parts.push_back(Text.substr(from));
    return parts;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
} // namespace

TEST(ChartDataText, CsvReadsBackToTheSameDoublesUnderItsTitle)
{
    TPanelWithPoints p("Сигнал + Шум на выходе фильтра");
    const std::vector<std::string> rows = Split(ChartPointsCsv(ChartPoints(p.Panel)), "\r\n");
    ASSERT_EQ(rows.size(), std::size(Awkward) + 2); // header, points, the empty rest after the last CRLF
    EXPECT_EQ(rows[0], "Отсчёт,Сигнал + Шум на выходе фильтра");
    EXPECT_EQ(rows.back(), "");
    for (std::size_t i = 0; i < std::size(Awkward); ++i) {
        const std::vector<std::string> fields = Split(rows[i + 1], ",");
        ASSERT_EQ(fields.size(), 2u) << rows[i + 1];
        EXPECT_EQ(fields[0], std::to_string(i));
        EXPECT_TRUE(SameBits(std::strtod(fields[1].c_str(), nullptr), Awkward[i])) << fields[1];
    }
    EXPECT_EQ(rows[4], "3,0.29999999999999999");
}

TEST(ChartDataText, CsvQuotesATitleWithCommasOrQuotes)
{
    TPanelWithPoints p("U, \"В\"");
    EXPECT_EQ(Split(ChartPointsCsv(ChartPoints(p.Panel)), "\r\n")[0], "Отсчёт,\"U, \"\"В\"\"\"");
}

TEST(ChartDataText, TabSeparatedTextUsesTheRegionalSeparator)
{
    TPanelWithPoints p("Полезный сигнал");
    const std::vector<std::string> rows = Split(ChartPointsTsv(ChartPoints(p.Panel), ","), "\n");
    EXPECT_EQ(rows[0], "Отсчёт\tПолезный сигнал");
    EXPECT_EQ(rows[1], "0\t0,10000000000000001");
    EXPECT_EQ(rows[5], "4\t1,0000000000000001e-05");
    for (std::size_t i = 0; i < std::size(Awkward); ++i) {
        std::string value = Split(rows[i + 1], "\t")[1];
        ASSERT_EQ(value.find('.'), std::string::npos) << value;
        if (const std::size_t comma = value.find(','); comma != std::string::npos)
            value[comma] = '.';
        EXPECT_TRUE(SameBits(std::strtod(value.c_str(), nullptr), Awkward[i])) << value;
    }
}
