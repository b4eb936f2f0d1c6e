// The record download arms driven with the simulator's header and block bytes: phases, progress,
// the point rows, the last block, duplicates of repeated requests and short replies.
#include "decoder/record_arms.h"

#include <gtest/gtest.h>

#include <random>

#include "decoder/fake_decoder_host.h"
#include "decoder/record_block.h"
#include "platform/numbers.h"
#include "records/record_expectations.h"
#include "shared/download_state.h"
#include "shared/record_state.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace {

namespace ms = sq::metersim;

class FakeTarget : public sq::RecordDownloadTarget {
public:
    void updateSummaryGrid() override { calls.push_back("update"); }
    void gridInfo() override { calls.push_back("gridinfo"); }
    void addPointRow(const sq::PointRow& row) override { rows.push_back(row.cells); }
    void enableToolbar() override { calls.push_back("toolbar"); }
    void readRecordBlock(int32_t block) override { requests.push_back(block); }
    void setMemoryMessage(const std::string& text) override { messages.push_back(text); }
    int64_t receivedBytesPending() override { return pending; }

    std::vector<std::string> calls;
    std::vector<sqtest::Cells> rows;
    std::vector<int32_t> requests;
    std::vector<std::string> messages;
    int64_t pending = 0;
};

class RecordArmsTest : public ::testing::Test {
protected:
    void SetUp() override {
        sq::resetSharedState();
        sq::resetRecordState();
        sq::downloadState() = {};
        sq::LoadDefaultTexts();
    }

    // The memory pane's click: awaiting the header, then the header reply.
    void receiveHeader(const ms::StoredRecord& r) {
        sq::ResetSummaryTexts(sq::recordSummary(), sq::PageChannel());
        sq::downloadState().phase = sq::DownloadPhase::AwaitingHeader;
        sq::DecodeRecordHeader(sqtest::reply(0x0E, ms::encodeHeader(r)), target);
    }
    void receiveBlock(const ms::StoredRecord& r, size_t block) {
        sq::DecodeRecordBlock(sqtest::reply(0x12, ms::encodeBlock(r, block)), target);
    }
    // Answers every block request the arms send, in order, until none is outstanding.
    void answerAll(const ms::StoredRecord& r) {
        size_t answered = 0;
        while (answered < target.requests.size()) receiveBlock(r, target.requests[answered++]);
    }

    FakeTarget target;
};

TEST_F(RecordArmsTest, DownloadsOfEverySizeGiveTheRecordsRows) {
    for (size_t n : {1u, 10u, 11u, 35u, 1234u}) {
        SCOPED_TRACE(n);
        SetUp();
        target = FakeTarget{};
        const ms::StoredRecord r = sqtest::recordOf(n);
        receiveHeader(r);
        answerAll(r);
        EXPECT_EQ(target.rows, sqtest::expectedPointRows(r));
        EXPECT_EQ(target.requests.size(), (n + 9) / 10);
        EXPECT_EQ(target.messages.back(), "Load Complete");
        EXPECT_EQ(target.calls, (std::vector<std::string>{"update", "gridinfo", "toolbar"}));
        EXPECT_EQ(sq::flags().RecordRequestPending, sq::kFalse);
        EXPECT_EQ(sq::downloadState().phase, sq::DownloadPhase::Idle);
        EXPECT_EQ(sq::recordArrays().PointLavg.size(), n);
    }
}

TEST_F(RecordArmsTest, ProgressCountsThePointsReceived) {
    const ms::StoredRecord r = sqtest::recordOf(35);
    receiveHeader(r);
    EXPECT_EQ(target.messages, std::vector<std::string>{"Load ==> 0 / 35"});
    EXPECT_EQ(target.requests, std::vector<int32_t>{0});
    EXPECT_EQ(sq::flags().RecordRequestPending, sq::kTrue);
    EXPECT_EQ(sq::recordArrays().PointMark.size(), 35u);
    answerAll(r);
    EXPECT_EQ(target.messages,
              (std::vector<std::string>{"Load ==> 0 / 35", "Load ==> 10 / 35", "Load ==> 20 / 35",
                                        "Load ==> 30 / 35", "Load ==> 35 / 35", "Load Complete"}));
    EXPECT_EQ(target.rows[30][0], "31");
    EXPECT_EQ(target.rows[34][1], ms::formatDateTime(r.header.channel[0].stop));
}

TEST_F(RecordArmsTest, ARecordWithoutPointsShowsItsSummaryAndEndsThere) {
    const ms::StoredRecord r = sqtest::recordOf(0);
    sq::flags().RecordRequestPending = sq::kFalse;
    receiveHeader(r);
    EXPECT_EQ(target.calls, std::vector<std::string>{"update"});
    EXPECT_TRUE(target.requests.empty());
    EXPECT_TRUE(target.messages.empty());
    EXPECT_EQ(sq::downloadState().phase, sq::DownloadPhase::Idle);
    receiveBlock(sqtest::recordOf(10), 0);  // a stray block finds no download
    EXPECT_TRUE(target.rows.empty());
}

TEST_F(RecordArmsTest, RepliesOutsideTheirPhaseAreDropped) {
    const ms::StoredRecord r = sqtest::recordOf(20);
    receiveBlock(r, 0);                                                        // no download at all
    sq::DecodeRecordHeader(sqtest::reply(0x0E, ms::encodeHeader(r)), target);  // header nobody awaits
    EXPECT_TRUE(target.rows.empty());
    EXPECT_TRUE(target.requests.empty());

    receiveHeader(r);
    sq::DecodeRecordHeader(sqtest::reply(0x0E, ms::encodeHeader(sqtest::recordOf(50))),
                           target);  // late second header
    EXPECT_EQ(sq::recordSummary().RecTotalPoint, "20");
    answerAll(r);
    receiveBlock(r, 1);  // the last block once more
    EXPECT_EQ(target.rows.size(), 20u);
}

TEST_F(RecordArmsTest, EndingADownloadStopsItsBlocks) {
    const ms::StoredRecord r = sqtest::recordOf(30);
    receiveHeader(r);
    receiveBlock(r, 0);
    sq::EndRecordDownload();
    EXPECT_EQ(sq::flags().RecordRequestPending, sq::kFalse);
    receiveBlock(r, 1);
    EXPECT_EQ(target.rows.size(), 10u);
    EXPECT_EQ(target.requests.size(), 2u);
}

TEST_F(RecordArmsTest, ShortHeaderOrBlockIsNotDecodedAndStaysOutstanding) {
    const ms::StoredRecord r = sqtest::recordOf(15);
    sq::downloadState().phase = sq::DownloadPhase::AwaitingHeader;
    ms::Bytes header = ms::encodeHeader(r);
    header.resize(535);
    sq::DecodeRecordHeader(sqtest::reply(0x0E, header), target);
    EXPECT_EQ(sq::downloadState().phase, sq::DownloadPhase::AwaitingHeader);

    receiveHeader(r);
    ms::Bytes block = ms::encodeBlock(r, 0);
    block.resize(79);
    sq::DecodeRecordBlock(sqtest::reply(0x12, block), target);
    EXPECT_TRUE(target.rows.empty());
    EXPECT_EQ(sq::flags().RecordRequestPending, sq::kTrue);
    receiveBlock(r, 0);
    receiveBlock(r, 1);
    EXPECT_EQ(target.rows, sqtest::expectedPointRows(r));
}

// Block k answered twice because its request went out twice: the copy is dropped.
TEST_F(RecordArmsTest, CopiesOfARepeatedBlockAreDroppedUpToTheRepeats) {
    const ms::StoredRecord r = sqtest::recordOf(30);
    receiveHeader(r);
    sq::downloadState().repeatsOfBlock = 2;  // block 0 requested three times
    receiveBlock(r, 0);
    receiveBlock(r, 0);
    receiveBlock(r, 0);
    EXPECT_EQ(target.rows.size(), 10u);
    receiveBlock(r, 1);
    receiveBlock(r, 2);
    EXPECT_EQ(target.rows, sqtest::expectedPointRows(r));
}

// Without a repeat nothing is dropped: a record may hold identical consecutive blocks.
TEST_F(RecordArmsTest, IdenticalBlocksWithoutRepeatsAreAllKept) {
    ms::StoredRecord r = ms::makeRecord({2022, 3, 30, 14, 5, 9}, 60,
                                        std::vector<ms::Point>(30, ms::Point{700, 710, 900, 950, false}));
    receiveHeader(r);
    answerAll(r);
    EXPECT_EQ(target.rows, sqtest::expectedPointRows(r));
}

// A copy that had arrived whole before the next block was requested cannot answer that request.
TEST_F(RecordArmsTest, ACopyReceivedBeforeTheNextRequestIsDropped) {
    const ms::StoredRecord r = sqtest::recordOf(30);
    receiveHeader(r);
    target.pending = 85;  // block 0's copy waits whole in the receive buffer when block 1 is requested
    receiveBlock(r, 0);
    target.pending = 0;
    receiveBlock(r, 0);
    receiveBlock(r, 1);
    receiveBlock(r, 2);
    EXPECT_EQ(target.rows, sqtest::expectedPointRows(r));
}

TEST_F(RecordArmsTest, APartlyReceivedCopyIsNotJudgedByItsArrival) {
    const ms::StoredRecord r = sqtest::recordOf(30);
    receiveHeader(r);
    target.pending = 84;  // what completes the frame came after the request
    receiveBlock(r, 0);
    target.pending = 0;
    receiveBlock(r, 0);
    EXPECT_EQ(target.rows.size(), 20u);
    EXPECT_EQ(target.rows[10][2], sqtest::expectedPointRows(r)[0][2]);
}

TEST_F(RecordArmsTest, ACopyAfterADifferentReplyIsTheNextBlock) {
    ms::StoredRecord r = ms::makeRecord({2022, 3, 30, 14, 5, 9}, 60,
                                        std::vector<ms::Point>(30, ms::Point{700, 710, 900, 950, false}));
    receiveHeader(r);
    sq::downloadState().repeatsOfBlock = 1;
    receiveBlock(r, 0);
    sq::downloadState().repeatsOfBlock = 0;  // block 1 requested once
    receiveBlock(r, 0);                      // dropped: a copy of block 0
    receiveBlock(r, 1);                      // identical bytes, no repeats left: block 1
    receiveBlock(r, 2);
    EXPECT_EQ(target.rows.size(), 30u);
    EXPECT_EQ(sq::downloadState().phase, sq::DownloadPhase::Idle);
}

TEST_F(RecordArmsTest, AnInvalidStartDateLeavesTheTimeCellsEmpty) {
    ms::StoredRecord r = sqtest::recordOf(12);
    r.header.start.month = 13;
    r.header.channel[0].stop.day = 0;
    receiveHeader(r);
    answerAll(r);
    ASSERT_EQ(target.rows.size(), 12u);
    EXPECT_EQ(target.rows[0][1], "");
    EXPECT_EQ(target.rows[11][1], "");
    EXPECT_EQ(target.rows[11][0], "12");
}

TEST_F(RecordArmsTest, PointsCarryTheirMarksAndZeros) {
    std::vector<ms::Point> points(2);
    points[0] = {653, 0, 1000, 1100, true};
    points[1] = {653, 0, 1000, 1100, false};
    ms::StoredRecord r = ms::makeRecord({2022, 3, 30, 14, 5, 9}, 0, points);
    receiveHeader(r);
    answerAll(r);
    ASSERT_EQ(target.rows.size(), 2u);
    EXPECT_EQ(target.rows[0],
              (sqtest::Cells{"1", "2022/03/30 14:05:09", "*65.3 dB", "*-- dB", "*100.0 dB", "*110.0 dB"}));
    EXPECT_EQ(target.rows[1][3], "-- dB");
    EXPECT_EQ(sq::recordArrays().PointLavg[0], "65.3");
    EXPECT_EQ(sq::recordArrays().PointMark[0], 1);
    EXPECT_EQ(sq::recordArrays().PointMark[1], 0);
    EXPECT_EQ(sq::recordArrays().PointLeq[1], "0.0");
}

// Replies of any length and content, in either phase: no crash, and a download never shows more
// rows than its header's point count.
TEST_F(RecordArmsTest, ArbitraryRepliesNeverOverrunTheRecord) {
    std::mt19937 random(20261210);
    for (int round = 0; round < 200; ++round) {
        SetUp();
        target = FakeTarget{};
        sq::downloadState().phase = sq::DownloadPhase::AwaitingHeader;
        size_t rowsBeforeHeader = 0;
        for (int reply = 0; reply < 30; ++reply) {
            ms::Bytes data(random() % 600);
            for (auto& b : data) b = static_cast<uint8_t>(random());
            if (random() % 2 == 0) {
                if (random() % 2 == 0) data.resize(536, 0);
                if (data.size() >= 536) data[533] = static_cast<uint8_t>(random() % 2);  // up to 511 points
                const size_t updates = target.calls.size();
                sq::DecodeRecordHeader(sqtest::reply(0x0E, data), target);
                if (target.calls.size() != updates) rowsBeforeHeader = target.rows.size();
            } else {
                sq::DecodeRecordBlock(sqtest::reply(0x12, data), target);
            }
            const auto total = static_cast<size_t>(sq::leadingNumber(sq::recordSummary().RecTotalPoint));
            EXPECT_LE(target.rows.size() - rowsBeforeHeader, total);
            if (reply % 10 == 9) sq::downloadState().phase = sq::DownloadPhase::AwaitingHeader;
        }
    }
}

}  // namespace
