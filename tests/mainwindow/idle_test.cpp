// An idle program sleeps: with no port open and nothing counting its ticks, Timer3 ticks slowly;
// whatever gives its ticks work brings back the 1 ms tick at once, so they count as before.
#include "link/channels.h"
#include "mainwindow/panel_fixture.h"
#include "mainwindow/poll_loop.h"

using namespace sq;

namespace {

class IdleTest : public sqtest::PanelTest {
protected:
    void SetUp() override {
        startPort = 0;
        PanelTest::SetUp();
        start();
        wait(0.5);
    }
    int timer3Interval() const { return panel->Timer3.interval(); }
};

TEST_F(IdleTest, withNoPortOpenTimer3TicksSlowlyUntilAPortOpens) {
    EXPECT_EQ(timer3Interval(), kIdleTimer3Ms);
    const uint64_t before = panel->Timer3.tickCount();
    wait(2);
    EXPECT_LE(panel->Timer3.tickCount() - before, static_cast<uint64_t>(2000 / kIdleTimer3Ms + 1));

    ASSERT_TRUE(OpenChannel(PortAPI(), 1, kLinkSettings));
    EXPECT_EQ(timer3Interval(), 1) << "woken by the open itself";
    CurrentChannel = ChannelCount;
    EXPECT_TRUE(waitFor([this] { return panel->ControlListView.itemCount() == 1; }, 5));
    EXPECT_EQ(timer3Interval(), 1);
}

TEST_F(IdleTest, aTimerUploadWithNoPortOpenCountsItsTicksAndTimesOutAsBefore) {
    flags().TimerSetPending = kTrue;
    EXPECT_EQ(timer3Interval(), 1);
    wait(0.1005);
    EXPECT_NEAR(shared().ReplyWaitTicks, 100, 1);
    EXPECT_TRUE(dialogs->records.empty());
    wait(0.2);
    EXPECT_EQ(dialogs->messageTexts(), std::vector<std::string>{"Set Timer Setting TimeOut !!!"});
    EXPECT_EQ(flags().TimerSetPending, kFalse);
    wait(0.01);
    EXPECT_EQ(timer3Interval(), kIdleTimer3Ms);
}

TEST_F(IdleTest, aMemoryListingWithNoPortOpenCountsItsTicksAndTimesOutAsBefore) {
    flags().MemoryPanelVisible = kTrue;
    shared().ReplyWaitTicks = 0;
    flags().ListingMemory = kTrue;
    EXPECT_EQ(timer3Interval(), 1);
    wait(0.0505);
    EXPECT_NEAR(shared().ReplyWaitTicks, 50, 1);
    wait(0.2);
    EXPECT_EQ(dialogs->countMessage("Get Memory Information TimeOut Error !!!"), 1);
    EXPECT_EQ(flags().ListingMemory, kFalse);
    wait(0.01);
    EXPECT_EQ(timer3Interval(), kIdleTimer3Ms);
}

}  // namespace
