#pragma once
// The current record as the rest of the program sees it: the header's summary texts, the page-to-
// channel table, the five point arrays, and the bookkeeping of the block download. All global; they
// describe the record downloaded (or read) last.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sq {

using ChannelTexts = std::array<std::string, 3>;    // D1, D2, D3
using WeightingTexts = std::array<std::string, 9>;  // LAF, LAS, LAI, LCF, LCS, LCI, LZF, LZS, LZI

struct RecordSummaryTexts {
    std::string RecStartTime;
    ChannelTexts RecStopTime;
    ChannelTexts RecThreshold;
    ChannelTexts RecCriterion;
    ChannelTexts RecExchangeRate;
    ChannelTexts RecExceedLevel;
    ChannelTexts RecPWDuration;
    std::string RecDuration;
    std::string RecIntervalSec;
    ChannelTexts RecDose;
    ChannelTexts RecPDose;
    ChannelTexts RecTWA;
    ChannelTexts RecPTWA;
    ChannelTexts RecLavg;
    ChannelTexts RecTi;
    ChannelTexts RecLEPd;
    ChannelTexts RecPLEPd;
    ChannelTexts RecLAeq;
    ChannelTexts RecLCeq;
    ChannelTexts RecLZeq;
    ChannelTexts RecLAE;
    ChannelTexts RecLCE;
    ChannelTexts RecLZE;
    ChannelTexts RecEA;
    ChannelTexts RecEC;
    ChannelTexts RecEZ;
    ChannelTexts RecPKC;
    ChannelTexts RecPKZ;
    ChannelTexts RecPKA;
    ChannelTexts RecHML;
    ChannelTexts RecLEX8h;
    ChannelTexts RecPLEX8h;
    ChannelTexts RecEXPh;
    ChannelTexts RecEXPs;
    WeightingTexts RecMax;
    WeightingTexts RecMin;
    WeightingTexts RecL10;
    WeightingTexts RecL50;
    WeightingTexts RecL90;
    WeightingTexts RecL95;
    WeightingTexts RecL05;
    ChannelTexts RecIeq;                     // LAIEQ, LCIEQ, LZIEQ
    std::array<std::string, 5> RecLAeqStat;  // LAEQ10, LAEQ50, LAEQ90, LAEQ95, LAEQ05
    std::string RecKi;
    std::string RecLAFTM5;
    std::string RecLAFTM3;
    WeightingTexts RecMaxTime;
    WeightingTexts RecMinTime;
    std::string RecTotalPoint;
    ChannelTexts RecNEN;
    ChannelTexts RecPNEN;
    ChannelTexts RecExceedTime;
    ChannelTexts RecExceedStopTime;
};

// Dose channel (0, 1, 2 for D1 to D3; other values kept as they come) of display pages 1 to 14.
using PageChannelTable = std::array<uint8_t, 14>;

// The current record's points as texts ("0.0" levels) and marks (1 marked, 0 not).
struct RecordArrays {
    std::vector<int16_t> PointMark;
    std::vector<std::string> PointLavg;
    std::vector<std::string> PointLeq;
    std::vector<std::string> PointLcpk;
    std::vector<std::string> PointLzpk;

    // Sizes all five anew to `points` empty elements (earlier contents dropped).
    void resize(size_t points);
};

// One row of the point grid: number, date/time and the four level cells.
struct PointRow {
    std::array<std::string, 6> cells;
    // The grid's add-row text: every cell followed by a TAB.
    [[nodiscard]] std::string text() const;
};

// Bookkeeping of the running block download beside the shared download phase.
struct BlockDownload {
    int64_t DownloadedBytes = 0;  // sum of the lengths of the accepted block replies
    // The block accepted last and how many byte-identical copies of it may still be dropped as
    // answers to its repeated requests.
    std::vector<uint8_t> lastBlock;
    int32_t duplicatesToDrop = 0;
    // Bytes already received when the next block was requested: a frame among them answers an
    // earlier request, never the new one.
    int64_t bytesBeforeRequest = 0;
};

RecordSummaryTexts& recordSummary();
PageChannelTable& PageChannel();
RecordArrays& recordArrays();
BlockDownload& blockDownload();

// The reset before a download: every summary text to "0" except RecTotalPoint, RecLAeqStat and
// RecExceedStopTime, and every page channel to 0.
void ResetSummaryTexts(RecordSummaryTexts& texts, PageChannelTable& pages);
// Ends a running download (another record click, the record list window's unload): no block request
// stays outstanding and no late reply is decoded.
void EndRecordDownload();
// Back to the state at program start (tests).
void resetRecordState();

}  // namespace sq
