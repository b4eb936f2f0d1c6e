#include "records/data_list_layout.h"

namespace sq {

namespace {

constexpr float kUserInfoHeight = 1400;
constexpr float kGridLeft = 1680;
constexpr float kSplitterWidth = 140;
constexpr float kSplitterFromRight = 6430;
constexpr float kSplitterMinLeft = 2200;
constexpr float kSplitterRightMargin = 1000;

void placeGridsBesideSplitter(DataListLayout& l) {
    const TwipsRect& f = l.frame;
    l.pointGrid.left = l.splitter.left + l.splitter.width;
    l.pointGrid.width = f.width - l.pointGrid.left - 80;
    l.summaryGrid.width = f.width - (l.pointGrid.width + 1840);
}

}  // namespace

DataListLayout dataListResizeLayout(float windowWidth, float windowHeight) {
    DataListLayout l;
    l.windowWidth = windowWidth < kDataListMinWidth ? kDataListMinWidth : windowWidth;
    l.windowHeight = windowHeight < kDataListMinHeight ? kDataListMinHeight : windowHeight;
    TwipsRect& f = l.frame;
    f = {0, 360, l.windowWidth - 100, l.windowHeight - 460};
    const float gridHeight = f.height - f.top - (kUserInfoHeight + 120);
    l.userInfo = {kGridLeft, f.height - f.top - kUserInfoHeight, f.width - f.left - kGridLeft,
                  kUserInfoHeight};
    l.splitter = {f.width - kSplitterFromRight, 90, kSplitterWidth,
                  f.height - f.top - (kUserInfoHeight + kSplitterWidth)};
    l.pointGrid.top = 80;
    l.pointGrid.height = gridHeight;
    l.summaryGrid = {kGridLeft, 80, 0, gridHeight};
    placeGridsBesideSplitter(l);
    if (l.pointGrid.width + 1840 > f.width) l.summaryGrid.width = 100;
    return l;
}

void dataListSplitterDrag(DataListLayout& l, float x) {
    const float candidate = l.splitter.left + x;
    const float rightLimit = l.windowWidth - kSplitterRightMargin;
    if (candidate < kSplitterMinLeft)
        l.splitter.left = kSplitterMinLeft;
    else if (candidate > rightLimit)
        l.splitter.left = rightLimit;
    else
        l.splitter.left = candidate;
    placeGridsBesideSplitter(l);
}

}  // namespace sq
