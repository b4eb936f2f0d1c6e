#pragma once
// What the record list window's summary grid shows: the title row and ten fixed rows from the current
// record's summary texts, and the item rows that the user selects below them.
#include <array>
#include <string>

#include "shared/record_state.h"
#include "texts/language_texts.h"

namespace sq {

constexpr int kSummaryColumns = 4;
constexpr int kSummaryFixedRows = 11;  // title row and rows 1 to 10
constexpr int kSummaryItemCount = 103;
constexpr int kSavedItemCount = 102;  // items 0 to 101 are applied and saved; 102 never
constexpr int kFirstDisabledItem = 94;

using SummaryRow = std::array<std::string, kSummaryColumns>;

// Rows 0 to 10 of the summary grid, cells of columns 0 to 3.
std::array<SummaryRow, kSummaryFixedRows> summaryFixedRows(const RecordSummaryTexts& rec,
                                                           const LanguageTexts& t);
// Row 7's cell: the interval in whole minutes and " Min" (59 s -> "0 Min").
std::string intervalMinutesText(const std::string& intervalSec);

// The text of item n (0 to 102): its check box's caption and the key its box finds it by.
const std::string& summaryItemText(int item, const LanguageTexts& t);
// Boxes 94 to 102 stay disabled: the user and the select-all toggle leave them alone.
bool isItemBoxEnabled(int item);
// The item a box with this caption adds, by the match order (exact, case-sensitive); -1 for none.
int findSummaryItem(const std::string& caption, const LanguageTexts& t);
// The add-row text (cells joined by TAB) of item n with the current record's texts.
std::string summaryItemRow(int item, const RecordSummaryTexts& rec, const LanguageTexts& t);

}  // namespace sq
