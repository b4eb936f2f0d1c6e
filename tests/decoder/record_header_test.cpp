// The stored-record header: every summary text from a header with distinct values in every field, the
// text forms at their edges, NEN and PNEN, and the fields that cannot be decoded.
#include "decoder/record_header.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "metersim/record.h"

namespace {

using sq::RecordSummaryTexts;
namespace ms = sq::metersim;

// Expected texts, formed with integer arithmetic only.
std::string tenths(long long raw) {
    return std::to_string(raw / 10) + "." + std::to_string(raw % 10);
}
std::string thousandths(long long raw) {  // raw / 3600 with three decimals, halves up
    long long milli = (raw * 1000 + 1800) / 3600;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld.%03lld", milli / 1000, milli % 1000);
    return buf;
}
std::string hms(long long s, bool padHours) {
    char buf[48];
    std::snprintf(buf, sizeof buf, padHours ? "%02lld:%02lld:%02lld" : "%lld:%02lld:%02lld", s / 3600,
                  s % 3600 / 60, s % 60);
    return buf;
}
std::string stamp(const ms::DateTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return buf;
}

// A header in which every field holds a value of its own (all levels above the floors).
ms::RecordHeader distinctHeader() {
    ms::RecordHeader h;
    h.start = {2021, 11, 28, 7, 41, 3};
    for (int i = 0; i < 3; ++i) {
        auto& c = h.channel[i];
        c.stop = {2022 + i, 1 + i, 10 + i, 15 + i, 20 + i, 30 + i};
        c.threshold = 70 + i;
        c.criterion = 80 + i;
        c.exchangeRate = 3 + i;
        c.exceedanceLevel = 100 + 5 * i;
        c.pwDurationMinutes = 300 + 7 * i;
        c.exceedanceTime = 4000 + 11 * i;
        c.exceedanceStopTime = 5000 + 13 * i;
        c.dose = 1500 + 100 * i;
        c.pdose = 2500 + 100 * i;
        c.ea = 7200 * (i + 1) + 1234;
        c.ec = 7200 * (i + 4) + 2345;
        c.ez = 7200 * (i + 7) + 3456;
        c.exps = 40 + i;
        uint16_t base = static_cast<uint16_t>(800 + 20 * i);
        c.twa = base + 1, c.ptwa = base + 2, c.lavg = base + 3, c.lepd = base + 4, c.plepd = base + 5;
        c.laeq = base + 6, c.lceq = base + 7, c.lzeq = base + 8, c.lae = base + 9, c.lce = base + 10;
        c.lze = base + 11, c.pkc = base + 12, c.pkz = base + 13, c.pka = base + 14, c.lex8h = base + 15;
        c.plex8h = base + 16, c.exph = base + 17, c.hml = base + 18, c.ti = base + 19;
    }
    for (int p = 0; p < 14; ++p) h.pageChannel[p] = static_cast<uint8_t>(p % 3 + (p == 13 ? 7 : 0));
    h.measurementDuration = 100 * 3600 + 62;
    h.interval = 60;
    for (int k = 0; k < 9; ++k) {
        auto& w = h.weighting[k];
        w.maxTime = 3725 + 100 * k;
        w.minTime = 36000 + 100 * k;
        uint16_t base = static_cast<uint16_t>(900 + 10 * k);
        w.max = base + 1, w.min = base + 2, w.l05 = base + 3, w.l10 = base + 4, w.l50 = base + 5;
        w.l90 = base + 6, w.l95 = base + 7;
    }
    h.laeq05 = 1001, h.laeq10 = 1002, h.laeq50 = 1003, h.laeq90 = 1004, h.laeq95 = 1005;
    h.ieq = {1011, 1012, 1013};
    h.laftm5 = 1021, h.laftm3 = 1022, h.ki = 1023;
    h.pointCount = 480;
    return h;
}

RecordSummaryTexts decode(const ms::Bytes& bytes, sq::PageChannelTable* pagesOut = nullptr) {
    RecordSummaryTexts t;
    sq::PageChannelTable pages{};
    sq::ResetSummaryTexts(t, pages);
    sq::DecodeHeaderTexts(bytes.data(), t, pages);
    if (pagesOut) *pagesOut = pages;
    return t;
}

TEST(RecordHeaderTest, EveryFieldOfADistinctHeaderLandsInItsText) {
    const ms::RecordHeader h = distinctHeader();
    sq::PageChannelTable pages{};
    const RecordSummaryTexts t = decode(ms::encodeHeader(h, 480), &pages);

    EXPECT_EQ(t.RecStartTime, "2021/11/28 07:41:03");
    EXPECT_EQ(t.RecTotalPoint, "480");
    EXPECT_EQ(t.RecIntervalSec, "60");
    EXPECT_EQ(t.RecDuration, "100:01:02");
    for (int p = 0; p < 14; ++p) EXPECT_EQ(pages[p], h.pageChannel[p]) << "page " << p;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE("channel " + std::to_string(i));
        const auto& c = h.channel[i];
        EXPECT_EQ(t.RecStopTime[i], stamp(c.stop));
        EXPECT_EQ(t.RecThreshold[i], std::to_string(c.threshold));
        EXPECT_EQ(t.RecCriterion[i], std::to_string(c.criterion));
        EXPECT_EQ(t.RecExchangeRate[i], std::to_string(c.exchangeRate));
        EXPECT_EQ(t.RecExceedLevel[i], std::to_string(c.exceedanceLevel));
        EXPECT_EQ(t.RecPWDuration[i], hms(c.pwDurationMinutes * 60LL, true));
        EXPECT_EQ(t.RecExceedTime[i], hms(c.exceedanceTime, true));
        EXPECT_EQ(t.RecExceedStopTime[i], hms(c.exceedanceStopTime, true));
        EXPECT_EQ(t.RecDose[i], tenths(c.dose));
        EXPECT_EQ(t.RecPDose[i], tenths(c.pdose));
        EXPECT_EQ(t.RecEA[i], thousandths(c.ea));
        EXPECT_EQ(t.RecEC[i], thousandths(c.ec));
        EXPECT_EQ(t.RecEZ[i], thousandths(c.ez));
        EXPECT_EQ(t.RecEXPs[i], tenths(c.exps));
        EXPECT_EQ(t.RecTWA[i], tenths(c.twa));
        EXPECT_EQ(t.RecPTWA[i], tenths(c.ptwa));
        EXPECT_EQ(t.RecLavg[i], tenths(c.lavg));
        EXPECT_EQ(t.RecLEPd[i], tenths(c.lepd));
        EXPECT_EQ(t.RecPLEPd[i], tenths(c.plepd));
        EXPECT_EQ(t.RecLAeq[i], tenths(c.laeq));
        EXPECT_EQ(t.RecLCeq[i], tenths(c.lceq));
        EXPECT_EQ(t.RecLZeq[i], tenths(c.lzeq));
        EXPECT_EQ(t.RecLAE[i], tenths(c.lae));
        EXPECT_EQ(t.RecLCE[i], tenths(c.lce));
        EXPECT_EQ(t.RecLZE[i], tenths(c.lze));
        EXPECT_EQ(t.RecPKC[i], tenths(c.pkc));
        EXPECT_EQ(t.RecPKZ[i], tenths(c.pkz));
        EXPECT_EQ(t.RecPKA[i], tenths(c.pka));
        EXPECT_EQ(t.RecLEX8h[i], tenths(c.lex8h));
        EXPECT_EQ(t.RecPLEX8h[i], tenths(c.plex8h));
        EXPECT_EQ(t.RecEXPh[i], tenths(c.exph));
        EXPECT_EQ(t.RecHML[i], tenths(c.hml));
        EXPECT_EQ(t.RecTi[i], tenths(c.ti));
        EXPECT_EQ(t.RecIeq[i], tenths(h.ieq[i]));
    }
    // NEN = criterion + q * log10(dose / 100), with q = 10, 13.29, 16.61 for exchange rates 3, 4, 5.
    EXPECT_EQ(t.RecNEN[0], "81.8");   // 80 + 10 * log10(1.5)
    EXPECT_EQ(t.RecPNEN[0], "84.0");  // 80 + 10 * log10(2.5)
    EXPECT_EQ(t.RecNEN[1], "83.7");   // 81 + 13.29 * log10(1.6)
    EXPECT_EQ(t.RecPNEN[1], "86.5");  // 81 + 13.29 * log10(2.6)
    EXPECT_EQ(t.RecNEN[2], "85.8");   // 82 + 16.61 * log10(1.7)
    EXPECT_EQ(t.RecPNEN[2], "89.2");  // 82 + 16.61 * log10(2.7)
    for (int k = 0; k < 9; ++k) {
        SCOPED_TRACE("weighting " + std::to_string(k));
        const auto& w = h.weighting[k];
        EXPECT_EQ(t.RecMaxTime[k], hms(w.maxTime, false));
        EXPECT_EQ(t.RecMinTime[k], hms(w.minTime, false));
        EXPECT_EQ(t.RecMax[k], tenths(w.max));
        EXPECT_EQ(t.RecMin[k], tenths(w.min));
        EXPECT_EQ(t.RecL05[k], tenths(w.l05));
        EXPECT_EQ(t.RecL10[k], tenths(w.l10));
        EXPECT_EQ(t.RecL50[k], tenths(w.l50));
        EXPECT_EQ(t.RecL90[k], tenths(w.l90));
        EXPECT_EQ(t.RecL95[k], tenths(w.l95));
    }
    EXPECT_EQ(t.RecLAeqStat[0], "100.2");  // LAEQ10
    EXPECT_EQ(t.RecLAeqStat[1], "100.3");  // LAEQ50
    EXPECT_EQ(t.RecLAeqStat[2], "100.4");  // LAEQ90
    EXPECT_EQ(t.RecLAeqStat[3], "100.5");  // LAEQ95
    EXPECT_EQ(t.RecLAeqStat[4], "100.1");  // LAEQ05
    EXPECT_EQ(t.RecLAFTM5, "102.1");
    EXPECT_EQ(t.RecLAFTM3, "102.2");
    EXPECT_EQ(t.RecKi, "102.3");
}

// A header of zeros with a few bytes set, for the edge cases.
struct Patch {
    size_t offset;
    std::vector<uint8_t> bytes;
};
RecordSummaryTexts decodePatched(std::initializer_list<Patch> patches) {
    ms::Bytes d(sq::kRecordHeaderSize, 0);
    for (const Patch& p : patches)
        for (size_t n = 0; n < p.bytes.size(); ++n) d[p.offset + n] = p.bytes[n];
    return decode(d);
}

TEST(RecordHeaderTest, TextFormsAtTheirEdges) {
    RecordSummaryTexts t = decodePatched({{0, {0xE6, 0x07, 0x03, 0x1E, 0x0E, 0x05, 0x09}},
                                          {56, {0xE0, 0x01, 0, 0}},     // PW 480 min
                                          {60, {5, 0, 0, 0}},           // PW 5 min
                                          {68, {0x40, 0x7E, 0x05, 0}},  // 100 h
                                          {76, {59, 0, 0, 0}},          // exceedance 59 s
                                          {172, {0x8D, 0x0E, 0, 0}},    // LAF max time 3725 s
                                          {100, {0xD2, 0x04, 0, 0}},    // Dose 1234
                                          {124, {0x20, 0x1C, 0, 0}},    // EA 7200
                                          {128, {1, 0, 0, 0}},          // EA 1
                                          {160, {15, 0, 0, 0}},         // EXPs 15
                                          {16, {0, 0, 13, 0}}});        // stop year 0, month 13
    EXPECT_EQ(t.RecStartTime, "2022/03/30 14:05:09");
    EXPECT_EQ(t.RecStopTime[0], "0000/13/00 00:00:00");
    EXPECT_EQ(t.RecPWDuration[0], "08:00:00");
    EXPECT_EQ(t.RecPWDuration[1], "00:05:00");
    EXPECT_EQ(t.RecDuration, "100:00:00");
    EXPECT_EQ(t.RecExceedTime[0], "00:00:59");
    EXPECT_EQ(t.RecMaxTime[0], "1:02:05");
    EXPECT_EQ(t.RecMinTime[0], "0:00:00");
    EXPECT_EQ(t.RecDose[0], "123.4");
    EXPECT_EQ(t.RecEA[0], "2.000");
    EXPECT_EQ(t.RecEA[1], "0.000");
    EXPECT_EQ(t.RecEXPs[0], "1.5");
    EXPECT_EQ(t.RecTWA[0], "0.0");
}

TEST(RecordHeaderTest, FloorsJudgeTheRoundedTenths) {
    RecordSummaryTexts t = decodePatched({{322, {0xD9, 0x02}},    // PKA 729
                                          {324, {0xDA, 0x02}},    // PKA(1) 730
                                          {358, {0xBB, 0x02}},    // LAFMax 699
                                          {362, {0xBC, 0x02}},    // LASMax 700
                                          {412, {0xBB, 0x02}}});  // LAEQ05 699
    EXPECT_EQ(t.RecPKA[0], "---.-");
    EXPECT_EQ(t.RecPKA[1], "73.0");
    EXPECT_EQ(t.RecMax[0], "---.-");
    EXPECT_EQ(t.RecMax[1], "70.0");
    EXPECT_EQ(t.RecLAeqStat[4], "---.-");
    EXPECT_EQ(t.RecL50[3], "---.-");  // a raw 0 under floor 70.0
}

// NEN and PNEN with 480 points of 60 s.
TEST(RecordHeaderTest, NenFollowsCriterionExchangeRateAndDose) {
    struct Case {
        int criterion, exchangeRate, dose;
        const char* nen;
    };
    const Case cases[] = {{90, 5, 500, "85.0"}, {85, 3, 2000, "88.0"}, {90, 4, 1000, "90.0"},
                          {90, 6, 250, "78.0"}, {90, 2, 500, "0"},     {90, 7, 500, "0"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.exchangeRate));
        const auto dose = static_cast<uint8_t>(c.dose & 0xFF), doseHi = static_cast<uint8_t>(c.dose >> 8);
        RecordSummaryTexts t = decodePatched({{46, {static_cast<uint8_t>(c.criterion)}},
                                              {49, {static_cast<uint8_t>(c.exchangeRate)}},
                                              {100, {dose, doseHi, 0, 0}},
                                              {112, {dose, doseHi, 0, 0}},
                                              {72, {60, 0, 0, 0}},
                                              {532, {0xE0, 0x01}}});
        EXPECT_EQ(t.RecNEN[0], c.nen);
        EXPECT_EQ(t.RecPNEN[0], c.nen);
    }
}

TEST(RecordHeaderTest, NenNeedsADoseAndARecordLength) {
    // Dose 0.0 with PDose 12.5: only PNEN is computed.
    RecordSummaryTexts t = decodePatched(
        {{46, {90}}, {49, {5}}, {112, {125, 0, 0, 0}}, {72, {60, 0, 0, 0}}, {532, {0xE0, 0x01}}});
    EXPECT_EQ(t.RecNEN[0], "0");
    EXPECT_EQ(t.RecPNEN[0], "75.0");
    // No points: the record has no length, so neither is computed.
    t = decodePatched({{46, {90}}, {49, {5}}, {100, {100, 0, 0, 0}}, {72, {60, 0, 0, 0}}});
    EXPECT_EQ(t.RecNEN[0], "0");
}

TEST(RecordHeaderTest, UndecodableFieldsShowZeroInsteadOfAnEarlierRecordsValue) {
    RecordSummaryTexts t;
    sq::PageChannelTable pages{};
    t.RecExceedStopTime.fill("12:34:56");  // survives the reset before a download
    t.RecDose.fill("99.9");
    ms::Bytes d(sq::kRecordHeaderSize, 0);
    const uint8_t top[] = {0, 0, 0, 0x80};
    for (size_t o : {100u, 88u, 72u, 56u}) std::copy(top, top + 4, d.begin() + o);
    d[60] = 0xFF, d[61] = 0xFF, d[62] = 0xFF, d[63] = 0x7F;  // PW minutes whose seconds overflow
    d[46] = 90, d[49] = 5, d[532] = 10;
    sq::DecodeHeaderTexts(d.data(), t, pages);
    EXPECT_EQ(t.RecDose[0], "0");
    EXPECT_EQ(t.RecNEN[0], "0");
    EXPECT_EQ(t.RecExceedStopTime[0], "0");
    EXPECT_EQ(t.RecExceedStopTime[1], "00:00:00");
    EXPECT_EQ(t.RecIntervalSec, "0");
    EXPECT_EQ(t.RecPWDuration[0], "0");
    EXPECT_EQ(t.RecPWDuration[1], "0");
}

TEST(RecordHeaderTest, ResetKeepsPointCountLaeqStatisticsAndExceedStopTimes) {
    RecordSummaryTexts t = decode(ms::encodeHeader(distinctHeader(), 480));
    sq::PageChannelTable pages{};
    pages.fill(2);
    sq::ResetSummaryTexts(t, pages);
    EXPECT_EQ(t.RecTotalPoint, "480");
    EXPECT_EQ(t.RecLAeqStat[0], "100.2");
    EXPECT_EQ(t.RecExceedStopTime[2], "01:23:46");
    EXPECT_EQ(t.RecStartTime, "0");
    EXPECT_EQ(t.RecMaxTime[8], "0");
    EXPECT_EQ(t.RecKi, "0");
    EXPECT_EQ(t.RecIeq[2], "0");
    EXPECT_EQ(pages[13], 0);
}

}  // namespace
