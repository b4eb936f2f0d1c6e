#pragma once
// Which device-tree node a click runs, and the instrument list's entries.
#include <string>
#include <vector>

#include "settings/device_tree_nodes.h"

namespace sq {

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
