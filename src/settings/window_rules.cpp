#include "settings/window_rules.h"

#include "platform/ui/window.h"
#include "platform/vb_error.h"

namespace sq {

namespace {
using F = OpenFlags;
}

const std::vector<FlagWindow>& checkFlageOrder() {
    static const std::vector<FlagWindow> order = {
        {&F::ClearMemoryFrmOpen, "ClearMemoryFrm"},
        {&F::ComPortSetFrmOpen, "ComPortSetFrm"},
        {&F::DataListFrmOpen, "DataListFrm"},
        {&F::SonoquantFrmOpen, "SonoquantFrm"},
        {&F::FileListFrmOpen, "FileListFrm"},
        {&F::HelpFrmOpen, "HelpFrm"},
        {&F::LanguageFrmOpen, "LanguageFrm"},
        {&F::LEDAlarmFrmOpen, "LEDAlarmFrm"},
        {&F::LunchTimeFrmOpen, "LunchTimeFrm"},
        {&F::OneSetCalibration, "OneSetForm"},
        {&F::OneSetPause, "OneSetForm"},
        {&F::OneSetAutoLock, "OneSetForm"},
        {&F::OneSetAutoScroll, "OneSetForm"},
        {&F::OneSetIntervalTime, "OneSetForm"},
        {&F::OneSetLcdApo, "OneSetForm"},
        {&F::OneSetLcdContrast, "OneSetForm"},
        {&F::RTCFrmOpen, "RTCFrm"},
        {&F::ScreenFrmOpen, "ScreenFrm"},
        {&F::Setting410PanelFrmOpen, "Setting410PanelFrm"},
        {&F::TimerFrmOpen, "TimerFrm"},
        {&F::WelcomSetFrmOpen, "WelcomSetFrm"},
    };
    return order;
}

const std::vector<FlagWindow>& checkPanelFlageOrder() {
    static const std::vector<FlagWindow> order = {
        {&F::RTCFrmOpen, "RTCFrm"},
        {&F::OneSetLcdContrast, "OneSetForm"},
        {&F::OneSetLcdApo, "OneSetForm"},
        {&F::SonoquantFrmOpen, "SonoquantFrm"},
        {&F::ScreenFrmOpen, "ScreenFrm"},
        {&F::OneSetPause, "OneSetForm"},
        {&F::LEDAlarmFrmOpen, "LEDAlarmFrm"},
        {&F::OneSetAutoLock, "OneSetForm"},
        {&F::OneSetAutoScroll, "OneSetForm"},
        {&F::TimerFrmOpen, "TimerFrm"},
        {&F::WelcomSetFrmOpen, "WelcomSetFrm"},
        {&F::ClearMemoryFrmOpen, "ClearMemoryFrm"},
        {&F::HelpFrmOpen, "HelpFrm"},
        {&F::LanguageFrmOpen, "LanguageFrm"},
        {&F::FileListFrmOpen, "FileListFrm"},
        {&F::OneSetCalibration, "OneSetForm"},
        {&F::LunchTimeFrmOpen, "LunchTimeFrm"},
        {&F::OneSetIntervalTime, "OneSetForm"},
    };
    return order;
}

const CloseGroups& languageFrmCloseOrder() {
    // The single-value window is named by each of its mode flags; unloading it clears them all, so
    // it closes at most once.
    static const CloseGroups order = {
        {
            {&F::ClearMemoryFrmOpen, "ClearMemoryFrm"},
            {&F::ComPortSetFrmOpen, "ComPortSetFrm"},
            {&F::DataListFrmOpen, "DataListFrm"},
            {&F::SonoquantFrmOpen, "SonoquantFrm"},
            {&F::FileListFrmOpen, "FileListFrm"},
            {&F::HelpFrmOpen, "HelpFrm"},
            {&F::HistogramOpen, "Histogram"},
            {&F::LEDAlarmFrmOpen, "LEDAlarmFrm"},
        },
        {
            {&F::OneSetLcdApo, "OneSetForm"},
            {&F::OneSetLcdContrast, "OneSetForm"},
            {&F::OneSetPause, "OneSetForm"},
            {&F::OneSetAutoLock, "OneSetForm"},
            {&F::OneSetAutoScroll, "OneSetForm"},
            {&F::OneSetCalibration, "OneSetForm"},
            {&F::PlotOpen, "Plot"},
            {&F::RTCFrmOpen, "RTCFrm"},
            {&F::ScreenFrmOpen, "ScreenFrm"},
            {&F::Setting410PanelFrmOpen, "Setting410PanelFrm"},
            {&F::TimerFrmOpen, "TimerFrm"},
            {&F::WelcomSetFrmOpen, "WelcomSetFrm"},
            {&F::LunchTimeFrmOpen, "LunchTimeFrm"},
            {&F::OneSetIntervalTime, "OneSetForm"},
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
