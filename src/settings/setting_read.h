#pragma once
// How the settings panel's buttons and the device tree's setting nodes read a setting into its
// window: the same steps, each opener with its own order of preparation and its own final wait.
#include <string_view>

#include "settings/device_tree_nodes.h"

namespace sq {

// The preparation steps, run in the order `preparation` lists them:
//   'P' pause polling,
//   'C' close the other setting windows (checkpanelflage),
//   'F' empty the port's queues and the channel's receive buffer, for settings that ask for it,
//   'M' set the window's mode flag, for settings that have one.
// Then the window is shown, 0.1 s later the read request goes out, and `settle` seconds after it
// polling resumes. Every step runs even when an earlier one failed. Nothing after a wait refers to
// the opener, so a command that runs during a wait may unload it.
void runSettingRead(const TreeNodeEntry& setting, std::string_view preparation, double settle);

// The device-tree node with `key` ("Child1"), or nullptr.
const TreeNodeEntry* deviceTreeNode(std::string_view key);

}  // namespace sq
