#pragma once
// The master side of a pseudo-terminal, on the event loop. The program opens the slave path as its
// serial port. We keep a slave descriptor of our own open for the whole life of the port, so the
// master never sees a hang-up when the program closes its side (the program's port scan opens and
// closes every port); and since the program opens its ports exclusively, which outlives its close
// while we hold the slave, we lift the exclusive mode again whenever a descriptor of the slave
// is closed (watched with inotify).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "metersim/protocol.h"

class QSocketNotifier;

namespace sq::metersim {

class PtyPort {
public:
    PtyPort();
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    // Creates the pseudo-terminal; false with a reason in `error` on failure.
    bool open(std::string& error);
    void close();
    [[nodiscard]] bool isOpen() const { return m_master >= 0; }
    [[nodiscard]] const std::string& slavePath() const { return m_slavePath; }

    void setOnBytes(std::function<void(const uint8_t*, size_t)> fn) { m_onBytes = std::move(fn); }
    // Told when the program opens (true) or closes (false) its side.
    void setOnPeer(std::function<void(bool)> fn) { m_onPeer = std::move(fn); }
    // Queues bytes for the program; what the terminal cannot take now goes out when it can. While
    // the program has the port closed, bytes are dropped (a later opener gets no stale replies).
    void write(const Bytes& bytes);
    // Descriptors of the slave open elsewhere (-1 when opens and closes cannot be watched).
    [[nodiscard]] int peerCount() const { return m_watchNotifier ? m_peers : -1; }

private:
    void onReadable();
    void onWritable();
    void onSlaveEvent();
    void flushPending();

    int m_master = -1;
    int m_slave = -1;
    int m_watch = -1;  // inotify descriptor
    int m_peers = 0;
    std::string m_slavePath;
    Bytes m_pending;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    std::unique_ptr<QSocketNotifier> m_watchNotifier;
    std::function<void(const uint8_t*, size_t)> m_onBytes;
    std::function<void(bool)> m_onPeer;
};

}  // namespace sq::metersim
