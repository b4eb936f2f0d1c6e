// The settings panel against the simulator on a pseudo-terminal, in real time: one contrast read and
// write, and one three-frame timer upload, through the real serial path.
#include <gtest/gtest.h>

#include "link/channels.h"
#include "link/com_port_api.h"
#include "link/requests.h"
#include "mainwindow/com_port_set_frm.h"
#include "mainwindow/panel.h"
#include "metersim/port_entry.h"
#include "metersim/pty_port.h"
#include "metersim/simulator.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/runtime.h"
#include "settings/one_set_form.h"
#include "settings/setting410_panel_frm.h"
#include "settings/timer_frm.h"
#include "shared/state.h"

using namespace sq;

namespace {

constexpr int kCom = 202;

class SettingPanelPtyTest : public ::testing::Test {
protected:
    void SetUp() override {
        Runtime::get().setVirtualTime(false);
        ensureProgramFolder();
        resetSharedState();
        ResetChannelTable();
        PortAPI().reset();
        std::string error;
        ASSERT_TRUE(pty.open(error)) << error;
        sim.setOutput([this](const metersim::Bytes& b) { pty.write(b); });
        pty.setOnBytes([this](const uint8_t* p, size_t n) { sim.receive(p, n); });
        std::string message;
        ASSERT_TRUE(metersim::claimPortEntry(kCom, pty.slavePath(), message)) << message;
        windows().setModalHook([](Window& w) {
            if (auto* setup = dynamic_cast<ComPortSetFrm*>(&w)) {
                setup->ChangeComport(kCom);
                setup->LinkBtn.click();
            }
        });
    }
    void TearDown() override {
        windows().reset();
        registerPollTimers(nullptr, nullptr);
        PortAPI().reset();
        metersim::releasePortEntry(kCom);
    }

    // Waits in real time until `done` holds, at most `seconds`.
    template <typename Pred>
    static bool waitFor(Pred done, double seconds) {
        const double end = Runtime::get().now() + seconds;
        while (!done() && Runtime::get().now() < end) Delay(0.05);
        return done();
    }

    metersim::PtyPort pty;
    metersim::Simulator sim;
    ScopedScriptedDialogs dialogs;
};

TEST_F(SettingPanelPtyTest, contrastReadAndWrittenThroughThePanel) {
    sim.state().contrast = 20;
    Panel& panel = startProgram();
    panel.Show();
    ASSERT_TRUE(waitFor([&] { return panel.ControlListView.itemCount() == 1; }, 3));
    panel.Toolbar1.click("SettingPanel");
    form<Setting410PanelFrm>().LcdContrastBtn.click();
    OneSetForm& f = form<OneSetForm>();
    ASSERT_TRUE(waitFor([&] { return f.SetCbx.ListIndex() >= 0; }, 2));
    EXPECT_EQ(f.SetCbx.Text(), "5");

    f.SetCbx.choose(6);
    f.SetBtn.click();
    ASSERT_TRUE(waitFor([&] { return !dialogs->records.empty(); }, 2));
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}));
    EXPECT_EQ(sim.state().contrast, 28);
    const auto writes = sim.requestsWithCode(CmdWriteLcdContrast);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].raw, (metersim::Bytes{0x02, 0x00, 0x02, 0x81, 0x1C, 0x9F}));
    EXPECT_TRUE(panel.Timer1.enabled());
}

TEST_F(SettingPanelPtyTest, timerTableUploadedInThreeFramesThroughThePanel) {
    Panel& panel = startProgram();
    panel.Show();
    ASSERT_TRUE(waitFor([&] { return panel.ControlListView.itemCount() == 1; }, 3));
    panel.Toolbar1.click("SettingPanel");
    form<Setting410PanelFrm>().TimersBtn.click();
    TimerFrm& f = form<TimerFrm>();
    ASSERT_TRUE(waitFor([&] { return f.TimerManuallyCbx.ListIndex() >= 0; }, 2));
    f.TimerManuallyCbx.choose(TimerFrm::kPc);
    for (int j : {2, 14}) {
        f.PcEnCkx(j).click();
        f.PcStartHour(j).setText("9");
        f.PcStopMinute(j).setText("15");
    }
    f.TimerBtn.click();
    ASSERT_TRUE(waitFor([&] { return !dialogs->records.empty(); }, 5));
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}));
    for (uint8_t code : {CmdWriteTimerSettings1, CmdWriteTimerSettings2, CmdWriteTimerSettings3})
        EXPECT_EQ(sim.requestsWithCode(code).size(), 1u) << int(code);
    const auto& table = sim.state().timerTable;
    EXPECT_EQ(table[0], TimerFrm::kPc);
    for (size_t j : {2u, 14u}) {
        EXPECT_EQ(table[18 + 7 * j], 9);
        EXPECT_EQ(table[23 + 7 * j], 15);
        EXPECT_EQ(table[24 + 7 * j], 1);
    }
    EXPECT_EQ(flags().TimerSetPending, kFalse);
    EXPECT_EQ(shared().SendSuspended, kFalse);
}

}  // namespace
