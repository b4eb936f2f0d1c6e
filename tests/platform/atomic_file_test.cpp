// The atomic writer changes the file only at a commit, and a failed or dropped write leaves the old
// file and nothing beside it; it replaces only a regular file or puts one where nothing is, also
// when something else takes the name during the write; through links it writes the file they lead
// to, but not through another user's link in a shared sticky folder; the new file keeps the old
// one's mode and owner; and no temporary file outlives a writer that was killed, while the sweep
// for them touches nothing else.
#include "platform/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/text_file.h"
#include "support/file_size_limit.h"
#include "support/special_files.h"
#include "support/temporary_kinds.h"
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

TEST(AtomicFileTest, failedWriteLeavesTheOldFileAndNoTemporaryBehind) {
    sqtest::withEachTemporaryKind([](bool) {
        std::string dir = sqtest::makeTempDir("atomic");
        std::string path = dir + "/keep.txt";
        ASSERT_TRUE(writeFileAtomic(path, "old"));

        bool written = true;
        sqtest::withFileSizeLimit(64, [&] { written = writeFileAtomic(path, std::string(4096, 'x')); });

        EXPECT_FALSE(written);
        EXPECT_EQ(readFileBytes(path), std::optional<std::string>("old"));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
        EXPECT_FALSE(writeFileAtomic(dir + "/no-such-folder/x.txt", "x"));
    });
}

// Two writers of one file each have their own temporary file (a named one shows in the folder);
// the target changes only at a commit, and a writer dropped uncommitted leaves nothing behind.
TEST(AtomicFileTest, atomicWritersAreInvisibleUntilCommitted) {
    sqtest::withEachTemporaryKind([](bool named) {
        const std::string dir = sqtest::makeTempDir("writer");
        const std::string path = dir + "/f.qvx";
        ASSERT_TRUE(writeFileAtomic(path, "old"));
        {
            AtomicFileWriter dropped(path);
            dropped.write("never");
            AtomicFileWriter kept(path);
            kept.write("ne");
            kept.write("w");
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), named ? 3 : 1);
            EXPECT_EQ(readFileBytes(path), std::optional<std::string>("old"));
            EXPECT_TRUE(kept.commit());
        }
        EXPECT_EQ(readFileBytes(path), std::optional<std::string>("new"));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
    });
}

// The temporary file's name does not grow with the target's: any name the folder takes can be
// written, and a name too long for the folder fails before anything is written.
TEST(AtomicFileTest, anyNameTheFolderTakesCanBeWrittenAtomically) {
    sqtest::withEachTemporaryKind([](bool) {
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
    });
}

// Pipes, devices and sockets, at the name or at the end of its links, are refused before anything
// is written, with the reason, and everything in the folder stays as it was; so are folders and
// links that lead round in a circle.
TEST(AtomicFileTest, aWriteOverAnythingButARegularFileIsRefusedAndLeavesItAsItIs) {
    using namespace sqtest;
    struct Refused : SpecialFile {
        std::string reason;
    };
    const std::string notRegular = "Not a regular file";
    std::vector<Refused> cases = pipesAndDeviceNodesAs<Refused>(notRegular);
    cases.push_back({{"a socket", [](auto&, auto& path) { return makeSocket(path); }}, notRegular});
    cases.push_back({{"a link to a link to a device node",
                      [](auto& dir, auto& path) {
                          return makeDeviceNode(dir + "/null") && makeLink("null", dir + "/second") &&
                                 makeLink("second", path);
                      },
                      true},
                     notRegular});
    cases.push_back(
        {{"a folder", [](auto&, auto& path) { return fs::create_directory(path); }}, std::strerror(EISDIR)});
    cases.push_back({{"a link to itself", [](auto&, auto& path) { return makeLink("out.qvx", path); }},
                     std::strerror(ELOOP)});
    cases.push_back({{"links in a circle",
                      [](auto& dir, auto& path) {
                          return makeLink("other", path) && makeLink("out.qvx", dir + "/other");
                      }},
                     std::strerror(ELOOP)});
    const auto expectRefused = [](const Refused& c, const std::string& dir, const std::string& path) {
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
    };
    forEachSpecialFile(cases, freshFolder("refused", "out.qvx"), expectRefused);
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

// Puts pipes at a name at random moments, by rename, and never removes one: once a pipe stands at
// the name only a writer can take it away again.
class PipeRacer {
public:
    explicit PipeRacer(std::string path) : m_path(std::move(path)) {}

    // Renames a fresh pipe onto the name after `delay`, from a thread of its own.
    void placeAfter(std::chrono::microseconds delay) {
        m_thread = std::thread([this, delay] {
            std::this_thread::sleep_for(delay);
            const std::string fresh = m_path + ".pipe";
            struct stat st {};
            if (sqtest::makeFifo(fresh) && ::lstat(fresh.c_str(), &st) == 0 &&
                std::rename(fresh.c_str(), m_path.c_str()) == 0)
                m_placed = st.st_ino;
            m_done = true;
        });
    }
    [[nodiscard]] bool done() const { return m_done; }
    // Waits for the pipe to be placed; its inode, 0 when it could not be.
    ino_t placed() {
        if (m_thread.joinable()) m_thread.join();
        return m_placed;
    }
    ~PipeRacer() { placed(); }

private:
    std::string m_path;
    std::thread m_thread;
    std::atomic<ino_t> m_placed{0};
    std::atomic<bool> m_done{false};
};

// A pipe that takes the name at any moment of a write is never replaced: a write that began before
// it may succeed only if it put its file in place before the pipe came, and every write after it is
// refused and leaves the pipe. Many short rounds, each with a pipe at a random moment, hit the last
// steps of a write often enough to show a gap.
TEST(AtomicFileTest, aPipeThatTakesTheNameAtAnyMomentOfAWriteIsNeverReplaced) {
    sqtest::withEachTemporaryKind([](bool) {
        std::mt19937 random{std::random_device{}()};
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
        int rounds = 0;
        int replaced = 0;
        int succeeded = 0;
        int refused = 0;
        int succeededAfterARefusal = 0;
        while (std::chrono::steady_clock::now() < deadline) {
            const std::string dir = sqtest::makeTempDir("race");
            const std::string path = dir + "/out.qvx";
            PipeRacer racer(path);
            racer.placeAfter(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 3000)(random)));
            bool pipeSeen = false;
            for (int after = 0; after < 2; after += racer.done() ? 1 : 0) {
                std::string reason;
                if (writeFileAtomic(path, "new", &reason)) {
                    ++succeeded;
                    succeededAfterARefusal += pipeSeen ? 1 : 0;
                    continue;
                }
                ++refused;
                pipeSeen = true;
                EXPECT_EQ(reason, "Not a regular file");
            }
            const ino_t pipe = racer.placed();
            ASSERT_NE(pipe, 0u);
            struct stat st {};
            ASSERT_EQ(::lstat(path.c_str(), &st), 0);
            if (!S_ISFIFO(st.st_mode) || st.st_ino != pipe) ++replaced;
            EXPECT_EQ(namesIn(dir), std::set<std::string>{"out.qvx"});
            ++rounds;
        }
        const std::string counts = std::to_string(rounds) + " rounds, " + std::to_string(succeeded) +
                                   " writes succeeded, " + std::to_string(refused) + " refused";
        EXPECT_EQ(replaced, 0) << counts;
        EXPECT_EQ(succeededAfterARefusal, 0) << counts;
        EXPECT_GT(succeeded, 0) << counts;
    });
}

// Where a rename cannot be guarded, a last look and a plain rename still put the file in place,
// over a regular file with its mode, or where nothing is, and refuse a pipe that took the name
// during the write.
TEST(AtomicFileTest, whereARenameCannotBeGuardedALastLookAndAPlainRenamePutTheFileInPlace) {
    struct Restore {
        ~Restore() { setUnguardedRenames(false); }
    } restore;
    setUnguardedRenames(true);
    sqtest::withEachTemporaryKind([](bool) {
        const std::string dir = sqtest::makeTempDir("unguarded");
        const std::string path = dir + "/out.qvx";
        std::string reason;
        EXPECT_TRUE(writeFileAtomic(path, "old", &reason)) << reason;
        ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
        EXPECT_TRUE(writeFileAtomic(path, "new", &reason)) << reason;
        EXPECT_EQ(readFileBytes(path), std::optional<std::string>("new"));
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u);

        AtomicFileWriter late(path);
        late.write("newer");
        ASSERT_EQ(::unlink(path.c_str()), 0);
        ASSERT_TRUE(sqtest::makeFifo(path));
        EXPECT_FALSE(late.commit(&reason));
        EXPECT_EQ(reason, "Not a regular file");
        EXPECT_EQ(nodesIn(dir), (std::map<std::string, NodeAt>{{"out.qvx", NodeAt{S_IFIFO, 0, {}}}}));
    });
}

// A link keeps pointing at the file it names: the new content goes to the file the link points at.
TEST(AtomicFileTest, writingThroughALinkReplacesTheFileItPointsAt) {
    sqtest::withEachTemporaryKind([](bool) {
        const std::string dir = sqtest::makeTempDir("link");
        std::filesystem::create_directory(dir + "/real");
        ASSERT_TRUE(writeFileAtomic(dir + "/real/report.pdf", "old"));
        std::filesystem::create_symlink("real/report.pdf", dir + "/report.pdf");
        ASSERT_TRUE(writeFileAtomic(dir + "/report.pdf", "new"));
        EXPECT_TRUE(std::filesystem::is_symlink(dir + "/report.pdf"));
        EXPECT_EQ(readFileBytes(dir + "/real/report.pdf"), std::optional<std::string>("new"));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir + "/real"), {}), 1);
    });
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
    sqtest::withEachTemporaryKind([](bool) {
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
    });
}

// A writer in a child process that the system kills after 70 KB have gone to its temporary file.
void killWriterMidWrite(const std::string& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        AtomicFileWriter file(path);
        file.write(std::string(70 * 1024, 'x'));
        ::raise(SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
}

void makeOlder(const std::string& path, int seconds) {
    const timespec times[2] = {{std::time(nullptr) - seconds, 0}, {std::time(nullptr) - seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

// Killed writers leave no temporary files to pile up: an unnamed one disappears with its process;
// a named one is removed by the next write in its folder once it is older than a few minutes.
TEST(AtomicFileTest, temporaryFilesOfKilledWritersDoNotPileUp) {
    sqtest::withEachTemporaryKind([](bool named) {
        const std::string dir = sqtest::makeTempDir("killed");
        const std::string path = dir + "/record.qvx";
        ASSERT_TRUE(writeFileAtomic(path, "old"));
        for (int kill = 0; kill < 3; ++kill) killWriterMidWrite(path);
        EXPECT_EQ(readFileBytes(path), std::optional<std::string>("old"));

        std::set<std::string> left = namesIn(dir);
        left.erase("record.qvx");
        EXPECT_EQ(left.size(), named ? 3u : 0u);
        for (const std::string& name : left) makeOlder(dir + "/" + name, kStaleTemporaryAgeSeconds + 60);
        ASSERT_TRUE(writeFileAtomic(dir + "/other.qvx", "other"));
        EXPECT_EQ(namesIn(dir), (std::set<std::string>{"other.qvx", "record.qvx"}));
    });
}

// Only a writer's own leftovers go, and only where it names its temporary files at all: a regular
// file named as they are, of this user, older than a few minutes and locked by no living writer.
// Nothing else in the folder is touched or opened in a way that could wait; a user's own ".sq-" file
// and one of the form older versions used are left alone.
TEST(AtomicFileTest, aWriteRemovesOnlyStaleUnlockedTemporaryFilesOfItsUser) {
    sqtest::withEachTemporaryKind([](bool named) {
        const std::string dir = sqtest::makeTempDir("sweep");
        const int stale = kStaleTemporaryAgeSeconds + 60;
        const auto file = [&](const std::string& name, int age) {
            std::ofstream(dir + "/" + name) << "partial";
            makeOlder(dir + "/" + name, age);
            return true;
        };
        int lockFd = -1;
        const struct {
            const char* name;
            std::function<bool()> make;
            bool removed;
        } cases[] = {
            {".sonoquant-tmp-Ab12Cd", [&] { return file(".sonoquant-tmp-Ab12Cd", stale); }, true},
            {".sonoquant-tmp-Zy98Xw", [&] { return file(".sonoquant-tmp-Zy98Xw", stale); }, true},
            {".sonoquant-tmp-Fresh1", [&] { return file(".sonoquant-tmp-Fresh1", 10); }, false},
            {".sonoquant-tmp-Locked",
             [&] {
                 file(".sonoquant-tmp-Locked", stale);
                 lockFd = ::open((dir + "/.sonoquant-tmp-Locked").c_str(), O_RDONLY | O_CLOEXEC);
                 return ::flock(lockFd, LOCK_EX) == 0;
             },
             false},
            {".sonoquant-tmp-Others",
             [&] {
                 file(".sonoquant-tmp-Others", stale);
                 return ::geteuid() != 0 ||
                        ::chown((dir + "/.sonoquant-tmp-Others").c_str(), 65534, 65534) == 0;
             },
             ::geteuid() != 0},
            {".sonoquant-tmp-Link01",
             [&] {
                 file("linked", stale);
                 sqtest::makeLink("linked", dir + "/.sonoquant-tmp-Link01");
                 makeOlder(dir + "/.sonoquant-tmp-Link01", stale);
                 return true;
             },
             false},
            {".sonoquant-tmp-Folder", [&] { return fs::create_directory(dir + "/.sonoquant-tmp-Folder"); },
             false},
            {".sonoquant-tmp-Ab12Cde", [&] { return file(".sonoquant-tmp-Ab12Cde", stale); }, false},
            {".sonoquant-tmp-Ab_2Cd", [&] { return file(".sonoquant-tmp-Ab_2Cd", stale); }, false},
            {"sonoquant-tmp-Ab12Cd", [&] { return file("sonoquant-tmp-Ab12Cd", stale); }, false},
            {".sq-backup", [&] { return file(".sq-backup", stale); }, false},
            {".sq-Ab12Cd", [&] { return file(".sq-Ab12Cd", stale); }, false},
            {"report.pdf", [&] { return file("report.pdf", stale); }, false},
        };
        for (const auto& c : cases) ASSERT_TRUE(c.make()) << c.name;

        ASSERT_TRUE(writeFileAtomic(dir + "/record.qvx", "new"));

        for (const auto& c : cases)
            EXPECT_EQ(fs::exists(fs::symlink_status(dir + "/" + c.name)), !(c.removed && named)) << c.name;
        EXPECT_TRUE(fs::exists(dir + "/linked"));
        ::close(lockFd);
    });
}

// A writer that opens a pipe for writing, from a thread of its own, and waits there for a reader.
class BlockedPipeWriter {
public:
    explicit BlockedPipeWriter(std::string path) : m_path(std::move(path)) {
        m_thread = std::thread([this] {
            m_tid = ::gettid();
            const int fd = ::open(m_path.c_str(), O_WRONLY | O_CLOEXEC);
            m_opened = true;
            if (fd >= 0) ::close(fd);
        });
        waitUntilInOpen();
    }
    ~BlockedPipeWriter() { release(); }
    BlockedPipeWriter(const BlockedPipeWriter&) = delete;
    BlockedPipeWriter& operator=(const BlockedPipeWriter&) = delete;

    // Its open has returned: a reader came.
    [[nodiscard]] bool opened() const { return m_opened; }

    // Comes as the reader it waits for, and waits for it to go.
    void release() {
        if (!m_thread.joinable()) return;
        const int reader = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        m_thread.join();
        if (reader >= 0) ::close(reader);
    }

private:
    // Until the thread sits in its open, as the system shows it (at most two seconds).
    void waitUntilInOpen() const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < deadline) {
            if (const pid_t tid = m_tid) {
                std::ifstream syscall("/proc/self/task/" + std::to_string(tid) + "/syscall");
                long number = -1;
                if (syscall >> number && (number == SYS_openat || number == SYS_open)) return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    std::string m_path;
    std::atomic<pid_t> m_tid{0};
    std::atomic<bool> m_opened{false};
    std::thread m_thread;
};

// The sweep opens no pipe, whatever its name and age: a process blocked writing into one stays
// blocked, so nothing it writes is taken from it.
TEST(AtomicFileTest, theSweepLeavesAProcessBlockedWritingIntoAPipeBlocked) {
    sqtest::withEachTemporaryKind([](bool) {
        const std::string dir = sqtest::makeTempDir("sweep-pipe");
        const int stale = kStaleTemporaryAgeSeconds + 60;
        std::vector<std::unique_ptr<BlockedPipeWriter>> writers;
        const std::vector<std::string> names = {".sonoquant-tmp-Pipe01", ".sq-Pipe01"};
        for (const std::string& name : names) {
            ASSERT_TRUE(sqtest::makeFifo(dir + "/" + name));
            makeOlder(dir + "/" + name, stale);
            writers.push_back(std::make_unique<BlockedPipeWriter>(dir + "/" + name));
        }

        ASSERT_TRUE(writeFileAtomic(dir + "/record.qvx", "new"));

        for (size_t i = 0; i < names.size(); ++i) {
            EXPECT_FALSE(writers[i]->opened()) << names[i];
            writers[i]->release();
            EXPECT_EQ(sqtest::nodeAt(dir + "/" + names[i]), (NodeAt{S_IFIFO, 0, {}})) << names[i];
        }
    });
}

// In a folder where everyone may make names and only their owners remove them (sticky and
// world-writable, as /tmp), a link is followed only when it belongs to the writer or to the
// folder's owner; one that another user put there is refused with the system's reason and the file
// behind it stays as it was. Elsewhere anyone's link is followed.
TEST(AtomicFileTest, aLinkAnotherUserPutInASharedStickyFolderIsNotFollowed) {
    const uid_t other = 65534;
    const uid_t self = ::geteuid();
    const struct {
        const char* what;
        mode_t folderMode;
        uid_t folderOwner;
        uid_t linkOwner;
        bool followed;
    } cases[] = {
        {"another user's link in a sticky folder for all", 01777, self, other, false},
        {"the writer's own link there", 01777, self, self, true},
        {"a link of the folder's owner there", 01777, other, other, true},
        {"another user's link in a folder for all, not sticky", 0777, self, other, true},
        {"another user's link in a sticky folder for its group", 01775, self, other, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string dir = sqtest::makeTempDir("sticky");
        const std::string shared = dir + "/shared";
        const std::string behind = dir + "/behind.qvx";
        const std::string link = shared + "/survey.qvx";
        ASSERT_TRUE(fs::create_directory(shared));
        ASSERT_TRUE(writeFileAtomic(behind, "old"));
        ASSERT_TRUE(sqtest::makeLink(behind, link));
        if (::lchown(link.c_str(), c.linkOwner, c.linkOwner) != 0 ||
            ::chown(shared.c_str(), c.folderOwner, c.folderOwner) != 0)
            GTEST_SKIP() << "giving a link or a folder to another user (chown) needs root";
        ASSERT_EQ(::chmod(shared.c_str(), c.folderMode), 0);

        std::string reason;
        EXPECT_EQ(writeFileAtomic(link, "new", &reason), c.followed);
        EXPECT_EQ(reason, c.followed ? "" : std::strerror(EACCES));
        EXPECT_EQ(writeTargetError(link), c.followed ? 0 : EACCES);
        EXPECT_EQ(readFileBytes(behind), std::optional<std::string>(c.followed ? "new" : "old"));
        EXPECT_EQ(sqtest::nodeAt(link), (NodeAt{S_IFLNK, 0, behind}));
        EXPECT_EQ(namesIn(shared), std::set<std::string>{"survey.qvx"});
    }
}

// The same holds for a link that stands for a folder on the way to the file.
TEST(AtomicFileTest, aFolderLinkAnotherUserPutInASharedStickyFolderIsNotFollowed) {
    const std::string dir = sqtest::makeTempDir("sticky");
    const std::string shared = dir + "/shared";
    const std::string elsewhere = dir + "/elsewhere";
    const std::string viaLink = shared + "/surveys/survey.qvx";
    ASSERT_TRUE(fs::create_directory(shared));
    ASSERT_TRUE(fs::create_directory(elsewhere));
    ASSERT_TRUE(writeFileAtomic(elsewhere + "/survey.qvx", "old"));
    ASSERT_TRUE(sqtest::makeLink("../elsewhere", shared + "/surveys"));
    // A relative path, and a link to a link, reach it the same way.
    ASSERT_TRUE(sqtest::makeLink(shared + "/surveys/survey.qvx", dir + "/mine.qvx"));
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    ASSERT_TRUE(writeFileAtomic(viaLink, "own link"));
    EXPECT_EQ(readFileBytes(elsewhere + "/survey.qvx"), std::optional<std::string>("own link"));
    if (::lchown((shared + "/surveys").c_str(), 65534, 65534) != 0)
        GTEST_SKIP() << "giving a link to another user (lchown) needs root";

    for (const std::string& path :
         {viaLink, dir + "/./shared/../shared/surveys/./survey.qvx", dir + "/mine.qvx"}) {
        SCOPED_TRACE(path);
        std::string reason;
        EXPECT_FALSE(writeFileAtomic(path, "new", &reason));
        EXPECT_EQ(reason, std::strerror(EACCES));
        EXPECT_EQ(writeTargetError(path), EACCES);
    }
    EXPECT_EQ(readFileBytes(elsewhere + "/survey.qvx"), std::optional<std::string>("own link"));
    EXPECT_EQ(namesIn(elsewhere), std::set<std::string>{"survey.qvx"});
}

}  // namespace
}  // namespace sq
