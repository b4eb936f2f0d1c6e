#pragma once
// The page content: operator lines appended one by one. Kept in fixed-size chunks, so a chart page
// of hundreds of megabytes grows without ever copying what it already holds.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sq::pdf {

class ContentBuffer {
public:
    // Appends the text followed by CR LF.
    void appendLine(std::string_view text);
    void clear();
    [[nodiscard]] uint64_t size() const { return m_size; }
    [[nodiscard]] bool empty() const { return m_size == 0; }
    // Writes every byte in order; false when the stream refused a byte.
    bool writeTo(std::FILE* out) const;
    [[nodiscard]] std::string str() const;

private:
    static constexpr size_t kChunk = size_t(1) << 20;
    void append(std::string_view bytes);

    std::vector<std::string> m_chunks;
    uint64_t m_size = 0;
};

}  // namespace sq::pdf
