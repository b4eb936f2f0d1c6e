// The main window's link recovers from what a failing instrument does to it: a reply cut off by
// silence, and a line that floods faster than the receive pump parses.
#include "link/channels.h"
#include "link/link_fixture.h"
#include "mainwindow/panel_fixture.h"

using namespace sq;

namespace {

using sqtest::Bytes;
using sqtest::replyFrame;

class LinkRecoveryTest : public sqtest::PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        start();
        ASSERT_TRUE(waitFor([this] { return panel->ControlListView.itemCount() == 1; }, 5));
        wait(2);  // calibration date and level have arrived
    }
    std::string linkState() const { return panel->StatusBar1.panelText(2); }
    static const ChannelRecord& channel() { return Channels[static_cast<size_t>(CurrentChannel)]; }
};

TEST_F(LinkRecoveryTest, aCutOffReplyThenSilenceShowsDisconnectionAbout10sLaterAndTheNextReplyIsDecoded) {
    sim->setSilent(true);
    Bytes cut = {0x03, 0x12, 0x00, 0x50};
    cut.resize(24, 0x41);  // 20 of the 80 data bytes
    sim->sendRaw(cut);
    const double sent = Runtime::get().now();
    ASSERT_TRUE(waitFor([this] { return linkState() == "Disconnection"; }, 20));
    const double silent = Runtime::get().now() - sent;
    EXPECT_GE(silent, 10.1);
    EXPECT_LE(silent, 11.5);

    sim->sendRaw(replyFrame(0x00, {'K', 'M', '-', '3', '0', '0'}));
    EXPECT_TRUE(waitFor([] { return shared().DeviceModel == "KM-300"; }, 0.5));
    EXPECT_EQ(linkState(), "Connection");
}

TEST_F(LinkRecoveryTest, aFloodStaysWithinTheBoundAndTheLinkRecovers) {
    Bytes flood;
    const Bytes frame = replyFrame(0x7E, Bytes(540, 0x41));  // a code nobody decodes
    while (flood.size() < 5 * kMaxRxBuffer) flood.insert(flood.end(), frame.begin(), frame.end());
    sim->sendRaw(flood);
    wait(0.01);  // the pump has read the line
    size_t largest = channel().RxBuffer.size();
    ASSERT_TRUE(waitFor(
        [&] {
            largest = std::max(largest, channel().RxBuffer.size());
            return channel().RxBuffer.empty();
        },
        120));
    EXPECT_LE(largest, kMaxRxBuffer);
    EXPECT_GT(largest, kMaxRxBuffer / 2);

    sim->sendRaw(replyFrame(0x00, {'K', 'M', '-', '3', '0', '0'}));
    EXPECT_TRUE(waitFor([] { return shared().DeviceModel == "KM-300"; }, 0.5));
    EXPECT_EQ(linkState(), "Connection");
}

}  // namespace
