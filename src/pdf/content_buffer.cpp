#include "pdf/content_buffer.h"

namespace sq::pdf {

void ContentBuffer::append(std::string_view bytes) {
    if (m_chunks.empty() || m_chunks.back().size() + bytes.size() > m_chunks.back().capacity()) {
        m_chunks.emplace_back();
        m_chunks.back().reserve(bytes.size() > kChunk ? bytes.size() : kChunk);
    }
    m_chunks.back().append(bytes);
    m_size += bytes.size();
}

void ContentBuffer::appendLine(std::string_view text) {
    append(text);
    append("\r\n");
}

void ContentBuffer::clear() {
    m_chunks.clear();
    m_size = 0;
}

bool ContentBuffer::writeTo(std::FILE* out) const {
    for (const auto& chunk : m_chunks)
        if (!chunk.empty() && std::fwrite(chunk.data(), 1, chunk.size(), out) != chunk.size()) return false;
    return true;
}

std::string ContentBuffer::str() const {
    std::string out;
    out.reserve(m_size);
    for (const auto& chunk : m_chunks) out += chunk;
    return out;
}

}  // namespace sq::pdf
