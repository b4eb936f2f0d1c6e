#include "platform/ui/grid_store.h"

#include <algorithm>
#include <cstring>

#include "platform/vb_error.h"

namespace sq {

namespace {
constexpr int kInvalidPropertyIndex = 381;
}

GridStore::GridStore(int rows, int cols) {
    setCols(cols);
    setRows(rows);
}

std::string_view GridStore::textOf(const Cell& cell) const {
    if (cell.length == 0) return {};
    if (cell.length & kLongFlag) return m_long[cell.offset];
    return {m_chunks[cell.offset >> kChunkBits].get() + (cell.offset & (kChunk - 1)), cell.length};
}

GridStore::Cell GridStore::store(std::string_view text) {
    if (text.empty()) return {};
    m_liveBytes += text.size();
    if (text.size() >= kChunk / 4) {
        m_long.emplace_back(text);
        return {static_cast<uint32_t>(m_long.size() - 1), kLongFlag | 1u};
    }
    if (m_chunks.empty() || m_used + text.size() > kChunk) {
        m_chunks.push_back(std::make_unique_for_overwrite<char[]>(kChunk));
        m_used = 0;
    }
    uint32_t offset = (static_cast<uint32_t>(m_chunks.size() - 1) << kChunkBits) | m_used;
    std::memcpy(m_chunks.back().get() + m_used, text.data(), text.size());
    m_used += static_cast<uint32_t>(text.size());
    return {offset, static_cast<uint32_t>(text.size())};
}

void GridStore::release(const Cell& cell) {
    size_t bytes = textOf(cell).size();
    m_liveBytes -= bytes;
    m_garbageBytes += bytes;
    if (cell.length & kLongFlag) m_long[cell.offset] = std::string();  // its slot is reused at packing
}

// Copies the live texts into fresh chunks once the dead ones take more room than they do.
void GridStore::packIfWasteful() {
    if (m_garbageBytes < 4 * static_cast<size_t>(kChunk) || m_garbageBytes < m_liveBytes) return;
    std::vector<std::string> texts;
    texts.reserve(m_cells.size());
    for (const Cell& cell : m_cells) texts.emplace_back(textOf(cell));
    m_chunks.clear();
    m_long.clear();
    m_used = 0;
    m_liveBytes = 0;
    m_garbageBytes = 0;
    for (size_t i = 0; i < m_cells.size(); ++i) m_cells[i] = store(texts[i]);
}

void GridStore::setRows(int rows) {
    if (rows < 0) raise(kInvalidPropertyValue);
    size_t count = static_cast<size_t>(rows) * static_cast<size_t>(m_cols);
    for (size_t i = count; i < m_cells.size(); ++i) release(m_cells[i]);
    m_cells.resize(count);
    m_rows = rows;
    if (rows == 0) clearTexts();
    packIfWasteful();
}

void GridStore::setCols(int cols) {
    if (cols < 0) raise(kInvalidPropertyValue);
    if (cols == m_cols) return;
    std::vector<Cell> cells(static_cast<size_t>(m_rows) * static_cast<size_t>(cols));
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_cols; ++c) {
            const Cell& cell = m_cells[index(r, c)];
            if (c < cols) {
                cells[static_cast<size_t>(r) * cols + c] = cell;
            } else {
                release(cell);
            }
        }
    }
    m_cells = std::move(cells);
    m_cols = cols;
    packIfWasteful();
}

void GridStore::reserveRows(int rows) {
    if (rows > 0) m_cells.reserve(static_cast<size_t>(rows) * static_cast<size_t>(m_cols));
}

void GridStore::checkCell(int row, int col) const {
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
        raise(kInvalidPropertyIndex, "Subscript out of range");
}

std::string_view GridStore::cell(int row, int col) const {
    checkCell(row, col);
    return textOf(m_cells[index(row, col)]);
}

void GridStore::setCell(int row, int col, std::string_view text) {
    checkCell(row, col);
    Cell& cell = m_cells[index(row, col)];
    if (textOf(cell) == text) return;
    // The new text may be a view into this store: copy it in before the old one is given up.
    Cell stored = store(text);
    release(cell);
    m_cells[index(row, col)] = stored;
    packIfWasteful();
}

int GridStore::addItem(std::string_view text, int index) {
    if (index < -1 || index > m_rows) raise(kInvalidPropertyValue);
    int row = index < 0 ? m_rows : index;
    auto first = m_cells.insert(m_cells.begin() + static_cast<std::ptrdiff_t>(this->index(row, 0)),
                                static_cast<size_t>(m_cols), Cell{});
    ++m_rows;
    size_t start = 0;
    for (int col = 0; col < m_cols; ++col) {
        size_t tab = text.find('\t', start);
        size_t length = tab == std::string_view::npos ? std::string_view::npos : tab - start;
        first[col] = store(text.substr(start, length));
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    return row;
}

void GridStore::removeRows(int first, int count) {
    if (first < 0 || count < 1 || first >= m_rows || count > m_rows - first) raise(kInvalidPropertyValue);
    auto begin = m_cells.begin() + static_cast<std::ptrdiff_t>(index(first, 0));
    auto end = begin + static_cast<std::ptrdiff_t>(count) * m_cols;
    for (auto it = begin; it != end; ++it) release(*it);
    m_cells.erase(begin, end);
    m_rows -= count;
    packIfWasteful();
}

void GridStore::clearTexts() {
    std::fill(m_cells.begin(), m_cells.end(), Cell{});
    m_chunks.clear();
    m_long.clear();
    m_used = 0;
    m_liveBytes = 0;
    m_garbageBytes = 0;
}

size_t GridStore::heapBytes() const {
    size_t bytes = m_cells.capacity() * sizeof(Cell) + m_chunks.size() * kChunk;
    for (const auto& text : m_long) bytes += text.capacity();
    return bytes;
}

}  // namespace sq
