// Block arithmetic, point times and the calendar behind them.
#include "decoder/record_block.h"

#include <gtest/gtest.h>

namespace {

TEST(RecordBlockTest, TheLastBlockHoldsAtMostTenPoints) {
    struct Case {
        int total, block, points;
        bool last;
    };
    const Case cases[] = {{10, 0, 10, true},  {11, 0, 10, false}, {11, 1, 1, true},
                          {35, 2, 10, false}, {35, 3, 5, true},   {20, 1, 10, true},
                          {0, 0, 0, true},    {5, 3, 0, true},    {65535, 6553, 5, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.total) + "/" + std::to_string(c.block));
        EXPECT_EQ(sq::pointsInBlock(c.total, c.block), c.points);
        EXPECT_EQ(sq::isLastBlock(c.total, c.block), c.last);
    }
}

TEST(RecordBlockTest, DateTimeTextsRoundTripThroughTheCalendar) {
    for (const char* text : {"2022/03/30 14:05:09", "2024/02/29 23:59:59", "0100/01/01 00:00:00",
                             "9999/12/31 23:59:59", "1970/01/01 00:00:00"}) {
        auto s = sq::parseDateTimeText(text);
        ASSERT_TRUE(s) << text;
        EXPECT_EQ(sq::dateTimeTextOf(*s), text);
    }
    for (const char* bad : {"2023/02/29 00:00:00", "2022/13/01 00:00:00", "2022/03/30 24:00:00",
                            "0000/03/30 14:05:09", "0", "", "2022/03/30  14:05:09"}) {
        EXPECT_FALSE(sq::parseDateTimeText(bad)) << bad;
    }
    EXPECT_EQ(sq::dateTimeTextOf(*sq::parseDateTimeText("9999/12/31 23:59:59") + 1), "");
}

TEST(RecordBlockTest, PointsAreStampedOneIntervalAfterTheStartAndTheLastWithTheStopTime) {
    sq::PointClock clock("2022/12/31 23:59:00", "60", "2023/01/01 00:30:07");
    EXPECT_EQ(clock.timeOf(0, false), "2023/01/01 00:00:00");
    EXPECT_EQ(clock.timeOf(1, false), "2023/01/01 00:01:00");
    EXPECT_EQ(clock.timeOf(1, true), "2023/01/01 00:30:07");
    sq::PointClock still("2022/03/30 14:05:09", "0", "2022/03/30 15:00:00");
    EXPECT_EQ(still.timeOf(41, false), "2022/03/30 14:05:09");
    sq::PointClock longInterval("2022/03/30 14:05:09", "2147483647", "0");
    EXPECT_EQ(longInterval.timeOf(65534, false), "");  // beyond year 9999
    EXPECT_EQ(longInterval.timeOf(65534, true), "");   // a stop time that is no date
}

}  // namespace
