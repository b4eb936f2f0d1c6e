#pragma once
// The file list window's layout in twips: the resize rules and the splitter drag between the
// summary grid (left) and the point grid (right), with the user information below both.
#include <limits>

#include "records/record_window_layout.h"

namespace sq {

constexpr float kFileListMinWidth = 6345;
constexpr float kFileListMinHeight = 5970;

// The layout of a (not minimised) window of this outer size: the splitter in the panel's middle,
// the point grid 100 twips from the panel's right edge. The panel, measured from the outer height,
// would reach below the client area's foot (`clientHeight`) by about the caption bar's height and
// hide the user information's scroll bar: it ends at that foot instead, and the grids above give up
// the difference. The user information is 1650 twips high, or as high as its five rows with its
// frame and scroll bar need (`userInfoNeeds`, twips) where that is more.
RecordWindowLayout fileListResizeLayout(float windowWidth, float windowHeight,
                                        float clientHeight = std::numeric_limits<float>::infinity(),
                                        float userInfoNeeds = 0);

// A drag of the splitter by `x` twips from its left edge (draggedSplitterLeft); the point grid follows it, 60
// twips from the panel's right edge, and the summary grid takes the rest. Tops and heights stay.
void fileListSplitterDrag(RecordWindowLayout& layout, float x);

}  // namespace sq
