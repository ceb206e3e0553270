#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "ChartNumberFormat.h"

namespace {
constexpr double Inf = std::numeric_limits<double>::infinity();

// Written with "." and ","; the rows with a separator are checked with others too.
const struct {
    double Value;
    const char *Text;
} Cases[] = {
    {0, "0"},
    {1, "1"},
    {-1, "-1"},
    {2.5, "2.5"},
    {-2.0, "-2"},
    {0.1, "0.1"},
    {0.8 - 8 * 0.1, "0"},
    {12.3, "12.3"},
    {240, "240"},
    {999, "999"},
    {1000, "1,000"},
    {-1000, "-1,000"},
    {1234.5678, "1,234.568"},
    {1234567, "1,234,567"},
    {123456.0001, "123,456"},
    {1e15, "1,000,000,000,000,000"},
    {1.7976931348623157e308, "179,769,313,486,231,570,814,527,423,731,704,356,798,070,567,525,844,996,598,917,476,803,"
                             "157,260,780,028,538,760,589,558,632,766,878,171,540,458,953,514,382,464,234,321,326,889,"
                             "464,182,768,467,546,703,537,516,986,049,910,576,551,282,076,245,490,090,389,328,944,075,"
                             "868,508,455,133,942,304,583,236,903,222,948,165,808,559,332,123,348,274,797,826,204,144,"
                             "723,168,738,177,180,919,299,881,250,404,026,184,124,858,368"},
    {0.0004999, "0"},
    {0.9995, "1"},       // stored just above the half
    {1.0005, "1"},       // stored just below the half
    {2.0005, "2.001"},   // stored just above the half
    {999.9996, "1,000"}, // the carry reaches the grouping
    {0.0625, "0.063"},   // an exact half goes away from zero
    {-0.0625, "-0.063"},
    {0.1875, "0.188"},
    {2.00048828125, "2"},  // exact in binary, below the half
    {9.99951171875, "10"}, // exact in binary, above the half
    {-0.0004, "0"},        // no "-0"
    {-1e-13, "0"},
    {281474976710656.0625, "281,474,976,710,656.063"}, // ties at 2^48 .. 2^49 too
    {562949953421312.125, "562,949,953,421,312.125"},
    {Inf, "INF"},
    {-Inf, "-INF"},
    {std::nan(""), "NAN"},
};

std::string WithSeparators(const std::string &Text, const std::string &Decimal, const std::string &Thousands)
{
    std::string out;
    for (char c : Text)
        out += c == '.' ? Decimal : c == ',' ? Thousands : std::string(1, c);
    return out;
}

TEST(ChartNumberFormat, ThreeDecimalsGroupedWithTheSeparatorsGiven)
{
    const struct {
        const char *Decimal, *Thousands;
    } separators[] = {{".", ","}, {",", "\u00A0"}, {",", "."}, {"\u066B", "\u066C"}};
    for (const auto &s : separators)
        for (const auto &c : Cases)
            EXPECT_EQ(FormatAxisValue(c.Value, s.Decimal, s.Thousands), WithSeparators(c.Text, s.Decimal, s.Thousands))
                << c.Value << " " << s.Decimal;
}

// The C library's numeric locale takes no part: a comma there changes nothing.
TEST(ChartNumberFormat, TheCLibrarysLocaleTakesNoPart)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    const char *comma = nullptr;
    for (const char *name : {"de_DE.UTF-8", "ru_RU.UTF-8", "fr_FR.UTF-8", "de_DE.utf8", "ru_RU.utf8"})
        if ((comma = std::setlocale(LC_NUMERIC, name)))
            break;
    ASSERT_NE(comma, nullptr) << "no locale with a decimal comma: the build makes de_DE.UTF-8 under LOCPATH";
    EXPECT_EQ(FormatAxisValue(1234.5, ".", ","), "1,234.5");
    EXPECT_EQ(FormatAxisValue(0.0625, ".", ","), "0.063");
    std::setlocale(LC_NUMERIC, saved.c_str());
}
} // namespace
