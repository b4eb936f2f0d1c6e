#include "texts/language_texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

struct ExpectedText {
    int number;
    const char* name;
    const char* english;
    const char* key;
};

const ExpectedText kExpected[] = {
#include "expected_text_table.inc"
};

std::string orNone(const char* text) {
    return text ? text : "<none>";
}

TEST(LanguageTexts, theClassicEntriesComeFirstWithTheNameDefaultAndKeyOfTheReferenceTable) {
    auto entries = sq::textEntries();
    ASSERT_EQ(sq::kClassicTextCount, std::size(kExpected));
    ASSERT_GT(entries.size(), sq::kClassicTextCount);
    for (std::size_t i = 0; i < sq::kClassicTextCount; ++i) {
        SCOPED_TRACE("entry " + std::to_string(kExpected[i].number));
        EXPECT_STREQ(entries[i].name, kExpected[i].name);
        EXPECT_STREQ(entries[i].english, kExpected[i].english);
        EXPECT_EQ(orNone(entries[i].key), orNone(kExpected[i].key));
    }
}

TEST(LanguageTexts, eachKeyReachesExactlyItsOwnEntry) {
    for (const ExpectedText& expected : kExpected) {
        if (!expected.key) continue;
        EXPECT_EQ(sq::findTextByKey(expected.key), expected.number - 1) << expected.key;
    }
}

// The program's own messages follow the classic table. Each is its own key, and none of them takes
// a key or a default of another entry.
TEST(LanguageTexts, theAddedMessagesAreKeyedByTheirEnglishText) {
    auto entries = sq::textEntries();
    std::set<std::string> defaults;
    for (const sq::TextEntry& entry : entries) defaults.insert(entry.english);
    EXPECT_EQ(defaults.size(), entries.size()) << "two entries share a default";
    for (std::size_t i = sq::kClassicTextCount; i < entries.size(); ++i) {
        SCOPED_TRACE(entries[i].name);
        ASSERT_NE(entries[i].key, nullptr);
        EXPECT_STREQ(entries[i].key, entries[i].english);
        EXPECT_EQ(sq::findTextByKey(entries[i].key), static_cast<int>(i));
        EXPECT_EQ(std::string(entries[i].english).find_first_of("\\\t"), std::string::npos);
    }
    sq::LanguageTexts table;
    sq::loadDefaultTexts(table);
    EXPECT_EQ(table.TxtPortOpenFailure, "%1 could not be opened: %2.");
    EXPECT_EQ(table.TxtReportNotPrinted, "The report was not printed completely.");
    EXPECT_EQ(table.TxtPdfReportIncomplete, "PDF report incomplete !!!");
}

TEST(LanguageTexts, defaultsThatDifferFromTheirKeyAndKeylessTextsReachNothing) {
    for (const char* text :
         {"Meter1", "MeterTime", "Page3", "Page14", "Show Setting Panel", "Erasing ...", "Time", "Leq",
          "dB (Y):", "LunchTime", "Stop", "Lower Limit Range : 70 ~ 140 !!!", "exit", "Exit ", ""})
        EXPECT_EQ(sq::findTextByKey(text), -1) << '"' << text << '"';
}

TEST(LanguageTexts, loadingDefaultsFillsEveryEntryAndNamedMembersReadThem) {
    sq::LanguageTexts table;
    EXPECT_TRUE(table.TxtClearMemory.empty());
    sq::loadDefaultTexts(table);
    for (std::size_t i = 0; i < std::size(kExpected); ++i)
        EXPECT_EQ(sq::textAt(table, i), kExpected[i].english) << kExpected[i].name;
    EXPECT_EQ(table.TxtClearMemory, "Clear Memory");
    EXPECT_EQ(table.TxtTimers, "Time");
    EXPECT_EQ(table.TxtNosY, "dB (Y):");
    EXPECT_EQ(table.TxtErasing, "Erasing ...");
    EXPECT_EQ(table.TxtLunchTime, "LunchTime");
    EXPECT_EQ(table.TxtOutputRecordData, "Output Record Data?");
}

TEST(LanguageTexts, startUpLoadsTheDefaultsIntoTheRunsTable) {
    sq::LanguageTexts& table = sq::texts();
    table.TxtSetOK.clear();
    sq::LoadDefaultTexts();
    EXPECT_EQ(sq::texts().TxtSetOK, "Set OK !!!");
}

}  // namespace
