#include "metersim/demo_records.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace sq::metersim {

namespace {

// A small deterministic generator, so the demo set never changes between runs.
class Noise {
public:
    explicit Noise(uint32_t seed) : m_state(seed) {}
    double uniform() {  // 0 to 1
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) / 16777216.0;
    }
    double around(double spread) { return (uniform() * 2.0 - 1.0) * spread; }

private:
    uint32_t m_state;
};

uint16_t tenths(double dB) {
    return static_cast<uint16_t>(std::clamp(std::lround(dB * 10.0), 300L, 1500L));
}

// Workplace level in dB at `hourOfShift` (0 = shift start): machines running, quieter breaks.
double shiftLevel(double hourOfShift, Noise& noise) {
    bool lunch = hourOfShift >= 5.0 && hourOfShift < 5.5;
    bool coffee = hourOfShift >= 2.5 && hourOfShift < 2.75;
    double base = lunch ? 62.0 : coffee ? 70.0 : 84.0 + 3.0 * std::sin(hourOfShift * 1.3);
    double level = base + noise.around(2.5);
    if (!lunch && noise.uniform() < 0.03) level += 6.0 + noise.around(3.0);  // a loud job now and then
    return level;
}

Point makePoint(double lavg, Noise& noise, bool mark) {
    double leq = lavg + 0.8 + noise.around(0.6);
    double cpk = lavg + 28.0 + noise.around(4.0);
    if (noise.uniform() < 0.01) cpk += 12.0;  // an impact
    double zpk = cpk + 2.0 + noise.uniform() * 3.0;
    return Point{tenths(lavg), tenths(leq), tenths(cpk), tenths(zpk), mark};
}

StoredRecord shift(const DateTime& start, uint32_t interval, size_t count, uint32_t seed, size_t markEvery) {
    Noise noise(seed);
    std::vector<Point> points;
    points.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        double hour = static_cast<double>(i + 1) * interval / 3600.0;
        points.push_back(makePoint(shiftLevel(hour, noise), noise, i % markEvery == markEvery / 2));
    }
    StoredRecord r;
    r.header.start = start;
    r.header.interval = interval;
    r.header.channel[0] = DoseChannelSummary{};  // D1: 80 dB threshold, 90 dB criterion, 5 dB rate
    r.header.channel[1].threshold = 80;
    r.header.channel[1].criterion = 85;
    r.header.channel[1].exchangeRate = 3;
    r.header.channel[2].threshold = 70;
    r.header.channel[2].criterion = 90;
    r.header.channel[2].exchangeRate = 3;
    r.header.channel[2].exceedanceLevel = 140;
    for (size_t p = 0; p < r.header.pageChannel.size(); ++p)
        r.header.pageChannel[p] = static_cast<uint8_t>(p % 3);
    r.points = std::move(points);
    deriveSummary(r);
    return r;
}

}  // namespace

std::vector<StoredRecord> demoRecords() {
    return {
        shift({2022, 3, 30, 14, 5, 9}, 60, 35, 11, 12),
        shift({2022, 3, 31, 7, 0, 0}, 60, 480, 22, 97),
        shift({2022, 4, 1, 6, 30, 0}, 3, 10000, 33, 1250),
    };
}

}  // namespace sq::metersim
