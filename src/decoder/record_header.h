#pragma once
// Decoding of a stored record's 536-byte header into the summary texts, and the text forms they use.
#include <cstdint>
#include <optional>
#include <string>

#include "shared/record_state.h"

namespace sq {

constexpr int kRecordHeaderSize = 536;

// Text forms of the summary.
// "yyyy/mm/dd hh:nn:ss" without range tests (a month of 13 shows as 13).
std::string headerDateTimeText(int year, int month, int day, int hour, int minute, int second);
// hh:nn:ss with at least two hour digits (28800 -> 08:00:00, 360000 -> 100:00:00).
std::string durationText(int64_t seconds);
// h:nn:ss with the hours as a plain number (3725 -> 1:02:05).
std::string shortDurationText(int64_t seconds);
// The value divided by 10 with one decimal.
std::string tenthsText(int64_t raw);
// The value divided by 3600 with three decimals (Pa²s shown in Pa²h).
std::string by3600Text(int64_t raw);
// Tenths, or "---.-" when the number in the tenths text is below `floor`.
std::string flooredTenthsText(int64_t raw, double floor);

// NEN (from Dose) or PNEN (from PDose) of one channel from the number texts of the same record:
// nullopt when the exchange rate is not 3 to 6, the dose is 0, or the record's length is 0.
std::optional<std::string> nenText(const std::string& criterion, const std::string& exchangeRate,
                                   const std::string& dose, const std::string& totalPoints,
                                   const std::string& intervalSec);

// Writes every summary text and page channel from the header bytes d[0..535]. A field that cannot be
// decoded (a 32-bit value with its top byte at 0x80 or more, a PW duration whose seconds overflow)
// and a NEN or PNEN that cannot be computed get "0", so nothing of an earlier record remains.
void DecodeHeaderTexts(const uint8_t* d, RecordSummaryTexts& texts, PageChannelTable& pages);

}  // namespace sq
