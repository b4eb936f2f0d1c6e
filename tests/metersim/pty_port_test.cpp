// The simulator on a real pseudo-terminal, in real time: the program's side opens the slave like
// a serial port, and may close and open it again.
#include "metersim/pty_port.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "metersim/simulator.h"
#include "platform/runtime.h"
#include "sim_fixture.h"

namespace {

using namespace simtest;
using namespace sq::metersim;

class PtyTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(pty.open(error)) << error;
        sim.setOutput([this](const Bytes& b) { pty.write(b); });
        pty.setOnBytes([this](const uint8_t* p, size_t n) { sim.receive(p, n); });
    }

    // Opens the slave the way a serial layer does: raw, non-blocking, exclusive.
    int openSide() {
        int fd = ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) return fd;
        termios t{};
        tcgetattr(fd, &t);
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
        ioctl(fd, TIOCEXCL);
        return fd;
    }

    // Reads what arrives within `seconds`, letting the event loop run.
    static Bytes readFor(int fd, double seconds) {
        Bytes got;
        double end = sq::Runtime::get().now() + seconds;
        while (sq::Runtime::get().now() < end) {
            sq::Delay(0.01);
            uint8_t buf[1024];
            ssize_t n;
            while ((n = ::read(fd, buf, sizeof buf)) > 0) got.insert(got.end(), buf, buf + n);
        }
        return got;
    }

    static void writeAll(int fd, const Bytes& b) {
        ASSERT_EQ(::write(fd, b.data(), b.size()), static_cast<ssize_t>(b.size()));
    }

    Simulator sim;
    PtyPort pty;
};

TEST_F(PtyTest, answersAcrossCloseAndReopenOfTheProgramSide) {
    Bytes reply = buildReply(0x00, {'V', 'O', 'K', '-', 'L', 'S', 'R', '2', '0'});
    for (int round = 0; round < 3; ++round) {
        int fd = openSide();
        ASSERT_GE(fd, 0) << "round " << round << ": " << strerror(errno);
        writeAll(fd, {0x02, 0x00, 0x01, 0x00, 0x01});
        EXPECT_EQ(readFor(fd, 0.2), reply) << "round " << round;
        ::close(fd);
        sq::Delay(0.05);
    }
    EXPECT_EQ(sim.countOf(0x00), 3);
}

TEST_F(PtyTest, largeRepliesArriveWhole) {
    std::vector<Point> points(2000, Point{650, 660, 900, 950, false});
    sim.addRecord(makeRecord({2022, 3, 30, 14, 5, 9}, 60, points));
    int fd = openSide();
    ASSERT_GE(fd, 0);
    Bytes requests = request(0x0E, {0x01});
    for (uint8_t b = 0; b < 20; ++b) {
        Bytes r = request(0x12, {0x00, b});
        requests.insert(requests.end(), r.begin(), r.end());
    }
    writeAll(fd, requests);
    size_t leftover = 0;
    auto replies = parseReplies(readFor(fd, 0.5), &leftover);
    EXPECT_EQ(leftover, 0u);
    ASSERT_EQ(replies.size(), 21u);
    EXPECT_EQ(replies[0].data.size(), 536u);
    EXPECT_EQ(replies[20].data.size(), 80u);
    ::close(fd);
}

TEST_F(PtyTest, replyDueAfterTheProgramClosedIsNotLeftForTheNextOpener) {
    if (pty.peerCount() < 0) GTEST_SKIP() << "opens of the terminal cannot be watched here";
    sim.setLatency(0.2);
    int fd = openSide();
    ASSERT_GE(fd, 0);
    writeAll(fd, {0x02, 0x00, 0x01, 0x00, 0x01});
    sq::Delay(0.05);
    ::close(fd);
    sq::Delay(0.3);
    fd = openSide();
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(readFor(fd, 0.1).empty());
    ::close(fd);
}

}  // namespace
