#include "metersim/record.h"

#include <algorithm>
#include <cmath>

namespace sq::metersim {

namespace {

class HeaderWriter {
public:
    HeaderWriter() : m_bytes(kHeaderSize, 0) {}
    void u8(size_t at, uint32_t v) { m_bytes[at] = static_cast<uint8_t>(v); }
    void le16(size_t at, uint32_t v) {
        u8(at, v & 0xFF);
        u8(at + 1, (v >> 8) & 0xFF);
    }
    void le32(size_t at, uint32_t v) {
        le16(at, v & 0xFFFF);
        le16(at + 2, v >> 16);
    }
    Bytes take() { return std::move(m_bytes); }

private:
    Bytes m_bytes;
};

void writeDateTimes(HeaderWriter& w, const RecordHeader& h) {
    w.le16(0, static_cast<uint32_t>(h.start.year));
    w.u8(2, h.start.month);
    w.u8(3, h.start.day);
    w.u8(4, h.start.hour);
    w.u8(5, h.start.minute);
    w.u8(6, h.start.second);
    for (size_t i = 0; i < 3; ++i) {
        const DateTime& s = h.channel[i].stop;
        w.u8(7 + 3 * i, s.hour);
        w.u8(8 + 3 * i, s.minute);
        w.u8(9 + 3 * i, s.second);
        w.le16(16 + 4 * i, static_cast<uint32_t>(s.year));
        w.u8(18 + 4 * i, s.month);
        w.u8(19 + 4 * i, s.day);
    }
}

void writeChannel(HeaderWriter& w, size_t i, const DoseChannelSummary& c) {
    w.u8(43 + i, c.threshold);
    w.u8(46 + i, c.criterion);
    w.u8(49 + i, c.exchangeRate);
    w.u8(52 + i, c.exceedanceLevel);
    w.le32(56 + 4 * i, c.pwDurationMinutes);
    w.le32(76 + 4 * i, c.exceedanceTime);
    w.le32(88 + 4 * i, c.exceedanceStopTime);
    w.le32(100 + 4 * i, c.dose);
    w.le32(112 + 4 * i, c.pdose);
    w.le32(124 + 4 * i, c.ea);
    w.le32(136 + 4 * i, c.ec);
    w.le32(148 + 4 * i, c.ez);
    w.le32(160 + 4 * i, c.exps);
    const uint16_t levels[] = {c.twa, c.ptwa, c.lavg, c.lepd, c.plepd, c.laeq,  c.lceq,   c.lzeq, c.lae,
                               c.lce, c.lze,  c.pkc,  c.pkz,  c.pka,   c.lex8h, c.plex8h, c.exph};
    for (size_t f = 0; f < std::size(levels); ++f) w.le16(244 + 6 * f + 2 * i, levels[f]);
    w.le16(516 + 2 * i, c.hml);
    w.le16(522 + 2 * i, c.ti);
}

void writeWeighting(HeaderWriter& w, size_t k, const WeightingSummary& s) {
    w.le32(172 + 8 * k, s.maxTime);
    w.le32(176 + 8 * k, s.minTime);
    w.le16(358 + 4 * k, s.max);
    w.le16(360 + 4 * k, s.min);
    const uint16_t percentiles[] = {s.l05, s.l10, s.l50, s.l90, s.l95};
    for (size_t b = 0; b < 5; ++b) w.le16(394 + 20 * b + 2 * k, percentiles[b]);
}

}  // namespace

Bytes encodeHeader(const RecordHeader& h, size_t storedPoints) {
    HeaderWriter w;
    writeDateTimes(w, h);
    for (size_t p = 0; p < h.pageChannel.size(); ++p) w.u8(28 + p, h.pageChannel[p]);
    for (size_t i = 0; i < 3; ++i) writeChannel(w, i, h.channel[i]);
    w.le32(68, h.measurementDuration);
    w.le32(72, h.interval);
    for (size_t k = 0; k < 9; ++k) writeWeighting(w, k, h.weighting[k]);
    const uint16_t laeqStats[] = {h.laeq05, h.laeq10, h.laeq50, h.laeq90, h.laeq95};
    for (size_t b = 0; b < 5; ++b) w.le16(412 + 20 * b, laeqStats[b]);
    for (size_t j = 0; j < 3; ++j) w.le16(506 + 2 * j, h.ieq[j]);
    w.le16(512, h.laftm5);
    w.le16(514, h.laftm3);
    w.le16(528, h.ki);
    w.le16(532,
           h.pointCount >= 0 ? static_cast<uint32_t>(h.pointCount) : static_cast<uint32_t>(storedPoints));
    return w.take();
}

Bytes encodeHeader(const StoredRecord& r) {
    Bytes b = encodeHeader(r.header, r.points.size());
    for (auto [at, v] : r.headerPatches)
        if (at < b.size()) b[at] = v;
    return b;
}

void appendPoint(Bytes& out, const Point& p) {
    putLe16(out, static_cast<uint32_t>(p.lavg & 0x7FFF) | (p.mark ? 0x8000u : 0u));
    putLe16(out, p.leq);
    putLe16(out, p.lcpk);
    putLe16(out, p.lzpk);
}

size_t blockCount(const StoredRecord& r) {
    return (r.points.size() + kPointsPerBlock - 1) / kPointsPerBlock;
}

Bytes encodeBlock(const StoredRecord& r, size_t block) {
    Bytes out;
    size_t first = block * kPointsPerBlock;
    if (first >= r.points.size()) return out;
    size_t last = std::min(first + kPointsPerBlock, r.points.size());
    out.reserve((last - first) * kPointSize);
    for (size_t i = first; i < last; ++i) appendPoint(out, r.points[i]);
    return out;
}

uint32_t storedSize(const StoredRecord& r) {
    return static_cast<uint32_t>(kHeaderSize + r.points.size() * kPointSize);
}

// ---- summary from the points ----

namespace {

constexpr double kRefPressureSquared = 4e-10;  // (20 µPa)²

uint16_t tenths(double dB) {
    return static_cast<uint16_t>(std::clamp(std::lround(dB * 10.0), 0L, 65535L));
}
uint32_t clampU32(double v) {
    return static_cast<uint32_t>(std::clamp(std::llround(v), 0LL, 0x7FFFFFFFLL));
}

double energyMean(const std::vector<double>& levels) {
    if (levels.empty()) return 0;
    double sum = 0;
    for (double l : levels) sum += std::pow(10.0, l / 10.0);
    return 10.0 * std::log10(sum / static_cast<double>(levels.size()));
}

// The level exceeded during `percent` of the time.
double exceeded(std::vector<double> levels, double percent) {
    if (levels.empty()) return 0;
    std::sort(levels.begin(), levels.end());
    double rank = (1.0 - percent / 100.0) * static_cast<double>(levels.size() - 1);
    return levels[static_cast<size_t>(std::lround(rank))];
}

struct Levels {
    std::vector<double> lavg, leq;
    double lcpkMax = 0, lzpkMax = 0;
};

Levels levelsOf(const std::vector<Point>& points) {
    Levels l;
    for (const Point& p : points) {
        l.lavg.push_back((p.lavg & 0x7FFF) / 10.0);
        l.leq.push_back(p.leq / 10.0);
        l.lcpkMax = std::max(l.lcpkMax, p.lcpk / 10.0);
        l.lzpkMax = std::max(l.lzpkMax, p.lzpk / 10.0);
    }
    return l;
}

void deriveChannel(DoseChannelSummary& c, const Levels& l, double interval, double laeq) {
    double seconds = interval * static_cast<double>(l.lavg.size());
    double er = c.exchangeRate > 0 ? c.exchangeRate : 3;
    double q = er / std::log10(2.0);
    double dose = 0;  // fraction of the allowed daily dose
    double exceedTime = 0, exceedStop = 0;
    for (size_t i = 0; i < l.lavg.size(); ++i) {
        double level = l.lavg[i];
        if (level >= c.threshold) dose += interval / (8 * 3600.0 * std::pow(2.0, (c.criterion - level) / er));
        if (level >= c.exceedanceLevel) {
            exceedTime += interval;
            exceedStop = interval * static_cast<double>(i + 1);
        }
    }
    double pwSeconds = c.pwDurationMinutes * 60.0;
    double pdose = seconds > 0 ? dose * pwSeconds / seconds : 0;
    c.dose = clampU32(dose * 1000.0);
    c.pdose = clampU32(pdose * 1000.0);
    c.exceedanceTime = clampU32(exceedTime);
    c.exceedanceStopTime = clampU32(exceedStop);
    if (dose > 0) {
        c.twa = tenths(c.criterion + q * std::log10(dose));
        c.lavg = tenths(c.criterion + q * std::log10(dose * 8 * 3600.0 / seconds));
    }
    if (pdose > 0) c.ptwa = tenths(c.criterion + q * std::log10(pdose));
    double toEightHours = seconds > 0 ? 10.0 * std::log10(seconds / 28800.0) : 0;
    double projected = pwSeconds > 0 ? 10.0 * std::log10(pwSeconds / 28800.0) : 0;
    c.laeq = tenths(laeq);
    c.lceq = tenths(laeq + 2.0);
    c.lzeq = tenths(laeq + 4.0);
    double logT = seconds > 0 ? 10.0 * std::log10(seconds) : 0;
    c.lae = tenths(laeq + logT);
    c.lce = tenths(laeq + 2.0 + logT);
    c.lze = tenths(laeq + 4.0 + logT);
    c.lepd = c.lex8h = tenths(laeq + toEightHours);
    c.plepd = c.plex8h = tenths(laeq + projected);
    c.pkc = tenths(l.lcpkMax);
    c.pkz = tenths(l.lzpkMax);
    c.pka = tenths(std::max(0.0, l.lcpkMax - 3.0));
    double ea = seconds * std::pow(10.0, laeq / 10.0) * kRefPressureSquared;
    c.ea = clampU32(ea);
    c.ec = clampU32(ea * std::pow(10.0, 0.2));
    c.ez = clampU32(ea * std::pow(10.0, 0.4));
    c.exps = clampU32(ea * 10.0);
    c.exph = static_cast<uint16_t>(std::clamp(std::lround(ea / 360.0), 0L, 65535L));
    c.hml = tenths(2.0);
    c.ti = c.twa;
}

void deriveWeightings(RecordHeader& h, const Levels& l, double interval) {
    static const double offset[9] = {1.5, 0.0, 3.0, 3.5, 2.0, 5.0, 5.5, 4.0, 7.0};
    auto maxIt = std::max_element(l.lavg.begin(), l.lavg.end());
    auto minIt = std::min_element(l.lavg.begin(), l.lavg.end());
    double maxTime = interval * static_cast<double>(maxIt - l.lavg.begin() + 1);
    double minTime = interval * static_cast<double>(minIt - l.lavg.begin() + 1);
    double p[5] = {exceeded(l.lavg, 5), exceeded(l.lavg, 10), exceeded(l.lavg, 50), exceeded(l.lavg, 90),
                   exceeded(l.lavg, 95)};
    for (size_t k = 0; k < 9; ++k) {
        WeightingSummary& w = h.weighting[k];
        w.max = tenths(*maxIt + offset[k]);
        w.min = tenths(*minIt + offset[k]);
        w.maxTime = clampU32(maxTime);
        w.minTime = clampU32(minTime);
        w.l05 = tenths(p[0] + offset[k]);
        w.l10 = tenths(p[1] + offset[k]);
        w.l50 = tenths(p[2] + offset[k]);
        w.l90 = tenths(p[3] + offset[k]);
        w.l95 = tenths(p[4] + offset[k]);
    }
    h.laeq05 = tenths(exceeded(l.leq, 5));
    h.laeq10 = tenths(exceeded(l.leq, 10));
    h.laeq50 = tenths(exceeded(l.leq, 50));
    h.laeq90 = tenths(exceeded(l.leq, 90));
    h.laeq95 = tenths(exceeded(l.leq, 95));
}

}  // namespace

void deriveSummary(StoredRecord& r) {
    RecordHeader& h = r.header;
    h.pointCount = -1;
    double interval = h.interval;
    long long seconds = static_cast<long long>(h.interval) * static_cast<long long>(r.points.size());
    h.measurementDuration = clampU32(static_cast<double>(seconds));
    for (auto& c : h.channel) c.stop = addSeconds(h.start, seconds);
    if (r.listTime == DateTime{}) r.listTime = h.start;
    if (r.points.empty()) return;
    Levels l = levelsOf(r.points);
    double laeq = energyMean(l.leq);
    for (auto& c : h.channel) deriveChannel(c, l, interval, laeq);
    deriveWeightings(h, l, interval);
    h.ieq = {tenths(laeq + 1.5), tenths(laeq + 3.5), tenths(laeq + 5.5)};
    h.laftm5 = tenths(laeq + 2.5);
    h.laftm3 = tenths(laeq + 1.8);
    h.ki = tenths(1.5);
}

}  // namespace sq::metersim
