// The request builders: their frames byte for byte, the send suspension and the flags they set.
#include "link/requests.h"

#include <gtest/gtest.h>

#include <functional>

#include "link/builder_table.h"
#include "link/link_fixture.h"
#include "platform/vb_error.h"

using namespace sq;
using namespace sqtest;

namespace {

int16_t flagValue(Sets which) {
    switch (which) {
        case Sets::MemoryErasing:
            return flags().MemoryErasing;
        case Sets::ListingMemory:
            return flags().ListingMemory;
        case Sets::SendSuspended:
            return shared().SendSuspended;
        case Sets::Nothing:
            break;
    }
    return 0;
}

class RequestTest : public sqtest::MemoryLinkTest {
protected:
    void SetUp() override {
        MemoryLinkTest::SetUp();
        openLink();
        sent();
    }
    void expectRaises(int number, const std::function<void()>& call) {
        try {
            call();
            ADD_FAILURE() << "no error raised";
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), number);
        }
        EXPECT_TRUE(sent().empty()) << "nothing may be sent";
    }
};

TEST_F(RequestTest, examplesFromTheProtocolDescription) {
    struct Case {
        const char* name;
        std::function<void()> call;
        Bytes expected;
    } cases[] = {
        {"identify", [] { ReadDeviceModel(); }, {0x02, 0x00, 0x01, 0x00, 0x01}},
        {"clock read", [] { ReadMeterClock(); }, {0x02, 0x00, 0x01, 0x02, 0x03}},
        {"contrast 12", [] { WriteLcdContrast(12); }, {0x02, 0x00, 0x02, 0x81, 0x0C, 0x8F}},
        {"record header 3", [] { ReadRecordHeader(3); }, {0x02, 0x00, 0x02, 0x0E, 0x03, 0x0F}},
        {"block 258", [] { ReadRecordBlock(258); }, {0x02, 0x00, 0x03, 0x12, 0x01, 0x02, 0x12}},
        {"interval 3600",
         [] { WriteIntervalTime(3600); },
         {0x02, 0x00, 0x05, 0x91, 0x10, 0x0E, 0x00, 0x00, 0x8A, 0x00, 0x00, 0x00, 0x00}},
        {"lunch time",
         [] {
             WriteLunchTime(LunchTime{1, 12, 0, 0, 13, 0, 0});
         },
         {0x02, 0x00, 0x08, 0x90, 0x01, 0x0C, 0x00, 0x00, 0x0D, 0x00, 0x00, 0x98, 0x00}},
        {"clear memory", [] { ClearMeterMemory(); }, {0x02, 0x00, 0x01, 0x0B, 0x0A}},
    };
    for (const auto& c : cases) {
        c.call();
        EXPECT_EQ(sent(), c.expected) << c.name;
    }
}

TEST_F(RequestTest, welcomeTextOf36BytesGoesOutAs41BytesWithLengthByte38) {
    WriteWelcomeText(welcomeText());
    Bytes f = sent();
    ASSERT_EQ(f.size(), 41u);
    EXPECT_EQ(f[2], 38);
    EXPECT_EQ(f[3], 0x8D);
    EXPECT_EQ(f.back(), xorRange(f, 39));
}

TEST_F(RequestTest, everyBuilderSendsItsFrame) {
    for (const auto& b : allBuilders()) {
        resetSharedState();
        b.call();
        EXPECT_EQ(sent(), b.expected) << b.name;
    }
}

TEST_F(RequestTest, suspensionSilencesAllButTheTimerAutoScrollAndLunchWrites) {
    for (const auto& b : allBuilders()) {
        SCOPED_TRACE(b.name);
        resetSharedState();
        shared().SendSuspended = kTrue;
        b.call();
        Bytes out = sent();
        if (b.sendsWhileSuspended)
            EXPECT_EQ(out, b.expected);
        else
            EXPECT_TRUE(out.empty());
        EXPECT_EQ(shared().SendSuspended, kTrue);
        EXPECT_EQ(flags().MemoryErasing, kFalse);
        EXPECT_EQ(flags().ListingMemory, kFalse);
    }
}

TEST_F(RequestTest, eachBuilderSetsOnlyItsOwnFlag) {
    for (const auto& b : allBuilders()) {
        SCOPED_TRACE(b.name);
        resetSharedState();
        b.call();
        for (Sets f : {Sets::MemoryErasing, Sets::ListingMemory, Sets::SendSuspended})
            EXPECT_EQ(flagValue(f), f == b.sets ? kTrue : kFalse) << static_cast<int>(f);
    }
}

TEST_F(RequestTest, valuesThatDoNotFitRaiseBeforeAnythingIsSent) {
    TimerSettings negativeRow = sampleTimer();
    negativeRow.PcStop[2] = -1;
    DoseSettings negativeDuration = sampleDose();
    negativeDuration.D2PwDuration = -5;
    AlarmLimits negativeLimit = sampleAlarm();
    negativeLimit.LowerLimit[10] = -1;
    struct Case {
        const char* name;
        int error;
        std::function<void()> call;
    } cases[] = {
        {"record number 256", kOverflow, [] { ReadRecordHeader(256); }},
        {"record number -1", kOverflow, [] { ReadRecordHeader(-1); }},
        {"block 65536", kOverflow, [] { ReadRecordBlock(65536); }},
        {"block -1", kOverflow, [] { ReadRecordBlock(-1); }},
        {"contrast 256", kOverflow, [] { WriteLcdContrast(256); }},
        {"contrast 255.5 rounds to 256", kOverflow, [] { WriteLcdContrast(255.5); }},
        {"calibration -1", kOverflow, [] { WriteCalibrationLevel(-1); }},
        {"calibration 40000", kOverflow, [] { WriteCalibrationLevel(40000); }},
        {"interval -1", kOverflow, [] { WriteIntervalTime(-1); }},
        {"welcome text 253 bytes", kOverflow, [] { WriteWelcomeText(Bytes(253, 'A')); }},
        {"serial number 10 bytes", kSubscriptOutOfRange, [] { WriteSerialNumber(Bytes(10, '1')); }},
        {"serial number 12 bytes", kSubscriptOutOfRange, [] { WriteSerialNumber(Bytes(12, '1')); }},
        {"negative PW duration", kOverflow, [negativeDuration] { WriteDoseSettings(negativeDuration); }},
        {"negative alarm limit", kOverflow, [negativeLimit] { WriteLedAlarm(negativeLimit); }},
        {"negative clock year", kOverflow,
         [] {
             WriteMeterClock(ClockRecord{-1, 1, 1, 0, 0, 0});
         }},
        {"negative timer row", kOverflow, [negativeRow] { WriteTimerSettings1(negativeRow); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedState();
        expectRaises(c.error, c.call);
        EXPECT_EQ(shared().SendSuspended, kFalse);
    }
}

TEST_F(RequestTest, numbersRoundHalfToEven) {
    WriteLcdContrast(12.5);
    EXPECT_EQ(sent()[4], 12);
    WriteLcdContrast(13.5);
    EXPECT_EQ(sent()[4], 14);
    ReadRecordBlock(257.5);
    EXPECT_EQ(sent(), Bytes({0x02, 0x00, 0x03, 0x12, 0x01, 0x02, 0x12}));
    WriteWelcomeText(Bytes(252, 'A'));
    EXPECT_EQ(sent().size(), 257u);
}

TEST_F(RequestTest, suspendedBuilderDoesNotRaiseForABadValue) {
    shared().SendSuspended = kTrue;
    EXPECT_NO_THROW(ReadRecordHeader(256));
    EXPECT_TRUE(sent().empty());
}

TEST_F(RequestTest, clearMemoryMarksErasingOnlyWhenTheFrameWasWritten) {
    CurrentChannel = 0;
    ClearMeterMemory();
    EXPECT_EQ(flags().MemoryErasing, kFalse) << "no current channel";

    CurrentChannel = 1;
    PortAPI().CommClose(sqtest::kMemoryCom);
    ClearMeterMemory();
    EXPECT_EQ(flags().MemoryErasing, kFalse) << "port closed";

    PortAPI().CommOpen(sqtest::kMemoryCom, "COM7", sqtest::kLinkSettings);
    m_pair->instrument().setCapacity(3);
    ClearMeterMemory();
    EXPECT_EQ(flags().MemoryErasing, kFalse) << "frame cut short";
    sent();

    m_pair->instrument().setCapacity(SIZE_MAX);
    ClearMeterMemory();
    EXPECT_EQ(flags().MemoryErasing, kTrue);
    EXPECT_EQ(sent(), Bytes({0x02, 0x00, 0x01, 0x0B, 0x0A}));
}

TEST_F(RequestTest, listingFlagIsSetEvenWithoutACurrentChannel) {
    CurrentChannel = 0;
    ReadMemoryInfo();
    EXPECT_EQ(flags().ListingMemory, kTrue);
    EXPECT_TRUE(sent().empty());
}

}  // namespace
