// Writes change what reads return; each write is acknowledged with its own code; erase and the
// unsolicited re-send request.
#include "sim_fixture.h"

namespace {

using namespace simtest;
using namespace sq::metersim;

Bytes series(size_t n, uint8_t first) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(first + i);
    return b;
}

TEST_F(SimTest, eachWriteIsAcknowledgedAndReadBack) {
    struct Case {
        uint8_t write;
        Bytes payload;
        uint8_t read;
        Bytes readBack;
    };
    const Case cases[] = {
        {0x81, {0x0C}, 0x01, {0x0C}},
        {0x82, {0x07, 0xE6, 0x03, 0x1E, 0x0E, 0x05, 0x09}, 0x02, {0x07, 0xE6, 0x03, 0x1E, 0x0E, 0x05, 0x09}},
        {0x83, {0x05}, 0x03, {0x05}},
        {0x84, series(26, 1), 0x04, series(26, 1)},
        {0x85, series(36, 2), 0x05, series(36, 2)},
        {0x86, {0x01}, 0x06, {0x01}},
        {0x87, series(45, 3), 0x07, series(45, 3)},
        {0x88, {0x01}, 0x08, {0x01}},
        {0x89, {0x00}, 0x09, {0x00}},
        {0x8F, {0x04, 0x6A}, 0x13, {0x04, 0x6A}},
        {0x90, {1, 12, 0, 0, 13, 30, 0}, 0x14, {1, 12, 0, 0, 13, 30, 0}},
        {0x91, {0x10, 0x0E, 0x00, 0x00}, 0x15, {0x10, 0x0E, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        Reply ack = ask(c.write, c.payload);
        EXPECT_EQ(ack.code, c.write);
        EXPECT_EQ(ack.data, Bytes{c.write});
        EXPECT_EQ(ask(c.read).data, c.readBack) << "write " << int(c.write);
    }
}

TEST_F(SimTest, timerTableIsAssembledFromItsThreeFrames) {
    Bytes table = series(130, 0x20);
    EXPECT_EQ(ask(0x8A, Bytes(table.begin(), table.begin() + 46)).data, Bytes{0x8A});
    EXPECT_EQ(ask(0x8B, Bytes(table.begin() + 46, table.begin() + 95)).data, Bytes{0x8B});
    EXPECT_EQ(ask(0x8C, Bytes(table.begin() + 95, table.end())).data, Bytes{0x8C});
    EXPECT_EQ(ask(0x0A).data, table);
    EXPECT_EQ(sim->requestsWithCode(0x8A).at(0).field("repeatCount"), 0x20 + 17);
}

TEST_F(SimTest, failingWriteAnswersTheFailureByteAndKeepsTheState) {
    sim->setWriteFails(0x81);
    uint8_t before = sim->state().contrast;
    EXPECT_EQ(ask(0x81, {0x28}).data, Bytes{0x00});
    EXPECT_EQ(sim->state().contrast, before);
    sim->setFailureByte(0x01);
    EXPECT_EQ(ask(0x81, {0x28}).data, Bytes{0x01});
    sim->setWriteFails(0x81, false);
    EXPECT_EQ(ask(0x81, {0x28}).data, Bytes{0x81});
    EXPECT_EQ(sim->state().contrast, 0x28);
}

TEST_F(SimTest, writeWithAWrongPayloadLengthFails) {
    auto before = sim->state().dose;
    EXPECT_EQ(ask(0x84, series(25, 1)).data, Bytes{0x00});
    EXPECT_EQ(sim->state().dose, before);
}

TEST_F(SimTest, defaultsAreUsable) {
    EXPECT_EQ(ask(0x00).data, (Bytes{'V', 'O', 'K', '-', 'L', 'S', 'R', '2', '0'}));
    Bytes date = ask(0x16).data;
    EXPECT_TRUE(date[0] || date[1]) << "calibration date year must not be 0";
    EXPECT_NE(date[2], 0);
    EXPECT_NE(date[3], 0);
    Bytes timer = ask(0x0A).data;
    EXPECT_LE(timer[0], 3);   // mode
    EXPECT_GE(timer[17], 1);  // repeat count 1 to 99
    EXPECT_LE(timer[17], 99);
    EXPECT_EQ(ask(0x13).data, (Bytes{0x03, 0xAC}));  // 94.0 dB
}

TEST_F(SimTest, unsupportedModelIsReportedAsSet) {
    sim->setModel("XYZ 100");
    EXPECT_EQ(ask(0x00).data, (Bytes{'X', 'Y', 'Z', ' ', '1', '0', '0'}));
    sim->setModel("K\u00D6-1");  // one byte per character on the wire
    EXPECT_EQ(ask(0x00).data, (Bytes{'K', 0xD6, '-', '1'}));
}

TEST_F(SimTest, clearMemoryIsSilentForItsTimeThenAcknowledgedAndEmpties) {
    sim->state().memoryTotal = 65536;
    sim->addRecord(makeRecord({2022, 3, 30, 14, 5, 9}, 60, std::vector<Point>(100)));
    EXPECT_TRUE(exchange({0x02, 0x00, 0x01, 0x0B, 0x0A}).empty());
    EXPECT_TRUE(sim->erasing());
    EXPECT_TRUE(exchange(request(0x00), 2.5).empty());  // 2.6 s into the erase
    EXPECT_EQ(sim->requests().back().outcome, Outcome::Erasing);
    auto replies = parseReplies(exchange(request(0x0F), 0.5));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].code, 0x0B);
    EXPECT_EQ(replies[0].data, Bytes{0x0B});
    EXPECT_FALSE(sim->erasing());
    EXPECT_EQ(sim->recordCount(), 0);
    EXPECT_EQ(ask(0x0F).data, (Bytes{0, 1, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(ask(0x0C).code, 0xFF);
}

TEST_F(SimTest, eraseTimeIsAdjustable) {
    sim->setEraseSeconds(0.2);
    auto replies = parseReplies(exchange(request(0x0B), 0.3));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].code, 0x0B);
}

TEST_F(SimTest, unsolicitedResendRequestNamesTheWrite) {
    sim->sendUnsolicited55(0x84);
    wait(0.1);
    EXPECT_EQ(readAll(), (Bytes{0x03, 0x55, 0x00, 0x01, 0x84, 0xD0}));
}

TEST_F(SimTest, requestLogHasTimesAndDecodedFields) {
    wait(1.0);
    send(request(0x0E, {0x07}));
    wait(0.5);
    send(request(0x12, {0x01, 0x02}));
    send({0x02, 0x00, 0x08, 0x82, 0x07, 0xE6, 0x03, 0x1E, 0x0E, 0x05, 0x09, 0x74});
    wait(0.1);
    const auto& log = sim->requests();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_DOUBLE_EQ(log[0].time, 1.0);
    EXPECT_EQ(log[0].name, "ReadRecordHeader");
    EXPECT_EQ(log[0].field("record"), 7);
    EXPECT_DOUBLE_EQ(log[1].time, 1.5);
    EXPECT_EQ(log[1].field("block"), 258);
    EXPECT_EQ(log[2].outcome, Outcome::Answered);
    EXPECT_EQ(log[2].text, "2022/03/30 14:05:09");
    EXPECT_EQ(log[2].field("month"), 3);
    EXPECT_EQ(sim->countOf(0x12), 1);
}

}  // namespace
