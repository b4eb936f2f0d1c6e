#include "records/summary_grid.h"

#include <vector>

#include "platform/numbers.h"

namespace sq {

namespace {

using Text = std::string LanguageTexts::*;

// Item texts in item order.
const std::array<Text, kSummaryItemCount>& itemTexts() {
    static const std::array<Text, kSummaryItemCount> kItems = {
        &LanguageTexts::TxtExceedanceTime,
        &LanguageTexts::TxtExceedanceStopTime,
        &LanguageTexts::TxtDose,
        &LanguageTexts::TxtPDose,
        &LanguageTexts::TxtTWA,
        &LanguageTexts::TxtPTWA,
        &LanguageTexts::TxtLAVG,
        &LanguageTexts::TxtLEPd,
        &LanguageTexts::TxtPLEPd,
        &LanguageTexts::TxtLAEQ,
        &LanguageTexts::TxtLCEQ,
        &LanguageTexts::TxtLZEQ,
        &LanguageTexts::TxtLAE,
        &LanguageTexts::TxtLCE,
        &LanguageTexts::TxtLZE,
        &LanguageTexts::TxtEA,
        &LanguageTexts::TxtEC,
        &LanguageTexts::TxtEZ,
        &LanguageTexts::TxtPKA,
        &LanguageTexts::TxtPKC,
        &LanguageTexts::TxtPKZ,
        &LanguageTexts::TxtLEX8H,
        &LanguageTexts::TxtPLEX8H,
        &LanguageTexts::TxtEXPh,
        &LanguageTexts::TxtEXPs,
        &LanguageTexts::TxtNEN,
        &LanguageTexts::TxtPNEN,
        &LanguageTexts::TxtLAFMax,
        &LanguageTexts::TxtLAFMin,
        &LanguageTexts::TxtLASMax,
        &LanguageTexts::TxtLASMin,
        &LanguageTexts::TxtLAIMax,
        &LanguageTexts::TxtLAIMin,
        &LanguageTexts::TxtLCFMax,
        &LanguageTexts::TxtLCFMin,
        &LanguageTexts::TxtLCSMax,
        &LanguageTexts::TxtLCSMin,
        &LanguageTexts::TxtLCIMax,
        &LanguageTexts::TxtLCIMin,
        &LanguageTexts::TxtLZFMax,
        &LanguageTexts::TxtLZFMin,
        &LanguageTexts::TxtLZSMax,
        &LanguageTexts::TxtLZSMin,
        &LanguageTexts::TxtLZIMax,
        &LanguageTexts::TxtLZIMin,
        &LanguageTexts::TxtLAF05,
        &LanguageTexts::TxtLAS05,
        &LanguageTexts::TxtLAI05,
        &LanguageTexts::TxtLCF05,
        &LanguageTexts::TxtLCS05,
        &LanguageTexts::TxtLCI05,
        &LanguageTexts::TxtLZF05,
        &LanguageTexts::TxtLZS05,
        &LanguageTexts::TxtLZI05,
        &LanguageTexts::TxtLAF10,
        &LanguageTexts::TxtLAS10,
        &LanguageTexts::TxtLAI10,
        &LanguageTexts::TxtLCF10,
        &LanguageTexts::TxtLCS10,
        &LanguageTexts::TxtLCI10,
        &LanguageTexts::TxtLZF10,
        &LanguageTexts::TxtLZS10,
        &LanguageTexts::TxtLZI10,
        &LanguageTexts::TxtLAF50,
        &LanguageTexts::TxtLAS50,
        &LanguageTexts::TxtLAI50,
        &LanguageTexts::TxtLCF50,
        &LanguageTexts::TxtLCS50,
        &LanguageTexts::TxtLCI50,
        &LanguageTexts::TxtLZF50,
        &LanguageTexts::TxtLZS50,
        &LanguageTexts::TxtLZI50,
        &LanguageTexts::TxtLAF90,
        &LanguageTexts::TxtLAS90,
        &LanguageTexts::TxtLAI90,
        &LanguageTexts::TxtLCF90,
        &LanguageTexts::TxtLCS90,
        &LanguageTexts::TxtLCI90,
        &LanguageTexts::TxtLZF90,
        &LanguageTexts::TxtLZS90,
        &LanguageTexts::TxtLZI90,
        &LanguageTexts::TxtLAF95,
        &LanguageTexts::TxtLAS95,
        &LanguageTexts::TxtLAI95,
        &LanguageTexts::TxtLCF95,
        &LanguageTexts::TxtLCS95,
        &LanguageTexts::TxtLCI95,
        &LanguageTexts::TxtLZF95,
        &LanguageTexts::TxtLZS95,
        &LanguageTexts::TxtLZI95,
        &LanguageTexts::TxtLAEQ05,
        &LanguageTexts::TxtLAEQ10,
        &LanguageTexts::TxtLAEQ50,
        &LanguageTexts::TxtLAEQ90,
        &LanguageTexts::TxtLAEQ95,
        &LanguageTexts::TxtLAIEQ,
        &LanguageTexts::TxtLCIEQ,
        &LanguageTexts::TxtLZIEQ,
        &LanguageTexts::TxtLAFTM5,
        &LanguageTexts::TxtLAFTM3,
        &LanguageTexts::TxtTi,
        &LanguageTexts::TxtHML,
        &LanguageTexts::TxtKi,
    };
    return kItems;
}

// Items in the order a box's caption is compared with them.
const std::vector<int>& matchOrder() {
    static const std::vector<int> kOrder = [] {
        std::vector<int> order = {2,  3,  4,  5,  6,  100, 7,  8,   9,  10, 11, 12, 13,
                                  14, 15, 16, 17, 18, 19,  20, 101, 21, 22, 23, 24};
        for (int n = 27; n <= 44; ++n) order.push_back(n);
        order.insert(order.end(), {0, 25, 26});
        for (int n = 54; n <= 89; ++n) order.push_back(n);
        for (int n = 45; n <= 53; ++n) order.push_back(n);
        order.insert(order.end(), {102, 98, 99, 91, 92, 93, 94, 90, 95, 96, 97, 1});
        return order;
    }();
    return kOrder;
}

std::string dbUnit(const LanguageTexts& t) {
    return " " + t.TxtDBUnit;
}

std::string shapeA(const std::string& label, const ChannelTexts& v, const std::string& suffix) {
    return label + "\t" + v[0] + suffix + "\t" + v[1] + suffix + "\t" + v[2] + suffix;
}

std::string shapeB(const std::string& label, const std::string& v, const LanguageTexts& t) {
    return label + "\t" + v + dbUnit(t);
}

std::string shapeC(const std::string& label, const std::string& v, const std::string& time,
                   const LanguageTexts& t) {
    return label + "\t" + v + dbUnit(t) + "  ( " + time + " )";
}

std::string shapeD(const RecordSummaryTexts& r, const LanguageTexts& t) {
    std::string row = t.TxtLAS + " > " + t.TxtDBUnit;
    for (int i = 0; i < 3; ++i) row += "\t(>" + r.RecExceedLevel[i] + ")_" + r.RecExceedTime[i];
    return row;
}

std::string shapeE(const std::string& label, const ChannelTexts& y) {
    return label + "\t" + y[0] + "\t" + y[1] + "\t" + y[2];
}

// Per-channel sources of the shape-A items 2 to 26, 100 and 101.
const ChannelTexts* channelSource(int item, const RecordSummaryTexts& r) {
    static const std::array<ChannelTexts RecordSummaryTexts::*, 25> kSources = {
        &RecordSummaryTexts::RecDose,  &RecordSummaryTexts::RecPDose, &RecordSummaryTexts::RecTWA,
        &RecordSummaryTexts::RecPTWA,  &RecordSummaryTexts::RecLavg,  &RecordSummaryTexts::RecLEPd,
        &RecordSummaryTexts::RecPLEPd, &RecordSummaryTexts::RecLAeq,  &RecordSummaryTexts::RecLCeq,
        &RecordSummaryTexts::RecLZeq,  &RecordSummaryTexts::RecLAE,   &RecordSummaryTexts::RecLCE,
        &RecordSummaryTexts::RecLZE,   &RecordSummaryTexts::RecEA,    &RecordSummaryTexts::RecEC,
        &RecordSummaryTexts::RecEZ,    &RecordSummaryTexts::RecPKA,   &RecordSummaryTexts::RecPKC,
        &RecordSummaryTexts::RecPKZ,   &RecordSummaryTexts::RecLEX8h, &RecordSummaryTexts::RecPLEX8h,
        &RecordSummaryTexts::RecEXPh,  &RecordSummaryTexts::RecEXPs,  &RecordSummaryTexts::RecNEN,
        &RecordSummaryTexts::RecPNEN,
    };
    if (item >= 2 && item <= 26) return &(r.*kSources[item - 2]);
    if (item == 100) return &r.RecTi;
    if (item == 101) return &r.RecHML;
    return nullptr;
}

std::string channelSuffix(int item, const LanguageTexts& t) {
    if (item == 2 || item == 3) return " %";
    if ((item >= 15 && item <= 17) || item == 23) return " Pa^2h";
    if (item == 24) return " Pa^2s";
    return dbUnit(t);
}

// Single values of the shape-B items 45 to 99 and 102.
const std::string& singleSource(int item, const RecordSummaryTexts& r) {
    if (item <= 53) return r.RecL05[item - 45];
    if (item <= 62) return r.RecL10[item - 54];
    if (item <= 71) return r.RecL50[item - 63];
    if (item <= 80) return r.RecL90[item - 72];
    if (item <= 89) return r.RecL95[item - 81];
    if (item == 90) return r.RecLAeqStat[4];
    if (item <= 94) return r.RecLAeqStat[item - 91];
    if (item <= 97) return r.RecIeq[item - 95];
    if (item == 98) return r.RecLAFTM5;
    if (item == 99) return r.RecLAFTM3;
    return r.RecKi;
}

std::string itemRow(int item, const std::string& label, const RecordSummaryTexts& r, const LanguageTexts& t) {
    if (item == 0) return shapeD(r, t);
    if (item == 1) return shapeE(label, r.RecExceedStopTime);
    if (const ChannelTexts* source = channelSource(item, r))
        return shapeA(label, *source, channelSuffix(item, t));
    if (item >= 27 && item <= 44) {
        const int k = (item - 27) / 2;
        const bool max = (item - 27) % 2 == 0;
        return shapeC(label, max ? r.RecMax[k] : r.RecMin[k], max ? r.RecMaxTime[k] : r.RecMinTime[k], t);
    }
    return shapeB(label, singleSource(item, r), t);
}

}  // namespace

std::array<SummaryRow, kSummaryFixedRows> summaryFixedRows(const RecordSummaryTexts& r,
                                                           const LanguageTexts& t) {
    const std::string db = dbUnit(t);
    auto same = [](const std::string& label, const std::string& v) { return SummaryRow{label, v, v, v}; };
    auto perChannel = [](const std::string& label, const ChannelTexts& v, const std::string& suffix) {
        return SummaryRow{label, v[0] + suffix, v[1] + suffix, v[2] + suffix};
    };
    return {SummaryRow{"", t.TxtD1, t.TxtD2, t.TxtD3},
            same(t.TxtStartDateTime, r.RecStartTime),
            perChannel(t.TxtStopDateTime, r.RecStopTime, ""),
            perChannel(t.TxtThreshold, r.RecThreshold, db),
            perChannel(t.TxtCriterion, r.RecCriterion, db),
            perChannel(t.TxtExchangeRate, r.RecExchangeRate, db),
            perChannel(t.TxtExceedanceLevel, r.RecExceedLevel, db),
            same(t.TxtIntervalTime, intervalMinutesText(r.RecIntervalSec)),
            same(t.TxtTotalPoint, r.RecTotalPoint),
            perChannel(t.TxtPWDuration, r.RecPWDuration, ""),
            same(t.TxtDuration, r.RecDuration)};
}

std::string intervalMinutesText(const std::string& intervalSec) {
    const auto seconds = static_cast<long long>(leadingNumber(intervalSec));
    return std::to_string(seconds / 60) + " Min";
}

const std::string& summaryItemText(int item, const LanguageTexts& t) {
    return t.*itemTexts().at(item);
}

bool isItemBoxEnabled(int item) {
    return item >= 0 && item < kFirstDisabledItem;
}

int findSummaryItem(const std::string& caption, const LanguageTexts& t) {
    for (int item : matchOrder())
        if (summaryItemText(item, t) == caption) return item;
    return -1;
}

std::string summaryItemRow(int item, const RecordSummaryTexts& rec, const LanguageTexts& t) {
    return itemRow(item, summaryItemText(item, t), rec, t);
}

}  // namespace sq
