#include "pdf/content_buffer.h"

namespace sq::pdf {

void ContentBuffer::append(std::string_view bytes) {
    if (m_chunks.empty()) {
        m_chunks.emplace_back().reserve(bytes.size() > kChunk ? bytes.size() : kChunk);
        m_active = 0;
    }
    while (m_chunks[m_active].size() + bytes.size() > m_chunks[m_active].capacity()) {
        if (++m_active == m_chunks.size()) {
            m_chunks.emplace_back().reserve(bytes.size() > kChunk ? bytes.size() : kChunk);
            break;
        }
    }
    m_chunks[m_active].append(bytes);
    m_size += bytes.size();
}

void ContentBuffer::appendLine(std::string_view text) {
    append(text);
    append("\r\n");
}

void ContentBuffer::clear() {
    for (auto& chunk : m_chunks) chunk.clear();
    m_active = 0;
    m_size = 0;
}

std::string ContentBuffer::str() const {
    std::string out;
    out.reserve(m_size);
    for (const auto& chunk : m_chunks) out += chunk;
    return out;
}

}  // namespace sq::pdf
