// The level distribution's arithmetic: the bin of a cell, the occupied range, the Ln levels, the
// table rows and the progress caption.
#include "recordmodel/level_distribution.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sq {
namespace {

constexpr LevelResolution kTenth = LevelResolution::TenthDb;
constexpr LevelResolution kWhole = LevelResolution::WholeDb;

LevelDistribution distributionOf(const std::vector<std::string>& cells, LevelResolution resolution) {
    LevelDistribution d(resolution);
    for (const std::string& cell : cells) d.add(cell);
    return d;
}

std::vector<std::string> levelsOf(const LevelDistribution& d, int64_t total) {
    std::vector<std::string> levels;
    for (int bin : percentileBins(d.counts(), total)) levels.push_back(levelText(bin, d.resolution()));
    return levels;
}

TEST(LevelBinTest, eachCellCountsInTheBinOfItsFirstMatchingRule) {
    struct Case {
        const char* cell;
        int tenth;
        int whole;
    };
    const Case cases[] = {
        {"85.3 dB", 853, 85},
        {"85.25 dB", 852, 85},  // halves to even
        {"85.75 dB", 858, 85},
        {"85.9 dB", 859, 85},  // 1 dB cuts the fraction off
        {"149.96 dB", 1500, 149},
        {"149.9 dB", 1499, 149},
        {"150.0 dB", 1500, 150},
        {"163.2 dB", 1500, 150},
        {"OL dB", 1500, 150},  // a capital L anywhere
        {"85.3 dBL", 1500, 150},
        {"85.3 dBl", 853, 85},  // only the capital
        {"-- dB", 250, 25},
        {"--", 250, 25},
        {"-3.0 dB", 250, 25},
        {"1e-5", 250, 25},  // the "-" test comes first
        {"*-- dB", 250, 25},
        // A marked point counts at its level: one leading star is passed over.
        {"*85.3 dB", 853, 85},
        {"*150.0 dB", 1500, 150},
        {"*L", 1500, 150},
        {"**85.3 dB", 0, 0},
        {" 8 5.3 dB", 853, 85},  // blanks are skipped while the number is read
        {"dB", 0, 0},
        {"", 0, 0},
        {"0.0 dB", 0, 0},
        {"0.04 dB", 0, 0},
        {"0.05 dB", 0, 0},
        {"0.15 dB", 2, 0},
        {"1e5", 1500, 150},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(levelBin(c.cell, kTenth), c.tenth) << '"' << c.cell << '"';
        EXPECT_EQ(levelBin(c.cell, kWhole), c.whole) << '"' << c.cell << '"';
    }
}

TEST(LevelDistributionTest, theOccupiedRangeStartsAtBinOneAndEndsAtTheHighestBin) {
    struct Case {
        std::vector<std::string> cells;
        LevelResolution resolution;
        int lowest;
        int highest;
    };
    const Case cases[] = {
        {{}, kTenth, 1501, -1},
        {{}, kWhole, 151, -1},
        {std::vector<std::string>(10, "80.0 dB"), kTenth, 800, 800},
        {std::vector<std::string>(10, "*85.3 dB"), kTenth, 853, 853},  // all marked
        {std::vector<std::string>(10, "*85.3 dB"), kWhole, 85, 85},
        {{"dB", "0.0 dB"}, kTenth, 1501, 0},  // bin 0 is never the lowest
        {{"dB", "0.0 dB"}, kWhole, 151, 0},
        {{"0.1 dB", "-- dB", "OL"}, kTenth, 1, 1500},
        {{"70.5 dB", "*-- dB", "91.0 dB"}, kWhole, 25, 91},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cells.empty() ? std::string("no points") : c.cells.front());
        const LevelDistribution d = distributionOf(c.cells, c.resolution);
        EXPECT_EQ(d.lowestBin(), c.lowest);
        EXPECT_EQ(d.highestBin(), c.highest);
        EXPECT_EQ(d.counts().size(), c.resolution == kTenth ? 1501u : 151u);
        int64_t sum = 0;
        for (int64_t n : d.counts()) sum += n;
        EXPECT_EQ(sum, static_cast<int64_t>(c.cells.size()));
    }
}

TEST(LevelDistributionTest, markedPointsTakeTheirLevelsInTheLnTable) {
    // Every fifth point is marked; before the star was passed over these counted as 0 dB.
    std::vector<std::string> cells;
    for (int p = 0; p < 100; ++p) cells.push_back(std::string(p % 5 == 0 ? "*" : "") + "80.0 dB");
    const std::vector<std::string> levels = levelsOf(distributionOf(cells, kTenth), 100);
    EXPECT_EQ(levels, std::vector<std::string>(100, "80.0"));
}

TEST(LevelDistributionTest, withoutPointsEveryLevelIsZero) {
    EXPECT_EQ(levelsOf(distributionOf({}, kTenth), 0), std::vector<std::string>(100, "0.0"));
    EXPECT_EQ(levelsOf(distributionOf({}, kWhole), 0), std::vector<std::string>(100, "0"));
}

TEST(LevelDistributionTest, eachLevelIsTheFirstBinWhereTheRunningCountReachesItsTarget) {
    // 123 points at 80 dB and 27 at 90 dB. For L18 the target (1 - 0.18) x 150 is 123.00000000000001
    // in double, so the count must reach 124: L18 is 90 dB, not 80 dB.
    std::vector<std::string> cells(123, "80.0 dB");
    cells.insert(cells.end(), 27, "90.0 dB");
    const std::vector<std::string> levels = levelsOf(distributionOf(cells, kTenth), 150);
    EXPECT_EQ(levels[0], "90.0");  // L0: the highest occupied bin
    EXPECT_EQ(levels[17], "90.0");
    EXPECT_EQ(levels[18], "90.0");
    EXPECT_EQ(levels[19], "80.0");
    EXPECT_EQ(levels[99], "80.0");
    EXPECT_EQ(levelsOf(distributionOf(cells, kWhole), 150)[18], "90");

    // Spread levels: L10 is exceeded by 10 % of the points, L90 by 90 %.
    std::vector<std::string> ramp;
    for (int p = 1; p <= 200; ++p) ramp.push_back(std::to_string(50 + p / 10) + "." + std::to_string(p % 10));
    const std::vector<std::string> spread = levelsOf(distributionOf(ramp, kTenth), 200);
    EXPECT_EQ(spread[0], "70.0");
    EXPECT_EQ(spread[10], "68.0");  // 180 of 200 points at or below 68.0
    EXPECT_EQ(spread[50], "60.0");  // 100 points: 50.1 .. 60.0
    EXPECT_EQ(spread[90], "52.0");  // target 19.999999999999996: 20 points
    EXPECT_EQ(spread[99], "50.3");  // target 2.0000000000000018: 3 points
}

TEST(LevelDistributionTest, theTableRowsCarryTenLevelsEach) {
    std::vector<std::string> levels;
    for (int k = 0; k < 100; ++k) levels.push_back("v" + std::to_string(k));
    const std::vector<std::string> rows = lnGridRows(levels);
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[0], "L(00)\tv0\tv1\tv2\tv3\tv4\tv5\tv6\tv7\tv8\tv9");
    EXPECT_EQ(rows[3], "L(30)\tv30\tv31\tv32\tv33\tv34\tv35\tv36\tv37\tv38\tv39");
    EXPECT_EQ(rows[9].substr(0, 9), "L(90)\tv90");
    EXPECT_EQ(rows[9].substr(rows[9].size() - 4), "\tv99");
}

TEST(LevelDistributionTest, theCaptionShowsThePercentageWithTheResolutionsSpacing) {
    struct Case {
        int64_t done, total;
        LevelResolution resolution;
        const char* caption;
    };
    const Case cases[] = {
        {1, 2, kTenth, "50.0%Completed"},    {1, 2, kWhole, "50.0% Completed"},
        {3, 3, kTenth, "100.0%Completed"},   {3, 3, kWhole, "100.0% Completed"},
        {1, 3, kTenth, "33.3%Completed"},    {2, 3, kTenth, "66.7%Completed"},
        {1, 65535, kTenth, "0.0%Completed"}, {1, 8, kWhole, "12.5% Completed"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(distributionCaption(c.done, c.total, c.resolution, "Completed"), c.caption);
    EXPECT_EQ(distributionCaption(1, 2, kTenth, "Fertig"), "50.0%Fertig");
}

}  // namespace
}  // namespace sq
