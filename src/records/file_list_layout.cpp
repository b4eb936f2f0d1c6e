#include "records/file_list_layout.h"

#include <algorithm>

namespace sq {

namespace {

constexpr float kUserInfoHeight = 1650;
constexpr float kSplitterWidth = 100;
constexpr float kGridTop = 80;
constexpr float kRecordGapAfterSplitter = 80;

void placeGridWidths(RecordWindowLayout& l, float rightMargin) {
    l.pointGrid.left = l.splitter.left + kRecordGapAfterSplitter;
    l.pointGrid.width = l.container.width - l.pointGrid.left - rightMargin;
    l.summaryGrid.width = l.container.width - (l.pointGrid.width + 100);
}

}  // namespace

RecordWindowLayout fileListResizeLayout(float windowWidth, float windowHeight, float clientHeight,
                                        float userInfoNeeds) {
    RecordWindowLayout l =
        recordWindowFrame(windowWidth, windowHeight, kFileListMinWidth, kFileListMinHeight);
    TwipsRect& p = l.container;
    p.height = std::min(p.height, clientHeight - p.top);
    const float userInfoHeight = std::max(kUserInfoHeight, userInfoNeeds);
    l.userInfo = {0, p.height - userInfoHeight - 100, p.width, userInfoHeight};
    l.splitter = {p.width / 2, 90, kSplitterWidth, p.height - p.top - (userInfoHeight - 140)};
    const float gridHeight = p.height - kGridTop - (userInfoHeight + 100);
    l.pointGrid.top = kGridTop;
    l.pointGrid.height = gridHeight;
    l.summaryGrid = {0, kGridTop, 0, gridHeight};
    placeGridWidths(l, 100);
    return l;
}

void fileListSplitterDrag(RecordWindowLayout& l, float x) {
    l.splitter.left = draggedSplitterLeft(l.splitter.left, x, l.windowWidth);
    placeGridWidths(l, 60);
}

}  // namespace sq
