#include "mainwindow/poll_loop.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "decoder/erase_watch.h"
#include "platform/dialogs.h"
#include "platform/runtime.h"
#include "shared/download_state.h"
#include "shared/state.h"
#include "support/scripted_dialogs.h"
#include "texts/language_texts.h"

using namespace sq;

namespace {

// A scripted link and window: frames to hand out, bytes per tick, and a log of what was sent.
class FakePollHost : public PollHost {
public:
    bool open = true;
    int port = 3;
    int channel = 1;
    bool listed = false;
    bool channelOpen = false;
    bool bufferHasBytes = false;
    std::deque<ReplyFrame> frames;
    std::vector<std::string> sent;
    std::map<int, std::string> panels;
    std::vector<std::pair<std::string, int>> instruments;
    bool buttonsEnabled = false;
    int treeBuilds = 0;
    std::vector<ReplyFrame> decoded;
    double clock = 0;
    bool timer3Idle = false;

    std::string pcDateTime(const std::string& format) override { return format; }
    void setStatusPanel(int panel, const std::string& text) override { panels[panel] = text; }
    void setPcTimeText(const std::string&) override {}
    int currentChannelIndex() override { return channel; }
    int currentPortNumber() override { return port; }
    bool portIsOpen() override { return open; }
    bool channelPortOpen() override { return channelOpen; }
    void setChannelPortOpen(bool o) override { channelOpen = o; }
    bool channelListed() override { return listed; }
    void setChannelListed() override { listed = true; }
    void readChannel() override {}
    bool receiveBufferEmpty() override { return !bufferHasBytes && frames.empty(); }
    bool bytesWaitingAtPort() override { return false; }
    std::optional<ReplyFrame> parseReplyFrame() override {
        if (frames.empty()) return std::nullopt;
        ReplyFrame f = frames.front();
        frames.pop_front();
        return f;
    }
    void send(PollRequest request, int argument) override {
        static const char* names[] = {"00", "02", "0D", "12", "13", "16"};
        sent.push_back(names[static_cast<int>(request)] +
                       (request == PollRequest::ReadRecordBlock ? ":" + std::to_string(argument) : ""));
    }
    void delay(double seconds) override { clock += seconds; }
    double now() override { return clock; }
    bool deviceButtonsEnabled() override { return buttonsEnabled; }
    void enableDeviceButtons() override { buttonsEnabled = true; }
    void addInstrument(const std::string& text, int image) override { instruments.emplace_back(text, image); }
    bool timer1Enabled() override { return false; }
    bool anyPortOpen() override { return open || channelOpen; }
    void setTimer3Idle(bool idle) override { timer3Idle = idle; }
    void rebuildDeviceTree() override { ++treeBuilds; }
    void decode(const ReplyFrame& frame) override { decoded.push_back(frame); }

    int count(const std::string& code) const {
        return static_cast<int>(std::count(sent.begin(), sent.end(), code));
    }
};

ReplyFrame frame(uint8_t code, std::vector<uint8_t> data) {
    ReplyFrame f;
    f.Channel = 1;
    f.Command = code;
    f.Length = static_cast<uint16_t>(data.size());
    f.Data = std::move(data);
    return f;
}

ReplyFrame modelFrame(const std::string& model) {
    return frame(0x00, std::vector<uint8_t>(model.begin(), model.end()));
}

class PollLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        downloadState() = DownloadState{};
        eraseWatch().reset();
        LoadDefaultTexts();
        shared().CalibrationLevelText = "----";
    }
    FakePollHost host;
    PollLoop loop{host};
    ScopedScriptedDialogs dialogs;
};

TEST_F(PollLoopTest, beforeAnyLinkTimer1ShowsPortZeroAndSendsNothing) {
    host.open = false;
    host.port = 0;
    loop.Timer1_Timer();
    EXPECT_EQ(host.panels[3], "COM  0");
    EXPECT_EQ(host.panels[1], "");
    EXPECT_TRUE(host.sent.empty());
}

TEST_F(PollLoopTest, supportedModelIsListedOnTheFourthTickOnce) {
    shared().DeviceModel = "KM-300";
    loop.ModelChannel = 1;
    for (int tick = 1; tick <= 3; ++tick) {
        loop.Timer1_Timer();
        EXPECT_TRUE(host.instruments.empty()) << tick;
    }
    loop.Timer1_Timer();
    ASSERT_EQ(host.instruments.size(), 1u);
    EXPECT_EQ(host.instruments[0], (std::pair<std::string, int>{"KM-300:3", 3}));
    for (int tick = 0; tick < 10; ++tick) loop.Timer1_Timer();
    EXPECT_EQ(host.instruments.size(), 1u);
    EXPECT_TRUE(host.buttonsEnabled);
}

TEST_F(PollLoopTest, unsupportedModelEnablesButtonsButIsNeverListed) {
    shared().DeviceModel = "XYZ 1";
    loop.ModelChannel = 1;
    for (int tick = 0; tick < 10; ++tick) loop.Timer1_Timer();
    EXPECT_TRUE(host.instruments.empty());
    EXPECT_TRUE(host.buttonsEnabled);
    EXPECT_EQ(host.count("00"), 0) << "a model was reported";
}

// The model is one value for all channels: a channel opened later must report its own before it is
// listed, or it would be listed under the other instrument's model.
TEST_F(PollLoopTest, newChannelIsAskedForItsOwnModelBeforeItIsListed) {
    host.channelOpen = true;
    host.frames.push_back(modelFrame("VOK-LSR20"));
    loop.Timer3_Timer();
    EXPECT_EQ(loop.ModelChannel, 1);
    host.channel = 2;
    host.port = 4;
    for (int tick = 0; tick < 6; ++tick) loop.Timer1_Timer();
    EXPECT_TRUE(host.instruments.empty());
    EXPECT_EQ(host.count("00"), 6);
    ReplyFrame second = modelFrame("KM-300");
    second.Channel = 2;
    host.frames.push_back(second);
    loop.Timer3_Timer();
    for (int tick = 0; tick < 4; ++tick) loop.Timer1_Timer();
    ASSERT_EQ(host.instruments.size(), 1u);
    EXPECT_EQ(host.instruments[0].first, "KM-300:4");
}

TEST_F(PollLoopTest, emptyModelAsksForItOnEveryTick) {
    loop.Timer1_Timer();
    loop.Timer1_Timer();
    EXPECT_EQ(host.count("00"), 2);
    EXPECT_FALSE(host.buttonsEnabled);
}

TEST_F(PollLoopTest, listedModelImages) {
    EXPECT_EQ(PollLoop::modelImage("QVX 410"), 1);
    EXPECT_EQ(PollLoop::modelImage("RAV 820"), 2);
    EXPECT_EQ(PollLoop::modelImage("KM-300"), 3);
    EXPECT_EQ(PollLoop::modelImage("VOK-LSR20"), 4);
    EXPECT_EQ(PollLoop::modelImage("vok-lsr20"), 0);
}

// Timer1's repeat of an outstanding block request.
TEST_F(PollLoopTest, blockRequestRepeatsAfterTwoQuietTicks) {
    host.open = false;
    SharedState& s = shared();
    s.flags.RecordRequestPending = kTrue;
    s.BlockIndex = 7;
    struct Tick {
        bool bytes;
        bool expectSend;
        int expectCount;
    };
    const Tick ticks[] = {
        {false, false, 1}, {false, false, 2}, {false, true, 0},   // the third quiet tick sends
        {false, false, 1}, {true, false, 0},  {false, false, 1},  // bytes start the count again
        {false, false, 2}, {true, false, 0},  {false, false, 1},
    };
    int sends = 0;
    for (const Tick& t : ticks) {
        host.bufferHasBytes = t.bytes;
        loop.Timer1_Timer();
        const int now = host.count("12:7");
        EXPECT_EQ(now - sends, t.expectSend ? 1 : 0);
        EXPECT_EQ(s.BlockWaitTicks, t.expectCount);
        sends = now;
    }
    EXPECT_EQ(downloadState().repeatsOfBlock, 1);
    s.flags.RecordRequestPending = kFalse;
    loop.Timer1_Timer();
    EXPECT_EQ(s.BlockWaitTicks, 0);
}

TEST_F(PollLoopTest, timer2AsksForTheModelOnTheSixthSilentTickThenEveryFifth) {
    shared().SendSuspended = kTrue;
    std::vector<int> identifyTicks;
    for (int tick = 1; tick <= 16; ++tick) {
        const int before = host.count("00");
        loop.Timer2_Timer();
        if (host.count("00") > before) identifyTicks.push_back(tick);
    }
    EXPECT_EQ(identifyTicks, (std::vector<int>{6, 11, 16}));
    EXPECT_EQ(shared().SendSuspended, kFalse);
}

TEST_F(PollLoopTest, silentPortShowsDisconnectionAfter101TicksAndBytesBringConnectionBack) {
    host.channelOpen = true;
    for (int tick = 1; tick <= 100; ++tick) loop.Timer3_Timer();
    EXPECT_EQ(host.panels[2], "Connection");
    loop.Timer3_Timer();
    EXPECT_EQ(host.panels[2], "Disconnection");
    for (int tick = 0; tick < 40000; ++tick) loop.Timer3_Timer();
    EXPECT_EQ(shared().IdleTicks, 101) << "the counter stops";
    flags().MemoryErasing = kTrue;
    loop.Timer3_Timer();
    EXPECT_EQ(host.panels[2], "Erasing ...");
    host.bufferHasBytes = true;
    loop.Timer3_Timer();
    EXPECT_EQ(host.panels[2], "Connection");
}

TEST_F(PollLoopTest, identifyReplyStoresModelRebuildsTreeAndIsDecoded) {
    host.channelOpen = true;
    host.frames.push_back(modelFrame("VOK-LSR20"));
    host.frames.push_back(modelFrame("VOK-LSR20"));
    loop.Timer3_Timer();
    loop.Timer3_Timer();
    EXPECT_EQ(shared().DeviceModel, "VOK-LSR20");
    EXPECT_EQ(host.treeBuilds, 1);
    EXPECT_EQ(host.decoded.size(), 2u);
}

// A command run inside the pump's wait may switch channels and leave another channel's frame
// behind; the pump decodes the frame it parsed, once.
TEST_F(PollLoopTest, channelSwitchInsideTheWaitDecodesTheParsedFrameOnce) {
    class SwitchingHost : public FakePollHost {
    public:
        void delay(double seconds) override {
            FakePollHost::delay(seconds);
            if (!switched && decoded.empty() && frames.empty()) {
                switched = true;
                port = 4;
                frames.push_back(frame(0x13, {0x04, 0x00}));  // the other channel's stale frame
            }
        }
        bool switched = false;
    } host2;
    PollLoop loop2(host2);
    host2.channelOpen = true;
    shared().DeviceModel = "VOK-LSR20";
    shared().CalibrationLevelText = "94.0";
    shared().CalibrationDateTime.Day = 1;
    host2.frames.push_back(frame(0x13, {0x03, 0xA2}));
    loop2.Timer3_Timer();
    ASSERT_EQ(host2.decoded.size(), 1u);
    EXPECT_EQ(host2.decoded[0].Data, (std::vector<uint8_t>{0x03, 0xA2}));
}

TEST_F(PollLoopTest, unsupportedModelFramesAreNotDecoded) {
    host.channelOpen = true;
    host.frames.push_back(modelFrame("XYZ 1"));
    host.frames.push_back(frame(0x13, {0x03, 0xA2}));
    loop.Timer3_Timer();
    loop.Timer3_Timer();
    EXPECT_EQ(shared().DeviceModel, "XYZ 1");
    EXPECT_TRUE(host.decoded.empty());
}

TEST_F(PollLoopTest, calibrationRequestsFollowEveryFrameUntilBothArrived) {
    host.channelOpen = true;
    shared().DeviceModel = "VOK-LSR20";
    host.frames.push_back(frame(0x01, {4}));
    loop.Timer3_Timer();
    EXPECT_EQ(host.sent, (std::vector<std::string>{"16", "13"}));
    shared().CalibrationLevelText = "94.0";
    host.frames.push_back(frame(0x01, {4}));
    loop.Timer3_Timer();
    EXPECT_EQ(host.count("16"), 2) << "a date of 0/0/0 keeps it requested";
    shared().CalibrationDateTime.Day = 1;
    host.frames.push_back(frame(0x01, {4}));
    loop.Timer3_Timer();
    EXPECT_EQ(host.count("16"), 2);
    EXPECT_EQ(host.count("13"), 1);
}

TEST_F(PollLoopTest, timer3IsIdleOnlyWithNoPortOpenAndNothingCountingItsTicks) {
    struct Case {
        bool portOpen, recordedOpen, timerSetPending, listingMemory, idle;
    } cases[] = {
        {false, false, false, false, true}, {true, false, false, false, false},
        {false, true, false, false, false}, {false, false, true, false, false},
        {false, false, false, true, false},
    };
    for (const Case& c : cases) {
        host.open = c.portOpen;
        host.channelOpen = c.recordedOpen;
        flags().TimerSetPending = flagOf(c.timerSetPending);
        flags().ListingMemory = flagOf(c.listingMemory);
        EXPECT_EQ(loop.Timer3Idle(), c.idle)
            << c.portOpen << c.recordedOpen << c.timerSetPending << c.listingMemory;
    }
    flags().ListingMemory = kFalse;
    host.open = false;
    host.channelOpen = false;
    loop.Timer3_Timer();
    EXPECT_TRUE(host.timer3Idle) << "every tick sets the pace";
}

TEST_F(PollLoopTest, timerUploadTimesOutAfter300TicksAndLiftsTheSendSuspension) {
    flags().TimerSetPending = kTrue;
    shared().SendSuspended = kTrue;
    for (int tick = 0; tick < 299; ++tick) loop.Timer3_Timer();
    EXPECT_TRUE(dialogs->records.empty());
    loop.Timer3_Timer();
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set Timer Setting TimeOut !!!"}));
    EXPECT_EQ(flags().TimerSetPending, kFalse);
    EXPECT_EQ(shared().SendSuspended, kFalse);
}

TEST_F(PollLoopTest, stalledListingRepeatsEveryTenthTickThenTimesOut) {
    flags().ListingMemory = kTrue;
    flags().MemoryPanelVisible = kTrue;
    std::vector<int> repeatTicks;
    for (int tick = 0; tick <= 205; ++tick) {
        const int before = host.count("0D");
        loop.Timer3_Timer();
        if (host.count("0D") > before) repeatTicks.push_back(tick);
    }
    EXPECT_EQ(repeatTicks, (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    EXPECT_EQ(dialogs->countMessage("Get Memory Information TimeOut Error !!!"), 1);
    EXPECT_EQ(flags().ListingMemory, kFalse);
}

TEST_F(PollLoopTest, closedPaneEndsTheListingSilently) {
    flags().ListingMemory = kTrue;
    flags().MemoryPanelVisible = kTrue;
    loop.Timer3_Timer();
    flags().MemoryPanelVisible = kFalse;
    for (int tick = 0; tick < 9; ++tick) loop.Timer3_Timer();
    EXPECT_EQ(flags().ListingMemory, kTrue);
    loop.Timer3_Timer();
    EXPECT_EQ(flags().ListingMemory, kFalse);
    EXPECT_TRUE(dialogs->records.empty());
}

TEST_F(PollLoopTest, lostClearReplyEndsErasingOnceTheInstrumentAnswersAfter120s) {
    host.channelOpen = true;
    shared().DeviceModel = "VOK-LSR20";
    flags().MemoryErasing = kTrue;
    eraseWatch().noteClearRequest(host.clock);
    host.frames.push_back(modelFrame("VOK-LSR20"));
    loop.Timer3_Timer();
    EXPECT_EQ(flags().MemoryErasing, kTrue) << "too early";
    host.clock = 121;
    host.frames.push_back(modelFrame("VOK-LSR20"));
    loop.Timer3_Timer();
    EXPECT_EQ(flags().MemoryErasing, kFalse);
    ASSERT_EQ(dialogs->messages().size(), 1u);
    EXPECT_EQ(dialogs->messages()[0].text, "Set Fail !!!");
    EXPECT_EQ(dialogs->messages()[0].icon, MsgIcon::Critical);
}

TEST(EraseWatchTest, newClearRequestRestartsTheWait) {
    EraseWatch w;
    w.noteClearRequest(0);
    w.noteClearRequest(100);
    EXPECT_FALSE(w.noteReply(0x00, 130, true));
    EXPECT_FALSE(w.noteReply(0x0B, 300, true)) << "the clear reply itself is the decoder's";
    EXPECT_TRUE(w.noteReply(0x00, 300, true));
}

}  // namespace
