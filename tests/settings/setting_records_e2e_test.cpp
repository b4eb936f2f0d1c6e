// The dose, display-page and LED-alarm settings end to end against the simulator: read, edit, write,
// read again; the instrument's re-send requests; windows that no reply has filled.
#include <gtest/gtest.h>

#include <functional>

#include "link/requests.h"
#include "settings/led_alarm_frm.h"
#include "settings/screen_frm.h"
#include "settings/settings_fixture.h"
#include "settings/sonoquant_frm.h"
#include "support/setting_window_support.h"

using namespace sq;
using sqtest::pick;
using sqtest::setChannel;
using sqtest::shownChannel;
using P = Setting410PanelFrm;

namespace {

std::vector<uint8_t> frameOf(uint8_t code, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> f = {0x02, 0x00, static_cast<uint8_t>(data.size() + 1), code};
    f.insert(f.end(), data.begin(), data.end());
    uint8_t x = 0;
    for (size_t i = 1; i < f.size(); ++i) x ^= f[i];
    f.push_back(x);
    return f;
}

std::string shownDose(SonoquantFrm& f) {
    return shownChannel(f, 1) + "|" + shownChannel(f, 2) + "|" + shownChannel(f, 3);
}

std::string shownPages(ScreenFrm& f) {
    std::string s;
    for (int i = 0; i < ScreenFrm::kPages; ++i)
        s += f.SonoquantCbx(i).Text() + "/" + f.UpPageCbx(i).Text() + "/" + f.DownPageCbx(i).Text() + "|";
    return s;
}

std::string shownAlarm(LEDAlarmFrm& f) {
    std::string s = f.EnabledCbx.Text();
    for (int i = 0; i < LEDAlarmFrm::kRows; ++i) s += "|" + f.LowerTxt(i).Text() + "-" + f.UpperTxt(i).Text();
    return s;
}

// One setting window as the tests drive it.
struct RecordWindow {
    const char* name;
    CommandButton P::*button;
    int treeNode;
    uint8_t read;
    uint8_t write;
    std::function<std::string()> shown;  // the whole window as text
    std::function<void()> set;           // clicks the window's Set button
};

class SettingRecordsTest : public sqtest::SettingsTest {
protected:
    RecordWindow dose{"dose",
                      &P::SonoquantBtn,
                      8,
                      CmdReadDoseSettings,
                      CmdWriteDoseSettings,
                      [] { return shownDose(form<SonoquantFrm>()); },
                      [] { form<SonoquantFrm>().SonoquantSetBtn.click(); }};
    RecordWindow pages{"pages",
                       &P::ScreenBtn,
                       12,
                       CmdReadScreenSettings,
                       CmdWriteScreenSettings,
                       [] { return shownPages(form<ScreenFrm>()); },
                       [] { form<ScreenFrm>().ScreenSetBtn.click(); }};
    RecordWindow alarm{"LED alarm",
                       &P::LEDAlarmBtn,
                       7,
                       CmdReadLedAlarm,
                       CmdWriteLedAlarm,
                       [] { return shownAlarm(form<LEDAlarmFrm>()); },
                       [] { form<LEDAlarmFrm>().LEDAlarmBtn.click(); }};

    void open(const RecordWindow& w, bool fromTree = false) {
        if (fromTree)
            panel->TreeView1.clickNode(w.treeNode);
        else
            (showPanel().*w.button).click();
    }
};

TEST_F(SettingRecordsTest, eachWindowReadsEditsWritesAndReadsBackFromThePanelAndTheTree) {
    struct Case {
        RecordWindow* window;
        std::string shownFirst;
        std::function<void()> edit;
        std::vector<uint8_t> data;
        std::function<std::vector<uint8_t>(const metersim::InstrumentState&)> instrument;
    };
    std::vector<uint8_t> pageData;
    for (int i = 0; i < 12; ++i) pageData.insert(pageData.end(), {uint8_t(i % 3), uint8_t(i + 1), 132});
    pageData[1] = 34;                     // page 0: "LAFMax" above "OFF"
    pageData[4] = 132, pageData[5] = 49;  // page 1: "OFF" above "LZSMin"
    pageData[7] = 132, pageData[8] = 32;  // page 2: "OFF" above "PKA"
    std::vector<uint8_t> alarmData = {1};
    for (int i = 0; i < 11; ++i) alarmData.insert(alarmData.end(), {0, uint8_t(130 + i), 0, uint8_t(70 + i)});
    auto bytes = [](const auto& array) { return std::vector<uint8_t>(array.begin(), array.end()); };
    const Case cases[] = {
        {&dose,
         "Enabled/OSHA - 90/FAST/90/90/5/115/08/00/locked|Enabled/ISO - 85/SLOW/80/85/3/115/08/00/locked|"
         "Disabled/USER1/SLOW/70/90/3/140/08/00/free/hidden",
         [] {
             SonoquantFrm& f = form<SonoquantFrm>();
             pick(f.Meter1StandCbx, "ACGIH");
             setChannel(f, 2, "USER2", "FAST/75/80/6/120/10/30");
             pick(f.Meter3EnCbx, "Disabled");
         },
         {0x05, 0x00, 0x50, 0x55, 0x03, 0x69, 0x01, 0xE0, 0x01, 0x0B, 0x01, 0x4B, 0x50,
          0x06, 0x78, 0x02, 0x76, 0x00, 0x0A, 0x00, 0x46, 0x5A, 0x03, 0x8C, 0x01, 0xE0},
         [bytes](const metersim::InstrumentState& s) { return bytes(s.dose); }},
        {&pages,
         "Sonoquant 1/SPLAF/OFF|Sonoquant 2/SPLAS/OFF|Sonoquant 3/SPLAI/OFF|Sonoquant 1/SPLCF/OFF|"
         "Sonoquant 2/SPLCS/OFF|Sonoquant 3/SPLCI/OFF|Sonoquant 1/SPLZF/OFF|Sonoquant 2/SPLZS/OFF|"
         "Sonoquant 3/SPLZI/OFF|Sonoquant 1/Battery/OFF|Sonoquant 2/MemRemain/OFF|Sonoquant 3/Duration/OFF|",
         [] {
             ScreenFrm& f = form<ScreenFrm>();
             pick(f.UpPageCbx(0), "LAFMax");
             pick(f.DownPageCbx(1), "LZSMin");
             pick(f.DownPageCbx(2), "PKA");
             pick(f.UpPageCbx(2), "OFF");
         },
         pageData, [bytes](const metersim::InstrumentState& s) { return bytes(s.screenPages); }},
        {&alarm, "ON|70-140|70-140|70-140|70-140|70-140|70-140|70-140|70-140|70-140|70-140|70-140",
         [] {
             LEDAlarmFrm& f = form<LEDAlarmFrm>();
             pick(f.EnabledCbx, "ON");
             for (int i = 0; i < 11; ++i) {
                 f.LowerTxt(i).setText(std::to_string(70 + i));
                 f.UpperTxt(i).setText(std::to_string(130 + i));
             }
         },
         alarmData, [bytes](const metersim::InstrumentState& s) { return bytes(s.ledAlarm); }},
    };
    startIdentified();
    const metersim::InstrumentState fresh = sim->state();
    for (bool fromTree : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.window->name) + (fromTree ? " from the tree" : " from the panel"));
            sim->state() = fresh;
            open(*c.window, fromTree);
            EXPECT_EQ(c.window->shown(), c.shownFirst);
            c.edit();
            const std::string edited = c.window->shown();
            dialogs->clear();
            sim->clearLog();
            c.window->set();
            EXPECT_EQ(lastRaw(c.window->write), frameOf(c.window->write, c.data));
            wait(0.5);
            EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}));
            EXPECT_EQ(c.instrument(sim->state()), c.data);
            open(*c.window, fromTree);
            EXPECT_EQ(c.window->shown(), edited);
        }
    }
}

TEST_F(SettingRecordsTest, aFailedWriteShowsSetFail) {
    startIdentified();
    for (RecordWindow* w : {&dose, &pages, &alarm}) {
        SCOPED_TRACE(w->name);
        sim->setWriteFails(w->write);
        open(*w);
        dialogs->clear();
        w->set();
        wait(0.5);
        ASSERT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set Fail !!!"}));
        EXPECT_EQ(dialogs->messages()[0].icon, MsgIcon::Critical);
    }
}

TEST_F(SettingRecordsTest, reSendRequestsRepeatOnlyWhatASetOfThisRunFilled) {
    Panel& p = startIdentified();
    bool pollingAtResend = true;
    uint8_t watched = 0;
    sim->setRequestObserver([&](const metersim::LoggedRequest& r) {
        if (r.code == watched) pollingAtResend = p.Timer1.enabled();
    });
    for (RecordWindow* w : {&dose, &pages, &alarm}) {
        SCOPED_TRACE(w->name);
        watched = w->write;
        sim->clearLog();
        sim->sendUnsolicited55(w->write);
        wait(0.5);
        EXPECT_EQ(sent(w->write), 0) << "no Set yet: nothing to repeat";
        EXPECT_TRUE(p.Timer1.enabled());

        open(*w);
        w->set();
        const std::vector<uint8_t> written = lastRaw(w->write);
        ASSERT_FALSE(written.empty());
        windows().unload(P::kName);  // the window need not be open
        wait(0.5);
        sim->clearLog();
        pollingAtResend = true;
        sim->sendUnsolicited55(w->write);
        wait(0.5);
        ASSERT_EQ(sim->requestsWithCode(w->write).size(), 1u);
        EXPECT_EQ(sim->requestsWithCode(w->write)[0].raw, written);
        EXPECT_FALSE(pollingAtResend) << "polling paused while it goes out";
        EXPECT_TRUE(p.Timer1.enabled()) << "and resumed after";

        shared().SendSuspended = kTrue;
        sim->sendUnsolicited55(w->write);
        wait(0.5);
        shared().SendSuspended = kFalse;
        EXPECT_EQ(sent(w->write), 1) << "held back while a timer upload runs";
    }
    sim->clearLog();
    for (uint8_t other : {0x86, 0xE1, 0x13}) sim->sendUnsolicited55(other);
    wait(0.5);
    for (uint8_t code : {0x86, 0xE1, 0x13, 0x84, 0x85, 0x87}) EXPECT_EQ(sent(code), 0) << int(code);
}

TEST_F(SettingRecordsTest, windowsNoReplyFilledRefuseToWriteTheirPlaceholders) {
    struct Case {
        const char* name;
        RecordWindow* window;
        std::function<void()> fault;
    };
    const Case cases[] = {
        {"pages, silent", &pages, [this] { sim->setSilent(true); }},
        {"pages, 35 data bytes", &pages, [this] { sim->shortenReply(35, 1, CmdReadScreenSettings); }},
        {"pages, item code 133", &pages, [this] { sim->state().screenPages[1] = 133; }},
        {"LED alarm, silent", &alarm, [this] { sim->setSilent(true); }},
        {"LED alarm, 44 data bytes", &alarm, [this] { sim->shortenReply(44, 1, CmdReadLedAlarm); }},
        {"LED alarm, enable byte 2", &alarm, [this] { sim->state().ledAlarm[0] = 2; }},
    };
    startIdentified();
    const metersim::InstrumentState fresh = sim->state();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim->state() = fresh;
        c.fault();
        open(*c.window);
        wait(0.5);
        sim->setSilent(false);
        sim->clearFaults();
        dialogs->clear();
        sim->clearLog();
        c.window->set();
        wait(0.5);
        EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set Error !!!"}));
        EXPECT_EQ(sent(c.window->write), 0);
    }
    EXPECT_FALSE(keptSettings().screenPages.filledBySet);
    EXPECT_FALSE(keptSettings().alarmLimits.filledBySet);

    // The dose window's own checks stop a Set before any reply.
    sim->setSilent(true);
    open(dose);
    dialogs->clear();
    dose.set();
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set Error : D2 PWDuration <10 Min"}));
}

TEST_F(SettingRecordsTest, aLateReplyFillsTheWindowAfterwardsAndThenSetWrites) {
    startIdentified();
    sim->setLatency(1.0);  // beyond the opener's 0.1 s and 0.6 s
    for (RecordWindow* w : {&pages, &alarm}) {
        SCOPED_TRACE(w->name);
        open(*w);
        dialogs->clear();
        sim->clearLog();
        w->set();
        EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set Error !!!"}));
        wait(1);
        dialogs->clear();
        w->set();
        EXPECT_TRUE(dialogs->records.empty());
        EXPECT_EQ(lastRaw(w->write).size(), w->write == CmdWriteLedAlarm ? 50u : 41u);
        wait(1.5);
    }
}

TEST_F(SettingRecordsTest, aReplyForAClosedWindowLoadsItHiddenAndTheNextButtonShowsAFreshOne) {
    startIdentified();
    sim->setLatency(1.0);
    open(pages);
    form<ScreenFrm>().ExitBtn.click();
    wait(0.01);
    EXPECT_EQ(flags().ScreenFrmOpen, kFalse);
    wait(1);
    ASSERT_EQ(flags().ScreenFrmOpen, kTrue) << "the reply loaded it";
    ScreenFrm* hidden = &form<ScreenFrm>();
    EXPECT_FALSE(hidden->Visible());
    EXPECT_TRUE(hidden->filledByReply());
    hidden->UpPageCbx(0).setListIndex(40);

    sim->setLatency(0);
    open(pages);
    ScreenFrm& shown = form<ScreenFrm>();
    EXPECT_TRUE(shown.Visible());
    EXPECT_EQ(shown.UpPageCbx(0).Text(), "SPLAF") << "loaded afresh and read again";
}

}  // namespace
