#pragma once
// What both report charts take from the point grid: the four level series and the text a level
// cell is read as.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ui/page_surface.h"

namespace sq {

// A level series: its point-grid column, its legend name and its colour.
struct LevelSeries {
    int column;
    const char* name;
    int32_t colour;
};
// The series in column order, 2 to 5.
inline constexpr std::array<LevelSeries, 4> kLevelSeries = {{
    {2, "Lavg", rgbColour(255, 0, 0)},
    {3, "Leq", rgbColour(0, 255, 255)},
    {4, "Lcpk", rgbColour(0, 0, 255)},
    {5, "Lzpk", rgbColour(0, 255, 0)},
}};

// The cell's text with every "*" (the mark of a flagged level) and every " dB" removed.
[[nodiscard]] std::string UnmarkedLevelText(std::string_view cell);

}  // namespace sq
