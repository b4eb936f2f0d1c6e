// Each fault switch of the simulated link does what it says, and only to the replies it names.
#include "sim_fixture.h"

namespace {

using namespace simtest;
using namespace sq::metersim;

const Bytes kIdentify = {0x02, 0x00, 0x01, 0x00, 0x01};

class FaultTest : public SimTest {
protected:
    Bytes identifyReply() { return buildReply(0x00, {'V', 'O', 'K', '-', 'L', 'S', 'R', '2', '0'}); }
};

TEST_F(FaultTest, latencyDelaysTheReply) {
    sim->setLatency(0.5);
    send(kIdentify);
    wait(0.45);
    EXPECT_EQ(pair->program().queued(), 0u);
    wait(0.1);
    EXPECT_EQ(readAll(), identifyReply());
}

TEST_F(FaultTest, dropHitsOnlyTheNthMatchingReply) {
    sim->dropReply(2);
    EXPECT_EQ(exchange(kIdentify), identifyReply());
    EXPECT_TRUE(exchange(kIdentify).empty());
    EXPECT_EQ(exchange(kIdentify), identifyReply());
    EXPECT_EQ(sim->replies()[1].fault, "drop");

    sim->dropReply(1, 0x13);
    EXPECT_EQ(exchange(kIdentify), identifyReply());  // other codes pass
    EXPECT_TRUE(exchange(request(0x13)).empty());
    EXPECT_EQ(parseReplies(exchange(request(0x13))).size(), 1u);
}

TEST_F(FaultTest, duplicateSendsTheSameFrameTwice) {
    sim->duplicateReply(1, 0x00, 0.2);
    send(kIdentify);
    wait(0.1);
    EXPECT_EQ(readAll(), identifyReply());
    wait(0.2);
    EXPECT_EQ(readAll(), identifyReply());
}

TEST_F(FaultTest, splitSendsChunksSpacedInTime) {
    sim->splitReplies(4, 0.01);
    send(kIdentify);
    wait(0.005);  // the latency
    Bytes seen;
    std::vector<size_t> sizes;
    for (int i = 0; i < 5; ++i) {
        Bytes part = readAll();
        sizes.push_back(part.size());
        seen.insert(seen.end(), part.begin(), part.end());
        wait(0.01);
    }
    EXPECT_EQ(sizes, (std::vector<size_t>{4, 4, 4, 2, 0}));
    EXPECT_EQ(seen, identifyReply());
}

TEST_F(FaultTest, splitReplyIsNotInterleavedWithTheNextOne) {
    sim->splitReplies(2, 0.05, 0x00, 1);
    send(kIdentify);
    send(request(0x13));
    wait(1.0);
    auto replies = parseReplies(readAll());
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].code, 0x00);
    EXPECT_EQ(replies[1].code, 0x13);
}

TEST_F(FaultTest, baudRatePacesLongRepliesLikeASerialLine) {
    sim->setBaudRate(57600);  // 5760 bytes a second: the 541-byte header takes about 94 ms
    sim->addRecord(makeRecord({2022, 3, 30, 14, 5, 9}, 60, std::vector<Point>(35)));
    send(request(0x0E, {0x01}));
    send(kIdentify);
    wait(0.005 + 0.05);
    size_t early = pair->program().queued();
    EXPECT_GT(early, 250u);
    EXPECT_LT(early, 330u);
    wait(0.1);
    auto replies = parseReplies(readAll());
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].data.size(), 536u);
    EXPECT_EQ(replies[1].code, 0x00);
    EXPECT_NEAR(sim->replies()[1].time, 0.005 + 541.0 / 5760.0, 0.001);
}

TEST_F(FaultTest, garbageComesBeforeTheFrame) {
    sim->garbageBeforeReply({0x55, 0xAA});
    Bytes expected = {0x55, 0xAA};
    Bytes reply = identifyReply();
    expected.insert(expected.end(), reply.begin(), reply.end());
    EXPECT_EQ(exchange(kIdentify), expected);
    EXPECT_EQ(exchange(kIdentify), reply);
}

TEST_F(FaultTest, badChecksumFlipsOnlyTheChecksumByte) {
    sim->corruptChecksum();
    auto replies = parseReplies(exchange(kIdentify));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_FALSE(replies[0].checksumOk);
    EXPECT_EQ(replies[0].data, (Bytes{'V', 'O', 'K', '-', 'L', 'S', 'R', '2', '0'}));
}

TEST_F(FaultTest, shortReplyIsAWellFormedFrameWithFewerDataBytes) {
    sim->addRecord(makeRecord({2022, 3, 30, 14, 5, 9}, 60, std::vector<Point>(35)));
    sim->shortenReply(40, 1, 0x0E);
    Reply header = ask(0x0E, {0x01});
    EXPECT_EQ(header.data.size(), 40u);
    EXPECT_EQ(header.data[0], 0xE6);
    EXPECT_EQ(ask(0x0E, {0x01}).data.size(), 536u);
}

TEST_F(FaultTest, cutReplySendsOnlyTheFirstBytesOfTheFrame) {
    sim->cutReply(6);
    const Bytes whole = identifyReply();
    EXPECT_EQ(exchange(kIdentify), Bytes(whole.begin(), whole.begin() + 6));
    EXPECT_EQ(sim->replies().back().fault, "cut-off");
    EXPECT_EQ(exchange(kIdentify), whole);
}

TEST_F(FaultTest, everyMatchingReplyWhenNthIsZero) {
    sim->addFault(ReplyFault::Drop, 0, 0x00);
    EXPECT_TRUE(exchange(kIdentify).empty());
    EXPECT_TRUE(exchange(kIdentify).empty());
    sim->clearFaults();
    EXPECT_EQ(exchange(kIdentify), identifyReply());
}

TEST_F(FaultTest, silenceAnswersNothingAndChangesNothing) {
    sim->setSilent(true);
    uint8_t contrast = sim->state().contrast;
    EXPECT_TRUE(exchange(kIdentify).empty());
    EXPECT_TRUE(exchange(request(0x81, {0x24})).empty());
    sim->sendUnsolicited55(0x85);
    wait(0.1);
    EXPECT_EQ(pair->program().queued(), 0u);
    EXPECT_EQ(sim->state().contrast, contrast);
    EXPECT_EQ(sim->requests().back().outcome, Outcome::Silent);
    sim->setSilent(false);
    EXPECT_EQ(exchange(kIdentify), identifyReply());
}

TEST_F(FaultTest, repliesStillPendingAreDroppedSafelyWhenTheSimulatorGoes) {
    sim->setLatency(1.0);
    send(kIdentify);
    sim.reset();
    wait(2.0);
    EXPECT_EQ(pair->program().queued(), 0u);
}

}  // namespace
