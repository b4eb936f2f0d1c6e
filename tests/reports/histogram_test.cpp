// The level histogram window: its load, the mode table and "Limit", "Reset" back to the last
// distribution, the resize rule, closing by the language window, and printing to a PDF printer.
#include "reports/histogram.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <cerrno>
#include <regex>

#include "mainwindow/language_frm.h"
#include "platform/dialogs.h"
#include "platform/runtime.h"
#include "platform/text_file.h"
#include "platform/ui/printer_surface.h"
#include "records/data_list_frm.h"
#include "records/level_distribution_run.h"
#include "shared/state.h"
#include "support/failed_print_to_file.h"
#include "support/scripted_dialogs.h"
#include "support/stand_in_window.h"
#include "support/test_support.h"
#include "texts/language_texts.h"

namespace sq {
namespace {

// A window with a point grid and a resolution panel, as the record list windows hand them to the
// level distribution.
class PointWindow : public Window {
public:
    static constexpr const char* kName = "PointWindow";
    PointWindow() : Window(kName, WindowKind::TopLevel) {}
    FlexGrid Points{surface(), 1, 6, 1, 1};
    Panel3D Resolution{surface()};
};

class HistogramTest : public ::testing::Test {
protected:
    void SetUp() override {
        Runtime::get().setVirtualTime(true);
        windows().reset();
        resetSharedState();
        LoadDefaultTexts();
        levelDistributionResults() = {};
    }
    void TearDown() override {
        windows().reset();
        Runtime::get().setVirtualTime(false);
    }

    // Runs a distribution of LAVG cells through a window of its own; returns the histogram.
    static Histogram& distribute(const std::vector<std::string>& cells,
                                 LevelResolution resolution = LevelResolution::TenthDb) {
        PointWindow& w = form<PointWindow>();
        w.Points.setRows(1);
        for (size_t i = 0; i < cells.size(); ++i)
            w.Points.AddItem(std::to_string(i + 1) + "\t2022/03/30 14:05:09\t" + cells[i]);
        SelectedColumn() = 2;
        RunLevelDistribution(w, w.Points, w.Resolution, resolution);
        return form<Histogram>();
    }
    static std::vector<std::string> someLevels() {
        std::vector<std::string> cells;
        for (int p = 0; p < 60; ++p)
            cells.push_back(std::to_string(80 + p % 7) + "." + std::to_string(p % 10) + " dB");
        return cells;
    }
    // A level cell at every whole dB from 25 to 150: at 0.1 dB, 126 occupied bins ten bins apart.
    static std::vector<std::string> everyWholeDb() {
        std::vector<std::string> cells;
        for (int db = 25; db <= 150; ++db) cells.push_back(std::to_string(db) + ".0 dB");
        return cells;
    }
    static std::pair<double, double> xRange(Histogram& h) {
        return {h.HistGraph.Axes(1).AxisMinimum(), h.HistGraph.Axes(1).AxisMaximum()};
    }
    static std::pair<double, double> yRange(Histogram& h) {
        return {h.HistGraph.Axes(2).AxisMinimum(), h.HistGraph.Axes(2).AxisMaximum()};
    }

    ScopedScriptedDialogs dialogs;
};

TEST_F(HistogramTest, loadPlacesTheWindowAtTheMainWindowAndSetsItUp) {
    registerStandIn("Panel", nullptr, {}, WindowKind::TopLevel);
    Window& panel = windows().window("Panel");
    panel.Move(1500, 900, 6000, 4000);
    panel.Show();
    Histogram& h = form<Histogram>();
    h.Show();
    EXPECT_EQ(flags().HistogramOpen, kTrue);
    EXPECT_EQ(h.kind(), WindowKind::TopLevel);
    EXPECT_EQ(h.Caption(), "Histogram");
    EXPECT_NEAR(h.Left(), 1500, 15);
    EXPECT_NEAR(h.Top(), 900, 15);
    EXPECT_EQ(h.Toolbar1.buttonToolTip(1), "Limit");
    EXPECT_EQ(h.Toolbar1.buttonToolTip(2), "Print");
    EXPECT_EQ(h.HistGraph.Axes(1).Caption(), "dB");
    EXPECT_EQ(h.HistGraph.Axes(1).LabelFormat(), "*.1");
    EXPECT_EQ(h.HistGraph.Axes(2).Caption(), "Frequency (Times)");
    EXPECT_EQ(h.Combo1.ListCount(), 8);
    EXPECT_EQ(h.Combo1.List(0), "Normal");
    EXPECT_EQ(h.Combo1.List(7), "Reset");
    EXPECT_EQ(h.Combo1.ListIndex(), 0);
    EXPECT_EQ(h.HistGraph.TrackMode(), 1);
    EXPECT_EQ(h.txtDescription.Text(), "Normal mode");
    EXPECT_FALSE(h.Picture1.Visible());
    ASSERT_EQ(h.HistGraph.Cursors().Count(), 2);
    EXPECT_FALSE(h.HistGraph.Cursors(1).CursorVisible());
    EXPECT_FALSE(h.HistGraph.Cursors(2).CursorVisible());
    ASSERT_EQ(h.GridLn.Cols(), 11);
    EXPECT_EQ(h.GridLn.Rows(), 1);
    EXPECT_EQ(h.GridLn.TextMatrix(0, 0), "Ln");
    EXPECT_EQ(h.GridLn.TextMatrix(0, 1), " 0");
    EXPECT_EQ(h.GridLn.TextMatrix(0, 10), " 9");
    EXPECT_EQ(h.GridLn.ColAlignment(5), FlexAlign::CenterCenter);
    EXPECT_EQ(h.GridLn.ColWidth(0), 843);  // the resize rule's widths at the default size
    h.Unload();
    EXPECT_EQ(flags().HistogramOpen, kFalse);
}

TEST_F(HistogramTest, everyModeChoiceSetsItsTrackModeAndHidesTheCursorsAndThePanel) {
    Histogram& h = distribute(someLevels());
    const int expected[] = {1, 3, 4, 5, 6, 7, 8, 1};
    for (int index = 7; index >= 0; --index) {
        SCOPED_TRACE(index);
        h.HistGraph.setTrackMode(2);
        for (int c : {1, 2}) h.HistGraph.Cursors(c).setCursorVisible(true);
        h.Toolbar1.click("Limit");
        ASSERT_TRUE(h.Picture1.Visible());
        h.Combo1.choose(index);
        EXPECT_EQ(h.HistGraph.TrackMode(), expected[index]);
        EXPECT_FALSE(h.HistGraph.Cursors(1).CursorVisible());
        EXPECT_FALSE(h.HistGraph.Cursors(2).CursorVisible());
        EXPECT_FALSE(h.Picture1.Visible());
    }
    h.Toolbar1.click("Limit");
    EXPECT_TRUE(h.Picture1.Visible());
    h.Toolbar1.click("Limit");
    EXPECT_FALSE(h.Picture1.Visible());
}

TEST_F(HistogramTest, resetAfterAZoomRestoresBothRangesOfTheLastDistribution) {
    Histogram& h = distribute(someLevels());
    h.Show();
    const auto x = xRange(h);
    const auto y = yRange(h);
    EXPECT_EQ(x, std::make_pair(800.0, 869.0));  // HistMinBin 800 to HistMaxBin 868 + 1
    EXPECT_EQ(y.first, 0);
    EXPECT_EQ(y.second, levelDistributionResults().HistYMax);

    h.Combo1.choose(Histogram::kZoomXY);
    QWidget* graph = h.HistGraph.widget();
    const QRect area = h.HistGraph.plotArea();
    QTest::mousePress(graph, Qt::LeftButton, {}, area.topLeft() + QPoint(20, 20));
    QTest::mouseMove(graph, area.center());
    QTest::mouseRelease(graph, Qt::LeftButton, {}, area.center());
    ASSERT_NE(xRange(h), x);
    ASSERT_NE(yRange(h), y);

    h.Combo1.choose(Histogram::kReset);
    EXPECT_EQ(xRange(h), x);
    EXPECT_EQ(yRange(h), y);
    EXPECT_EQ(h.Combo1.Text(), "Reset");
    EXPECT_EQ(h.HistGraph.TrackMode(), 1);
}

// The mode shown, chosen again: the panel hides, and "Reset" resets once more.
TEST_F(HistogramTest, choosingTheModeShownRunsItAgain) {
    Histogram& h = distribute(someLevels());
    h.Show();
    h.Toolbar1.click("Limit");
    ASSERT_TRUE(h.Picture1.Visible());
    h.Combo1.choose(Histogram::kNormal);
    EXPECT_FALSE(h.Picture1.Visible());

    const auto x = xRange(h);
    h.Combo1.choose(Histogram::kReset);
    for (int time = 0; time < 2; ++time) {
        SCOPED_TRACE(time);
        h.HistGraph.Axes(1).SetMinMax(820, 830);  // as a zoom leaves it
        h.HistGraph.setTrackMode(GraphControl::kTrackZoomX);
        h.Toolbar1.click("Limit");
        h.Combo1.choose(Histogram::kReset);
        EXPECT_EQ(xRange(h), x);
        EXPECT_EQ(h.HistGraph.TrackMode(), GraphControl::kTrackNormal);
        EXPECT_FALSE(h.Picture1.Visible());
    }
}

TEST_F(HistogramTest, resetAfterAnEmptyDistributionPaints) {
    Histogram& h = distribute({});
    EXPECT_EQ(levelDistributionResults().HistMinBin, 1501);
    EXPECT_EQ(levelDistributionResults().HistMaxBin, -1);
    h.Combo1.choose(Histogram::kReset);
    EXPECT_EQ(xRange(h), std::make_pair(0.0, 1501.0));  // the inverted range, put in order
    EXPECT_EQ(yRange(h), std::make_pair(0.0, 1.0));
    EXPECT_EQ(h.HistGraph.TrackMode(), 1);
    const QImage image = h.surface()->grab().toImage();
    EXPECT_FALSE(image.isNull());
}

TEST_F(HistogramTest, theResizeRuleGivesTheDesignedFigures) {
    struct Case {
        double width, height;
        HistogramLayout expected;
    };
    const Case cases[] = {
        {9660, 7785, {9660, 7785, 480, 9400, 3935, 4385, 9400, 2800, 843}},
        {5000, 3000, {9660, 7785, 480, 9400, 3935, 4385, 9400, 2800, 843}},
        {12000, 9000, {12000, 9000, 480, 11740, 5150, 5600, 11740, 2800, 1056}},
        {9675, 7800, {9675, 7800, 480, 9415, 3950, 4400, 9415, 2800, 845}},  // 844.5: halves to even
        {10010, 7785, {10010, 7785, 480, 9750, 3935, 4385, 9750, 2800, 875}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const HistogramLayout l = histogramResizeLayout(c.width, c.height);
        const HistogramLayout& e = c.expected;
        EXPECT_EQ(l.windowWidth, e.windowWidth);
        EXPECT_EQ(l.windowHeight, e.windowHeight);
        EXPECT_EQ(l.graphTop, e.graphTop);
        EXPECT_EQ(l.graphWidth, e.graphWidth);
        EXPECT_EQ(l.graphHeight, e.graphHeight);
        EXPECT_EQ(l.gridTop, e.gridTop);
        EXPECT_EQ(l.gridWidth, e.gridWidth);
        EXPECT_EQ(l.gridHeight, e.gridHeight);
        EXPECT_EQ(l.columnWidth, e.columnWidth);
    }
}

TEST_F(HistogramTest, theWindowSnapsBackToItsMinimumSizeAndLaysItsControlsOut) {
    Histogram& h = form<Histogram>();
    h.Show();
    auto expectLayout = [&](double width, double height) {
        const HistogramLayout l = histogramResizeLayout(width, height);
        EXPECT_NEAR(h.Width(), l.windowWidth, 15);
        EXPECT_NEAR(h.Height(), l.windowHeight, 15);
        EXPECT_NEAR(h.HistGraph.Top(), 480, 15);
        EXPECT_NEAR(h.HistGraph.Width(), l.graphWidth, 15);
        EXPECT_NEAR(h.HistGraph.Height(), l.graphHeight, 15);
        EXPECT_NEAR(h.GridLn.Top(), l.gridTop, 15);
        EXPECT_NEAR(h.GridLn.Width(), l.gridWidth, 15);
        EXPECT_NEAR(h.GridLn.Height(), l.gridHeight, 15);
        EXPECT_NEAR(h.GridLn.ColWidth(10), l.columnWidth, 15);
    };
    expectLayout(9660, 7785);
    h.Move(h.Left(), h.Top(), 12000, 9000);
    expectLayout(12000, 9000);
    h.Move(h.Left(), h.Top(), 6000, 5000);
    expectLayout(9660, 7785);
}

TEST_F(HistogramTest, theLanguageWindowUnloadsIt) {
    form<Histogram>().Show();
    ASSERT_EQ(flags().HistogramOpen, kTrue);
    form<LanguageFrm>();
    EXPECT_EQ(flags().HistogramOpen, kFalse);
    EXPECT_EQ(windows().find(Histogram::kName), nullptr);
}

// The graph's bar colour, as drawn on screen and on the page.
bool isBar(QRgb c) {
    return qBlue(c) > 150 && qRed(c) < 100 && qGreen(c) < 150;
}

// Separate runs of bar pixels along row y.
int barRunsOnRow(const QImage& image, int y) {
    int runs = 0;
    for (int x = 0; x < image.width(); ++x)
        runs += isBar(image.pixel(x, y)) && (x == 0 || !isBar(image.pixel(x - 1, y)));
    return runs;
}

// At 0.1 dB a bin is about half a pixel wide at the window's default size; each occupied bin
// stands out as a bar of its own all the same.
TEST_F(HistogramTest, everyOccupiedBinShowsABarAtTheDefaultSize) {
    Histogram& h = distribute(everyWholeDb());
    h.Show();
    const QRect area = h.HistGraph.plotArea();
    ASSERT_LT(area.width(), (1501 - 250) / 2);
    const QImage graph = h.HistGraph.widget()->grab().toImage();
    EXPECT_EQ(barRunsOnRow(graph, area.bottom()), 126);
    EXPECT_EQ(barRunsOnRow(graph, area.top() + area.height() / 2), 126);
}

class HistogramPrintTest : public HistogramTest {
protected:
    void SetUp() override {
        HistogramTest::SetUp();
        dir = sqtest::makeTempDir("histogram");
    }
    std::string dir;
};

TEST_F(HistogramPrintTest, printingWritesTheGraphAndTheTableOnOnePage) {
    std::vector<std::string> cells = someLevels();
    cells.insert(cells.end(), 20, "95.3 dB");
    Histogram& h = distribute(cells);
    h.Toolbar1.click("Limit");
    const std::string pdf = dir + "/histogram.pdf";
    dialogs->printerAnswers = {PrinterChoice::pdfFile(pdf)};
    h.Toolbar1.click("Print");
    ASSERT_EQ(dialogs->records.size(), 1u);
    EXPECT_EQ(dialogs->records[0].kind, "printer");
    EXPECT_TRUE(h.Toolbar1.Visible());
    EXPECT_FALSE(h.Picture1.Visible());

    const std::string info = sqtest::runCommand("pdfinfo '" + pdf + "'");
    EXPECT_TRUE(std::regex_search(info, std::regex("Pages: +1\n"))) << info;
    const std::string text = sqtest::runCommand("pdftotext -layout '" + pdf + "' -");
    for (const char* cell : {"Ln", "L(00)", "L(10)", "L(20)", "L(30)", "L(40)", "L(50)", "L(60)", "L(70)",
                             "L(80)", "L(90)", "Frequency (Times)"})
        EXPECT_NE(text.find(cell), std::string::npos) << cell << " in " << text;
    // The row L(20): L20 to L29, read back from the table as it was filled.
    std::string row = "L\\(20\\)";
    for (int c = 1; c <= 10; ++c)
        row += " +" + std::regex_replace(h.GridLn.TextMatrix(3, c), std::regex("\\."), "\\.");
    EXPECT_TRUE(std::regex_search(text, std::regex(row))) << row << " in " << text;

    sqtest::runCommand("pdftoppm -r 72 -png -singlefile '" + pdf + "' '" + dir + "/page'");
    const QImage page(QString::fromStdString(dir + "/page.png"));
    ASSERT_FALSE(page.isNull());
    int barPixels = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb c = page.pixel(x, y);
            barPixels += qBlue(c) > 150 && qRed(c) < 100;
        }
    EXPECT_GT(barPixels, 100);
}

TEST_F(HistogramPrintTest, everyOccupiedBinPrintsABar) {
    Histogram& h = distribute(everyWholeDb());
    h.Show();
    const std::string pdf = dir + "/bins.pdf";
    dialogs->printerAnswers = {PrinterChoice::pdfFile(pdf)};
    h.Toolbar1.click("Print");
    sqtest::runCommand("pdftoppm -r 300 -aa no -aaVector no -png -singlefile '" + pdf + "' '" + dir +
                       "/bins'");
    const QImage page(QString::fromStdString(dir + "/bins.png"));
    ASSERT_FALSE(page.isNull());
    int top = page.height(), bottom = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (isBar(page.pixel(x, y))) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GT(bottom, top);
    EXPECT_EQ(barRunsOnRow(page, (top + bottom) / 2), 126);
    EXPECT_EQ(barRunsOnRow(page, bottom - 3), 126);  // above the x axis' ticks
}

TEST_F(HistogramPrintTest, cancelShowsTheToolbarAgainAndWritesNothing) {
    Histogram& h = distribute(someLevels());
    dialogs->printerAnswers = {std::nullopt};
    h.Toolbar1.click("Print");
    EXPECT_EQ(dialogs->records.size(), 1u);
    EXPECT_TRUE(h.Toolbar1.Visible());
    EXPECT_FALSE(h.Picture1.Visible());
    EXPECT_EQ(sqtest::runCommand("ls -A '" + dir + "'"), "");
}

// Print to a file that cannot be written: the file of that name stays as it was, nothing is left
// beside it, and the user is told why.
TEST_F(HistogramPrintTest, aFailedPrintToFileSaysWhyAndLeavesTheOldFile) {
    Histogram& h = distribute(someLevels());
    sqtest::expectFailedPrintKeepsTheOldFile(*dialogs, dir, "histogram.pdf", [&] {
        dialogs->printerAnswers = {PrinterChoice::pdfFile(dir + "/histogram.pdf")};
        h.Toolbar1.click("Print");
    });
    EXPECT_TRUE(h.Toolbar1.Visible());
}

}  // namespace
}  // namespace sq
