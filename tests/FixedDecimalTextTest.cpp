#include "shared/FixedDecimalText.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace orbistat;

TEST(FixedDecimalText, WritesWhatPrintfWrites)
{
    const struct {
        double value;
        int decimals;
        const char* expected;
    } cases[] = {
        // Exact ties go to the even digit; values just off a tie go by the
        // exact binary value (0.15 and 0.35 lie a little below their ties).
        {2.5, 0, "2"},     {3.5, 0, "4"},    {0.125, 2, "0.12"}, {0.375, 2, "0.38"}, {0.15, 1, "0.1"},
        {0.35, 1, "0.3"},  {12.25, 1, "12.2"}, {9.96, 1, "10.0"}, {18.0, 1, "18.0"},  {-1.25, 1, "-1.2"},
        {1e20, 0, "100000000000000000000"}, {NAN, 1, "0"},      {INFINITY, 0, "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(fixedDecimalText(c.value, c.decimals).toStdString(), c.expected);
    }
}
