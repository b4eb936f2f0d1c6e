// The single-value and clock windows end to end: what a Set sends, what it refuses, and the
// instrument's answers, opened from the settings panel and from the device tree.
#include "link/requests.h"
#include "platform/read_write_ini_cls.h"
#include "settings/one_set_form.h"
#include "settings/rtc_frm.h"
#include "settings/settings_fixture.h"

using namespace sq;
using sqtest::SettingsTest;

namespace {

using F = OpenFlags;
using P = Setting410PanelFrm;
using Bytes = std::vector<uint8_t>;

class SingleValueTest : public SettingsTest {
protected:
    OneSetForm& openDirectly(int16_t F::*mode) {
        flags().*mode = kTrue;
        OneSetForm& f = form<OneSetForm>();
        f.Show();
        return f;
    }
    void setIniCalibration(const std::string& text) {
        IniRW().WriteINI("MeterSetting", "Calibration", text, shared().IniFilePath);
    }
    std::string iniCalibration() {
        return IniRW().GetINI("MeterSetting", "Calibration", "", shared().IniFilePath);
    }
};

TEST_F(SingleValueTest, clockSetBeforeTheFirstRefreshSendsThePcTime) {
    Panel& p = startIdentified();
    Runtime::get().setLocalDateTime(QDateTime(QDate(2026, 3, 5), QTime(7, 8, 9)));
    p.Toolbar1.click("RTC");
    RTCFrm& rtc = form<RTCFrm>();
    EXPECT_EQ(rtc.PcTimeNowLbl.Caption(), "2026/03/05 07:08:09");
    EXPECT_EQ(rtc.MeterTimeNowLbl.Caption(), "123");
    rtc.RTCSetBtn.click();
    EXPECT_EQ(lastRaw(CmdWriteMeterClock),
              (Bytes{0x02, 0x00, 0x08, 0x82, 0x07, 0xEA, 0x03, 0x05, 0x07, 0x08, 0x09, 0x67}));
    wait(2.5);
    EXPECT_EQ(rtc.PcTimeNowLbl.Caption().substr(0, 17), "2026/03/05 07:08:") << "the PC's time runs on";
    EXPECT_GT(rtc.PcTimeNowLbl.Caption(), "2026/03/05 07:08:10");
}

TEST_F(SingleValueTest, setSendsTheChosenValueInItsWholeFrame) {
    struct Case {
        const char* name;
        CommandButton P::*button;
        int choice;  // -1: none
        const char* iniText;
        Bytes frame;
    };
    const Case cases[] = {
        {"contrast 7", &P::LcdContrastBtn, 6, "", {0x02, 0x00, 0x02, 0x81, 0x1C, 0x9F}},
        {"auto power-off 20 Sec", &P::LcdAPOBtn, 3, "", {0x02, 0x00, 0x02, 0x83, 0x03, 0x82}},
        {"pause ON", &P::PauseBtn, 1, "", {0x02, 0x00, 0x02, 0x86, 0x01, 0x85}},
        {"keypad lock ON", &P::AutoLockKeypadBtn, 1, "", {0x02, 0x00, 0x02, 0x88, 0x01, 0x8B}},
        {"auto scroll OFF", &P::AutoScrollBtn, 0, "", {0x02, 0x00, 0x02, 0x89, 0x00, 0x8B}},
        {"calibration 94.5", &P::BtnCalibration, 15, "", {0x02, 0x00, 0x03, 0x8F, 0x03, 0xB1, 0x3E}},
        {"calibration off as stored",
         &P::BtnCalibration,
         -1,
         "off",
         {0x02, 0x00, 0x03, 0x8F, 0x00, 0x00, 0x8C}},
        {"interval 30 Min",
         &P::BtnIntervalTime,
         3,
         "",
         {0x02, 0x00, 0x05, 0x91, 0x08, 0x07, 0x00, 0x00, 0x9B, 0x00, 0x00, 0x00, 0x00}},
        {"interval kept from a 120-s reply",
         &P::BtnIntervalTime,
         -1,
         "",
         {0x02, 0x00, 0x05, 0x91, 0x78, 0x00, 0x00, 0x00, 0xEC, 0x00, 0x00, 0x00, 0x00}},
    };
    startIdentified();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim->state().intervalSeconds = 120;
        if (*c.iniText) setIniCalibration(c.iniText);
        Setting410PanelFrm& w = showPanel();
        (w.*c.button).click();
        OneSetForm& f = form<OneSetForm>();
        if (*c.iniText) {
            EXPECT_EQ(f.SetCbx.Text(), c.iniText);
        }

        if (c.choice >= 0) f.SetCbx.choose(c.choice);
        dialogs->clear();
        sim->clearLog();
        f.SetBtn.click();
        EXPECT_TRUE(panel->Timer1.enabled());
        EXPECT_EQ(lastRaw(c.frame[3]), c.frame);
        if (c.frame[3] == CmdWriteCalibrationLevel) {
            const auto reads = sim->requestsWithCode(CmdReadCalibrationLevel);
            ASSERT_EQ(reads.size(), 1u);
            EXPECT_NEAR(reads[0].time - sim->requestsWithCode(c.frame[3])[0].time, 1.0, 0.15);
            EXPECT_EQ(iniCalibration(), f.SetCbx.Text());
        }
        wait(0.5);
        EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}));
    }
}

TEST_F(SingleValueTest, setRefusesWhatItsListDoesNotOfferAndSendsNothing) {
    struct Case {
        const char* name;
        int16_t F::*mode;
        const char* iniText;
    };
    const Case cases[] = {
        {"contrast with nothing chosen", &F::OneSetLcdContrast, ""},
        {"interval with nothing chosen and none known", &F::OneSetIntervalTime, ""},
        {"calibration level the list lacks", &F::OneSetCalibration, "200"},
        {"calibration text that is no number", &F::OneSetCalibration, "abc"},
    };
    Panel& p = startIdentified();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (*c.iniText) setIniCalibration(c.iniText);
        OneSetForm& f = openDirectly(c.mode);
        if (*c.iniText) {
            EXPECT_EQ(f.SetCbx.Text(), c.iniText) << "shown as stored";
        }
        dialogs->clear();
        sim->clearLog();
        f.SetBtn.click();
        wait(0.5);
        EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set Error !!!"}));
        EXPECT_EQ(dialogs->messages()[0].icon, MsgIcon::Critical);
        for (uint8_t code :
             {CmdWriteLcdContrast, CmdWriteIntervalTime, CmdWriteCalibrationLevel, CmdReadCalibrationLevel})
            EXPECT_EQ(sent(code), 0);
        EXPECT_TRUE(p.Timer1.enabled());
        if (*c.iniText) {
            EXPECT_EQ(iniCalibration(), c.iniText) << "the key is written before the check";
        }
        f.Unload();
    }
    EXPECT_DOUBLE_EQ(decoderState().ContrastValue, 0);
    EXPECT_EQ(decoderState().IntervalSeconds, 0);
}

TEST_F(SingleValueTest, whileSendingIsSuspendedOnlyAutoScrollGoesOutAndTheKeptValuesChange) {
    struct Case {
        int16_t F::*mode;
        int choice;
        uint8_t write;
    };
    const Case cases[] = {
        {&F::OneSetAutoLock, 1, CmdWriteAutoLockKeypad},
        {&F::OneSetAutoScroll, 0, CmdWriteAutoScroll},
        {&F::OneSetLcdApo, 2, CmdWriteLcdApo},
        {&F::OneSetLcdContrast, 8, CmdWriteLcdContrast},
        {&F::OneSetPause, 1, CmdWritePauseSetting},
        {&F::OneSetCalibration, 30, CmdWriteCalibrationLevel},
        {&F::OneSetIntervalTime, 4, CmdWriteIntervalTime},
    };
    startIdentified();
    shared().SendSuspended = kTrue;
    for (const Case& c : cases) {
        OneSetForm& f = openDirectly(c.mode);
        f.SetCbx.choose(c.choice);
        f.SetBtn.click();
        wait(0.5);
        EXPECT_EQ(sent(c.write), c.write == CmdWriteAutoScroll ? 1 : 0) << int(c.write);
        f.Unload();
    }
    EXPECT_EQ(sent(CmdReadCalibrationLevel), 0);
    EXPECT_EQ(decoderState().ApoIndex, 2);
    EXPECT_DOUBLE_EQ(decoderState().ContrastValue, 36);
    EXPECT_EQ(decoderState().IntervalSeconds, 3600);
    EXPECT_EQ(iniCalibration(), "113.0");
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}))
        << "only auto scroll's answer";
    EXPECT_TRUE(panel->Timer1.enabled());
}

// One setting end to end: the instrument's value shown, another chosen and set, and shown again.
struct EndToEnd {
    const char* name;
    CommandButton P::*button;
    int treeNode;
    long (*simValue)(metersim::InstrumentState&);
    std::string shownBefore;
    int choice;
    Bytes frame;
    long simAfter;
    std::string shownAfter;
};

long contrastOf(metersim::InstrumentState& s) {
    return s.contrast;
}
long apoOf(metersim::InstrumentState& s) {
    return s.apoIndex;
}
long pauseOf(metersim::InstrumentState& s) {
    return s.pause;
}
long keypadOf(metersim::InstrumentState& s) {
    return s.keypadLock;
}
long scrollOf(metersim::InstrumentState& s) {
    return s.autoScroll;
}
long calibrationOf(metersim::InstrumentState& s) {
    return s.calibrationLevel;
}
long intervalOf(metersim::InstrumentState& s) {
    return s.intervalSeconds;
}

TEST_F(SingleValueTest, eachSettingEndToEndFromThePanelAndFromTheTree) {
    const EndToEnd cases[] = {
        {"contrast",
         &P::LcdContrastBtn,
         4,
         contrastOf,
         "5",
         6,
         {0x02, 0x00, 0x02, 0x81, 0x1C, 0x9F},
         28,
         "7"},
        {"auto power-off",
         &P::LcdAPOBtn,
         5,
         apoOf,
         "20 Sec",
         1,
         {0x02, 0x00, 0x02, 0x83, 0x01, 0x80},
         1,
         "5 Sec"},
        {"pause", &P::PauseBtn, 6, pauseOf, "OFF", 1, {0x02, 0x00, 0x02, 0x86, 0x01, 0x85}, 1, "ON"},
        {"keypad lock",
         &P::AutoLockKeypadBtn,
         9,
         keypadOf,
         "OFF",
         1,
         {0x02, 0x00, 0x02, 0x88, 0x01, 0x8B},
         1,
         "ON"},
        {"auto scroll",
         &P::AutoScrollBtn,
         10,
         scrollOf,
         "ON",
         0,
         {0x02, 0x00, 0x02, 0x89, 0x00, 0x8B},
         0,
         "OFF"},
        {"calibration",
         &P::BtnCalibration,
         14,
         calibrationOf,
         "94.0",
         15,
         {0x02, 0x00, 0x03, 0x8F, 0x03, 0xB1, 0x3E},
         945,
         "94.5"},
        {"interval",
         &P::BtnIntervalTime,
         16,
         intervalOf,
         "1 Min",
         3,
         {0x02, 0x00, 0x05, 0x91, 0x08, 0x07, 0x00, 0x00, 0x9B, 0x00, 0x00, 0x00, 0x00},
         1800,
         "30 Min"},
    };
    Panel& p = startIdentified();
    const metersim::InstrumentState fresh = sim->state();
    // What the window shows of the instrument: the list, or in calibration mode the meter's level.
    auto shown = [](OneSetForm& f) {
        return f.mode() == OneSetMode::Calibration ? f.CurMeterTxt.Text() : f.SetCbx.Text();
    };
    for (bool fromTree : {false, true}) {
        for (const EndToEnd& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (fromTree ? " from the tree" : " from the panel"));
            sim->state() = fresh;
            setIniCalibration("OFF");
            auto open = [&] {
                if (fromTree)
                    p.TreeView1.clickNode(c.treeNode);
                else
                    (showPanel().*c.button).click();
                wait(0.5);
                return &form<OneSetForm>();
            };
            OneSetForm* f = open();
            EXPECT_EQ(shown(*f), c.shownBefore);
            f->SetCbx.choose(c.choice);
            dialogs->clear();
            sim->clearLog();
            f->SetBtn.click();
            EXPECT_EQ(lastRaw(c.frame[3]), c.frame);
            wait(0.5);
            EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}));
            EXPECT_EQ(c.simValue(sim->state()), c.simAfter);
            f->Unload();
            f = open();
            EXPECT_EQ(shown(*f), c.shownAfter);
            if (f->mode() == OneSetMode::Calibration) {
                EXPECT_EQ(f->SetCbx.Text(), "94.5") << "from the INI";
            }
        }
    }
}

TEST_F(SingleValueTest, clockSetBringsTheInstrumentToThePcTime) {
    Panel& p = startIdentified();
    Runtime::get().setLocalDateTime(QDateTime(QDate(2026, 3, 5), QTime(7, 8, 9)));
    sim->setClock({2026, 3, 5, 2, 0, 0});
    p.TreeView1.clickNode(1);
    RTCFrm& rtc = form<RTCFrm>();
    wait(1);
    EXPECT_EQ(rtc.MeterTimeNowLbl.Caption().substr(0, 13), "2026/03/05 02");
    rtc.RTCSetBtn.click();
    wait(1);
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}));
    EXPECT_EQ(rtc.MeterTimeNowLbl.Caption().substr(0, 17), "2026/03/05 07:08:");
    // The instrument got the time the label showed at the last refresh, cut to whole seconds, and its
    // clock reply is read a little after the label's refresh.
    const int meterSecond = std::stoi(rtc.MeterTimeNowLbl.Caption().substr(17));
    const int pcSecond = std::stoi(rtc.PcTimeNowLbl.Caption().substr(17));
    EXPECT_GE(pcSecond - meterSecond, 0);
    EXPECT_LE(pcSecond - meterSecond, 2);
}

TEST_F(SingleValueTest, failedLateSilentAndLostAnswers) {
    Panel& p = startIdentified();
    Setting410PanelFrm& w = showPanel();

    sim->setWriteFails(CmdWriteLcdContrast);
    sim->setWriteFails(CmdWriteMeterClock);
    w.LcdContrastBtn.click();
    form<OneSetForm>().SetCbx.choose(2);
    form<OneSetForm>().SetBtn.click();
    wait(0.5);
    p.Toolbar1.click("RTC");
    form<RTCFrm>().RTCSetBtn.click();
    wait(0.5);
    ASSERT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set Fail !!!", "Set Fail !!!"}));
    EXPECT_EQ(dialogs->messages()[0].icon, MsgIcon::Critical);
    sim->setWriteFails(CmdWriteLcdContrast, false);
    dialogs->clear();

    // An answer later than both waits still fills the window.
    sim->state().apoIndex = 4;
    sim->setLatency(1.2);
    showPanel().LcdAPOBtn.click();
    EXPECT_EQ(form<OneSetForm>().SetCbx.ListIndex(), -1);
    wait(1.5);
    EXPECT_EQ(form<OneSetForm>().SetCbx.Text(), "1 Min");
    sim->setLatency(0);

    // No answer: the window keeps its load contents, nothing is shown, polling runs again.
    sim->setSilent(true);
    showPanel().PauseBtn.click();
    wait(1);
    EXPECT_EQ(form<OneSetForm>().SetCbx.ListIndex(), -1);
    EXPECT_EQ(form<OneSetForm>().SetCbx.ListCount(), 2);
    EXPECT_TRUE(p.Timer1.enabled());
    sim->setSilent(false);

    // A lost acknowledgement shows nothing.
    sim->dropReply(1, CmdWritePauseSetting);
    form<OneSetForm>().SetCbx.choose(1);
    form<OneSetForm>().SetBtn.click();
    wait(1);
    EXPECT_EQ(sim->state().pause, 1);
    EXPECT_TRUE(dialogs->records.empty());
}

}  // namespace
