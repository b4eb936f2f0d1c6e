// The demo set and the records file of the command-line simulator.
#include "metersim/record_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "metersim/demo_records.h"
#include "platform/text_file.h"
#include "support/test_support.h"

namespace {

using namespace sq::metersim;

TEST(DemoRecords, holdThreeRealisticRecords) {
    std::vector<StoredRecord> demo = demoRecords();
    ASSERT_EQ(demo.size(), 3u);
    const size_t sizes[] = {35, 480, 10000};
    for (size_t i = 0; i < 3; ++i) {
        const StoredRecord& r = demo[i];
        EXPECT_EQ(r.points.size(), sizes[i]);
        EXPECT_TRUE(std::any_of(r.points.begin(), r.points.end(), [](const Point& p) { return p.mark; }));
        for (const Point& p : r.points) {
            ASSERT_GE(p.lavg, 400);
            ASSERT_LE(p.lavg, 1200);
            ASSERT_GT(p.lcpk, p.lavg);
        }
        Bytes h = encodeHeader(r);
        EXPECT_EQ(h[532] | h[533] << 8, static_cast<int>(sizes[i]));
        EXPECT_EQ(r.listTime, r.header.start);
        EXPECT_GT(r.header.channel[0].dose, 0u);
    }
    EXPECT_EQ(demo[0].header.start, (DateTime{2022, 3, 30, 14, 5, 9}));
    EXPECT_EQ(demo[1].header.measurementDuration, 8u * 3600u);
}

TEST(RecordsFile, roundTripKeepsPointsMarksAndTimes) {
    std::string path = sqtest::makeTempDir("records") + "/set.json";
    std::vector<StoredRecord> demo = demoRecords();
    demo[0].listTime = {2022, 3, 30, 15, 0, 0};
    ASSERT_TRUE(saveRecordsFile(path, demo));
    std::vector<StoredRecord> back;
    std::string error;
    ASSERT_TRUE(loadRecordsFile(path, back, error)) << error;
    ASSERT_EQ(back.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(encodeHeader(back[i]), encodeHeader(demo[i])) << i;
        ASSERT_EQ(back[i].points.size(), demo[i].points.size());
        EXPECT_TRUE(std::equal(back[i].points.begin(), back[i].points.end(), demo[i].points.begin(),
                               [](const Point& a, const Point& b) {
                                   return a.lavg == b.lavg && a.leq == b.leq && a.lcpk == b.lcpk &&
                                          a.lzpk == b.lzpk && a.mark == b.mark;
                               }));
    }
    EXPECT_EQ(back[0].listTime, (DateTime{2022, 3, 30, 15, 0, 0}));
}

TEST(RecordsFile, badFilesAreRefusedWithAReason) {
    std::string dir = sqtest::makeTempDir("records");
    const std::pair<const char*, const char*> cases[] = {
        {"{\"records\": [{\"interval\": 60, \"points\": []}]}", "start"},
        {"{\"records\": [{\"start\": \"2022/03/30 14:05:09\", \"points\": [[1, 2, 3]]}]}", "point"},
        {"{\"records\": [{\"start\": \"2022/03/30 14:05:09\", \"points\": [[40000, 2, 3, 4]]}]}", "point"},
        {"[1, 2]", "not a records file"},
        {"{\"records\": [", "not a records file"},
    };
    for (auto [text, reason] : cases) {
        std::string path = dir + "/bad.json";
        ASSERT_TRUE(sq::writeFileAtomic(path, text));
        std::vector<StoredRecord> out;
        std::string error;
        EXPECT_FALSE(loadRecordsFile(path, out, error)) << text;
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
    std::vector<StoredRecord> out;
    std::string error;
    EXPECT_FALSE(loadRecordsFile(dir + "/missing.json", out, error));
}

}  // namespace
