#include "decoder/reply_decoder.h"

#include <gtest/gtest.h>

#include <cstring>

#include "decoder/fake_decoder_host.h"
#include "platform/dialogs.h"
#include "shared/state.h"
#include "support/scripted_dialogs.h"
#include "texts/language_texts.h"

using namespace sq;
using sqtest::FakeDecoderHost;
using sqtest::reply;

namespace {

class ReplyDecoderTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        decoderState() = DecoderState{};
        LoadDefaultTexts();
        shared().DeviceModel = "VOK-LSR20";
    }
    FakeDecoderHost host;
    ScopedScriptedDialogs dialogs;
};

TEST_F(ReplyDecoderTest, unknownCodesChangeNothing) {
    for (uint8_t code : {0x17, 0x80, 0x92, 0xFE}) {
        EXPECT_FALSE(decodeReply(reply(code, {1, 2, 3, 4, 5, 6, 7, 8, 9}), host));
    }
    EXPECT_TRUE(host.listSets.empty());
    EXPECT_TRUE(dialogs->records.empty());
}

TEST_F(ReplyDecoderTest, replyShorterThanItsLayoutIsNotDecoded) {
    flags().RTCFrmOpen = kTrue;
    EXPECT_FALSE(decodeReply(reply(0x02, {0x07, 0xE6, 0x03}), host));
    EXPECT_EQ(host.meterTimeText, "123");
    EXPECT_FALSE(decodeReply(reply(0x0F, {0, 0, 1, 0}), host));
    EXPECT_EQ(host.totalSize, "123 K");
    EXPECT_FALSE(decodeReply(reply(0x13, {0x03}), host));
    EXPECT_EQ(shared().CalibrationLevelText, "");
}

TEST_F(ReplyDecoderTest, modelNameTakesEveryDataByteAsOneCharacter) {
    decodeReply(reply(0x00, {'K', 'M', '-', '3', '0', '0'}), host);
    EXPECT_EQ(shared().DeviceModel, "KM-300");
    decodeReply(reply(0x00, {}), host);
    EXPECT_EQ(shared().DeviceModel, "");
}

struct ListCase {
    const char* name;
    uint8_t code;
    int16_t OpenFlags::*mode;
    int listCount;
    uint8_t byte;
    int expectedIndex;  // -2: the list was not touched
};

class SingleValueListTest : public ReplyDecoderTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(SingleValueListTest, selectsTheEntryOrFallsBackToTheFirst) {
    const ListCase& c = GetParam();
    flags().*c.mode = kTrue;
    host.listCount = c.listCount;
    decodeReply(reply(c.code, {c.byte}), host);
    if (c.expectedIndex == -2)
        EXPECT_TRUE(host.listSets.empty());
    else
        EXPECT_EQ(host.listIndex, c.expectedIndex);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, SingleValueListTest,
    ::testing::Values(ListCase{"contrast12", 0x01, &OpenFlags::OneSetLcdContrast, 10, 12, 2},
                      ListCase{"contrast10HalfToEven", 0x01, &OpenFlags::OneSetLcdContrast, 10, 10, 2},
                      ListCase{"contrast6HalfToEven", 0x01, &OpenFlags::OneSetLcdContrast, 10, 6, 0},
                      ListCase{"contrast0Clears", 0x01, &OpenFlags::OneSetLcdContrast, 10, 0, -1},
                      ListCase{"contrast48OutOfList", 0x01, &OpenFlags::OneSetLcdContrast, 10, 48, 0},
                      ListCase{"apo3", 0x03, &OpenFlags::OneSetLcdApo, 6, 3, 3},
                      ListCase{"apo9OutOfList", 0x03, &OpenFlags::OneSetLcdApo, 6, 9, 0},
                      ListCase{"pauseOn", 0x06, &OpenFlags::OneSetPause, 2, 1, 1},
                      ListCase{"keypad2OutOfList", 0x08, &OpenFlags::OneSetAutoLock, 2, 2, 0},
                      ListCase{"scrollOff", 0x09, &OpenFlags::OneSetAutoScroll, 2, 0, 0},
                      ListCase{"pauseWithOtherMode", 0x06, &OpenFlags::OneSetAutoLock, 2, 1, -2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReplyDecoderTest, contrastAndApoAreStoredWithTheWindowClosed) {
    decodeReply(reply(0x01, {10}), host);
    decodeReply(reply(0x03, {3}), host);
    EXPECT_DOUBLE_EQ(decoderState().ContrastValue, 1.5);
    EXPECT_EQ(decoderState().ApoIndex, 3);
    EXPECT_TRUE(host.listSets.empty());
}

TEST_F(ReplyDecoderTest, clockShowsOnlyWhileTheClockWindowIsOpen) {
    const auto frame = reply(0x02, {0x07, 0xE6, 0x03, 0x1E, 0x0E, 0x05, 0x09});
    decodeReply(frame, host);
    EXPECT_EQ(host.meterTimeText, "123");
    EXPECT_EQ(decoderState().MeterClock.Year, 2022);
    flags().RTCFrmOpen = kTrue;
    decodeReply(frame, host);
    EXPECT_EQ(host.meterTimeText, "2022/03/30 14:05:09");
}

TEST_F(ReplyDecoderTest, calibrationLevelIsStoredAndZeroShowsOff) {
    flags().OneSetCalibration = kTrue;
    decodeReply(reply(0x13, {0x03, 0xA2}), host);
    EXPECT_EQ(shared().CalibrationLevelText, "93.0");
    EXPECT_EQ(host.curMeterText, "93.0");
    decodeReply(reply(0x13, {0x00, 0x00}), host);
    EXPECT_EQ(shared().CalibrationLevelText, "0.0");
    EXPECT_EQ(host.curMeterText, "OFF");
    decodeReply(reply(0x13, {0x80, 0x00}), host);  // does not fit 16 bits signed: kept
    EXPECT_EQ(shared().CalibrationLevelText, "0.0");
}

TEST_F(ReplyDecoderTest, intervalSelectsItsEntryOnlyForListedValues) {
    decodeReply(reply(0x15, {0x2C, 0x01, 0, 0}), host);
    EXPECT_EQ(decoderState().IntervalSeconds, 0) << "stored only in interval mode";
    flags().OneSetIntervalTime = kTrue;
    host.listCount = 6;
    decodeReply(reply(0x15, {0x2C, 0x01, 0, 0}), host);
    EXPECT_EQ(host.listIndex, 1);
    decodeReply(reply(0x15, {120, 0, 0, 0}), host);
    EXPECT_EQ(decoderState().IntervalSeconds, 120);
    EXPECT_EQ(host.listIndex, 1);
}

TEST_F(ReplyDecoderTest, serialNumberNeedsTheVisiblePane) {
    const auto frame = reply(0x11, {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L'});
    decodeReply(frame, host);
    EXPECT_EQ(host.serialText, "");
    host.serialVisible = true;
    decodeReply(frame, host);
    EXPECT_EQ(host.serialText, "ABCDEFGHIJKL");
}

TEST_F(ReplyDecoderTest, calibrationDateKeepsAYearThatDoesNotFit) {
    decodeReply(reply(0x16, {0x07, 0xE6, 0x03, 0x1E, 0x0E, 0x05, 0x09}), host);
    decodeReply(reply(0x16, {0x90, 0x00, 0x04, 0x01, 0x02, 0x03, 0x04}), host);
    const ClockRecord& c = shared().CalibrationDateTime;
    EXPECT_EQ(c.Year, 2022);
    EXPECT_EQ(c.Month, 4);
    EXPECT_EQ(c.Second, 4);
}

TEST_F(ReplyDecoderTest, memoryEntriesFillTheGridAndAskForTheNext) {
    host.grid.push_back({"9", "old", "9"});
    decodeReply(reply(0x0C, {0x07, 0xE6, 3, 30, 14, 5, 9, 1, 3}), host);
    decodeReply(reply(0x0D, {0x07, 0xE6, 3, 31, 8, 0, 0, 2, 3}), host);
    decodeReply(reply(0x0D, {0x07, 0xE6, 4, 1, 9, 30, 0, 3, 3}), host);
    ASSERT_EQ(host.grid.size(), 4u);
    EXPECT_EQ(host.grid[1], (std::vector<std::string>{"1", "2022/03/30  14:05:09", "1"}));
    EXPECT_EQ(host.grid[3], (std::vector<std::string>{"3", "2022/04/01  09:30:00", "3"}));
    EXPECT_EQ(host.memoryMessage, "Load 3/3");
    EXPECT_EQ(host.sent, (std::vector<std::string>{"0D", "0D"})) << "nothing after the last entry";
    EXPECT_EQ(shared().MemoryListRow, 3);
}

TEST_F(ReplyDecoderTest, memoryEntryWithOversizedYearLeavesTheDateEmpty) {
    decodeReply(reply(0x0C, {0x80, 0x00, 3, 30, 14, 5, 9, 1, 1}), host);
    EXPECT_EQ(host.grid[1], (std::vector<std::string>{"1", "", "1"}));
}

TEST_F(ReplyDecoderTest, endOfListReportsCompleteListAndAsksForTheSizes) {
    flags().ListingMemory = kTrue;
    decodeReply(reply(0xFF, {0x0D}), host);
    EXPECT_EQ(host.memoryMessage, "Load Complete");
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Get Memory Info OK !!!"}));
    EXPECT_EQ(dialogs->messages()[0].icon, MsgIcon::None);
    EXPECT_EQ(flags().ListingMemory, kFalse);
    EXPECT_EQ(host.sent, (std::vector<std::string>{"0F"}));
}

TEST_F(ReplyDecoderTest, emptyMemoryEndsTheListingWithoutSizeRequest) {
    flags().ListingMemory = kTrue;
    decodeReply(reply(0xFF, {0x0C}), host);
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Memory Info No Data !!!"}));
    EXPECT_EQ(flags().ListingMemory, kFalse);
    EXPECT_TRUE(host.sent.empty());
    EXPECT_EQ(host.memoryMessage, "Message");
}

TEST_F(ReplyDecoderTest, memorySizesAreSignedBigEndian) {
    decodeReply(reply(0x0F, {0, 0, 1, 0, 0, 0, 0, 0xFF}), host);
    EXPECT_EQ(host.totalSize, "256");
    EXPECT_EQ(host.remainSize, "255");
    decodeReply(reply(0x0F, {0x80, 0, 0, 0, 0, 0, 0, 7}), host);
    EXPECT_EQ(host.totalSize, "256");
    EXPECT_EQ(host.remainSize, "7");
}

TEST_F(ReplyDecoderTest, clearReplyEndsErasingOnlyAfterTheBoxIsClosed) {
    flags().MemoryErasing = kTrue;
    int16_t duringBox = 0;
    dialogs->onMessage = [&](const MessageRequest&) { duringBox = flags().MemoryErasing; };
    decodeReply(reply(0x0B, {}), host);
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Clear OK !!!"}));
    EXPECT_EQ(duringBox, kTrue);
    EXPECT_EQ(flags().MemoryErasing, kFalse);
}

TEST_F(ReplyDecoderTest, addedArmsReplaceAndRemoveCleanly) {
    int calls = 0;
    setReplyArm(0x04, [&](const ReplyFrame&, DecoderHost&) { ++calls; });
    std::vector<uint8_t> dose(26, 0);
    EXPECT_TRUE(decodeReply(reply(0x04, dose), host));
    EXPECT_FALSE(decodeReply(reply(0x04, {1, 2}), host)) << "length checked before the arm";
    setReplyArm(0x04, {});
    EXPECT_FALSE(decodeReply(reply(0x04, dose), host));
    EXPECT_EQ(calls, 1);
}

TEST_F(ReplyDecoderTest, anArmCanBeReplacedAndPutBack) {
    std::vector<uint8_t> seen;
    ReplyArm own = setReplyArm(0x01, [&](const ReplyFrame& f, DecoderHost&) { seen = f.Data; });
    ASSERT_TRUE(own);
    EXPECT_TRUE(decodeReply(reply(0x01, {28}), host));
    EXPECT_EQ(seen, (std::vector<uint8_t>{28}));
    EXPECT_DOUBLE_EQ(decoderState().ContrastValue, 0) << "the own arm did not run";
    EXPECT_FALSE(decodeReply(reply(0x01, {}), host)) << "the code keeps its minimum length";

    EXPECT_FALSE(setReplyArm(0x01, std::move(own)) == nullptr);
    EXPECT_TRUE(decodeReply(reply(0x01, {28}), host));
    EXPECT_DOUBLE_EQ(decoderState().ContrastValue, 6);
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(ReplyDecoderTest, writeAcknowledgementsShowSuccessOrFailureAndNothingElse) {
    const uint8_t codes[] = {0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87,
                             0x88, 0x89, 0x8D, 0x8E, 0x8F, 0x90, 0x91};
    shared().SendSuspended = kTrue;
    flags().OneSetLcdContrast = kTrue;
    const OpenFlags before = flags();
    for (uint8_t code : codes) {
        SCOPED_TRACE(code);
        dialogs->clear();
        EXPECT_TRUE(decodeReply(reply(code, {code}), host));
        EXPECT_TRUE(decodeReply(reply(code, {static_cast<uint8_t>(code ^ 0x40), code}), host));
        const auto shown = dialogs->messages();
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_EQ(shown[0].text, "Set OK !!!");
        EXPECT_EQ(shown[0].icon, MsgIcon::None);
        EXPECT_EQ(shown[0].title, "");
        EXPECT_EQ(shown[1].text, "Set Fail !!!");
        EXPECT_EQ(shown[1].icon, MsgIcon::Critical);
        EXPECT_EQ(shown[1].title, "");
    }
    EXPECT_EQ(std::memcmp(&before, &flags(), sizeof before), 0);
    EXPECT_EQ(shared().SendSuspended, kTrue);
    EXPECT_TRUE(host.sent.empty());
    EXPECT_TRUE(host.listSets.empty());
    dialogs->clear();
    for (uint8_t code : {0x8A, 0x8B, 0x8C}) EXPECT_FALSE(decodeReply(reply(code, {code}), host));
    EXPECT_FALSE(decodeReply(reply(0x81, {}), host));
    EXPECT_TRUE(dialogs->records.empty()) << "the timer table's acknowledgements wait for their window";
}

}  // namespace
