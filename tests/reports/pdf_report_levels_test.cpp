// The chart's cleaning of level cells, the level counts and the maxima, without a document.
#include "reports/pdf_report_levels.h"

#include <gtest/gtest.h>

#include "platform/vb_error.h"

namespace sq {
namespace {

TEST(PdfReportLevelsTest, cellsAreCleanedIntoTheChartsRange) {
    struct Case {
        const char* cell;
        const char* text;  // as a maximum shows it
        double numeric;
        int bin;
    } const cases[] = {
        {"85.3 dB", "85.3", 85.3, 85},
        {"*92.4 dB", "92.4", 92.4, 92},
        {"-- dB", "50", 50, 50},
        {"*-- dB", "50", 50, 50},
        {"--", "50", 50, 50},
        {"151.2 dB", "150", 150, 150},
        {"45.5 dB", "50", 50, 50},
        {"149,9 dB", "149,9", 149.9, 149},
        {"150,5 dB", "150,5", 150.5, 150},
        {"49,9 dB", "50", 50, 50},
        {"50.0 dB", "50.0", 50, 50},
        {"150.0 dB", "150.0", 150, 150},
        {"", "50", 50, 50},
        {"abc", "50", 50, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell);
        const PdfLevel level = CleanPdfLevel(c.cell);
        EXPECT_EQ(level.asText(), c.text);
        EXPECT_DOUBLE_EQ(level.numeric(), c.numeric);
        EXPECT_EQ(level.bin(), c.bin);
    }
}

TEST(PdfReportLevelsTest, equalMaximaShowTheLastTimeAndOnlyAHigherValueReplacesIt) {
    PdfMaximum maximum;
    EXPECT_EQ(maximum.text(), "   0 dB");
    maximum.offer(CleanPdfLevel("-- dB"), "t1");
    EXPECT_EQ(maximum.text(), "t1   50 dB");
    maximum.offer(CleanPdfLevel("45.0 dB"), "t2");  // cleaned to 50 as well
    EXPECT_EQ(maximum.text(), "t2   50 dB");
    maximum.offer(CleanPdfLevel("149,9 dB"), "t3");
    maximum.offer(CleanPdfLevel("149.8 dB"), "t4");
    EXPECT_EQ(maximum.text(), "t3   149,9 dB");
    maximum.offer(CleanPdfLevel("160.0 dB"), "t5");
    EXPECT_EQ(maximum.text(), "t5   150 dB");
}

TEST(PdfReportLevelsTest, countsKeepTheRangeAndTheLargestCount) {
    PdfLevelCounts counts;
    EXPECT_TRUE(counts.empty());
    EXPECT_EQ(counts.largest(), 0);
    counts.add(CleanPdfLevel("60.2 dB"), 0);
    counts.add(CleanPdfLevel("60.9 dB"), 0);
    counts.add(CleanPdfLevel("--"), 3);
    counts.add(CleanPdfLevel("170 dB"), 2);
    EXPECT_EQ(counts.lowest(), 50);
    EXPECT_EQ(counts.highest(), 150);
    EXPECT_EQ(counts.count(60, 0), 2);
    EXPECT_EQ(counts.largestOf(60), 2);
    EXPECT_EQ(counts.largestOf(61), 0);
    EXPECT_EQ(counts.largest(), 2);
    // A fifth level column has no count column.
    EXPECT_THROW(counts.add(CleanPdfLevel("60 dB"), 4), VbError);
}

}  // namespace
}  // namespace sq
