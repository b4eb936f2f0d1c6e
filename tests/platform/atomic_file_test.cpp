// The atomic writer replaces only a regular file or puts one where nothing is; through links it
// writes the file they lead to; and the new file keeps the old one's mode and owner.
#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/text_file.h"
#include "support/special_files.h"
#include "support/test_support.h"

namespace sq {
namespace {

namespace fs = std::filesystem;
using sqtest::NodeAt;
using sqtest::nodesIn;

std::set<std::string> namesIn(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
    return names;
}

// What a write would replace at `path` is made in the folder `dir`; false when it cannot be made.
using Make = std::function<bool(const std::string& dir, const std::string& path)>;

// Pipes, devices and sockets, at the name or at the end of its links, are refused before anything
// is written, with the reason, and everything in the folder stays as it was; so are folders and
// links that lead round in a circle.
TEST(AtomicFileTest, aWriteOverAnythingButARegularFileIsRefusedAndLeavesItAsItIs) {
    using namespace sqtest;
    const std::string notRegular = "Not a regular file";
    const struct {
        const char* what;
        Make make;
        std::string reason;
        bool device = false;
    } cases[] = {
        {"a pipe", [](auto&, auto& path) { return makeFifo(path); }, notRegular},
        {"a device node", [](auto&, auto& path) { return makeDeviceNode(path); }, notRegular, true},
        {"a socket", [](auto&, auto& path) { return makeSocket(path); }, notRegular},
        {"a link to a pipe",
         [](auto& dir, auto& path) { return makeFifo(dir + "/fifo") && makeLink("fifo", path); }, notRegular},
        {"a link to a device node",
         [](auto& dir, auto& path) { return makeDeviceNode(dir + "/null") && makeLink(dir + "/null", path); },
         notRegular, true},
        {"a link to a link to a device node",
         [](auto& dir, auto& path) {
             return makeDeviceNode(dir + "/null") && makeLink("null", dir + "/second") &&
                    makeLink("second", path);
         },
         notRegular, true},
        {"a folder", [](auto&, auto& path) { return fs::create_directory(path); }, std::strerror(EISDIR)},
        {"a link to itself", [](auto&, auto& path) { return makeLink("out.qvx", path); },
         std::strerror(ELOOP)},
        {"links in a circle",
         [](auto& dir, auto& path) { return makeLink("other", path) && makeLink("out.qvx", dir + "/other"); },
         std::strerror(ELOOP)},
    };
    bool devicesSkipped = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string dir = sqtest::makeTempDir("refused");
        const std::string path = dir + "/out.qvx";
        if (!c.make(dir, path)) {
            ASSERT_TRUE(c.device) << "could not make " << c.what;
            devicesSkipped = true;
            continue;
        }
        const auto before = nodesIn(dir);

        std::string reason;
        EXPECT_FALSE(writeFileAtomic(path, "new", &reason));
        EXPECT_EQ(reason, c.reason);
        AtomicFileWriter writer(path);
        EXPECT_TRUE(writer.failed());  // before a byte is written
        writer.write("new");
        EXPECT_FALSE(writer.commit(&reason));
        EXPECT_EQ(reason, c.reason);

        EXPECT_EQ(nodesIn(dir), before);
    }
    if (devicesSkipped) GTEST_SKIP() << sqtest::kNoDeviceNodes;
}

// A pipe that takes the name while the file is being written is found at the commit.
TEST(AtomicFileTest, aPipeThatTakesTheNameDuringTheWriteIsLeftAsItIs) {
    const std::string dir = sqtest::makeTempDir("late");
    const std::string path = dir + "/out.qvx";
    AtomicFileWriter writer(path);
    writer.write("new");
    ASSERT_TRUE(sqtest::makeFifo(path));
    std::string reason;
    EXPECT_FALSE(writer.commit(&reason));
    EXPECT_EQ(reason, "Not a regular file");
    EXPECT_EQ(nodesIn(dir), (std::map<std::string, NodeAt>{{"out.qvx", NodeAt{S_IFIFO, 0, {}}}}));
}

// A link that leads nowhere is written as a plain write writes it: the file it points at is made
// and the link stays. Where that file cannot be made, the write fails and nothing changes.
TEST(AtomicFileTest, aLinkThatLeadsNowhereGetsTheFileItPointsAt) {
    const struct {
        const char* what;
        std::string link;    // from dir/out.qvx
        std::string second;  // from dir/second, when not empty
        std::string file;    // what gets written, relative to dir; empty: nothing
        std::string reason;
    } cases[] = {
        {"a relative link", "new.qvx", "", "new.qvx", ""},
        {"a link into a folder", "sub/new.qvx", "", "sub/new.qvx", ""},
        {"a link to a link", "second", "sub/new.qvx", "sub/new.qvx", ""},
        {"a link into a missing folder", "missing/new.qvx", "", "", std::strerror(ENOENT)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string dir = sqtest::makeTempDir("dangling");
        fs::create_directory(dir + "/sub");
        ASSERT_TRUE(sqtest::makeLink(c.link, dir + "/out.qvx"));
        if (!c.second.empty()) {
            ASSERT_TRUE(sqtest::makeLink(c.second, dir + "/second"));
        }
        const auto before = nodesIn(dir);

        std::string reason;
        EXPECT_EQ(writeFileAtomic(dir + "/out.qvx", "new", &reason), c.file.size() > 0);
        EXPECT_EQ(reason, c.reason);
        EXPECT_EQ(sqtest::nodeAt(dir + "/out.qvx"), before.at("out.qvx"));
        if (!c.file.empty()) {
            EXPECT_EQ(readFileBytes(dir + "/" + c.file), std::optional<std::string>("new"));
            EXPECT_EQ(namesIn(dir + "/sub").size(), c.file.starts_with("sub/") ? 1u : 0u);
        } else {
            EXPECT_EQ(nodesIn(dir), before);
            EXPECT_TRUE(fs::is_empty(dir + "/sub"));
        }
    }
}

// A private file stays private: the new file has the old one's mode, and, where the process may
// give them (root), its owner and group. A new file gets the mode a plain create gives.
TEST(AtomicFileTest, theNewFileKeepsTheOldFilesModeAndOwner) {
    const std::string dir = sqtest::makeTempDir("mode");
    const std::string path = dir + "/private.qvx";
    for (const mode_t mode : {0600, 0640, 0604, 0444, 0755}) {
        SCOPED_TRACE(mode);
        ASSERT_TRUE(writeFileAtomic(path, "old"));
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        ASSERT_TRUE(writeFileAtomic(path, "new"));
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
    }
    if (::geteuid() == 0) {
        const uid_t nobody = 65534;
        ASSERT_EQ(::chown(path.c_str(), nobody, nobody), 0);
        ASSERT_TRUE(writeFileAtomic(path, "newer"));
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, nobody);
        EXPECT_EQ(st.st_gid, nobody);
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ASSERT_TRUE(writeFileAtomic(dir + "/fresh.qvx", "new"));
    struct stat st {};
    ASSERT_EQ(::stat((dir + "/fresh.qvx").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0666 & ~mask);
}

}  // namespace
}  // namespace sq
