// The settings panel against the simulator on a pseudo-terminal, in real time: one contrast read and
// write, and one three-frame timer upload, through the real serial path.
#include <gtest/gtest.h>

#include "link/requests.h"
#include "mainwindow/panel.h"
#include "mainwindow/pty_program_fixture.h"
#include "settings/one_set_form.h"
#include "settings/setting410_panel_frm.h"
#include "settings/timer_frm.h"

using namespace sq;

namespace {

constexpr int kCom = 202;

class SettingPanelPtyTest : public sqtest::PtyProgramTest {
protected:
    SettingPanelPtyTest() : PtyProgramTest(kCom) {}
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
