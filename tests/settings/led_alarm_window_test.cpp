// The LED alarm window: its number boxes, the range checks of its Set button and the frame it sends.
#include <gtest/gtest.h>

#include <functional>

#include "link/requests.h"
#include "settings/led_alarm_frm.h"
#include "settings/settings_fixture.h"
#include "support/setting_window_support.h"

using namespace sq;
using sqtest::pick;

namespace {

class LedAlarmWindowTest : public sqtest::SettingsTest {
protected:
    // The window filled from the simulator: switched on, every row 70 to 140.
    LEDAlarmFrm& openFilled() {
        LEDAlarmFrm& f = openFromPanel<LEDAlarmFrm>(&Setting410PanelFrm::LEDAlarmBtn);
        EXPECT_TRUE(f.filledByReply());
        return f;
    }
};

TEST_F(LedAlarmWindowTest, freshWindowShowsDefaultsAndTakesAtMostThreeDigits) {
    startIdentified();
    LEDAlarmFrm& f = form<LEDAlarmFrm>();
    f.Show();
    EXPECT_EQ(f.Caption(), "LED Alarm");
    EXPECT_EQ(f.EnabledCbx.ListCount(), 2);
    EXPECT_EQ(f.EnabledCbx.ListIndex(), -1);
    for (int i = 0; i < LEDAlarmFrm::kRows; ++i) {
        EXPECT_EQ(f.LowerTxt(i).Text(), "80");
        EXPECT_EQ(f.UpperTxt(i).Text(), "120");
    }
    EXPECT_EQ(f.LEDAlarmBtn.Caption(), "Set");
    EXPECT_EQ(f.ExitBtn.Caption(), "Exit");
    f.LowerTxt(3).setText("");
    f.LowerTxt(3).type("9a-1234");
    EXPECT_EQ(f.LowerTxt(3).Text(), "912");
    EXPECT_EQ(f.alarmname(3), "LZPK");
    EXPECT_EQ(f.alarmname(11), "");
    EXPECT_EQ(f.alarmname(-1), "");
}

TEST_F(LedAlarmWindowTest, limitsOutsideTheRangeAreRefusedFirstRowFirstLowerFirst) {
    struct Case {
        const char* name;
        std::function<void(LEDAlarmFrm&)> change;
        std::string message;  // empty: the Set passes and sends
    };
    using F = LEDAlarmFrm&;
    const Case cases[] = {
        {"70 and 140 everywhere", [](F) {}, ""},
        {"lower 69", [](F f) { f.LowerTxt(0).setText("69"); }, "LAS Lower Limit Range : 70 ~ 140 !!!"},
        {"upper 141", [](F f) { f.UpperTxt(10).setText("141"); }, "PLEX8H Upper Limit Range : 70 ~ 140 !!!"},
        {"empty", [](F f) { f.LowerTxt(5).setText(""); }, "TWA Lower Limit Range : 70 ~ 140 !!!"},
        {"zero", [](F f) { f.UpperTxt(1).setText("0"); }, "LAEQ Upper Limit Range : 70 ~ 140 !!!"},
        {"LZPK lower", [](F f) { f.LowerTxt(3).setText("60"); }, "LZPK Lower Limit Range : 70 ~ 140 !!!"},
        {"the first row counts",
         [](F f) {
             f.LowerTxt(2).setText("60");
             f.UpperTxt(0).setText("150");
         },
         "LAS Upper Limit Range : 70 ~ 140 !!!"},
        {"erasing comes before the ranges",
         [](F f) {
             f.LowerTxt(0).setText("0");
             flags().MemoryErasing = kTrue;
         },
         "Memory Erasing ..."},
        {"a lower limit above the upper",
         [](F f) {
             f.LowerTxt(4).setText("120");
             f.UpperTxt(4).setText("80");
         },
         ""},
    };
    Panel& p = startIdentified();
    LEDAlarmFrm& f = openFilled();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < LEDAlarmFrm::kRows; ++i) {
            f.LowerTxt(i).setText("70");
            f.UpperTxt(i).setText("140");
        }
        c.change(f);
        const KeptSetting<AlarmLimits> kept = keptSettings().alarmLimits;
        dialogs->clear();
        sim->clearLog();
        DisablePollTimers();
        f.LEDAlarmBtn.click();
        flags().MemoryErasing = kFalse;
        if (c.message.empty()) {
            EXPECT_TRUE(dialogs->records.empty());
            EXPECT_EQ(sent(CmdWriteLedAlarm), 1);
            EXPECT_TRUE(p.Timer1.enabled());
        } else {
            EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{c.message}));
            EXPECT_EQ(sent(CmdWriteLedAlarm), 0);
            EXPECT_FALSE(p.Timer1.enabled()) << "polling untouched";
            EXPECT_EQ(keptSettings().alarmLimits.record, kept.record);
            EXPECT_EQ(keptSettings().alarmLimits.filledBySet, kept.filledBySet);
        }
        EnablePollTimers();
        wait(0.5);
    }
    EXPECT_EQ(keptSettings().alarmLimits.record.LowerLimit[4], 120);
    EXPECT_EQ(keptSettings().alarmLimits.record.UpperLimit[4], 80);
}

TEST_F(LedAlarmWindowTest, setSendsTheSwitchAndEachRowUpperBeforeLower) {
    startIdentified();
    LEDAlarmFrm& f = openFilled();
    pick(f.EnabledCbx, "ON");
    for (int i = 0; i < LEDAlarmFrm::kRows; ++i) {
        f.LowerTxt(i).setText("80");
        f.UpperTxt(i).setText("120");
    }
    f.LEDAlarmBtn.click();
    std::vector<uint8_t> frame = {0x02, 0x00, 0x2E, 0x87, 0x01};
    for (int i = 0; i < 11; ++i) frame.insert(frame.end(), {0x00, 0x78, 0x00, 0x50});
    frame.push_back(0x80);
    EXPECT_EQ(lastRaw(CmdWriteLedAlarm), frame);
    EXPECT_TRUE(keptSettings().alarmLimits.filledBySet);
}

}  // namespace
