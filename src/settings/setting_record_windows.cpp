#include "settings/setting_record_windows.h"

#include <memory>

#include "decoder/setting_arms.h"
#include "platform/ui/window.h"
#include "settings/led_alarm_frm.h"
#include "settings/screen_frm.h"
#include "settings/sonoquant_frm.h"

namespace sq {

void registerSettingRecordWindows(WindowRegistry& r) {
    r.registerWindow(SonoquantFrm::kName, [] { return std::make_unique<SonoquantFrm>(); });
    r.registerWindow(ScreenFrm::kName, [] { return std::make_unique<ScreenFrm>(); });
    r.registerWindow(LEDAlarmFrm::kName, [] { return std::make_unique<LEDAlarmFrm>(); });
    registerSettingArms();
}

}  // namespace sq
