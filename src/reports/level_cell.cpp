#include "reports/level_cell.h"

namespace sq {

namespace {

void removeAll(std::string& text, std::string_view part) {
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at))
        text.erase(at, part.size());
}

}  // namespace

std::string UnmarkedLevelText(std::string_view cell) {
    std::string text(cell);
    removeAll(text, "*");
    removeAll(text, " dB");
    return text;
}

}  // namespace sq
