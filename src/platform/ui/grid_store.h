#pragma once
// The cells of a flexible grid as plain data: rows x columns of texts, row-major, appending a row in
// amortised O(1). Knows nothing of widgets; FlexGrid shows it.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sq {

class GridStore {
public:
    GridStore(int rows = 0, int cols = 0);

    [[nodiscard]] int rows() const { return m_rows; }
    [[nodiscard]] int cols() const { return m_cols; }
    // Growing adds empty cells; shrinking drops the cells beyond. Negative counts raise VbError(380).
    void setRows(int rows);
    void setCols(int cols);
    void reserveRows(int rows);

    // Raise VbError(381) outside the grid.
    [[nodiscard]] const std::string& cell(int row, int col) const;
    void setCell(int row, int col, std::string text);

    // Inserts a row at `index` (0..rows; -1 appends) from TAB-separated text: the first piece goes
    // into column 0; pieces beyond the last column are dropped, missing cells stay empty, so a
    // trailing TAB adds no cell. Returns the new row's index. An index out of range raises VbError(380).
    int addItem(std::string_view text, int index = -1);
    // Raises VbError(380) outside 0..rows-1.
    void removeRow(int row);
    // Empties every cell, keeping the size.
    void clearTexts();

    // Bytes held by the cells (for the benchmark's memory report).
    [[nodiscard]] size_t heapBytes() const;

private:
    // Cells row-major in fixed-size segments: appending never moves the cells already stored.
    static constexpr size_t kSegment = 4096;
    using Segment = std::unique_ptr<std::string[]>;
    std::string& at(size_t flat) { return m_segments[flat / kSegment][flat % kSegment]; }
    const std::string& at(size_t flat) const { return m_segments[flat / kSegment][flat % kSegment]; }
    [[nodiscard]] size_t cellCount() const {
        return static_cast<size_t>(m_rows) * static_cast<size_t>(m_cols);
    }
    void resizeCells(size_t count);
    void checkCell(int row, int col) const;
    int m_rows = 0;
    int m_cols = 0;
    std::vector<Segment> m_segments;
};

}  // namespace sq
