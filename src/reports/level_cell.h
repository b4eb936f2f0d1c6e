#pragma once
// The text both report charts read a point-grid level cell as.
#include <string>
#include <string_view>

namespace sq {

// The cell's text with every "*" (the mark of a flagged level) and every " dB" removed.
[[nodiscard]] std::string UnmarkedLevelText(std::string_view cell);

}  // namespace sq
