#pragma once
// The closing rules that run before a window opens: CheckFlage closes every child window but the
// graph windows, checkpanelflage only the setting dialogs and auxiliary windows. Windows are
// closed by their open flags, in a fixed order, through the window registry: the rules name the
// windows and include none, so the setting windows and the main window share them.
#include <cstdint>
#include <utility>
#include <vector>

#include "shared/state.h"

namespace sq {

using FlagWindow = std::pair<int16_t OpenFlags::*, const char*>;

const std::vector<FlagWindow>& checkFlageOrder();
const std::vector<FlagWindow>& checkPanelFlageOrder();

// What the language window closes as it opens: every other child window, the graph windows
// included, in two groups with the memory pane hidden between them.
struct CloseGroups {
    std::vector<FlagWindow> beforePane;
    std::vector<FlagWindow> afterPane;
};
const CloseGroups& languageFrmCloseOrder();

// For each flag in order that is True, unloads its window (a failing unload is skipped).
void unloadByFlags(const std::vector<FlagWindow>& order);

}  // namespace sq
