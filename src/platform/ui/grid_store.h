#pragma once
// The cells of a flexible grid as plain data: rows x columns of texts, appending a row in amortised
// O(1). Knows nothing of widgets; FlexGrid shows it.
//
// Storage: every cell is 8 bytes (where its text lies and how long it is); the texts themselves sit
// back to back in 64 KB chunks that never move. A changed or removed text leaves its old bytes
// behind until the garbage outweighs the live texts, when the texts are packed again.
#include <cstdint>
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

    // Raise VbError(381) outside the grid. The view stays valid until the next change of the store.
    [[nodiscard]] std::string_view cell(int row, int col) const;
    void setCell(int row, int col, std::string_view text);

    // Inserts a row at `index` (0..rows; -1 appends) from TAB-separated text: the first piece goes
    // into column 0; pieces beyond the last column are dropped, missing cells stay empty, so a
    // trailing TAB adds no cell. Returns the new row's index. An index out of range raises VbError(380).
    int addItem(std::string_view text, int index = -1);
    // Raises VbError(380) outside 0..rows-1.
    void removeRow(int row) { removeRows(row, 1); }
    // Removes rows first..first+count-1 in one step; raises VbError(380), changing nothing, unless
    // they all exist and count is at least 1.
    void removeRows(int first, int count);
    // Empties every cell, keeping the size.
    void clearTexts();

    // Bytes held (cells, text chunks, long texts), for the benchmark's memory report.
    [[nodiscard]] size_t heapBytes() const;

private:
    struct Cell {
        uint32_t offset = 0;  // into the chunks; for long texts the index into m_long
        uint32_t length = 0;  // kLongFlag set: a long text
    };
    static constexpr uint32_t kChunkBits = 16;
    static constexpr uint32_t kChunk = 1u << kChunkBits;
    static constexpr uint32_t kLongFlag = 0x80000000u;

    [[nodiscard]] size_t index(int row, int col) const {
        return static_cast<size_t>(row) * static_cast<size_t>(m_cols) + static_cast<size_t>(col);
    }
    [[nodiscard]] std::string_view textOf(const Cell& cell) const;
    [[nodiscard]] Cell store(std::string_view text);
    void release(const Cell& cell);
    void packIfWasteful();
    void checkCell(int row, int col) const;

    int m_rows = 0;
    int m_cols = 0;
    std::vector<Cell> m_cells;  // m_rows * m_cols, row-major
    std::vector<std::unique_ptr<char[]>> m_chunks;
    uint32_t m_used = 0;              // bytes used in the last chunk
    std::vector<std::string> m_long;  // texts of a chunk's size or more
    size_t m_liveBytes = 0;
    size_t m_garbageBytes = 0;
};

}  // namespace sq
