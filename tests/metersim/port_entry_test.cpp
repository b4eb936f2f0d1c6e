// The ports/COMn entry that tells the program where the simulator's terminal is.
#include "metersim/port_entry.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "platform/com_ports.h"
#include "platform/program_folder.h"
#include "platform/text_file.h"

namespace {

using namespace sq::metersim;

pid_t deadPid() {
    pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

class PortEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        sq::ensureProgramFolder();
        std::remove(portEntryPath(kCom).c_str());
    }
    void TearDown() override {
        releasePortEntry(kCom);
        std::remove(portEntryPath(kCom).c_str());
    }
    static std::string contents() { return sq::readFileBytes(portEntryPath(kCom)).value_or(""); }
    static constexpr int kCom = 217;
};

// Whether some open file holds a lock on the entry (taking a shared one fails).
bool entryLocked() {
    int fd = open(portEntryPath(217).c_str(), O_RDONLY);
    if (fd < 0) return false;
    bool locked = flock(fd, LOCK_SH | LOCK_NB) != 0;
    close(fd);
    return locked;
}

TEST_F(PortEntryTest, claimWritesALockedEntryAndTheProgramResolvesItWhileItIsHeld) {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const std::string slave = ptsname(master);
    std::string message;
    ASSERT_TRUE(claimPortEntry(kCom, slave, message)) << message;
    EXPECT_EQ(contents(), slave + " " + std::to_string(getpid()) + "\r\n");
    EXPECT_EQ(portEntryPath(kCom), sq::programFolder() + "/ports/COM217");
    EXPECT_TRUE(entryLocked());
    sq::ComPortLocation where = sq::resolveComPort(kCom);
    EXPECT_EQ(where.kind, sq::ComPortLocation::Kind::Device);
    EXPECT_EQ(where.devicePath, slave);
    EXPECT_TRUE(claimPortEntry(kCom, slave, message)) << "claiming again replaces our own entry";
    releasePortEntry(kCom);
    EXPECT_FALSE(sq::fileExists(portEntryPath(kCom)));
    close(master);
}

TEST_F(PortEntryTest, anEntryWhoseLockIsHeldIsNotReplaced) {
    ASSERT_TRUE(sq::writeFileAtomic(portEntryPath(kCom), "/dev/pts/5 1\r\n"));
    int holder = open(portEntryPath(kCom).c_str(), O_RDONLY);  // a running simulator's lock
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    std::string message;
    EXPECT_FALSE(claimPortEntry(kCom, "/dev/pts/77", message));
    EXPECT_NE(message.find("still running"), std::string::npos) << message;
    releasePortEntry(kCom);  // not ours: stays
    EXPECT_EQ(contents(), "/dev/pts/5 1\r\n");
    close(holder);
}

TEST_F(PortEntryTest, anUnlockedEntryIsStaleAndReplacedWhateverItsProcess) {
    for (pid_t pid : {deadPid(), getpid()}) {
        ASSERT_TRUE(sq::writeFileAtomic(portEntryPath(kCom), "/dev/pts/5 " + std::to_string(pid) + "\r\n"));
        std::string message;
        EXPECT_TRUE(claimPortEntry(kCom, "/dev/pts/77", message));
        EXPECT_NE(message.find("stale"), std::string::npos) << message;
        EXPECT_EQ(contents(), "/dev/pts/77 " + std::to_string(getpid()) + "\r\n");
        EXPECT_TRUE(entryLocked());
        releasePortEntry(kCom);
    }
}

TEST_F(PortEntryTest, aUsersLinkOrOtherFileIsLeftAlone) {
    ASSERT_EQ(symlink("/dev/ttyUSB9", portEntryPath(kCom).c_str()), 0);
    std::string message;
    EXPECT_FALSE(claimPortEntry(kCom, "/dev/pts/77", message));
    std::remove(portEntryPath(kCom).c_str());
    ASSERT_TRUE(sq::writeFileAtomic(portEntryPath(kCom), "my notes\r\n"));
    EXPECT_FALSE(claimPortEntry(kCom, "/dev/pts/77", message));
    EXPECT_EQ(contents(), "my notes\r\n");
}

}  // namespace
