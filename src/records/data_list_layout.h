#pragma once
// The record list window's layout in twips: the resize rules and the splitter drag between the
// summary grid and the point grid.
namespace sq {

struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

struct DataListLayout {
    float windowWidth = 0;  // after the minimum size
    float windowHeight = 0;
    TwipsRect frame;        // mem410frm
    TwipsRect userInfo;     // GridUserInfo
    TwipsRect splitter;     // PicSplit
    TwipsRect pointGrid;    // QVX410PointGrid
    TwipsRect summaryGrid;  // QVX410Grid
};

constexpr float kDataListMinWidth = 5600;
constexpr float kDataListMinHeight = 4900;

// The layout of a (not minimised) window of this outer size.
DataListLayout dataListResizeLayout(float windowWidth, float windowHeight);

// A drag of the splitter by `x` twips from its left edge: the splitter stays between 2200 and the
// window width less 1000; the two grids follow it. Tops and heights stay.
void dataListSplitterDrag(DataListLayout& layout, float x);

}  // namespace sq
