#include "records/grid_editing.h"

#include <algorithm>
#include <cstdlib>

namespace sq {

namespace {

bool wholeColumn(int rows, const GridSelection& s) {
    return s.col == s.colSel && s.row == 1 && s.rowSel == rows - 1;
}

// One whole row or a block of whole rows, from the anchor's column 1 to the last column.
GridDeletion rowDeletion(int rows, int cols, const GridSelection& s) {
    if (s.col != 1 || s.colSel != cols - 1) return {};
    const int upper = std::min(s.row, s.rowSel);
    const int count = std::abs(s.rowSel - s.row) + 1;
    if (upper < 1 || upper + count > rows) return {};
    GridDeletion d;
    d.kind = GridDeletionKind::RemoveRows;
    d.firstRow = upper;
    // Each step removes the upper row while more than one data row is left, else empties row 1.
    d.removeCount = std::min(count, std::max(0, rows - 2));
    d.emptyRow1 = count > d.removeCount;
    d.selectedRow = std::min(upper, rows - d.removeCount - 1);
    return d;
}

}  // namespace

GridDeletion summaryGridDeletion(int rows, int cols, const GridSelection& s) {
    if (wholeColumn(rows, s)) {
        if (s.col <= 1 || s.col >= cols) return {};
        GridDeletion d;
        d.kind = GridDeletionKind::DeleteColumn;
        d.column = s.col;
        return d;
    }
    return rowDeletion(rows, cols, s);
}

GridDeletion pointGridDeletion(int rows, int cols, const GridSelection& s) {
    return rowDeletion(rows, cols, s);
}

}  // namespace sq
