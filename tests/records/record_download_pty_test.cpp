// One download in real time over a pseudo-terminal, through the real serial path.
#include <gtest/gtest.h>

#include "mainwindow/panel.h"
#include "mainwindow/pty_program_fixture.h"
#include "records/data_list_frm.h"
#include "records/record_expectations.h"
#include "shared/download_state.h"
#include "shared/record_state.h"

namespace {

namespace ms = sq::metersim;
constexpr int kCom = 203;

class RecordDownloadPtyTest : public sqtest::PtyProgramTest {
protected:
    RecordDownloadPtyTest() : PtyProgramTest(kCom) {}
    void SetUp() override {
        PtyProgramTest::SetUp();
        sq::resetRecordState();
        sq::downloadState() = {};
    }
    void TearDown() override {
        PtyProgramTest::TearDown();
        sq::downloadState() = {};
    }
};

TEST_F(RecordDownloadPtyTest, ARecordArrivesWholeOverTheSerialPath) {
    const ms::StoredRecord r = sqtest::recordOf(35);
    const int number = sim.addRecord(r);
    sq::Panel& panel = sq::startProgram();
    ASSERT_TRUE(waitFor([] { return sq::IsSupportedModel(sq::shared().DeviceModel) == 1; }, 3));
    sq::FlexGrid& g = panel.MemoryListGrid;
    g.AddItem("1\t2022/03/30  14:05:09\t" + std::to_string(number));
    g.setRow(1);
    panel.MemoryListGrid_Click();
    ASSERT_TRUE(waitFor([] { return sq::downloadState().phase == sq::DownloadPhase::Idle; }, 15));
    auto* list = dynamic_cast<sq::DataListFrm*>(sq::windows().find(sq::DataListFrm::kName));
    ASSERT_NE(list, nullptr);
    std::vector<sqtest::Cells> rows;
    for (int row = 1; row < list->QVX410PointGrid.Rows(); ++row) {
        sqtest::Cells cells;
        for (int c = 0; c < 6; ++c) cells[c] = list->QVX410PointGrid.TextMatrix(row, c);
        rows.push_back(cells);
    }
    EXPECT_EQ(rows, sqtest::expectedPointRows(r));
    EXPECT_TRUE(list->Toolbar1.Enabled());
    EXPECT_EQ(panel.MemoryMessageLbl.Caption(), "Load Complete");
}

}  // namespace
