// Texts whose value lies at the bottom of the extended range: the power of ten that divides
// the digits overflows on its own (10^4933 and up), though the quotient is a normal or
// subnormal number. Found by the parse_float and format_general fuzz targets.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "DecimalSeparatorScope.h"
#include "NumberText.h"

namespace {

using Limits = std::numeric_limits<long double>;

class ParseTinyValues : public ::testing::TestWithParam<const char *> {
protected:
    TDecimalSeparatorScope Separator{GetParam()};
    static std::string Local(std::string Text) { return WithDecimalSeparator(std::move(Text)); }
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Separators, ParseTinyValues, ::testing::Values(",", ".", "\xD9\xAB"),
                         [](const auto &Info) { return std::string(Info.index == 0 ? "Comma" : Info.index == 1 ? "Point" : "ArabicSeparator"); });

TEST_P(ParseTinyValues, NormalValuesReadWithinAFewUnitsOfTheLastPlace)
{
    const struct {
        std::string Text;
        const char *Normal; // the same number for the C library
    } Cases[] = {
        {"12345E-4935", "12345e-4935"},
        {"30E-4933", "30e-4933"},
        {"3,36210314311209E-4932", "3.36210314311209e-4932"}, // FormatGeneral(smallest normal, 15, 0)
        {"441,1897314953572317676502E-4932", "441.1897314953572317676502e-4932"},
        {"1" + std::string(4000, '0') + "E-4999", "1e-999"},
    };
    for (const auto &c : Cases) {
        const long double Expected = std::strtold(c.Normal, nullptr);
        const long double Got = ParseFloatText(Local(c.Text));
        EXPECT_LE(std::fabs(Got / Expected - 1), 1E-18L)
            << c.Text.substr(0, 40) << " read as " << static_cast<double>(Got) << ", expected " << c.Normal;
    }
}

TEST_P(ParseTinyValues, SubnormalValuesAreNotFlushedToZero)
{
    const struct {
        const char *Text, *Normal;
    } Cases[] = {{"1E-4940", "1e-4940"}, {"6E-4950", "6e-4950"}, {"3,645E-4951", "3.645e-4951"}, {"-2,5E-4945", "-2.5e-4945"}};
    for (const auto &c : Cases) {
        const long double Expected = std::strtold(c.Normal, nullptr);
        const long double Got = ParseFloatText(Local(c.Text));
        EXPECT_LE(std::fabs(Got - Expected), 2 * Limits::denorm_min() + 1E-18L * std::fabs(Expected))
            << c.Text << " read as " << static_cast<double>(Got) << ", expected " << c.Normal;
    }
}

TEST_P(ParseTinyValues, TheSmallestExtendedValuesSurviveARoundTrip)
{
    for (long double x : {Limits::min(), 2 * Limits::min(), 1E-4935L, 5E-4940L}) {
        const std::string Text = FormatGeneral(x, 18, 0);
        EXPECT_LE(std::fabs(ParseFloatText(Text) - x), 2 * Limits::denorm_min() + 1E-17L * x) << Text;
    }
}
