#include "settings/device_tree_nodes.h"

#include "link/requests.h"

namespace sq {

namespace {

using F = OpenFlags;
constexpr NodeCommand kNone = NodeCommand::None;
constexpr NodeCommand kOpen = NodeCommand::OpenWindow;
constexpr NodeCommand kRead = NodeCommand::SettingRead;

const std::array<TreeNodeEntry, 20> kNodes = {{
    {"Root1", "", kOpen, "RTCFrm", nullptr, false, nullptr},
    {"Root2", "", NodeCommand::Memory, nullptr, nullptr, false, nullptr},
    {"Root3", "", kNone, nullptr, nullptr, false, nullptr},
    {"Child1", "Root3", kRead, "OneSetForm", &F::OneSetLcdContrast, true, &ReadLcdContrast},
    {"Child2", "Root3", kRead, "OneSetForm", &F::OneSetLcdApo, true, &ReadLcdApo},
    {"Child3", "Root3", kRead, "OneSetForm", &F::OneSetPause, false, &ReadPauseSetting},
    {"Child4", "Root3", kRead, "LEDAlarmFrm", nullptr, false, &ReadLedAlarm},
    {"Child5", "Root3", kRead, "SonoquantFrm", nullptr, false, &ReadDoseSettings},
    {"Child6", "Root3", kRead, "OneSetForm", &F::OneSetAutoLock, false, &ReadAutoLockKeypad},
    {"Child7", "Root3", kRead, "OneSetForm", &F::OneSetAutoScroll, false, &ReadAutoScroll},
    {"Child8", "Root3", kRead, "TimerFrm", nullptr, false, &ReadTimerSettings},
    {"Child9", "Root3", kRead, "ScreenFrm", nullptr, false, &ReadScreenSettings},
    {"Child10", "Root3", kRead, "WelcomSetFrm", nullptr, false, &ReadWelcomeText},
    {"Child11", "Root3", kRead, "OneSetForm", &F::OneSetCalibration, false, &ReadCalibrationLevel},
    {"Child12", "Root3", kRead, "LunchTimeFrm", &F::LunchTimeFrmOpen, false, &ReadLunchTime},
    {"Child13", "Root3", kRead, "OneSetForm", &F::OneSetIntervalTime, false, &ReadIntervalTime},
    {"Root4", "", kOpen, "ClearMemoryFrm", nullptr, false, nullptr},
    {"Root5", "", kNone, nullptr, nullptr, false, nullptr},
    {"ChildOpt1", "Root5", kOpen, "LanguageFrm", nullptr, false, nullptr},
    {"ChildOpt2", "Root5", kOpen, "HelpFrm", nullptr, false, nullptr},
}};

}  // namespace

const std::array<TreeNodeEntry, 20>& deviceTreeNodes() {
    return kNodes;
}

}  // namespace sq
