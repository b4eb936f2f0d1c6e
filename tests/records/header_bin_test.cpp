// The item selection file: its line, its parse and the rewrite cases at a window's load.
#include "records/header_bin.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/text_file.h"
#include "support/read_watchdog.h"
#include "support/special_files.h"
#include "support/test_support.h"

namespace {

std::string zeros() {
    std::string line;
    for (int n = 0; n < 102; ++n) line += n ? ",0" : "0";
    return line;
}

TEST(HeaderBinTest, WrittenFileIsOneLineOf102FieldsAndCrLf) {
    const std::string path = sqtest::makeTempDir("hb") + "/Header.bin";
    sq::ItemStates states{};
    states[2] = 1;
    states[27] = 1;
    states[101] = 2;
    ASSERT_TRUE(sq::writeHeaderBin(path, states));
    const auto bytes = sq::readFileBytes(path);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 205u);
    EXPECT_EQ(bytes->substr(0, 6), "0,0,1,");
    EXPECT_EQ(bytes->substr(bytes->size() - 4), ",2\r\n");
    EXPECT_EQ(sq::parseHeaderBinLine(bytes->substr(0, 203)), states);
}

TEST(HeaderBinTest, FieldsOtherThanZeroOneOrTwoLeaveTheBoxUnticked) {
    std::string line = zeros();
    line[2 * 3] = '2';  // field 3
    line[2 * 4] = 'x';  // field 4
    line[2 * 5] = '5';  // field 5
    line[2 * 6] = '1';  // field 6
    auto states = sq::parseHeaderBinLine(line);
    ASSERT_TRUE(states);
    EXPECT_EQ((*states)[3], 2);
    EXPECT_EQ((*states)[4], 0);
    EXPECT_EQ((*states)[5], 0);
    EXPECT_EQ((*states)[6], 1);
    EXPECT_FALSE(sq::parseHeaderBinLine(zeros() + ",0"));
    EXPECT_FALSE(sq::parseHeaderBinLine(zeros().substr(2)));
    EXPECT_FALSE(sq::parseHeaderBinLine(""));
}

TEST(HeaderBinTest, LoadCreatesResetsOrReadsTheLastLine) {
    const std::string dir = sqtest::makeTempDir("hbload");
    const std::string path = dir + "/Header.bin";
    const std::string zeroFile = zeros() + "\r\n";
    std::string ticked = zeros();
    ticked[2 * 2] = '1';

    EXPECT_EQ(sq::loadHeaderBin(path), sq::ItemStates{});  // no file: created with zeros
    EXPECT_EQ(sq::readFileBytes(path), zeroFile);

    struct Case {
        const char* name;
        std::string content;
        bool ticksDose;
        bool rewritten;
    };
    const Case cases[] = {
        {"101 fields", zeros().substr(2) + "\r\n", false, true},
        {"103 fields", zeros() + ",1\r\n", false, true},
        {"empty file", "", false, true},
        {"empty last line", ticked + "\r\n\r\n", false, true},
        {"several lines", zeros() + "\r\n" + ticked + "\r\n", true, false},
        {"bare LF", ticked + "\n", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(sq::writeFileAtomic(path, c.content));
        EXPECT_EQ(sq::loadHeaderBin(path)[2], c.ticksDose ? 1 : 0);
        if (c.rewritten) {
            EXPECT_EQ(sq::readFileBytes(path), zeroFile);
        }
    }
}

// The selection file is created only where nothing is: a pipe or a device node at its name, or at
// the end of a link, reads as no selection and stays as it is, also when the selection is set. A
// link that leads nowhere gets the file it points at.
TEST(HeaderBinTest, APipeOrADeviceNodeAsTheFileIsLeftAsItIs) {
    using namespace sqtest;
    const auto expectLeftAsItIs = [](const SpecialFile& c, const std::string& dir, const std::string& path) {
        const auto before = nodesIn(dir);
        {
            const ReadWatchdog guard("the selection file is " + c.what, c.pipePath(dir, path));
            EXPECT_EQ(sq::loadHeaderBin(path), sq::ItemStates{});
        }
        sq::ItemStates ticked{};
        ticked[2] = 1;
        EXPECT_FALSE(sq::writeHeaderBin(path, ticked));
        EXPECT_EQ(nodesIn(dir), before);
    };
    forEachSpecialFile(pipesAndDeviceNodes(), freshFolder("hbspecial", "Header.bin"), expectLeftAsItIs);

    const std::string dir = makeTempDir("hbdangling");
    ASSERT_TRUE(makeLink("kept/Header.bin", dir + "/Header.bin"));
    std::filesystem::create_directory(dir + "/kept");
    EXPECT_EQ(sq::loadHeaderBin(dir + "/Header.bin"), sq::ItemStates{});
    EXPECT_TRUE(std::filesystem::is_symlink(dir + "/Header.bin"));
    EXPECT_EQ(sq::readFileBytes(dir + "/kept/Header.bin"), zeros() + "\r\n");
}

TEST(HeaderBinTest, WithoutItsFolderNothingIsWrittenAndNothingTicked) {
    const std::string path = sqtest::makeTempDir("hbmissing") + "/bin/Header.bin";
    EXPECT_EQ(sq::loadHeaderBin(path), sq::ItemStates{});
    EXPECT_FALSE(sq::fileExists(path));
    EXPECT_FALSE(sq::writeHeaderBin(path, sq::ItemStates{}));
}

}  // namespace
