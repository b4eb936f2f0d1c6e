// The timer, welcome-text and lunch-time settings end to end against the simulator, from the
// settings panel and from the device tree: read, edit, write, read again; and the link's faults.
#include <gtest/gtest.h>

#include <functional>

#include "link/requests.h"
#include "settings/lunch_time_frm.h"
#include "settings/settings_fixture.h"
#include "settings/timer_frm.h"
#include "settings/welcom_set_frm.h"
#include "support/setting_window_support.h"

using namespace sq;
using sqtest::pick;
using P = Setting410PanelFrm;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes frameOf(uint8_t code, const Bytes& data) {
    Bytes f = {0x02, 0x00, static_cast<uint8_t>(data.size() + 1), code};
    f.insert(f.end(), data.begin(), data.end());
    uint8_t x = 0;
    for (size_t i = 1; i < f.size(); ++i) x ^= f[i];
    f.push_back(x);
    return f;
}

template <size_t N>
Bytes bytes(const std::array<uint8_t, N>& a) {
    return {a.begin(), a.end()};
}

std::string shownTimer(TimerFrm& f) {
    std::string s = f.TimerManuallyCbx.Text();
    for (TextBox* box :
         {&f.DelayYearTxt, &f.DelayMonthTxt, &f.DelayDayTxt, &f.DelayHourTxt, &f.DelayMinuteTxt,
          &f.RepeatStartHourTxt, &f.RepeatStartMinuteTxt, &f.RepeatStopHourTxt, &f.RepeatStopMinuteTxt})
        s += "/" + box->Text();
    s += "/" + f.DelayDurHourCbx.Text() + ":" + f.DelayDurMinCbx.Text() + "/" + f.RepeatCntCbx.Text() + "/" +
         f.PCRepeatCbx.Text();
    for (int j = 0; j < TimerFrm::kPcRows; ++j)
        s += "|" + f.PcStartHour(j).Text() + ":" + f.PcStartMinute(j).Text() + "+" + f.PcStopHour(j).Text() +
             ":" + f.PcStopMinute(j).Text() + (f.PcEnCkx(j).Value() ? "*" : "") +
             (f.PcStopHour(j).Enabled() ? "e" : "");
    return s;
}

std::string shownWelcome(WelcomSetFrm& f) {
    return f.WelLineTxt(0).Text() + "|" + f.WelLineTxt(1).Text() + "|" + f.WelLineTxt(2).Text();
}

std::string shownLunch(LunchTimeFrm& f) {
    return f.CbxEn.Text() + "/" + f.CbxStartHour.Text() + ":" + f.CbxStartMinute.Text() + "-" +
           f.CbxStopHour.Text() + ":" + f.CbxStopMinute.Text();
}

void putRow(Bytes& table, int j, uint8_t hour, uint8_t minute, uint8_t minutesLow, uint8_t enabled) {
    const size_t at = 18 + 7 * static_cast<size_t>(j);
    table[at] = hour, table[at + 1] = minute, table[at + 5] = minutesLow, table[at + 6] = enabled;
}

// The simulator's table with its header's first byte, year to minute, duration and count replaced.
Bytes timerTable(uint8_t mode, std::array<uint8_t, 10> delay, uint8_t count) {
    Bytes t(130, 0);
    const uint8_t header[18] = {mode, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 30, 0, 0, 0x03, 0xC0, count};
    std::copy(std::begin(header), std::end(header), t.begin());
    std::copy(delay.begin(), delay.end(), t.begin() + 1);
    return t;
}

// One setting window as the tests drive it.
struct Setting {
    const char* name;
    CommandButton P::*button;
    int treeNode;
    std::function<std::string()> shown;
    std::function<void()> set;
};

class TimerTextLunchE2eTest : public sqtest::SettingsTest {
protected:
    Setting timer{"timer", &P::TimersBtn, 11, [] { return shownTimer(form<TimerFrm>()); },
                  [] { form<TimerFrm>().TimerBtn.click(); }};
    Setting welcome{"welcome text", &P::WelcomInputBtn, 13, [] { return shownWelcome(form<WelcomSetFrm>()); },
                    [] { form<WelcomSetFrm>().SetBtn.click(); }};
    Setting lunch{"lunch time", &P::BtnLunchTime, 15, [] { return shownLunch(form<LunchTimeFrm>()); },
                  [] { form<LunchTimeFrm>().BtnSet.click(); }};

    void open(const Setting& s, bool fromTree = false) {
        if (fromTree)
            panel->TreeView1.clickNode(s.treeNode);
        else
            (showPanel().*s.button).click();
        wait(0.5);
    }
    // The raw frames the program sent with these codes, in order.
    std::vector<Bytes> framesSent(std::initializer_list<uint8_t> codes) const {
        std::vector<Bytes> out;
        for (const auto& r : sim->requests())
            if (std::find(codes.begin(), codes.end(), r.code) != codes.end()) out.push_back(r.raw);
        return out;
    }
    std::vector<uint8_t> codesSent(std::initializer_list<uint8_t> codes) const {
        std::vector<uint8_t> out;
        for (const Bytes& f : framesSent(codes)) out.push_back(f[3]);
        return out;
    }
    // When the instrument's acknowledgement of `code` went out, or -1.
    double ackTime(uint8_t code) const {
        for (const auto& r : sim->replies())
            if (r.code == code) return r.time;
        return -1;
    }
};

TEST_F(TimerTextLunchE2eTest, eachSettingIsReadEditedWrittenAndReadBackFromThePanelAndTheTree) {
    struct Case {
        Setting* setting;
        const char* name;
        std::function<void()> edit;
        std::vector<Bytes> frames;  // what the Set sends, in order
        std::function<Bytes(const metersim::InstrumentState&)> instrument;
        Bytes stored;  // what the instrument then holds
    };
    Bytes pcTable = timerTable(3, {0x07, 0xEA, 1, 5, 8, 0, 0, 0, 0x01, 0xE0}, 5);
    putRow(pcTable, 0, 8, 0, 240, 1);
    putRow(pcTable, 1, 13, 0, 210, 0);
    putRow(pcTable, 12, 1, 2, 45, 1);
    const Bytes delayTable = timerTable(1, {0x07, 0xEB, 12, 31, 23, 59, 0, 0, 0x05, 0x9F}, 2);
    auto uploadFrames = [](const Bytes& t) {
        return std::vector<Bytes>{frameOf(0x8A, Bytes(t.begin(), t.begin() + 46)),
                                  frameOf(0x8B, Bytes(t.begin() + 46, t.begin() + 95)),
                                  frameOf(0x8C, Bytes(t.begin() + 95, t.end()))};
    };
    Bytes welcomeFrame = {0x02, 0x00, 0x26, 0x8D};
    const std::string welcomeText =
        "Gr\xF6\xDF"
        "e       \xD1"
        "and\xFA"
        "       " +
        std::string(12, ' ');
    welcomeFrame.insert(welcomeFrame.end(), welcomeText.begin(), welcomeText.end());
    uint8_t x = 0;
    for (size_t i = 1; i < welcomeFrame.size(); ++i) x ^= welcomeFrame[i];
    welcomeFrame.push_back(x);
    Bytes lunchFrame = frameOf(0x90, {1, 11, 45, 0, 12, 15, 0});
    lunchFrame.push_back(0x00);

    const Case cases[] = {
        {&timer, "PC",
         [] {
             TimerFrm& f = form<TimerFrm>();
             pick(f.TimerManuallyCbx, "PC");
             pick(f.PCRepeatCbx, "5");
             pick(f.RepeatCntCbx, "5");
             const std::tuple<int, const char*, const char*, const char*, const char*, bool> rows[] = {
                 {0, "8", "0", "4", "0", true},
                 {1, "13", "0", "3", "30", false},
                 {12, "1", "2", "0", "45", true}};
             for (auto [j, h, m, dh, dm, on] : rows) {
                 if (on) f.PcEnCkx(j).click();
                 f.PcStartHour(j).setText(h), f.PcStartMinute(j).setText(m);
                 f.PcStopHour(j).setText(dh), f.PcStopMinute(j).setText(dm);
             }
         },
         uploadFrames(pcTable), [](const metersim::InstrumentState& s) { return bytes(s.timerTable); },
         pcTable},
        {&timer, "Delay",
         [] {
             TimerFrm& f = form<TimerFrm>();
             pick(f.TimerManuallyCbx, "Delay");
             f.DelayYearTxt.setText("2027"), f.DelayMonthTxt.setText("12"), f.DelayDayTxt.setText("31");
             f.DelayHourTxt.setText("23"), f.DelayMinuteTxt.setText("59");
             pick(f.DelayDurHourCbx, "23");
             pick(f.DelayDurMinCbx, "59");
             pick(f.RepeatCntCbx, "2");
             pick(f.PCRepeatCbx, "2");
         },
         uploadFrames(delayTable), [](const metersim::InstrumentState& s) { return bytes(s.timerTable); },
         delayTable},
        {&welcome,
         "Größe and Ñandú",
         [] {
             WelcomSetFrm& f = form<WelcomSetFrm>();
             f.WelLineTxt(0).setText("Größe");
             f.WelLineTxt(1).setText("Ñandú");
             f.WelLineTxt(2).setText("");
         },
         {welcomeFrame},
         [](const metersim::InstrumentState& s) { return bytes(s.welcomeText); },
         Bytes(welcomeText.begin(), welcomeText.end())},
        {&lunch,
         "enabled",
         [] {
             LunchTimeFrm& f = form<LunchTimeFrm>();
             pick(f.CbxEn, "Enabled");
             pick(f.CbxStartHour, "11"), pick(f.CbxStartMinute, "45");
             pick(f.CbxStopHour, "12"), pick(f.CbxStopMinute, "15");
         },
         {lunchFrame},
         [](const metersim::InstrumentState& s) { return bytes(s.lunchTime); },
         {1, 11, 45, 0, 12, 15, 0}},
    };
    startIdentified();
    const metersim::InstrumentState fresh = sim->state();
    for (bool fromTree : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.setting->name) + " " + c.name +
                         (fromTree ? " from the tree" : " from the panel"));
            sim->state() = fresh;
            open(*c.setting, fromTree);
            c.edit();
            dialogs->clear();
            sim->clearLog();
            c.setting->set();
            wait(1.5);
            const std::string edited = c.setting->shown();
            EXPECT_EQ(framesSent({0x8A, 0x8B, 0x8C, 0x8D, 0x90}), c.frames);
            if (c.setting == &timer) {
                const auto second = sim->requestsWithCode(0x8B), third = sim->requestsWithCode(0x8C);
                ASSERT_EQ(second.size() + third.size(), 2u);
                EXPECT_GE(second[0].time, ackTime(0x8A));
                EXPECT_GE(third[0].time, ackTime(0x8B));
                EXPECT_EQ(flags().TimerSetPending, kFalse);
                EXPECT_EQ(shared().SendSuspended, kFalse);
            }
            EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}));
            EXPECT_EQ(c.instrument(sim->state()), c.stored);
            open(*c.setting, fromTree);
            EXPECT_EQ(c.setting->shown(), edited);
        }
    }
}

TEST_F(TimerTextLunchE2eTest, aFailedAcknowledgementShowsSetFailOnceAndEndsTheUpload) {
    struct Case {
        Setting* setting;
        uint8_t failing;
        std::vector<uint8_t> sent;
    };
    const Case cases[] = {
        {&timer, 0x8A, {0x8A}},   {&timer, 0x8B, {0x8A, 0x8B}}, {&timer, 0x8C, {0x8A, 0x8B, 0x8C}},
        {&welcome, 0x8D, {0x8D}}, {&lunch, 0x90, {0x90}},
    };
    Panel& p = startIdentified();
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.failing));
        sim->clearFaults();
        sim->setWriteFails(c.failing);
        open(*c.setting);
        dialogs->clear();
        sim->clearLog();
        c.setting->set();
        wait(1.5);
        EXPECT_EQ(codesSent({0x8A, 0x8B, 0x8C, 0x8D, 0x90}), c.sent);
        ASSERT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set Fail !!!"}));
        EXPECT_EQ(dialogs->messages()[0].icon, MsgIcon::Critical);
        EXPECT_EQ(flags().TimerSetPending, kFalse);
        EXPECT_EQ(shared().SendSuspended, kFalse);
        EXPECT_TRUE(p.Timer1.enabled());
    }
    sim->clearFaults();
    sim->clearLog();
    open(timer);
    EXPECT_EQ(sent(CmdReadTimerSettings), 1) << "reads go out again";
}

TEST_F(TimerTextLunchE2eTest, theInstrumentsReSendRequestsCompleteOrRepeatAnUpload) {
    startIdentified();
    open(timer);
    pick(form<TimerFrm>().TimerManuallyCbx, "PC");
    dialogs->clear();
    sim->clearLog();

    // The second frame's acknowledgement is lost; the instrument asks for the frame in its place.
    sim->dropReply(1, CmdWriteTimerSettings2);
    timer.set();
    ASSERT_TRUE(waitFor([&] { return sent(CmdWriteTimerSettings2) == 1; }, 2));
    wait(0.3);
    sim->sendUnsolicited55(CmdWriteTimerSettings2);
    wait(2);
    EXPECT_EQ(codesSent({0x8A, 0x8B, 0x8C}), (std::vector<uint8_t>{0x8A, 0x8B, 0x8B, 0x8C}));
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}));
    const Bytes table = bytes(sim->state().timerTable);
    EXPECT_EQ(table[0], 3);

    // After the upload the instrument asks for the first frame again: the whole table goes up.
    sim->state().timerTable = {};
    dialogs->clear();
    sim->clearLog();
    sim->sendUnsolicited55(CmdWriteTimerSettings1);
    wait(2);
    EXPECT_EQ(codesSent({0x8A, 0x8B, 0x8C}), (std::vector<uint8_t>{0x8A, 0x8B, 0x8C}));
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}));
    EXPECT_EQ(bytes(sim->state().timerTable), table);
}

TEST_F(TimerTextLunchE2eTest, aSlowInstrumentStillGetsOneReportPerSetAndASilentOneTheTimeOut) {
    Panel& p = startIdentified();
    sim->setLatency(0.4);
    for (Setting* s : {&timer, &welcome, &lunch}) {
        SCOPED_TRACE(s->name);
        open(*s);
        dialogs->clear();
        s->set();
        wait(2);
        EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}));
    }
    sim->setLatency(0);
    for (Setting* s : {&welcome, &lunch, &timer}) {
        SCOPED_TRACE(s->name);
        open(*s);
        sim->setSilent(true);
        dialogs->clear();
        s->set();
        wait(s == &timer ? 40 : 5);
        sim->setSilent(false);
        if (s == &timer) {
            EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set Timer Setting TimeOut !!!"}));
        } else {
            EXPECT_TRUE(dialogs->records.empty());
        }
        EXPECT_EQ(flags().TimerSetPending, kFalse);
        EXPECT_TRUE(p.Timer1.enabled());
        wait(6);  // identified again
    }
    sim->clearLog();
    open(timer);
    EXPECT_EQ(sent(CmdReadTimerSettings), 1);
}

}  // namespace
