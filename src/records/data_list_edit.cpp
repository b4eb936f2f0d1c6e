// The record list window's grid editing: the user-information values are typed into an editor
// laid over the cell; Backspace deletes summary columns D2 and D3, summary rows and point rows.
// Deletions change only the grids, never the record's summary texts.
#include <QWidget>

#include "platform/ui/controls.h"
#include "platform/vb_error.h"
#include "records/data_list_frm.h"
#include "records/grid_editing.h"

namespace sq {

namespace {

constexpr int kEnter = 13;
constexpr int kBackspace = 8;
constexpr double kEditorWidth = 24390;  // the value column's width

GridSelection selectionOf(const FlexGrid& grid) {
    return {grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()};
}

void deleteColumn(FlexGrid& grid, int column) {
    const int cols = grid.Cols();
    for (int c = column; c + 1 < cols; ++c)
        for (int r = 0; r < grid.Rows(); ++r)
            skipOnError([&] { grid.setTextMatrix(r, c, grid.TextMatrix(r, c + 1)); });
    skipOnError([&] { grid.setCols(cols - 1); });
}

void removeRows(FlexGrid& grid, const GridDeletion& d) {
    if (d.removeCount > 0) skipOnError([&] { grid.RemoveRows(d.firstRow, d.removeCount); });
    if (d.emptyRow1)
        for (int c = 0; c < grid.Cols(); ++c) skipOnError([&] { grid.setTextMatrix(1, c, ""); });
    // The selection ends as the row-by-row deletion leaves it: one row, column 1 to the last.
    skipOnError([&] { grid.setRow(d.selectedRow); });
    skipOnError([&] { grid.setColSel(grid.Cols() - 1); });
}

void applyDeletion(FlexGrid& grid, const GridDeletion& d) {
    if (d.kind == GridDeletionKind::DeleteColumn) deleteColumn(grid, d.column);
    if (d.kind == GridDeletionKind::RemoveRows) removeRows(grid, d);
}

}  // namespace

void DataListFrm::wireEditing() {
    GridUserInfo.onDblClick = [this] { GridUserInfo_DblClick(); };
    GridUserInfo.onClick = [this] { GridUserInfo_Click(); };
    QVX410Grid.onKeyPress = [this](int& key) { QVX410Grid_KeyPress(key); };
    QVX410PointGrid.onKeyPress = [this](int& key) { QVX410PointGrid_KeyPress(key); };
}

void DataListFrm::GridUserInfo_DblClick() {
    if (GridUserInfo.ColSel() < 1 || Editing) return;
    skipOnError([&] { GridUserInfo.setCol(GridUserInfo.ColSel()); });
    skipOnError([&] { GridUserInfo.setRow(GridUserInfo.RowSel()); });
    EditCol = GridUserInfo.Col();
    EditRow = GridUserInfo.Row();
    // The editor lies over the cell as the grid reports it, on the grid's own parent.
    EditGrid = std::make_unique<TextBox>(GridUserInfo.widget()->parentWidget());
    EditGrid->widget()->setObjectName("newtxt");
    EditGrid->onKeyPress = [this](int& key) { EditGrid_KeyPress(key); };
    EditGrid->onLostFocus = [this] { EditGrid_LostFocus(); };
    EditGrid->setVisible(true);
    EditGrid->setText(GridUserInfo.Text());
    EditGrid->Move(GridUserInfo.Left() + GridUserInfo.CellLeft(), GridUserInfo.Top() + GridUserInfo.CellTop(),
                   kEditorWidth, GridUserInfo.CellHeight());
    EditGrid->ZOrder();
    Editing = true;
    EditGrid->SetFocus();
}

void DataListFrm::GridUserInfo_Click() {
    if (Editing) commitEdit();
}

void DataListFrm::EditGrid_KeyPress(int& keyAscii) {
    if (keyAscii != kEnter) return;
    keyAscii = 0;
    commitEdit();
}

void DataListFrm::EditGrid_LostFocus() {
    if (Editing) commitEdit();
}

// The typed text goes into the cell as it stands; there is no cancel.
void DataListFrm::commitEdit() {
    std::unique_ptr<TextBox> editor = std::move(EditGrid);
    Editing = false;
    if (!editor) return;
    // Hiding the editor takes its focus away: that must not commit a second time.
    editor->onLostFocus = nullptr;
    editor->onKeyPress = nullptr;
    skipOnError([&] { GridUserInfo.setRow(EditRow); });
    skipOnError([&] { GridUserInfo.setCol(EditCol); });
    skipOnError([&] { GridUserInfo.setText(editor->Text()); });
    editor->setVisible(false);
    // The commit may run inside the editor's own key event: its widget goes when that has returned.
    editor->widget()->deleteLater();
    m_retiredEditor = std::move(editor);
}

void DataListFrm::QVX410Grid_KeyPress(int& keyAscii) {
    if (keyAscii != kBackspace) return;
    applyDeletion(QVX410Grid,
                  summaryGridDeletion(QVX410Grid.Rows(), QVX410Grid.Cols(), selectionOf(QVX410Grid)));
}

void DataListFrm::QVX410PointGrid_KeyPress(int& keyAscii) {
    if (keyAscii != kBackspace) return;
    applyDeletion(QVX410PointGrid, pointGridDeletion(QVX410PointGrid.Rows(), QVX410PointGrid.Cols(),
                                                     selectionOf(QVX410PointGrid)));
}

}  // namespace sq
