#include "decoder/record_header.h"

#include <cmath>

#include "platform/numbers.h"
#include "platform/vb_error.h"
#include "shared/state.h"

namespace sq {

namespace {

constexpr double kPeakFloor = 73.0;
constexpr double kLevelFloor = 70.0;

uint16_t le16(const uint8_t* d, int offset) {
    return readLeU16(d + offset);
}

// LE32 as a signed value; nullopt when its top byte does not fit.
std::optional<int32_t> le32(const uint8_t* d, int offset) {
    if (d[offset + 3] >= 0x80) return std::nullopt;
    return readLe32(d + offset);
}

std::string orZero(const std::optional<std::string>& text) {
    return text ? *text : std::string("0");
}

template <typename Form>
std::string le32Text(const uint8_t* d, int offset, Form form) {
    auto v = le32(d, offset);
    return v ? form(*v) : std::string("0");
}

std::string decimalText(int64_t v) {
    return std::to_string(v);
}

std::string pwDurationText(const uint8_t* d, int offset) {
    auto minutes = le32(d, offset);
    if (!minutes) return "0";
    int64_t seconds = int64_t{*minutes} * 60;
    if (seconds > INT32_MAX) return "0";
    return durationText(seconds);
}

std::string stopTimeText(const uint8_t* d, int channel) {
    int dateAt = 16 + 4 * channel;
    int timeAt = 7 + 3 * channel;
    return headerDateTimeText(le16(d, dateAt), d[dateAt + 2], d[dateAt + 3], d[timeAt], d[timeAt + 1],
                              d[timeAt + 2]);
}

double exchangeFactor(double exchangeRate) {
    if (exchangeRate == 3) return 10;
    if (exchangeRate == 4) return 13.29;
    if (exchangeRate == 5) return 16.61;
    if (exchangeRate == 6) return 20;
    return 0;
}

void decodeChannel(const uint8_t* d, int i, RecordSummaryTexts& t) {
    t.RecCriterion[i] = decimalText(d[46 + i]);
    t.RecExchangeRate[i] = decimalText(d[49 + i]);
    t.RecDose[i] = le32Text(d, 100 + 4 * i, tenthsText);
    t.RecPDose[i] = le32Text(d, 112 + 4 * i, tenthsText);
    t.RecPNEN[i] = orZero(
        nenText(t.RecCriterion[i], t.RecExchangeRate[i], t.RecPDose[i], t.RecTotalPoint, t.RecIntervalSec));
    t.RecNEN[i] = orZero(
        nenText(t.RecCriterion[i], t.RecExchangeRate[i], t.RecDose[i], t.RecTotalPoint, t.RecIntervalSec));
    t.RecThreshold[i] = decimalText(d[43 + i]);
    t.RecExceedLevel[i] = decimalText(d[52 + i]);
    t.RecPWDuration[i] = pwDurationText(d, 56 + 4 * i);
    t.RecExceedTime[i] = le32Text(d, 76 + 4 * i, durationText);
    t.RecExceedStopTime[i] = le32Text(d, 88 + 4 * i, durationText);
    t.RecEA[i] = le32Text(d, 124 + 4 * i, by3600Text);
    t.RecEC[i] = le32Text(d, 136 + 4 * i, by3600Text);
    t.RecEZ[i] = le32Text(d, 148 + 4 * i, by3600Text);
    t.RecEXPs[i] = le32Text(d, 160 + 4 * i, tenthsText);
    auto tenthsAt = [&](int base) { return tenthsText(le16(d, base + 2 * i)); };
    t.RecTWA[i] = tenthsAt(244);
    t.RecPTWA[i] = tenthsAt(250);
    t.RecLavg[i] = tenthsAt(256);
    t.RecLEPd[i] = tenthsAt(262);
    t.RecPLEPd[i] = tenthsAt(268);
    t.RecLAeq[i] = tenthsAt(274);
    t.RecLCeq[i] = tenthsAt(280);
    t.RecLZeq[i] = tenthsAt(286);
    t.RecLAE[i] = tenthsAt(292);
    t.RecLCE[i] = tenthsAt(298);
    t.RecLZE[i] = tenthsAt(304);
    t.RecPKC[i] = flooredTenthsText(le16(d, 310 + 2 * i), kPeakFloor);
    t.RecPKZ[i] = flooredTenthsText(le16(d, 316 + 2 * i), kPeakFloor);
    t.RecPKA[i] = flooredTenthsText(le16(d, 322 + 2 * i), kPeakFloor);
    t.RecLEX8h[i] = tenthsAt(328);
    t.RecPLEX8h[i] = tenthsAt(334);
    t.RecEXPh[i] = tenthsAt(340);
    t.RecIeq[i] = tenthsAt(506);
    t.RecHML[i] = tenthsAt(516);
    t.RecTi[i] = tenthsAt(522);
}

void decodeWeighting(const uint8_t* d, int k, RecordSummaryTexts& t) {
    t.RecMaxTime[k] = le32Text(d, 172 + 8 * k, shortDurationText);
    t.RecMinTime[k] = le32Text(d, 176 + 8 * k, shortDurationText);
    t.RecMax[k] = flooredTenthsText(le16(d, 358 + 4 * k), kLevelFloor);
    t.RecMin[k] = flooredTenthsText(le16(d, 360 + 4 * k), kLevelFloor);
    t.RecL05[k] = flooredTenthsText(le16(d, 394 + 2 * k), kLevelFloor);
    t.RecL10[k] = flooredTenthsText(le16(d, 414 + 2 * k), kLevelFloor);
    t.RecL50[k] = flooredTenthsText(le16(d, 434 + 2 * k), kLevelFloor);
    t.RecL90[k] = flooredTenthsText(le16(d, 454 + 2 * k), kLevelFloor);
    t.RecL95[k] = flooredTenthsText(le16(d, 474 + 2 * k), kLevelFloor);
}

}  // namespace

std::string headerDateTimeText(int year, int month, int day, int hour, int minute, int second) {
    return formatPadded(year, 4) + "/" + formatPadded(month, 2) + "/" + formatPadded(day, 2) + " " +
           formatPadded(hour, 2) + ":" + formatPadded(minute, 2) + ":" + formatPadded(second, 2);
}

std::string durationText(int64_t s) {
    return formatPadded(s / 3600, 2) + ":" + formatPadded((s % 3600) / 60, 2) + ":" + formatPadded(s % 60, 2);
}

std::string shortDurationText(int64_t s) {
    return std::to_string(s / 3600) + ":" + formatPadded((s % 3600) / 60, 2) + ":" + formatPadded(s % 60, 2);
}

std::string tenthsText(int64_t raw) {
    return formatFixed(static_cast<double>(raw) / 10.0, 1);
}

std::string by3600Text(int64_t raw) {
    return formatFixed(static_cast<double>(raw) / 3600.0, 3);
}

std::string flooredTenthsText(int64_t raw, double floor) {
    std::string text = tenthsText(raw);
    return leadingNumber(text) < floor ? std::string("---.-") : text;
}

std::optional<std::string> nenText(const std::string& criterion, const std::string& exchangeRate,
                                   const std::string& dose, const std::string& totalPoints,
                                   const std::string& intervalSec) {
    double q = exchangeFactor(leadingNumber(exchangeRate));
    double p = leadingNumber(dose);
    double t = leadingNumber(totalPoints) * leadingNumber(intervalSec);
    if (q == 0 || p == 0 || t <= 0) return std::nullopt;
    double c = leadingNumber(criterion);
    try {
        double ne = q * Log10((480.0 / t) * (p / 100.0)) + c;
        return formatFixed(ne + q * Log10(t / 480.0), 1);
    } catch (const VbError&) {
        return std::nullopt;  // a negative dose has no logarithm
    }
}

void DecodeHeaderTexts(const uint8_t* d, RecordSummaryTexts& t, PageChannelTable& pages) {
    t.RecStartTime = headerDateTimeText(le16(d, 0), d[2], d[3], d[4], d[5], d[6]);
    for (int i = 0; i < 3; ++i) t.RecStopTime[i] = stopTimeText(d, i);
    for (int p = 0; p < 14; ++p) pages[p] = d[28 + p];
    t.RecTotalPoint = decimalText(le16(d, 532));
    t.RecIntervalSec = le32Text(d, 72, decimalText);
    for (int i = 0; i < 3; ++i) decodeChannel(d, i, t);
    for (int k = 0; k < 9; ++k) decodeWeighting(d, k, t);
    t.RecDuration = le32Text(d, 68, durationText);
    t.RecLAeqStat[4] = flooredTenthsText(le16(d, 412), kLevelFloor);
    t.RecLAeqStat[0] = flooredTenthsText(le16(d, 432), kLevelFloor);
    t.RecLAeqStat[1] = flooredTenthsText(le16(d, 452), kLevelFloor);
    t.RecLAeqStat[2] = flooredTenthsText(le16(d, 472), kLevelFloor);
    t.RecLAeqStat[3] = flooredTenthsText(le16(d, 492), kLevelFloor);
    t.RecLAFTM5 = tenthsText(le16(d, 512));
    t.RecLAFTM3 = tenthsText(le16(d, 514));
    t.RecKi = tenthsText(le16(d, 528));
}

}  // namespace sq
