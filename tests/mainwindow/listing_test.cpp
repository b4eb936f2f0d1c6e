// Memory listing and erase against the simulated instrument, in virtual time.
#include "link/requests.h"
#include "mainwindow/panel_fixture.h"
#include "settings/clear_memory_frm.h"

using namespace sq;
using sqtest::PanelTest;

namespace {

metersim::DateTime recordTime(int i) {
    return {2022, 1 + i % 12, 1 + i % 28, i % 24, i % 60, (i * 7) % 60};
}

std::string cellTime(int i) {
    const metersim::DateTime t = recordTime(i);
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d  %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

class ListingTest : public PanelTest {
protected:
    Panel& startListed(int records) {
        for (int i = 1; i <= records; ++i)
            sim->addRecord(
                metersim::makeRecord(recordTime(i), 60, {metersim::Point{900, 910, 1200, 1300, false}}));
        Panel& p = start();
        EXPECT_TRUE(waitFor([&] { return p.ControlListView.itemCount() == 1; }, 3));
        wait(1);
        dialogs->clear();
        return p;
    }
    bool listing() const { return flags().ListingMemory == kTrue; }
};

class ListingSizes : public ListingTest, public ::testing::WithParamInterface<int> {};

TEST_P(ListingSizes, listsEveryRecordInOrderWithOneCompletionMessage) {
    const int n = GetParam();
    Panel& p = startListed(n);
    p.Toolbar1.click("Memory");
    EXPECT_FALSE(p.Timer1.enabled());
    ASSERT_TRUE(waitFor([&] { return !listing(); }, 20 + n));
    wait(1);
    const FlexGrid& grid = p.MemoryListGrid;
    ASSERT_EQ(grid.Rows(), n + 1);
    for (int r = 1; r <= n; ++r) {
        ASSERT_EQ(grid.TextMatrix(r, 0), std::to_string(r));
        ASSERT_EQ(grid.TextMatrix(r, 1), cellTime(r));
        ASSERT_EQ(grid.TextMatrix(r, 2), std::to_string(r));
    }
    EXPECT_TRUE(p.Timer1.enabled());
    if (n == 0) {
        EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Memory Info No Data !!!"}));
        p.Toolbar1.click("RTC");
        EXPECT_EQ(flags().RTCFrmOpen, kTrue) << "the toolbar works again";
        return;
    }
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Get Memory Info OK !!!"}));
    EXPECT_EQ(p.MemoryMessageLbl.Caption(), "Load Complete");
    EXPECT_EQ(p.TotalSizeNumLbl.Caption(), std::to_string(sim->state().memoryTotal));
    EXPECT_EQ(p.RemainSizeNumLbl.Caption(), std::to_string(sim->memoryRemain()));
}

INSTANTIATE_TEST_SUITE_P(Records, ListingSizes, ::testing::Values(0, 1, 5, 255));

TEST_F(ListingTest, withoutBusyWindowTheRowsAreStillRight) {
    sim->setBusyWindow(0);
    Panel& p = startListed(5);
    p.Toolbar1.click("Memory");
    ASSERT_TRUE(waitFor([&] { return !listing(); }, 30));
    wait(2);
    ASSERT_EQ(p.MemoryListGrid.Rows(), 6);
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(p.MemoryListGrid.TextMatrix(r, 2), std::to_string(r));
    // Every doubled next-entry request is answered, so besides the right rows the instrument sends
    // an end-of-list reply for each extra request: with five records the user has to close the
    // completion message six times.
    EXPECT_EQ(dialogs->countMessage("Get Memory Info OK !!!"), 6);
}

TEST_F(ListingTest, silentListingRepeatsThenTimesOutOnceAndResumesPolling) {
    Panel& p = startListed(3);
    sim->setSilent(true);
    sim->clearLog();
    p.Toolbar1.click("Memory");
    ASSERT_TRUE(waitFor([&] { return !listing(); }, 120));
    EXPECT_EQ(sent(CmdReadMemoryInfoNext), 11);
    EXPECT_EQ(dialogs->countMessage("Get Memory Information TimeOut Error !!!"), 1);
    EXPECT_TRUE(p.Timer1.enabled());
}

TEST_F(ListingTest, closingThePaneEndsAListingSilently) {
    Panel& p = startListed(3);
    sim->setSilent(true);
    p.Toolbar1.click("Memory");
    wait(0.5);
    p.BtnMemClose.click();
    ASSERT_TRUE(waitFor([&] { return !listing(); }, 5));
    EXPECT_TRUE(dialogs->records.empty());
    EXPECT_TRUE(p.Timer1.enabled());
}

TEST_F(ListingTest, toolbarIgnoresClicksWhileListing) {
    Panel& p = startListed(3);
    sim->setSilent(true);
    p.Toolbar1.click("Memory");
    wait(0.3);
    p.Toolbar1.click("RTC");
    p.Toolbar1.click("Clear");
    EXPECT_EQ(flags().RTCFrmOpen, kFalse);
    EXPECT_EQ(flags().ClearMemoryFrmOpen, kFalse);
    EXPECT_TRUE(dialogs->records.empty());
}

TEST_F(ListingTest, eraseEndToEnd) {
    sim->setEraseSeconds(15);
    Panel& p = startListed(4);
    p.Toolbar1.click("Clear");
    ClearMemoryFrm& clear = form<ClearMemoryFrm>();
    sim->clearLog();

    dialogs->messageAnswers.push_back(MsgResult::Cancel);
    clear.ClearBtn.click();
    ASSERT_EQ(dialogs->messages().size(), 1u);
    EXPECT_EQ(dialogs->messages()[0].text, "Clear Memory are you sure?");
    EXPECT_EQ(dialogs->messages()[0].title, "Warning");
    EXPECT_EQ(dialogs->messages()[0].buttons, MsgButtons::OKCancel);
    wait(0.05);
    EXPECT_EQ(sent(CmdClearMeterMemory), 0);
    EXPECT_EQ(flags().MemoryErasing, kFalse);

    int16_t erasingWhileBoxOpen = 0;
    dialogs->onMessage = [&](const MessageRequest& m) {
        if (m.text == "Clear OK !!!") erasingWhileBoxOpen = flags().MemoryErasing;
    };
    clear.ClearBtn.click();
    wait(0.05);
    const auto requests = sim->requestsWithCode(CmdClearMeterMemory);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].raw, (metersim::Bytes{0x02, 0x00, 0x01, 0x0B, 0x0A}));
    EXPECT_EQ(flags().MemoryErasing, kTrue);

    // Every toolbar command but Open refuses meanwhile and sends nothing.
    dialogs->clear();
    sim->clearLog();
    for (const char* key : {"COMSET", "RTC", "Memory", "Clear"}) p.Toolbar1.click(key);
    EXPECT_EQ(dialogs->countMessage("Memory Erasing ..."), 4);
    p.Toolbar1.click("Open");
    EXPECT_EQ(dialogs->records.back().kind, "open");

    ASSERT_TRUE(waitFor([&] { return p.StatusBar1.panelText(2) == "Erasing ..."; }, 14));
    ASSERT_TRUE(waitFor([] { return flags().MemoryErasing == kFalse; }, 10));
    EXPECT_EQ(dialogs->countMessage("Clear OK !!!"), 1);
    EXPECT_EQ(erasingWhileBoxOpen, kTrue);

    dialogs->clear();
    wait(1);
    p.Toolbar1.click("Memory");
    ASSERT_TRUE(waitFor([&] { return !listing(); }, 20));
    EXPECT_EQ(dialogs->countMessage("Memory Info No Data !!!"), 1);
    EXPECT_EQ(p.MemoryListGrid.Rows(), 1);
}

TEST_F(ListingTest, silentInstrumentKeepsTheErasingState) {
    Panel& p = startListed(1);
    p.Toolbar1.click("Clear");
    sim->setSilent(true);
    form<ClearMemoryFrm>().ClearBtn.click();
    EXPECT_EQ(flags().MemoryErasing, kTrue);
    wait(300);
    EXPECT_EQ(flags().MemoryErasing, kTrue);
    EXPECT_EQ(p.StatusBar1.panelText(2), "Erasing ...");
}

TEST_F(ListingTest, lostClearReplyEndsErasingWhenTheInstrumentAnswersAfter120s) {
    sim->setEraseSeconds(60);
    sim->dropReply(1, CmdClearMeterMemory);
    startListed(1);
    panel->Toolbar1.click("Clear");
    form<ClearMemoryFrm>().ClearBtn.click();
    const double sentAt = Runtime::get().now();
    ASSERT_TRUE(waitFor([] { return flags().MemoryErasing == kFalse; }, 200));
    EXPECT_GE(Runtime::get().now() - sentAt, 120);
    EXPECT_EQ(dialogs->countMessage("Set Fail !!!"), 1);
    EXPECT_EQ(dialogs->countMessage("Clear OK !!!"), 0);
}

}  // namespace
