// The display quantities of the display pages: their order (the wire format) and their item codes.
#include "settings/display_items.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/vb_error.h"
#include "texts/language_texts.h"

using namespace sq;

namespace {

// The list as its naming rule gives it: the peaks C, Z, A; maximum and minimum per weighting and time
// weighting; the percentiles per weighting A, C, Z as 10, 50, 90, 95, 05, each for F, S, I.
std::vector<std::string> expectedItems() {
    std::vector<std::string> items = {
        "SystemTime", "SPLAF", "SPLAS",   "SPLAI",     "SPLCF",    "SPLCS", "SPLCI", "SPLZF",
        "SPLZS",      "SPLZI", "Battery", "MemRemain", "Duration", "Dose",  "PDose", "TWA",
        "PTWA",       "LAVG",  "LEPd",    "PLEPd",     "LAEQ",     "LCEQ",  "LZEQ",  "LAE",
        "LCE",        "LZE",   "EA",      "EC",        "EZ",       "PKC",   "PKZ",   "PKA"};
    const std::string weightings = "ACZ", times = "FSI";
    for (char w : weightings)
        for (char t : times)
            for (const char* end : {"Max", "Min"}) items.push_back(std::string("L") + w + t + end);
    for (char w : weightings)
        for (const char* p : {"10", "50", "90", "95", "05"})
            for (char t : times) items.push_back(std::string("L") + w + t + p);
    for (const char* p : {"05", "10", "50", "90", "95"}) items.push_back(std::string("LAEQ") + p);
    for (const char* last : {"LEX8H", "PLEX8H", "EXPh", "EXPs", "NEN", "Exceedance", "OFF"})
        items.push_back(last);
    return items;
}

TEST(DisplayItemsTest, listFollowsTheNamingRuleAndEachEntryIsTheTextOfItsName) {
    LoadDefaultTexts();
    const std::vector<std::string> expected = expectedItems();
    ASSERT_EQ(expected.size(), DisplayItems().size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(texts().*DisplayItems()[i], expected[i]) << i;
        const TextEntry* entry = nullptr;
        for (const TextEntry& e : textEntries())
            if (e.member == DisplayItems()[i]) entry = &e;
        ASSERT_NE(entry, nullptr) << i;
        EXPECT_EQ(entry->name, "Txt" + expected[i]) << i;
    }
}

TEST(DisplayItemsTest, itemCodesSkipTheCodesNoEntryHasAndMapBack) {
    std::vector<int> codes;
    for (int i = 0; i < kDisplayItemCount; ++i) {
        codes.push_back(DisplayItemCode(i));
        EXPECT_EQ(DisplayItemIndex(codes.back()), i) << i;
    }
    EXPECT_EQ(codes[17], 17);
    EXPECT_EQ(codes[18], 19);
    EXPECT_EQ(codes[31], 32);
    EXPECT_EQ(codes[32], 34);
    EXPECT_EQ(codes[103], 105);
    EXPECT_EQ(codes[104], 130);
    EXPECT_EQ(codes[106], 132);
    const std::pair<int, int> unused[] = {{18, 18},   {33, 33},   {106, 80}, {129, 103},
                                          {130, 104}, {131, 105}, {132, 106}};
    for (auto [code, index] : unused) EXPECT_EQ(DisplayItemIndex(code), index) << code;
    EXPECT_THROW(DisplayItemCode(-1), VbError);
    EXPECT_THROW(DisplayItemCode(107), VbError);
}

}  // namespace
