#include "reports/scale_to_axis.h"

#include <gtest/gtest.h>

#include "platform/vb_error.h"

namespace {

TEST(ScaleToAxisTest, givesTheFractionOfTheAxisToFourDecimals) {
    struct Case {
        double index, count, length, expected;
    } const cases[] = {
        {0, 10, 480, 0},    {5, 10, 480, 240},    {1, 3, 1, 0.3333},   {2, 3, 1, 0.6667},
        {1, 3, 480, 160},   {1, 7, 100, 14.2857}, {0.5, 8, 1, 0.0625}, {1, 16, 1, 0.0625},
        {1, 32, 1, 0.0313}, {-1, 3, 1, -0.3333},  {100, 100, 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(sq::ScaleToAxis(c.index, c.count, c.length), c.expected)
            << c.index << " / " << c.count << " x " << c.length;
}

TEST(ScaleToAxisTest, aCountOfZeroRaisesDivisionByZero) {
    try {
        sq::ScaleToAxis(1, 0, 480);
        FAIL() << "no error raised";
    } catch (const sq::VbError& e) {
        EXPECT_EQ(e.number(), 11);
    }
}

}  // namespace
