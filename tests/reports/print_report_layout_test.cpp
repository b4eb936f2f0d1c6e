// The printed report laid out on a recording surface with fixed metrics (250 twips a line, 100 a
// character, a page of 11,000 x 16,000): the heading, the ruled tables and their page breaks, the
// footers and the parts' pages; then the chart part; then the pure rules of labels and levels.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/ui/printer_surface.h"
#include "platform/ui/recording_surface.h"
#include "platform/vb_error.h"
#include "reports/print_report.h"

namespace sq {
namespace {

using Rows = std::vector<std::vector<std::string>>;
using Kind = RecordingSurface::Kind;
using Call = RecordingSurface::Call;

const Rows kUserInfo = {{"Evaluator", "Zo\u00E9"},
                        {"Evaluated", ""},
                        {"Department", "QA"},
                        {"Company", "ACME"},
                        {"Observations", "none"}};

Rows summaryRows() {
    return {{"", "D1", "D2", "D3"},
            {"Start Date/Time", "2022/03/30 14:05:09", "", ""},
            {"Stop Date/Time", "2022/03/30 15:05:09", "", ""},
            {"Threshold", "80 dB", "70 dB", "0 dB"},
            {"Criterion", "90 dB", "85 dB", "80 dB"},
            {"Exchange Rate", "3 dB", "3 dB", "5 dB"},
            {"Exceedance Level", "115 dB", "", ""},
            {"Interval Time", "1 s", "", ""},
            {"Total Point", "3", "", ""},
            {"PW Duration", "00:00:00", "", ""},
            {"Duration", "00:01:00", "", ""}};
}

Rows pointRows(int n) {
    Rows rows = {{"No.s", "Date/Time", "LAVG", "Leq", "LCPK", "LZPK"}};
    for (int p = 1; p <= n; ++p)
        rows.push_back({std::to_string(p), "2022/03/30 14:05:" + std::to_string(10 + p % 50), "60.0 dB",
                        "*61.5 dB", "--", "163.2 dB"});
    return rows;
}

PrintedRecord record(const Rows& summary, const Rows& points, const Rows& info, bool withPoints) {
    return {GridCopy::fromRows(summary), GridCopy::fromRows(points), GridCopy::fromRows(info), "QVX 410",
            withPoints};
}

struct Text {
    std::string text;
    double x, y;
    int page;
    bool operator==(const Text&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Text& t) {
    return os << '"' << t.text << "\" at (" << t.x << ", " << t.y << ") on page " << t.page;
}

std::vector<Text> textsOf(const RecordingSurface& s) {
    std::vector<Text> out;
    for (const Call& c : s.calls())
        if (c.kind == Kind::Text) out.push_back({c.text, c.line.x1, c.line.y1, c.page});
    return out;
}
std::optional<Text> textOf(const RecordingSurface& s, const std::string& text, int page = 0) {
    for (const Text& t : textsOf(s))
        if (t.text == text && (page == 0 || t.page == page)) return t;
    return std::nullopt;
}
std::vector<PageSurface::LineCall> linesOf(const RecordingSurface& s, int page) {
    std::vector<PageSurface::LineCall> out;
    for (const Call& c : s.calls())
        if (c.kind == Kind::Line && c.page == page) out.push_back(c.line);
    return out;
}
bool hasLine(const std::vector<PageSurface::LineCall>& lines, double x1, double y1, double x2, double y2) {
    return std::any_of(lines.begin(), lines.end(), [&](const PageSurface::LineCall& l) {
        return l.x1 == x1 && l.y1 == y1 && l.x2 == x2 && l.y2 == y2;
    });
}
std::vector<int> pagesBegun(const RecordingSurface& s) {
    std::vector<int> pages;
    for (const Call& c : s.calls())
        if (c.kind == Kind::Page) pages.push_back(c.page);
    return pages;
}

// Widths with 100 twips a character: (longest cell + 4) x 100, plus the 100 twips of gap.
TEST(PrintReportLayoutTest, headingTablesPageBreaksAndFootersStandWhereTheRulesPutThem) {
    RecordingSurface s;
    PrintReport(s, record(summaryRows(), pointRows(40), kUserInfo, true));
    const std::vector<Call>& calls = s.calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().kind, Kind::End);
    // Part 1 on page 1, the point table on pages 2 and 3, the chart on page 4: no blank page.
    EXPECT_EQ(pagesBegun(s), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(s.Page(), 1);  // a later job starts at 1 again

    struct Expected {
        const char* what;
        Text text;
    };
    const std::vector<Expected> expected = {
        // The worked example: model 500, user information 850..2250, title 2950, first row 3300.
        {"model line", {" - QVX 410", 550, 500, 1}},
        {"label", {" - Evaluator : ", 550, 850, 1}},
        {"value right after its label", {"Zo\u00E9", 550 + 1500, 850, 1}},
        {"last user row", {" - Observations : ", 550, 2250, 1}},
        {"part title", {" - HeaderData", 550, 2950, 1}},
        // Column 0 is "Exceedance Level" + "0000" wide: 2000; "Threshold" (900) sits
        // (50 + 2000 - 900) \ 2 in.
        {"label cell", {"Threshold", 550 + 575, 3300 + 3 * 350, 1}},
        // Column 1: "2022/03/30 14:05:09" + "0000" = 2300; its text starts at 550 + 2000 + 100.
        {"value cell", {"80 dB", 2650 + (50 + 2300 - 500) / 2, 3300 + 3 * 350, 1}},
        {"footer of page 1", {"P - 1", (11000 - 500) / 2, 16000 - 500, 1}},
        {"heading again for part 2", {" - QVX 410", 550, 500, 2}},
        {"part 2 title", {" - RecordData", 550, 2950, 2}},
        // Rows 0..33 fit page 2 (row 33 at 14850: 14850 + 4 x 250 <= 16000); row 34 breaks.
        {"last row of page 2", {"33", 550 + (50 + 800 - 200) / 2, 3300 + 33 * 350, 2}},
        {"footer of page 2", {"P - 2", 5250, 15500, 2}},
        {"title row repeated at the top", {"No.s", 550 + (50 + 800 - 400) / 2, 500, 3}},
        {"row 34 below it", {"34", 550 + (50 + 800 - 200) / 2, 850, 3}},
        {"footer of page 3", {"P - 3", 5250, 15500, 3}},
        {"chart page heading", {" - QVX 410", 550, 500, 4}},
        {"footer of the chart page", {"P - 4", 5250, 15500, 4}},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.what);
        const auto found = textOf(s, e.text.text, e.text.page);
        ASSERT_TRUE(found.has_value()) << e.text;
        EXPECT_EQ(*found, e.text);
    }
    // The row-0 title at the top of page 3 and no heading there.
    EXPECT_FALSE(textOf(s, " - QVX 410", 3).has_value());
    EXPECT_FALSE(textOf(s, " - RecordData", 3).has_value());

    // Rules of summary row 3 (text at y = 4350): box from 4300 to 4650; the column rules at the
    // cells' right edges; its bottom rule is row 4's top edge; no top rule but for row 0.
    const auto page1 = linesOf(s, 1);
    const double right = 500 + 2100 + 2400 + 1000 + 1000;  // widths 2000, 2300, 900, 900 and gaps
    EXPECT_TRUE(hasLine(page1, 500, 4300, 500, 4650));
    for (double x : {2600.0, 5000.0, 6000.0, 7000.0}) EXPECT_TRUE(hasLine(page1, x, 4300, x, 4650)) << x;
    EXPECT_TRUE(hasLine(page1, 500, 4650, right, 4650));
    EXPECT_TRUE(hasLine(page1, 500, 3250, right, 3250));  // row 0's top rule
    // One rule below each of the 11 rows and the one above row 0: each row's bottom rule is the
    // next row's top edge.
    EXPECT_EQ(std::count_if(page1.begin(), page1.end(), [](const auto& l) { return l.y1 == l.y2; }), 12);
    // The repeated title row has its top and bottom rules (450 and 800).
    const auto page3 = linesOf(s, 3);
    const double pointsRight = 500 + 900 + 2400 + 1200 + 1300 + 900 + 1300;
    EXPECT_TRUE(hasLine(page3, 500, 450, pointsRight, 450));
    EXPECT_TRUE(hasLine(page3, 500, 800, pointsRight, 800));
    // Every table rule is a plain black line, 1 dot, solid.
    for (int page : {1, 2, 3})
        for (const auto& l : linesOf(s, page)) {
            EXPECT_FALSE(l.colour.has_value());
            EXPECT_EQ(l.drawWidth, 1);
            EXPECT_EQ(l.drawStyle, PageSurface::kSolid);
        }
}

TEST(PrintReportLayoutTest, smallInputsStillGiveEveryPartItsPageAndFooter) {
    struct Case {
        const char* name;
        Rows summary;
        Rows points;
        Rows info;
        bool withPoints;
        std::vector<std::string> footers;
        double titleY;  // of " - HeaderData"
    };
    const std::vector<Case> cases = {
        {"without the point table", summaryRows(), pointRows(3), kUserInfo, false, {"P - 1", "P - 2"}, 2950},
        {"grids of only their title row",
         {{"", "D1"}},
         {{"No.s", "Date/Time"}},
         kUserInfo,
         true,
         {"P - 1", "P - 2", "P - 3"},
         2950},
        {"no user information", summaryRows(), pointRows(2), {}, true, {"P - 1", "P - 2", "P - 3"}, 1200},
        {"grids without rows", {}, {}, {}, true, {"P - 1", "P - 2", "P - 3"}, 1200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSurface s;
        PrintReport(s, record(c.summary, c.points, c.info, c.withPoints));
        std::vector<std::string> footers;
        for (const Text& t : textsOf(s))
            if (t.text.rfind("P - ", 0) == 0) {
                footers.push_back(t.text);
                EXPECT_EQ(t.text, "P - " + std::to_string(t.page));
            }
        EXPECT_EQ(footers, c.footers);
        EXPECT_EQ(s.calls().back().kind, Kind::End);
        EXPECT_EQ(pagesBegun(s).size(), c.footers.size());
        EXPECT_EQ(textOf(s, " - HeaderData")->y, c.titleY);
        EXPECT_EQ(textOf(s, " - RecordData").has_value(), c.withPoints);
    }
}

TEST(PrintReportLayoutTest, aTitleOnlyGridPrintsOneBoxedRow) {
    RecordingSurface s;
    PrintReport(s, record({{"", "D1"}}, pointRows(2), {}, false));
    // Title at 1200, the row's text at 1550: box 1500..1850; columns 400 + 100 and 600 + 100 wide.
    const auto lines = linesOf(s, 1);
    const std::vector<std::array<double, 4>> expected = {{500, 1500, 500, 1850},
                                                         {1000, 1500, 1000, 1850},
                                                         {1700, 1500, 1700, 1850},
                                                         {500, 1500, 1700, 1500},
                                                         {500, 1850, 1700, 1850}};
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ((std::array<double, 4>{lines[i].x1, lines[i].y1, lines[i].x2, lines[i].y2}), expected[i]);
    }
}

TEST(PrintReportLayoutTest, progressCountsBothTablesAgainstAllCellsAlsoWithoutThePointTable) {
    for (bool withPoints : {true, false}) {
        SCOPED_TRACE(withPoints);
        RecordingSurface s;
        std::vector<std::pair<int64_t, int64_t>> tables;
        int64_t cells = 0;
        int points = 0;
        ReportProgress progress;
        progress.afterCell = [&](int64_t done, int64_t total) {
            EXPECT_EQ(done, ++cells);
            EXPECT_EQ(total, 44 + 36);
        };
        progress.afterTable = [&](int64_t done, int64_t total) { tables.emplace_back(done, total); };
        progress.afterPoint = [&] { ++points; };
        PrintReport(s, record(summaryRows(), pointRows(5), kUserInfo, withPoints), progress);
        if (withPoints)
            EXPECT_EQ(tables, (std::vector<std::pair<int64_t, int64_t>>{{44, 80}, {80, 80}}));
        else
            EXPECT_EQ(tables, (std::vector<std::pair<int64_t, int64_t>>{{44, 80}}));
        EXPECT_EQ(points, 4);
    }
}

TEST(PrintReportLayoutTest, aCellWiderThanSixteenBitsOfTwipsStillPrints) {
    Rows summary = summaryRows();
    summary[1][1] = std::string(400, 'x');  // 40,400 twips
    RecordingSurface s;
    PrintReport(s, record(summary, pointRows(2), {}, false));
    EXPECT_EQ(s.calls().back().kind, Kind::End);
    EXPECT_TRUE(hasLine(linesOf(s, 1), 550 + 2000 + 100 + 40400 + 100 - 50, 1500,
                        550 + 2000 + 100 + 40400 + 100 - 50, 1850));
}

// A printer that can discard a job drops it; a PDF printer cannot, so the job ends with its pages.
TEST(PrintReportLayoutTest, aPageThatCannotBeStartedStopsTheReportWhereItHappened) {
    for (const bool canDiscard : {false, true}) {
        SCOPED_TRACE(canDiscard);
        RecordingSurface s;
        s.setCanAbort(canDiscard);
        s.failPage(3);
        try {
            PrintReport(s, record(summaryRows(), pointRows(40), kUserInfo, true));
            FAIL() << "no error";
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), kPrinterError);
        }
        EXPECT_TRUE(s.jobOpen());
        EXPECT_EQ(pagesBegun(s), (std::vector<int>{1, 2}));
        s.KillDoc();
        EXPECT_EQ(s.calls().back().kind, canDiscard ? Kind::Kill : Kind::End);
        EXPECT_FALSE(s.jobOpen());
    }
}

// The chart page on its own, below heads that end at 2950.
class ChartLayoutTest : public ::testing::Test {
protected:
    static constexpr double kBlockTop = 2950;
    void print(int points) {
        s.setFontSize(11);
        PrintLevelChart(s, GridCopy::fromRows(pointRows(points)), GridCopy::fromRows(summaryRows()),
                        kBlockTop, 250);
    }
    std::vector<PageSurface::LineCall> linesWith(std::optional<int32_t> colour, int width, int style) {
        std::vector<PageSurface::LineCall> out;
        for (const auto& l : linesOf(s, 1))
            if (l.colour == colour && l.drawWidth == width && l.drawStyle == style &&
                l.form == LineForm::Line)
                out.push_back(l);
        return out;
    }
    RecordingSurface s;
};

TEST_F(ChartLayoutTest, theFrameComesFromTheMetrics) {
    const ChartFrame f = MeasureChartFrame(s, kBlockTop, 250);
    EXPECT_EQ(f.left, 550 + 700);                 // "99999.9"
    EXPECT_EQ(f.right, 11000 - 2300 / 2);         // "2018/12/30 23:59:590000" / 2
    EXPECT_EQ(f.top, kBlockTop + 9 * 250 + 900);  // nine lines below the heads
    EXPECT_EQ(f.bottom, 16000 - 1000);
    EXPECT_EQ(f.legendLeft, 9850 - 4 * 500);  // 4 x "ZZZZ0"
}

TEST_F(ChartLayoutTest, boxLevelAxisAxesSeriesLegendAndFooterWithTheirPens) {
    print(3);
    const std::vector<Call>& calls = s.calls();
    // The box first, filled in light grey, at the starting pen.
    const auto firstLine =
        std::find_if(calls.begin(), calls.end(), [](const Call& c) { return c.kind == Kind::Line; });
    ASSERT_NE(firstLine, calls.end());
    EXPECT_EQ(firstLine->line.form, LineForm::Box);
    EXPECT_EQ(firstLine->line.colour, rgbColour(230, 230, 230));
    EXPECT_EQ((std::array<double, 4>{firstLine->line.x1, firstLine->line.y1, firstLine->line.x2,
                                     firstLine->line.y2}),
              (std::array<double, 4>{1250, 6100, 9850, 15000}));
    EXPECT_EQ(firstLine->line.drawWidth, 1);
    EXPECT_EQ(firstLine->line.drawStyle, PageSurface::kSolid);

    // The summary block: the longest text is "Exceedance Level" (16 characters): each column 2000
    // wide, texts centred in it, six lines 350 apart from the heads' end.
    EXPECT_EQ(*textOf(s, "Threshold"), (Text{"Threshold", 550 + 550, kBlockTop, 1}));
    EXPECT_EQ(*textOf(s, "00:01:00"), (Text{"00:01:00", 550 + 600, kBlockTop + 5 * 350, 1}));
    EXPECT_EQ(*textOf(s, "Exceedance Level"),
              (Text{"Exceedance Level", 550 + 2000 + 200, kBlockTop + 2 * 350, 1}));
    EXPECT_EQ(*textOf(s, "1 s"), (Text{"1 s", 550 + 2000 + 850, kBlockTop + 5 * 350, 1}));

    // Level labels centred on their grid lines in a column as wide as "999.9".
    const std::vector<std::pair<std::string, double>> labels = {
        {"50.0", 15000}, {"75.0", 12775}, {"100.0", 10550}, {"125.0", 8325}, {"150.0", 6100}};
    for (const auto& [label, y] : labels) {
        SCOPED_TRACE(label);
        const auto t = textOf(s, label);
        ASSERT_TRUE(t);
        EXPECT_EQ(t->x, 550 + (500 - 100.0 * label.size()) / 2);
        EXPECT_EQ(t->y, y - 125);
    }
    // Dashed grey grid lines at every eighth of the height, plus one per time label (three).
    std::set<double> gridY;
    int timeGridLines = 0;
    for (const auto& l : linesWith(rgbColour(100, 100, 100), 1, PageSurface::kDashed)) {
        if (l.y1 == l.y2) {
            EXPECT_EQ(l.x1, 1250);
            EXPECT_EQ(l.x2, 9850);
            gridY.insert(l.y1);
        } else {
            ++timeGridLines;
            EXPECT_EQ(l.y1, 6100);
            EXPECT_EQ(l.y2, 15000);
        }
    }
    std::set<double> eighths;
    for (int k = 0; k <= 8; ++k) eighths.insert(15000 - k * 1112.5);
    EXPECT_EQ(gridY, eighths);
    EXPECT_EQ(timeGridLines, 3);

    // Black 15-dot ticks (five level, three time) and the two axes.
    const auto black = linesWith(rgbColour(0, 0, 0), 15, PageSurface::kSolid);
    ASSERT_EQ(black.size(), 5u + 2u + 3u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(black[i].x1, 1250 - 100);
    EXPECT_TRUE(hasLine(black, 1250, 6100, 1250, 15000));
    EXPECT_TRUE(hasLine(black, 1250, 15000, 9850, 15000));
    for (double x : {1250.0, 5550.0, 9850.0}) EXPECT_TRUE(hasLine(black, x, 15000, x, 15125)) << x;

    // Three points, every one labelled (8600 \ 2200 - 1 = 2 intervals, step 1), below the axis.
    for (int row = 1; row <= 3; ++row) {
        const std::string time = "2022/03/30 14:05:" + std::to_string(10 + row);
        const auto t = textOf(s, time);
        ASSERT_TRUE(t) << time;
        EXPECT_EQ(t->x, 1250 + (row - 1) * 4300 - 950);
        EXPECT_EQ(t->y, 15250);
    }

    // Two segments per series, 2 dots wide, drawn point by point in column order.
    const std::vector<int32_t> colours = {rgbColour(255, 0, 0), rgbColour(0, 255, 255), rgbColour(0, 0, 255),
                                          rgbColour(0, 255, 0)};
    std::vector<PageSurface::LineCall> segments;
    for (const auto& l : linesOf(s, 1))
        if (l.drawWidth == 2) segments.push_back(l);
    ASSERT_EQ(segments.size(), 8u);
    // Levels: 60.0 (y 13220), *61.5 (12887.5), "--" (50: 15000), 163.2 (150: 6100).
    const std::vector<double> levelY = {15000 - 0.1 * 8900, 15000 - 0.115 * 8900, 15000, 6100};
    for (size_t i = 0; i < segments.size(); ++i) {
        SCOPED_TRACE(i);
        const auto& l = segments[i];
        EXPECT_EQ(l.colour, colours[i % 4]);
        EXPECT_EQ(l.drawStyle, PageSurface::kSolid);
        EXPECT_EQ(l.x1, i < 4 ? 1250 : 5550);
        EXPECT_EQ(l.x2, i < 4 ? 5550 : 9850);
        EXPECT_DOUBLE_EQ(l.y1, levelY[i % 4]);
        EXPECT_DOUBLE_EQ(l.y2, levelY[i % 4]);
    }

    // The legend above the box's right end; samples 20 dots wide in the series colours.
    const double row1 = 6100 - 700, row2 = 6100 - 350;
    EXPECT_EQ(*textOf(s, "Lavg"), (Text{"Lavg", 7850, row1, 1}));
    EXPECT_EQ(*textOf(s, "Leq"), (Text{"Leq", 7850 + 800 + 200, row1, 1}));
    EXPECT_EQ(*textOf(s, "Lcpk"), (Text{"Lcpk", 7850, row2, 1}));
    EXPECT_EQ(*textOf(s, "Lzpk"), (Text{"Lzpk", 8850, row2, 1}));
    std::vector<PageSurface::LineCall> samples;
    for (const auto& l : linesOf(s, 1))
        if (l.drawWidth == 20) samples.push_back(l);
    ASSERT_EQ(samples.size(), 4u);
    const double sampleY1 = 6100 - 350 - 350 / 1.5, sampleY2 = 6100 - 350 / 1.5;
    const std::vector<std::array<double, 3>> expected = {
        {8350, 8750, sampleY1}, {9350, 9750, sampleY1}, {8350, 8750, sampleY2}, {9350, 9750, sampleY2}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(samples[i].colour, colours[i]);
        EXPECT_EQ(samples[i].x1, expected[i][0]);
        EXPECT_EQ(samples[i].x2, expected[i][1]);
        EXPECT_DOUBLE_EQ(samples[i].y1, expected[i][2]);
        EXPECT_DOUBLE_EQ(samples[i].y2, expected[i][2]);
    }

    // The footer ends the page, and the surface is left at 1 dot, solid.
    EXPECT_EQ(*textOf(s, "P - 1"), (Text{"P - 1", 5250, 15500, 1}));
    EXPECT_EQ(s.Page(), 2);
    EXPECT_EQ(s.DrawWidth(), 1);
    EXPECT_EQ(s.DrawStyle(), PageSurface::kSolid);
}

TEST_F(ChartLayoutTest, fewerThanTwoPointsKeepTheFrameAndEndThePage) {
    for (int points : {0, 1}) {
        SCOPED_TRACE(points);
        s.EndDoc();
        s.clearCalls();
        print(points);
        EXPECT_EQ(linesWith(rgbColour(0, 0, 0), 15, PageSurface::kSolid).size(), 5u + 2u);  // ticks, axes
        EXPECT_EQ(linesWith(rgbColour(100, 100, 100), 1, PageSurface::kDashed).size(), 9u);
        for (const auto& l : linesOf(s, 1)) EXPECT_NE(l.drawWidth, 2);  // no segment
        EXPECT_FALSE(textOf(s, "2022/03/30 14:05:11").has_value());
        EXPECT_TRUE(textOf(s, "Threshold").has_value());
        EXPECT_TRUE(textOf(s, "Lzpk").has_value());
        EXPECT_TRUE(textOf(s, "P - 1").has_value());
        EXPECT_EQ(s.Page(), 2);
    }
}

TEST_F(ChartLayoutTest, missingSummaryRowsReadAsEmptyTexts) {
    s.setFontSize(11);
    const Rows all = summaryRows();
    const Rows five(all.begin(), all.begin() + 5);
    PrintLevelChart(s, GridCopy::fromRows(pointRows(2)), GridCopy::fromRows(five), kBlockTop, 250);
    EXPECT_TRUE(textOf(s, "Criterion").has_value());
    EXPECT_FALSE(textOf(s, "Duration").has_value());
    EXPECT_TRUE(textOf(s, "P - 1").has_value());
}

TEST(PrintReportRulesTest, labelledRows) {
    struct Case {
        int points, intervals;
        std::vector<int> rows;
    } const cases[] = {
        {0, 3, {}},
        {1, 3, {}},
        {2, 5, {1, 2}},
        {3, 2, {1, 2, 3}},
        {11, 3, {1, 4, 7, 10, 11}},
        {11, 0, {1, 11}},   // below 1 taken as 1
        {11, -4, {1, 11}},  // a narrow page's negative quotient too
        {10, 100, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {7, 2, {1, 4, 7}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LabelledRows(c.points, c.intervals), c.rows) << c.points << " points, " << c.intervals;
}

TEST(PrintReportRulesTest, labelIntervalsRoundFirstAndStayWithinOneAndThePoints) {
    struct Case {
        double axis, room;
        int points, intervals;
    } const cases[] = {
        {8600, 2200, 100, 2},     // 8600 \ 2200 - 1
        {8600, 2200, 2, 1},       // capped at points - 1
        {6599.5, 2200.4, 50, 2},  // 6600 \ 2200 - 1: operands rounded half to even first
        {3000, 2200, 50, 1},      // A6: a quotient of 1 gives 0 intervals, taken as 1
        {-500, 2200, 50, 1},      // a page narrower than the margins
    };
    for (const Case& c : cases) EXPECT_EQ(LabelIntervalsFor(c.axis, c.room, c.points), c.intervals) << c.axis;
    EXPECT_THROW((void)LabelIntervalsFor(8600, 0.4, 10), VbError);
}

TEST(PrintReportRulesTest, cellLevels) {
    struct Case {
        const char* text;
        double level;
    } const cases[] = {
        {"--", 50},      {"-- dB", 50},     {"", 50},           {"---.-", 50},
        {"49.9 dB", 50}, {"163.2 dB", 150}, {"*72.5 dB", 72.5}, {"72.5 dBA", 72.5},
        {"*-- dB", 50},  {"150.0 dB", 150}, {"50.0 dB", 50},    {"99.9 \xC2\xB5Pa", 99.9},
        {"abc", 50},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(CellLevel(c.text), c.level) << '"' << c.text << '"';
}

}  // namespace
}  // namespace sq
