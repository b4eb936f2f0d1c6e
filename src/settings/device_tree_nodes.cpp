#include "settings/device_tree_nodes.h"

#include "link/requests.h"
#include "shared/window_names.h"

namespace sq {

namespace {

using F = OpenFlags;
namespace W = window_name;
constexpr NodeCommand kNone = NodeCommand::None;
constexpr NodeCommand kOpen = NodeCommand::OpenWindow;
constexpr NodeCommand kRead = NodeCommand::SettingRead;

const std::array<TreeNodeEntry, 20> kNodes = {{
    {"Root1", "", kOpen, W::kRTCFrm, nullptr, false, nullptr},
    {"Root2", "", NodeCommand::Memory, nullptr, nullptr, false, nullptr},
    {"Root3", "", kNone, nullptr, nullptr, false, nullptr},
    {"Child1", "Root3", kRead, W::kOneSetForm, &F::OneSetLcdContrast, true, &ReadLcdContrast},
    {"Child2", "Root3", kRead, W::kOneSetForm, &F::OneSetLcdApo, true, &ReadLcdApo},
    {"Child3", "Root3", kRead, W::kOneSetForm, &F::OneSetPause, false, &ReadPauseSetting},
    {"Child4", "Root3", kRead, W::kLEDAlarmFrm, nullptr, false, &ReadLedAlarm},
    {"Child5", "Root3", kRead, W::kSonoquantFrm, nullptr, false, &ReadDoseSettings},
    {"Child6", "Root3", kRead, W::kOneSetForm, &F::OneSetAutoLock, false, &ReadAutoLockKeypad},
    {"Child7", "Root3", kRead, W::kOneSetForm, &F::OneSetAutoScroll, false, &ReadAutoScroll},
    {"Child8", "Root3", kRead, W::kTimerFrm, nullptr, false, &ReadTimerSettings},
    {"Child9", "Root3", kRead, W::kScreenFrm, nullptr, false, &ReadScreenSettings},
    {"Child10", "Root3", kRead, W::kWelcomSetFrm, nullptr, false, &ReadWelcomeText},
    {"Child11", "Root3", kRead, W::kOneSetForm, &F::OneSetCalibration, false, &ReadCalibrationLevel},
    {"Child12", "Root3", kRead, W::kLunchTimeFrm, &F::LunchTimeFrmOpen, false, &ReadLunchTime},
    {"Child13", "Root3", kRead, W::kOneSetForm, &F::OneSetIntervalTime, false, &ReadIntervalTime},
    {"Root4", "", kOpen, W::kClearMemoryFrm, nullptr, false, nullptr},
    {"Root5", "", kNone, nullptr, nullptr, false, nullptr},
    {"ChildOpt1", "Root5", kOpen, W::kLanguageFrm, nullptr, false, nullptr},
    {"ChildOpt2", "Root5", kOpen, W::kHelpFrm, nullptr, false, nullptr},
}};

}  // namespace

const std::array<TreeNodeEntry, 20>& deviceTreeNodes() {
    return kNodes;
}

}  // namespace sq
