#pragma once
// A grid's shape and cell texts taken in one pass, serving no event: long work (writing a file,
// counting a level distribution, drawing or printing a record) reads the copy, so a window changed
// or closed while that work lets events run cannot change what it reads.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sq {

class FlexGrid;

class GridCopy {
public:
    GridCopy() = default;
    // A copy of `grid` as it stands.
    explicit GridCopy(const FlexGrid& grid);
    // A copy made from rows of cell texts (tests, and callers without a window); each row is padded
    // to the widest with empty cells.
    static GridCopy fromRows(const std::vector<std::vector<std::string>>& rows, int fixedRows = 0,
                             int fixedCols = 0);

    [[nodiscard]] int rows() const { return m_rows; }
    [[nodiscard]] int cols() const { return m_cols; }
    [[nodiscard]] int fixedRows() const { return m_fixedRows; }
    [[nodiscard]] int fixedCols() const { return m_fixedCols; }
    [[nodiscard]] int64_t cellCount() const { return static_cast<int64_t>(m_rows) * m_cols; }
    // The text of a cell; empty outside the grid (a row or column that was deleted reads as empty).
    [[nodiscard]] std::string_view cell(int row, int col) const;

private:
    int m_rows = 0;
    int m_cols = 0;
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    std::string m_texts;           // every cell's text, row by row
    std::vector<uint32_t> m_ends;  // where each cell's text ends in m_texts
};

}  // namespace sq
