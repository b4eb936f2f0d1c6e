// The ports/COMn entry that tells the program where the simulator's terminal is.
#include "metersim/port_entry.h"

#include <gtest/gtest.h>
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
    void TearDown() override { std::remove(portEntryPath(kCom).c_str()); }
    static std::string contents() { return sq::readFileBytes(portEntryPath(kCom)).value_or(""); }
    static constexpr int kCom = 217;
};

TEST_F(PortEntryTest, claimWritesDeviceAndProcessAndTheProgramResolvesIt) {
    std::string message;
    ASSERT_TRUE(claimPortEntry(kCom, "/dev/pts/77", message)) << message;
    EXPECT_EQ(contents(), "/dev/pts/77 " + std::to_string(getpid()) + "\r\n");
    EXPECT_EQ(portEntryPath(kCom), sq::programFolder() + "/ports/COM217");
    sq::ComPortLocation where = sq::resolveComPort(kCom);
    EXPECT_EQ(where.kind, sq::ComPortLocation::Kind::Device);
    EXPECT_EQ(where.devicePath, "/dev/pts/77");
    releasePortEntry(kCom);
    EXPECT_FALSE(sq::fileExists(portEntryPath(kCom)));
}

TEST_F(PortEntryTest, entryOfALivingProcessIsNotReplaced) {
    ASSERT_TRUE(sq::writeFileAtomic(portEntryPath(kCom), "/dev/pts/5 1\r\n"));  // pid 1 always lives
    std::string message;
    EXPECT_FALSE(claimPortEntry(kCom, "/dev/pts/77", message));
    EXPECT_NE(message.find("still running"), std::string::npos) << message;
    releasePortEntry(kCom);  // not ours: stays
    EXPECT_EQ(contents(), "/dev/pts/5 1\r\n");
}

TEST_F(PortEntryTest, staleEntryIsReplaced) {
    ASSERT_TRUE(sq::writeFileAtomic(portEntryPath(kCom), "/dev/pts/5 " + std::to_string(deadPid()) + "\r\n"));
    std::string message;
    EXPECT_TRUE(claimPortEntry(kCom, "/dev/pts/77", message));
    EXPECT_NE(message.find("stale"), std::string::npos) << message;
    EXPECT_EQ(contents(), "/dev/pts/77 " + std::to_string(getpid()) + "\r\n");
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
