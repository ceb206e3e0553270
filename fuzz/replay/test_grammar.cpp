// The fuzz targets' own judges: the grammar recognisers, and the property checks on inputs
// too long for the fuzzer's input size.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "NumberTextGrammar.h"
#include "NumberTextProperties.h"

namespace {

std::string Check(std::string (*Checker)(const uint8_t *, std::size_t), uint8_t Separator, const std::string &Text)
{
    const std::string Input = std::string(1, static_cast<char>(Separator)) + Text;
    return Checker(reinterpret_cast<const uint8_t *>(Input.data()), Input.size());
}

} // namespace

TEST(FloatGrammar, AcceptsExactlyTheNumberForms)
{
    const struct {
        const char *Text;
        const char *Separator;
        bool Valid;
        const char *Int, *Frac;
        long long Exponent;
        bool Negative;
    } Cases[] = {
        {" 0,3 ", ",", true, "0", "3", 0, false},
        {"0,", ",", true, "0", "", 0, false},
        {",", ",", true, "", "", 0, false},
        {",5", ",", true, "", "5", 0, false},
        {"1E", ",", true, "1", "", 0, false},
        {"1e-3", ",", true, "1", "", -3, false},
        {"+5", ",", true, "5", "", 0, false},
        {"-,E+", ",", true, "", "", 0, true},
        {"1E499", ",", true, "1", "", 499, false},
        {"1E4999", ",", true, "1", "", 4999, false},
        {"1E0000000000000012", ",", true, "1", "", 12, false},
        {"3\xD9\xAB" "25", "\xD9\xAB", true, "3", "25", 0, false},
        {"-", ",", false, "", "", 0, false},
        {"", ",", false, "", "", 0, false},
        {"   ", ",", false, "", "", 0, false},
        {"0.3", ",", false, "", "", 0, false},
        {"0,3", ".", false, "", "", 0, false},
        {"1 000", ",", false, "", "", 0, false},
        {"5x", ",", false, "", "", 0, false},
        {"E5", ",", false, "", "", 0, false},
        {"+-1", ",", false, "", "", 0, false},
        {"- 1", ",", false, "", "", 0, false},
        {"1E5000", ",", false, "", "", 0, false},
        {"1E--1", ",", false, "", "", 0, false},
        {"1,2,3", ",", false, "", "", 0, false},
        {"\t1", ",", false, "", "", 0, false},
        {"3\xD9", "\xD9\xAB", false, "", "", 0, false},
        {"3,25", "\xD9\xAB", false, "", "", 0, false},
    };
    for (const auto &c : Cases) {
        const TFloatSyntax S = RecogniseFloat(c.Text, c.Separator);
        EXPECT_EQ(S.Valid, c.Valid) << '\'' << c.Text << '\'';
        if (S.Valid && c.Valid) {
            EXPECT_EQ(S.IntDigits, c.Int) << c.Text;
            EXPECT_EQ(S.FracDigits, c.Frac) << c.Text;
            EXPECT_EQ(S.Exponent, c.Exponent) << c.Text;
            EXPECT_EQ(S.Negative, c.Negative) << c.Text;
        }
    }
}

TEST(IntGrammar, AcceptsExactlyTheNumberForms)
{
    const struct {
        const char *Text;
        bool Valid, Hex;
        const char *Digits;
    } Cases[] = {
        {"12", true, false, "12"},   {" 12", true, false, "12"}, {"$1F", true, true, "1F"},
        {"0x10", true, true, "10"},  {"X0", true, true, "0"},    {"-$ff", true, true, "ff"},
        {"-7", true, false, "7"},    {"0", true, false, "0"},    {"12 ", false, false, ""},
        {"+", false, false, ""},     {"1,5", false, false, ""},  {"", false, false, ""},
        {"0x", false, false, ""},    {"$", false, false, ""},    {"--1", false, false, ""},
        {"$G", false, false, ""},    {"0x$1", false, false, ""}, {"1e3", false, false, ""},
    };
    for (const auto &c : Cases) {
        const TIntSyntax S = RecogniseInt(c.Text);
        EXPECT_EQ(S.Valid, c.Valid) << '\'' << c.Text << '\'';
        if (S.Valid && c.Valid) {
            EXPECT_EQ(S.Hex, c.Hex) << c.Text;
            EXPECT_EQ(S.Digits, c.Digits) << c.Text;
        }
    }
}

// Mantissas longer than the fuzzer writes: the digits read as one integer overflow the
// extended range from 4934 digits on, whatever the exponent; up to 4932 digits they fit.
TEST(ParseFloatProperties, HoldForVeryLongMantissas)
{
    EXPECT_EQ(Check(CheckParseFloat, 0, "1" + std::string(4933, '0') + "E-4999"), "");
    EXPECT_EQ(Check(CheckParseFloat, 0, std::string(4932, '9') + "E-4900"), "");
    EXPECT_EQ(Check(CheckParseFloat, 0, "0," + std::string(6000, '0') + "1"), "");
    EXPECT_EQ(Check(CheckParseFloat, 1, std::string(3000, '0') + "." + std::string(3000, '7')), "");
}

TEST(FormatGeneralProperties, HoldForTheDisplayedFigures)
{
    for (long double x : {0.3L, 12345.678L, 9999.6L, 0.0001L, 0.00001L, 1E20L, -0.5L, 100.0L})
        for (int P : {4, 15})
            for (uint8_t Separator = 0; Separator < 4; ++Separator) {
                const std::string Input = FormatGeneralInput(x, P, P == 4 ? 4 : 0, Separator);
                EXPECT_EQ(CheckFormatGeneral(reinterpret_cast<const uint8_t *>(Input.data()), Input.size()), "");
            }
}
