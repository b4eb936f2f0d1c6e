#pragma once
// Whole-file text I/O with the program's conventions: files are Windows-1252, written lines end in
// CR LF, and a reader ends a line at CR LF, at a bare CR or at a bare LF.
#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/atomic_file.h"

namespace sq {

// Splits text into lines at CR LF, CR or LF. A final line ending adds no empty line.
std::vector<std::string> splitLines(std::string_view text);

inline constexpr size_t kUnbounded = std::numeric_limits<size_t>::max();

// How much a reader takes from a file. A file beyond a bound is refused whole: larger than
// `maxBytes`, or, read as lines, with a line of more than `maxLineLength` bytes (its line end not
// counted) or more than `maxLines` lines.
struct ReadLimit {
    size_t maxBytes = 0;
    size_t maxLineLength = kUnbounded;
    size_t maxLines = kUnbounded;
};
// The bound of a reader that states none of its own: files the program or a test wrote itself.
inline constexpr ReadLimit kDefaultReadLimit{64u << 20};

// Reads the whole file as bytes; nullopt when it cannot be opened or read, or is refused, with the
// reason in `reason` when one is given: the system's, or the bound the file broke. Only a regular
// file (a link to one included) is read: a pipe, a device or a folder is refused without waiting
// for it. A file that grows while it is read is read as long as it was when opened.
std::optional<std::string> readFileBytes(const std::string& path, const ReadLimit& limit,
                                         std::string* reason = nullptr);
std::optional<std::string> readFileBytes(const std::string& path, std::string* reason = nullptr);
// Reads a Windows-1252 text file into UTF-8 lines; nullopt (and the reason) as readFileBytes.
std::optional<std::vector<std::string>> readTextLines(const std::string& path, const ReadLimit& limit,
                                                      std::string* reason = nullptr);
std::optional<std::vector<std::string>> readTextLines(const std::string& path, std::string* reason = nullptr);

// Writes UTF-8 lines as Windows-1252, each ended by CR LF.
bool writeTextLines(const std::string& path, const std::vector<std::string>& lines);

bool fileExists(const std::string& path);
bool dirExists(const std::string& path);

}  // namespace sq
