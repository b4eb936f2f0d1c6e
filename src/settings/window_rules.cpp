#include "settings/window_rules.h"

#include "platform/ui/window.h"
#include "platform/vb_error.h"
#include "shared/window_names.h"

namespace sq {

namespace {
using F = OpenFlags;
namespace W = window_name;
}  // namespace

const std::vector<FlagWindow>& checkFlageOrder() {
    static const std::vector<FlagWindow> order = {
        {&F::ClearMemoryFrmOpen, W::kClearMemoryFrm},
        {&F::ComPortSetFrmOpen, W::kComPortSetFrm},
        {&F::DataListFrmOpen, W::kDataListFrm},
        {&F::SonoquantFrmOpen, W::kSonoquantFrm},
        {&F::FileListFrmOpen, W::kFileListFrm},
        {&F::HelpFrmOpen, W::kHelpFrm},
        {&F::LanguageFrmOpen, W::kLanguageFrm},
        {&F::LEDAlarmFrmOpen, W::kLEDAlarmFrm},
        {&F::LunchTimeFrmOpen, W::kLunchTimeFrm},
        {&F::OneSetCalibration, W::kOneSetForm},
        {&F::OneSetPause, W::kOneSetForm},
        {&F::OneSetAutoLock, W::kOneSetForm},
        {&F::OneSetAutoScroll, W::kOneSetForm},
        {&F::OneSetIntervalTime, W::kOneSetForm},
        {&F::OneSetLcdApo, W::kOneSetForm},
        {&F::OneSetLcdContrast, W::kOneSetForm},
        {&F::RTCFrmOpen, W::kRTCFrm},
        {&F::ScreenFrmOpen, W::kScreenFrm},
        {&F::Setting410PanelFrmOpen, W::kSetting410PanelFrm},
        {&F::TimerFrmOpen, W::kTimerFrm},
        {&F::WelcomSetFrmOpen, W::kWelcomSetFrm},
    };
    return order;
}

const std::vector<FlagWindow>& checkPanelFlageOrder() {
    static const std::vector<FlagWindow> order = {
        {&F::RTCFrmOpen, W::kRTCFrm},
        {&F::OneSetLcdContrast, W::kOneSetForm},
        {&F::OneSetLcdApo, W::kOneSetForm},
        {&F::SonoquantFrmOpen, W::kSonoquantFrm},
        {&F::ScreenFrmOpen, W::kScreenFrm},
        {&F::OneSetPause, W::kOneSetForm},
        {&F::LEDAlarmFrmOpen, W::kLEDAlarmFrm},
        {&F::OneSetAutoLock, W::kOneSetForm},
        {&F::OneSetAutoScroll, W::kOneSetForm},
        {&F::TimerFrmOpen, W::kTimerFrm},
        {&F::WelcomSetFrmOpen, W::kWelcomSetFrm},
        {&F::ClearMemoryFrmOpen, W::kClearMemoryFrm},
        {&F::HelpFrmOpen, W::kHelpFrm},
        {&F::LanguageFrmOpen, W::kLanguageFrm},
        {&F::FileListFrmOpen, W::kFileListFrm},
        {&F::OneSetCalibration, W::kOneSetForm},
        {&F::LunchTimeFrmOpen, W::kLunchTimeFrm},
        {&F::OneSetIntervalTime, W::kOneSetForm},
    };
    return order;
}

const CloseGroups& languageFrmCloseOrder() {
    // The single-value window is named by each of its mode flags; unloading it clears them all, so
    // it closes at most once.
    static const CloseGroups order = {
        {
            {&F::ClearMemoryFrmOpen, W::kClearMemoryFrm},
            {&F::ComPortSetFrmOpen, W::kComPortSetFrm},
            {&F::DataListFrmOpen, W::kDataListFrm},
            {&F::SonoquantFrmOpen, W::kSonoquantFrm},
            {&F::FileListFrmOpen, W::kFileListFrm},
            {&F::HelpFrmOpen, W::kHelpFrm},
            {&F::HistogramOpen, W::kHistogram},
            {&F::LEDAlarmFrmOpen, W::kLEDAlarmFrm},
        },
        {
            {&F::OneSetLcdApo, W::kOneSetForm},
            {&F::OneSetLcdContrast, W::kOneSetForm},
            {&F::OneSetPause, W::kOneSetForm},
            {&F::OneSetAutoLock, W::kOneSetForm},
            {&F::OneSetAutoScroll, W::kOneSetForm},
            {&F::OneSetCalibration, W::kOneSetForm},
            {&F::PlotOpen, W::kPlot},
            {&F::RTCFrmOpen, W::kRTCFrm},
            {&F::ScreenFrmOpen, W::kScreenFrm},
            {&F::Setting410PanelFrmOpen, W::kSetting410PanelFrm},
            {&F::TimerFrmOpen, W::kTimerFrm},
            {&F::WelcomSetFrmOpen, W::kWelcomSetFrm},
            {&F::LunchTimeFrmOpen, W::kLunchTimeFrm},
            {&F::OneSetIntervalTime, W::kOneSetForm},
        },
    };
    return order;
}

void unloadByFlags(const std::vector<FlagWindow>& order) {
    for (const auto& [flag, name] : order) {
        if (flags().*flag != kTrue) continue;
        try {
            windows().unload(name);
        } catch (const VbError&) {
        }
    }
}

}  // namespace sq
