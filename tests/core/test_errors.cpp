// Error classes and the message box text, the fault helpers.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "Errors.h"
#include "FloatFaults.h"

TEST(Errors, MessageBoxTextAppendsAFullStopAfterCharactersAboveThePoint)
{
    const struct {
        const char *Message, *Text;
    } Cases[] = {
        {"Floating point overflow", "Floating point overflow."},
        {"'abc' is not a valid floating point value", "'abc' is not a valid floating point value."},
        {"ends with a point.", "ends with a point."},
        {"ends with a minus-", "ends with a minus-"},
        {"ends with a quote'", "ends with a quote'"},
        {"ends with a slash/", "ends with a slash/."},
        {"ends with a digit 7", "ends with a digit 7."},
        {"", ""},
        {"\xD0\xB0", "\xD0\xB0."}, // a Cyrillic letter
    };
    for (const auto &c : Cases)
        EXPECT_EQ(MessageBoxText(c.Message), c.Text) << c.Message;
}

TEST(FloatFaults, StoreDouble)
{
    EXPECT_EQ(StoreDouble(0.1L), 0.1);
    EXPECT_EQ(StoreDouble(1e-320L), 1e-320); // underflow is no fault
    EXPECT_EQ(StoreDouble(1e-4000L), 0.0);
    EXPECT_THROW(StoreDouble(1e309L), EOverflow);
    EXPECT_THROW(StoreDouble(-INFINITY), EOverflow);
    EXPECT_THROW(StoreDouble(NAN), EInvalidOp);
}

TEST(FloatFaults, CheckedDivideAndRounding)
{
    EXPECT_EQ(CheckedDivide(1, 4), 0.25L);
    EXPECT_THROW(CheckedDivide(1, 0), EZeroDivide);
    EXPECT_THROW(CheckedDivide(-1, -0.0L), EZeroDivide);
    EXPECT_THROW(CheckedDivide(0, 0), EInvalidOp);
    const struct {
        long double Value;
        int32_t Rounded;
    } Cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {199.99999, 200},
                 {2147483647.4L, INT32_MAX}, {-2147483648.4L, INT32_MIN}};
    for (const auto &c : Cases)
        EXPECT_EQ(RoundToInt32(c.Value), c.Rounded) << static_cast<double>(c.Value);
    EXPECT_THROW(RoundToInt32(2147483647.5L), EInvalidOp);
    EXPECT_THROW(RoundToInt32(NAN), EInvalidOp);
    EXPECT_THROW(RoundToInt32(INFINITY), EInvalidOp);
}
