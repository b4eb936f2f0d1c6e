// One download in real time over a pseudo-terminal, through the real serial path.
#include <gtest/gtest.h>

#include <functional>

#include "link/channels.h"
#include "link/com_port_api.h"
#include "mainwindow/com_port_set_frm.h"
#include "mainwindow/panel.h"
#include "metersim/port_entry.h"
#include "metersim/pty_port.h"
#include "metersim/simulator.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/runtime.h"
#include "records/data_list_frm.h"
#include "records/record_expectations.h"
#include "shared/download_state.h"
#include "shared/record_state.h"
#include "shared/state.h"

namespace {

namespace ms = sq::metersim;
constexpr int kCom = 203;

class RecordDownloadPtyTest : public ::testing::Test {
protected:
    void SetUp() override {
        sq::Runtime::get().setVirtualTime(false);
        sq::ensureProgramFolder();
        sq::resetSharedState();
        sq::resetRecordState();
        sq::downloadState() = {};
        sq::ResetChannelTable();
        sq::PortAPI().reset();
        std::string error;
        ASSERT_TRUE(pty.open(error)) << error;
        sim.setOutput([this](const ms::Bytes& b) { pty.write(b); });
        pty.setOnBytes([this](const uint8_t* p, size_t n) { sim.receive(p, n); });
        std::string message;
        ASSERT_TRUE(ms::claimPortEntry(kCom, pty.slavePath(), message)) << message;
        sq::windows().setModalHook([](sq::Window& w) {
            if (auto* setup = dynamic_cast<sq::ComPortSetFrm*>(&w)) {
                setup->ChangeComport(kCom);
                setup->LinkBtn.click();
            }
        });
    }
    void TearDown() override {
        sq::windows().reset();
        sq::registerPollTimers(nullptr, nullptr);
        sq::PortAPI().reset();
        ms::releasePortEntry(kCom);
        sq::downloadState() = {};
    }

    // Waits in real time until `done`, at most `seconds`.
    static bool waitFor(const std::function<bool()>& done, double seconds) {
        const double start = sq::Runtime::get().now();
        while (!done() && sq::Runtime::get().now() - start < seconds) sq::Delay(0.05);
        return done();
    }

    ms::PtyPort pty;
    ms::Simulator sim;
    sq::ScopedScriptedDialogs dialogs;
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
