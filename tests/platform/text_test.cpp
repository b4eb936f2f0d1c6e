#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/encoding.h"
#include "platform/text_file.h"
#include "support/file_size_limit.h"
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

TEST(TextFileTest, failedWriteLeavesTheOldFileAndNoTemporaryBehind) {
    std::string dir = sqtest::makeTempDir("atomic");
    std::string path = dir + "/keep.txt";
    ASSERT_TRUE(writeFileAtomic(path, "old"));

    bool written = true;
    sqtest::withFileSizeLimit(64, [&] { written = writeFileAtomic(path, std::string(4096, 'x')); });

    EXPECT_FALSE(written);
    EXPECT_EQ(readFileBytes(path), std::optional<std::string>("old"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
    EXPECT_FALSE(writeFileAtomic(dir + "/no-such-folder/x.txt", "x"));
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

// Two writers of one file each have their own temporary file; the target changes only at a commit,
// and a writer dropped uncommitted leaves nothing behind.
TEST(TextFileTest, atomicWritersAreInvisibleUntilCommitted) {
    const std::string dir = sqtest::makeTempDir("writer");
    const std::string path = dir + "/f.qvx";
    ASSERT_TRUE(writeFileAtomic(path, "old"));
    {
        AtomicFileWriter dropped(path);
        dropped.write("never");
        AtomicFileWriter kept(path);
        kept.write("ne");
        kept.write("w");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 3);
        EXPECT_EQ(readFileBytes(path), std::optional<std::string>("old"));
        EXPECT_TRUE(kept.commit());
    }
    EXPECT_EQ(readFileBytes(path), std::optional<std::string>("new"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

// The temporary file's name does not grow with the target's: any name the folder takes can be
// written, and a name too long for the folder fails before anything is written.
TEST(TextFileTest, anyNameTheFolderTakesCanBeWrittenAtomically) {
    const std::string dir = sqtest::makeTempDir("longname");
    const std::string longest = dir + "/" + std::string(250, 'r') + ".pdf";  // 254 bytes
    ASSERT_TRUE(writeFileAtomic(longest, "old"));
    std::string reason;
    EXPECT_TRUE(writeFileAtomic(longest, "new", &reason)) << reason;
    EXPECT_EQ(readFileBytes(longest), std::optional<std::string>("new"));

    AtomicFileWriter tooLong(dir + "/" + std::string(256, 'r'));
    tooLong.write("x");
    EXPECT_FALSE(tooLong.commit(&reason));
    EXPECT_EQ(reason, std::strerror(ENAMETOOLONG));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

// A link keeps pointing at the file it names: the new content goes to the file the link points at.
TEST(TextFileTest, writingThroughALinkReplacesTheFileItPointsAt) {
    const std::string dir = sqtest::makeTempDir("link");
    std::filesystem::create_directory(dir + "/real");
    ASSERT_TRUE(writeFileAtomic(dir + "/real/report.pdf", "old"));
    std::filesystem::create_symlink("real/report.pdf", dir + "/report.pdf");
    ASSERT_TRUE(writeFileAtomic(dir + "/report.pdf", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir + "/report.pdf"));
    EXPECT_EQ(readFileBytes(dir + "/real/report.pdf"), std::optional<std::string>("new"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir + "/real"), {}), 1);
}

}  // namespace
}  // namespace sq
