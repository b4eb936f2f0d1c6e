#pragma once
// The device tree's twenty nodes and what a click on each runs.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

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

// The node whose command a click on a node with `clickedText` runs: the first of nodes 1, 2, 4 to
// 17, 19, 20 whose text equals it (1-based), or 0 for none. `nodeTexts` holds nodes 1 to 20.
int treeCommandNode(const std::string& clickedText, const std::vector<std::string>& nodeTexts);

// The channel an instrument-list entry selects: its channel when the entry carries one, else the
// classic position rule ChannelCount - index + 1.
int channelOfListEntry(const std::string& entryKey, int entryIndex, int channelCount);
// The key that remembers an entry's channel.
std::string listEntryKey(int channel);
// The model part of an entry's text: up to its first ":" (the whole text without one).
std::string modelOfListEntry(const std::string& text);

}  // namespace sq
