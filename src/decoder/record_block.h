#pragma once
// Decoding of record blocks: points into texts, marks and point-grid rows, and the point times.
#include <cstdint>
#include <optional>
#include <string>

#include "shared/record_state.h"

namespace sq {

constexpr int kPointSize = 8;
constexpr int kPointsPerBlock = 10;

// Points carried by block `block` of a record of `totalPoints` (ten, the rest for the last, or 0).
int pointsInBlock(int64_t totalPoints, int64_t block);
// The last block is the one with at most ten points left.
bool isLastBlock(int64_t totalPoints, int64_t block);

// A "yyyy/mm/dd hh:nn:ss" text read as seconds on a continuous civil clock; nullopt when it is not a
// valid date and time (year 100 to 9999).
std::optional<int64_t> parseDateTimeText(const std::string& text);
// The text of such a second count; empty when it falls outside years 100 to 9999.
std::string dateTimeTextOf(int64_t seconds);

// The point times of one record: point p is stamped at the start plus (p + 1) intervals, the record's
// last point with D1's stop time. A time that cannot be formed is empty.
class PointClock {
public:
    PointClock(const std::string& startTime, const std::string& intervalSec, const std::string& stopTime);
    [[nodiscard]] std::string timeOf(int64_t pointIndex, bool lastOfRecord) const;

private:
    std::optional<int64_t> m_start;
    int64_t m_interval = 0;
    std::string m_stopText;
};

// Decodes the 8 bytes of point p into the arrays (when p lies within them) and returns its grid row.
// `dbUnit` is the text after each level ("dB" in English).
PointRow decodePoint(const uint8_t* bytes, int64_t p, const std::string& time, const std::string& dbUnit,
                     RecordArrays& arrays);

}  // namespace sq
