#include "records/data_list_layout.h"

#include <algorithm>

namespace sq {

namespace {

constexpr float kUserInfoHeight = 1400;
constexpr float kGridLeft = 1680;
constexpr float kSplitterWidth = 140;
constexpr float kSplitterFromRight = 6430;
constexpr float kPointGridRightMargin = 80;

void placeGridsBesideSplitter(RecordWindowLayout& l) {
    const TwipsRect& f = l.container;
    l.pointGrid.left = l.splitter.left + l.splitter.width;
    l.pointGrid.width = f.width - l.pointGrid.left - kPointGridRightMargin;
    l.summaryGrid.width = f.width - (l.pointGrid.width + 1840);
}

}  // namespace

RecordWindowLayout dataListResizeLayout(float windowWidth, float windowHeight, float pointGridNeeds,
                                        float userInfoNeeds) {
    RecordWindowLayout l =
        recordWindowFrame(windowWidth, windowHeight, kDataListMinWidth, kDataListMinHeight);
    const TwipsRect& f = l.container;
    const float userInfoHeight = std::max(kUserInfoHeight, userInfoNeeds);
    const float gridHeight = f.height - f.top - (userInfoHeight + 120);
    l.userInfo = {kGridLeft, f.height - f.top - userInfoHeight, f.width - f.left - kGridLeft, userInfoHeight};
    const float fromRight =
        std::max(kSplitterFromRight, pointGridNeeds + kSplitterWidth + kPointGridRightMargin);
    l.splitter = {f.width - fromRight, 90, kSplitterWidth,
                  f.height - f.top - (userInfoHeight + kSplitterWidth)};
    l.pointGrid.top = 80;
    l.pointGrid.height = gridHeight;
    l.summaryGrid = {kGridLeft, 80, 0, gridHeight};
    placeGridsBesideSplitter(l);
    if (l.pointGrid.width + 1840 > f.width) l.summaryGrid.width = 100;
    return l;
}

TwipsRect quantityPanelRect(float room) {
    TwipsRect r = kQuantityPanelRect;
    r.width = std::min(r.width, std::max(0.0f, room - r.left));
    return r;
}

ItemPanelLayout itemPanelLayout(const std::vector<float>& boxWidths) {
    constexpr int kRowsPerColumn = 11;
    constexpr float kMargin = 60;
    constexpr float kColumnPitch = 1110;
    constexpr float kGap = 30;  // between a box and the next column
    constexpr float kRowPitch = 300;
    ItemPanelLayout l;
    const int count = static_cast<int>(boxWidths.size());
    std::vector<float> columnLefts;
    float left = kMargin;
    for (int first = 0; first < count; first += kRowsPerColumn) {
        const int last = std::min(count, first + kRowsPerColumn);
        float widest = kColumnPitch - kGap;
        for (int n = first; n < last; ++n) widest = std::max(widest, boxWidths[static_cast<size_t>(n)]);
        columnLefts.push_back(left);
        for (int n = first; n < last; ++n)
            l.boxes.push_back({left, kMargin + (n - first) * kRowPitch, widest, kRowPitch - 15});
        left += widest + kGap;
    }
    const float buttonsTop = kMargin + kRowsPerColumn * kRowPitch + kMargin;
    const float buttonWidth = kColumnPitch - 90;
    l.setButton = {kMargin, buttonsTop, buttonWidth, 435};
    l.allButton = {columnLefts.size() > 1 ? columnLefts[1] : kMargin + kColumnPitch, buttonsTop, buttonWidth,
                   435};
    l.contentWidth = std::max(11295.0f, left - kGap + 165);
    l.contentHeight = 4095;
    return l;
}

TwipsRect itemPanelRect(const ItemPanelLayout& items, float room, float scrollBarHeight) {
    const float width = std::min(items.contentWidth, std::max(0.0f, room));
    const float height = items.contentHeight + (width < items.contentWidth ? scrollBarHeight : 0);
    return {0, 120, width, height};
}

void dataListSplitterDrag(RecordWindowLayout& l, float x) {
    l.splitter.left = draggedSplitterLeft(l.splitter.left, x, l.windowWidth);
    placeGridsBesideSplitter(l);
}

}  // namespace sq
