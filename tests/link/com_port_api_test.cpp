// The port class over the in-memory line (fast) and over pseudo-terminals (real time).
#include "link/com_port_api.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <QDir>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "link/link_fixture.h"
#include "link/pty_support.h"
#include "platform/runtime.h"
#include "platform/serial_termios.h"
#include "platform/vb_error.h"
#include "support/test_support.h"
#include "texts/platform_words.h"

using namespace sq;
using sqtest::Bytes;
using sqtest::kLinkSettings;
using sqtest::kMemoryCom;

namespace {

constexpr int kPtyCom = 40;

using sqtest::errorOf;

// The wording the text table gives by default.
OpenFailureWords englishWords() {
    LanguageTexts table;
    loadDefaultTexts(table);
    return openFailureWords(table);
}
const OpenFailureWords english = englishWords();

class PortClassTest : public sqtest::MemoryLinkTest {
protected:
    ComPortAPI api;
    void expectError(int32_t number, const std::string& source) {
        EXPECT_EQ(api.LastErrorNumber, number);
        EXPECT_EQ(api.LastErrorSource, source);
    }
};

TEST_F(PortClassTest, opensOnceAndAnswersMinusTwoAfterwards) {
    ASSERT_EQ(api.CommOpen(kMemoryCom, "COM7", kLinkSettings), 0);
    int32_t handle = api.IsActivity(kMemoryCom);
    EXPECT_GT(handle, 0);
    EXPECT_TRUE(api.IsOpen(kMemoryCom));
    EXPECT_EQ(api.port(kMemoryCom).Dcb.baud, 57600u);

    EXPECT_EQ(api.CommOpen(kMemoryCom, "COM7", "baud=9600"), -2);
    EXPECT_EQ(api.LastErrorNumber, -1);
    EXPECT_EQ(api.LastErrorSource, "CommOpen");
    EXPECT_EQ(api.LastErrorMessage, "Port in use.");
    EXPECT_EQ(api.IsActivity(kMemoryCom), handle);
    EXPECT_EQ(api.port(kMemoryCom).Dcb.baud, 57600u) << "settings untouched";
}

TEST_F(PortClassTest, anotherPortObjectCannotOpenTheSameLine) {
    ComPortAPI other;
    ASSERT_EQ(api.CommOpen(kMemoryCom, "COM7", kLinkSettings), 0);
    EXPECT_EQ(other.CommOpen(kMemoryCom, "COM7", kLinkSettings), EBUSY);
    EXPECT_EQ(other.IsActivity(kMemoryCom), -1);
    ASSERT_EQ(api.CommClose(kMemoryCom), 0);
    EXPECT_EQ(other.CommOpen(kMemoryCom, "COM7", kLinkSettings), 0);
}

TEST_F(PortClassTest, anInvalidModeTextFailsAfterThePortWasCreated) {
    ASSERT_EQ(api.CommOpen(kMemoryCom, "COM7", kLinkSettings), 0);
    ASSERT_EQ(api.CommClose(kMemoryCom), 0);
    int32_t result = api.CommOpen(kMemoryCom, "COM7", "baud=57600 parity=X data=8 stop=1");
    EXPECT_EQ(result, EINVAL);
    expectError(EINVAL, "CommOpen (BuildCommDCB)");
    EXPECT_TRUE(api.IsOpen(kMemoryCom));
    EXPECT_EQ(api.port(kMemoryCom).Dcb.baud, 9600u) << "the port's previous settings stay";
    EXPECT_EQ(api.CommOpen(kMemoryCom, "COM7", kLinkSettings), -2);
}

TEST_F(PortClassTest, aMissingDeviceLeavesHandleMinusOne) {
    std::filesystem::create_directories(comPortsFolder());
    std::string entry = comPortsFolder() + "/COM41";
    std::filesystem::remove(entry);
    std::filesystem::create_symlink("/dev/pts/does-not-exist", entry);
    EXPECT_EQ(api.CommOpen(41, "COM41", kLinkSettings), ENOENT);
    expectError(ENOENT, "CommOpen (CreateFile)");
    EXPECT_FALSE(api.LastErrorMessage.empty());
    EXPECT_EQ(api.IsActivity(41), -1);
    EXPECT_FALSE(api.IsOpen(41));
    std::filesystem::remove(entry);
}

TEST_F(PortClassTest, readTakesWhatIsQueuedAndLeavesTheBufferWhenNothingIs) {
    ASSERT_EQ(api.CommOpen(kMemoryCom, "COM7", kLinkSettings), 0);
    Bytes buffer{1, 2, 3};
    EXPECT_EQ(api.CommRead(kMemoryCom, buffer, 4096), 0);
    EXPECT_EQ(buffer, Bytes({1, 2, 3}));

    Bytes queued(37);
    for (size_t i = 0; i < queued.size(); ++i) queued[i] = static_cast<uint8_t>(i + 100);
    instrumentSends(queued);
    EXPECT_EQ(api.CommRead(kMemoryCom, buffer, 1), 37) << "the size argument is ignored";
    EXPECT_EQ(buffer, queued);
}

TEST_F(PortClassTest, readLetsEventsRunBeforeLookingAtTheQueue) {
    ASSERT_EQ(api.CommOpen(kMemoryCom, "COM7", kLinkSettings), 0);
    Runtime::get().callAfter(0, [this] { instrumentSends({9, 8}); });
    Bytes buffer;
    EXPECT_EQ(api.CommRead(kMemoryCom, buffer), 2);
}

TEST_F(PortClassTest, writeRunsEventsOnlyAfterTheFrameIsInThePort) {
    ASSERT_EQ(api.CommOpen(kMemoryCom, "COM7", kLinkSettings), 0);
    size_t queuedWhenEventRan = 0;
    int eventRuns = 0;
    Runtime::get().callAfter(0, [&] {
        ++eventRuns;
        queuedWhenEventRan = m_pair->instrument().queued();
    });
    EXPECT_EQ(api.CommWrite(kMemoryCom, {0x02, 0x00, 0x01, 0x00, 0x01}), 5);
    EXPECT_EQ(eventRuns, 1);
    EXPECT_EQ(queuedWhenEventRan, 5u);
}

TEST_F(PortClassTest, closeKeepsTheHandleAndClosingANeverOpenedPortDoesNothing) {
    EXPECT_EQ(api.CommClose(12), 0);
    EXPECT_EQ(api.LastErrorNumber, 0);
    EXPECT_EQ(api.IsActivity(12), 0);

    ASSERT_EQ(api.CommOpen(kMemoryCom, "COM7", kLinkSettings), 0);
    int32_t handle = api.IsActivity(kMemoryCom);
    EXPECT_EQ(api.CommClose(kMemoryCom), 0);
    EXPECT_FALSE(api.IsOpen(kMemoryCom));
    EXPECT_EQ(api.IsActivity(kMemoryCom), handle);
    ASSERT_EQ(api.CommOpen(kMemoryCom, "COM7", kLinkSettings), 0);
    EXPECT_NE(api.IsActivity(kMemoryCom), handle);
}

TEST_F(PortClassTest, portNumbersOutsideTheTable) {
    EXPECT_FALSE(api.IsOpen(0));
    EXPECT_FALSE(api.IsOpen(-3));
    EXPECT_EQ(errorOf([&] { api.IsOpen(257); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { api.IsActivity(0); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { api.IsActivity(257); }), kSubscriptOutOfRange);

    Bytes buffer;
    struct Case {
        const char* source;
        std::function<int32_t()> call;
        int32_t result;
    } cases[] = {
        {"CommOpen", [&] { return api.CommOpen(257, "COM257", kLinkSettings); }, 9},
        {"CommSet", [&] { return api.CommSet(0, kLinkSettings); }, 9},
        {"CommClose", [&] { return api.CommClose(0); }, 9},
        {"CommFlush", [&] { return api.CommFlush(300); }, 9},
        {"CommRead", [&] { return api.CommRead(0, buffer); }, -1},
        {"CommRead", [&] { return api.IsInBuffSize(0); }, 0},
        {"CommWrite", [&] { return api.CommWrite(0, {1}); }, 0},
        {"CommReadCD",
         [&] {
             bool state = false;
             return api.CommGetLine(0, 0x10, state);
         },
         9},
        {"CommSetLine", [&] { return api.CommSetLine(999, 1, true); }, 9},
    };
    for (const auto& c : cases) {
        api.LastErrorNumber = 0;
        EXPECT_EQ(c.call(), c.result) << c.source;
        expectError(kSubscriptOutOfRange, c.source);
        EXPECT_EQ(api.LastErrorMessage, "Subscript out of range");
    }
}

TEST_F(PortClassTest, transfersOnAPortThatIsNotOpenFailAndAreRecorded) {
    Bytes buffer{7};
    EXPECT_EQ(api.CommRead(5, buffer), -1);
    expectError(EBADF, "CommRead (ClearCommError)");
    EXPECT_EQ(buffer, Bytes({7}));
    EXPECT_EQ(api.CommWrite(5, {1, 2}), -1);
    expectError(EBADF, "CommWrite (WriteFile)");
    EXPECT_NE(api.LastErrorMessage.find("  COMM Error Flags = 0"), std::string::npos) << api.LastErrorMessage;
    EXPECT_EQ(api.CommFlush(5), EBADF);
    expectError(EBADF, "CommFlush (PurgeComm)");
    EXPECT_EQ(api.IsInBuffSize(5), 0);
    expectError(EBADF, "InBufferCount (InBufferCountError)");

    std::string text;
    EXPECT_EQ(api.CommGetError(text), EBADF);
    EXPECT_EQ(text, "Error (" + std::to_string(EBADF) + "): InBufferCount (InBufferCountError) - " +
                        api.GetSystemMessage(EBADF));
}

TEST_F(PortClassTest, lineSettingsModemLinesAndEscapes) {
    ASSERT_EQ(api.CommOpen(kMemoryCom, "COM7", kLinkSettings), 0);
    EXPECT_EQ(api.CommSet(kMemoryCom, "baud=19200 parity=E data=7 stop=2"), 0);
    const LineSettings& dcb = api.port(kMemoryCom).Dcb;
    EXPECT_EQ(dcb.baud, 19200u);
    EXPECT_EQ(dcb.parity, 'E');
    EXPECT_EQ(dcb.dataBits, 7);
    EXPECT_EQ(dcb.stopBits, 20);
    EXPECT_EQ(api.CommSet(kMemoryCom, "nonsense"), EINVAL);
    expectError(EINVAL, "CommSet (BuildCommDCB)");
    EXPECT_EQ(api.port(kMemoryCom).Dcb.baud, 19200u);

    bool state = false;
    EXPECT_EQ(api.CommGetLine(kMemoryCom, kMsCtsOn, state), 0);
    EXPECT_TRUE(state);
    EXPECT_EQ(api.CommGetLine(kMemoryCom, kMsRingOn, state), 0);
    EXPECT_FALSE(state);
    for (int line : {1, 2, 3}) EXPECT_EQ(api.CommSetLine(kMemoryCom, line, true), 0) << line;
    EXPECT_EQ(api.CommSetLine(kMemoryCom, 4, true), EINVAL);
    expectError(EINVAL, "CommSetLine (EscapeCommFunction)");
}

TEST_F(PortClassTest, flushDropsWhatWaitsToBeRead) {
    ASSERT_EQ(api.CommOpen(kMemoryCom, "COM7", kLinkSettings), 0);
    instrumentSends({1, 2, 3});
    EXPECT_EQ(api.CommFlush(kMemoryCom), 0);
    EXPECT_EQ(api.IsInBuffSize(kMemoryCom), 0);
}

TEST_F(PortClassTest, initSetsBothQueueSizes) {
    api.Init_API();
    EXPECT_EQ(api.GetInBuffer(), 4096);
    EXPECT_EQ(api.GetOutBuffer(), 4096);
}

TEST(PermissionText, namesTheDeviceAndTheGroup) {
    std::string text = permissionDeniedText("/dev/null");
    EXPECT_NE(text.find("/dev/null"), std::string::npos);
    EXPECT_NE(text.find("group"), std::string::npos);
}

// Over a pseudo-terminal, in real time.
class PtyPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        Runtime::get().setVirtualTime(false);
        ASSERT_TRUE(m_pty.ok());
    }
    sqtest::Pty m_pty{kPtyCom};
    ComPortAPI api;
};

TEST_F(PtyPortTest, opensRawWithTheModeTextsSettings) {
    ASSERT_EQ(api.CommOpen(kPtyCom, "COM40", kLinkSettings), 0) << api.LastErrorMessage;
    termios t = m_pty.slaveSettings();
    EXPECT_EQ(cfgetospeed(&t), B57600);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(api.CommOpen(kPtyCom, "COM40", kLinkSettings), -2);
}

TEST_F(PtyPortTest, isExclusive) {
    ASSERT_EQ(api.CommOpen(kPtyCom, "COM40", kLinkSettings), 0);
    SerialError error;
    EXPECT_EQ(openSerialPort(m_pty.slavePath(), error), nullptr);
    EXPECT_EQ(error.number, EBUSY);
    ASSERT_EQ(api.CommClose(kPtyCom), 0);
    EXPECT_NE(openSerialPort(m_pty.slavePath(), error), nullptr) << "free again after the close";
}

TEST_F(PtyPortTest, anInvalidModeTextLeavesThePortOpenWithItsSettings) {
    termios before = m_pty.slaveSettings();
    EXPECT_EQ(api.CommOpen(kPtyCom, "COM40", "baud=57600 data=9"), EINVAL);
    EXPECT_EQ(api.LastErrorSource, "CommOpen (BuildCommDCB)");
    EXPECT_TRUE(api.IsOpen(kPtyCom));
    termios after = m_pty.slaveSettings();
    EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before));
    EXPECT_EQ(api.CommOpen(kPtyCom, "COM40", kLinkSettings), -2);
}

TEST_F(PtyPortTest, readsQueuedBytesAndWritesFrames) {
    ASSERT_EQ(api.CommOpen(kPtyCom, "COM40", kLinkSettings), 0);
    Bytes buffer{5};
    EXPECT_EQ(api.CommRead(kPtyCom, buffer), 0);
    EXPECT_EQ(buffer, Bytes({5}));

    Bytes queued(37, 0x5A);
    queued[36] = 0x0A;  // raw: no line discipline changes it
    m_pty.send(queued);
    for (int i = 0; i < 500 && api.IsInBuffSize(kPtyCom) < 37; ++i) Delay(0.002);
    EXPECT_EQ(api.CommRead(kPtyCom, buffer), 37);
    EXPECT_EQ(buffer, queued);

    Bytes frame{0x02, 0x00, 0x01, 0x00, 0x01};
    EXPECT_EQ(api.CommWrite(kPtyCom, frame), 5);
    EXPECT_EQ(m_pty.receive(5), frame);
}

TEST_F(PtyPortTest, aWriteIntoAFullLineGivesUpAfterAboutASecondRunningNoEvents) {
    ASSERT_EQ(api.CommOpen(kPtyCom, "COM40", kLinkSettings), 0);
    // The peer reads nothing: fill the line first.
    int32_t filled = api.CommWrite(kPtyCom, Bytes(1 << 20, 0x55));
    ASSERT_GT(filled, 0);
    ASSERT_LT(filled, 1 << 20);

    using Clock = std::chrono::steady_clock;
    Clock::time_point start = Clock::now(), returned{}, ticked{};
    Timer pollTimer(
        [&] {
            if (ticked == Clock::time_point{}) ticked = Clock::now();
        },
        10);
    pollTimer.setEnabled(true);
    int32_t written = api.CommWrite(kPtyCom, {0x02, 0x00, 0x01, 0x00, 0x01});
    returned = Clock::now();
    pollTimer.setEnabled(false);

    EXPECT_EQ(written, 0);
    double seconds = std::chrono::duration<double>(returned - start).count();
    EXPECT_GT(seconds, 0.9);
    EXPECT_LT(seconds, 1.6);
    ASSERT_NE(ticked, Clock::time_point{}) << "events run after the write";
    EXPECT_GT(std::chrono::duration<double>(ticked - start).count(), 0.9) << "the timer ran during the wait";
}

}  // namespace

namespace {

// The sentence port setup shows for a port it could not open. A permission error names the group
// that owns the device (here a file given to the group "tty").
TEST(OpenFailureTextTest, namesThePortTheDeviceAndTheReason) {
    const std::string device = QDir::tempPath().toStdString() + "/sq-device-" + std::to_string(::getpid());
    std::ofstream(device).put('x');
    const group* tty = ::getgrnam("tty");
    const bool ownedByTty = tty && ::chown(device.c_str(), static_cast<uid_t>(-1), tty->gr_gid) == 0;
    struct Case {
        int number;
        std::string device;
        std::string text;
    } cases[] = {
        {ENOENT, "/dev/ttyUSB4", "COM5 (/dev/ttyUSB4) could not be opened: the device was not found."},
        {ENOENT, "", "COM5 could not be opened: no device is assigned to it."},
        {EBUSY, "/dev/ttyUSB4",
         "COM5 (/dev/ttyUSB4) could not be opened: the device is busy (another program holds it)."},
        {ENOTTY, "/dev/null", "COM5 (/dev/null) could not be opened: the device is not a serial port."},
        {EIO, "/dev/ttyS4", "COM5 (/dev/ttyS4) could not be opened: " + serialErrorMessage(EIO) + "."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(openFailureText("COM5", SerialError{c.number, "detail", c.device}, english), c.text)
            << c.number;
    if (ownedByTty) {
        EXPECT_EQ(openFailureText("COM5", SerialError{EACCES, {}, device}, english),
                  "COM5 (" + device +
                      ") could not be opened: no permission; the user must be in the group "
                      "'tty' of the device.");
    }
    std::filesystem::remove(device);
}

TEST_F(PortClassTest, onlyAPortWhoseLastOpenFailedHasAFailureText) {
    EXPECT_EQ(api.OpenFailureText(kMemoryCom, english), "") << "never opened";
    m_pair->program().openError = EBUSY;
    EXPECT_EQ(api.CommOpen(kMemoryCom, "COM7", kLinkSettings), EBUSY);
    EXPECT_EQ(api.OpenFailureText(kMemoryCom, english),
              "COM7 (in-memory port) could not be opened: the device is busy (another program holds it).");
    m_pair->program().openError = 0;
    EXPECT_EQ(api.CommOpen(kMemoryCom, "COM7", kLinkSettings), 0);
    EXPECT_EQ(api.OpenFailureText(kMemoryCom, english), "");
}

}  // namespace
