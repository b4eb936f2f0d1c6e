// Reply frames byte for byte, as the program's decoder expects them.
#include "sim_fixture.h"

namespace {

using namespace simtest;
using namespace sq::metersim;

TEST_F(SimTest, identifyRequestIsAnsweredWithTheModelName) {
    Bytes got = exchange({0x02, 0x00, 0x01, 0x00, 0x01});
    Bytes expected = {0x03, 0x00, 0x00, 0x09, 'V', 'O', 'K', '-', 'L', 'S', 'R', '2', '0'};
    uint8_t x = 0;
    for (size_t i = 1; i < expected.size(); ++i) x ^= expected[i];
    expected.push_back(x);
    EXPECT_EQ(got, expected);
}

TEST_F(SimTest, clockReplyCarriesYearHighByteFirst) {
    sim->setClock({2022, 3, 30, 14, 5, 9});
    EXPECT_EQ(exchange({0x02, 0x00, 0x01, 0x02, 0x03}),
              (Bytes{0x03, 0x02, 0x00, 0x07, 0x07, 0xE6, 0x03, 0x1E, 0x0E, 0x05, 0x09, 0xFB}));
}

TEST_F(SimTest, clockRunsWithTheRuntimeClockAcrossMidnight) {
    sim->setClock({2022, 12, 31, 23, 59, 58});
    wait(3.0);
    EXPECT_EQ(ask(0x02).data, (Bytes{0x07, 0xE7, 0x01, 0x01, 0x00, 0x00, 0x01}));
}

TEST_F(SimTest, singleValueRepliesHaveTheirLayouts) {
    sim->state().calibrationLevel = 930;
    sim->state().intervalSeconds = 300;
    sim->state().memoryTotal = 256;
    sim->state().memoryRemain = 255;
    sim->state().calibrationDate = {2024, 2, 29, 8, 0, 30};
    EXPECT_EQ(exchange({0x02, 0x00, 0x01, 0x13, 0x12}), (Bytes{0x03, 0x13, 0x00, 0x02, 0x03, 0xA2, 0xB0}));
    EXPECT_EQ(ask(0x15).data, (Bytes{0x2C, 0x01, 0x00, 0x00}));
    EXPECT_EQ(ask(0x0F).data, (Bytes{0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0xFF}));
    EXPECT_EQ(ask(0x16).data, (Bytes{0x07, 0xE8, 0x02, 0x1D, 0x08, 0x00, 0x1E}));
}

TEST_F(SimTest, settingBlocksHaveTheirLengths) {
    const std::pair<uint8_t, size_t> lengths[] = {{0x01, 1},   {0x03, 1},  {0x04, 26}, {0x05, 36},
                                                  {0x06, 1},   {0x07, 45}, {0x08, 1},  {0x09, 1},
                                                  {0x0A, 130}, {0x10, 36}, {0x11, 12}, {0x14, 7}};
    for (auto [cmd, length] : lengths) EXPECT_EQ(ask(cmd).data.size(), length) << "command " << int(cmd);
}

TEST_F(SimTest, memorySizeFollowsTheStoredRecords) {
    sim->state().memoryTotal = 100000;
    sim->addRecord(makeRecord({2022, 3, 30, 14, 5, 9}, 60, std::vector<Point>(35)));
    // 536 header bytes and 35 points of 8 bytes are taken.
    EXPECT_EQ(ask(0x0F).data, (Bytes{0x00, 0x01, 0x86, 0xA0, 0x00, 0x01, 0x83, 0x70}));
}

TEST_F(SimTest, recordHeaderStartsWithTheStartTimeLittleEndian) {
    sim->addRecord(makeRecord({2022, 3, 30, 14, 5, 9}, 60, std::vector<Point>(35)));
    Reply header = ask(0x0E, {0x01});
    EXPECT_EQ(header.code, 0x0E);
    ASSERT_EQ(header.data.size(), 536u);
    EXPECT_EQ(Bytes(header.data.begin(), header.data.begin() + 7),
              (Bytes{0xE6, 0x07, 0x03, 0x1E, 0x0E, 0x05, 0x09}));
    EXPECT_EQ(header.data[532], 35);
    EXPECT_EQ(header.data[533], 0);
}

TEST_F(SimTest, blocksOfThirtyFivePointsCarryTenTenTenAndFive) {
    std::vector<Point> points;
    for (uint16_t i = 0; i < 35; ++i)
        points.push_back({static_cast<uint16_t>(600 + i), 610, 1200, 1300, false});
    sim->addRecord(makeRecord({2022, 3, 30, 14, 5, 9}, 60, points));
    ask(0x0E, {0x01});
    const size_t expected[] = {80, 80, 80, 40};
    for (uint8_t b = 0; b < 4; ++b) {
        Reply block = ask(0x12, {0x00, b});
        EXPECT_EQ(block.code, 0x12);
        EXPECT_EQ(block.data.size(), expected[b]);
        // The first point of block b is point 10b: LAVG 600 + 10b, low byte first.
        EXPECT_EQ(block.data[0], (600 + 10 * b) & 0xFF);
        EXPECT_EQ(block.data[1], (600 + 10 * b) >> 8);
    }
    EXPECT_TRUE(exchange(request(0x12, {0x00, 0x04})).empty());
}

TEST_F(SimTest, markedPointCarriesTheFlagInBitFifteen) {
    sim->addRecord(makeRecord({2022, 3, 30, 14, 5, 9}, 60, {Point{653, 0, 1204, 0x1234, true}}));
    ask(0x0E, {0x01});
    EXPECT_EQ(ask(0x12, {0x00, 0x00}).data, (Bytes{0x8D, 0x82, 0x00, 0x00, 0xB4, 0x04, 0x34, 0x12}));
}

TEST_F(SimTest, unknownRecordAndBlockWithoutHeaderGetNoAnswer) {
    sim->addRecord(makeRecord({2022, 3, 30, 14, 5, 9}, 60, std::vector<Point>(5)));
    EXPECT_TRUE(exchange(request(0x12, {0x00, 0x00})).empty());  // no header asked yet
    EXPECT_TRUE(exchange(request(0x0E, {0x02})).empty());
    EXPECT_TRUE(exchange(request(0x0E, {0x00})).empty());
    EXPECT_EQ(sim->requests().back().outcome, Outcome::NoAnswer);
}

}  // namespace
