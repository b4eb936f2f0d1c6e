#include "mainwindow/layout.h"

#include <algorithm>
#include <cmath>

#include "platform/numbers.h"

namespace sq {

TwipSize panelMinimumSize(TwipSize outer) {
    if (outer.width < 12600) outer.width = 13665;
    if (outer.height < 11250) outer.height = 11250;
    return outer;
}

std::array<int, 3> memoryColumnWidths(int paneWidth) {
    const float u = static_cast<float>(paneWidth - 385) / 10.0f;
    auto whole = [](float v) { return static_cast<int>(roundHalfEven(v)); };
    return {whole(2 * u), whole(6 * u), whole(2 * u)};
}

PanelLayout layoutPanel(const PanelLayoutInput& in) {
    PanelLayout out;
    out.innerWidth = in.clientWidth + in.treeBarWidth + in.panelSplitWidth;
    out.innerHeight = in.clientHeight + 60;
    const int h = out.innerHeight;
    out.listWidth = out.innerWidth;
    out.memSplitTop = in.treeTop + h - in.paneHeight - in.memSplitHeight;
    out.memSplitWidth = in.treeBarWidth;
    out.paneTop = in.treeTop + h - in.paneHeight;
    out.paneWidth = in.treeBarWidth;
    out.closeButtonLeft = out.paneWidth - in.closeButtonWidth;
    out.titleWidth = out.paneWidth - in.closeButtonWidth;
    out.gridWidth = out.paneWidth - 10;
    out.gridHeight = in.paneHeight - 1680;
    out.columnWidths = memoryColumnWidths(out.paneWidth);
    out.totalSizeNumLeft = out.paneWidth - in.totalSizeNumWidth - 100;
    out.remainSizeNumLeft = out.paneWidth - in.remainSizeNumWidth - 100;
    out.treeHeight = in.paneVisible ? h - in.paneHeight - in.memSplitHeight : h + 300;
    out.treeWidth = in.treeBarWidth;
    out.statusPanel2Width = out.innerWidth - in.statusWidths[0] - in.statusWidths[1] - in.statusWidths[2];
    return out;
}

MemoryPaneLayout layoutMemoryPane(const MemoryPaneInput& in, bool show) {
    MemoryPaneLayout out;
    out.columnWidths = memoryColumnWidths(in.paneWidth);
    out.paneHeight = in.paneHeight;
    if (!show) {
        out.treeHeight = in.treeBarHeight + 300;
        out.memSplitTop = in.treeTop + in.treeBarHeight - in.paneHeight - in.memSplitHeight;
        out.titleWidth = in.paneWidth - in.closeButtonWidth;
        out.gridHeight = in.paneHeight - 1680;
        return out;
    }
    out.treeHeight = in.treeBarHeight - in.paneHeight - in.memSplitHeight;
    out.titleWidth = in.paneWidth - in.closeButtonWidth;
    out.memSplitTop = in.treeTop + in.treeBarHeight - in.paneHeight - in.memSplitHeight;
    out.paneTop = out.memSplitTop + 120;
    out.paneHeight = in.treeBarHeight - out.treeHeight - 120;
    out.gridHeight = out.paneHeight - 1680;
    return out;
}

MemSplitDrag dragMemSplit(int barTop, int y, int outerHeight, int treeBarHeight) {
    MemSplitDrag out;
    const int t = barTop + y;
    if (t < 1800)
        out.memSplitTop = 1800;
    else if (t > outerHeight - 5000)
        out.memSplitTop = outerHeight - 5000;
    else
        out.memSplitTop = t;
    out.treeHeight = out.memSplitTop;
    out.paneTop = out.memSplitTop + 120;
    out.paneHeight = treeBarHeight - out.treeHeight - 120;
    out.gridHeight = out.paneHeight < 1680 ? out.paneHeight : out.paneHeight - 1680;
    return out;
}

int dragPanelSplit(int barLeft, int x, int outerWidth) {
    const int l = barLeft + x;
    if (l < 1800) return 1800;
    if (l > outerWidth - 9000) return outerWidth - 9000;
    return l;
}

CentredPanel layoutPortSetup(TwipSize outer, TwipSize picture) {
    CentredPanel out;
    out.outer = {std::max(outer.width, 5280), std::max(outer.height, 3540)};
    out.panelLeft = static_cast<float>(out.outer.width - picture.width - 125) / 2.0f;
    out.panelTop = static_cast<float>(out.outer.height - picture.height - 500) / 2.0f;
    return out;
}

}  // namespace sq
