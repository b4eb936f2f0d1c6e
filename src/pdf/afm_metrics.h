#pragma once
// Character widths from AFM metric files, read the way the PDF writer measures text, and the
// listing of a folder's metric files.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sq::pdf {

// Widths in thousandths of the font size, indexed by Windows-1252 code (entry 0 unused).
using AfmWidths = std::array<int16_t, 256>;

// The glyph that WinAnsiEncoding puts at a code, e.g. "Euro" at 128; nullptr for an unused code
// and for codes below 32.
[[nodiscard]] const char* winAnsiGlyphName(int code);

// Reads the character metrics section. A file whose EncodingScheme is given and is not
// FontSpecific numbers its glyphs in its own encoding, while the writer sets text in
// WinAnsiEncoding: every metric line is then read by its glyph name (unencoded ones included) and
// each code gets the width of the glyph WinAnsiEncoding puts there, 0 where it has none or the file
// lacks it. Other files are read by code: codes from the first to the last encoded metric line keep
// their widths, every other code is 0. Raises VbError on a malformed metric line (9 for a missing
// field or a code outside 1-255, 13 for a field that is no number, 6 for a width beyond 16 bits)
// and when the end marker comes before any metric line (9).
AfmWidths parseAfmWidths(std::string_view text);
// parseAfmWidths of the file; raises error 53 when it cannot be read.
AfmWidths readAfmWidths(const std::string& path);

// The font-list entries of a folder: every file whose path, in lower case, holds ".afm", named
// without its last four characters, ordered by the bytes of the entry. Raises error 76 when the
// folder does not exist.
std::vector<std::string> listAfmEntries(const std::string& folder);

}  // namespace sq::pdf
