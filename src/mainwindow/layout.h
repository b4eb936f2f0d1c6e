#pragma once
// The main window's layout rules, in twips, as pure functions; the window converts at the edge.
#include <array>

#include "platform/ui/twips.h"

namespace sq {

// The main window's minimum: a width below 12600 becomes 13665, a height below 11250 becomes 11250.
TwipSize panelMinimumSize(TwipSize outer);

// Memory grid column widths 2u, 6u, 2u with u = (pane width - 385) / 10, each to the nearest whole.
std::array<int, 3> memoryColumnWidths(int paneWidth);

// What the resize handler reads.
struct PanelLayoutInput {
    int clientWidth = 0;  // MDI client area
    int clientHeight = 0;
    int treeBarWidth = 0;  // TreeViewBar
    int panelSplitWidth = 120;
    int treeTop = 0;
    int paneHeight = 0;  // SSPMemory
    int memSplitHeight = 120;
    bool paneVisible = false;
    int closeButtonWidth = 255;
    int totalSizeNumWidth = 555;
    int remainSizeNumWidth = 555;
    std::array<int, 3> statusWidths{};  // panels 1, 3 and 4
};

struct PanelLayout {
    int innerWidth = 0;   // W
    int innerHeight = 0;  // H
    int listWidth = 0;    // ControlListView
    int memSplitTop = 0;
    int memSplitWidth = 0;
    int paneTop = 0;
    int paneWidth = 0;
    int closeButtonLeft = 0;
    int titleWidth = 0;
    int gridWidth = 0;
    int gridHeight = 0;
    std::array<int, 3> columnWidths{};
    int totalSizeNumLeft = 0;
    int remainSizeNumLeft = 0;
    int treeHeight = 0;
    int treeWidth = 0;
    int statusPanel2Width = 0;
};

PanelLayout layoutPanel(const PanelLayoutInput& in);

// ShowMemoryInfoPanel's geometry.
struct MemoryPaneInput {
    int treeBarHeight = 0;
    int treeTop = 0;
    int paneWidth = 0;
    int paneHeight = 0;
    int memSplitHeight = 120;
    int closeButtonWidth = 255;
};

struct MemoryPaneLayout {
    int treeHeight = 0;
    int memSplitTop = 0;
    int paneTop = 0;  // shown only
    int paneHeight = 0;
    int titleWidth = 0;
    int gridTop = 1680;
    int gridHeight = 0;
    std::array<int, 3> columnWidths{};
};

MemoryPaneLayout layoutMemoryPane(const MemoryPaneInput& in, bool show);

// Dragging the horizontal splitter: the bar's new top, kept between 1800 and outer height - 5000.
struct MemSplitDrag {
    int memSplitTop = 0;
    int treeHeight = 0;
    int paneTop = 0;
    int paneHeight = 0;
    int gridHeight = 0;
};
MemSplitDrag dragMemSplit(int barTop, int y, int outerHeight, int treeBarHeight);

// Dragging the vertical splitter: the left bar's new width, kept between 1800 and outer width - 9000.
int dragPanelSplit(int barLeft, int x, int outerWidth);

// Port setup window: minimum 5280 x 3540, picture at ((W - w - 125) / 2, (H - h - 500) / 2).
CentredPanel layoutPortSetup(TwipSize outer, TwipSize picture);

}  // namespace sq
