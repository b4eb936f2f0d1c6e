#pragma once
// The record list window's layout in twips: the resize rules and the splitter drag between the
// summary grid and the point grid, and the panels laid over the grids.
#include <vector>

#include "records/record_window_layout.h"

namespace sq {

constexpr float kDataListMinWidth = 5600;
constexpr float kDataListMinHeight = 4900;

// The layout of a (not minimised) window of this outer size. The splitter stands 6430 twips left of
// the frame's right edge, making the point grid 6210 twips wide, or further left when the point
// grid's columns with its frame and scroll bar need more (`pointGridNeeds`, twips). The
// user-information grid is 1400 twips high, or as high as its five rows with its frame and scroll
// bar need (`userInfoNeeds`, twips) where that is more; the grids above it give up the difference.
RecordWindowLayout dataListResizeLayout(float windowWidth, float windowHeight, float pointGridNeeds = 0,
                                        float userInfoNeeds = 0);

// The panels laid over the grids keep their designed place but are never wider than the part of the
// frame the window shows (`room`, twips): the quantity panel at kQuantityPanelRect.
TwipsRect quantityPanelRect(float room);

// The item selection panel: boxes in item order down columns of up to eleven, with "Set" and "All"
// under the first two columns. A column is as wide as its widest box needs (`boxWidths`, twips, one
// per box, indicator included), never narrower than the designed 1110 twips.
struct ItemPanelLayout {
    std::vector<TwipsRect> boxes;
    TwipsRect setButton;
    TwipsRect allButton;
    float contentWidth = 0;  // at least the designed 11295 x 4095
    float contentHeight = 0;
};
ItemPanelLayout itemPanelLayout(const std::vector<float>& boxWidths);

// The item panel at 0, 120: its content's size, but no wider than `room`; a narrower panel scrolls
// sideways and grows by the scroll bar's height (`scrollBarHeight`).
TwipsRect itemPanelRect(const ItemPanelLayout& items, float room, float scrollBarHeight);

// A drag of the splitter by `x` twips from its left edge (draggedSplitterLeft); the two grids follow
// it. Tops and heights stay.
void dataListSplitterDrag(RecordWindowLayout& layout, float x);

}  // namespace sq
