#include "metersim/pty_port.h"

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sq::metersim {

PtyPort::PtyPort() = default;

PtyPort::~PtyPort() {
    close();
}

bool PtyPort::open(std::string& error) {
    close();
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        close();
        return false;
    }
    char name[128];
    if (ptsname_r(m_master, name, sizeof name) != 0) {
        error = "cannot name the pseudo-terminal";
        close();
        return false;
    }
    m_slavePath = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_slave < 0) {
        error = "cannot open " + m_slavePath + ": " + std::strerror(errno);
        close();
        return false;
    }
    termios t{};
    if (tcgetattr(m_slave, &t) == 0) {  // raw until the program sets its own line settings
        cfmakeraw(&t);
        tcsetattr(m_slave, TCSANOW, &t);
    }
    m_readNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    QObject::connect(m_readNotifier.get(), &QSocketNotifier::activated, [this]() { onReadable(); });
    m_writeNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    QObject::connect(m_writeNotifier.get(), &QSocketNotifier::activated, [this]() { onWritable(); });
    m_watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_watch >= 0 && inotify_add_watch(m_watch, name, IN_OPEN | IN_CLOSE) >= 0) {
        m_watchNotifier = std::make_unique<QSocketNotifier>(m_watch, QSocketNotifier::Read);
        QObject::connect(m_watchNotifier.get(), &QSocketNotifier::activated, [this]() { onSlaveEvent(); });
    }
    return true;
}

void PtyPort::close() {
    m_readNotifier.reset();
    m_writeNotifier.reset();
    m_watchNotifier.reset();
    for (int* fd : {&m_watch, &m_slave, &m_master}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
    m_pending.clear();
    m_peers = 0;
}

void PtyPort::onReadable() {
    uint8_t buf[1024];
    while (true) {
        ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            if (m_onBytes) m_onBytes(buf, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        break;  // EAGAIN: drained
    }
}

void PtyPort::write(const Bytes& bytes) {
    if (m_master < 0 || peerCount() == 0) return;
    m_pending.insert(m_pending.end(), bytes.begin(), bytes.end());
    flushPending();
}

void PtyPort::flushPending() {
    size_t done = 0;
    while (done < m_pending.size()) {
        ssize_t n = ::write(m_master, m_pending.data() + done, m_pending.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        break;
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(done));
    if (m_writeNotifier) m_writeNotifier->setEnabled(!m_pending.empty());
}

void PtyPort::onWritable() {
    flushPending();
}

void PtyPort::onSlaveEvent() {
    alignas(inotify_event) char buf[4096];
    ssize_t n;
    while ((n = ::read(m_watch, buf, sizeof buf)) > 0) {
        for (char* p = buf; p < buf + n;) {
            auto* e = reinterpret_cast<inotify_event*>(p);
            bool closed = e->mask & IN_CLOSE;
            if (e->mask & IN_OPEN) ++m_peers;
            if (closed && m_peers > 0) --m_peers;
            if (closed && m_peers == 0) {
                // The program let go: lift its exclusive mode and forget what it did not read.
                ioctl(m_slave, TIOCNXCL);
                tcflush(m_slave, TCIFLUSH);
                m_pending.clear();
                if (m_writeNotifier) m_writeNotifier->setEnabled(false);
            }
            if (m_onPeer && (closed || (e->mask & IN_OPEN))) m_onPeer(!closed);
            p += sizeof(inotify_event) + e->len;
        }
    }
}

}  // namespace sq::metersim
