#include <gtest/gtest.h>

#include <cfloat>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "ChartDataText.h"
#include "ChartPanel.h"

// Values whose shortest text is not their exact one, the ends of the range and a denormal read
// back to the very same doubles from the CSV and from the clipboard's text with a comma, each
// written with the fewest digits that do so.
TEST(ChartDataText, EveryValueReadsBackExactly)
{
    const double values[] = {0.1, 1.0 / 3, -2.5, 1e-5, -123456.789, DBL_MAX, -DBL_MIN, 4.9406564584124654e-324, 0.0};
    const char *texts[] = {"0.1",     "0.3333333333333333",       "-2.5",   "1e-05", "-123456.789", "1.7976931348623157e+308",
                           "-2.2250738585072014e-308", "5e-324", "0"};
    TChartPanel panel;
    panel.SetTitleText({"U, \"В\""});
    TLineSeries *series = panel.AddLineSeries();
    for (double v : values)
        series->AppendValue(v);
    std::istringstream csv(ChartPointsCsv(ChartPoints(panel))), tsv(ChartPointsTsv(ChartPoints(panel), ","));
    std::string c, t;
    std::getline(csv, c), std::getline(tsv, t);
    EXPECT_EQ(c, "Отсчёт,\"U, \"\"В\"\"\"\r");
    EXPECT_EQ(t, "Отсчёт\tU, \"В\"");
    for (std::size_t i = 0; i < std::size(values); ++i) {
        ASSERT_TRUE(std::getline(csv, c) && std::getline(tsv, t));
        EXPECT_EQ(c.substr(0, c.find(',')), std::to_string(i));
        EXPECT_EQ(t.substr(0, t.find('\t')), std::to_string(i));
        ASSERT_EQ(c.back(), '\r');
        EXPECT_EQ(c.substr(c.find(',') + 1, c.size() - c.find(',') - 2), texts[i]);
        t = t.substr(t.find('\t') + 1);
        EXPECT_EQ(t.find('.'), std::string::npos) << t;
        if (t.find(',') != std::string::npos)
            t[t.find(',')] = '.';
        const double fromCsv = std::strtod(c.c_str() + c.find(',') + 1, nullptr), fromTsv = std::strtod(t.c_str(), nullptr);
        EXPECT_EQ(std::memcmp(&fromCsv, &values[i], sizeof fromCsv), 0) << c;
        EXPECT_EQ(std::memcmp(&fromTsv, &values[i], sizeof fromTsv), 0) << t;
    }
    EXPECT_FALSE(std::getline(csv, c) || std::getline(tsv, t));
}
