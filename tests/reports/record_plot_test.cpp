// The graph data: levels, x values and summary labels read from cell texts, and ShowRecordPlot filling
// the Plot window from a point grid and a summary grid.
#include "reports/record_plot.h"

#include <gtest/gtest.h>

#include <cmath>

#include "decoder/record_block.h"
#include "platform/ui/graph_scale.h"
#include "recordmodel/grid_copy.h"
#include "reports/plot.h"
#include "reports/plot_fixture.h"
#include "texts/language_files.h"

namespace sq {
namespace {

using sqtest::PlotTest;
using sqtest::pointRow;
using sqtest::risingPoints;
using sqtest::Rows;

double xOf(const std::string& cell, const std::string& firstCell) {
    return plotXOf(*plotTimeOf(cell), plotTimeOf(firstCell)->day);
}

TEST(PlotRowsTest, levelsCleanMarksNoLevelsAndOverRangeCells) {
    struct Case {
        const char* cell;
        double level;
    } const cases[] = {
        {"-- dB", 25},      {"*-- dB", 25},    {"L", 145},          {"*L dB", 145},      {"70.0 Lx", 145},
        {"150.0 dB", 145},  {"145.0 dB", 145}, {"*150.0 dB", 150},  {"144.9 dB", 144.9}, {"72.3 dB", 72.3},
        {"*72.3 dB", 72.3}, {"", 0},           {"  60.5 dB", 60.5}, {"7*2.3 dB", 72.3},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(plotLevelOf(c.cell), c.level) << c.cell;
}

TEST(PlotRowsTest, xIsTheTimeOfDayPlusTheDaysSinceTheFirstPoint) {
    const std::string day = "2022/03/30 ";
    EXPECT_EQ(xOf(day + "06:00:00", day + "06:00:00"), 0.25);
    EXPECT_EQ(xOf(day + "18:00:00", day + "06:00:00"), 0.75);
    EXPECT_EQ(xOf(day + "00:00:00", day + "00:00:00"), 0);
    EXPECT_EQ(xOf(day + "12:00:00", day + "00:00:00"), 0.5);
    // Past midnight the line goes on above 1, read back as the time of day.
    const double late = xOf(day + "23:00:00", day + "23:00:00");
    const double early = xOf("2022/03/31 01:00:00", day + "23:00:00");
    EXPECT_NEAR(late, 23.0 / 24, 1e-12);
    EXPECT_NEAR(early, 1 + 1.0 / 24, 1e-12);
    EXPECT_EQ(timeOfDayText(early), "01:00:00");
    // The same time of day on two days is one apart.
    EXPECT_DOUBLE_EQ(xOf("2022/04/01 09:30:00", day + "09:30:00") - xOf(day + "09:30:00", day + "09:30:00"),
                     2);
}

TEST(PlotRowsTest, aRecordOverThreeDaysAndTheYearsEndRisesThroughout) {
    const int64_t start = *parseDateTimeText("2021/12/30 22:00:00");
    const int64_t firstDay = plotTimeOf(dateTimeTextOf(start))->day;
    for (int hour = 0; hour <= 72; ++hour) {
        const std::string cell = dateTimeTextOf(start + 3600 * hour);
        EXPECT_NEAR(plotXOf(*plotTimeOf(cell), firstDay), (22.0 + hour) / 24, 1e-12) << cell;
    }
}

TEST(PlotRowsTest, cellsThatAreNoDateAndTimeAreRefused) {
    for (const char* cell : {"", "2022/03/30", "2022/03/30T08:00:00", "2022/03/30 25:00:00",
                             "2022/02/30 08:00:00", "2022/13/01 08:00:00", "p1", "2022/03/30 08:00"})
        EXPECT_FALSE(plotTimeOf(cell).has_value()) << cell;
}

GridCopy summaryOf(const Rows& rows) {
    Rows all = {{"", "D1", "D2", "D3"}};
    all.insert(all.end(), rows.begin(), rows.end());
    return GridCopy::fromRows(all, 1, 1);
}

TEST(PlotRowsTest, theMeterCountFallsForEachUnusedDoseChannel) {
    struct Case {
        Rows rows;
        int count;
    } const cases[] = {
        {{{"Criterion", "90 dB", "90 dB", "90 dB"}}, 3},
        {{{"PW Duration", "08:00:00", "08:00:00", "08:00:00"}}, 3},
        {{{"PW Duration", "08:00:00", "00:00:00", "00:00:00"}}, 1},
        {{{"PW Duration", "08:00:00", "", "01:00:00"}}, 2},
        {{{"PW Duration", "00:00:00", "08:00:00", "08:00:00"}}, 3},   // D1 does not count
        {{{"PW  Duration", "08:00:00", "00:00:00", "00:00:00"}}, 3},  // labels compare exactly
    };
    LanguageTexts english;
    loadDefaultTexts(english);
    for (const Case& c : cases)
        EXPECT_EQ(plotSummaryOf(summaryOf(c.rows), english).meterCount, c.count) << c.rows[0][0];
}

TEST(PlotRowsTest, summaryLabelsAreFoundByTheLoadedLanguagesTexts) {
    LanguageTexts table;
    loadDefaultTexts(table);
    applyLanguageLines({"Criterion\\Kriterium", "Exchange Rate\\Halbierungsparameter", "Duration\\Dauer",
                        "PW Duration\\PW-Dauer"},
                       table);
    const GridCopy german = summaryOf({{"Kriterium", "85 dB", "", ""},
                                       {"Halbierungsparameter", "3 dB", "", ""},
                                       {"PW-Dauer", "08:00:00", "00:00:00", ""},
                                       {"Dauer", "02:00:00", "", ""},
                                       {"Kriterium", "90 dB", "", ""}});  // a later row wins
    const PlotSummary s = plotSummaryOf(german, table);
    EXPECT_EQ(s.criterion, "90 dB");
    EXPECT_EQ(s.exchangeRate, "3 dB");
    EXPECT_EQ(s.duration, "02:00:00");
    EXPECT_EQ(s.meterCount, 1);

    // The English labels are not the loaded texts: nothing is found.
    const PlotSummary none = plotSummaryOf(summaryOf(sqtest::summaryRows()), table);
    EXPECT_EQ(none.criterion, "---");
    EXPECT_EQ(none.exchangeRate, "---");
    EXPECT_EQ(none.duration, "---");
    EXPECT_EQ(none.meterCount, 3);
}

TEST(PlotRowsTest, theFooterShowsTheCalibrationRecord) {
    struct Case {
        ClockRecord date;
        const char* level;
        const char* shown;
        PlotCalibrationTexts expected;
    } const cases[] = {
        {{}, "----", "----", {"----\\--\\--", "--:--:--", "----"}},
        {{2021, 3, 5, 10, 0, 30}, "94.0", "----", {"2021\\3\\5", "10:0:30", "94.0"}},
        {{2021, 3, 5, 0, 0, 0}, "94.0", "----", {"2021\\3\\5", "0:0:0", "94.0"}},
        {{2021, 0, 5, 10, 20, 30}, "OFF", "----", {"----\\--\\--", "--:--:--", "OFF"}},
        {{2021, 3, 5, 10, 0, 30}, "0.0", "----", {"2021\\3\\5", "10:0:30", "OFF"}},
        {{2021, 3, 5, 10, 0, 30}, "----", "93.5", {"2021\\3\\5", "10:0:30", "93.5"}},
    };
    for (const Case& c : cases) {
        const PlotCalibrationTexts t = plotCalibrationTexts(c.date, c.level, c.shown);
        EXPECT_EQ(t.date, c.expected.date);
        EXPECT_EQ(t.time, c.expected.time);
        EXPECT_EQ(t.level, c.expected.level);
    }
}

// ---------------------------------------------------------------------------------------------
// ShowRecordPlot

TEST_F(PlotTest, aGridWithoutPointRowsChangesNothing) {
    timer1.setEnabled(false);  // polling left as it was: a call would switch it on at its end
    sq::ShowRecordPlot(*summary, *points, 2, "LAVG");
    EXPECT_EQ(plotWindow(), nullptr);
    EXPECT_EQ(flags().PlotOpen, kFalse);
    EXPECT_EQ(main().Caption(), "Panel V10.06 - COM1 - QVX 410");
    EXPECT_FALSE(timer1.enabled());
    EXPECT_TRUE(PlotData()[0].empty());
}

TEST_F(PlotTest, aCallFillsAndShowsTheWindowWithPollingPausedMeanwhile) {
    Rows rows = risingPoints(30);
    rows[29][2] = "*150.0 dB";  // the last row keeps its marked level
    bool pollingDuringCall = true;
    std::string captionDuringCall;
    EventPacer::setTestHook(3, [&] {
        pollingDuringCall = timer1.enabled() || timer2.enabled();
        captionDuringCall = main().Caption();
    });
    Plot& p = plot(rows);

    EXPECT_FALSE(pollingDuringCall);
    EXPECT_EQ(captionDuringCall, "3 Completed");
    EXPECT_TRUE(timer1.enabled());
    EXPECT_TRUE(timer2.enabled());
    EXPECT_EQ(main().Caption(), "Panel V10.06");

    EXPECT_TRUE(p.Visible());
    EXPECT_EQ(flags().PlotOpen, kTrue);
    ASSERT_EQ(PlotData()[0].size(), 30u);
    EXPECT_EQ(PlotXMin(), 8.0 / 24);
    EXPECT_DOUBLE_EQ(PlotXMax(), (8 * 60 + 29) / 1440.0);
    EXPECT_EQ(PlotData()[1][0], 40);
    EXPECT_EQ(PlotData()[1][29], 150);
    GraphControl& g = p.LevelGraph;
    EXPECT_EQ(g.Axes(1).AxisMinimum(), PlotXMin());
    EXPECT_EQ(g.Axes(1).AxisMaximum(), PlotXMax());
    EXPECT_EQ(g.Axes(2).AxisMinimum(), 25);
    EXPECT_EQ(g.Axes(2).AxisMaximum(), 150);
    EXPECT_EQ(g.Axes(1).Caption(), "Time");
    EXPECT_EQ(g.Axes(2).Caption(), "LAVG (dB)");

    for (int i : {1, 2}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(p.AxisMin(i).Minimum(), i == 1 ? PlotXMin() : 25);
        EXPECT_EQ(p.AxisMax(i).Minimum(), i == 1 ? PlotXMin() : 25);
        EXPECT_EQ(p.AxisMin(i).Maximum(), i == 1 ? PlotXMax() : 150);
        EXPECT_EQ(p.AxisMax(i).Maximum(), i == 1 ? PlotXMax() : 150);
    }
    EXPECT_EQ(p.AxisMin(1).Value(), PlotXMin());
    EXPECT_EQ(p.AxisMax(1).Value(), PlotXMax());
    EXPECT_EQ(p.AxisMin(1).Text(), "08:00:00");
    EXPECT_EQ(p.AxisMax(1).Text(), "08:29:00");
    EXPECT_EQ(p.AxisMin(2).Value(), 60);
    EXPECT_EQ(p.AxisMax(2).Value(), 140);

    EXPECT_EQ(p.LblPrintStartTimeValue.Caption(), "2022/03/30 08:00:00");
    EXPECT_EQ(p.LblPrintStopTimeValue.Caption(), "2022/03/30 08:29:00");
    EXPECT_EQ(p.LblPrintCriterionValue.Caption(), "90 dB");
    EXPECT_EQ(p.LblPrintExchangeRateValue.Caption(), "3 dB");
    EXPECT_EQ(p.LblPrintDurationValue.Caption(), "01:23:45");
    EXPECT_EQ(p.LblPrintCriterionMeterValue.Caption(), "2");
    EXPECT_EQ(p.LblPrintExchangeRateMeterValue.Caption(), "2");
}

TEST_F(PlotTest, theKeptCaptionComesBackUpToItsFirstDash) {
    for (const auto& [kept, restored] : std::vector<std::pair<std::string, std::string>>{
             {"A - B - C", "A"}, {"Panel V10.06", "Panel V10.06"}, {"A-B - C", "A-B"}, {" - A", ""}}) {
        main().setCaption(kept);
        plot(risingPoints(3));
        EXPECT_EQ(main().Caption(), restored) << kept;
    }
}

TEST_F(PlotTest, summaryRowsThatAreMissingLeaveDashes) {
    setGrid(*summary, {{"Criterion", "90 dB", "", ""}});
    Plot& p = plot(risingPoints(3));
    EXPECT_EQ(p.LblPrintCriterionValue.Caption(), "90 dB");
    EXPECT_EQ(p.LblPrintExchangeRateValue.Caption(), "---");
    EXPECT_EQ(p.LblPrintDurationValue.Caption(), "---");
    EXPECT_EQ(p.LblPrintCriterionMeterValue.Caption(), "3");
}

TEST_F(PlotTest, aOnePointRecordDrawsAnEmptyRangeAroundItsPoint) {
    Plot& p = plot({pointRow(1, "2022/03/30 12:00:00", "*72.3 dB")});
    EXPECT_EQ(PlotXMin(), 0.5);
    EXPECT_EQ(PlotXMax(), 0.5);
    EXPECT_EQ(PlotData()[1][0], 72.3);
    EXPECT_EQ(p.LevelGraph.Axes(1).AxisMinimum(), 0);
    EXPECT_EQ(p.LevelGraph.Axes(1).AxisMaximum(), 1);
    EXPECT_EQ(p.AxisMin(1).Text(), "12:00:00");
    EXPECT_FALSE(grab(p).isNull());
}

TEST_F(PlotTest, aRefillKeepsTheModeTheCursorAndTheLevelEditors) {
    Plot& p = plot(risingPoints(20));
    p.Combo1.choose(1);
    p.AxisMin(2).stepBy(100);     // 70.0, as the user steps it
    p.AxisMax(2).fastStepBy(-4);  // 120.0
    const double cursorX = p.LevelGraph.Cursors(1).CursorX();
    int valueChanges = 0;
    for (int i : {1, 2}) {
        p.AxisMin(i).onValueChanged = [&](int) { ++valueChanges; };
        p.AxisMax(i).onValueChanged = [&](int) { ++valueChanges; };
    }

    plot(risingPoints(40, 14), 3, "LEQ");
    EXPECT_EQ(plotWindow(), &p);
    EXPECT_EQ(valueChanges, 0);
    EXPECT_EQ(p.Combo1.ListIndex(), 1);
    EXPECT_EQ(p.LevelGraph.TrackMode(), GraphControl::kTrackDragCursor);
    ASSERT_EQ(p.LevelGraph.Cursors().Count(), 1);
    EXPECT_EQ(p.LevelGraph.Cursors(1).CursorX(), cursorX);
    EXPECT_EQ(p.AxisMin(2).Value(), 70);
    EXPECT_EQ(p.AxisMax(2).Value(), 120);
    // The plot, the ranges and the labels are the new record's.
    EXPECT_EQ(PlotXMin(), 14.0 / 24);
    EXPECT_EQ(p.LevelGraph.Axes(1).AxisMinimum(), 14.0 / 24);
    EXPECT_EQ(p.LevelGraph.Axes(2).AxisMinimum(), 25);
    EXPECT_EQ(p.LevelGraph.Axes(2).Caption(), "LEQ (dB)");
    EXPECT_EQ(PlotData()[1][0], 61);
    EXPECT_EQ(p.LblPrintStartTimeValue.Caption(), "2022/03/30 14:00:00");
}

TEST_F(PlotTest, anUnreadableRowEndsTheCallBeforeAnythingIsShown) {
    Rows bad = risingPoints(10, 16);
    bad[6][1] = "2022/03/30 16:06";
    timer1.setEnabled(false);
    ShowRecordPlot(*summary, *points, 2, "LAVG");  // no rows yet: nothing at all
    setGrid(*points, bad);
    ShowRecordPlot(*summary, *points, 2, "LAVG");
    EXPECT_EQ(plotWindow(), nullptr);
    EXPECT_EQ(main().Caption(), "Panel V10.06");
    EXPECT_TRUE(timer1.enabled());

    Plot& p = plot(risingPoints(10));
    const auto data = PlotData();
    const double xMin = PlotXMin(), xMax = PlotXMax();
    for (const char* cell : {"", "2022/03/30_16:06:00", "2022/03/30 25:00:00", "2022/02/30 16:06:00"}) {
        bad[6][1] = cell;
        setGrid(*points, bad);
        main().setCaption("Panel V10.06 - COM1");
        ShowRecordPlot(*summary, *points, 2, "LEQ");
        EXPECT_EQ(PlotData(), data) << cell;
        EXPECT_EQ(PlotXMin(), xMin);
        EXPECT_EQ(PlotXMax(), xMax);
        EXPECT_EQ(p.LevelGraph.Axes(1).AxisMinimum(), xMin);
        EXPECT_EQ(p.LevelGraph.Axes(2).Caption(), "LAVG (dB)");
        EXPECT_EQ(p.LblPrintStartTimeValue.Caption(), "2022/03/30 08:00:00");
        EXPECT_EQ(main().Caption(), "Panel V10.06");
    }
}

TEST_F(PlotTest, aCallWhileAnotherRunsDoesNothing) {
    FlexGrid other(&host, 1, 6, 1, 1);
    setGrid(other, risingPoints(5, 20));
    EventPacer::setTestHook(2, [&] { ShowRecordPlot(*summary, other, 2, "LZPK"); });
    plot(risingPoints(10));
    EXPECT_EQ(PlotData()[0].size(), 10u);
    EXPECT_EQ(PlotXMin(), 8.0 / 24);
    EXPECT_EQ(plotWindow()->LevelGraph.Axes(2).Caption(), "LAVG (dB)");
    // Once it has ended, the next call runs.
    ShowRecordPlot(*summary, other, 2, "LZPK");
    EXPECT_EQ(PlotXMin(), 20.0 / 24);
}

TEST_F(PlotTest, aRecordPastMidnightKeepsRising) {
    plot(risingPoints(120, 23));
    EXPECT_LT(PlotXMin(), PlotXMax());
    EXPECT_GT(PlotXMax(), 1);
    for (size_t i = 1; i < PlotData()[0].size(); ++i) ASSERT_GT(PlotData()[0][i], PlotData()[0][i - 1]) << i;
    EXPECT_EQ(plotWindow()->AxisMax(1).Text(), "00:59:00");
}

}  // namespace
}  // namespace sq
