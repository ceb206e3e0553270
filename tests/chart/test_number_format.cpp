#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ChartNumberFormat.h"

namespace {
struct TCase {
    double Value;
    const char *Text;
};

class ChartNumberFormat : public testing::Test {
protected:
    void TearDown() override { SetChartNumberSeparators(".", ","); }
};

TEST_F(ChartNumberFormat, FormatsWithThreeDecimalsAndGrouping)
{
    const TCase cases[] = {
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
        {-0.0004, "0"},             // no "-0"
        {-1e-13, "0"},
        {281474976710656.0625, "281,474,976,710,656.063"}, // ties at 2^48 .. 2^49 too
        {562949953421312.125, "562,949,953,421,312.125"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatAxisValue(c.Value), c.Text) << c.Value;
}

TEST_F(ChartNumberFormat, NonFiniteValues)
{
    EXPECT_EQ(FormatAxisValue(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FormatAxisValue(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(FormatAxisValue(std::nan("")), "NAN");
}

TEST_F(ChartNumberFormat, UsesTheSeparatorsInForce)
{
    EXPECT_EQ(ChartDecimalSeparator(), ".");
    EXPECT_EQ(ChartThousandSeparator(), ",");
    SetChartNumberSeparators(",", "\u00A0");
    EXPECT_EQ(FormatAxisValue(-1234.5), "-1\u00A0234,5");
    EXPECT_EQ(FormatAxisValue(0.25), "0,25");
    SetChartNumberSeparators(",", ".");
    EXPECT_EQ(FormatAxisValue(1234567.125), "1.234.567,125");
}

// A separator is taken when it is exactly one well-formed UTF-8 character; anything else
// gives "." and ",".
TEST_F(ChartNumberFormat, SeparatorsMustBeOneCharacter)
{
    const struct {
        const char *Text;
        bool OneCharacter;
    } cases[] = {
        {"", false},
        {".", true},
        {",", true},
        {"'", true},
        {"ab", false},
        {"\u00E9", true},            // é, 2 bytes
        {"\u00A0", true},            // no-break space, 2 bytes
        {"\u20AC", true},            // €, 3 bytes
        {"\U0001D11E", true},        // musical G clef, 4 bytes
        {"\xF4\x8F\xBF\xBF", true},  // U+10FFFF, the last code point
        {"\x80", false},              // a lone continuation byte
        {"\xC3", false},              // 2-byte sequence cut short
        {"\xE2\x82", false},          // 3-byte sequence cut short
        {"\xF0\x9D\x84", false},      // 4-byte sequence cut short
        {"\xC3\x41", false},          // lead byte followed by no continuation byte
        {"\u00E9.", false},           // two characters
        {"\xC0\xAE", false},          // overlong "."
        {"\xE0\x80\xAE", false},      // overlong "."
        {"\xF0\x80\x80\xAE", false},  // overlong "."
        {"\xED\xA0\x80", false},      // a surrogate
        {"\xF4\x90\x80\x80", false},  // above U+10FFFF
        {"\xF8\x88\x80\x80", false},  // no such lead byte
        {"\xFF", false},
    };
    for (const auto &c : cases) {
        SetChartNumberSeparators(c.Text, c.Text);
        EXPECT_EQ(ChartDecimalSeparator(), c.OneCharacter ? c.Text : ".") << testing::PrintToString(c.Text);
        EXPECT_EQ(ChartThousandSeparator(), c.OneCharacter ? c.Text : ",") << testing::PrintToString(c.Text);
    }
    SetChartNumberSeparators("ab", "\xC2");
    EXPECT_EQ(FormatAxisValue(1000.5), "1,000.5");
}
} // namespace
