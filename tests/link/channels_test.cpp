// The channel table over the in-memory line: opening, reading, writing, flushing, closing, scanning.
#include "link/channels.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "link/link_fixture.h"
#include "platform/runtime.h"

using namespace sq;
using sqtest::Bytes;
using sqtest::kLinkSettings;
using sqtest::kMemoryCom;
using sqtest::replyFrame;

namespace {

class ChannelTest : public sqtest::MemoryLinkTest {};

TEST_F(ChannelTest, openChannelAddsAChannelOnTheReopenedPort) {
    openLink();
    EXPECT_EQ(ChannelCount, 1);
    const ChannelRecord& c = Channels[1];
    EXPECT_EQ(c.PortNumber, kMemoryCom);
    EXPECT_EQ(c.PortName, "COM7");
    EXPECT_EQ(c.Settings, kLinkSettings);
    EXPECT_TRUE(c.RxBuffer.empty());

    int32_t firstHandle = PortAPI().IsActivity(kMemoryCom);
    EXPECT_TRUE(OpenChannel(PortAPI(), kMemoryCom, kLinkSettings));
    EXPECT_EQ(ChannelCount, 2) << "the same port may be several channels";
    EXPECT_NE(PortAPI().IsActivity(kMemoryCom), firstHandle) << "closed and opened again";
    EXPECT_TRUE(PortAPI().IsOpen(kMemoryCom));
}

TEST_F(ChannelTest, aPortThatFailsToOpenStillBecomesAChannel) {
    EXPECT_TRUE(OpenChannel(PortAPI(), 200, kLinkSettings));
    EXPECT_EQ(ChannelCount, 1);
    EXPECT_EQ(Channels[1].PortName, "COM200");
    EXPECT_FALSE(PortAPI().IsOpen(200));
    EXPECT_EQ(PortAPI().IsActivity(200), -1);
}

TEST_F(ChannelTest, openingAChannelRestartsEveryParser) {
    openLink();
    append(1, {0x03, 0x12, 0x00, 0x50, 1, 2});
    ParseReplyFrame();
    ASSERT_EQ(Channels[1].Parse.State, 4);
    Channels[9].Parse.State = 3;
    OpenChannel(PortAPI(), kMemoryCom, kLinkSettings);
    EXPECT_EQ(Channels[1].Parse.State, 0);
    EXPECT_EQ(Channels[9].Parse.State, 0);
    EXPECT_EQ(Channels[1].RxBuffer.size(), 6u) << "receive buffers are not touched";
}

TEST_F(ChannelTest, theEleventhOpenOfARunIsRefusedEvenAfterClosingAll) {
    for (int i = 0; i < MaxChannels; ++i) ASSERT_TRUE(OpenChannel(PortAPI(), kMemoryCom, kLinkSettings));
    CloseAllChannels(PortAPI());
    EXPECT_FALSE(OpenChannel(PortAPI(), kMemoryCom, kLinkSettings));
    EXPECT_EQ(ChannelCount, MaxChannels);
    ASSERT_EQ(m_dialogs->messages().size(), 1u);
    EXPECT_EQ(m_dialogs->messages()[0].text, "Open Port Error");
    EXPECT_EQ(m_dialogs->messages()[0].icon, MsgIcon::Critical);
    EXPECT_FALSE(PortAPI().IsOpen(kMemoryCom)) << "nothing was opened";
}

TEST_F(ChannelTest, closeAllClearsTheChannelsButKeepsCountAndListFlags) {
    openLink();
    Channels[1].PortOpen = true;
    Channels[1].Listed = true;
    append(1, {0x03, 0x01});
    CloseAllChannels(PortAPI());
    EXPECT_FALSE(PortAPI().IsOpen(kMemoryCom));
    EXPECT_EQ(ChannelCount, 1);
    EXPECT_EQ(Channels[1].PortNumber, 0);
    EXPECT_TRUE(Channels[1].PortName.empty());
    EXPECT_TRUE(Channels[1].Settings.empty());
    EXPECT_TRUE(Channels[1].RxBuffer.empty());
    EXPECT_TRUE(Channels[1].PortOpen);
    EXPECT_TRUE(Channels[1].Listed);
}

TEST_F(ChannelTest, readChannelAppendsWhatArrived) {
    openLink();
    EXPECT_EQ(ReadChannel(PortAPI()), 0);
    instrumentSends({0x03, 0x81});
    EXPECT_EQ(ReadChannel(PortAPI()), 2);
    instrumentSends({0x00, 0x01, 0x81, 0x01});
    EXPECT_EQ(ReadChannel(PortAPI()), 4);
    EXPECT_EQ(Channels[1].RxBuffer, Bytes({0x03, 0x81, 0x00, 0x01, 0x81, 0x01}));
    EXPECT_EQ(ParseReplyFrame(), 1);
}

TEST_F(ChannelTest, bytesReadGoToTheChannelWhosePortWasRead) {
    openLink();
    ASSERT_TRUE(OpenChannel(PortAPI(), 200, kLinkSettings));
    CurrentChannel = 1;
    instrumentSends({1, 2, 3});
    Runtime::get().callAfter(0, [] { CurrentChannel = 2; });
    EXPECT_EQ(ReadChannel(PortAPI()), 3);
    EXPECT_EQ(Channels[1].RxBuffer, Bytes({1, 2, 3}));
    EXPECT_TRUE(Channels[2].RxBuffer.empty());
}

TEST_F(ChannelTest, withoutCurrentChannelNothingIsReadOrWritten) {
    openLink();
    CurrentChannel = 0;
    instrumentSends({1, 2});
    EXPECT_EQ(ReadChannel(PortAPI()), 0);
    EXPECT_EQ(WriteChannel(PortAPI(), {0x02, 0x00, 0x01, 0x00, 0x01}), 0);
    EXPECT_TRUE(sent().empty());
    FlushChannel(PortAPI());
    EXPECT_EQ(m_pair->program().queued(), 2u);
}

TEST_F(ChannelTest, writeChannelReportsTheCountWritten) {
    openLink();
    EXPECT_EQ(WriteChannel(PortAPI(), {0x02, 0x00, 0x01, 0x02, 0x03}), 5);
    EXPECT_EQ(sent(), Bytes({0x02, 0x00, 0x01, 0x02, 0x03}));
    PortAPI().CommClose(kMemoryCom);
    EXPECT_EQ(WriteChannel(PortAPI(), {0x02, 0x00, 0x01, 0x02, 0x03}), -1);
}

TEST_F(ChannelTest, flushEmptiesPortAndBufferAndRestartsTheParser) {
    openLink();
    Bytes first = replyFrame(0x02, {0x07, 0xE6, 0x03, 0x1E, 0x0E, 0x05, 0x09});
    append(1, Bytes(first.begin(), first.begin() + 8));
    EXPECT_EQ(ParseReplyFrame(), 0);
    ASSERT_EQ(Channels[1].Parse.State, 4);
    instrumentSends({0xEE, 0xEE});

    FlushChannel(PortAPI());
    EXPECT_TRUE(Channels[1].RxBuffer.empty());
    EXPECT_EQ(m_pair->program().queued(), 0u);
    EXPECT_EQ(Channels[1].Parse.State, 0);

    instrumentSends(replyFrame(0x01, {0x08}));
    ReadChannel(PortAPI());
    ReplyFrame f;
    ASSERT_EQ(ParseReplyFrame(&f), 1) << "the reply after the flush is not lost";
    EXPECT_EQ(f.Command, 0x01);
}

struct RecordingView final : PortScanView {
    std::vector<std::string> items;
    int max = 0, lastValue = 0, clears = 0;
    void clearList() override {
        items.clear();
        ++clears;
    }
    void addListItem(const std::string& text) override { items.push_back(text); }
    void setProgressMax(int m) override { max = m; }
    int progressMax() const override { return max; }
    void setProgressValue(int v) override { lastValue = v; }
};

TEST_F(ChannelTest, scanListsFreePortsAndLeavesOpenChannelsAlone) {
    auto spare = std::make_shared<MemoryPortPair>();
    MemoryPortPair::registerPort(3, spare);
    openLink();
    RecordingView view;
    view.items = {"old"};
    ScanComPorts(PortAPI(), view);
    MemoryPortPair::unregisterPort(3);

    EXPECT_EQ(view.max, 256);
    EXPECT_EQ(view.lastValue, 256);
    EXPECT_EQ(view.clears, 1);
    EXPECT_NE(std::find(view.items.begin(), view.items.end(), "COM  3"), view.items.end());
    EXPECT_EQ(std::find(view.items.begin(), view.items.end(), "COM  7"), view.items.end());
    EXPECT_EQ(std::find(view.items.begin(), view.items.end(), "old"), view.items.end());
    EXPECT_FALSE(PortAPI().IsOpen(3)) << "a probed port is closed again";
    EXPECT_TRUE(PortAPI().IsOpen(kMemoryCom));
    EXPECT_EQ(PortAPI().port(kMemoryCom).Dcb.baud, 57600u) << "the open channel keeps its settings";
}

}  // namespace
