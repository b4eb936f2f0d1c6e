// Resolving "COM n" to a port: in-memory registry, ports folder entries, default device table.
#include "platform/com_ports.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/memory_port.h"

using namespace sq;
namespace fs = std::filesystem;

namespace {

class ComPortsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(comPortsFolder());
        clearEntries();
    }
    void TearDown() override {
        clearEntries();
        MemoryPortPair::unregisterPort(5);
    }
    static void clearEntries() {
        for (const auto& e : fs::directory_iterator(comPortsFolder())) fs::remove(e.path());
    }
    static std::string entry(int n) { return comPortsFolder() + "/COM" + std::to_string(n); }
    static void writeEntry(int n, const std::string& text) { std::ofstream(entry(n)) << text << "\n"; }
};

TEST(ComPortNames, parseComNumbers) {
    struct Case {
        const char* name;
        int number;
    } cases[] = {{"COM1", 1}, {"com12", 12}, {"COM256", 256}, {"COM257", 0}, {"COM0", 0},
                 {"COM", 0},  {"COMX", 0},   {"COM 1", 0},    {"LPT1", 0},   {"COM1000", 0}};
    for (const auto& c : cases) EXPECT_EQ(comNumberFromName(c.name), c.number) << c.name;
}

TEST(ComPortNames, defaultTable) {
    struct Case {
        int n;
        const char* device;
    } cases[] = {{1, "/dev/ttyUSB0"},
                 {32, "/dev/ttyUSB31"},
                 {33, "/dev/ttyACM0"},
                 {64, "/dev/ttyACM31"},
                 {65, "/dev/ttyS0"},
                 {96, "/dev/ttyS31"},
                 {97, ""},
                 {0, ""}};
    for (const auto& c : cases) EXPECT_EQ(defaultComDevice(c.n), c.device) << c.n;
}

TEST_F(ComPortsTest, withoutEntryTheDefaultDeviceIsUsed) {
    ComPortLocation where = resolveComPort(3);
    EXPECT_EQ(where.kind, ComPortLocation::Kind::Device);
    EXPECT_EQ(where.devicePath, "/dev/ttyUSB2");
    EXPECT_EQ(resolveComPort(200).kind, ComPortLocation::Kind::None);
    EXPECT_EQ(resolveComPort(257).kind, ComPortLocation::Kind::None);
}

TEST_F(ComPortsTest, aLinkInThePortsFolderIsUsedAsItIs) {
    fs::create_symlink("/dev/null", entry(4));
    EXPECT_EQ(resolveComPort(4).devicePath, entry(4));
    EXPECT_TRUE(comPortExists(4));
    fs::remove(entry(4));
    fs::create_symlink("/dev/does-not-exist", entry(4));
    EXPECT_FALSE(comPortExists(4));
}

TEST_F(ComPortsTest, aTextEntryCountsWhileItsProcessLives) {
    writeEntry(6, "/dev/pts/77 " + std::to_string(::getpid()));
    EXPECT_EQ(resolveComPort(6).devicePath, "/dev/pts/77");
    EXPECT_TRUE(fs::exists(entry(6)));
}

TEST_F(ComPortsTest, aStaleTextEntryIsRemovedAndTheDefaultUsed) {
    pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    writeEntry(6, "/dev/pts/77 " + std::to_string(child));
    EXPECT_EQ(resolveComPort(6).devicePath, "/dev/ttyUSB5");
    EXPECT_FALSE(fs::exists(entry(6)));
}

TEST_F(ComPortsTest, anUnreapedDeadProcessCountsAsGone) {
    pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    // Wait until the child has exited (it stays a zombie: nobody reaps it yet).
    for (int i = 0; i < 200; ++i) {
        siginfo_t info{};
        if (::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            info.si_pid == child)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    writeEntry(6, "/dev/pts/77 " + std::to_string(child));
    EXPECT_EQ(resolveComPort(6).devicePath, "/dev/ttyUSB5");
    EXPECT_FALSE(fs::exists(entry(6)));
    ::waitpid(child, nullptr, 0);
}

TEST_F(ComPortsTest, aMalformedTextEntryIsIgnoredButKept) {
    writeEntry(6, "just-a-path");
    EXPECT_EQ(resolveComPort(6).devicePath, "/dev/ttyUSB5");
    EXPECT_TRUE(fs::exists(entry(6)));
}

TEST_F(ComPortsTest, theInMemoryRegistryComesFirst) {
    fs::create_symlink("/dev/null", entry(5));
    auto pair = std::make_shared<MemoryPortPair>();
    MemoryPortPair::registerPort(5, pair);
    ComPortLocation where = resolveComPort(5);
    EXPECT_EQ(where.kind, ComPortLocation::Kind::Memory);
    EXPECT_EQ(where.memory, pair);
    EXPECT_TRUE(comPortExists(5));
}

}  // namespace
