#include "platform/serial_termios.h"

#include <fcntl.h>
#include <grp.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace sq {

namespace {

struct BaudEntry {
    uint32_t baud;
    speed_t speed;
};

constexpr BaudEntry kBauds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

bool speedOf(uint32_t baud, speed_t& speed) {
    for (const auto& e : kBauds)
        if (e.baud == baud) {
            speed = e.speed;
            return true;
        }
    return false;
}

uint32_t baudOf(speed_t speed) {
    for (const auto& e : kBauds)
        if (e.speed == speed) return e.baud;
    return 0;
}

}  // namespace

std::string deviceGroup(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        if (const struct group* g = ::getgrgid(st.st_gid)) return g->gr_name;
    return "dialout";
}

std::string permissionDeniedText(const std::string& path) {
    return path + ": access denied; the user must be in the group '" + deviceGroup(path) + "' of the device";
}

namespace {

class TermiosPort final : public SerialPort {
public:
    explicit TermiosPort(int fd) : m_fd(fd) {}
    ~TermiosPort() override { close(); }

    bool setupQueues(uint32_t, uint32_t) override { return checkOpen(); }

    bool purge(uint32_t flags) override {
        if (!checkOpen()) return false;
        bool rx = flags & (kPurgeRxAbort | kPurgeRxClear);
        bool tx = flags & (kPurgeTxAbort | kPurgeTxClear);
        if (!rx && !tx) return true;
        int which = rx && tx ? TCIOFLUSH : (rx ? TCIFLUSH : TCOFLUSH);
        return ::tcflush(m_fd, which) == 0 || fail(errno);
    }

    bool setTimeouts(const SerialTimeouts& timeouts) override {
        if (!checkOpen()) return false;
        m_timeouts = timeouts;
        return true;
    }

    bool getLineSettings(LineSettings& s) override {
        termios t{};
        if (!checkOpen()) return false;
        if (::tcgetattr(m_fd, &t) != 0) return fail(errno);
        if (uint32_t baud = baudOf(cfgetospeed(&t))) s.baud = baud;
        switch (t.c_cflag & CSIZE) {
            case CS5:
                s.dataBits = 5;
                break;
            case CS6:
                s.dataBits = 6;
                break;
            case CS7:
                s.dataBits = 7;
                break;
            default:
                s.dataBits = 8;
                break;
        }
        s.parity = parityOf(t.c_cflag);
        s.stopBits = (t.c_cflag & CSTOPB) ? (s.dataBits == 5 ? 15 : 20) : 10;
        s.ctsFlow = (t.c_cflag & CRTSCTS) != 0;
        s.xonXoff = (t.c_iflag & IXON) != 0;
        int bits = 0;
        if (::ioctl(m_fd, TIOCMGET, &bits) == 0) {
            s.dtr = bits & TIOCM_DTR;
            s.rts = bits & TIOCM_RTS;
        }
        return true;
    }

    bool setLineSettings(const LineSettings& s) override {
        if (!checkOpen()) return false;
        termios t{};
        if (::tcgetattr(m_fd, &t) != 0) return fail(errno);
        speed_t speed{};
        if (!speedOf(s.baud, speed)) return fail(EINVAL, "unsupported baud rate " + std::to_string(s.baud));
        ::cfmakeraw(&t);
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
        t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
        t.c_cflag |= CLOCAL | CREAD | sizeBits(s.dataBits) | parityBits(s.parity);
        if (s.stopBits > 10) t.c_cflag |= CSTOPB;
        if (s.ctsFlow) t.c_cflag |= CRTSCTS;
        t.c_iflag &= ~(IXON | IXOFF | IXANY);
        if (s.xonXoff) t.c_iflag |= IXON | IXOFF;
        t.c_cc[VMIN] = 0;
        t.c_cc[VTIME] = 0;
        if (::tcsetattr(m_fd, TCSANOW, &t) != 0) return fail(errno);
        setModemLine(TIOCM_DTR, s.dtr);  // pseudo-terminals have no modem lines
        setModemLine(TIOCM_RTS, s.rts);
        return true;
    }

    bool read(uint8_t* buffer, size_t max, size_t& got) override {
        got = 0;
        if (!checkOpen()) return false;
        while (got < max) {
            ssize_t r = ::read(m_fd, buffer + got, max - got);
            if (r > 0) {
                got += static_cast<size_t>(r);
                continue;
            }
            if (r < 0 && errno == EINTR) continue;
            if (r == 0 || errno == EAGAIN) return true;
            return got > 0 || fail(errno);
        }
        return true;
    }

    bool write(const uint8_t* data, size_t n, size_t& written) override {
        written = 0;
        if (!checkOpen()) return false;
        using Clock = std::chrono::steady_clock;
        auto deadline = Clock::now() + std::chrono::milliseconds(writeTimeoutMs(m_timeouts, n));
        while (written < n) {
            ssize_t w = ::write(m_fd, data + written, n - written);
            if (w > 0) {
                written += static_cast<size_t>(w);
                continue;
            }
            if (w < 0 && errno == EINTR) continue;
            if (w < 0 && errno != EAGAIN) return fail(errno);
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) return true;  // time-out: report how far it got
            if (!waitWritable(static_cast<int>(left))) return false;
        }
        return true;
    }

    bool status(SerialStatus& st) override {
        if (!checkOpen()) return false;
        int in = 0, out = 0;
        if (::ioctl(m_fd, FIONREAD, &in) != 0) return fail(errno);
        if (::ioctl(m_fd, TIOCOUTQ, &out) != 0) out = 0;
        st.inQueue = in > 0 ? static_cast<uint32_t>(in) : 0;
        st.outQueue = out > 0 ? static_cast<uint32_t>(out) : 0;
        st.errorFlags = lineErrorsSinceLastCall();
        return true;
    }

    bool modemStatus(uint32_t& bits) override {
        if (!checkOpen()) return false;
        int lines = 0;
        if (::ioctl(m_fd, TIOCMGET, &lines) != 0) return fail(errno);
        bits = ((lines & TIOCM_CTS) ? kMsCtsOn : 0) | ((lines & TIOCM_DSR) ? kMsDsrOn : 0) |
               ((lines & TIOCM_RI) ? kMsRingOn : 0) | ((lines & TIOCM_CD) ? kMsRlsdOn : 0);
        return true;
    }

    bool escape(int function) override {
        if (!checkOpen()) return false;
        int r = 0;
        switch (function) {
            case kSetBreak:
                r = ::ioctl(m_fd, TIOCSBRK);
                break;
            case kClrBreak:
                r = ::ioctl(m_fd, TIOCCBRK);
                break;
            case kSetDtr:
                r = modemLineIoctl(TIOCMBIS, TIOCM_DTR);
                break;
            case kClrDtr:
                r = modemLineIoctl(TIOCMBIC, TIOCM_DTR);
                break;
            case kSetRts:
                r = modemLineIoctl(TIOCMBIS, TIOCM_RTS);
                break;
            case kClrRts:
                r = modemLineIoctl(TIOCMBIC, TIOCM_RTS);
                break;
            default:
                return fail(EINVAL);
        }
        return r == 0 || fail(errno);
    }

    bool close() override {
        if (m_fd < 0) return true;
        ::ioctl(m_fd, TIOCNXCL);  // otherwise the device stays exclusive while anyone holds it
        int r = ::close(m_fd);
        m_fd = -1;
        return r == 0 || errno == EINTR || fail(errno);
    }

private:
    bool checkOpen() { return m_fd >= 0 || fail(EBADF); }

    bool waitWritable(int timeoutMs) {
        pollfd p{m_fd, POLLOUT, 0};
        int r = ::poll(&p, 1, timeoutMs);
        if (r < 0 && errno != EINTR) return fail(errno);
        if (r > 0 && !(p.revents & POLLOUT) && (p.revents & (POLLERR | POLLHUP | POLLNVAL))) return fail(EIO);
        return true;
    }

    int modemLineIoctl(unsigned long request, int line) { return ::ioctl(m_fd, request, &line); }
    void setModemLine(int line, bool on) { modemLineIoctl(on ? TIOCMBIS : TIOCMBIC, line); }

    static char parityOf(tcflag_t c) {
        if (!(c & PARENB)) return 'N';
        if (c & CMSPAR) return (c & PARODD) ? 'M' : 'S';
        return (c & PARODD) ? 'O' : 'E';
    }
    static tcflag_t parityBits(char p) {
        switch (p) {
            case 'E':
                return PARENB;
            case 'O':
                return PARENB | PARODD;
            case 'M':
                return PARENB | PARODD | CMSPAR;
            case 'S':
                return PARENB | CMSPAR;
            default:
                return 0;
        }
    }
    static tcflag_t sizeBits(uint8_t bits) {
        switch (bits) {
            case 5:
                return CS5;
            case 6:
                return CS6;
            case 7:
                return CS7;
            default:
                return CS8;
        }
    }

    // Line errors counted by the driver since the previous call (not available on pseudo-terminals).
    uint32_t lineErrorsSinceLastCall() {
        serial_icounter_struct c{};
        if (::ioctl(m_fd, TIOCGICOUNT, &c) != 0) return 0;
        uint32_t flags = 0;
        if (m_counted) {
            if (c.overrun != m_counts.overrun) flags |= kCeOverrun;
            if (c.buf_overrun != m_counts.buf_overrun) flags |= kCeRxOver;
            if (c.parity != m_counts.parity) flags |= kCeRxParity;
            if (c.frame != m_counts.frame) flags |= kCeFrame;
            if (c.brk != m_counts.brk) flags |= kCeBreak;
        }
        m_counts = c;
        m_counted = true;
        return flags;
    }

    int m_fd;
    SerialTimeouts m_timeouts;
    serial_icounter_struct m_counts{};
    bool m_counted = false;
};

}  // namespace

std::unique_ptr<SerialPort> openTermiosPort(const std::string& path, SerialError& error) {
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error.number = errno;
        error.detail = errno == EACCES ? permissionDeniedText(path) : path;
        return nullptr;
    }
    auto reject = [&](int number, std::string detail) -> std::unique_ptr<SerialPort> {
        ::close(fd);
        error.number = number;
        error.detail = std::move(detail);
        return nullptr;
    };
    if (!::isatty(fd)) return reject(ENOTTY, path + " is not a serial device");
    // The advisory lock also keeps out a second opener with the privilege to pass TIOCEXCL.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return reject(EBUSY, path + " is in use by another program");
    if (::ioctl(fd, TIOCEXCL) != 0) return reject(errno, path);
    termios t{};
    if (::tcgetattr(fd, &t) == 0) {
        speed_t in = cfgetispeed(&t), out = cfgetospeed(&t);
        ::cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        cfsetispeed(&t, in);
        cfsetospeed(&t, out);
        t.c_cc[VMIN] = 0;
        t.c_cc[VTIME] = 0;
        ::tcsetattr(fd, TCSANOW, &t);
    }
    return std::make_unique<TermiosPort>(fd);
}

}  // namespace sq
