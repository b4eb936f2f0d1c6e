#include "decoder/record_arms.h"

#include "decoder/record_block.h"
#include "decoder/record_header.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"
#include "shared/download_state.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace sq {

namespace {

int64_t totalPoints() {
    return static_cast<int64_t>(leadingNumber(recordSummary().RecTotalPoint));
}

void showProgress(RecordDownloadTarget& target) {
    const std::string count = formatNumber(static_cast<double>(blockDownload().DownloadedBytes) / 8.0);
    skipOnError([&] {
        target.setMemoryMessage(texts().TxtLoad + " ==> " + count + " / " + recordSummary().RecTotalPoint);
    });
}

void requestBlock(int32_t block, RecordDownloadTarget& target) {
    SharedState& s = shared();
    s.BlockIndex = block;
    s.BlockWaitTicks = 0;
    downloadState().repeatsOfBlock = 0;
    skipOnError([&] { blockDownload().bytesBeforeRequest = target.receivedBytesPending(); });
    skipOnError([&] { target.readRecordBlock(block); });
    s.flags.RecordRequestPending = kTrue;
}

void startBlocks(int64_t points, RecordDownloadTarget& target) {
    skipOnError([&] { recordArrays().resize(static_cast<size_t>(points)); });
    skipOnError([&] { target.updateSummaryGrid(); });
    skipOnError([&] { target.gridInfo(); });
    blockDownload() = BlockDownload{};
    showProgress(target);
    downloadState().phase = DownloadPhase::ReceivingBlocks;
    requestBlock(0, target);
}

void endWithoutPoints(RecordDownloadTarget& target) {
    skipOnError([&] { target.updateSummaryGrid(); });
    shared().BlockIndex = 0;
    shared().BlockWaitTicks = 0;
    blockDownload() = BlockDownload{};
    downloadState().phase = DownloadPhase::Idle;
    flags().RecordRequestPending = kFalse;
}

constexpr int64_t kFrameOverhead = 5;  // start byte, command, two length bytes, checksum

// Whether the frame had arrived whole before the block now outstanding was requested.
bool arrivedBeforeRequest(const ReplyFrame& frame) {
    BlockDownload& dl = blockDownload();
    const int64_t size = int64_t{frame.Length} + kFrameOverhead;
    const bool earlier = dl.bytesBeforeRequest >= size;
    dl.bytesBeforeRequest = earlier ? dl.bytesBeforeRequest - size : 0;
    return earlier;
}

// A copy of the block accepted last: one that came before the next block was asked for, or one that
// answers a repeated request for the accepted block.
bool isDuplicate(const ReplyFrame& frame, bool arrivedEarlier) {
    BlockDownload& dl = blockDownload();
    if (frame.Data != dl.lastBlock) return false;
    if (arrivedEarlier) return true;
    if (dl.duplicatesToDrop <= 0) return false;
    --dl.duplicatesToDrop;
    return true;
}

void acceptBlock(const ReplyFrame& frame) {
    BlockDownload& dl = blockDownload();
    dl.lastBlock = frame.Data;
    dl.duplicatesToDrop = downloadState().repeatsOfBlock;
    dl.DownloadedBytes += frame.Length;
}

void decodePoints(const ReplyFrame& frame, int32_t block, int count, bool last,
                  RecordDownloadTarget& target) {
    const RecordSummaryTexts& t = recordSummary();
    const PointClock clock(t.RecStartTime, t.RecIntervalSec, t.RecStopTime[0]);
    const std::string& unit = texts().TxtDBUnit;
    for (int k = 0; k < count; ++k) {
        const int64_t p = int64_t{block} * kPointsPerBlock + k;
        const bool lastOfRecord = last && k == count - 1;
        const PointRow row =
            decodePoint(&frame.Data[k * kPointSize], p, clock.timeOf(p, lastOfRecord), unit, recordArrays());
        skipOnError([&] { target.addPointRow(row); });
    }
}

void finishDownload(RecordDownloadTarget& target) {
    skipOnError([&] { target.setMemoryMessage(texts().TxtLoadComplete); });
    skipOnError([&] { target.enableToolbar(); });
    downloadState().phase = DownloadPhase::Idle;
}

}  // namespace

void DecodeRecordHeader(const ReplyFrame& frame, RecordDownloadTarget& target) {
    if (downloadState().phase != DownloadPhase::AwaitingHeader) return;
    if (frame.Data.size() < static_cast<size_t>(kRecordHeaderSize)) return;
    DecodeHeaderTexts(frame.Data.data(), recordSummary(), PageChannel());
    const int64_t points = totalPoints();
    if (points != 0)
        startBlocks(points, target);
    else
        endWithoutPoints(target);
    EnablePollTimers();
}

void DecodeRecordBlock(const ReplyFrame& frame, RecordDownloadTarget& target) {
    if (downloadState().phase != DownloadPhase::ReceivingBlocks) return;
    const int64_t total = totalPoints();
    const int32_t block = shared().BlockIndex;
    const int count = pointsInBlock(total, block);
    const bool arrivedEarlier = arrivedBeforeRequest(frame);
    if (frame.Data.size() < static_cast<size_t>(count * kPointSize)) return;  // stays outstanding
    if (!blockDownload().lastBlock.empty() && isDuplicate(frame, arrivedEarlier)) return;
    DisablePollTimers();
    flags().RecordRequestPending = kFalse;
    acceptBlock(frame);
    showProgress(target);
    const bool last = isLastBlock(total, block);
    decodePoints(frame, block, count, last, target);
    if (last)
        finishDownload(target);
    else
        requestBlock(block + 1, target);
    EnablePollTimers();
}

}  // namespace sq
