#include "texts/language_files.h"

#include <algorithm>

#include "platform/numbers.h"
#include "platform/program_folder.h"
#include "platform/text_file.h"

namespace sq {

namespace {

std::string withoutTabs(std::string text) {
    std::erase(text, '\t');
    return text;
}

// A language's name is the plain name of a file in Lan/: with a separator it could name a file
// elsewhere, and "." and ".." name no language.
bool isPlainFileName(std::string_view name) {
    return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos && name != "." &&
           name != "..";
}

// Returns false when the selected language's line lacks its name field or its name is no plain
// file name.
bool applyLanguageLine(const std::vector<std::string>& fields, LanguageState& state) {
    ++state.LanguageCount;
    if (leadingNumber(fields[0]) != state.selectedNumber()) return true;
    if (fields.size() < 2 || !isPlainFileName(fields[1])) return false;
    state.LanguageFilePath = languageFilePathFor(fields[1]);
    return true;
}

}  // namespace

LanguageState& languageState() {
    static LanguageState state;
    return state;
}

std::string languageListPath() {
    return programPath("Lan/Language.bin");
}

std::string languageFilePathFor(std::string_view languageName) {
    return programPath("Lan/" + std::string(languageName) + ".lan");
}

std::optional<std::vector<std::string>> readLanguageLines(const std::string& path) {
    return readTextLines(path, kLanguageFileReadLimit);
}

std::vector<std::string> splitFields(std::string_view line) {
    std::vector<std::string> fields;
    if (line.empty()) return fields;
    std::size_t start = 0;
    for (std::size_t slash = line.find('\\'); slash != std::string_view::npos;
         slash = line.find('\\', start)) {
        fields.emplace_back(line.substr(start, slash - start));
        start = slash + 1;
    }
    fields.emplace_back(line.substr(start));
    return fields;
}

bool applyLanguageList(const std::vector<std::string>& lines, LanguageState& state) {
    state.LanguageCount = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        std::vector<std::string> fields = splitFields(lines[i]);
        if (i == 0) {
            if (fields.size() < 2) return false;
            state.LanguageIndex = leadingNumber(fields[1]);
        } else if (!applyLanguageLine(fields, state)) {
            return false;
        }
    }
    if (state.LanguageFilePath.empty()) state.LanguageIndex = 1;
    return true;
}

void applyLanguageLines(const std::vector<std::string>& lines, LanguageTexts& table) {
    for (const std::string& line : lines) {
        std::vector<std::string> fields = splitFields(line);
        if (fields.empty()) return;
        int entry = findTextByKey(withoutTabs(fields[0]));
        if (entry < 0) continue;
        if (fields.size() < 2) return;
        textAt(table, static_cast<std::size_t>(entry)) = fields[1];
    }
}

void loadLanguage(LanguageState& state, LanguageTexts& table) {
    state.LanguageCount = 0;
    auto lines = readLanguageLines(languageListPath());
    if (!lines) return;
    if (applyLanguageList(*lines, state)) readLanguageFile(state, table);
}

void readLanguageFile(const LanguageState& state, LanguageTexts& table) {
    if (state.LanguageFilePath.empty()) return;
    if (auto lines = readLanguageLines(state.LanguageFilePath)) applyLanguageLines(*lines, table);
}

void LoadLanguage() {
    loadLanguage(languageState(), texts());
}

void ReadLanguageFile() {
    readLanguageFile(languageState(), texts());
}

}  // namespace sq
