// A link that recovers: a reply cut off by a silent instrument is dropped once no byte has come for
// a while, and a line that floods faster than the pump parses cannot grow the receive buffer
// without end.
#include <gtest/gtest.h>

#include "link/channels.h"
#include "link/link_fixture.h"
#include "platform/runtime.h"

using namespace sq;
using sqtest::Bytes;
using sqtest::replyFrame;

namespace {

class LinkRecoveryTest : public sqtest::MemoryLinkTest {
protected:
    void SetUp() override {
        Runtime::get().setVirtualTime(true);
        MemoryLinkTest::SetUp();
        openLink();
    }
    void TearDown() override {
        MemoryLinkTest::TearDown();
        Runtime::get().setVirtualTime(false);
    }
    static ChannelRecord& channel() { return Channels[static_cast<size_t>(CurrentChannel)]; }
    static void wait(double seconds) { Runtime::get().advance(seconds); }
    // What the receive pump does each tick: take the port's bytes, then parse.
    static int pump(ReplyFrame* frame = nullptr) {
        ReadChannel(PortAPI());
        return ParseReplyFrame(frame);
    }
};

// A block reply of 80 data bytes with no start byte but its first.
Bytes blockReply() {
    Bytes data(80);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(0x20 + i);
    Bytes frame = replyFrame(0x12, data);
    if (frame.back() == ReplyStart) frame = replyFrame(0x12, Bytes(data.begin(), data.end() - 1));
    return frame;
}

TEST_F(LinkRecoveryTest, aCutOffReplyIsDroppedAfterHalfASecondOfSilenceAndTheNextIsParsedAtOnce) {
    const Bytes whole = blockReply();
    struct Case {
        const char* name;
        size_t kept;  // bytes of the reply that arrive before the silence
    } cases[] = {{"header and 20 of 80 data bytes", 24},
                 {"all but the checksum", whole.size() - 1},
                 {"three header bytes", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        instrumentSends(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(c.kept)));
        EXPECT_EQ(pump(), 0);
        wait(0.45);
        EXPECT_EQ(pump(), 0);
        EXPECT_EQ(channel().RxBuffer.size(), c.kept) << "still waiting: real replies take under 0.1 s";
        wait(0.1);
        EXPECT_EQ(pump(), 0);
        EXPECT_TRUE(channel().RxBuffer.empty()) << "dropped after 0.5 s without a byte";
        EXPECT_EQ(channel().Parse.State, 0);

        const Bytes identify = replyFrame(0x00, {'K', 'M', '-', '3', '0', '0'});
        instrumentSends(identify);
        ReplyFrame frame;
        EXPECT_EQ(pump(&frame), 1);
        EXPECT_EQ(frame.Command, 0x00);
        EXPECT_EQ(frame.Data, Bytes(identify.begin() + 4, identify.end() - 1));
        EXPECT_TRUE(channel().RxBuffer.empty());
    }
}

TEST_F(LinkRecoveryTest, aSlowButSteadyReplyIsNotDropped) {
    const Bytes whole = blockReply();
    ReplyFrame frame;
    int completed = 0;
    for (size_t i = 0; i < whole.size(); i += 5) {
        instrumentSends(Bytes(whole.begin() + static_cast<std::ptrdiff_t>(i),
                              whole.begin() + static_cast<std::ptrdiff_t>(std::min(i + 5, whole.size()))));
        completed += pump(&frame);
        wait(0.4);
        completed += pump(&frame);
    }
    EXPECT_EQ(completed, 1);
    EXPECT_EQ(frame.Command, 0x12);
}

TEST_F(LinkRecoveryTest, aFloodKeepsOnlyTheNewestBytesFromAStartByteAndParsesThem) {
    const Bytes whole = blockReply();
    Bytes flood{0x55, 0x03, 0x12};  // a cut-off start among the oldest bytes
    while (flood.size() <= 3 * kMaxRxBuffer) flood.insert(flood.end(), whole.begin(), whole.end());
    instrumentSends(flood);
    ReadChannel(PortAPI());
    const Bytes& rx = channel().RxBuffer;
    ASSERT_LE(rx.size(), kMaxRxBuffer);
    EXPECT_GT(rx.size(), kMaxRxBuffer - whole.size());
    EXPECT_EQ(rx.front(), ReplyStart);
    EXPECT_EQ(channel().Parse.State, 0);

    // The kept bytes begin wherever a start byte fell; from the first whole frame on, every frame
    // parses.
    ReplyFrame frame;
    int frames = 0;
    while (!channel().RxBuffer.empty() && frames < 1000) frames += ParseReplyFrame(&frame);
    EXPECT_GE(frames, 1);
    EXPECT_EQ(frame.Command, 0x12);
    EXPECT_EQ(frame.Data, Bytes(whole.begin() + 4, whole.end() - 1));
}

TEST_F(LinkRecoveryTest, bytesUnderTheBoundAreKeptWhole) {
    const Bytes whole = blockReply();
    Bytes burst;
    while (burst.size() + whole.size() <= kMaxRxBuffer) burst.insert(burst.end(), whole.begin(), whole.end());
    instrumentSends(burst);
    ReadChannel(PortAPI());
    EXPECT_EQ(channel().RxBuffer, burst);
}

}  // namespace
