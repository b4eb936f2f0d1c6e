#include "texts/language_choice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/text_file.h"

namespace {

using Lines = std::vector<std::string>;

TEST(LanguageChoice, buttonNamesComeFromTheLanguageLinesInFileOrder) {
    EXPECT_EQ(sq::languageButtonNames({"Select\\2", "1\\English", "2\\Deutsch\\x"}, 2),
              (Lines{"English", "Deutsch"}));
    EXPECT_EQ(sq::languageButtonNames({"", "1\\English", "2\\Deutsch"}, 2), (Lines{"English", "Deutsch"}));
    EXPECT_EQ(sq::languageButtonNames({"Select\\1", "1\\English", "", ""}, 1), (Lines{"English"}));
}

TEST(LanguageChoice, buttonNamesAreRefusedWhereTheLoadStopsBeforeLabelling) {
    // no language lines; a line without backslash; an empty line that pushes a name past the last button
    EXPECT_EQ(sq::languageButtonNames({"Select\\1"}, 0), std::nullopt);
    EXPECT_EQ(sq::languageButtonNames({"Select\\1", "1\\English", "2"}, 2), std::nullopt);
    EXPECT_EQ(sq::languageButtonNames({"Select\\1", "1\\English", "", "2\\Deutsch"}, 2), std::nullopt);
}

TEST(LanguageChoice, currentButtonIsTheSelectedNumberLessOneWhenSuchAButtonExists) {
    sq::LanguageState state;
    EXPECT_EQ(sq::currentLanguageButton(state, 2), std::nullopt);
    state.LanguageIndex = 2;
    EXPECT_EQ(sq::currentLanguageButton(state, 2), 1);
    state.LanguageIndex = 3;
    EXPECT_EQ(sq::currentLanguageButton(state, 2), std::nullopt);
    state.LanguageIndex = 0;
    EXPECT_EQ(sq::currentLanguageButton(state, 2), std::nullopt);
}

struct RewriteCase {
    const char* what;
    Lines before;
    std::optional<int> selected;
    int languageCount;
    int buttonCount;
    std::optional<Lines> after;
};

TEST(LanguageChoice, selectionLineIsRewrittenWithTheChosenNumber) {
    const RewriteCase cases[] = {
        {"first of two chosen",
         {"Select\\2", "1\\English", "2\\Deutsch"},
         0,
         2,
         2,
         Lines{"Select\\1", "1\\English", "2\\Deutsch"}},
        {"a third field is dropped",
         {"Select\\1\\old", "1\\English", "2\\Deutsch"},
         1,
         2,
         2,
         Lines{"Select\\2", "1\\English", "2\\Deutsch"}},
        {"no button selected keeps field 2",
         {"Select\\7\\x", "1\\English"},
         std::nullopt,
         1,
         1,
         Lines{"Select\\7", "1\\English"}},
        {"empty lines after the languages survive",
         {"Select\\1", "1\\English", "2\\Deutsch", "", ""},
         1,
         2,
         2,
         Lines{"Select\\2", "1\\English", "2\\Deutsch", "", ""}},
        {"empty selection line", {"", "1\\English"}, 0, 1, 1, std::nullopt},
        {"selection line without backslash", {"Select 1", "1\\English"}, 0, 1, 1, std::nullopt},
        {"a counted language without a button",
         {"Select\\1", "1\\English", "2\\Deutsch"},
         0,
         2,
         1,
         std::nullopt},
    };
    for (const RewriteCase& c : cases)
        EXPECT_EQ(sq::listWithSelectedLanguage(c.before, c.selected, c.languageCount, c.buttonCount), c.after)
            << c.what;
}

TEST(LanguageChoice, storingWritesEveryLineWithCrLfAndRefusalLeavesTheFileAlone) {
    std::filesystem::create_directories(std::filesystem::path(sq::languageListPath()).parent_path());
    std::ofstream(sq::languageListPath(), std::ios::binary | std::ios::trunc)
        << "Select\\2\n1\\English\n2\\Deutsch\n";
    EXPECT_TRUE(sq::storeSelectedLanguage(0, 2, 2));
    EXPECT_EQ(sq::readFileBytes(sq::languageListPath()), "Select\\1\r\n1\\English\r\n2\\Deutsch\r\n");

    std::ofstream(sq::languageListPath(), std::ios::binary | std::ios::trunc) << "Select 2\n1\\English\n";
    EXPECT_FALSE(sq::storeSelectedLanguage(0, 1, 1));
    EXPECT_EQ(sq::readFileBytes(sq::languageListPath()), "Select 2\n1\\English\n");

    std::filesystem::remove(sq::languageListPath());
    EXPECT_FALSE(sq::storeSelectedLanguage(0, 1, 1));
    EXPECT_FALSE(std::filesystem::exists(sq::languageListPath()));
}

TEST(LanguageChoice, panelHeightAndButtonPlaces) {
    EXPECT_EQ(sq::languagePanelHeight(1, 855, 495), 2 * 855 + 300);
    EXPECT_EQ(sq::languagePanelHeight(2, 855, 495), 2 * 855 + 300);
    EXPECT_EQ(sq::languagePanelHeight(3, 855, 495), 1.5 * 495 * 3);
    EXPECT_EQ(sq::languageButtonTop(0, 120, 495), 120);
    EXPECT_EQ(sq::languageButtonTop(2, 120, 495), 120 + 1.5 * 2 * 495);
}

}  // namespace
