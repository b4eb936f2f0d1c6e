// The Plot window: its opening, texts, track modes, cursor read-outs, range editors, Reset, the
// resize rule, what it draws, and printing it through a PDF printer.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QTest>
#include <cerrno>
#include <regex>

#include "mainwindow/language_frm.h"
#include "platform/numbers.h"
#include "platform/text_file.h"
#include "platform/ui/graph_scale.h"
#include "platform/ui/twips.h"
#include "reports/plot.h"
#include "reports/plot_fixture.h"
#include "reports/plot_layout.h"
#include "support/failed_print_to_file.h"
#include "support/test_support.h"

namespace sq {
namespace {

using sqtest::PlotTest;
using sqtest::risingPoints;

constexpr double kPixel = 15;  // twips, at the test screen's 96 dpi

bool isTrace(QRgb c) {
    return qBlue(c) > qRed(c) + 60 && qBlue(c) > qGreen(c) + 40;
}

// Trace pixels of `image` inside `r`.
int traceIn(const QImage& image, const QRect& r) {
    int count = 0;
    for (int y = std::max(0, r.top()); y <= std::min(image.height() - 1, r.bottom()); ++y)
        for (int x = std::max(0, r.left()); x <= std::min(image.width() - 1, r.right()); ++x)
            count += isTrace(image.pixel(x, y));
    return count;
}

// A user's choice of a track mode from the list: the list changes, then reports the choice.
void userChoose(Plot& p, int index) {
    p.Combo1.choose(index);
}

TEST_F(PlotTest, theWindowOpensAtTheMainWindowOnItsOwnWithoutMinimiseOrMaximise) {
    main().Move(1500, 900, 9000, 6000);
    main().Show();
    Plot& p = plot(risingPoints(10));
    EXPECT_EQ(p.Caption(), "Plot");
    EXPECT_TRUE(p.surface()->isWindow());
    const Qt::WindowFlags f = p.surface()->windowFlags();
    EXPECT_FALSE(f & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(f & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(f & Qt::WindowCloseButtonHint);
    EXPECT_NEAR(p.Left(), main().Left(), kPixel);
    EXPECT_NEAR(p.Top(), main().Top(), kPixel);
    EXPECT_NEAR(p.Width(), 11955, kPixel);
    EXPECT_NEAR(p.Height(), 8960, kPixel);
    EXPECT_NEAR(p.LevelGraph.Top(), 100, kPixel);
    EXPECT_NEAR(p.FrmGraphic.Top(), 5570, kPixel);
    EXPECT_FALSE(p.SSPPrintUpForm.Visible());
    EXPECT_FALSE(p.SSPPrintDownForm.Visible());
    EXPECT_EQ(p.Combo1.ListIndex(), 0);
    EXPECT_EQ(p.LevelGraph.TrackMode(), GraphControl::kTrackNormal);
    EXPECT_EQ(p.txtDescription.Text(), "Normal mode");
    EXPECT_EQ(p.LevelGraph.Axes(1).LabelFormat(), "hh:nn:ss");

    // Closed by the user, the window is gone with its flag; the next plot opens it afresh.
    p.AxisMin(2).stepBy(5);
    userChoose(p, 3);
    p.surface()->close();
    EXPECT_EQ(flags().PlotOpen, kFalse);
    Plot& again = plot(risingPoints(10));
    EXPECT_EQ(flags().PlotOpen, kTrue);
    EXPECT_EQ(again.AxisMin(2).Value(), 60);
    EXPECT_EQ(again.AxisMax(2).Value(), 140);
    EXPECT_EQ(again.LevelGraph.TrackMode(), GraphControl::kTrackNormal);
}

TEST_F(PlotTest, theLanguageWindowClosesTheGraphByItsFlag) {
    plot(risingPoints(5));
    ASSERT_EQ(flags().PlotOpen, kTrue);
    (void)form<LanguageFrm>();
    EXPECT_EQ(flags().PlotOpen, kFalse);
    EXPECT_EQ(plotWindow(), nullptr);
}

TEST_F(PlotTest, textsComeFromTheTableWhenTheWindowLoads) {
    texts().TxtGraphicPlot = "Grafik";
    texts().TxtTimers = "Zeit";
    texts().TxtNosY = "dB (Y):";
    texts().TxtPanX = "Schwenk X";
    texts().TxtResetScale = "Zurück";
    Plot& p = plot(risingPoints(5));
    EXPECT_EQ(p.FrmGraphic.Caption(), "Grafik");
    EXPECT_EQ(p.SSFGraphRange.Caption(), "Graph Range");
    EXPECT_EQ(p.SSFTrackMode.Caption(), "Track Mode");
    EXPECT_EQ(p.SSFCursorInformation.Caption(), "Cursor Information");
    EXPECT_EQ(p.LblNos.Caption(), "Zeit");
    EXPECT_EQ(p.LblNosX.Caption(), "Zeit");
    EXPECT_EQ(p.LblNosY.Caption(), "dB (Y):");
    EXPECT_EQ(p.CmdReset.Caption(), "Zurück");
    EXPECT_EQ(p.CmdPrint.Caption(), "Print Graph");
    EXPECT_EQ(p.LevelGraph.Axes(1).Caption(), "Zeit");
    ASSERT_EQ(p.Combo1.ListCount(), 8);
    EXPECT_EQ(p.Combo1.List(3), "Schwenk X");
}

TEST_F(PlotTest, eachTrackModeSetsItsModeAndHelpAndOnlyCursorCoordinatesKeepsACursor) {
    const std::string modes[] = {
        "Normal mode",
        "Drag the cursor with your mouse to get X (Count) and Y (dB) position.",
        "Click anywhere on the plot area and drag to pan the graph both horizontally and vertically.",
        "Click anywhere on the plot area and drag to pan the graph horizontally.",
        "Click anywhere on the plot area and drag to pan the graph vertically.",
        "Select a region on the graph to zoom both horizontally and vertically.",
        "Select a region on the graph to zoom horizontally.",
        "Select a region on the graph to zoom vertically.",
    };
    Plot& p = plot(risingPoints(10));
    for (int from : {0, 1}) {
        for (int i = 0; i < 8; ++i) {
            SCOPED_TRACE(std::to_string(from) + " then " + std::to_string(i));
            userChoose(p, from);
            userChoose(p, i);
            EXPECT_EQ(p.Combo1.List(i), p.Combo1.Text());
            EXPECT_EQ(p.LevelGraph.TrackMode(), i + 1);
            EXPECT_EQ(p.txtDescription.Text(), modes[i]);
            EXPECT_EQ(p.LevelGraph.Cursors().Count(), i == 1 ? 1 : 0);
        }
    }
    // With nothing selected nothing changes.
    p.Combo1.setListIndex(-1);
    EXPECT_EQ(p.LevelGraph.TrackMode(), 8);
}

TEST_F(PlotTest, cursorCoordinatesChosenAgainKeepsOneRedCursorAndCentresIt) {
    Plot& p = plot(risingPoints(61));  // 08:00 to 09:00
    userChoose(p, 1);
    GraphControl& g = p.LevelGraph;
    ASSERT_EQ(g.Cursors().Count(), 1);
    EXPECT_EQ(g.Cursors(1).CursorColor(), 255);
    EXPECT_EQ(g.Cursors(1).SnapMode(), 1);
    EXPECT_DOUBLE_EQ(g.Cursors(1).CursorX(), 8.5 / 24);
    EXPECT_DOUBLE_EQ(g.Cursors(1).CursorY(), 87.5);
    EXPECT_EQ(p.XPosition.Caption(), "08:30:00");
    EXPECT_EQ(p.YPosition.Caption(), "87.5");

    g.Cursors(1).setCursorX(8.9 / 24);
    g.Axes(2).SetMinMax(40, 80);
    userChoose(p, 1);
    ASSERT_EQ(g.Cursors().Count(), 1);
    EXPECT_DOUBLE_EQ(g.Cursors(1).CursorX(), 8.5 / 24);
    EXPECT_DOUBLE_EQ(g.Cursors(1).CursorY(), 60);
    EXPECT_EQ(p.YPosition.Caption(), "60.0");

    userChoose(p, 4);
    EXPECT_EQ(g.Cursors().Count(), 0);
}

TEST_F(PlotTest, draggingTheCursorShowsItsTimeOfDayAndLevel) {
    Plot& p = plot(risingPoints(61, 23));  // 23:00 to 00:00 the next day
    p.Show();
    userChoose(p, 1);
    GraphControl& g = p.LevelGraph;
    const QRect area = g.plotArea();
    QWidget* w = g.widget();
    const QPoint from = area.center();
    const QPoint to(area.left() + area.width() * 9 / 10, area.top() + area.height() / 5);
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(w, (from + to) / 2);
    QTest::mouseMove(w, to);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, to);

    const GraphCursor& c = g.Cursors(1);
    EXPECT_GT(c.CursorX(), 23.85 / 24);
    EXPECT_EQ(p.XPosition.Caption(), timeOfDayText(c.CursorX()));
    EXPECT_TRUE(std::regex_match(p.XPosition.Caption(), std::regex("23:5\\d:\\d\\d")))
        << p.XPosition.Caption();
    EXPECT_EQ(p.YPosition.Caption(), formatFixed(c.CursorY(), 1));
    EXPECT_TRUE(std::regex_match(p.YPosition.Caption(), std::regex("1[23]\\d\\.\\d")))
        << p.YPosition.Caption();
    // The read-outs grow with their texts.
    EXPECT_GT(p.XPosition.Width(), textWidthTwips(p.XPosition.font(), "23:59:5"));

    // A second cursor moving changes nothing.
    const std::string shown = p.XPosition.Caption();
    g.Cursors().Add().setCursorX(23.1 / 24);
    EXPECT_EQ(p.XPosition.Caption(), shown);
}

TEST_F(PlotTest, theEditorsSetTheirAxisInEitherOrderAndResetReturnsToTheRecord) {
    Plot& p = plot(risingPoints(121, 10));  // 10:00 to 12:00
    GraphControl& g = p.LevelGraph;
    // The user types a time into the x editors, then steps the y editors past each other.
    p.AxisMax(1).setValue(11.0 / 24);
    p.AxisMin(1).stepBy(-1);  // clamped at the record's start: no change, no event
    EXPECT_EQ(g.Axes(1).AxisMaximum(), 12.0 / 24);
    p.AxisMin(1).stepBy(3600);
    EXPECT_DOUBLE_EQ(g.Axes(1).AxisMinimum(), 11.0 / 24);  // 11:00 and 11:00 spread to half a day around it
    p.AxisMin(1).stepBy(600);
    EXPECT_DOUBLE_EQ(g.Axes(1).AxisMinimum(), 11.0 / 24);
    EXPECT_DOUBLE_EQ(g.Axes(1).AxisMaximum(), 11.0 / 24 + 600 / kSecondsPerDay);

    p.AxisMin(2).setValue(140);
    p.AxisMax(2).setValue(60);
    p.AxisMax(2).stepBy(1);
    EXPECT_DOUBLE_EQ(g.Axes(2).AxisMinimum(), 60.1);
    EXPECT_DOUBLE_EQ(g.Axes(2).AxisMaximum(), 140);
    const QImage image = grab(p);
    EXPECT_GT(traceIn(image, g.plotArea().translated(g.widget()->mapTo(p.surface(), QPoint(0, 0)))), 0);

    p.CmdReset.click();
    EXPECT_DOUBLE_EQ(g.Axes(1).AxisMinimum(), 10.0 / 24);
    EXPECT_DOUBLE_EQ(g.Axes(1).AxisMaximum(), 12.0 / 24);
    EXPECT_EQ(g.Axes(2).AxisMinimum(), 25);
    EXPECT_EQ(g.Axes(2).AxisMaximum(), 150);
    EXPECT_EQ(p.AxisMin(2).Value(), 140);  // the editors keep their values
    EXPECT_DOUBLE_EQ(p.AxisMax(2).Value(), 60.1);
}

TEST(PlotLayoutTest, theResizeRuleAtTheOpeningSizeAndBeyond) {
    const PlotLayout l = plotLayout(11955, 8790);
    EXPECT_EQ(l.windowWidth, 11955);
    EXPECT_EQ(l.windowHeight, 8960);
    EXPECT_EQ(l.levelGraph.left, 100);
    EXPECT_EQ(l.levelGraph.top, 100);
    EXPECT_EQ(l.levelGraph.width, 11615);
    EXPECT_EQ(l.levelGraph.height, 5370);
    EXPECT_EQ(l.frmGraphic.top, 5570);
    EXPECT_EQ(l.frmGraphic.width, 11515);
    EXPECT_FLOAT_EQ(l.graphRange.width, 11515.0f / 3 - 220);
    EXPECT_FLOAT_EQ(l.trackMode.left, 11515.0f / 3 + 110);
    EXPECT_FLOAT_EQ(l.cursorInformation.left, 2 * 11515.0f / 3 + 110);
    EXPECT_FLOAT_EQ(l.xMin.width, l.graphRange.width / 2 - 600);
    EXPECT_FLOAT_EQ(l.yMin.left, l.xMin.left + l.xMin.width + 600);
    EXPECT_FLOAT_EQ(l.lblMaxLeft, l.xMax.left + l.xMax.width);
    EXPECT_FLOAT_EQ(l.cmdPrint.left, l.cmdReset.left + l.cmdReset.width + 50);
    EXPECT_FLOAT_EQ(l.combo1.width, l.trackMode.width - 240);

    const PlotLayout small = plotLayout(9000, 6000);
    EXPECT_EQ(small.windowWidth, 11360);
    EXPECT_EQ(small.windowHeight, 8960);
    EXPECT_EQ(small.levelGraph.width, 11020);
    const PlotLayout large = plotLayout(15000, 12000);
    EXPECT_EQ(large.levelGraph.width, 14660);
    EXPECT_EQ(large.levelGraph.height, 8410);
    EXPECT_EQ(large.frmGraphic.top, 8610);

    // Printed at the opening size: 17040 high, the graph below the header, the footer below where
    // the resize rule put the graph.
    const PlotPrintLayout print = plotPrintLayout(11955, 5370);
    EXPECT_EQ(print.height, 17040);
    EXPECT_EQ(print.header.top, 120);
    EXPECT_EQ(print.graph.top, 7095);
    EXPECT_EQ(print.graph.height, 5295);
    EXPECT_EQ(print.footer.top, 13650);
    EXPECT_EQ(print.footer.left, 120);
}

TEST_F(PlotTest, aWindowSizedBelowTheMinimumSnapsBack) {
    Plot& p = plot(risingPoints(10));
    p.Move(p.Left(), p.Top(), 9000, 6000);
    EXPECT_NEAR(p.Width(), 11360, kPixel);
    EXPECT_NEAR(p.Height(), 8960, kPixel);
    EXPECT_NEAR(p.LevelGraph.Width(), 11020, kPixel);
    p.Move(p.Left(), p.Top(), 15000, 12000);
    EXPECT_NEAR(p.LevelGraph.Width(), 14660, kPixel);
    EXPECT_NEAR(p.LevelGraph.Height(), 8410, kPixel);
    EXPECT_NEAR(p.FrmGraphic.Top(), 8610, kPixel);
    EXPECT_EQ(p.sheet()->size(), p.surface()->size());
}

TEST_F(PlotTest, aSteadilyRisingRecordRunsFromLowerLeftToUpperRight) {
    Plot& p = plot(risingPoints(200, 8, 0.5));  // 40 to 139.5 dB
    p.Show();
    const QImage image = grab(p);
    GraphControl& g = p.LevelGraph;
    const QRect a = g.plotArea().translated(g.widget()->mapTo(p.surface(), QPoint(0, 0)));
    const int w = a.width() / 4, h = a.height() / 4;
    EXPECT_GT(traceIn(image, QRect(a.left(), a.top() + 3 * h, w, h)), 0);       // lower left
    EXPECT_GT(traceIn(image, QRect(a.right() - w, a.top(), w, h)), 0);          // upper right
    EXPECT_EQ(traceIn(image, QRect(a.left(), a.top(), w, h)), 0);               // upper left
    EXPECT_EQ(traceIn(image, QRect(a.right() - w, a.top() + 3 * h, w, h)), 0);  // lower right
}

// ---------------------------------------------------------------------------------------------
// Print

class PlotPrintTest : public PlotTest {
protected:
    void SetUp() override {
        PlotTest::SetUp();
        dir = sqtest::makeTempDir("plot");
        Runtime::get().setLocalDateTime(QDateTime(QDate(2023, 7, 14), QTime(9, 15, 0)));
        shared().CalibrationLevelText = "----";
    }
    // Prints the window to a PDF file; the path.
    std::string print(Plot& p, const std::string& name) {
        const std::string pdf = dir + "/" + name + ".pdf";
        dialogs->printerAnswers = {PrinterChoice::pdfFile(pdf)};
        p.CmdPrint.click();
        return pdf;
    }
    std::string textOf(const std::string& pdf) {
        return sqtest::runCommand("pdftotext -layout '" + pdf + "' -");
    }

    // Afterwards the window is as it opens, in mode Normal.
    static void expectRestored(Plot& p) {
        EXPECT_EQ(p.Combo1.ListIndex(), 0);
        EXPECT_EQ(p.LevelGraph.TrackMode(), GraphControl::kTrackNormal);
        EXPECT_EQ(p.txtDescription.Text(), "Normal mode");
        EXPECT_EQ(p.LevelGraph.Cursors().Count(), 0);
        EXPECT_NEAR(p.Width(), 11955, kPixel);
        EXPECT_NEAR(p.Height(), 8960, kPixel);
        EXPECT_NEAR(p.LevelGraph.Top(), 100, kPixel);
        EXPECT_NEAR(p.LevelGraph.Height(), 5370, kPixel);
        EXPECT_EQ(p.sheet()->size(), p.surface()->size());
        EXPECT_TRUE(p.FrmGraphic.Visible());
        EXPECT_FALSE(p.SSPPrintUpForm.Visible());
        EXPECT_FALSE(p.SSPPrintDownForm.Visible());
        EXPECT_EQ(p.LevelGraph.GraphColor(), 0xF0F0F0);
    }
    // The top of the first word `word` on the page, in points; -1 when there is none.
    double wordTop(const std::string& pdf, const std::string& word) {
        const std::string boxes = sqtest::runCommand("pdftotext -bbox '" + pdf + "' -");
        std::smatch m;
        if (!std::regex_search(boxes, m, std::regex("yMin=\"([0-9.]+)\"[^>]*>" + word + "<"))) return -1;
        return std::stod(m[1]);
    }

    std::string dir;
};

TEST_F(PlotPrintTest, theGraphPrintsAsAOnePageReport) {
    Plot& p = plot(risingPoints(200, 8, 0.5));
    userChoose(p, 1);
    p.Move(p.Left(), p.Top(), 13000, 9500);  // printed at the opening size's height and restored to it
    const std::string pdf = print(p, "graph");

    EXPECT_NE(sqtest::runCommand("pdfinfo '" + pdf + "'").find("Pages:           1"), std::string::npos);
    const std::string text = textOf(pdf);
    for (const char* expected : {"Report",
                                 "2023-07-14",
                                 "Information",
                                 "Idea",
                                 "Start Date/Time",
                                 "2022/03/30 08:00:00",
                                 "Stop Date/Time",
                                 "2022/03/30 11:19:00",
                                 "Duration",
                                 "01:23:45",
                                 "Summary Data",
                                 "Description",
                                 "Meter",
                                 "Value",
                                 "Exchange Rate",
                                 "3 dB",
                                 "Criterion Level",
                                 "90 dB",
                                 "Data Chart",
                                 "Calibration Record",
                                 "Date",
                                 "Time",
                                 "Level"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    EXPECT_TRUE(
        std::regex_search(text, std::regex("Exchange Rate\\s+2\\s+3 dB\\s+Criterion Level\\s+2\\s+90 dB")))
        << text;
    // The frame of editors is not printed.
    EXPECT_EQ(text.find("Graph Range"), std::string::npos);
    EXPECT_EQ(text.find("Reset Scale"), std::string::npos);

    // The trace lies between the header's last heading and the footer's title.
    sqtest::runCommand("pdftoppm -r 50 -png -singlefile '" + pdf + "' '" + dir + "/page'");
    const QImage page(QString::fromStdString(dir + "/page.png"));
    ASSERT_FALSE(page.isNull());
    int firstTrace = page.height(), lastTrace = -1;
    for (int y = 0; y < page.height(); ++y)
        if (traceIn(page, QRect(0, y, page.width(), 1)) > 0) {
            firstTrace = std::min(firstTrace, y);
            lastTrace = y;
        }
    const double chart = wordTop(pdf, "Chart") * 50 / 72;
    const double footer = wordTop(pdf, "Calibration") * 50 / 72;
    ASSERT_GT(chart, 0);
    EXPECT_GT(firstTrace, chart);
    EXPECT_LT(lastTrace, footer);
    EXPECT_GT(lastTrace - firstTrace, (footer - chart) / 3);

    expectRestored(p);
    EXPECT_EQ(p.LevelGraph.Axes(2).AxisMinimum(), 60);
    EXPECT_EQ(p.LevelGraph.Axes(2).AxisMaximum(), 140);
    p.CmdReset.click();
    EXPECT_EQ(p.LevelGraph.Axes(2).AxisMinimum(), 25);
    EXPECT_EQ(p.LevelGraph.Axes(2).AxisMaximum(), 150);
}

TEST_F(PlotPrintTest, theFooterShowsTheCalibrationReplies) {
    struct Case {
        ClockRecord date;
        const char* level;
        std::vector<std::string> footer;
    } const cases[] = {
        {{}, "----", {"----\\--\\--", "--:--:--", "----"}},
        {{2021, 3, 5, 10, 0, 30}, "94.0", {"2021\\3\\5", "10:0:30", "94.0"}},
        {{2021, 3, 5, 10, 0, 30}, "OFF", {"OFF"}},
    };
    Plot& p = plot(risingPoints(20));
    int n = 0;
    for (const Case& c : cases) {
        shared().CalibrationDateTime = c.date;
        shared().CalibrationLevelText = c.level;
        const std::string text = textOf(print(p, "footer" + std::to_string(++n)));
        const std::string footer = text.substr(text.find("Calibration Record"));
        for (const std::string& expected : c.footer)
            EXPECT_NE(footer.find(expected), std::string::npos) << expected;
    }
}

TEST_F(PlotPrintTest, cancelRestoresTheWindowAndWritesNoFile) {
    Plot& p = plot(risingPoints(20));
    userChoose(p, 1);
    p.Move(p.Left(), p.Top(), 12500, 9800);
    dialogs->printerAnswers = {std::nullopt};
    p.CmdPrint.click();
    EXPECT_EQ(dialogs->records.back().kind, "printer");
    expectRestored(p);
    EXPECT_EQ(p.LevelGraph.Axes(2).AxisMinimum(), 25);  // the printed range was never set
    EXPECT_EQ(sqtest::runCommand("ls -A '" + dir + "'"), "");
}

// Print Graph to a file that cannot be written: the file of that name stays as it was, nothing is
// left beside it, the user is told why, and the window comes back as after any print.
TEST_F(PlotPrintTest, aFailedPrintToFileSaysWhyAndLeavesTheOldFile) {
    Plot& p = plot(risingPoints(200, 8, 0.5));
    sqtest::expectFailedPrintKeepsTheOldFile(*dialogs, dir, "graph.pdf", [&] { print(p, "graph"); });
    expectRestored(p);
}

}  // namespace
}  // namespace sq
