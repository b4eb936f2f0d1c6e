// The timer (0x0A), welcome-text (0x10) and lunch-time (0x14) replies decoded into their windows.
#include <gtest/gtest.h>

#include <functional>

#include "settings/lunch_time_frm.h"
#include "settings/setting_reply_fixture.h"
#include "settings/timer_frm.h"
#include "settings/welcom_set_frm.h"
#include "settings/welcome_lunch_arms.h"

using namespace sq;

namespace {

class TimerWelcomeLunchArmsTest : public sqtest::SettingReplyTest {
protected:
    // The window loaded afresh, as its opener leaves it.
    template <class W>
    W& freshWindow() {
        windows().unload(W::kName);
        return dynamic_cast<W&>(windows().window(W::kName));
    }
};

void putBe32(std::vector<uint8_t>& d, size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) d[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

// Mode "Delay", 2024-05-06 07:08 for 90 minutes; repeat at 4:01 for 241 minutes, count 1; PC row j
// starts at (j + 1):(2j), lasts 61j minutes and is off.
std::vector<uint8_t> timerTable() {
    std::vector<uint8_t> d(130, 0);
    const uint8_t header[18] = {1, 0x07, 0xE8, 5, 6, 7, 8, 0, 0, 0, 0x5A, 4, 1, 0, 0, 0, 0xF1, 1};
    std::copy(std::begin(header), std::end(header), d.begin());
    for (size_t j = 0; j < 16; ++j) {
        d[18 + 7 * j] = static_cast<uint8_t>(j + 1);
        d[19 + 7 * j] = static_cast<uint8_t>(2 * j);
        putBe32(d, 20 + 7 * j, static_cast<uint32_t>(61 * j));
    }
    return d;
}

bool rowEnabled(TimerFrm& w, int j) {
    return w.PcStartHour(j).Enabled() && w.PcStartMinute(j).Enabled() && w.PcStopHour(j).Enabled() &&
           w.PcStopMinute(j).Enabled();
}
bool rowDisabled(TimerFrm& w, int j) {
    return !w.PcStartHour(j).Enabled() && !w.PcStartMinute(j).Enabled() && !w.PcStopHour(j).Enabled() &&
           !w.PcStopMinute(j).Enabled();
}

TEST_F(TimerWelcomeLunchArmsTest, timerReplyFillsTheWindowFieldByField) {
    TimerFrm& w = freshWindow<TimerFrm>();
    decode(0x0A, timerTable());
    EXPECT_EQ(w.TimerManuallyCbx.Text(), "Delay");
    EXPECT_TRUE(w.ManuallyPic.Visible());
    EXPECT_FALSE(w.PcPic.Visible());
    EXPECT_EQ(w.DelayYearTxt.Text() + "/" + w.DelayMonthTxt.Text() + "/" + w.DelayDayTxt.Text() + " " +
                  w.DelayHourTxt.Text() + ":" + w.DelayMinuteTxt.Text(),
              "2024/5/6 7:8");
    EXPECT_EQ(w.DelayDurHourCbx.Text() + ":" + w.DelayDurMinCbx.Text(), "01:30");
    EXPECT_EQ(w.RepeatStartHourTxt.Text() + ":" + w.RepeatStartMinuteTxt.Text(), "4:1");
    EXPECT_EQ(w.RepeatStopHourTxt.Text() + ":" + w.RepeatStopMinuteTxt.Text(), "4:1");
    EXPECT_EQ(w.RepeatCntCbx.Text(), "1");
    EXPECT_EQ(w.PCRepeatCbx.Text(), "1");
    for (int j = 0; j < 16; ++j) {
        SCOPED_TRACE(j);
        EXPECT_EQ(w.PcStartHour(j).Text(), std::to_string(j + 1));
        EXPECT_EQ(w.PcStartMinute(j).Text(), std::to_string(2 * j));
        EXPECT_EQ(w.PcStopHour(j).Text(), std::to_string(61 * j / 60));
        EXPECT_EQ(w.PcStopMinute(j).Text(), std::to_string(61 * j % 60));
        EXPECT_EQ(w.PcEnCkx(j).Value(), 0);
        EXPECT_TRUE(rowDisabled(w, j));
    }
}

TEST_F(TimerWelcomeLunchArmsTest, timerReplyOddValuesAndTheBytesThatEndTheFill) {
    struct Case {
        const char* name;
        std::function<void(std::vector<uint8_t>&)> poke;
        std::function<void(TimerFrm&)> expect;
    };
    const Case cases[] = {
        {"repeat start 24:60 shows 0:0, a delay hour of 30 shows 30",
         [](auto& d) { d[11] = 24, d[12] = 60, d[5] = 30; },
         [](TimerFrm& w) {
             EXPECT_EQ(w.RepeatStartHourTxt.Text() + ":" + w.RepeatStartMinuteTxt.Text(), "0:0");
             EXPECT_EQ(w.DelayHourTxt.Text(), "30");
         }},
        {"PC start 24:60 shows 0:0, a PC duration of 1440 shows 24:0",
         [](auto& d) { d[18 + 14] = 24, d[19 + 14] = 60, putBe32(d, 20 + 14, 1440); },
         [](TimerFrm& w) {
             EXPECT_EQ(w.PcStartHour(2).Text() + ":" + w.PcStartMinute(2).Text(), "0:0");
             EXPECT_EQ(w.PcStopHour(2).Text() + ":" + w.PcStopMinute(2).Text(), "24:0");
         }},
        {"count 0 leaves both lists unchosen and the rows still come", [](auto& d) { d[17] = 0; },
         [](TimerFrm& w) {
             EXPECT_EQ(w.RepeatCntCbx.ListIndex(), -1);
             EXPECT_EQ(w.PCRepeatCbx.ListIndex(), -1);
             EXPECT_EQ(w.PcStartHour(15).Text(), "16");
         }},
        {"count 99 selects 99", [](auto& d) { d[17] = 99; },
         [](TimerFrm& w) { EXPECT_EQ(w.RepeatCntCbx.Text() + " " + w.PCRepeatCbx.Text(), "99 99"); }},
        {"enable 1 in row 5 enables that row only", [](auto& d) { d[24 + 35] = 1; },
         [](TimerFrm& w) {
             EXPECT_EQ(w.PcEnCkx(5).Value(), 1);
             EXPECT_TRUE(rowEnabled(w, 5));
             EXPECT_TRUE(rowDisabled(w, 4));
             EXPECT_TRUE(rowDisabled(w, 6));
         }},
        {"enable 2 greys the box, its row stays disabled, the fill goes on", [](auto& d) { d[24 + 21] = 2; },
         [](TimerFrm& w) {
             EXPECT_EQ(w.PcEnCkx(3).Value(), 2);
             EXPECT_TRUE(rowDisabled(w, 3));
             EXPECT_EQ(w.PcStartHour(15).Text(), "16");
         }},
        {"mode 4 ends the fill at once", [](auto& d) { d[0] = 4; },
         [](TimerFrm& w) {
             EXPECT_EQ(w.TimerManuallyCbx.ListIndex(), -1);
             EXPECT_EQ(w.DelayYearTxt.Text(), "2016");
             EXPECT_TRUE(w.PcPic.Visible());
         }},
        {"a year with its high byte 0x80 ends the fill after the mode", [](auto& d) { d[1] = 0x80; },
         [](TimerFrm& w) {
             EXPECT_EQ(w.TimerManuallyCbx.Text(), "Delay");
             EXPECT_EQ(w.DelayYearTxt.Text(), "2016");
             EXPECT_EQ(w.DelayMonthTxt.Text(), "4");
         }},
        {"a delay of 24 h ends the fill after the start date", [](auto& d) { putBe32(d, 7, 1440); },
         [](TimerFrm& w) {
             EXPECT_EQ(w.DelayMinuteTxt.Text(), "8");
             EXPECT_EQ(w.DelayDurHourCbx.ListIndex(), -1);
             EXPECT_EQ(w.DelayDurMinCbx.ListIndex(), -1);
             EXPECT_EQ(w.RepeatStartMinuteTxt.Text(), "1") << "the window's own";
             EXPECT_EQ(w.RepeatStartHourTxt.Text(), "4");
         }},
        {"count 100 ends the fill before the rows", [](auto& d) { d[17] = 100, d[13] = 0, d[16] = 62; },
         [](TimerFrm& w) {
             EXPECT_EQ(w.RepeatStopHourTxt.Text() + ":" + w.RepeatStopMinuteTxt.Text(), "1:2");
             EXPECT_EQ(w.RepeatCntCbx.ListIndex(), -1);
             EXPECT_EQ(w.PcStartHour(0).Text(), "0");
         }},
        {"an enable byte 3 ends the fill in its row", [](auto& d) { d[24 + 7] = 3; },
         [](TimerFrm& w) {
             EXPECT_EQ(w.PcStopMinute(1).Text(), "1");
             EXPECT_EQ(w.PcEnCkx(1).Value(), 0);
             EXPECT_EQ(w.PcStartHour(2).Text(), "0");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TimerFrm& w = freshWindow<TimerFrm>();
        std::vector<uint8_t> d = timerTable();
        c.poke(d);
        decode(0x0A, d);
        c.expect(w);
    }
    EXPECT_TRUE(dialogs->records.empty());
}

TEST_F(TimerWelcomeLunchArmsTest, timerReplyWithByte0DisablesARowTheLastReplyEnabled) {
    TimerFrm& w = freshWindow<TimerFrm>();
    std::vector<uint8_t> d = timerTable();
    d[24 + 35] = 1;
    decode(0x0A, d);
    ASSERT_TRUE(rowEnabled(w, 5));
    d[24 + 35] = 0;
    decode(0x0A, d);
    EXPECT_TRUE(rowDisabled(w, 5));
}

TEST_F(TimerWelcomeLunchArmsTest, repliesForClosedWindowsChangeNothing) {
    keptSettings().lunchTime.record = {1, 2, 3, 4, 5, 6, 7};
    decode(0x0A, timerTable());
    decode(0x10, std::vector<uint8_t>(36, 'A'));
    decode(0x14, {1, 12, 0, 0, 13, 30, 0});
    for (const char* name : {TimerFrm::kName, WelcomSetFrm::kName, LunchTimeFrm::kName})
        EXPECT_FALSE(windows().isLoaded(name)) << name;
    EXPECT_EQ(keptSettings().lunchTime.record, (LunchTime{1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(TimerWelcomeLunchArmsTest, welcomeReplyShowsTwelveLatin1CharactersPerLineBlanksIncluded) {
    WelcomSetFrm& w = freshWindow<WelcomSetFrm>();
    EXPECT_FALSE(w.filledByReply());
    std::string bytes = "HELLO       NOISE\xC4\xD6\xDC\xDF\xE9\xF1\xFF  METER       ";
    decode(0x10, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    EXPECT_EQ(w.WelLineTxt(0).Text(), "HELLO       ");
    EXPECT_EQ(w.WelLineTxt(1).Text(), "NOISEÄÖÜßéñÿ");
    EXPECT_EQ(w.WelLineTxt(2).Text(), "  METER     ");
    EXPECT_TRUE(w.filledByReply());
}

TEST_F(TimerWelcomeLunchArmsTest, lunchReplyReplacesOutOfRangeValuesByZeroAndKeepsTheSpareBytes) {
    struct Case {
        std::vector<uint8_t> data;
        LunchTime kept;
        std::string shown;  // En/start hour/start minute/stop hour/stop minute
    };
    const Case cases[] = {
        {{1, 12, 0, 0, 13, 30, 0}, {1, 12, 0, 0, 13, 30, 0}, "Enabled/12/0/13/30"},
        {{2, 30, 59, 0xAA, 23, 60, 0x55}, {0, 0, 59, 0xAA, 23, 0, 0x55}, "Disabled/0/59/23/0"},
        {{0, 23, 60, 7, 24, 59, 9}, {0, 23, 0, 7, 0, 59, 9}, "Disabled/23/0/0/59"},
    };
    LunchTimeFrm& w = freshWindow<LunchTimeFrm>();
    for (const Case& c : cases) {
        decode(0x14, c.data);
        EXPECT_EQ(keptSettings().lunchTime.record, c.kept);
        EXPECT_EQ(w.CbxEn.Text() + "/" + w.CbxStartHour.Text() + "/" + w.CbxStartMinute.Text() + "/" +
                      w.CbxStopHour.Text() + "/" + w.CbxStopMinute.Text(),
                  c.shown);
    }
    EXPECT_FALSE(keptSettings().lunchTime.filledBySet);
}

}  // namespace
