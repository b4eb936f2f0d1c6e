#pragma once
// The page content: operator lines appended one by one, kept in fixed-size chunks that are reused
// after clear(), so appending never copies what the buffer already holds.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sq::pdf {

class ContentBuffer {
public:
    // Appends the text followed by CR LF.
    void appendLine(std::string_view text);
    // Appends text that already holds its line ends.
    void appendLines(std::string_view text) { append(text); }
    // Empties the buffer and keeps its memory for the next appends.
    void clear();
    [[nodiscard]] uint64_t size() const { return m_size; }
    [[nodiscard]] bool empty() const { return m_size == 0; }
    // Hands every byte to `write` in order, a chunk at a time.
    template <class Write>
    void writeTo(Write&& write) const {
        for (const auto& chunk : m_chunks)
            if (!chunk.empty()) write(std::string_view(chunk));
    }
    [[nodiscard]] std::string str() const;

private:
    static constexpr size_t kChunk = size_t(1) << 20;
    void append(std::string_view bytes);

    std::vector<std::string> m_chunks;
    size_t m_active = 0;  // chunks after it are empty spares
    uint64_t m_size = 0;
};

}  // namespace sq::pdf
