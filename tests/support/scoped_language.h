#pragma once
// Selects a language of the test's own for as long as it lives: the language list names it second,
// its file holds the given Windows-1252 lines, and the program loads it. Afterwards the list is as it
// was, the file is gone and the English texts are back.
#include <filesystem>
#include <optional>
#include <string>

#include "platform/text_file.h"
#include "texts/language_files.h"
#include "texts/language_texts.h"

namespace sqtest {

class ScopedLanguage {
public:
    ScopedLanguage(std::string name, const std::string& fileBytes)
        : m_name(std::move(name)), m_savedList(sq::readFileBytes(sq::languageListPath())) {
        sq::writeFileAtomic(sq::languageListPath(), "Language\\2\r\n1\\English\r\n2\\" + m_name + "\r\n");
        sq::writeFileAtomic(sq::languageFilePathFor(m_name), fileBytes);
        sq::LoadLanguage();
    }
    ~ScopedLanguage() {
        std::filesystem::remove(sq::languageFilePathFor(m_name));
        if (m_savedList)
            sq::writeFileAtomic(sq::languageListPath(), *m_savedList);
        else
            std::filesystem::remove(sq::languageListPath());
        sq::languageState() = sq::LanguageState{};
        sq::LoadDefaultTexts();
    }
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_savedList;
};

}  // namespace sqtest
