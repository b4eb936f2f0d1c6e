// The graph end to end: a record downloaded from the simulated instrument, or opened from the data
// file it was saved to, drawn by the quantity panel's OK in "Plot" mode.
#include <gtest/gtest.h>

#include <algorithm>

#include "mainwindow/panel_fixture.h"
#include "metersim/simulator.h"
#include "records/data_list_frm.h"
#include "records/file_list_frm.h"
#include "records/record_expectations.h"
#include "reports/plot.h"
#include "reports/record_plot.h"
#include "support/test_support.h"

namespace sq {
namespace {

namespace ms = metersim;

Plot* plotWindow() {
    return dynamic_cast<Plot*>(windows().find(Plot::kName));
}

class RecordPlotEndToEndTest : public sqtest::PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        start();
        ASSERT_TRUE(waitForSupportedModel());
        wait(2);  // the calibration date and level have arrived
    }
    // The codes the instrument received since the log was cleared.
    std::vector<uint8_t> receivedCodes() const {
        std::vector<uint8_t> codes;
        for (const ms::LoggedRequest& r : sim->requests()) codes.push_back(r.code);
        return codes;
    }
    // The graph must show the LCPK column of `record`, point by point, from its first to its last time.
    static void expectLcpkGraphOf(const ms::StoredRecord& record) {
        const std::vector<sqtest::Cells> rows = sqtest::expectedPointRows(record);
        ASSERT_NE(plotWindow(), nullptr);
        ASSERT_EQ(PlotData()[1].size(), record.points.size());
        for (size_t i = 0; i < record.points.size(); ++i)
            ASSERT_DOUBLE_EQ(PlotData()[1][i], record.points[i].lcpk / 10.0) << i;
        EXPECT_EQ(plotWindow()->LevelGraph.Axes(2).Caption(), "LCPK (dB)");
        EXPECT_EQ(plotWindow()->LblPrintStartTimeValue.Caption(), rows.front()[1]);
        EXPECT_EQ(plotWindow()->LblPrintStopTimeValue.Caption(), rows.back()[1]);
        EXPECT_EQ(plotWindow()->LevelGraph.Axes(1).AxisMinimum(), PlotXMin());
        EXPECT_EQ(plotWindow()->LevelGraph.Axes(1).AxisMaximum(), PlotXMax());
    }
};

TEST_F(RecordPlotEndToEndTest, aDownloadedRecordAndItsSavedFileDrawTheSameGraph) {
    const ms::StoredRecord record = sqtest::recordOf(57);
    download(record);
    DataListFrm& list = form<DataListFrm>();
    list.Toolbar1.click("Plot");
    list.Option1[2].click();
    sim->clearLog();
    list.BtnSelectOK.click();
    EXPECT_EQ(SelectedColumn(), 4);
    expectLcpkGraphOf(record);
    EXPECT_EQ(panel->Caption(), kPanelCaption);
    EXPECT_TRUE(panel->Timer1.enabled());
    wait(1);
    const std::vector<uint8_t> codes = receivedCodes();
    const auto date = std::find(codes.begin(), codes.end(), ms::code::ReadCalibrationDate);
    ASSERT_NE(date, codes.end());
    EXPECT_NE(std::find(date, codes.end(), ms::code::ReadCalibrationLevel), codes.end());

    const std::vector<double> xs = PlotData()[0];
    const std::string path = sqtest::makeTempDir("plot") + "/record.qvx";
    dialogs->fileAnswers.push_back(path);
    list.Toolbar1.click("save");
    dialogs->fileAnswers.push_back(path);
    panel->Toolbar1.click("Open");
    FileListFrm* file = dynamic_cast<FileListFrm*>(windows().find(FileListFrm::kName));
    ASSERT_NE(file, nullptr);
    windows().unload(Plot::kName);
    PlotData() = {};
    file->Toolbar1.click("Plot");
    file->Option1[2].click();
    sim->clearLog();
    file->BtnSelectOK.click();
    expectLcpkGraphOf(record);
    EXPECT_EQ(PlotData()[0], xs);
    wait(1);
    const std::vector<uint8_t> after = receivedCodes();
    EXPECT_EQ(std::count(after.begin(), after.end(), ms::code::ReadCalibrationDate), 0);
    EXPECT_EQ(std::count(after.begin(), after.end(), ms::code::ReadCalibrationLevel), 0);
}

TEST_F(RecordPlotEndToEndTest, aRecordPastMidnightRisesThroughout) {
    const ms::StoredRecord record = ms::makeRecord({2022, 12, 31, 23, 40, 0}, 60, sqtest::variedPoints(45));
    download(record);
    DataListFrm& list = form<DataListFrm>();
    list.Toolbar1.click("Plot");
    list.Option1[2].click();
    list.BtnSelectOK.click();
    expectLcpkGraphOf(record);
    EXPECT_LT(PlotXMin(), PlotXMax());
    EXPECT_GT(PlotXMax(), 1);
    for (size_t i = 1; i < PlotData()[0].size(); ++i) ASSERT_GT(PlotData()[0][i], PlotData()[0][i - 1]) << i;
    EXPECT_EQ(plotWindow()->AxisMax(1).Text(), "00:25:00");
}

}  // namespace
}  // namespace sq
