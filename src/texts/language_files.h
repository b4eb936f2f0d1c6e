#pragma once
// The language list (Lan/Language.bin) and the language files (Lan/<name>.lan) that lay a
// language's texts over the text table. Both are Windows-1252 text read line by line; fields are
// separated by backslashes. Loading never shows a message: a failure only ends it early, keeping
// what was done until then.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_file.h"
#include "texts/language_texts.h"

namespace sq {

struct LanguageState {
    // The selected language's number from the list's selection line; no value until one was read.
    std::optional<double> LanguageIndex;
    // Language lines counted by the last run of LoadLanguage.
    int LanguageCount = 0;
    // The selected language file; empty until a list line matched, never cleared after that.
    std::string LanguageFilePath;

    // LanguageIndex as the list's numbers compare with it: 0 while it has no value.
    [[nodiscard]] double selectedNumber() const { return LanguageIndex.value_or(0); }
};

LanguageState& languageState();

[[nodiscard]] std::string languageListPath();
[[nodiscard]] std::string languageFilePathFor(std::string_view languageName);

// The list and the language files are read only up to these bounds, far beyond any language (the
// English file is under 10 KB). A file beyond them, or one that is no regular file, is not read at
// all, so the texts stay as they are.
inline constexpr ReadLimit kLanguageFileReadLimit{512u << 10, 4096, 16384};
// The lines of the list or of a language file; nullopt when it cannot be read or is refused.
[[nodiscard]] std::optional<std::vector<std::string>> readLanguageLines(const std::string& path);

// Splits a line at every backslash; an empty line gives no field at all.
[[nodiscard]] std::vector<std::string> splitFields(std::string_view line);

// Reads the list's lines into `state`. Returns false when a line ended the reading early (then no
// language file is to be read).
bool applyLanguageList(const std::vector<std::string>& lines, LanguageState& state);
// Lays the lines of a language file over `table`, stopping at an empty line or at a line without
// a backslash whose text is a key.
void applyLanguageLines(const std::vector<std::string>& lines, LanguageTexts& table);

void loadLanguage(LanguageState& state, LanguageTexts& table);
void readLanguageFile(const LanguageState& state, LanguageTexts& table);

// On the run's list, state and table: reads the list and then the selected language file.
void LoadLanguage();
// On the run's state and table: reads the file LanguageFilePath names.
void ReadLanguageFile();

}  // namespace sq
