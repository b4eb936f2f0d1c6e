#pragma once
// The summary-item selection file bin/Header.bin: one line of 102 box states ("0" unticked, "1"
// ticked, "2" greyed) joined by "," and ended by CR LF. Only its last line counts.
#include <array>
#include <optional>
#include <string>

#include "records/summary_grid.h"

namespace sq {

using ItemStates = std::array<int, kSavedItemCount>;

// The file's path in the program folder.
std::string headerBinPath();
// The selection line without its line end.
std::string headerBinLine(const ItemStates& states);
// The states a line gives: nullopt unless it has exactly 102 fields; a field other than 0, 1 or 2
// (a letter, 5) leaves its box unticked.
std::optional<ItemStates> parseHeaderBinLine(const std::string& line);
// Writes the line and CR LF, replacing the file. False when it cannot be written (no bin folder).
bool writeHeaderBin(const std::string& path, const ItemStates& states);
// The selection at a window's load: creates a missing file with zeros, reads the last line, and
// resets file and boxes to zeros when that line is unusable.
ItemStates loadHeaderBin(const std::string& path);

}  // namespace sq
