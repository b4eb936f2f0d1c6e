// The level distribution run from the record list windows: end to end for a record downloaded from
// the simulated instrument and for the same record opened from a data file, and the run's behaviour
// when events run inside it (a second click, the list window or the histogram closed, the caption).
#include "records/level_distribution_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "mainwindow/panel_fixture.h"
#include "platform/event_pacer.h"
#include "records/data_list_frm.h"
#include "records/file_list_frm.h"
#include "records/record_expectations.h"
#include "records/record_window_fixture.h"
#include "reports/histogram.h"
#include "support/test_support.h"

namespace sq {
namespace {

namespace ms = metersim;

// What the run must show, worked out here from the record's raw levels rather than from the cells.
struct Expected {
    int minBin = 0;
    int maxBin = 0;
    double yMax = 0;
    std::vector<std::string> rows;  // GridLn rows 1 to 10
};

uint16_t rawLevel(const ms::Point& p, int column) {
    switch (column) {
        case 2:
            return p.lavg;
        case 3:
            return p.leq;
        case 4:
            return p.lcpk;
        default:
            return p.lzpk;
    }
}

// 1-2-5 steps with at most ten of them from 0 to the largest count; all zeros give 0 to 1.
double countAxisMaximum(int64_t largest) {
    if (largest == 0) return 1;
    for (double scale = 1;; scale *= 10)
        for (double m : {1.0, 2.0, 5.0})
            if (static_cast<double>(largest) / (m * scale) <= 10)
                return std::ceil(largest / (m * scale)) * m * scale;
}

Expected expectedFor(const ms::StoredRecord& r, int column, bool tenth) {
    std::vector<int> bins;
    for (const ms::Point& p : r.points) {
        const int raw = rawLevel(p, column);  // marked points count at their level
        bins.push_back(raw == 0 ? (tenth ? 250 : 25)
                                : (tenth ? std::min(raw, 1500) : std::min(raw / 10, 150)));
    }
    std::sort(bins.begin(), bins.end());
    Expected e;
    e.minBin = *std::find_if(bins.begin(), bins.end(), [](int b) { return b > 0; });
    e.maxBin = bins.back();
    int64_t largest = 0;
    for (size_t i = 0; i < bins.size();) {
        size_t j = i;
        while (j < bins.size() && bins[j] == bins[i]) ++j;
        largest = std::max<int64_t>(largest, static_cast<int64_t>(j - i));
        i = j;
    }
    e.yMax = countAxisMaximum(largest);
    const double n = static_cast<double>(bins.size());
    for (int row = 0; row < 10; ++row) {
        std::string text = "L(" + std::to_string(row) + "0)";
        for (int c = 0; c < 10; ++c) {
            const double target = (1 - static_cast<double>(10 * row + c) / 100) * n;
            const int bin = bins[static_cast<size_t>(std::ceil(target)) - 1];
            text += "\t" +
                    (tenth ? std::to_string(bin / 10) + "." + std::to_string(bin % 10) : std::to_string(bin));
        }
        e.rows.push_back(text);
    }
    return e;
}

std::vector<std::string> lnRowsOf(const FlexGrid& grid) {
    std::vector<std::string> rows;
    for (int r = 1; r < grid.Rows(); ++r) {
        std::string row = grid.TextMatrix(r, 0);
        for (int c = 1; c < grid.Cols(); ++c) row += "\t" + grid.TextMatrix(r, c);
        rows.push_back(row);
    }
    return rows;
}

Histogram* histogram() {
    return dynamic_cast<Histogram*>(windows().find(Histogram::kName));
}

void expectHistogramShows(const Expected& e, const char* labelFormat) {
    ASSERT_NE(histogram(), nullptr);
    Histogram& h = *histogram();
    const LevelDistributionResults& results = levelDistributionResults();
    EXPECT_TRUE(h.Visible());
    EXPECT_EQ(flags().HistogramOpen, kTrue);
    EXPECT_EQ(h.Combo1.ListIndex(), Histogram::kNormal);
    EXPECT_EQ(h.HistGraph.TrackMode(), 1);
    EXPECT_FALSE(h.Picture1.Visible());
    EXPECT_EQ(results.HistMinBin, e.minBin);
    EXPECT_EQ(results.HistMaxBin, e.maxBin);
    EXPECT_EQ(h.HistGraph.Axes(1).LabelFormat(), labelFormat);
    EXPECT_EQ(h.HistGraph.Axes(1).AxisMinimum(), e.minBin);
    EXPECT_EQ(h.HistGraph.Axes(1).AxisMaximum(), e.maxBin + 1);
    EXPECT_EQ(results.HistYMax, e.yMax);
    EXPECT_EQ(h.HistGraph.Axes(2).AxisMaximum(), e.yMax);
    EXPECT_EQ(h.GridLn.TextMatrix(0, 0), "Ln");
    EXPECT_EQ(lnRowsOf(h.GridLn), e.rows);
}

// ---------------------------------------------------------------------------------------------

class DistributionEndToEndTest : public sqtest::PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        levelDistributionResults() = {};
        ASSERT_NO_FATAL_FAILURE(startFresh());
    }
    void TearDown() override {
        EventPacer::setTestHook(0, {});
        PanelTest::TearDown();
    }
    // "Ln", the quantity option, OK: the resolution panel waits for its buttons.
    template <class Frm>
    static void chooseColumn(Frm& frm, int option) {
        frm.Toolbar1.click("Ln");
        frm.Option1[option].click();
        frm.BtnSelectOK.click();
        ASSERT_TRUE(frm.SSpResolution.Visible());
    }
    // Runs `click` with a look at polling, the caption and the toolbar's busy flag from inside the run.
    template <class Frm>
    void clickWatched(Frm& frm, CommandButton& button) {
        EventPacer::setTestHook(4, [&] {
            pollingDuringRun = panel->Timer1.enabled() || panel->Timer2.enabled();
            captionDuringRun = frm.Caption();
            toolbarBusyDuringRun = frm.Busy;
        });
        button.click();
    }
    bool pollingDuringRun = true;
    bool toolbarBusyDuringRun = false;
    std::string captionDuringRun;
};

TEST_F(DistributionEndToEndTest, aDownloadedRecordAndTheSameRecordOpenedFromItsFile) {
    const ms::StoredRecord record = sqtest::recordOf(400);
    download(record);
    DataListFrm& list = form<DataListFrm>();
    const std::string caption = list.Caption();
    chooseColumn(list, 1);  // Leq
    clickWatched(list, list.Btn01dB);
    expectHistogramShows(expectedFor(record, 3, true), "*0.1");
    EXPECT_FALSE(pollingDuringRun);
    EXPECT_TRUE(toolbarBusyDuringRun);
    EXPECT_FALSE(list.Busy);
    EXPECT_EQ(captionDuringRun, "1.0%Completed");  // the fourth of 400 rows
    EXPECT_TRUE(panel->Timer1.enabled());
    EXPECT_TRUE(panel->Timer2.enabled());
    EXPECT_FALSE(list.SSpResolution.Visible());
    EXPECT_TRUE(list.SSpSelectItem.Visible());
    EXPECT_EQ(list.Caption(), caption);
    EXPECT_EQ(levelDistributionResults().HistTotal, 400);

    // A second run replaces the window: mode Normal again, the new distribution only.
    histogram()->Combo1.choose(Histogram::kPanX);
    histogram()->Toolbar1.click("Limit");
    const Histogram* first = histogram();
    list.Btn1dB.click();
    EXPECT_NE(histogram(), first);
    expectHistogramShows(expectedFor(record, 3, false), "0");
    EXPECT_EQ(levelDistributionResults().LnLevels.front(),
              std::to_string(static_cast<int>(levelDistributionResults().HistMaxBin)));

    // Saved and opened again: the file list window gives the same distributions.
    const std::string path = sqtest::makeTempDir("distribution") + "/record.qvx";
    dialogs->fileAnswers.push_back(path);
    list.Toolbar1.click("save");
    dialogs->fileAnswers.push_back(path);
    panel->Toolbar1.click("Open");
    ASSERT_NE(histogram(), nullptr) << "the main window's rules leave the histogram open";
    FileListFrm& file = form<FileListFrm>();
    ASSERT_EQ(file.GridRecord.Rows(), 401);
    const std::string fileCaption = file.Caption();
    chooseColumn(file, 3);  // LZPK
    clickWatched(file, file.Btn1dB);
    expectHistogramShows(expectedFor(record, 5, false), "0");
    EXPECT_FALSE(pollingDuringRun);
    EXPECT_TRUE(toolbarBusyDuringRun) << "the file list window's toolbar must do nothing during the run";
    EXPECT_FALSE(file.Busy);
    EXPECT_EQ(captionDuringRun, "1.0% Completed");
    EXPECT_TRUE(panel->Timer1.enabled());
    EXPECT_FALSE(file.SSpResolution.Visible());
    EXPECT_EQ(file.Caption(), fileCaption);
    file.Btn01dB.click();
    expectHistogramShows(expectedFor(record, 5, true), "*0.1");
    EXPECT_TRUE(dialogs->messages().empty());
}

// ---------------------------------------------------------------------------------------------
// Events inside the run, in virtual time: the pacer's test hook plays them at a chosen step.

class DistributionEventsTest : public sqtest::RecordWindowTest {
protected:
    void SetUp() override {
        RecordWindowTest::SetUp();
        levelDistributionResults() = {};
        DataListFrm& f = frm();
        f.Show();
        addPoints(f.QVX410PointGrid, kPoints);
        SelectedColumn() = 2;
        f.SSpResolution.setVisible(true);
        caption = f.Caption();
    }
    static std::vector<std::string> expectedRows(LevelResolution resolution) {
        LevelDistribution d(resolution);
        const GridCopy copy(frm().QVX410PointGrid);
        for (int r = 1; r < copy.rows(); ++r) d.add(copy.cell(r, 2));
        std::vector<std::string> levels;
        for (int bin : percentileBins(d.counts(), kPoints)) levels.push_back(levelText(bin, resolution));
        return lnGridRows(levels);
    }
    void expectPollingBack() const {
        EXPECT_TRUE(timer1.enabled());
        EXPECT_TRUE(timer2.enabled());
        EXPECT_FALSE(levelDistributionRunning());
    }
    static constexpr int kPoints = 50;
    std::string caption;
};

TEST_F(DistributionEventsTest, aClickDuringTheRunDoesNothing) {
    DataListFrm& f = frm();
    bool histogramDuringClick = true;
    bool busy = false;
    EventPacer::setTestHook(10, [&] {
        EXPECT_TRUE(levelDistributionRunning());
        EXPECT_FALSE(timer1.enabled());
        busy = f.Busy;
        f.Btn1dB.click();
        f.Btn01dB.click();
        histogramDuringClick = histogram() != nullptr;
    });
    f.Btn01dB.click();
    EXPECT_TRUE(busy);
    EXPECT_FALSE(histogramDuringClick) << "a nested run showed the histogram";
    ASSERT_NE(histogram(), nullptr);
    EXPECT_EQ(histogram()->HistGraph.Axes(1).LabelFormat(), "*0.1");
    EXPECT_EQ(lnRowsOf(histogram()->GridLn), expectedRows(LevelResolution::TenthDb));
    EXPECT_FALSE(f.Busy);
    EXPECT_EQ(f.Caption(), caption);
    expectPollingBack();
}

TEST_F(DistributionEventsTest, theCaptionShowsProgressAndEndsAt100PercentBeforeItComesBack) {
    DataListFrm& f = frm();
    std::vector<std::string> captions;
    EventPacer::setTestHook(25, [&] { captions.push_back(f.Caption()); });
    f.Btn01dB.click();
    EventPacer::setTestHook(kPoints + 30, [&] { captions.push_back(f.Caption()); });
    f.Btn1dB.click();
    EXPECT_EQ(captions, (std::vector<std::string>{"50.0%Completed", "100.0% Completed"}));
    EXPECT_EQ(f.Caption(), caption);
}

TEST_F(DistributionEventsTest, aListWindowUnloadedMidRunStillLeavesACompleteHistogram) {
    DataListFrm& f = frm();
    const std::vector<std::string> rows = expectedRows(LevelResolution::WholeDb);
    EventPacer::setTestHook(20, [&] { f.Unload(); });
    f.Btn1dB.click();
    EXPECT_EQ(flags().DataListFrmOpen, kFalse);
    ASSERT_NE(histogram(), nullptr);
    EXPECT_EQ(lnRowsOf(histogram()->GridLn), rows);
    EXPECT_EQ(levelDistributionResults().HistTotal, kPoints);
    expectPollingBack();
    Runtime::get().doEvents();
    EXPECT_EQ(windows().find(DataListFrm::kName), nullptr);
}

TEST_F(DistributionEventsTest, aHistogramClosedMidRunStaysClosed) {
    DataListFrm& f = frm();
    EventPacer::setTestHook(kPoints + 40, [] { histogram()->Unload(); });
    f.Btn01dB.click();
    EXPECT_EQ(histogram(), nullptr);
    EXPECT_EQ(flags().HistogramOpen, kFalse);
    EXPECT_EQ(levelDistributionResults().LnLevels.size(), 100u);
    EXPECT_FALSE(f.SSpResolution.Visible());
    EXPECT_EQ(f.Caption(), caption);
    expectPollingBack();

    // The next run opens it again.
    f.Btn01dB.click();
    ASSERT_NE(histogram(), nullptr);
    EXPECT_EQ(lnRowsOf(histogram()->GridLn), expectedRows(LevelResolution::TenthDb));
}

TEST_F(DistributionEventsTest, theRunReadsTheGridAsItStoodAtTheClick) {
    DataListFrm& f = frm();
    const std::vector<std::string> rows = expectedRows(LevelResolution::TenthDb);
    EventPacer::setTestHook(5, [&] {
        for (int r = 1; r <= kPoints; ++r) f.QVX410PointGrid.setTextMatrix(r, 2, "140.0 dB");
        f.QVX410PointGrid.setRows(2);
    });
    f.Btn01dB.click();
    EXPECT_EQ(lnRowsOf(histogram()->GridLn), rows);
    EXPECT_EQ(levelDistributionResults().HistTotal, kPoints);
}

}  // namespace
}  // namespace sq
