#pragma once
// A stored measurement record as the instrument keeps it: the date and time shown in the memory
// list, the 536-byte little-endian header encoded from readable fields, and the points (four levels
// in 0.1 dB each, the first with a mark flag). Levels are 16-bit tenths of a dB; 32-bit fields are
// raw bit patterns, so a test can put any top byte on the wire.
#include <array>
#include <cstdint>
#include <vector>

#include "metersim/protocol.h"

namespace sq::metersim {

inline constexpr size_t kHeaderSize = 536;
inline constexpr size_t kPointSize = 8;
inline constexpr size_t kPointsPerBlock = 10;

struct DoseChannelSummary {
    DateTime stop;
    uint8_t threshold = 80;         // dB
    uint8_t criterion = 90;         // dB
    uint8_t exchangeRate = 5;       // dB
    uint8_t exceedanceLevel = 115;  // dB
    uint32_t pwDurationMinutes = 480;
    uint32_t exceedanceTime = 0;      // s
    uint32_t exceedanceStopTime = 0;  // s
    uint32_t dose = 0;                // 0.1 %
    uint32_t pdose = 0;               // 0.1 %
    uint32_t ea = 0;                  // Pa²s
    uint32_t ec = 0;
    uint32_t ez = 0;
    uint32_t exps = 0;                                          // 0.1 Pa²s
    uint16_t twa = 0, ptwa = 0, lavg = 0, lepd = 0, plepd = 0;  // 0.1 dB from here on
    uint16_t laeq = 0, lceq = 0, lzeq = 0, lae = 0, lce = 0, lze = 0;
    uint16_t pkc = 0, pkz = 0, pka = 0, lex8h = 0, plex8h = 0;
    uint16_t exph = 0;  // 0.1 Pa²h
    uint16_t hml = 0, ti = 0;
};

// Per weighting and time constant, in the order LAF, LAS, LAI, LCF, LCS, LCI, LZF, LZS, LZI.
struct WeightingSummary {
    uint32_t maxTime = 0;  // s
    uint32_t minTime = 0;  // s
    uint16_t max = 0, min = 0;
    uint16_t l05 = 0, l10 = 0, l50 = 0, l90 = 0, l95 = 0;
};

struct RecordHeader {
    DateTime start;
    std::array<DoseChannelSummary, 3> channel{};
    std::array<uint8_t, 14> pageChannel{};  // dose channel of display pages 1 to 14
    uint32_t measurementDuration = 0;       // s
    uint32_t interval = 60;                 // s
    std::array<WeightingSummary, 9> weighting{};
    uint16_t laeq05 = 0, laeq10 = 0, laeq50 = 0, laeq90 = 0, laeq95 = 0;
    std::array<uint16_t, 3> ieq{};  // LAIEQ, LCIEQ, LZIEQ
    uint16_t laftm5 = 0, laftm3 = 0, ki = 0;
    int pointCount = -1;  // -1: the number of stored points
};

struct Point {
    uint16_t lavg = 0;  // 0.1 dB, below 32768
    uint16_t leq = 0;
    uint16_t lcpk = 0;
    uint16_t lzpk = 0;
    bool mark = false;
};

struct StoredRecord {
    DateTime listTime;  // shown in the memory list; addRecord takes the header's start when left zero
    RecordHeader header;
    std::vector<Point> points;
    // Bytes put over the encoded header (offset, value), for tests of odd layouts.
    std::vector<std::pair<size_t, uint8_t>> headerPatches;
};

// The 536 header bytes; `storedPoints` fills the point count when the header leaves it at -1.
Bytes encodeHeader(const RecordHeader& h, size_t storedPoints);
Bytes encodeHeader(const StoredRecord& r);
void appendPoint(Bytes& out, const Point& p);
// Number of blocks the points fill (a record without points has none).
[[nodiscard]] size_t blockCount(const StoredRecord& r);
// Data of block b (points 10b to 10b + 9); empty when b is past the last block.
Bytes encodeBlock(const StoredRecord& r, size_t block);
// Bytes the record takes in the instrument's memory (header and points).
[[nodiscard]] uint32_t storedSize(const StoredRecord& r);

// Fills the header's summary values from the points the way the instrument would: stop times,
// duration, equivalent levels, maxima and minima with their times, percentile levels, peaks, and
// dose, TWA and exposure per dose channel from its threshold, criterion and exchange rate.
void deriveSummary(StoredRecord& r);

}  // namespace sq::metersim
