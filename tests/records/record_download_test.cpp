// Whole downloads from the simulated instrument, in virtual time, through the main window's receive
// pump, Timer1's block repeat and the reply dispatcher: the point grid must equal the record whatever
// the link does to the replies.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "link/channels.h"
#include "link/com_port_api.h"
#include "mainwindow/panel.h"
#include "metersim/simulator.h"
#include "platform/dialogs.h"
#include "platform/memory_port.h"
#include "platform/program_folder.h"
#include "platform/runtime.h"
#include "records/data_list_frm.h"
#include "records/record_expectations.h"
#include "shared/download_state.h"
#include "shared/record_state.h"
#include "shared/state.h"

namespace {

namespace ms = sq::metersim;
using sq::DataListFrm;

constexpr int kCom = 5;

class RecordDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        sq::Runtime::get().setVirtualTime(true);
        sq::windows().reset();
        sq::PortAPI().reset();
        sq::ResetChannelTable();
        sq::resetSharedState();
        sq::resetRecordState();
        sq::downloadState() = {};
        sq::ensureProgramFolder();
        m_pair = m_sim.plugIn(kCom);
        sq::windows().setModalHook([](sq::Window& w) {
            sq::OpenChannel(sq::PortAPI(), kCom, "baud=57600 parity=N data=8 stop=1");
            sq::CurrentChannel = sq::ChannelCount;
            w.Unload();
        });
        m_panel = &sq::startProgram();
        ASSERT_TRUE(runUntil([] { return sq::IsSupportedModel(sq::shared().DeviceModel) == 1; }, 10));
        advance(2);  // the calibration date and level have arrived
    }
    void TearDown() override {
        sq::windows().reset();
        m_sim.detach();
        sq::PortAPI().reset();
        sq::ResetChannelTable();
        sq::resetSharedState();
        sq::downloadState() = {};
        sq::Runtime::get().setVirtualTime(false);
    }

    static void advance(double seconds) { sq::Runtime::get().advance(seconds); }
    // Advances virtual time in small steps until `done`; false when it did not happen in time.
    bool runUntil(const std::function<bool()>& done, double maxSeconds,
                  const std::function<void()>& each = {}) {
        for (double t = 0; t < maxSeconds; t += 0.05) {
            if (done()) return true;
            advance(0.05);
            if (each) each();
        }
        return done();
    }

    int addRecord(const ms::StoredRecord& r) { return m_sim.addRecord(r); }
    // The memory pane's click on a listed record.
    void clickRecord(int number) {
        sq::FlexGrid& g = m_panel->MemoryListGrid;
        g.AddItem(std::to_string(g.Rows()) + "\t2022/03/30  14:05:09\t" + std::to_string(number));
        g.setRow(g.Rows() - 1);
        m_panel->MemoryListGrid_Click();
    }
    static DataListFrm* list() { return dynamic_cast<DataListFrm*>(sq::windows().find(DataListFrm::kName)); }
    static bool downloadDone() { return sq::downloadState().phase == sq::DownloadPhase::Idle; }
    static std::vector<sqtest::Cells> pointRows() {
        std::vector<sqtest::Cells> rows;
        const sq::FlexGrid& g = list()->QVX410PointGrid;
        for (int r = 1; r < g.Rows(); ++r) {
            sqtest::Cells cells;
            for (int c = 0; c < 6; ++c) cells[c] = g.TextMatrix(r, c);
            rows.push_back(cells);
        }
        return rows;
    }
    // Downloads record `number` and checks the grid against the record.
    void expectCleanDownload(const ms::StoredRecord& r, int number, double maxSeconds) {
        clickRecord(number);
        ASSERT_TRUE(runUntil(downloadDone, maxSeconds));
        advance(3);  // late copies and repeats find no download
        ASSERT_NE(list(), nullptr);
        EXPECT_EQ(pointRows(), sqtest::expectedPointRows(r));
        EXPECT_TRUE(list()->Toolbar1.Enabled());
        EXPECT_EQ(m_panel->MemoryMessageLbl.Caption(), "Load Complete");
        EXPECT_EQ(sq::flags().RecordRequestPending, sq::kFalse);
        EXPECT_TRUE(m_panel->Timer1.enabled());
    }

    ms::Simulator m_sim;
    std::shared_ptr<sq::MemoryPortPair> m_pair;
    sq::Panel* m_panel = nullptr;
};

TEST_F(RecordDownloadTest, RecordsOfEverySizeArriveWhole) {
    for (size_t n : {1u, 10u, 11u, 35u, 1234u}) {
        SCOPED_TRACE(n);
        const ms::StoredRecord r = sqtest::recordOf(n);
        expectCleanDownload(r, addRecord(r), 600);
        EXPECT_EQ(m_sim.countOf(ms::code::ReadRecordBlock), static_cast<int>((n + 9) / 10));
        m_sim.clearLog();
    }
}

TEST_F(RecordDownloadTest, ProgressAndToolbarFollowTheBlocks) {
    const ms::StoredRecord r = sqtest::recordOf(35);
    const int number = addRecord(r);
    std::vector<std::string> captions;
    bool toolbarEarly = false;
    clickRecord(number);
    ASSERT_TRUE(runUntil(downloadDone, 60, [&] {
        const std::string c = m_panel->MemoryMessageLbl.Caption();
        if (captions.empty() || captions.back() != c) captions.push_back(c);
        if (!downloadDone() && list()->Toolbar1.Enabled()) toolbarEarly = true;
    }));
    EXPECT_FALSE(toolbarEarly);
    EXPECT_EQ(list()->QVX410Grid.TextMatrix(1, 2), "2022/03/30 14:05:09");
    EXPECT_EQ(list()->QVX410Grid.TextMatrix(8, 3), "35");
    EXPECT_EQ(list()->QVX410Grid.TextMatrix(7, 1), "1 Min");
    EXPECT_EQ(captions, (std::vector<std::string>{"Message", "Load ==> 0 / 35", "Load ==> 10 / 35",
                                                  "Load ==> 20 / 35", "Load ==> 30 / 35", "Load Complete"}));
}

TEST_F(RecordDownloadTest, ARecordWithoutPointsShowsItsSummaryOnly) {
    const ms::StoredRecord r = sqtest::recordOf(0);
    clickRecord(addRecord(r));
    ASSERT_TRUE(runUntil(downloadDone, 30));
    advance(2);
    EXPECT_EQ(list()->QVX410Grid.Rows(), 11);
    EXPECT_EQ(list()->QVX410Grid.TextMatrix(8, 1), "0");
    EXPECT_EQ(list()->QVX410PointGrid.Rows(), 1);
    EXPECT_FALSE(list()->Toolbar1.Enabled());
    EXPECT_EQ(m_panel->MemoryMessageLbl.Caption(), "Message");
    EXPECT_EQ(m_sim.countOf(ms::code::ReadRecordBlock), 0);
    EXPECT_TRUE(m_panel->Timer1.enabled());
}

// Faults of the link on the block replies of a 1,234-point record.
TEST_F(RecordDownloadTest, LatencyDropsCopiesAndDamagedRepliesLeaveTheRecordWhole) {
    struct Case {
        const char* name;
        std::function<void(ms::Simulator&)> fault;
        const char* sentFault;  // what the simulator did to a reply ("" for latency alone)
    };
    const Case cases[] = {
        {"latency 1 s", [](ms::Simulator& s) { s.setLatency(1.0); }, ""},
        {"dropped reply", [](ms::Simulator& s) { s.dropReply(40, ms::code::ReadRecordBlock); }, "drop"},
        {"duplicated reply", [](ms::Simulator& s) { s.duplicateReply(40, ms::code::ReadRecordBlock); },
         "duplicate"},
        {"bad checksum", [](ms::Simulator& s) { s.corruptChecksum(40, ms::code::ReadRecordBlock); },
         "bad-checksum"},
        {"short reply", [](ms::Simulator& s) { s.shortenReply(41, 40, ms::code::ReadRecordBlock); }, "short"},
        // The instrument goes silent mid-reply, then answers again.
        {"cut-off reply", [](ms::Simulator& s) { s.cutReply(24, 40, ms::code::ReadRecordBlock); }, "cut-off"},
    };
    const ms::StoredRecord r = sqtest::recordOf(1234);
    const int number = addRecord(r);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_sim.clearFaults();
        m_sim.clearLog();
        m_sim.setLatency(0.005);
        c.fault(m_sim);
        expectCleanDownload(r, number, 900);
        const auto& replies = m_sim.replies();
        const bool faultSeen = std::any_of(replies.begin(), replies.end(), [&](const ms::SentReply& reply) {
            return reply.fault.find(c.sentFault) != std::string::npos;
        });
        EXPECT_TRUE(faultSeen);
        if (std::string(c.name) == "latency 1 s") {
            EXPECT_GT(m_sim.countOf(ms::code::ReadRecordBlock), 124 + 50);  // repeats went out
        }
        if (std::string(c.name) == "cut-off reply") {  // the block is asked for again at once
            const auto cut = std::find_if(replies.begin(), replies.end(), [](const ms::SentReply& reply) {
                return reply.fault == "cut-off";
            });
            ASSERT_NE(cut, replies.end());
            const auto blocks = m_sim.requestsWithCode(ms::code::ReadRecordBlock);
            const auto next = std::find_if(blocks.begin(), blocks.end(),
                                           [&](const ms::LoggedRequest& q) { return q.time > cut->time; });
            ASSERT_NE(next, blocks.end());
            EXPECT_LT(next->time - cut->time, 2.0);
        }
    }
}

TEST_F(RecordDownloadTest, ARecordOfIdenticalBlocksArrivesWhole) {
    const ms::StoredRecord r = ms::makeRecord(
        {2022, 3, 30, 14, 5, 9}, 60, std::vector<ms::Point>(205, ms::Point{700, 710, 900, 950, false}));
    const int number = addRecord(r);
    expectCleanDownload(r, number, 300);
    m_sim.dropReply(7, ms::code::ReadRecordBlock);
    expectCleanDownload(r, number, 300);
    m_sim.clearFaults();
    m_sim.setLatency(1.0);
    expectCleanDownload(r, number, 600);
}

TEST_F(RecordDownloadTest, ASecondRecordClickedDuringADelayedBlockIsCleanAndTheFirstStops) {
    const ms::StoredRecord first = sqtest::recordOf(300);
    const ms::StoredRecord second = sqtest::recordOf(47, 30);
    const int firstNumber = addRecord(first);
    const int secondNumber = addRecord(second);
    m_sim.setLatency(0.8);
    clickRecord(firstNumber);
    ASSERT_TRUE(runUntil([] { return sq::shared().BlockIndex == 5; }, 60));
    advance(0.3);  // block 5's reply is on its way
    clickRecord(secondNumber);
    ASSERT_TRUE(runUntil(downloadDone, 120));
    advance(3);
    EXPECT_EQ(pointRows(), sqtest::expectedPointRows(second));
    EXPECT_EQ(sq::recordSummary().RecTotalPoint, "47");
    const auto blocks = m_sim.requestsWithCode(ms::code::ReadRecordBlock);
    int after = 0;
    for (const auto& req : blocks)
        if (req.time > 0 && req.field("block") > 4) ++after;
    EXPECT_LE(after, 2);  // block 5 of the first record, and perhaps its repeat, before the switch
}

TEST_F(RecordDownloadTest, ClosingTheWindowStopsTheDownloadAndPollingRuns) {
    const ms::StoredRecord r = sqtest::recordOf(500);
    const int number = addRecord(r);
    m_sim.setLatency(0.5);
    for (bool duringBlocks : {false, true}) {
        SCOPED_TRACE(duringBlocks ? "receiving blocks" : "awaiting the header");
        m_sim.clearLog();
        clickRecord(number);
        if (duringBlocks) {
            ASSERT_TRUE(runUntil([] { return sq::shared().BlockIndex >= 3; }, 60));
        }
        sq::windows().unload(DataListFrm::kName);
        advance(0.5);
        const int requestsAtClose = m_sim.countOf(ms::code::ReadRecordBlock);
        advance(10);
        EXPECT_EQ(list(), nullptr);
        EXPECT_EQ(m_sim.countOf(ms::code::ReadRecordBlock), requestsAtClose);
        EXPECT_TRUE(m_panel->Timer1.enabled());
        EXPECT_TRUE(m_panel->Timer2.enabled());
        EXPECT_EQ(sq::flags().RecordRequestPending, sq::kFalse);
    }
}

}  // namespace
