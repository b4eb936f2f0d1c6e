// The dose (0x04), display-page (0x05) and LED-alarm (0x07) replies decoded into their windows.
#include "settings/setting_arms.h"

#include <gtest/gtest.h>

#include <map>

#include "settings/led_alarm_frm.h"
#include "settings/screen_frm.h"
#include "settings/setting_reply_fixture.h"
#include "settings/sonoquant_frm.h"
#include "support/setting_window_support.h"

using namespace sq;

namespace {

class SettingArmsTest : public sqtest::SettingReplyTest {
protected:
    template <class W>
    W* loaded() {
        return dynamic_cast<W*>(windows().find(W::kName));
    }
};

// ---- 0x04 -------------------------------------------------------------------------------------

struct DoseChannel {
    int enabled;  // ignored for channel 1, which has no enable byte
    int standard, weighting, threshold, criterion, exchangeRate, exceedance;
    int minutes;  // PW duration; high byte first on the wire
};

std::vector<uint8_t> doseReply(const DoseChannel& d1, const DoseChannel& d2, const DoseChannel& d3) {
    std::vector<uint8_t> data;
    for (const DoseChannel* c : {&d1, &d2, &d3}) {
        if (c != &d1) data.push_back(static_cast<uint8_t>(c->enabled));
        for (int v : {c->standard, c->weighting, c->threshold, c->criterion, c->exchangeRate, c->exceedance})
            data.push_back(static_cast<uint8_t>(v));
        data.push_back(static_cast<uint8_t>(c->minutes >> 8));
        data.push_back(static_cast<uint8_t>(c->minutes & 0xFF));
    }
    return data;
}

const DoseChannel kD1{0, 10, 0, 80, 85, 3, 105, 480};
const DoseChannel kD2{1, 11, 1, 85, 90, 4, 110, 600};
const DoseChannel kD3{0, 12, 2, 70, 90, 6, 140, 1440};

TEST_F(SettingArmsTest, doseReplyLoadsTheClosedWindowHiddenAndShowsEveryChannel) {
    EXPECT_TRUE(decode(0x04, doseReply(kD1, kD2, kD3)));
    SonoquantFrm* f = loaded<SonoquantFrm>();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(flags().SonoquantFrmOpen, kTrue);
    EXPECT_FALSE(f->Visible());
    EXPECT_EQ(sqtest::shownChannel(*f, 1), "Enabled/USER1/SLOW/80/85/3/105/08/00/free")
        << "channel 1 is always on";
    EXPECT_EQ(sqtest::shownChannel(*f, 2), "Enabled/USER2/FAST/85/90/4/110/10/00/free");
    EXPECT_EQ(sqtest::shownChannel(*f, 3), "Disabled/USER3/IMPULSE/70/90/6/140/24/00/free/hidden");
}

TEST_F(SettingArmsTest, doseReplyValuesMapToTheListsAsTheChannelRulesAllow) {
    struct Case {
        const char* name;
        DoseChannel d1;
        DoseChannel d2;
        std::string channel1;
        std::string channel2;
    };
    const Case cases[] = {
        {"threshold, criterion, rate, exceedance and 480 minutes",
         {0, 10, 0, 85, 90, 3, 105, 480},
         kD2,
         "Enabled/USER1/SLOW/85/90/3/105/08/00/free",
         ""},
        {"485 minutes",
         {0, 10, 0, 85, 90, 3, 105, 485},
         kD2,
         "Enabled/USER1/SLOW/85/90/3/105/08/05/free",
         ""},
        {"487 minutes",
         {0, 10, 0, 85, 90, 3, 105, 487},
         kD2,
         "Enabled/USER1/SLOW/85/90/3/105/08/05/free",
         ""},
        {"1445 minutes: the hour-24 rule sets the minutes back",
         {0, 10, 0, 85, 90, 3, 105, 1445},
         kD2,
         "Enabled/USER1/SLOW/85/90/3/105/24/00/free",
         ""},
        {"exceedance 72 and 66 truncate to 70",
         {0, 10, 0, 85, 90, 3, 72, 480},
         {1, 11, 1, 85, 90, 4, 66, 600},
         "Enabled/USER1/SLOW/85/90/3/70/08/00/free",
         "Enabled/USER2/FAST/85/90/4/70/10/00/free"},
        {"exceedance 65 and threshold 69 clear their lists",
         {0, 10, 0, 69, 90, 3, 65, 480},
         kD2,
         "Enabled/USER1/SLOW//90/3//08/00/free",
         ""},
        // Index -10 is not in the list: the threshold keeps what the load's preset put there.
        {"threshold 60 leaves its list as it was",
         {0, 10, 0, 60, 90, 3, 105, 480},
         kD2,
         "Enabled/USER1/SLOW/80/90/3/105/08/00/free",
         ""},
        {"a fixed standard with its own values shows them locked",
         {0, 1, 1, 85, 86, 6, 140, 720},
         kD2,
         "Enabled/OSHA - 90/FAST/85/86/6/140/12/00/locked",
         ""},
        {"a standard outside the list keeps the load's, whose preset locks",
         kD1,
         {1, 19, 1, 85, 90, 4, 110, 600},
         "",
         "Enabled/OSHA - 80/FAST/85/90/4/110/10/00/locked"},
        {"a duration that does not fit takes the one decoded before it",
         {0, 10, 0, 80, 85, 3, 105, 485},
         {1, 11, 1, 85, 90, 4, 110, 0x8001},
         "Enabled/USER1/SLOW/80/85/3/105/08/05/free",
         "Enabled/USER2/FAST/85/90/4/110/08/05/free"},
        {"channel 1's duration that does not fit gives 00:00",
         {0, 10, 0, 80, 85, 3, 105, 0x8100},
         kD2,
         "Enabled/USER1/SLOW/80/85/3/105/00/00/free",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        windows().unload(SonoquantFrm::kName);
        Runtime::get().advance(0.01);
        decode(0x04, doseReply(c.d1, c.d2, kD3));
        SonoquantFrm& f = form<SonoquantFrm>();
        if (!c.channel1.empty()) {
            EXPECT_EQ(sqtest::shownChannel(f, 1), c.channel1);
        }
        if (!c.channel2.empty()) {
            EXPECT_EQ(sqtest::shownChannel(f, 2), c.channel2);
        }
    }
}

TEST_F(SettingArmsTest, doseReplyShowsChannel2BeforeSettingItsStandard) {
    SonoquantFrm& f = form<SonoquantFrm>();
    EXPECT_EQ(sqtest::shownChannel(f, 2), "Disabled/OSHA - 80/SLOW/70/70/3/70/00/00/locked/hidden");
    bool visibleWhenItsStandardChanged = false;
    auto rule = f.Meter2StandCbx.onClick;
    f.Meter2StandCbx.onClick = [&] {
        visibleWhenItsStandardChanged = f.Meter2StandCbx.Visible();
        rule();
    };
    decode(0x04, doseReply(kD1, kD2, kD3));
    EXPECT_TRUE(visibleWhenItsStandardChanged);
    EXPECT_EQ(sqtest::shownChannel(f, 2), "Enabled/USER2/FAST/85/90/4/110/10/00/free");
}

// ---- 0x05 -------------------------------------------------------------------------------------

// Twelve pages of (channel, upper code, lower code).
std::vector<uint8_t> pagesReply(std::vector<std::array<uint8_t, 3>> first,
                                std::array<uint8_t, 3> rest = {0, 1, 132}) {
    first.resize(12, rest);
    std::vector<uint8_t> data;
    for (const auto& page : first) data.insert(data.end(), page.begin(), page.end());
    return data;
}

std::string row(ScreenFrm& f, int page) {
    return f.SonoquantCbx(page).Text() + "/" + f.UpPageCbx(page).Text() + "/" + f.DownPageCbx(page).Text();
}

TEST_F(SettingArmsTest, pagesReplyTranslatesItemCodesAndMarksTheWindowFilled) {
    EXPECT_TRUE(decode(0x05, pagesReply({{2, 0x13, 0x20},
                                         {1, 0x22, 0x84},
                                         {0, 0x82, 0x84},
                                         {0, 18, 33},
                                         {1, 131, 130},
                                         {2, 0x84, 0x13}})));
    ScreenFrm* f = loaded<ScreenFrm>();
    ASSERT_NE(f, nullptr);
    EXPECT_FALSE(f->Visible());
    EXPECT_EQ(row(*f, 0), "Sonoquant 3/LEPd/PKA");
    EXPECT_EQ(row(*f, 1), "Sonoquant 2/LAFMax/OFF");
    EXPECT_EQ(row(*f, 2), "Sonoquant 1/NEN/OFF");
    // Codes 18 and 33 select positions 18 ("LEPd") and 33; the lower line's "LAFMin" then turns the
    // upper line "OFF".
    EXPECT_EQ(row(*f, 3), "Sonoquant 1/OFF/LAFMin");
    EXPECT_EQ(row(*f, 4), "Sonoquant 2/Exceedance/NEN");
    EXPECT_EQ(row(*f, 5), "Sonoquant 3/OFF/LEPd");
    EXPECT_EQ(row(*f, 11), "Sonoquant 1/SPLAF/OFF");
    EXPECT_TRUE(f->filledByReply());
}

TEST_F(SettingArmsTest, pagesReplySetsUpperThenLowerSoThePairingRulesActInBetween) {
    // Page 0: SPLAF / OFF receives OFF / SPLAS; page 1: SPLAF / SPLAS receives OFF / OFF.
    decode(0x05, pagesReply({{0, 1, 132}, {0, 1, 2}}));
    decode(0x05, pagesReply({{0, 132, 2}, {0, 132, 132}}));
    ScreenFrm& f = form<ScreenFrm>();
    EXPECT_EQ(row(f, 0), "Sonoquant 1/SystemTime/SPLAS");
    EXPECT_EQ(row(f, 1), "Sonoquant 1/OFF/SystemTime");
}

TEST_F(SettingArmsTest, pagesReplyEndsAtTheFirstEntryTheListsLack) {
    struct Case {
        const char* name;
        std::array<uint8_t, 3> page3;
    };
    for (const Case& c : {Case{"upper code 133", {1, 133, 2}}, Case{"channel byte 3", {3, 4, 5}}}) {
        SCOPED_TRACE(c.name);
        windows().unload(ScreenFrm::kName);
        Runtime::get().advance(0.01);
        decode(0x05, pagesReply({{1, 4, 5}, {1, 4, 5}, {1, 4, 5}, c.page3, {1, 4, 5}}, {2, 4, 5}));
        ScreenFrm& f = form<ScreenFrm>();
        for (int page = 0; page < 3; ++page) EXPECT_EQ(row(f, page), "Sonoquant 2/SPLCF/SPLCS") << page;
        const std::string page3 =
            c.page3[0] == 3 ? "Sonoquant 1/SPLCF/SPLCS" : "Sonoquant 1/SystemTime/SystemTime";
        EXPECT_EQ(row(f, 3), page3);
        for (int page = 4; page < 12; ++page)
            EXPECT_EQ(row(f, page), "Sonoquant 1/SystemTime/SystemTime") << page;
        EXPECT_FALSE(f.filledByReply());
    }
}

// ---- 0x07 -------------------------------------------------------------------------------------

// The enable byte, then per row the upper and the lower limit, high byte first.
std::vector<uint8_t> alarmReply(uint8_t enabled, const std::map<int, std::array<uint8_t, 4>>& rows = {}) {
    std::vector<uint8_t> data{enabled};
    for (int i = 0; i < 11; ++i) {
        auto it = rows.find(i);
        const std::array<uint8_t, 4> bytes =
            it != rows.end() ? it->second : std::array<uint8_t, 4>{0, 130, 0, 75};
        data.insert(data.end(), bytes.begin(), bytes.end());
    }
    return data;
}

std::string limits(LEDAlarmFrm& f, int i) {
    return f.LowerTxt(i).Text() + "-" + f.UpperTxt(i).Text();
}

TEST_F(SettingArmsTest, alarmReplyFillsUpperBeforeLowerAndTheSwitchLast) {
    EXPECT_TRUE(decode(0x07, alarmReply(1, {{0, {0x00, 0x8C, 0x00, 0x46}}, {10, {0x01, 0x00, 0x00, 0x00}}})));
    LEDAlarmFrm* f = loaded<LEDAlarmFrm>();
    ASSERT_NE(f, nullptr);
    EXPECT_FALSE(f->Visible());
    EXPECT_EQ(limits(*f, 0), "70-140");
    EXPECT_EQ(limits(*f, 5), "75-130");
    EXPECT_EQ(limits(*f, 10), "0-256") << "shown as received; Set checks the range";
    EXPECT_EQ(f->EnabledCbx.Text(), "ON");
    EXPECT_TRUE(f->filledByReply());
}

TEST_F(SettingArmsTest, alarmReplyThatCannotBeShownEndsWithTheSwitchOff) {
    struct Case {
        const char* name;
        std::vector<uint8_t> data;
        int rowsFilled;
    };
    const Case cases[] = {
        {"enable byte 2", alarmReply(2), 11},
        {"row 4's lower limit does not fit", alarmReply(1, {{4, {0x00, 0x82, 0x80, 0x00}}}), 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        windows().unload(LEDAlarmFrm::kName);
        Runtime::get().advance(0.01);
        decode(0x07, c.data);
        LEDAlarmFrm& f = form<LEDAlarmFrm>();
        for (int i = 0; i < 11; ++i) {
            const bool upperOnly = i == c.rowsFilled && i < 11;  // the upper limit comes before the lower
            EXPECT_EQ(limits(f, i), i < c.rowsFilled ? "75-130" : upperOnly ? "80-130" : "80-120") << i;
        }
        EXPECT_EQ(f.EnabledCbx.Text(), "OFF");
        EXPECT_FALSE(f.filledByReply());
    }
}

}  // namespace
