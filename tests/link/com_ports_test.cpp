// Resolving "COM n" to a port: in-memory registry, ports folder entries, default device table.
#include "platform/com_ports.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "link/channels.h"
#include "link/com_port_api.h"
#include "metersim/port_entry.h"
#include "platform/memory_port.h"
#include "pty_support.h"

using namespace sq;
namespace fs = std::filesystem;

namespace {

pid_t deadPid() {
    pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

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

// One entry of each kind, each on a fresh pseudo-terminal that stands for whatever terminal the
// entry names; COM numbers above 96 have no default device to fall back on.
TEST_F(ComPortsTest, anEntryCountsOnlyWhileItsSimulatorProvablyRuns) {
    enum class Kind { LiveSimulator, DeadSimulator, LiveProcessNoSimulator, UsersLink };
    struct Case {
        Kind kind;
        const char* name;
        bool used;
        bool entryKept;
    } cases[] = {
        {Kind::LiveSimulator, "live simulator", true, true},
        {Kind::DeadSimulator, "dead simulator", false, false},
        {Kind::LiveProcessNoSimulator, "live process that is no simulator", false, false},
        {Kind::UsersLink, "user's symbolic link", true, true},
    };
    constexpr int kCom = 201;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sqtest::Pty terminal(199);  // only its master and slave path are used here
        ASSERT_TRUE(terminal.ok());
        fs::remove(terminal.entry());
        const std::string line = terminal.slavePath() + " ";
        switch (c.kind) {
            case Kind::LiveSimulator: {
                std::string message;
                ASSERT_TRUE(metersim::claimPortEntry(kCom, terminal.slavePath(), message)) << message;
                break;
            }
            case Kind::DeadSimulator:  // what a killed simulator leaves: its entry, the lock gone
                writeEntry(kCom, line + std::to_string(deadPid()));
                break;
            case Kind::LiveProcessNoSimulator:
                writeEntry(kCom, line + std::to_string(::getpid()));  // a living process, no lock
                break;
            case Kind::UsersLink:
                fs::create_symlink(terminal.slavePath(), entry(kCom));
                break;
        }

        EXPECT_EQ(comPortExists(kCom), c.used);
        const std::vector<std::string> scanned = ScanComPorts(PortAPI());
        EXPECT_EQ(std::count(scanned.begin(), scanned.end(), "COM  201"), c.used ? 1 : 0);
        const int32_t opened = PortAPI().CommOpen(kCom, "COM201", "baud=57600 parity=N data=8 stop=1");
        EXPECT_EQ(opened == 0, c.used);
        if (c.used) {
            EXPECT_EQ(PortAPI().CommWrite(kCom, {0x02, 0x00, 0x01, 0x00, 0x01}), 5);
            EXPECT_EQ(terminal.receive(5).size(), 5u);
        } else {
            EXPECT_EQ(PortAPI().CommWrite(kCom, {0x02, 0x00, 0x01, 0x00, 0x01}), -1);
            EXPECT_TRUE(terminal.receive(1, 50).empty()) << "nothing reaches the terminal";
        }
        PortAPI().CommClose(kCom);
        EXPECT_EQ(fs::exists(fs::symlink_status(entry(kCom))), c.entryKept);
        metersim::releasePortEntry(kCom);
        fs::remove(entry(kCom));
        PortAPI().reset();
    }
}

TEST_F(ComPortsTest, aLockedEntryThatNamesNoPseudoTerminalIsIgnoredButKept) {
    std::string message;
    ASSERT_TRUE(metersim::claimPortEntry(201, "/dev/null", message)) << message;
    EXPECT_FALSE(comPortExists(201));
    EXPECT_TRUE(fs::exists(entry(201)));
    metersim::releasePortEntry(201);
    EXPECT_FALSE(fs::exists(entry(201)));
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

// The device manager's stand-in lists exactly the ports that exist, then the mapping rules.
TEST_F(ComPortsTest, thePortTableListsThePortsThatExistAndTheMappingRules) {
    fs::create_symlink("/dev/null", entry(120));
    fs::create_symlink("/dev/does-not-exist", entry(121));
    MemoryPortPair::registerPort(5, std::make_shared<MemoryPortPair>());
    const std::string table = comPortTable({"Found:", "Rules:"});
    EXPECT_EQ(table.rfind("Found:\n", 0), 0u) << table;
    EXPECT_NE(table.find("COM5  (in-memory port)\n"), std::string::npos) << table;
    EXPECT_NE(table.find("COM120  " + entry(120) + "\n"), std::string::npos) << table;
    EXPECT_EQ(table.find("COM121 "), std::string::npos) << table;
    for (int n = 1; n <= 96; ++n) {
        if (n == 5) continue;
        const bool listed = table.find("\nCOM" + std::to_string(n) + "  ") != std::string::npos;
        EXPECT_EQ(listed, fs::exists(defaultComDevice(n))) << n;
    }
    const std::string rules = "\n\nRules:\nCOMn  " + comPortsFolder() +
                              "/COMn\nCOM1-COM32  /dev/ttyUSB0-31\nCOM33-COM64  /dev/ttyACM0-31\n"
                              "COM65-COM96  /dev/ttyS0-31";
    ASSERT_GE(table.size(), rules.size());
    EXPECT_EQ(table.substr(table.size() - rules.size()), rules);
}

}  // namespace
