// The program against the simulator on a pseudo-terminal, in real time: the real serial path.
#include <gtest/gtest.h>

#include "link/requests.h"
#include "mainwindow/panel.h"
#include "mainwindow/pty_program_fixture.h"
#include "texts/language_texts.h"

using namespace sq;

namespace {

constexpr int kCom = 201;

class RealTimePtyTest : public sqtest::PtyProgramTest {
protected:
    RealTimePtyTest() : PtyProgramTest(kCom) {}
};

TEST_F(RealTimePtyTest, programOpensTheSimulatorsPortFindsTheInstrumentAndWritesFrames) {
    Panel& panel = startProgram();
    panel.Show();
    EXPECT_TRUE(PortAPI().IsOpen(kCom));
    const double opened = Runtime::get().now();
    while (panel.ControlListView.itemCount() == 0 && Runtime::get().now() - opened < 2.0) Delay(0.05);
    EXPECT_LT(Runtime::get().now() - opened, 2.0);
    ASSERT_EQ(panel.ControlListView.itemCount(), 1);
    EXPECT_EQ(panel.ControlListView.itemText(1), "VOK-LSR20:" + std::to_string(kCom));

    const std::vector<uint8_t> frame = {0x02, 0x00, 0x01, 0x0F, 0x0E};  // memory size
    EXPECT_EQ(WriteChannel(PortAPI(), frame), 5);
    Delay(0.3);
    const auto logged = sim.requestsWithCode(0x0F);
    ASSERT_FALSE(logged.empty());
    EXPECT_EQ(logged.back().raw, frame);
}

// A reply cut off mid-frame, then silence: the fragment is dropped, the link shows
// "Disconnection" about 10 s later, and the next whole reply is decoded at once.
TEST_F(RealTimePtyTest, aCutOffReplyThenSilenceEndsInDisconnectionAndTheNextReplyIsDecoded) {
    Panel& panel = startProgram();
    panel.Show();
    const double opened = Runtime::get().now();
    while (panel.ControlListView.itemCount() == 0 && Runtime::get().now() - opened < 2.0) Delay(0.05);
    ASSERT_EQ(panel.ControlListView.itemCount(), 1);
    Delay(0.5);  // calibration date and level have arrived

    sim.setSilent(true);
    std::vector<uint8_t> cut = {0x03, 0x12, 0x00, 0x50};
    cut.resize(24, 0x41);  // 20 of the 80 data bytes
    sim.sendRaw(cut);
    const double sent = Runtime::get().now();
    while (panel.StatusBar1.panelText(2) != "Disconnection" && Runtime::get().now() - sent < 15) Delay(0.05);
    const double silent = Runtime::get().now() - sent;
    EXPECT_EQ(panel.StatusBar1.panelText(2), "Disconnection");
    EXPECT_GE(silent, 10.1);
    EXPECT_LE(silent, 12.5);

    const std::vector<uint8_t> model = {'K', 'M', '-', '3', '0', '0'};
    std::vector<uint8_t> reply = {0x03, 0x00, 0x00, static_cast<uint8_t>(model.size())};
    reply.insert(reply.end(), model.begin(), model.end());
    uint8_t check = 0;
    for (size_t i = 1; i < reply.size(); ++i) check ^= reply[i];
    reply.push_back(check);
    sim.sendRaw(reply);
    const double answered = Runtime::get().now();
    while (shared().DeviceModel != "KM-300" && Runtime::get().now() - answered < 1.0) Delay(0.02);
    EXPECT_EQ(shared().DeviceModel, "KM-300");
    EXPECT_EQ(panel.StatusBar1.panelText(2), "Connection");
}

}  // namespace
