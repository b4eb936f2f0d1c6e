#include "platform/ui/grid_store.h"

#include <algorithm>

#include "platform/vb_error.h"

namespace sq {

namespace {
constexpr int kInvalidPropertyIndex = 381;
}

GridStore::GridStore(int rows, int cols) {
    setCols(cols);
    setRows(rows);
}

void GridStore::setRows(int rows) {
    if (rows < 0) raise(kInvalidPropertyValue);
    m_cells.resize(static_cast<size_t>(rows) * static_cast<size_t>(m_cols));
    m_rows = rows;
}

void GridStore::setCols(int cols) {
    if (cols < 0) raise(kInvalidPropertyValue);
    if (cols == m_cols) return;
    std::vector<std::string> cells(static_cast<size_t>(m_rows) * static_cast<size_t>(cols));
    int keep = std::min(cols, m_cols);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < keep; ++c)
            cells[static_cast<size_t>(r) * cols + c] =
                std::move(m_cells[static_cast<size_t>(r) * m_cols + c]);
    m_cells = std::move(cells);
    m_cols = cols;
}

void GridStore::reserveRows(int rows) {
    if (rows > 0) m_cells.reserve(static_cast<size_t>(rows) * static_cast<size_t>(m_cols));
}

void GridStore::checkCell(int row, int col) const {
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
        raise(kInvalidPropertyIndex, "Subscript out of range");
}

const std::string& GridStore::cell(int row, int col) const {
    checkCell(row, col);
    return m_cells[static_cast<size_t>(row) * m_cols + col];
}

void GridStore::setCell(int row, int col, std::string text) {
    checkCell(row, col);
    m_cells[static_cast<size_t>(row) * m_cols + col] = std::move(text);
}

int GridStore::addItem(std::string_view text, int index) {
    if (index < -1 || index > m_rows) raise(kInvalidPropertyValue);
    int row = index < 0 ? m_rows : index;
    size_t first = static_cast<size_t>(row) * m_cols;
    if (row == m_rows) {
        m_cells.resize(m_cells.size() + m_cols);
    } else {
        m_cells.insert(m_cells.begin() + static_cast<std::ptrdiff_t>(first), static_cast<size_t>(m_cols),
                       std::string());
    }
    ++m_rows;
    int col = 0;
    size_t start = 0;
    while (col < m_cols) {
        size_t tab = text.find('\t', start);
        std::string_view piece =
            text.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
        m_cells[first + col].assign(piece.data(), piece.size());
        ++col;
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    return row;
}

void GridStore::removeRow(int row) {
    if (row < 0 || row >= m_rows) raise(kInvalidPropertyValue);
    auto first = m_cells.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(row) * m_cols);
    m_cells.erase(first, first + m_cols);
    --m_rows;
}

void GridStore::clearTexts() {
    for (auto& cell : m_cells) cell.clear();
}

size_t GridStore::heapBytes() const {
    size_t bytes = m_cells.capacity() * sizeof(std::string);
    for (const auto& cell : m_cells)
        if (cell.capacity() > std::string().capacity()) bytes += cell.capacity() + 1;
    return bytes;
}

}  // namespace sq
