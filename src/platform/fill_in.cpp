#include "platform/fill_in.h"

namespace sq {

std::string fillIn(std::string_view pattern, std::initializer_list<std::string_view> parts) {
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const std::size_t part = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && part < parts.size()) {
            text += parts.begin()[part];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

}  // namespace sq
