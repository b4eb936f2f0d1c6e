#include "mainwindow/device_tree.h"

namespace sq {

int treeCommandNode(const std::string& clickedText, const std::vector<std::string>& nodeTexts) {
    static const int kOrder[] = {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 19, 20};
    for (int node : kOrder)
        if (node <= static_cast<int>(nodeTexts.size()) && nodeTexts[node - 1] == clickedText) return node;
    return 0;
}

std::string listEntryKey(int channel) {
    return "CH" + std::to_string(channel);
}

int channelOfListEntry(const std::string& entryKey, int entryIndex, int channelCount) {
    if (entryKey.size() > 2 && entryKey.compare(0, 2, "CH") == 0) {
        try {
            return std::stoi(entryKey.substr(2));
        } catch (const std::exception&) {
        }
    }
    return channelCount - entryIndex + 1;
}

std::string modelOfListEntry(const std::string& text) {
    return text.substr(0, text.find(':'));
}

}  // namespace sq
