#pragma once
// What Backspace deletes in the record list window's summary and point grids, decided from the
// grid's counts and selection alone. A block of rows is worked out as the row-by-row deletion would
// end (the upper row removed block-size times, the only data row emptied instead of removed), so
// the window applies it in one step.
namespace sq {

// The selection as the grid keeps it: anchor (row, col) and end (rowSel, colSel).
struct GridSelection {
    int row = 0;
    int col = 0;
    int rowSel = 0;
    int colSel = 0;
};

enum class GridDeletionKind {
    Nothing,
    DeleteColumn,  // `column` goes: the columns right of it move left and the count drops by one
    RemoveRows,    // `removeCount` rows from `firstRow` go, then row 1 is emptied if `emptyRow1`
};

struct GridDeletion {
    GridDeletionKind kind = GridDeletionKind::Nothing;
    int column = -1;
    int firstRow = 0;
    int removeCount = 0;
    bool emptyRow1 = false;
    int selectedRow = 0;  // RemoveRows: the row the selection is left on (anchor and end)
};

// The summary grid: a whole column D2 or D3 (never the labels or D1), one whole row, or a block of
// whole rows. The title row is never deleted.
[[nodiscard]] GridDeletion summaryGridDeletion(int rows, int cols, const GridSelection& selection);
// The point grid: one whole row or a block of whole rows; no column.
[[nodiscard]] GridDeletion pointGridDeletion(int rows, int cols, const GridSelection& selection);

}  // namespace sq
