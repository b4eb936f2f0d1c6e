// The summary grid's fixed rows and the rows of the selectable summary items.
#include "records/summary_grid.h"

#include <gtest/gtest.h>

namespace {

using sq::RecordSummaryTexts;

class SummaryGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        sq::loadDefaultTexts(t);
        sq::PageChannelTable pages{};
        sq::ResetSummaryTexts(rec, pages);
    }
    sq::LanguageTexts t;
    RecordSummaryTexts rec;
};

TEST_F(SummaryGridTest, FixedRowsShowSharedAndPerChannelTexts) {
    rec.RecStartTime = "2022/03/30 14:05:09";
    rec.RecStopTime = {"2022/03/30 22:05:09", "2022/03/30 22:05:10", "2022/03/30 22:05:11"};
    rec.RecThreshold = {"80", "75", "70"};
    rec.RecCriterion = {"90", "85", "80"};
    rec.RecExchangeRate = {"5", "3", "4"};
    rec.RecExceedLevel = {"115", "120", "140"};
    rec.RecIntervalSec = "7200";
    rec.RecTotalPoint = "480";
    rec.RecPWDuration = {"08:00:00", "12:00:00", "00:05:00"};
    rec.RecDuration = "08:00:00";
    const auto rows = sq::summaryFixedRows(rec, t);
    const std::array<sq::SummaryRow, 11> expected = {{
        {"", "D1", "D2", "D3"},
        {"Start Date/Time", "2022/03/30 14:05:09", "2022/03/30 14:05:09", "2022/03/30 14:05:09"},
        {"Stop Date/Time", "2022/03/30 22:05:09", "2022/03/30 22:05:10", "2022/03/30 22:05:11"},
        {"Threshold", "80 dB", "75 dB", "70 dB"},
        {"Criterion", "90 dB", "85 dB", "80 dB"},
        {"Exchange Rate", "5 dB", "3 dB", "4 dB"},
        {"Exceedance Level", "115 dB", "120 dB", "140 dB"},
        {"Interval Time", "120 Min", "120 Min", "120 Min"},
        {"Total Point", "480", "480", "480"},
        {"PW Duration", "08:00:00", "12:00:00", "00:05:00"},
        {"Duration", "08:00:00", "08:00:00", "08:00:00"},
    }};
    EXPECT_EQ(rows, expected);
}

TEST_F(SummaryGridTest, IntervalShowsWholeMinutes) {
    for (auto [seconds, text] :
         {std::pair{"59", "0 Min"}, {"60", "1 Min"}, {"90", "1 Min"}, {"0", "0 Min"}, {"7200", "120 Min"}})
        EXPECT_EQ(sq::intervalMinutesText(seconds), text) << seconds;
}

TEST_F(SummaryGridTest, LabelsAndUnitFollowTheLanguageButMinDoesNot) {
    t.TxtDBUnit = "dB(A)";
    t.TxtThreshold = "Schwelle";
    const auto rows = sq::summaryFixedRows(rec, t);
    EXPECT_EQ(rows[3][0], "Schwelle");
    EXPECT_EQ(rows[3][1], "0 dB(A)");
    EXPECT_EQ(rows[7][2], "0 Min");
}

TEST_F(SummaryGridTest, ItemRowsTakeTheirShapes) {
    rec.RecDose = {"50.0", "12.5", "0.0"};
    rec.RecEA = {"2.000", "0.100", "0.000"};
    rec.RecEXPs = {"1.5", "2.5", "3.5"};
    rec.RecMax[0] = "98.7";
    rec.RecMaxTime[0] = "1:02:05";
    rec.RecMin[8] = "---.-";
    rec.RecMinTime[8] = "0:00:00";
    rec.RecPKA = {"---.-", "140.1", "73.0"};
    rec.RecExceedLevel = {"115", "120", "140"};
    rec.RecExceedTime = {"00:00:59", "01:00:00", "100:00:00"};
    rec.RecExceedStopTime = {"00:01:00", "", "00:00:00"};
    rec.RecLAeqStat = {"71.0", "72.0", "73.0", "74.0", "75.0"};
    rec.RecIeq = {"81.1", "82.2", "83.3"};
    rec.RecHML = {"1.0", "2.0", "3.0"};
    rec.RecKi = "4.5";
    rec.RecL05[4] = "88.8";
    struct Case {
        int item;
        const char* row;
    };
    const Case cases[] = {
        {2, "Dose\t50.0 %\t12.5 %\t0.0 %"},
        {15, "EA\t2.000 Pa^2h\t0.100 Pa^2h\t0.000 Pa^2h"},
        {24, "EXPs\t1.5 Pa^2s\t2.5 Pa^2s\t3.5 Pa^2s"},
        {18, "PKA\t---.- dB\t140.1 dB\t73.0 dB"},
        {27, "LAFMax\t98.7 dB  ( 1:02:05 )"},
        {44, "LZIMin\t---.- dB  ( 0:00:00 )"},
        {0, "LAS > dB\t(>115)_00:00:59\t(>120)_01:00:00\t(>140)_100:00:00"},
        {1, "Exceedance Stop Time\t00:01:00\t\t00:00:00"},
        {49, "LCS05\t88.8 dB"},
        {90, "LAEQ05\t75.0 dB"},
        {91, "LAEQ10\t71.0 dB"},
        {94, "LAEQ95\t74.0 dB"},
        {96, "LCIEQ\t82.2 dB"},
        {101, "HML\t1.0 dB\t2.0 dB\t3.0 dB"},
        {102, "Ki\t4.5 dB"},
    };
    for (const Case& c : cases) EXPECT_EQ(sq::summaryItemRow(c.item, rec, t), c.row) << c.item;
}

TEST_F(SummaryGridTest, EveryBoxFindsItsOwnItemByItsCaption) {
    for (int item = 0; item < sq::kSummaryItemCount; ++item)
        EXPECT_EQ(sq::findSummaryItem(sq::summaryItemText(item, t), t), item) << item;
    EXPECT_EQ(sq::findSummaryItem("dose", t), -1);  // exact case
    EXPECT_EQ(sq::summaryItemText(1, t), "Exceedance Stop Time");
    EXPECT_EQ(sq::summaryItemText(45, t), "LAF05");
    EXPECT_TRUE(sq::isItemBoxEnabled(93));
    EXPECT_FALSE(sq::isItemBoxEnabled(94));
    EXPECT_FALSE(sq::isItemBoxEnabled(102));
}

// Two items with one text: both boxes give the row of the item earlier in the match order.
TEST_F(SummaryGridTest, EqualTextsFindTheItemEarlierInTheMatchOrder) {
    t.TxtTi = "X";
    t.TxtLEPd = "X";  // Ti comes before LEPd when captions are compared
    EXPECT_EQ(sq::findSummaryItem("X", t), 100);
    t.TxtLAF05 = "Y";
    t.TxtLAF95 = "Y";  // the 95 percentiles come before the 05 ones
    EXPECT_EQ(sq::findSummaryItem("Y", t), 81);
    t.TxtExceedanceStopTime = "Z";
    t.TxtKi = "Z";
    EXPECT_EQ(sq::findSummaryItem("Z", t), 102);
}

}  // namespace
