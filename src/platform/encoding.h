#pragma once
// Text inside the program is UTF-8. Files are Windows-1252 and texts on the wire Latin-1; these
// convert at those edges.
#include <string>
#include <string_view>

namespace sq {

// UTF-8 to Windows-1252; characters without a Windows-1252 byte become '?'.
std::string utf8ToCp1252(std::string_view utf8);
// Windows-1252 to UTF-8; the five unassigned bytes map to the C1 control characters of the same value.
std::string cp1252ToUtf8(std::string_view bytes);
// Latin-1 both ways: every byte is one character, so no wire byte is ever changed.
std::string latin1ToUtf8(std::string_view bytes);
// Characters above U+00FF become '?'.
std::string utf8ToLatin1(std::string_view utf8);

// Decodes one UTF-8 sequence at text[i]; advances i. Invalid bytes decode as U+FFFD.
char32_t nextCodePoint(std::string_view text, size_t& i);
void appendUtf8(std::string& out, char32_t cp);
// Blanks appended to a UTF-8 text of fewer than `length` characters (code points); a text that long
// or longer is returned as it is.
std::string padToLength(const std::string& utf8, size_t length);

}  // namespace sq
