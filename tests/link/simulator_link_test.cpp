// The link against the simulated instrument, which reads the protocol on its own: every request is
// understood, and its replies come back through the receive path; once in virtual time over the
// in-memory line, once in real time over a pseudo-terminal found through a ports entry.
#include <gtest/gtest.h>
#include <unistd.h>

#include "link/builder_table.h"
#include "link/channels.h"
#include "link/com_port_api.h"
#include "metersim/port_entry.h"
#include "metersim/pty_port.h"
#include "metersim/simulator.h"
#include "platform/com_ports.h"
#include "platform/dialogs.h"
#include "platform/runtime.h"
#include "shared/state.h"
#include "support/scripted_dialogs.h"

using namespace sq;
using sqtest::Bytes;

namespace {

constexpr int kSimCom = 9;
constexpr const char* kSettings = "baud=57600 parity=N data=8 stop=1";

// Reads and parses as the receive pump does until a frame completes or `seconds` have passed.
std::optional<ReplyFrame> awaitReply(double seconds) {
    double end = Runtime::get().now() + seconds;
    ReplyFrame frame;
    while (Runtime::get().now() < end) {
        ReadChannel(PortAPI());
        if (ParseReplyFrame(&frame) == 1) return frame;
        Delay(0.001);
    }
    return std::nullopt;
}

class SimulatorLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        PortAPI().reset();
        ResetChannelTable();
        resetSharedState();
    }
    void TearDown() override {
        PortAPI().reset();
        ResetChannelTable();
        resetSharedState();
        Runtime::get().setVirtualTime(false);
    }
    ScopedScriptedDialogs m_dialogs;
};

TEST_F(SimulatorLinkTest, theInstrumentUnderstandsEveryRequest) {
    Runtime::get().setVirtualTime(true);
    metersim::Simulator sim;
    sim.plugIn(kSimCom);
    ASSERT_TRUE(OpenChannel(PortAPI(), kSimCom, kSettings));
    CurrentChannel = 1;
    for (const auto& b : sqtest::allBuilders()) {
        SCOPED_TRACE(b.name);
        resetSharedState();
        sim.clearLog();
        b.call();
        Runtime::get().advance(0.05);
        ASSERT_EQ(sim.requests().size(), 1u);
        const metersim::LoggedRequest& r = sim.requests()[0];
        EXPECT_EQ(r.code, b.expected[3]);
        EXPECT_TRUE(r.checksumOk);
        EXPECT_NE(r.outcome, metersim::Outcome::Unknown);
        EXPECT_NE(r.outcome, metersim::Outcome::BadChecksum);
        EXPECT_EQ(sim.skippedBytes(), 0u) << "the zero bytes after 0x90 and 0x91 are expected";
        if (r.code == CmdWriteTimerSettings1) shared().SendSuspended = kFalse;
        // Drain the reply so the next request starts on an empty line.
        while (awaitReply(0.05)) {
        }
        Channels[1].RxBuffer.clear();
    }
    sim.detach();
}

TEST_F(SimulatorLinkTest, repliesArriveWholeThroughTheReceivePath) {
    Runtime::get().setVirtualTime(true);
    metersim::Simulator sim;
    sim.plugIn(kSimCom);
    sim.splitReplies(3);
    ASSERT_TRUE(OpenChannel(PortAPI(), kSimCom, kSettings));
    CurrentChannel = 1;

    ReadDeviceModel();
    auto model = awaitReply(1.0);
    ASSERT_TRUE(model);
    EXPECT_EQ(model->Command, CmdReadDeviceModel);
    EXPECT_EQ(BytesToText(model->Data, model->Length - 1, "chr"), "VOK-LSR20");

    ReadCalibrationLevel();
    auto level = awaitReply(1.0);
    ASSERT_TRUE(level);
    EXPECT_EQ(level->Data, Bytes({0x03, 0xAC}));  // 94.0 dB
    sim.detach();
}

TEST_F(SimulatorLinkTest, realTimeOverAPseudoTerminalFoundThroughItsPortsEntry) {
    Runtime::get().setVirtualTime(false);
    metersim::Simulator sim;
    metersim::PtyPort pty;
    std::string error;
    ASSERT_TRUE(pty.open(error)) << error;
    sim.setOutput([&pty](const Bytes& b) { pty.write(b); });
    pty.setOnBytes([&sim](const uint8_t* p, size_t n) { sim.receive(p, n); });
    std::string message;
    ASSERT_TRUE(metersim::claimPortEntry(kSimCom, pty.slavePath(), message)) << message;
    ASSERT_EQ(resolveComPort(kSimCom).devicePath, pty.slavePath());

    ASSERT_TRUE(OpenChannel(PortAPI(), kSimCom, kSettings));
    CurrentChannel = 1;
    ASSERT_TRUE(PortAPI().IsOpen(kSimCom)) << PortAPI().LastErrorMessage;

    ReadDeviceModel();
    auto model = awaitReply(2.0);
    ASSERT_TRUE(model);
    EXPECT_EQ(BytesToText(model->Data, model->Length - 1, "chr"), "VOK-LSR20");

    ReadRecordBlock(258);
    Delay(0.1);
    ASSERT_EQ(sim.countOf(CmdReadRecordBlock), 1);
    EXPECT_EQ(sim.requestsWithCode(CmdReadRecordBlock)[0].field("block"), 258);

    CloseAllChannels(PortAPI());
    metersim::releasePortEntry(kSimCom);
}

}  // namespace
