// The setting window frame and the single-value, clock and clear-memory windows on it.
#include <gtest/gtest.h>

#include "decoder/reply_decoder.h"
#include "link/channels.h"
#include "link/com_port_api.h"
#include "link/requests.h"
#include "metersim/simulator.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/read_write_ini_cls.h"
#include "platform/runtime.h"
#include "platform/ui/window.h"
#include "settings/clear_memory_frm.h"
#include "settings/one_set_form.h"
#include "settings/rtc_frm.h"
#include "settings/setting_window.h"
#include "settings/sonoquant_frm.h"
#include "shared/state.h"
#include "support/pixels.h"
#include "support/scripted_dialogs.h"
#include "texts/language_texts.h"

using namespace sq;

namespace {

class SettingWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Runtime::get().setVirtualTime(true);
        ensureProgramFolder();
        resetSharedState();
        ResetChannelTable();
        PortAPI().reset();
        LoadDefaultTexts();
        decoderState() = DecoderState{};
        shared().IniFilePath = programPath("ControlSetting.ini");
        sim.plugIn(2);
        OpenChannel(PortAPI(), 2, "baud=57600 parity=N data=8 stop=1");
        CurrentChannel = 1;
    }
    void TearDown() override {
        windows().reset();
        PortAPI().reset();
        sim.detach();
        Runtime::get().setVirtualTime(false);
    }
    OneSetForm& openOneSet(int16_t OpenFlags::*mode) {
        flags().*mode = kTrue;
        OneSetForm& f = form<OneSetForm>();
        f.Show();
        return f;
    }
    metersim::Bytes lastData(uint8_t code) {
        Runtime::get().advance(0.01);
        const auto logged = sim.requestsWithCode(code);
        return logged.empty() ? metersim::Bytes{} : logged.back().data;
    }

    metersim::Simulator sim;
    ScopedScriptedDialogs dialogs;
};

TEST_F(SettingWindowsTest, singleValueWindowBuildsItsListForTheFirstSetMode) {
    struct Case {
        int16_t OpenFlags::*mode;
        std::string caption;
        int count;
        std::string first, last;
    };
    const Case cases[] = {
        {&OpenFlags::OneSetLcdContrast, "Lcd contrast", 10, "1", "10"},
        {&OpenFlags::OneSetLcdApo, "Lcd APO", 6, "OFF", "5 Min"},
        {&OpenFlags::OneSetPause, "Pause", 2, "OFF", "ON"},
        {&OpenFlags::OneSetCalibration, "Calibration", 61, "93.0", "OFF"},
        {&OpenFlags::OneSetIntervalTime, "Interval Time", 6, "1 Min", "2 Hr"},
    };
    for (const Case& c : cases) {
        OneSetForm& f = openOneSet(c.mode);
        EXPECT_EQ(f.Caption(), c.caption);
        ASSERT_EQ(f.SetCbx.ListCount(), c.count) << c.caption;
        EXPECT_EQ(f.SetCbx.List(0), c.first);
        EXPECT_EQ(f.SetCbx.List(c.count - 1), c.last);
        EXPECT_EQ(f.CurMeterTxt.Visible(), c.mode == &OpenFlags::OneSetCalibration);
        f.Unload();
        EXPECT_EQ(currentOneSetMode(), OneSetMode::None) << "unload clears every mode flag";
    }
    flags().OneSetPause = kTrue;
    flags().OneSetAutoLock = kTrue;
    EXPECT_EQ(currentOneSetMode(), OneSetMode::AutoLock);
}

TEST_F(SettingWindowsTest, singleValueSetSendsTheEncodedValue) {
    OneSetForm& contrast = openOneSet(&OpenFlags::OneSetLcdContrast);
    contrast.SetCbx.setListIndex(6);
    contrast.SetBtn.click();
    EXPECT_EQ(lastData(CmdWriteLcdContrast), (metersim::Bytes{28}));
    EXPECT_DOUBLE_EQ(decoderState().ContrastValue, 28);
    contrast.Unload();

    OneSetForm& interval = openOneSet(&OpenFlags::OneSetIntervalTime);
    interval.SetCbx.setListIndex(3);
    interval.SetBtn.click();
    EXPECT_EQ(lastData(CmdWriteIntervalTime), (metersim::Bytes{0x08, 0x07, 0x00, 0x00}));
    interval.Unload();

    OneSetForm& pause = openOneSet(&OpenFlags::OneSetPause);
    pause.SetBtn.click();  // nothing chosen: -1 does not fit a byte
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set Error !!!"}));
    EXPECT_EQ(sim.countOf(CmdWritePauseSetting), 0);
}

TEST_F(SettingWindowsTest, calibrationSetRemembersTheTextAndTheNextOpeningShowsIt) {
    OneSetForm& f = openOneSet(&OpenFlags::OneSetCalibration);
    f.SetCbx.setText("94.5");
    f.SetBtn.click();
    EXPECT_EQ(sim.requestsWithCode(CmdWriteCalibrationLevel).back().data, (metersim::Bytes{0x03, 0xB1}));
    EXPECT_EQ(sim.countOf(CmdReadCalibrationLevel), 1);
    EXPECT_EQ(IniRW().GetINI("MeterSetting", "Calibration", "", shared().IniFilePath), "94.5");
    f.Unload();
    EXPECT_EQ(openOneSet(&OpenFlags::OneSetCalibration).SetCbx.Text(), "94.5");
}

TEST_F(SettingWindowsTest, setRefusesWhileErasing) {
    OneSetForm& f = openOneSet(&OpenFlags::OneSetAutoScroll);
    f.SetCbx.setListIndex(1);
    flags().MemoryErasing = kTrue;
    f.SetBtn.click();
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Memory Erasing ..."}));
    EXPECT_EQ(sim.countOf(CmdWriteAutoScroll), 0);
}

TEST_F(SettingWindowsTest, clockSetCutsThePcTimeLabel) {
    const ClockRecord c = clockFromPcTimeText("2026/03/05 07:08:09");
    EXPECT_EQ(c.Year, 2026);
    EXPECT_EQ(c.Month, 3);
    EXPECT_EQ(c.Second, 9);
    RTCFrm& rtc = form<RTCFrm>();
    rtc.Show();
    EXPECT_EQ(flags().RTCFrmOpen, kTrue);
    rtc.PcTimeNowLbl.setCaption("2026/03/05 07:08:09");
    flags().MemoryErasing = kTrue;  // the clock is written all the same
    rtc.RTCSetBtn.click();
    EXPECT_EQ(lastData(CmdWriteMeterClock), (metersim::Bytes{0x07, 0xEA, 0x03, 0x05, 0x07, 0x08, 0x09}));
    rtc.PcTimeNowLbl.setCaption("123");
    rtc.RTCSetBtn.click();
    EXPECT_EQ(lastData(CmdWriteMeterClock), (metersim::Bytes{0x00, 0x7B, 0, 0, 0, 0, 0}));
    rtc.ExitBtn.click();
    EXPECT_EQ(flags().RTCFrmOpen, kFalse);
}

TEST_F(SettingWindowsTest, clearAsksOnlyForASupportedModel) {
    ClearMemoryFrm& clear = form<ClearMemoryFrm>();
    clear.Show();
    clear.ClearBtn.click();
    EXPECT_TRUE(dialogs->records.empty());
    shared().DeviceModel = "VOK-LSR20";
    sim.setSilent(true);
    clear.ClearBtn.click();
    clear.ClearBtn.click();  // a second clear during the erase goes out again
    Runtime::get().advance(0.01);
    EXPECT_EQ(sim.countOf(CmdClearMeterMemory), 2);
    EXPECT_EQ(flags().MemoryErasing, kTrue);
    clear.Unload();
    EXPECT_EQ(flags().MemoryErasing, kTrue) << "closing the window does not end the erase";
}

TEST_F(SettingWindowsTest, numberBoxTakesDigitsOnlyAndSelectsItsTextOnFocus) {
    RTCFrm& w = form<RTCFrm>();
    TextBox box(w.SSPanel1.widget());
    makeNumberBox(box);
    box.type("1a-2. 3");
    EXPECT_EQ(box.Text(), "123");
    box.onGotFocus();
    EXPECT_EQ(box.SelStart(), 0);
    EXPECT_EQ(box.SelLength(), 3);
    int backspace = 8, enter = 13, letter = 'x';
    box.onKeyPress(backspace);
    box.onKeyPress(enter);
    box.onKeyPress(letter);
    EXPECT_EQ(backspace, 8);
    EXPECT_EQ(enter, 13);
    EXPECT_EQ(letter, 0);
}

TEST_F(SettingWindowsTest, frameKeepsTheMinimumAndCentresThePanel) {
    ClearMemoryFrm& w = form<ClearMemoryFrm>();
    const CentredPanel p = w.layoutFor({3000, 2000});
    EXPECT_EQ(p.outer, (TwipSize{4320, 2650}));
    EXPECT_DOUBLE_EQ(p.panelLeft, (4320 - w.SSPanel1.Width() - 100) / 2);
    EXPECT_DOUBLE_EQ(p.panelTop, (2650 - w.SSPanel1.Height() - 500) / 2);
    w.Show();
    EXPECT_EQ(w.windowState(), WindowState::Maximized);
    EXPECT_EQ(w.Caption(), "Clear Memory");
}

// The single-value window's Set meets its panel's right edge, the dose window's Set and Exit its top
// left corner: each shows its own border beside the panel's.
TEST_F(SettingWindowsTest, buttonsAtTheirPanelsEdgeShowWhole) {
    OneSetForm& single = openOneSet(&OpenFlags::OneSetLcdContrast);
    EXPECT_TRUE(sqtest::drawnClearOfPanelBorder(*single.SetBtn.widget()));
    single.Unload();
    SonoquantFrm& dose = form<SonoquantFrm>();
    dose.Show();
    EXPECT_TRUE(sqtest::drawnClearOfPanelBorder(*dose.SonoquantSetBtn.widget()));
    EXPECT_TRUE(sqtest::drawnClearOfPanelBorder(*dose.ExitBtn.widget()));
}

TEST(DialogLayoutTest, settingWindowCentresWithUnequalAllowances) {
    const CentredPanel p = layoutSettingWindow({3000, 1000}, {5100, 1875}, {4575, 1575});
    EXPECT_EQ(p.outer, (TwipSize{5100, 1875}));
    EXPECT_DOUBLE_EQ(p.panelLeft, 212.5);
    EXPECT_DOUBLE_EQ(p.panelTop, -100);
}

}  // namespace
