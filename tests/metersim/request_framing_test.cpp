// Request frames as the program writes them, with their quirks, noise and split arrival.
#include "sim_fixture.h"

namespace {

using namespace simtest;
using namespace sq::metersim;

Bytes withChecksum(Bytes f) {
    uint8_t x = 0;
    for (size_t i = 1; i < f.size(); ++i) x ^= f[i];
    f.push_back(x);
    return f;
}

TEST_F(SimTest, welcomeTextFrameCarriesItsTextUnderLengthPlusTwo) {
    Bytes f = {0x02, 0x00, 38, 0x8D};
    std::string text = "HELLO       " + std::string(12, ' ') + "ABCDEFGHIJKL";
    f.insert(f.end(), text.begin(), text.end());
    f = withChecksum(f);
    ASSERT_EQ(f.size(), 41u);
    auto replies = parseReplies(exchange(f));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].code, 0x8D);
    EXPECT_EQ(replies[0].data, Bytes{0x8D});
    EXPECT_EQ(sim->state().welcomeTextUtf8(), text);
    EXPECT_EQ(sim->requests().back().text, text);
    EXPECT_EQ(sim->requests().back().field("length"), 36);
}

TEST_F(SimTest, lunchTimeAndIntervalFramesTakeTheirTrailingZeros) {
    Bytes lunch = {0x02, 0x00, 0x08, 0x90, 0x01, 0x0C, 0x00, 0x00, 0x0D, 0x00, 0x00, 0x98, 0x00};
    Bytes interval = {0x02, 0x00, 0x05, 0x91, 0x10, 0x0E, 0x00, 0x00, 0x8A, 0x00, 0x00, 0x00, 0x00};
    Bytes both = lunch;
    both.insert(both.end(), interval.begin(), interval.end());
    both.insert(both.end(), {0x02, 0x00, 0x01, 0x15, 0x14});  // interval read right behind
    auto replies = parseReplies(exchange(both));
    ASSERT_EQ(replies.size(), 3u);
    EXPECT_EQ(replies[0].data, Bytes{0x90});
    EXPECT_EQ(replies[1].data, Bytes{0x91});
    EXPECT_EQ(replies[2].data, (Bytes{0x10, 0x0E, 0x00, 0x00}));
    EXPECT_EQ(sim->skippedBytes(), 0u);
    const auto& log = sim->requests();
    EXPECT_EQ(log[0].raw, lunch);
    EXPECT_EQ(log[0].field("stopHour"), 13);
    EXPECT_EQ(log[1].raw, interval);
    EXPECT_EQ(log[1].field("seconds"), 3600);
    EXPECT_EQ(sim->state().lunchTime, (std::array<uint8_t, 7>{1, 12, 0, 0, 13, 0, 0}));
}

TEST_F(SimTest, trailingZerosArrivingLaterAreNotNoise) {
    send({0x02, 0x00, 0x05, 0x91, 0x10, 0x0E, 0x00, 0x00, 0x8A});
    wait(0.01);
    send({0x00, 0x00, 0x00, 0x00});
    wait(0.1);
    EXPECT_EQ(sim->skippedBytes(), 0u);
    EXPECT_EQ(sim->state().intervalSeconds, 3600u);
}

TEST_F(SimTest, serialNumberWriteOfElevenBytesSetsTheFirstEleven) {
    sim->state().setSerialNumber("OLDSERIAL00Z");
    Bytes f = {0x02, 0x00, 0x0C, 0x8E, 'S', 'N', '1', '2', '3', '4', '5', '6', '7', '8', '9'};
    auto replies = parseReplies(exchange(withChecksum(f)));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].data, Bytes{0x8E});
    EXPECT_EQ(sim->state().serialNumberUtf8(), "SN123456789Z");
}

TEST_F(SimTest, noiseBetweenFramesIsSkipped) {
    Bytes b = {0x55, 0xAA, 0x00, 0xFF};
    Bytes identify = {0x02, 0x00, 0x01, 0x00, 0x01};
    Bytes clockRead = {0x02, 0x00, 0x01, 0x02, 0x03};
    b.insert(b.end(), identify.begin(), identify.end());
    b.insert(b.end(), {0x00, 0x13});
    b.insert(b.end(), clockRead.begin(), clockRead.end());
    auto replies = parseReplies(exchange(b));
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].code, 0x00);
    EXPECT_EQ(replies[1].code, 0x02);
    EXPECT_EQ(sim->skippedBytes(), 6u);
}

TEST_F(SimTest, frameArrivingByteByByteIsAnsweredOnce) {
    Bytes f = request(0x0E, {0x01});
    sim->addRecord(makeRecord({2022, 3, 30, 14, 5, 9}, 60, {}));
    for (uint8_t byte : f) {
        send({byte});
        wait(0.01);
    }
    wait(0.1);
    auto replies = parseReplies(readAll());
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].code, 0x0E);
    EXPECT_EQ(sim->requests().size(), 1u);
    EXPECT_EQ(sim->requests()[0].field("record"), 1);
}

TEST_F(SimTest, badChecksumIsLoggedAndNotAnswered) {
    Bytes bad = {0x02, 0x00, 0x02, 0x81, 0x0C, 0x00};
    Bytes good = {0x02, 0x00, 0x02, 0x81, 0x0C, 0x8F};
    bad.insert(bad.end(), good.begin(), good.end());
    uint8_t before = sim->state().contrast;
    auto replies = parseReplies(exchange(bad));
    ASSERT_EQ(replies.size(), 1u);
    ASSERT_EQ(sim->requests().size(), 2u);
    EXPECT_EQ(sim->requests()[0].outcome, Outcome::BadChecksum);
    EXPECT_FALSE(sim->requests()[0].checksumOk);
    EXPECT_EQ(sim->requests()[1].outcome, Outcome::Answered);
    EXPECT_EQ(sim->requests()[1].field("value"), 12);
    EXPECT_NE(before, 12);
    EXPECT_EQ(sim->state().contrast, 12);
}

TEST_F(SimTest, partialFrameIsDroppedAfterAPause) {
    send({0x02, 0x00, 0x03, 0x12, 0x00});  // a block request cut short
    wait(2.0);
    auto replies = parseReplies(exchange(request(0x00)));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].code, 0x00);
    EXPECT_EQ(sim->skippedBytes(), 5u);
}

TEST_F(SimTest, impossibleLengthResynchronisesAtTheNextStartByte) {
    Bytes b = {0x02, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x01};  // length 0, then an identify request
    auto replies = parseReplies(exchange(b));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].code, 0x00);
}

TEST_F(SimTest, unknownCommandIsLoggedWithoutAnswer) {
    EXPECT_TRUE(exchange(request(0x17)).empty());
    EXPECT_TRUE(exchange(request(0x92, {0x01})).empty());
    EXPECT_EQ(sim->requests()[0].outcome, Outcome::Unknown);
    EXPECT_EQ(sim->requests()[1].outcome, Outcome::Unknown);
}

}  // namespace
