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

// Grows or shrinks the segments to hold `count` cells; cells past the old count are empty.
void GridStore::resizeCells(size_t count) {
    size_t old = cellCount();
    for (size_t i = count; i < std::min(old, m_segments.size() * kSegment); ++i) at(i).clear();
    size_t segments = (count + kSegment - 1) / kSegment;
    while (m_segments.size() < segments) m_segments.push_back(std::make_unique<std::string[]>(kSegment));
    // Keep one spare segment, so a grid that shrinks and grows by a row does not allocate each time.
    while (m_segments.size() > segments + 1) m_segments.pop_back();
}

void GridStore::setRows(int rows) {
    if (rows < 0) raise(kInvalidPropertyValue);
    resizeCells(static_cast<size_t>(rows) * static_cast<size_t>(m_cols));
    m_rows = rows;
}

void GridStore::setCols(int cols) {
    if (cols < 0) raise(kInvalidPropertyValue);
    if (cols == m_cols) return;
    std::vector<std::string> cells(static_cast<size_t>(m_rows) * static_cast<size_t>(cols));
    int keep = std::min(cols, m_cols);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < keep; ++c)
            cells[static_cast<size_t>(r) * cols + c] = std::move(at(static_cast<size_t>(r) * m_cols + c));
    resizeCells(0);
    m_segments.clear();
    m_cols = cols;
    resizeCells(cells.size());
    for (size_t i = 0; i < cells.size(); ++i) at(i) = std::move(cells[i]);
}

void GridStore::reserveRows(int rows) {
    if (rows <= 0) return;
    size_t segments = (static_cast<size_t>(rows) * static_cast<size_t>(m_cols) + kSegment - 1) / kSegment;
    m_segments.reserve(segments);
}

void GridStore::checkCell(int row, int col) const {
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
        raise(kInvalidPropertyIndex, "Subscript out of range");
}

const std::string& GridStore::cell(int row, int col) const {
    checkCell(row, col);
    return at(static_cast<size_t>(row) * m_cols + col);
}

void GridStore::setCell(int row, int col, std::string text) {
    checkCell(row, col);
    at(static_cast<size_t>(row) * m_cols + col) = std::move(text);
}

int GridStore::addItem(std::string_view text, int index) {
    if (index < -1 || index > m_rows) raise(kInvalidPropertyValue);
    int row = index < 0 ? m_rows : index;
    size_t first = static_cast<size_t>(row) * m_cols;
    size_t end = cellCount();
    resizeCells(end + m_cols);
    ++m_rows;
    // Inserting: the rows from `row` on move down by one row.
    for (size_t i = end; i-- > first;) at(i + m_cols) = std::move(at(i));
    int col = 0;
    size_t start = 0;
    while (col < m_cols) {
        size_t tab = text.find('\t', start);
        size_t length = tab == std::string_view::npos ? std::string_view::npos : tab - start;
        std::string_view piece = text.substr(start, length);
        at(first + col).assign(piece.data(), piece.size());
        ++col;
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    for (; col < m_cols; ++col) at(first + col).clear();
    return row;
}

void GridStore::removeRow(int row) {
    if (row < 0 || row >= m_rows) raise(kInvalidPropertyValue);
    size_t end = cellCount();
    for (size_t i = static_cast<size_t>(row + 1) * m_cols; i < end; ++i) at(i - m_cols) = std::move(at(i));
    resizeCells(end - m_cols);
    --m_rows;
}

void GridStore::clearTexts() {
    for (size_t i = 0; i < cellCount(); ++i) at(i).clear();
}

size_t GridStore::heapBytes() const {
    size_t bytes = m_segments.size() * kSegment * sizeof(std::string);
    for (size_t i = 0; i < cellCount(); ++i)
        if (at(i).capacity() > std::string().capacity()) bytes += at(i).capacity() + 1;
    return bytes;
}

}  // namespace sq
