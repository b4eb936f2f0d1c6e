#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/read_write_ini_cls.h"
#include "platform/text_file.h"
#include "support/file_size_limit.h"
#include "support/read_watchdog.h"
#include "support/test_support.h"

namespace sq {
namespace {

class IniTest : public ::testing::Test {
protected:
    void SetUp() override { m_path = sqtest::makeTempDir("ini") + "/ControlSetting.ini"; }

    void writeFile(const std::string& bytes) { ASSERT_TRUE(writeFileAtomic(m_path, bytes)); }
    std::string fileBytes() { return readFileBytes(m_path).value_or("<missing>"); }
    std::string get(const std::string& key, const std::string& def,
                    const std::string& section = "MeterSetting") {
        return IniRW().GetINI(section, key, def, m_path);
    }
    int32_t write(const std::string& key, const std::string& value,
                  const std::string& section = "MeterSetting") {
        return IniRW().WriteINI(section, key, value, m_path);
    }

    std::string m_path;
};

TEST_F(IniTest, missingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(get("ComPort", "1"), "1");
    writeFile("");
    EXPECT_EQ(get("ComPort", "1"), "1");
    EXPECT_EQ(get("Calibration", "OFF"), "OFF");
    writeFile("[Other]\r\nComPort=5\r\n[MeterSetting]\r\nCalibration=94.0\r\n");
    EXPECT_EQ(get("ComPort", "1"), "1");
    EXPECT_EQ(get("Calibration", "OFF", "Missing"), "OFF");
}

TEST_F(IniTest, firstWriteCreatesTheFileAndTheValueReadsBackUnchanged) {
    EXPECT_NE(write("Calibration", "114.0"), 0);
    EXPECT_EQ(fileBytes(), "[MeterSetting]\r\nCalibration=114.0\r\n");
    EXPECT_EQ(get("Calibration", "OFF"), "114.0");
    EXPECT_NE(write("ComPort", "3"), 0);
    EXPECT_NE(write("Calibration", "OFF"), 0);
    EXPECT_EQ(fileBytes(), "[MeterSetting]\r\nCalibration=OFF\r\nComPort=3\r\n");
    EXPECT_EQ(get("ComPort", "1"), "3");
}

TEST_F(IniTest, readingFollowsTheProfileFileRules) {
    writeFile(
        "Stray=before any section\r\n"
        "; a comment\r\n"
        "[ meterSETTING ]\n"
        "  comport  =  7  \r"
        "Calibration=\"94.0\"\r\n"
        "Empty=\r\n"
        "Formula=a=b\r\n"
        "Quote=\"half\r\n"
        "Wide=Gr\xFC\xDF"
        "e\r\n"
        "comport=8\r\n"
        "[Next]\r\n"
        "Later=1");
    const std::pair<const char*, const char*> cases[] = {
        {"ComPort", "7"},             // names match in any letter case, blanks trimmed, first key wins
        {"Calibration", "94.0"},      // surrounding double quotes removed
        {"Empty", ""},                // present but empty: not the default
        {"Formula", "a=b"},           // the value runs to the end of the line
        {"Quote", "\"half"},          // a lone quote stays
        {"Wide", "Gr\u00FC\u00DFe"},  // Windows-1252 in the file
        {"Stray", "default"},         // a key before any section belongs to none
        {"Later", "default"},         // the section ends at the next one
    };
    for (const auto& [key, value] : cases) EXPECT_EQ(get(key, "default"), value) << key;
    EXPECT_EQ(get("Later", "default", "next"), "1");
}

TEST_F(IniTest, writingKeepsEveryOtherLineByteForByte) {
    const std::string before =
        "; settings\n"
        "[MeterSetting]\r\n"
        "ComPort = 2 \r\n"
        "Odd line without equals\r"
        "\r\n"
        "[Other]\r\n"
        "Key=\"x\"";
    writeFile(before);
    EXPECT_NE(write("comport", "4"), 0);
    EXPECT_NE(write("Calibration", "OFF"), 0);
    EXPECT_NE(write("New", "v", "Third"), 0);
    EXPECT_EQ(fileBytes(),
              "; settings\n"
              "[MeterSetting]\r\n"
              "ComPort=4\r\n"
              "Odd line without equals\r"
              "Calibration=OFF\r\n"
              "\r\n"
              "[Other]\r\n"
              "Key=\"x\"\r\n"
              "[Third]\r\n"
              "New=v\r\n");
}

TEST_F(IniTest, longValuesAreWrittenWholeButReadAsAtMost254Characters) {
    const std::string longValue(300, 'v');
    EXPECT_NE(write("Calibration", longValue), 0);
    EXPECT_NE(fileBytes().find(longValue), std::string::npos);
    EXPECT_EQ(get("Calibration", "OFF"), longValue.substr(0, 254));
    EXPECT_EQ(get("Missing", std::string(300, 'd')), std::string(254, 'd'));
}

TEST_F(IniTest, aFailedWriteLeavesTheOldFileIntact) {
    writeFile("[MeterSetting]\r\nComPort=2\r\n");
    int32_t result = -1;
    sqtest::withFileSizeLimit(256, [&] { result = write("Calibration", std::string(4096, 'x')); });

    EXPECT_EQ(result, 0);
    EXPECT_EQ(fileBytes(), "[MeterSetting]\r\nComPort=2\r\n");
    EXPECT_EQ(IniRW().WriteINI("MeterSetting", "ComPort", "1", m_path + ".d/none.ini"), 0);
}

// A settings file that is a pipe, a link to a device or far too large reads as one that cannot be
// read: defaults, and no write that would replace it. Nothing holds the program up.
TEST_F(IniTest, aPipeADeviceOrAHugeFileGivesDefaultsAndIsNotReplaced) {
    const struct {
        const char* what;
        void (*make)(const char* path);
    } cases[] = {
        {"a pipe", [](const char* p) { ::mkfifo(p, 0600); }},
        {"a link to /dev/zero", [](const char* p) { std::filesystem::create_symlink("/dev/zero", p); }},
        {"a file of 2 MB",
         [](const char* p) {
             std::ofstream(p).close();
             std::filesystem::resize_file(p, 2u << 20);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(m_path);
        c.make(m_path.c_str());
        const auto kind = std::filesystem::symlink_status(m_path).type();
        {
            const sqtest::ReadWatchdog guard(std::string("settings file: ") + c.what, m_path);
            EXPECT_EQ(get("ComPort", "1"), "1");
            EXPECT_EQ(write("ComPort", "3"), 0);
        }
        EXPECT_EQ(std::filesystem::symlink_status(m_path).type(), kind);
    }
}

// A settings file that is a link leading nowhere is written as a plain write would: the file it
// points at is made and the link stays. Links in a circle are left alone.
TEST_F(IniTest, aLinkThatLeadsNowhereGetsTheFileItPointsAt) {
    const std::string target = m_path + ".d/kept.ini";
    std::filesystem::create_directory(m_path + ".d");
    std::filesystem::create_symlink(target, m_path);
    EXPECT_NE(write("ComPort", "3"), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(m_path));
    EXPECT_EQ(readFileBytes(target).value_or("<missing>"), "[MeterSetting]\r\nComPort=3\r\n");

    std::filesystem::remove(m_path);
    std::filesystem::create_symlink(m_path, m_path);
    EXPECT_EQ(write("ComPort", "3"), 0);
    EXPECT_EQ(std::filesystem::read_symlink(m_path), m_path);
}

TEST_F(IniTest, namesAndValuesThatWouldBreakTheFileAreRefused) {
    writeFile("[MeterSetting]\r\nComPort=2\r\n");
    EXPECT_EQ(write("", "1"), 0);
    EXPECT_EQ(write("Com=Port", "1"), 0);
    EXPECT_EQ(write("ComPort", "1\r\n[Injected]"), 0);
    EXPECT_EQ(write("ComPort", "1", "Meter]Setting"), 0);
    EXPECT_EQ(IniRW().WriteINI("MeterSetting", "ComPort", "1", ""), 0);
    EXPECT_EQ(fileBytes(), "[MeterSetting]\r\nComPort=2\r\n");
}

TEST_F(IniTest, backslashesInTheFileNameAreFolderSeparators) {
    std::string folder = m_path.substr(0, m_path.rfind('/'));
    EXPECT_NE(IniRW().WriteINI("MeterSetting", "ComPort", "9", folder + "\\ControlSetting.ini"), 0);
    EXPECT_EQ(get("ComPort", "1"), "9");
}

}  // namespace
}  // namespace sq
