#pragma once
// Number and text forms that the PDF writer puts into the file. Every text that reaches the file
// goes through toPdfBytes: the file is Windows-1252, one byte per character.
#include <string>
#include <string_view>

namespace sq::pdf {

// The value with exactly `decimals` decimals (0 to 5), halves away from zero judged on the
// shortest decimal form of the value: the same text as sq::formatFixed, appended without
// allocating for ordinary values.
void appendFixed(std::string& out, double value, int decimals);
[[nodiscard]] std::string fixed(double value, int decimals);
// Shortest text that keeps up to 15 significant digits (page sizes, link rectangles).
[[nodiscard]] std::string shortNumber(double value);
// The text preceded by as many "0" as make it 10 characters long.
[[nodiscard]] std::string padZeros10(const std::string& text);
// Escaped for a PDF literal string: "\" first, then "(" and ")".
[[nodiscard]] std::string escapeLiteral(std::string_view text);
// A text string (document information, outline titles) for a literal, escaped: plain ASCII as it
// is; any other text as UTF-16BE with a byte order mark, since readers take the one-byte form as
// PDFDocEncoding, where "€" and the curly quotes sit elsewhere. Its CR bytes are written "\r", as a
// bare CR in a literal reads back as LF.
[[nodiscard]] std::string textString(std::string_view utf8);
[[nodiscard]] bool isAscii(std::string_view text);
// UTF-8 to the file's Windows-1252 bytes ("?" for what cannot be mapped).
[[nodiscard]] std::string toPdfBytes(std::string_view utf8);

}  // namespace sq::pdf
