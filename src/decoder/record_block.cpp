#include "decoder/record_block.h"

#include "platform/numbers.h"

namespace sq {

namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr uint16_t kMarkBit = 0x8000;

// Days from 1970-01-01 of a proleptic Gregorian date.
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int64_t& y, int64_t& m, int64_t& d) {
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp + (mp < 10 ? 3 : -9);
    y = yoe + era * 400 + (m <= 2);
}

bool isLeap(int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int64_t y, int64_t m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// Reads `width` digits at `pos`; -1 when any is not a digit.
int64_t digitsAt(const std::string& text, size_t pos, size_t width) {
    int64_t v = 0;
    for (size_t i = pos; i < pos + width; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        v = v * 10 + (text[i] - '0');
    }
    return v;
}

bool separatorsMatch(const std::string& text) {
    return text[4] == '/' && text[7] == '/' && text[10] == ' ' && text[13] == ':' && text[16] == ':';
}

std::string levelCell(const std::string& level, bool marked, const std::string& dbUnit) {
    std::string cell = marked ? "*" : "";
    cell += leadingNumber(level) == 0 ? std::string("--") : level;
    cell += ' ';
    cell += dbUnit;
    return cell;
}

}  // namespace

int pointsInBlock(int64_t totalPoints, int64_t block) {
    int64_t left = totalPoints - block * kPointsPerBlock;
    if (left <= 0) return 0;
    return static_cast<int>(left < kPointsPerBlock ? left : kPointsPerBlock);
}

bool isLastBlock(int64_t totalPoints, int64_t block) {
    return totalPoints * kPointSize - block * kPointsPerBlock * kPointSize <= kPointsPerBlock * kPointSize;
}

std::optional<int64_t> parseDateTimeText(const std::string& text) {
    if (text.size() != 19 || !separatorsMatch(text)) return std::nullopt;
    int64_t y = digitsAt(text, 0, 4), mo = digitsAt(text, 5, 2), d = digitsAt(text, 8, 2);
    int64_t h = digitsAt(text, 11, 2), mi = digitsAt(text, 14, 2), s = digitsAt(text, 17, 2);
    if (y < 100 || mo < 1 || mo > 12 || d < 1 || h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59)
        return std::nullopt;
    if (d > daysInMonth(y, mo)) return std::nullopt;
    return daysFromCivil(y, mo, d) * kSecondsPerDay + h * 3600 + mi * 60 + s;
}

std::string dateTimeTextOf(int64_t seconds) {
    int64_t days =
        seconds >= 0 ? seconds / kSecondsPerDay : -((-seconds + kSecondsPerDay - 1) / kSecondsPerDay);
    int64_t rest = seconds - days * kSecondsPerDay;
    int64_t y, m, d;
    civilFromDays(days, y, m, d);
    if (y < 100 || y > 9999) return {};
    std::string out(19, ' ');
    auto put = [&out](size_t pos, int64_t v, size_t width) {
        for (size_t i = 0; i < width; ++i) {
            out[pos + width - 1 - i] = static_cast<char>('0' + v % 10);
            v /= 10;
        }
    };
    put(0, y, 4);
    out[4] = '/';
    put(5, m, 2);
    out[7] = '/';
    put(8, d, 2);
    put(11, rest / 3600, 2);
    out[13] = ':';
    put(14, rest % 3600 / 60, 2);
    out[16] = ':';
    put(17, rest % 60, 2);
    return out;
}

PointClock::PointClock(const std::string& startTime, const std::string& intervalSec,
                       const std::string& stopTime)
    : m_start(parseDateTimeText(startTime)), m_interval(static_cast<int64_t>(leadingNumber(intervalSec))) {
    auto stop = parseDateTimeText(stopTime);
    if (stop) m_stopText = dateTimeTextOf(*stop);
}

std::string PointClock::timeOf(int64_t pointIndex, bool lastOfRecord) const {
    if (lastOfRecord) return m_stopText;
    if (!m_start) return {};
    return dateTimeTextOf(*m_start + m_interval * (pointIndex + 1));
}

PointRow decodePoint(const uint8_t* b, int64_t p, const std::string& time, const std::string& dbUnit,
                     RecordArrays& arrays) {
    uint16_t raw = readLeU16(b);
    bool marked = (raw & kMarkBit) != 0;
    std::string lavg = formatFixed((raw & ~kMarkBit) / 10.0, 1);
    std::string leq = formatFixed(readLeU16(b + 2) / 10.0, 1);
    std::string lcpk = formatFixed(readLeU16(b + 4) / 10.0, 1);
    std::string lzpk = formatFixed(readLeU16(b + 6) / 10.0, 1);
    PointRow row;
    row.cells = {std::to_string(p + 1),           time,
                 levelCell(lavg, marked, dbUnit), levelCell(leq, marked, dbUnit),
                 levelCell(lcpk, marked, dbUnit), levelCell(lzpk, marked, dbUnit)};
    if (p >= 0 && static_cast<size_t>(p) < arrays.PointMark.size()) {
        arrays.PointMark[p] = marked ? 1 : 0;
        arrays.PointLavg[p] = std::move(lavg);
        arrays.PointLeq[p] = std::move(leq);
        arrays.PointLcpk[p] = std::move(lcpk);
        arrays.PointLzpk[p] = std::move(lzpk);
    }
    return row;
}

}  // namespace sq
