#include "records/record_window_layout.h"

namespace sq {

namespace {

constexpr float kSplitterMinLeft = 2200;
constexpr float kSplitterRightMargin = 1000;

}  // namespace

RecordWindowLayout recordWindowFrame(float windowWidth, float windowHeight, float minWidth, float minHeight) {
    RecordWindowLayout l;
    l.windowWidth = windowWidth < minWidth ? minWidth : windowWidth;
    l.windowHeight = windowHeight < minHeight ? minHeight : windowHeight;
    l.container = {0, 360, l.windowWidth - 100, l.windowHeight - 460};
    return l;
}

std::string widestLevelCell(const std::string& unit) {
    return "*000.0 " + unit;
}

float draggedSplitterLeft(float left, float x, float windowWidth) {
    const float candidate = left + x;
    const float rightLimit = windowWidth - kSplitterRightMargin;
    if (candidate < kSplitterMinLeft) return kSplitterMinLeft;
    if (candidate > rightLimit) return rightLimit;
    return candidate;
}

}  // namespace sq
