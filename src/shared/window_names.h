#pragma once
// Each program window's name in the window registry, defined once: the window is made under it, and
// every folder that opens, finds or closes the window by name uses it (a folder below a window can
// reach it only so).
#include <array>

namespace sq::window_name {

inline constexpr const char* kPanel = "Panel";
inline constexpr const char* kComPortSetFrm = "ComPortSetFrm";
inline constexpr const char* kLanguageFrm = "LanguageFrm";
inline constexpr const char* kHelpFrm = "HelpFrm";
inline constexpr const char* kSetting410PanelFrm = "Setting410PanelFrm";
inline constexpr const char* kRTCFrm = "RTCFrm";
inline constexpr const char* kOneSetForm = "OneSetForm";
inline constexpr const char* kSonoquantFrm = "SonoquantFrm";
inline constexpr const char* kScreenFrm = "ScreenFrm";
inline constexpr const char* kLEDAlarmFrm = "LEDAlarmFrm";
inline constexpr const char* kTimerFrm = "TimerFrm";
inline constexpr const char* kWelcomSetFrm = "WelcomSetFrm";
inline constexpr const char* kLunchTimeFrm = "LunchTimeFrm";
inline constexpr const char* kClearMemoryFrm = "ClearMemoryFrm";
inline constexpr const char* kDataListFrm = "DataListFrm";
inline constexpr const char* kFileListFrm = "FileListFrm";
inline constexpr const char* kPlot = "Plot";
inline constexpr const char* kHistogram = "Histogram";

// Every name above.
inline constexpr std::array kAll = {
    kPanel,       kComPortSetFrm, kLanguageFrm,  kHelpFrm,        kSetting410PanelFrm,
    kRTCFrm,      kOneSetForm,    kSonoquantFrm, kScreenFrm,      kLEDAlarmFrm,
    kTimerFrm,    kWelcomSetFrm,  kLunchTimeFrm, kClearMemoryFrm, kDataListFrm,
    kFileListFrm, kPlot,          kHistogram,
};

}  // namespace sq::window_name
