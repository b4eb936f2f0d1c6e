#include "settings/setting_record_windows.h"

#include <memory>

#include "platform/ui/window.h"
#include "settings/led_alarm_frm.h"
#include "settings/lunch_time_frm.h"
#include "settings/screen_frm.h"
#include "settings/setting_arms.h"
#include "settings/sonoquant_frm.h"
#include "settings/timer_arms.h"
#include "settings/timer_frm.h"
#include "settings/welcom_set_frm.h"
#include "settings/welcome_lunch_arms.h"

namespace sq {

void registerSettingRecordWindows(WindowRegistry& r) {
    r.registerWindow(SonoquantFrm::kName, [] { return std::make_unique<SonoquantFrm>(); });
    r.registerWindow(ScreenFrm::kName, [] { return std::make_unique<ScreenFrm>(); });
    r.registerWindow(LEDAlarmFrm::kName, [] { return std::make_unique<LEDAlarmFrm>(); });
    r.registerWindow(TimerFrm::kName, [] { return std::make_unique<TimerFrm>(); });
    r.registerWindow(WelcomSetFrm::kName, [] { return std::make_unique<WelcomSetFrm>(); });
    r.registerWindow(LunchTimeFrm::kName, [] { return std::make_unique<LunchTimeFrm>(); });
    registerSettingArms();
    registerTimerArms();
    registerWelcomeLunchArms();
}

}  // namespace sq
