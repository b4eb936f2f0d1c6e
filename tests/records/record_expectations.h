#pragma once
// The point grid a downloaded record must show, worked out from the simulator's record with the
// simulator's own calendar: number, time (start plus (p + 1) intervals, the last point at D1's stop
// time), and level cells ("--" for 0, "*" on every cell of a marked point, " dB" after each).
#include <array>
#include <string>
#include <vector>

#include "metersim/record.h"
#include "metersim/simulator.h"

namespace sqtest {

using Cells = std::array<std::string, 6>;

inline std::string expectedLevelCell(uint16_t raw, bool mark) {
    std::string cell = mark ? "*" : "";
    cell += raw == 0 ? std::string("--") : std::to_string(raw / 10) + "." + std::to_string(raw % 10);
    return cell + " dB";
}

inline std::vector<Cells> expectedPointRows(const sq::metersim::StoredRecord& r) {
    namespace ms = sq::metersim;
    std::vector<Cells> rows;
    const size_t n = r.points.size();
    for (size_t p = 0; p < n; ++p) {
        const ms::Point& pt = r.points[p];
        const std::string time =
            p + 1 == n ? ms::formatDateTime(r.header.channel[0].stop)
                       : ms::formatDateTime(ms::addSeconds(
                             r.header.start, static_cast<long long>(r.header.interval) * (p + 1)));
        rows.push_back({std::to_string(p + 1), time, expectedLevelCell(pt.lavg, pt.mark),
                        expectedLevelCell(pt.leq, pt.mark), expectedLevelCell(pt.lcpk, pt.mark),
                        expectedLevelCell(pt.lzpk, pt.mark)});
    }
    return rows;
}

// Points with levels that vary from point to point, a zero now and then and some marks.
inline std::vector<sq::metersim::Point> variedPoints(size_t n) {
    std::vector<sq::metersim::Point> points;
    for (size_t p = 0; p < n; ++p) {
        sq::metersim::Point pt;
        pt.lavg = static_cast<uint16_t>(p % 17 == 5 ? 0 : 600 + (p * 37) % 400);
        pt.leq = static_cast<uint16_t>(p % 23 == 7 ? 0 : 650 + (p * 53) % 350);
        pt.lcpk = static_cast<uint16_t>(900 + (p * 71) % 500);
        pt.lzpk = static_cast<uint16_t>(p % 29 == 3 ? 0 : 950 + (p * 89) % 450);
        pt.mark = p % 13 == 4;
        points.push_back(pt);
    }
    return points;
}

// A record of n varied points, `interval` seconds apart, starting 2022/03/30 14:05:09. D1 stops a few
// seconds after the last interval, so the last point's time shows where it comes from.
inline sq::metersim::StoredRecord recordOf(size_t n, uint32_t interval = 60) {
    auto r = sq::metersim::makeRecord({2022, 3, 30, 14, 5, 9}, interval, variedPoints(n));
    r.header.channel[0].stop = sq::metersim::addSeconds(r.header.channel[0].stop, 7);
    return r;
}

}  // namespace sqtest
