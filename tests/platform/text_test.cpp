#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/encoding.h"
#include "platform/text_file.h"
#include "support/read_watchdog.h"
#include "support/test_support.h"

namespace sq {
namespace {

using Lines = std::vector<std::string>;

std::string allBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
    return bytes;
}

TEST(EncodingTest, windows1252MapsItsSpecialBytesAndReplacesTheRest) {
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\u20AC");
    EXPECT_EQ(cp1252ToUtf8("Gr\xFC\xDF"), "Gr\u00FC\u00DF");
    EXPECT_EQ(utf8ToCp1252("\u20AC \u2013 \u00E9"), "\x80 \x96 \xE9");
    EXPECT_EQ(utf8ToCp1252("\u03A9\U0001F600"), "??");  // no Windows-1252 byte
    EXPECT_EQ(utf8ToCp1252("a\xFF"
                           "b\xC3"),
              "a?b?");  // broken UTF-8 input
}

TEST(EncodingTest, everyByteSurvivesARoundTrip) {
    // Windows-1252 files (the five unassigned bytes included) and Latin-1 wire texts.
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(allBytes())), allBytes());
    EXPECT_EQ(utf8ToLatin1(latin1ToUtf8(allBytes())), allBytes());
    EXPECT_EQ(utf8ToLatin1("\u20AC"), "?");
}

TEST(EncodingTest, padToLengthCountsCharactersNotBytes) {
    const struct {
        std::string text;
        std::string padded;
    } cases[] = {{"", "    "},
                 {"ab", "ab  "},
                 {"\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9 "},  // three characters in five bytes
                 {"abcd", "abcd"},
                 {"abcdef", "abcdef"}};
    for (const auto& c : cases) EXPECT_EQ(padToLength(c.text, 4), c.padded) << c.text;
}

TEST(TextFileTest, linesEndAtCrLfBareCrAndBareLf) {
    const std::pair<const char*, Lines> cases[] = {
        {"a\r\nb", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\r\n", {"a"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"", {}},
        {"a\tb", {"a\tb"}},
        {"a\r", {"a"}},
        {"\n\r", {"", ""}},
        {"a\n\r\nb", {"a", "", "b"}},
        {"\r\r", {"", ""}},
    };
    for (const auto& [text, lines] : cases) EXPECT_EQ(splitLines(text), lines) << text;
}

TEST(TextFileTest, writesWindows1252WithCrLfAndReadsItBack) {
    std::string path = sqtest::makeTempDir("text") + "/out.txt";
    ASSERT_TRUE(writeTextLines(path, {"Gr\u00FC\u00DFe", "", "\u20AC 5"}));
    EXPECT_EQ(readFileBytes(path), std::optional<std::string>("Gr\xFC\xDF"
                                                              "e\r\n\r\n\x80 5\r\n"));
    EXPECT_EQ(readTextLines(path), std::optional<Lines>({"Gr\u00FC\u00DFe", "", "\u20AC 5"}));
    EXPECT_EQ(readTextLines(path + ".missing"), std::nullopt);
}

// A failed write or read reports the system's reason; a write leaves nothing behind.
TEST(TextFileTest, failuresGiveTheSystemsReason) {
    std::string dir = sqtest::makeTempDir("reason");
    std::filesystem::create_directory(dir + "/folder");
    std::string reason;
    EXPECT_FALSE(writeFileAtomic(dir + "/missing/x.txt", "x", &reason));
    EXPECT_EQ(reason, std::strerror(ENOENT));
    EXPECT_FALSE(writeFileAtomic(dir + "/folder", "x", &reason));
    EXPECT_EQ(reason, std::strerror(EISDIR));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);  // only the folder

    EXPECT_EQ(readTextLines(dir + "/folder", &reason), std::nullopt);
    EXPECT_EQ(reason, std::strerror(EISDIR));
    EXPECT_EQ(readFileBytes(dir + "/gone.txt", &reason), std::nullopt);
    EXPECT_EQ(reason, std::strerror(ENOENT));
}

// A reader takes a file up to its bounds exactly and refuses it whole one byte, character or line
// beyond, naming the bound.
TEST(TextFileTest, aFileBeyondItsReadersBoundIsRefusedWhole) {
    const std::string dir = sqtest::makeTempDir("bound");
    const auto fileOf = [&](const std::string& name, const std::string& bytes) {
        EXPECT_TRUE(writeFileAtomic(dir + "/" + name, bytes));
        return dir + "/" + name;
    };
    const ReadLimit limit{100, 10, 3};
    const struct {
        const char* what;
        std::string bytes;
        std::optional<Lines> lines;  // nullopt: refused
        std::string reason;
    } cases[] = {
        {"at every bound", std::string(10, 'a') + "\r\n\r\n" + std::string(10, 'b'),
         Lines{std::string(10, 'a'), "", std::string(10, 'b')}, ""},
        {"a line too long", "a\r\n" + std::string(11, 'b') + "\r\n", std::nullopt,
         "Line 2 too long (more than 10 characters)"},
        {"a line too long without a line end", std::string(11, 'b'), std::nullopt,
         "Line 1 too long (more than 10 characters)"},
        {"too many lines", "a\nb\nc\nd", std::nullopt, "Too many lines (more than 3)"},
        {"empty lines count", "\r\n\r\n\r\n\r\n", std::nullopt, "Too many lines (more than 3)"},
        {"too large", std::string(101, '\n'), std::nullopt, "File too large (more than 100 bytes)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = fileOf("f.txt", c.bytes);
        std::string reason;
        EXPECT_EQ(readTextLines(path, limit, &reason), c.lines);
        EXPECT_EQ(reason, c.reason);
    }
    std::string reason;
    EXPECT_EQ(readFileBytes(fileOf("100", std::string(100, 'x')), ReadLimit{100}), std::string(100, 'x'));
    EXPECT_EQ(readFileBytes(fileOf("big", std::string(2048, 'x')), ReadLimit{1024}, &reason), std::nullopt);
    EXPECT_EQ(reason, "File too large (more than 1 KB)");
    // Refused by its size alone: a file far beyond the bound is never read into memory.
    const std::string huge = dir + "/huge";
    std::ofstream(huge).close();
    std::filesystem::resize_file(huge, 3ull << 30);
    EXPECT_EQ(readFileBytes(huge, ReadLimit{16u << 20}, &reason), std::nullopt);
    EXPECT_EQ(reason, "File too large (more than 16 MB)");
}

// A pipe would hold the reader up until someone writes to it, a device such as /dev/zero never
// ends: only regular files are read, links to them included.
TEST(TextFileTest, onlyRegularFilesAreReadAndNothingElseHoldsTheReaderUp) {
    const std::string dir = sqtest::makeTempDir("kinds");
    const std::string fifo = dir + "/fifo.qvx";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string zero = dir + "/zero.qvx";
    std::filesystem::create_symlink("/dev/zero", zero);
    const std::string linked = dir + "/linked.qvx";
    ASSERT_TRUE(writeFileAtomic(dir + "/real.qvx", "QVX 410\r\n"));
    std::filesystem::create_symlink(dir + "/real.qvx", linked);

    for (const std::string& path : {fifo, zero}) {
        SCOPED_TRACE(path);
        const sqtest::ReadWatchdog guard("reading " + path, path == fifo ? fifo : "");
        std::string reason;
        EXPECT_EQ(readFileBytes(path, kDefaultReadLimit, &reason), std::nullopt);
        EXPECT_EQ(reason, "Not a regular file");
        EXPECT_EQ(readTextLines(path, ReadLimit{1024}, &reason), std::nullopt);
        EXPECT_EQ(reason, "Not a regular file");
    }
    EXPECT_EQ(readTextLines(linked, ReadLimit{1024}), std::optional<Lines>({"QVX 410"}));
}

}  // namespace
}  // namespace sq
