#pragma once
// The table of every user-interface text. Code reads an entry by its name at the moment it shows
// it (`sq::texts().TxtSetOK`); only LoadDefaultTexts and the language-file reader write entries.
// Text is UTF-8 in memory.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace sq {

struct LanguageTexts {
#define SQ_TEXT(name, english) std::string name;
#define SQ_TEXT_KEY(name, english, key) std::string name;
#define SQ_TEXT_FIXED(name, english) std::string name;
#include "texts/language_text_list.inc"
#undef SQ_TEXT
#undef SQ_TEXT_KEY
#undef SQ_TEXT_FIXED
};

// One entry of the table, described for code that reaches entries by position or by key.
struct TextEntry {
    const char* name;
    const char* english;
    const char* key;  // nullptr for the two entries that no language file can change
    std::string LanguageTexts::*member;
};

// The classic table's entries come first; the messages this program adds follow them.
inline constexpr std::size_t kClassicTextCount = 356;
// One for each entry of the list.
inline constexpr std::size_t kLanguageTextCount = 0
#define SQ_TEXT(name, english) +1
#define SQ_TEXT_KEY(name, english, key) +1
#define SQ_TEXT_FIXED(name, english) +1
#include "texts/language_text_list.inc"
#undef SQ_TEXT
#undef SQ_TEXT_KEY
#undef SQ_TEXT_FIXED
    ;

// The one table of the run. Every entry is empty until LoadDefaultTexts runs.
LanguageTexts& texts();

// All entries, in the order their defaults are assigned.
[[nodiscard]] std::span<const TextEntry> textEntries();
// The entry a language-file key addresses (exact comparison: case and blanks count), or -1.
[[nodiscard]] int findTextByKey(std::string_view key);
[[nodiscard]] inline std::string& textAt(LanguageTexts& table, std::size_t index) {
    return table.*(textEntries()[index].member);
}

// Assigns every entry of `table` its English default.
void loadDefaultTexts(LanguageTexts& table);
// Start-up step: the English defaults into texts().
void LoadDefaultTexts();

}  // namespace sq
