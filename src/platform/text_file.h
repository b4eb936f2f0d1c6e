#pragma once
// Whole-file text I/O with the program's conventions: files are Windows-1252, written lines end in
// CR LF, and a reader ends a line at CR LF, at a bare CR or at a bare LF.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sq {

// Splits text into lines at CR LF, CR or LF. A final line ending adds no empty line.
std::vector<std::string> splitLines(std::string_view text);

// Reads the whole file as bytes; nullopt when it cannot be opened or read, with the system's reason
// in `reason` when one is given.
std::optional<std::string> readFileBytes(const std::string& path, std::string* reason = nullptr);
// Reads a Windows-1252 text file into UTF-8 lines; nullopt (and the reason) as readFileBytes.
std::optional<std::vector<std::string>> readTextLines(const std::string& path, std::string* reason = nullptr);

// Writes bytes through a temporary file in the same folder and a rename, so that a failed write
// never leaves a half-written file in place of the old one, nor the temporary file. Returns false
// on failure, with the system's reason in `reason` when one is given.
bool writeFileAtomic(const std::string& path, std::string_view bytes, std::string* reason = nullptr);
// Writes UTF-8 lines as Windows-1252, each ended by CR LF.
bool writeTextLines(const std::string& path, const std::vector<std::string>& lines);

bool fileExists(const std::string& path);
bool dirExists(const std::string& path);

}  // namespace sq
