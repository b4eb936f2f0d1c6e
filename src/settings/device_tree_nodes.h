#pragma once
// The device tree's twenty nodes and what a click on each runs: the setting reads (window, mode
// flag, flush and read request) that the settings panel's buttons run too, and the windows the
// other nodes open, by their names in the window registry.
#include <array>
#include <cstdint>

#include "shared/state.h"

namespace sq {

enum class NodeCommand { None, OpenWindow, Memory, SettingRead };

struct TreeNodeEntry {
    const char* key;
    const char* parentKey;  // "" for a root
    NodeCommand command;
    const char* window;            // OpenWindow and SettingRead
    int16_t OpenFlags::*modeFlag;  // SettingRead: set before the window opens (may be null)
    bool flush;                    // SettingRead: empty the port's queues first
    void (*readRequest)();         // SettingRead
};

// Nodes 1 to 20 in tree order (element 0 is node 1).
const std::array<TreeNodeEntry, 20>& deviceTreeNodes();

}  // namespace sq
