#include "recordmodel/grid_copy.h"

#include <algorithm>

#include "platform/ui/flex_grid.h"

namespace sq {

GridCopy::GridCopy(const FlexGrid& grid)
    : m_rows(grid.Rows()), m_cols(grid.Cols()), m_fixedRows(grid.FixedRows()), m_fixedCols(grid.FixedCols()) {
    const GridStore& store = grid.store();
    size_t bytes = 0;
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_cols; ++c) bytes += store.cell(r, c).size();
    m_texts.reserve(bytes);
    m_ends.reserve(static_cast<size_t>(cellCount()));
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_cols; ++c) {
            m_texts += store.cell(r, c);
            m_ends.push_back(static_cast<uint32_t>(m_texts.size()));
        }
    }
}

GridCopy GridCopy::fromRows(const std::vector<std::vector<std::string>>& rows, int fixedRows, int fixedCols) {
    GridCopy copy;
    copy.m_rows = static_cast<int>(rows.size());
    for (const auto& row : rows) copy.m_cols = std::max(copy.m_cols, static_cast<int>(row.size()));
    copy.m_fixedRows = std::min(fixedRows, copy.m_rows);
    copy.m_fixedCols = std::min(fixedCols, copy.m_cols);
    for (const auto& row : rows) {
        for (int c = 0; c < copy.m_cols; ++c) {
            if (c < static_cast<int>(row.size())) copy.m_texts += row[static_cast<size_t>(c)];
            copy.m_ends.push_back(static_cast<uint32_t>(copy.m_texts.size()));
        }
    }
    return copy;
}

std::string_view GridCopy::cell(int row, int col) const {
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols) return {};
    const size_t i = static_cast<size_t>(row) * static_cast<size_t>(m_cols) + static_cast<size_t>(col);
    const uint32_t begin = i == 0 ? 0 : m_ends[i - 1];
    return std::string_view(m_texts).substr(begin, m_ends[i] - begin);
}

}  // namespace sq
