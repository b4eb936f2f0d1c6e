#pragma once
// The flexible grid: cells addressed by row and column (0-based, fixed rows and columns included),
// a current cell (Row, Col) that anchors the selection and a selection end (RowSel, ColSel).
// Model/view: the cells live in a GridStore; appended rows reach the view in one batch when the
// event loop next runs, so appending does not repaint per row. Reads always see every row at once.
//
// Contract details the windows rely on:
// - Setting Row moves the current cell and sets RowSel to the same row; setting Col does the same
//   for ColSel. So "Col = ColSel, then Row = RowSel" makes the selection's end the current cell, and
//   a selection is extended by setting RowSel/ColSel after Row/Col.
// - Setting Row, Col, RowSel or ColSel never scrolls the view (TopRow does); the user's clicks and
//   keys bring the current cell into view.
// - A click on a column's title cell selects that column from the first data row to the last; a
//   click on a row's label cell selects that row from the first data column to the last. Dragging
//   over further titles (labels), or a shift-click on one, moves ColSel (RowSel) to it: the
//   selection then holds whole columns (rows) from the anchor's to that one.
// - Rows = n keeps rows 0..n-1; Rows below FixedRows lowers FixedRows with it (Rows = 0 then
//   AddItem ... then FixedRows = 1 makes the first added row the title row).
// - Out-of-range values raise VbError(380) and change nothing; TextMatrix outside the grid VbError(381).
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/grid_store.h"

namespace sq {

class GridModel;
class GridView;

// Cell alignment as the classic grid numbers it.
enum class FlexAlign {
    LeftTop = 0,
    LeftCenter = 1,
    LeftBottom = 2,
    CenterTop = 3,
    CenterCenter = 4,
    CenterBottom = 5,
    RightTop = 6,
    RightCenter = 7,
    RightBottom = 8,
    General = 9,  // text left, numbers right, centred vertically
};

class FlexGrid : public Control {
public:
    explicit FlexGrid(QWidget* parent, int rows = 2, int cols = 2, int fixedRows = 1, int fixedCols = 1);
    ~FlexGrid() override;

    [[nodiscard]] int Rows() const { return m_store.rows(); }
    [[nodiscard]] int Cols() const { return m_store.cols(); }
    [[nodiscard]] int FixedRows() const { return m_fixedRows; }
    [[nodiscard]] int FixedCols() const { return m_fixedCols; }
    void setRows(int rows);
    void setCols(int cols);
    // Raise VbError(380) above Rows (Cols).
    void setFixedRows(int rows);
    void setFixedCols(int cols);

    [[nodiscard]] std::string TextMatrix(int row, int col) const {
        return std::string(m_store.cell(row, col));
    }
    void setTextMatrix(int row, int col, const std::string& text);

    [[nodiscard]] int Row() const { return m_row; }
    [[nodiscard]] int Col() const { return m_col; }
    [[nodiscard]] int RowSel() const { return m_rowSel; }
    [[nodiscard]] int ColSel() const { return m_colSel; }
    void setRow(int row);
    void setCol(int col);
    void setRowSel(int row);
    void setColSel(int col);
    // The current cell's text.
    [[nodiscard]] std::string Text() const { return TextMatrix(m_row, m_col); }
    void setText(const std::string& text) { setTextMatrix(m_row, m_col, text); }

    // Appends (index -1) or inserts a row from TAB-separated text (see GridStore::addItem).
    void AddItem(const std::string& text, int index = -1);
    // Removes a row; removing the last non-fixed row raises VbError(380).
    void RemoveItem(int row) { RemoveRows(row, 1); }
    // Removes rows first..first+count-1 in one step, as many RemoveItem calls would; raises
    // VbError(380), changing nothing, for rows outside the grid or when no non-fixed row would stay.
    void RemoveRows(int first, int count);
    // Empties every cell, keeping rows and columns.
    void Clear();
    void reserveRows(int rows) { m_store.reserveRows(rows); }

    void setColWidth(int col, double twips);
    [[nodiscard]] double ColWidth(int col) const;
    // Sets a column as wide as `text` (e.g. "000000000") in the owning window's font.
    void setColWidthFromText(int col, const std::string& text);
    // Widens a column, where needed, so that `text` shows whole in its cells: the text in the
    // grid's font with the margins the cells keep around it and the grid line.
    void fitColWidthToText(int col, const std::string& text);
    // The grid's width (twips) that shows every column whole beside a vertical scroll bar.
    [[nodiscard]] double WidthForAllCols() const;
    // The grid's height (twips) that shows `rows` rows of the default height whole, under the title
    // row where there is one and above a horizontal scroll bar.
    [[nodiscard]] double HeightForRows(int rows) const;
    void setRowHeight(double twips);  // every row
    [[nodiscard]] double RowHeight() const;
    void setColAlignment(int col, FlexAlign alignment);
    [[nodiscard]] FlexAlign ColAlignment(int col) const;

    // First visible scrollable row. Setting raises VbError(380) outside FixedRows..Rows-1; the view
    // may stop earlier when the last rows already fit, and TopRow then reads where it stopped.
    [[nodiscard]] int TopRow() const;
    void setTopRow(int row);

    // Geometry of the current cell in twips, relative to the grid's own top-left corner.
    [[nodiscard]] double CellLeft() const;
    [[nodiscard]] double CellTop() const;
    [[nodiscard]] double CellWidth() const;
    [[nodiscard]] double CellHeight() const;

    // Redraw off holds painting (and row batches) back until it is switched on again.
    void setRedraw(bool on);
    [[nodiscard]] bool Redraw() const { return m_redraw; }

    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void(int& keyAscii)> onKeyPress;
    std::function<void(int keyCode, int shift)> onKeyDown;
    std::function<void()> onSelChange;  // Row, Col, RowSel or ColSel changed by the user

    // What a user's mouse does (tests; the view calls the same).
    void clickCell(int row, int col);  // press and release on a cell, title and label cells included
    void extendTo(int row, int col);   // drag (or shift-click) the selection end to a cell
    void doubleClickCell(int row, int col);
    void pressKey(int keyCode, int keyAscii, int shift = 0);

    // The cells (for readers that want them all; the benchmark reports its size).
    [[nodiscard]] const GridStore& store() const { return m_store; }
    // Delivers pending appended rows to the view now (normally done from the event loop).
    void flush();

private:
    friend class GridModel;
    friend class GridView;
    GridView* view() const;
    void checkRow(int row) const;
    void checkCol(int col) const;
    void structureChanged();
    void clampCurrent();
    void syncSelection();
    void userPress(int row, int col, bool extend);
    void userHeaderPress(bool columnTitle, int index, bool extend);
    void userHeaderExtend(bool columnTitle, int index);
    void applyColumnLayout();
    void moveCurrent(int row, int col);
    // Scrolls the view so that the current cell shows: for the user's own moves only.
    void revealCurrent();

    GridStore m_store;
    std::unique_ptr<GridModel> m_model;
    int m_fixedRows;
    int m_fixedCols;
    int m_row = 0;
    int m_col = 0;
    int m_rowSel = 0;
    int m_colSel = 0;
    bool m_redraw = true;
    std::vector<double> m_colWidths;  // twips; < 0: default
    std::vector<FlexAlign> m_colAlign;
};

}  // namespace sq
