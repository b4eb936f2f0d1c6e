#include "texts/language_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/program_folder.h"
#include "platform/text_file.h"
#include "support/read_watchdog.h"
#include "support/test_support.h"

namespace {

void writeBytes(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void writeLanguageFile(const std::string& name, const std::string& bytes) {
    writeBytes(sq::languageFilePathFor(name), bytes);
}

// Three small languages; each names TxtExit, so the text of TxtExit tells which file was read.
void writeLanguages() {
    writeLanguageFile("Alpha", "Exit\\A-Exit\r\nSet\\A-Set\r\n");
    writeLanguageFile("Beta", "Exit\\B-Exit\r\n");
    writeLanguageFile("Gamma", "Exit\\C-Exit\r\n");
    std::filesystem::remove(sq::languageFilePathFor("Missing"));
    // Language files outside Lan/ itself, which no language name can reach.
    writeBytes(sq::programPath("Outside.lan"), "Exit\\O-Exit\r\n");
    writeBytes(sq::programPath("Lan/sub/Inner.lan"), "Exit\\I-Exit\r\n");
}

struct ListCase {
    const char* what;
    std::optional<std::string> list;  // nullopt: no list file
    std::optional<double> indexBefore;
    const char* fileBefore;  // language whose file an earlier run found, or ""
    std::optional<double> indexAfter;
    int countAfter;
    const char* fileAfter;
    const char* exitText;  // "Exit": no language file was read
};

std::string pathOf(const char* language) {
    return *language ? sq::languageFilePathFor(language) : std::string();
}

void PrintTo(const ListCase& c, std::ostream* os) {
    *os << c.what;
}

class LanguageList : public ::testing::TestWithParam<ListCase> {};

TEST_P(LanguageList, selectsCountsAndLoads) {
    const ListCase& c = GetParam();
    writeLanguages();
    if (c.list)
        writeBytes(sq::languageListPath(), *c.list);
    else
        std::filesystem::remove(sq::languageListPath());
    sq::LanguageState state;
    state.LanguageIndex = c.indexBefore;
    state.LanguageFilePath = pathOf(c.fileBefore);
    state.LanguageCount = 7;
    sq::LanguageTexts table;
    sq::loadDefaultTexts(table);

    sq::loadLanguage(state, table);

    EXPECT_EQ(state.LanguageIndex, c.indexAfter);
    EXPECT_EQ(state.LanguageCount, c.countAfter);
    EXPECT_EQ(state.LanguageFilePath, pathOf(c.fileAfter));
    EXPECT_EQ(table.TxtExit, c.exitText);
}

const std::optional<double> kNone;

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageList,
    ::testing::Values(
        ListCase{"second of two", "Select\\2\r\n1\\Alpha\r\n2\\Beta\r\n", kNone, "", 2, 2, "Beta", "B-Exit"},
        ListCase{"duplicate numbers: the later wins", "Select\\1\r\n1\\Alpha\r\n1\\Beta\r\n", kNone, "", 1, 2,
                 "Beta", "B-Exit"},
        ListCase{"unmatched at start-up", "Select\\5\r\n1\\Alpha\r\n2\\Beta\r\n", kNone, "", 1, 2, "",
                 "Exit"},
        ListCase{"unmatched after a load reads the earlier file again",
                 "Select\\5\r\n1\\Alpha\r\n2\\Beta\r\n", 1, "Alpha", 5, 2, "Alpha", "A-Exit"},
        ListCase{"empty first line keeps no index, which matches 0", "\r\n0\\Alpha\r\n1\\Beta\r\n", kNone, "",
                 kNone, 2, "Alpha", "A-Exit"},
        ListCase{"empty first line keeps an earlier index", "\r\n1\\Alpha\r\n2\\Beta\r\n", 2, "Alpha", 2, 2,
                 "Beta", "B-Exit"},
        ListCase{"leading zero matches", "Select\\2\r\n1\\Alpha\r\n02\\Beta\r\n", kNone, "", 2, 2, "Beta",
                 "B-Exit"},
        ListCase{"zero fraction and blanks match", "Select\\ 2\r\n1\\Alpha\r\n 2.0\\Beta\r\n", kNone, "", 2,
                 2, "Beta", "B-Exit"},
        ListCase{"fraction selects as written", "Select\\2.5\r\n2\\Alpha\r\n2.5\\Beta\r\n", kNone, "", 2.5, 2,
                 "Beta", "B-Exit"},
        ListCase{"line without a number is language 0", "Select\\0\r\nx\\Alpha\r\n1\\Beta\r\n", kNone, "", 0,
                 2, "Alpha", "A-Exit"},
        ListCase{"empty lines are skipped, not counted",
                 "Select\\3\r\n\r\n1\\Alpha\r\n\r\n2\\Beta\r\n3\\Gamma\r\n", kNone, "", 3, 3, "Gamma",
                 "C-Exit"},
        ListCase{"further fields are ignored", "Select\\2\\x\r\n1\\Alpha\\y\r\n2\\Beta\\z\r\n", kNone, "", 2,
                 2, "Beta", "B-Exit"},
        ListCase{"bare LF ends lines", "Select\\2\n1\\Alpha\n2\\Beta\n", kNone, "", 2, 2, "Beta", "B-Exit"},
        ListCase{"bare CR ends lines", "Select\\2\r1\\Alpha\r2\\Beta", kNone, "", 2, 2, "Beta", "B-Exit"},
        ListCase{"missing list file", std::nullopt, 2, "Alpha", 2, 0, "Alpha", "Exit"},
        ListCase{"selection line without backslash", "Select 2\r\n1\\Alpha\r\n2\\Beta\r\n", kNone, "", kNone,
                 0, "", "Exit"},
        ListCase{"matching line without backslash ends the loading",
                 "Select\\2\r\n1\\Alpha\r\n2\r\n3\\Gamma\r\n", kNone, "", 2, 2, "", "Exit"},
        ListCase{"other lines without backslash are passed", "Select\\2\r\n1\r\n2\\Beta\r\n", kNone, "", 2, 2,
                 "Beta", "B-Exit"},
        ListCase{"selected file missing", "Select\\1\r\n1\\Missing\r\n", kNone, "", 1, 1, "Missing", "Exit"},
        ListCase{"no language lines", "Select\\1\r\n", kNone, "", 1, 0, "", "Exit"},
        ListCase{"a name reaching out of Lan ends the loading", "Select\\2\r\n1\\Alpha\r\n2\\../Outside\r\n",
                 kNone, "", 2, 2, "", "Exit"},
        ListCase{"a name with a folder ends the loading", "Select\\2\r\n1\\Alpha\r\n2\\sub/Inner\r\n", kNone,
                 "", 2, 2, "", "Exit"},
        ListCase{"a name of two dots ends the loading", "Select\\1\r\n1\\..\r\n", 1, "Alpha", 1, 1, "Alpha",
                 "Exit"}),
    [](const auto& info) { return sqtest::caseName(info.param.what); });

struct FileCase {
    const char* what;
    std::string bytes;
    std::vector<std::pair<std::string sq::LanguageTexts::*, std::string>> expected;
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.what;
}

using T = sq::LanguageTexts;

class LanguageFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(LanguageFile, setsTheEntriesItsKeysReach) {
    const FileCase& c = GetParam();
    writeLanguageFile("Case", c.bytes);
    sq::LanguageState state;
    state.LanguageFilePath = sq::languageFilePathFor("Case");
    sq::LanguageTexts table;
    sq::loadDefaultTexts(table);

    sq::readLanguageFile(state, table);

    for (const auto& [member, text] : c.expected) EXPECT_EQ(table.*member, text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageFile,
    ::testing::Values(
        FileCase{
            "tabs after a key are removed", "Clear Memory\t\t\\Vider\r\n", {{&T::TxtClearMemory, "Vider"}}},
        FileCase{"tabs inside a key are removed, not made blanks",
                 "Clear\tMemory\\Vider\r\n\tExit\\Sortir\r\n",
                 {{&T::TxtClearMemory, "Clear Memory"}, {&T::TxtExit, "Sortir"}}},
        FileCase{"case and trailing blanks count",
                 "clear memory\\x\r\nExit \\x\r\n",
                 {{&T::TxtClearMemory, "Clear Memory"}, {&T::TxtExit, "Exit"}}},
        FileCase{"empty text", "Exit\\\r\n", {{&T::TxtExit, ""}}},
        FileCase{"the text ends at its second backslash",
                 "Exit\\Sortir\\more\\fields\r\n",
                 {{&T::TxtExit, "Sortir"}}},
        FileCase{"blanks and tabs in the text stay", "Exit\\ So\trtir \r\n", {{&T::TxtExit, " So\trtir "}}},
        FileCase{
            "a key's leading blank counts",
            " Lower Limit Range : 70 ~ 140 !!!\\Bas\r\nUpper Limit Range : 70 ~ 140 !!!\\Haut\r\n",
            {{&T::TxtLowerLimitRange, "Bas"}, {&T::TxtUpperLimitRange, " Upper Limit Range : 70 ~ 140 !!!"}}},
        FileCase{"keys that differ from their defaults",
                 "Erasing...\\Effacement\r\nTimers\\Temps\r\nNo.s (Y):\\dB\r\nMeter 1\\M1\r\nPage "
                 "3\\P3\r\nLEQ\\Lq\r\n",
                 {{&T::TxtErasing, "Effacement"},
                  {&T::TxtTimers, "Temps"},
                  {&T::TxtNosY, "dB"},
                  {&T::TxtMeter1, "M1"},
                  {&T::TxtPage3, "P3"},
                  {&T::TxtLEQ, "Lq"}}},
        FileCase{"defaults used as keys reach nothing",
                 "Erasing ...\\x\r\nTime\\x\r\nMeter1\\x\r\nPage3\\x\r\nLeq\\x\r\ndB (Y):\\x\r\n",
                 {{&T::TxtErasing, "Erasing ..."},
                  {&T::TxtTimers, "Time"},
                  {&T::TxtMeter1, "Meter1"},
                  {&T::TxtPage3, "Page3"},
                  {&T::TxtLEQ, "Leq"},
                  {&T::TxtNosY, "dB (Y):"}}},
        FileCase{"keyless entries never change",
                 "LunchTime\\x\r\nStop\\x\r\n",
                 {{&T::TxtLunchTime, "LunchTime"}, {&T::TxtStop, "Stop"}}},
        FileCase{"the last of duplicate keys wins", "Exit\\A\r\nExit\\B\r\n", {{&T::TxtExit, "B"}}},
        FileCase{"an empty line ends the reading",
                 "Exit\\Sortir\r\n\r\nSet\\Regler\r\n",
                 {{&T::TxtExit, "Sortir"}, {&T::TxtSet, "Set"}}},
        FileCase{"a line without backslash that is no key is passed",
                 "comment\r\nExit\\Sortir\r\n",
                 {{&T::TxtExit, "Sortir"}}},
        FileCase{"a line without backslash that is a key ends the reading",
                 "Set\\Regler\r\nExit\t\r\nHelp\\Aide\r\n",
                 {{&T::TxtSet, "Regler"}, {&T::TxtExit, "Exit"}, {&T::TxtHelp, "Help"}}},
        FileCase{"a byte-order mark spoils only the first line",
                 "\xEF\xBB\xBF"
                 "Exit\\Sortir\r\nSet\\Regler\r\n",
                 {{&T::TxtExit, "Exit"}, {&T::TxtSet, "Regler"}}},
        FileCase{"bare LF ends lines",
                 "Exit\\Sortir\nSet\\Regler\n",
                 {{&T::TxtExit, "Sortir"}, {&T::TxtSet, "Regler"}}},
        FileCase{"bare CR ends lines",
                 "Exit\\Sortir\rSet\\Regler",
                 {{&T::TxtExit, "Sortir"}, {&T::TxtSet, "Regler"}}},
        FileCase{"texts are Windows-1252",
                 "Exit\\Quitter \xE9t\xE9 \x80\r\n",
                 {{&T::TxtExit, "Quitter \xC3\xA9t\xC3\xA9 \xE2\x82\xAC"}}}),
    [](const auto& info) { return sqtest::caseName(info.param.what); });

TEST(LanguageFiles, missingOrUnnamedFileLeavesTheTableAsItWas) {
    sq::LanguageTexts table;
    sq::loadDefaultTexts(table);
    table.TxtExit = "kept";
    sq::LanguageState state;
    sq::readLanguageFile(state, table);
    state.LanguageFilePath = sq::languageFilePathFor("Missing");
    std::filesystem::remove(state.LanguageFilePath);
    sq::readLanguageFile(state, table);
    EXPECT_EQ(table.TxtExit, "kept");
}

// A list or language file that is a pipe, a link to a device, or far larger than any language is
// not read at all: loading returns at once and the texts stay as they were.
TEST(LanguageFiles, aListOrFileThatIsNoLanguageFileKeepsTheTextsAndNeverHoldsTheLoadUp) {
    writeLanguages();
    const std::string list = sq::languageListPath(), alpha = sq::languageFilePathFor("Alpha");
    const std::string alphaEntries = "Exit\\A-Exit\r\n";
    std::string comments;
    while (comments.size() <= (512u << 10)) comments += std::string(1000, 'c') + "\r\n";
    struct Case {
        const char* what;
        std::function<void()> make;
        std::string fifo;  // the pipe a blocked reader would wait on
    };
    const auto replaceBy = [](const std::string& path, const std::function<void(const char*)>& make) {
        std::filesystem::remove(path);
        make(path.c_str());
    };
    const Case cases[] = {
        {"list is a pipe", [&] { replaceBy(list, [](const char* p) { ::mkfifo(p, 0600); }); }, list},
        {"list links to /dev/zero",
         [&] { replaceBy(list, [](const char* p) { std::filesystem::create_symlink("/dev/zero", p); }); },
         ""},
        {"language file is a pipe", [&] { replaceBy(alpha, [](const char* p) { ::mkfifo(p, 0600); }); },
         alpha},
        {"language file links to /dev/zero",
         [&] { replaceBy(alpha, [](const char* p) { std::filesystem::create_symlink("/dev/zero", p); }); },
         ""},
        {"language file over 512 KB", [&] { writeLanguageFile("Alpha", alphaEntries + comments); }, ""},
        {"language file with a line over 4096 characters",
         [&] { writeLanguageFile("Alpha", alphaEntries + std::string(4097, 'c') + "\r\n"); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(list);
        writeBytes(list, "Select\\1\r\n1\\Alpha\r\n");
        writeLanguages();
        c.make();
        sq::LanguageState state;
        sq::LanguageTexts table;
        sq::loadDefaultTexts(table);
        {
            const sqtest::ReadWatchdog guard(std::string("loading a language: ") + c.what, c.fifo);
            sq::loadLanguage(state, table);
        }
        EXPECT_EQ(table.TxtExit, "Exit");
        std::filesystem::remove(list);
        std::filesystem::remove(alpha);
    }
    // The same file within the bounds is read.
    writeBytes(list, "Select\\1\r\n1\\Alpha\r\n");
    writeLanguageFile("Alpha", alphaEntries + std::string(4096, 'c') + "\r\n");
    sq::LanguageState state;
    sq::LanguageTexts table;
    sq::loadDefaultTexts(table);
    sq::loadLanguage(state, table);
    EXPECT_EQ(table.TxtExit, "A-Exit");
}

TEST(LanguageFiles, switchingToALanguageThatLacksAKeyKeepsThePreviousLanguagesText) {
    writeLanguages();
    sq::LanguageState state;
    sq::LanguageTexts table;
    sq::loadDefaultTexts(table);
    writeBytes(sq::languageListPath(), "Select\\1\r\n1\\Alpha\r\n2\\Beta\r\n");
    sq::loadLanguage(state, table);
    writeBytes(sq::languageListPath(), "Select\\2\r\n1\\Alpha\r\n2\\Beta\r\n");
    sq::loadLanguage(state, table);
    EXPECT_EQ(table.TxtExit, "B-Exit");
    EXPECT_EQ(table.TxtSet, "A-Set");
    EXPECT_EQ(table.TxtHelp, "Help");
}

TEST(LanguageFiles, runsGlobalsTakeTheSelectedLanguage) {
    writeLanguages();
    writeBytes(sq::languageListPath(), "Select\\2\r\n1\\Alpha\r\n2\\Beta\r\n");
    sq::LoadDefaultTexts();
    sq::LoadLanguage();
    EXPECT_EQ(sq::languageState().LanguageIndex, 2);
    EXPECT_EQ(sq::texts().TxtExit, "B-Exit");
    sq::LoadDefaultTexts();
    sq::ReadLanguageFile();
    EXPECT_EQ(sq::texts().TxtExit, "B-Exit");
    sq::languageState() = {};
    sq::LoadDefaultTexts();
}

TEST(ShippedLanguages, englishFileSetsEveryKeyedEntryToItsDefault) {
    auto lines = sq::readTextLines(sq::resourceFolder() + "/Lan/English.lan");
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), sq::kLanguageTextCount - 2) << "one line for every keyed entry";
    sq::LanguageTexts table;
    for (std::size_t i = 0; i < sq::kLanguageTextCount; ++i) sq::textAt(table, i) = "unset";
    sq::applyLanguageLines(*lines, table);
    for (const sq::TextEntry& entry : sq::textEntries())
        EXPECT_EQ(table.*entry.member, entry.key ? entry.english : "unset") << entry.name;
}

TEST(ShippedLanguages, freshProgramFolderStartsInEnglishAndEnglishUndoesAnotherLanguage) {
    std::filesystem::remove(sq::languageListPath());
    std::filesystem::remove(sq::languageFilePathFor("English"));
    sq::ensureProgramFolder();
    writeLanguages();
    sq::LanguageState state;
    sq::LanguageTexts table;
    sq::loadDefaultTexts(table);
    sq::loadLanguage(state, table);
    EXPECT_EQ(state.LanguageIndex, 1);
    EXPECT_EQ(state.LanguageCount, 1);
    EXPECT_EQ(state.LanguageFilePath, sq::languageFilePathFor("English"));

    writeBytes(sq::languageListPath(), "Language\\2\r\n1\\English\r\n2\\Alpha\r\n");
    sq::loadLanguage(state, table);
    EXPECT_EQ(table.TxtSet, "A-Set");
    writeBytes(sq::languageListPath(), "Language\\1\r\n1\\English\r\n2\\Alpha\r\n");
    sq::loadLanguage(state, table);
    EXPECT_EQ(table.TxtSet, "Set");
    EXPECT_EQ(table.TxtExit, "Exit");
}

TEST(ShippedLanguages, listSelectsEnglish) {
    auto bytes = sq::readFileBytes(sq::resourceFolder() + "/Lan/Language.bin");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, "Language\\1\r\n1\\English\r\n");
    sq::LanguageState state;
    EXPECT_TRUE(sq::applyLanguageList(sq::splitLines(*bytes), state));
    EXPECT_EQ(state.LanguageIndex, 1);
    EXPECT_EQ(state.LanguageCount, 1);
    EXPECT_EQ(state.LanguageFilePath, sq::languageFilePathFor("English"));
}

}  // namespace
