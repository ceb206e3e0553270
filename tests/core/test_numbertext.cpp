// Number texts: the general format, the float and integer parsers, the separator in force.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "DecimalSeparatorScope.h"
#include "Errors.h"
#include "NumberText.h"

namespace {

constexpr long double Inf = std::numeric_limits<long double>::infinity();

// The rows are written with a comma; a row without one reads the same with any separator.
std::string Local(std::string Text) { return WithDecimalSeparator(std::move(Text)); }
bool HasSeparator(const char *Text) { return std::string(Text).find(',') != std::string::npos; }

std::string FloatMessage(const std::string &Text) { return "'" + Text + "' is not a valid floating point value"; }
std::string IntMessage(const std::string &Text) { return "'" + Text + "' is not a valid integer value"; }

template <class F>
std::string ConvertMessage(F f)
{
    try {
        f();
    } catch (const EConvertError &e) {
        return e.Message();
    }
    return "no error";
}

const struct {
    long double Value;
    int P, W;
    const char *Text;
} FormatRows[] = {
    // The figures: four digits, four exponent digits.
    {0, 4, 4, "0"},           {0.3, 4, 4, "0,3"},           {2, 4, 4, "2"},
    {0.5, 4, 4, "0,5"},       {1.0L / 3, 4, 4, "0,3333"},   {12.3456, 4, 4, "12,35"},
    {16.666666, 4, 4, "16,67"}, {1234.4, 4, 4, "1234"},     {1500.25, 4, 4, "1500"},
    {9999.6, 4, 4, "1E0004"}, {12345.678, 4, 4, "1,235E0004"}, {123456789, 4, 4, "1,235E0008"},
    {0.0001, 4, 4, "0,0001"}, {0.0000999, 4, 4, "9,99E-0005"}, {0.00001, 4, 4, "1E-0005"},
    {Inf, 4, 4, "INF"},       {-Inf, 4, 4, "-INF"},         {std::nanl(""), 4, 4, "NAN"},
    {-0.0L, 4, 4, "0"},       {-2.5, 4, 4, "-2,5"},         {-12345.678, 4, 4, "-1,235E0004"},
    {9999.4, 4, 4, "9999"},   {0.000999999, 4, 4, "0,001"},  {0.0000999999, 4, 4, "0,0001"},
    // The noise text: fifteen digits, no exponent padding.
    {0.00001, 15, 0, "1E-5"},       {1E20, 15, 0, "1E20"},      {-0.5, 15, 0, "-0,5"},
    {12345.678, 15, 0, "12345,678"}, {100, 15, 0, "100"},       {0.3L, 15, 0, "0,3"},
    {1.0L / 3, 15, 0, "0,333333333333333"}, {2.0L / 3, 15, 0, "0,666666666666667"},
    {123456789012345.0, 15, 0, "123456789012345"}, {1234567890123456.0, 15, 0, "1,23456789012346E15"},
    {1E-300, 15, 0, "1E-300"},      {-1E-4000L, 15, 0, "-1E-4000"}, {1E4000L, 15, 0, "1E4000"},
    // Precision and exponent width at their bounds.
    {1.0L / 3, 1, 0, "0,33"},                   // P below 2 counts as 2
    {1.0L / 3, 30, 0, "0,333333333333333333"},  // above 18 as 18
    {1.0L / 3, 18, 0, "0,333333333333333333"},
    {12345.678, 4, 5, "1,235E4"},               // W above 4 counts as 0
    {12345.678, 4, 2, "1,235E04"},
    {12345.678, 4, -3, "1,235E4"},
    {1E-300, 4, 2, "1E-300"},
    {99.99, 2, 0, "1E2"},                       // carry past the precision
    {99.5, 2, 0, "1E2"},
    {95, 2, 0, "95"},
    {0.5L, 18, 0, "0,5"},
    // 0.1 as a 64-bit float, widened exactly: its 18 digits end in ...555.
    {0.1, 18, 0, "0,100000000000000006"},
    {0.1, 17, 0, "0,10000000000000001"},
    {0.1L, 18, 0, "0,1"},
};

const struct {
    const char *Text;
    long double Value;
} ParseRows[] = {
    {" 0,3 ", 3.0L / 10}, {"0,", 0}, {",", 0}, {",5", 0.5}, {"1E", 1}, {"1e-3", 1.0L / 1000},
    {"+5", 5}, {"-0,25", -0.25}, {"0,3", 3.0L / 10}, {"12345,678", 12345678.0L / 1000},
    {"1E+2", 100}, {"2,5e1", 25}, {"1e-", 1}, {"-,5", -0.5}, {"007", 7},
    {"0E4999", 0}, {"1E-4999", 0}, {"1,5E-1", 15.0L / 100},
};

const char *const RejectedFloats[] = {"-", "+", "", " ", "1 000", "5x", "E5", "1E5,", "--1", "1e5000", "1E-5000",
                                      "1E4933", "0,3,", "1E1000 0", "\t1", "1\t", "1,5 x"};

void CheckFloatRows(bool OnlyWithSeparator)
{
    for (const auto &c : FormatRows) {
        if (!OnlyWithSeparator || HasSeparator(c.Text)) {
            EXPECT_EQ(FormatGeneral(c.Value, c.P, c.W), Local(c.Text)) << static_cast<double>(c.Value) << " " << c.P;
        }
    }
    for (const auto &c : ParseRows) {
        if (!OnlyWithSeparator || HasSeparator(c.Text)) {
            EXPECT_EQ(ParseFloatText(Local(c.Text)), c.Value) << c.Text;
        }
    }
    for (const char *Text : RejectedFloats)
        if (!OnlyWithSeparator || HasSeparator(Text)) {
            const std::string t = Local(Text);
            EXPECT_EQ(ConvertMessage([&] { ParseFloatText(t); }), FloatMessage(t)) << Text;
        }
}

} // namespace

TEST(NumberText, FormatAndParseWithAComma)
{
    const TDecimalSeparatorScope Comma(",");
    CheckFloatRows(false);
    EXPECT_TRUE(std::signbit(ParseFloatText("-0")));
    EXPECT_NEAR(ParseFloatText("1E4931") / 1E4931L, 1.0L, 1e-18L); // the largest powers come from pow
    EXPECT_EQ(ConvertMessage([] { ParseFloatText("0.3"); }), FloatMessage("0.3"));
    EXPECT_EQ(ConvertMessage([] { ParseFloatText(""); }), "'' is not a valid floating point value");
    // A pasted text may carry a NUL: the message still quotes all of it.
    const std::string WithNul("1\0x", 3);
    EXPECT_EQ(ConvertMessage([&] { ParseFloatText(WithNul); }), FloatMessage(WithNul));
    EXPECT_EQ(ConvertMessage([&] { ParseIntText(WithNul); }), IntMessage(WithNul));
}

// Only the rows that carry a separator depend on it: those again with other characters,
// of two, three and four bytes among them.
TEST(NumberText, RowsWithASeparatorFollowTheOneInForce)
{
    for (const char *Separator : {".", "\xC2\xB7", "\xD9\xAB", "\xF0\x9F\x98\x80"}) {
        const TDecimalSeparatorScope Scope(Separator);
        CheckFloatRows(true);
    }
}

TEST(NumberText, ParseInteger)
{
    const struct {
        const char *Text;
        int32_t Value;
    } Accepted[] = {
        {"12", 12}, {" 12", 12}, {"$1F", 31}, {"0x10", 16}, {"-7", -7}, {"-2147483648", INT32_MIN},
        {"$FFFFFFFF", -1}, {"2147483647", INT32_MAX}, {"+0", 0}, {"x1f", 31}, {"X0A", 10},
        {"0X7fffffff", INT32_MAX}, {"-$1", -1}, {"-$FFFFFFFF", 1}, {"$000000000001", 1},
        {"000123", 123}, {"-$80000000", INT32_MIN},
    };
    for (const auto &c : Accepted)
        EXPECT_EQ(ParseIntText(c.Text), c.Value) << c.Text;
    for (const char *Text : {"12 ", "2147483648", "+", "1,5", "1.5", "", "-2147483649", "$", "0x", "$100000000",
                             "--1", "+-1", "- 1", "1e3", "99999999999999999999", "$G", "12a"})
        EXPECT_EQ(ConvertMessage([&] { ParseIntText(Text); }), IntMessage(Text)) << Text;
}

TEST(NumberText, NoiseSpinnerRoundTrip)
{
    const TDecimalSeparatorScope Comma(",");
    for (int p = 0; p <= 100; ++p) {
        const std::string Text = FormatGeneral(static_cast<long double>(p) / 10, 15, 0);
        const long double Back = ParseFloatText(Text) * 10;
        EXPECT_EQ(static_cast<int64_t>(Back), p) << Text;
    }
    EXPECT_EQ(FormatGeneral(3.0L / 10, 15, 0), "0,3");
    EXPECT_EQ(FormatGeneral(100.0L / 10, 15, 0), "10");
}

TEST(NumberTextFormat, PointSeparatorGivesPoint)
{
    const TDecimalSeparatorScope Point(".");
    EXPECT_EQ(FormatGeneral(0.3, 4, 4), "0.3");
    EXPECT_THROW(ParseFloatText("0,3"), EConvertError);
}

TEST(NumberTextFormat, ShortensAsTheEighteenDigitsSay)
{
    // Against the C library's correctly rounded 18 digits, then half up at P.
    const TDecimalSeparatorScope Point(".");
    for (int n = 0; n < 20000; ++n) {
        const long double x = std::ldexp(static_cast<long double>(n * 2654435761u % 1000003u) + 0.5L, n % 120 - 60);
        char Digits[40];
        std::snprintf(Digits, sizeof Digits, "%.17Le", x);
        const std::string d = std::string(1, Digits[0]) + std::string(Digits + 2, 17);
        const int E = std::atoi(Digits + 20) + 1;
        // P = 18 keeps every digit: drop trailing zeros and compare the scientific form.
        std::string Expected = d;
        while (Expected.size() > 1 && Expected.back() == '0')
            Expected.pop_back();
        const std::string Got = FormatGeneral(x, 18, 0);
        if (E > 18 || E < -3) {
            std::string Sci = Expected.substr(0, 1) + (Expected.size() > 1 ? "." + Expected.substr(1) : "") + "E" + std::to_string(E - 1);
            ASSERT_EQ(Got, Sci) << Digits;
        } else {
            std::string Plain = Got;
            Plain.erase(std::remove(Plain.begin(), Plain.end(), '.'), Plain.end());
            while (Plain.size() > 1 && Plain[0] == '0')
                Plain.erase(0, 1);
            ASSERT_EQ(Plain.substr(0, Expected.size()), Expected) << Digits << " " << Got;
        }
    }
}
