// The 536-byte record header: the encoder against an independent decoder built from the offset
// table, field by field, with a distinct value in every field.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "metersim/record.h"

namespace {

using namespace sq::metersim;

struct Field {
    std::string name;
    size_t offset;
    size_t width;
};

// The header layout, written out from the record header's offset table.
std::vector<Field> layout() {
    std::vector<Field> f;
    auto add = [&](std::string name, size_t offset, size_t width) {
        f.push_back({std::move(name), offset, width});
    };
    add("start.year", 0, 2);
    add("start.month", 2, 1);
    add("start.day", 3, 1);
    add("start.hour", 4, 1);
    add("start.minute", 5, 1);
    add("start.second", 6, 1);
    for (size_t i = 0; i < 3; ++i) {
        std::string c = "ch" + std::to_string(i) + ".";
        add(c + "stop.hour", 7 + 3 * i, 1);
        add(c + "stop.minute", 8 + 3 * i, 1);
        add(c + "stop.second", 9 + 3 * i, 1);
        add(c + "stop.year", 16 + 4 * i, 2);
        add(c + "stop.month", 18 + 4 * i, 1);
        add(c + "stop.day", 19 + 4 * i, 1);
        add(c + "threshold", 43 + i, 1);
        add(c + "criterion", 46 + i, 1);
        add(c + "exchangeRate", 49 + i, 1);
        add(c + "exceedanceLevel", 52 + i, 1);
        add(c + "pwDuration", 56 + 4 * i, 4);
        add(c + "exceedanceTime", 76 + 4 * i, 4);
        add(c + "exceedanceStopTime", 88 + 4 * i, 4);
        add(c + "dose", 100 + 4 * i, 4);
        add(c + "pdose", 112 + 4 * i, 4);
        add(c + "ea", 124 + 4 * i, 4);
        add(c + "ec", 136 + 4 * i, 4);
        add(c + "ez", 148 + 4 * i, 4);
        add(c + "exps", 160 + 4 * i, 4);
        add(c + "twa", 244 + 2 * i, 2);
        add(c + "ptwa", 250 + 2 * i, 2);
        add(c + "lavg", 256 + 2 * i, 2);
        add(c + "lepd", 262 + 2 * i, 2);
        add(c + "plepd", 268 + 2 * i, 2);
        add(c + "laeq", 274 + 2 * i, 2);
        add(c + "lceq", 280 + 2 * i, 2);
        add(c + "lzeq", 286 + 2 * i, 2);
        add(c + "lae", 292 + 2 * i, 2);
        add(c + "lce", 298 + 2 * i, 2);
        add(c + "lze", 304 + 2 * i, 2);
        add(c + "pkc", 310 + 2 * i, 2);
        add(c + "pkz", 316 + 2 * i, 2);
        add(c + "pka", 322 + 2 * i, 2);
        add(c + "lex8h", 328 + 2 * i, 2);
        add(c + "plex8h", 334 + 2 * i, 2);
        add(c + "exph", 340 + 2 * i, 2);
        add(c + "hml", 516 + 2 * i, 2);
        add(c + "ti", 522 + 2 * i, 2);
    }
    for (size_t p = 0; p < 14; ++p) add("page" + std::to_string(p), 28 + p, 1);
    add("measurementDuration", 68, 4);
    add("interval", 72, 4);
    for (size_t k = 0; k < 9; ++k) {
        std::string w = "w" + std::to_string(k) + ".";
        add(w + "maxTime", 172 + 8 * k, 4);
        add(w + "minTime", 176 + 8 * k, 4);
        add(w + "max", 358 + 4 * k, 2);
        add(w + "min", 360 + 4 * k, 2);
        add(w + "l05", 394 + 2 * k, 2);
        add(w + "l10", 414 + 2 * k, 2);
        add(w + "l50", 434 + 2 * k, 2);
        add(w + "l90", 454 + 2 * k, 2);
        add(w + "l95", 474 + 2 * k, 2);
    }
    add("laeq05", 412, 2);
    add("laeq10", 432, 2);
    add("laeq50", 452, 2);
    add("laeq90", 472, 2);
    add("laeq95", 492, 2);
    for (size_t j = 0; j < 3; ++j) add("ieq" + std::to_string(j), 506 + 2 * j, 2);
    add("laftm5", 512, 2);
    add("laftm3", 514, 2);
    add("ki", 528, 2);
    add("pointCount", 532, 2);
    return f;
}

uint32_t readLe(const Bytes& b, size_t at, size_t width) {
    uint32_t v = 0;
    for (size_t i = width; i-- > 0;) v = v << 8 | b.at(at + i);
    return v;
}

// Fills every header field with a value no other field has, and records what it put where.
class Filler {
public:
    std::map<std::string, uint32_t> expected;
    template <typename T>
    void put(const std::string& name, T& field, uint32_t base) {
        field = static_cast<T>(base + m_next++);
        expected[name] = static_cast<uint32_t>(field);
    }
    void putDate(const std::string& name, DateTime& t, bool withTime = true) {
        put(name + ".year", t.year, 0x700);
        put(name + ".month", t.month, 0);
        put(name + ".day", t.day, 0);
        if (!withTime) return;
        put(name + ".hour", t.hour, 0);
        put(name + ".minute", t.minute, 0);
        put(name + ".second", t.second, 0);
    }

private:
    uint32_t m_next = 1;
};

RecordHeader filledHeader(Filler& f) {
    RecordHeader h;
    f.putDate("start", h.start);
    for (size_t i = 0; i < 3; ++i) {
        DoseChannelSummary& c = h.channel[i];
        std::string p = "ch" + std::to_string(i) + ".";
        f.putDate(p + "stop", c.stop);
        f.put(p + "threshold", c.threshold, 0);
        f.put(p + "criterion", c.criterion, 0);
        f.put(p + "exchangeRate", c.exchangeRate, 0);
        f.put(p + "exceedanceLevel", c.exceedanceLevel, 0);
        const std::pair<const char*, uint32_t*> longs[] = {{"pwDuration", &c.pwDurationMinutes},
                                                           {"exceedanceTime", &c.exceedanceTime},
                                                           {"exceedanceStopTime", &c.exceedanceStopTime},
                                                           {"dose", &c.dose},
                                                           {"pdose", &c.pdose},
                                                           {"ea", &c.ea},
                                                           {"ec", &c.ec},
                                                           {"ez", &c.ez},
                                                           {"exps", &c.exps}};
        for (auto [name, field] : longs) f.put(p + name, *field, 0x81020000);
        const std::pair<const char*, uint16_t*> words[] = {
            {"twa", &c.twa},     {"ptwa", &c.ptwa}, {"lavg", &c.lavg},   {"lepd", &c.lepd},
            {"plepd", &c.plepd}, {"laeq", &c.laeq}, {"lceq", &c.lceq},   {"lzeq", &c.lzeq},
            {"lae", &c.lae},     {"lce", &c.lce},   {"lze", &c.lze},     {"pkc", &c.pkc},
            {"pkz", &c.pkz},     {"pka", &c.pka},   {"lex8h", &c.lex8h}, {"plex8h", &c.plex8h},
            {"exph", &c.exph},   {"hml", &c.hml},   {"ti", &c.ti}};
        for (auto [name, field] : words) f.put(p + name, *field, 0x8100);
    }
    for (size_t p = 0; p < 14; ++p) f.put("page" + std::to_string(p), h.pageChannel[p], 0);
    f.put("measurementDuration", h.measurementDuration, 0x00FE0000);
    f.put("interval", h.interval, 0x00FD0000);
    for (size_t k = 0; k < 9; ++k) {
        WeightingSummary& w = h.weighting[k];
        std::string p = "w" + std::to_string(k) + ".";
        f.put(p + "maxTime", w.maxTime, 0x00030000);
        f.put(p + "minTime", w.minTime, 0x00040000);
        const std::pair<const char*, uint16_t*> words[] = {{"max", &w.max}, {"min", &w.min}, {"l05", &w.l05},
                                                           {"l10", &w.l10}, {"l50", &w.l50}, {"l90", &w.l90},
                                                           {"l95", &w.l95}};
        for (auto [name, field] : words) f.put(p + name, *field, 0x0300);
    }
    f.put("laeq05", h.laeq05, 0x0400);
    f.put("laeq10", h.laeq10, 0x0400);
    f.put("laeq50", h.laeq50, 0x0400);
    f.put("laeq90", h.laeq90, 0x0400);
    f.put("laeq95", h.laeq95, 0x0400);
    for (size_t j = 0; j < 3; ++j) f.put("ieq" + std::to_string(j), h.ieq[j], 0x0500);
    f.put("laftm5", h.laftm5, 0x0500);
    f.put("laftm3", h.laftm3, 0x0500);
    f.put("ki", h.ki, 0x0500);
    f.put("pointCount", h.pointCount, 0x1000);
    return h;
}

TEST(RecordHeader, everyFieldLandsAtItsOffsetLowByteFirst) {
    Filler filler;
    RecordHeader h = filledHeader(filler);
    Bytes b = encodeHeader(h, 7);
    ASSERT_EQ(b.size(), 536u);

    std::vector<int> owner(536, -1);
    std::vector<Field> fields = layout();
    for (size_t n = 0; n < fields.size(); ++n) {
        const Field& f = fields[n];
        for (size_t i = 0; i < f.width; ++i) {
            EXPECT_EQ(owner.at(f.offset + i), -1)
                << f.name << " overlaps " << fields[owner[f.offset + i]].name;
            owner[f.offset + i] = static_cast<int>(n);
        }
        ASSERT_TRUE(filler.expected.count(f.name)) << f.name;
        EXPECT_EQ(readLe(b, f.offset, f.width), filler.expected[f.name]) << f.name;
    }
    EXPECT_EQ(fields.size(), filler.expected.size());
    for (size_t at = 0; at < b.size(); ++at)
        if (owner[at] < 0) {
            EXPECT_EQ(b[at], 0) << "unused byte " << at;
        }
}

TEST(RecordHeader, pointCountDefaultsToTheStoredPointsAndPatchesApply) {
    StoredRecord r;
    r.points.resize(300);
    r.headerPatches = {{103, 0x80}, {600, 0x01}};
    Bytes b = encodeHeader(r);
    EXPECT_EQ(b[532], 300 & 0xFF);
    EXPECT_EQ(b[533], 300 >> 8);
    EXPECT_EQ(b[103], 0x80);  // top byte of D1's dose, as a test of an undecodable value
    EXPECT_EQ(b.size(), 536u);
}

TEST(RecordHeader, summaryFromPointsIsConsistent) {
    std::vector<Point> points(480, Point{850, 850, 1100, 1150, false});
    points[100].lavg = 950;
    points[100].leq = 950;
    StoredRecord r;
    r.header.start = {2022, 3, 30, 8, 0, 0};
    r.header.interval = 60;
    r.header.channel[0].criterion = 90;
    r.header.channel[0].exchangeRate = 5;
    r.header.channel[0].threshold = 80;
    r.points = points;
    deriveSummary(r);
    const RecordHeader& h = r.header;
    EXPECT_EQ(h.measurementDuration, 28800u);
    EXPECT_EQ(h.channel[0].stop, (DateTime{2022, 3, 30, 16, 0, 0}));
    EXPECT_EQ(r.listTime, h.start);
    EXPECT_EQ(h.weighting[1].max, 950);  // LAS
    EXPECT_EQ(h.weighting[1].maxTime, 101u * 60u);
    EXPECT_EQ(h.weighting[1].l50, 850);
    EXPECT_EQ(h.channel[0].pkc, 1100);
    // 479 minutes at 85 dB and one at 95 dB under 90 dB / 5 dB: 479/480 * 0.5 + 1/480 * 2.
    EXPECT_NEAR(h.channel[0].dose, 503, 1);
    EXPECT_NEAR(h.channel[0].twa, 850, 1);
}

}  // namespace
