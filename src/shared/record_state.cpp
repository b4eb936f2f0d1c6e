#include "shared/record_state.h"

#include "shared/download_state.h"
#include "shared/state.h"

namespace sq {

void RecordArrays::resize(size_t points) {
    PointMark.assign(points, 0);
    PointLavg.assign(points, std::string());
    PointLeq.assign(points, std::string());
    PointLcpk.assign(points, std::string());
    PointLzpk.assign(points, std::string());
}

std::string PointRow::text() const {
    std::string out;
    for (const auto& cell : cells) {
        out += cell;
        out += '\t';
    }
    return out;
}

RecordSummaryTexts& recordSummary() {
    static RecordSummaryTexts texts;
    return texts;
}

PageChannelTable& PageChannel() {
    static PageChannelTable pages{};
    return pages;
}

RecordArrays& recordArrays() {
    static RecordArrays arrays;
    return arrays;
}

BlockDownload& blockDownload() {
    static BlockDownload state;
    return state;
}

namespace {

template <size_t N>
void setZero(std::array<std::string, N>& texts) {
    texts.fill("0");
}

}  // namespace

void ResetSummaryTexts(RecordSummaryTexts& t, PageChannelTable& pages) {
    t.RecStartTime = "0";
    setZero(t.RecStopTime);
    t.RecDuration = "0";
    t.RecIntervalSec = "0";
    for (auto* a : {&t.RecThreshold, &t.RecCriterion, &t.RecExchangeRate, &t.RecExceedLevel, &t.RecPWDuration,
                    &t.RecDose,      &t.RecPDose,     &t.RecTWA,          &t.RecPTWA,        &t.RecLavg,
                    &t.RecTi,        &t.RecLEPd,      &t.RecPLEPd,        &t.RecLAeq,        &t.RecLCeq,
                    &t.RecLZeq,      &t.RecLAE,       &t.RecLCE,          &t.RecLZE,         &t.RecEA,
                    &t.RecEC,        &t.RecEZ,        &t.RecPKA,          &t.RecPKC,         &t.RecPKZ,
                    &t.RecHML,       &t.RecLEX8h,     &t.RecPLEX8h,       &t.RecEXPh,        &t.RecEXPs,
                    &t.RecIeq,       &t.RecNEN,       &t.RecPNEN,         &t.RecExceedTime}) {
        setZero(*a);
    }
    for (auto* a : {&t.RecMax, &t.RecMin, &t.RecMaxTime, &t.RecMinTime, &t.RecL05, &t.RecL10, &t.RecL50,
                    &t.RecL90, &t.RecL95}) {
        setZero(*a);
    }
    t.RecKi = "0";
    t.RecLAFTM5 = "0";
    t.RecLAFTM3 = "0";
    pages.fill(0);
}

void EndRecordDownload() {
    downloadState().phase = DownloadPhase::Idle;
    downloadState().repeatsOfBlock = 0;
    flags().RecordRequestPending = kFalse;
    blockDownload().duplicatesToDrop = 0;
}

void resetRecordState() {
    recordSummary() = RecordSummaryTexts{};
    PageChannel().fill(0);
    recordArrays() = RecordArrays{};
    blockDownload() = BlockDownload{};
}

}  // namespace sq
