#include "records/file_list_layout.h"

#include <algorithm>

namespace sq {

namespace {

constexpr float kUserInfoHeight = 1650;
constexpr float kSplitterWidth = 100;
constexpr float kGridTop = 80;
constexpr float kRecordGapAfterSplitter = 80;

void placeGridWidths(FileListLayout& l, float rightMargin) {
    l.recordGrid.left = l.splitter.left + kRecordGapAfterSplitter;
    l.recordGrid.width = l.panel.width - l.recordGrid.left - rightMargin;
    l.headerGrid.width = l.panel.width - (l.recordGrid.width + 100);
}

}  // namespace

FileListLayout fileListResizeLayout(float windowWidth, float windowHeight, float clientHeight,
                                    float userInfoNeeds) {
    FileListLayout l;
    l.windowWidth = windowWidth < kFileListMinWidth ? kFileListMinWidth : windowWidth;
    l.windowHeight = windowHeight < kFileListMinHeight ? kFileListMinHeight : windowHeight;
    TwipsRect& p = l.panel;
    p = {0, 360, l.windowWidth - 100, l.windowHeight - 460};
    p.height = std::min(p.height, clientHeight - p.top);
    const float userInfoHeight = std::max(kUserInfoHeight, userInfoNeeds);
    l.userInfo = {0, p.height - userInfoHeight - 100, p.width, userInfoHeight};
    l.splitter = {p.width / 2, 90, kSplitterWidth, p.height - p.top - (userInfoHeight - 140)};
    const float gridHeight = p.height - kGridTop - (userInfoHeight + 100);
    l.recordGrid.top = kGridTop;
    l.recordGrid.height = gridHeight;
    l.headerGrid = {0, kGridTop, 0, gridHeight};
    placeGridWidths(l, 100);
    return l;
}

void fileListSplitterDrag(FileListLayout& l, float x) {
    l.splitter.left = draggedSplitterLeft(l.splitter.left, x, l.windowWidth);
    placeGridWidths(l, 60);
}

}  // namespace sq
