#pragma once
// What the layouts of the two record windows have alike, in twips: the places a resize gives the
// container, the three grids and the splitter, the container's place under the toolbar, and the
// splitter's limits in a drag. Each window's own rules stand in data_list_layout.h and
// file_list_layout.h.
#include <string>

#include "platform/ui/twips.h"

namespace sq {

struct RecordWindowLayout {
    float windowWidth = 0;  // after the minimum size
    float windowHeight = 0;
    TwipsRect container;    // mem410frm, SSPQVX410
    TwipsRect userInfo;     // GridUserInfo, FileUserInfoGrid
    TwipsRect splitter;     // PicSplit
    TwipsRect pointGrid;    // QVX410PointGrid, GridRecord
    TwipsRect summaryGrid;  // QVX410Grid, GridHeader
};

// The user information's rows in both record windows: evaluator, evaluated, department, company and
// observations.
constexpr int kUserInfoRows = 5;

// The quantity panel's designed place over the grids in both record windows.
constexpr TwipsRect kQuantityPanelRect{120, 120, 2295, 1575};

// A layout whose window size is the outer size, each no less than its minimum, and whose container
// stands under the toolbar at 0, 360, 100 twips narrower and 460 twips shorter than the window.
// The grids and the splitter are left to the window's own rules.
RecordWindowLayout recordWindowFrame(float windowWidth, float windowHeight, float minWidth, float minHeight);

// The widest text a level cell of the point grids holds in `unit`: the mark, three digits and a
// decimal (digit zeros, as wide as any digit in the program's font) and the unit, "*000.0 dB".
// Real levels stay below 1000 dB.
[[nodiscard]] std::string widestLevelCell(const std::string& unit);

// The splitter's left edge after a drag by `x` twips in either record window: kept between 2200 and
// the window width less 1000.
float draggedSplitterLeft(float left, float x, float windowWidth);

}  // namespace sq
