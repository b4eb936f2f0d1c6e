#include "records/header_bin.h"

#include <vector>

#include "platform/numbers.h"
#include "platform/program_folder.h"
#include "platform/text_file.h"

namespace sq {

namespace {

// One short line: a larger file is no selection file and is written anew. A pipe or a device is
// no selection file either, and is left as it is: only a regular file is ever replaced.
constexpr ReadLimit kHeaderBinReadLimit{64u << 10};

std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return fields;
}

// The field as a whole number; anything but 0, 1 or 2 leaves the box unticked.
int fieldState(const std::string& field) {
    if (!isNumeric(field)) return 0;
    const double v = roundHalfEven(toNumber(field));
    return v == 1 || v == 2 ? static_cast<int>(v) : 0;
}

}  // namespace

std::string headerBinPath() {
    return programPath("bin/Header.bin");
}

std::string headerBinLine(const ItemStates& states) {
    std::string line;
    for (int n = 0; n < kSavedItemCount; ++n) {
        if (n > 0) line += ',';
        line += std::to_string(states[n]);
    }
    return line;
}

std::optional<ItemStates> parseHeaderBinLine(const std::string& line) {
    std::vector<std::string> fields = splitFields(line);
    if (fields.size() != static_cast<size_t>(kSavedItemCount)) return std::nullopt;
    ItemStates states{};
    for (int n = 0; n < kSavedItemCount; ++n) states[n] = fieldState(fields[n]);
    return states;
}

bool writeHeaderBin(const std::string& path, const ItemStates& states) {
    return writeTextLines(path, {headerBinLine(states)});
}

ItemStates loadHeaderBin(const std::string& path) {
    const ItemStates none{};
    if (isMissing(path)) writeHeaderBin(path, none);
    auto lines = readTextLines(path, kHeaderBinReadLimit);
    if (lines && !lines->empty()) {
        if (auto states = parseHeaderBinLine(lines->back())) return *states;
    }
    writeHeaderBin(path, none);
    return none;
}

}  // namespace sq
