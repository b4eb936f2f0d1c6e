#include "platform/serial_memory.h"

#include <cerrno>

#include "platform/memory_port.h"

namespace sq {

namespace {

class MemoryPort final : public SerialPort {
public:
    explicit MemoryPort(std::shared_ptr<MemoryPortPair> pair) : m_pair(std::move(pair)) {
        m_pair->program().inUse = true;
    }
    ~MemoryPort() override { close(); }

    bool setupQueues(uint32_t, uint32_t) override { return checkOpen(); }

    bool purge(uint32_t flags) override {
        if (!checkOpen()) return false;
        if (flags & (kPurgeRxAbort | kPurgeRxClear)) end().purge();
        return true;
    }

    bool setTimeouts(const SerialTimeouts&) override { return checkOpen(); }

    bool getLineSettings(LineSettings& s) override {
        if (!checkOpen()) return false;
        s = m_settings;
        return true;
    }

    bool setLineSettings(const LineSettings& s) override {
        if (!checkOpen()) return false;
        m_settings = s;
        return true;
    }

    bool read(uint8_t* buffer, size_t max, size_t& got) override {
        got = 0;
        if (!checkOpen()) return false;
        got = end().read(buffer, max);
        return true;
    }

    bool write(const uint8_t* data, size_t n, size_t& written) override {
        written = 0;
        if (!checkOpen()) return false;
        // The peer may drain synchronously when told bytes arrived; stop once it takes no more.
        while (written < n) {
            size_t w = end().write(data + written, n - written);
            if (w == 0) break;
            written += w;
        }
        return true;
    }

    bool status(SerialStatus& st) override {
        if (!checkOpen()) return false;
        st = SerialStatus{0, static_cast<uint32_t>(end().queued()), 0};
        return true;
    }

    bool modemStatus(uint32_t& bits) override {
        if (!checkOpen()) return false;
        bits = kMsCtsOn | kMsDsrOn | kMsRlsdOn;
        return true;
    }

    bool escape(int function) override {
        if (!checkOpen()) return false;
        switch (function) {
            case kSetBreak:
            case kClrBreak:
            case kSetDtr:
            case kClrDtr:
            case kSetRts:
            case kClrRts:
                return true;
            default:
                return fail(EINVAL);
        }
    }

    bool close() override {
        if (m_open) m_pair->program().inUse = false;
        m_open = false;
        return true;
    }

private:
    MemoryEndpoint& end() { return m_pair->program(); }
    bool checkOpen() { return m_open || fail(EBADF); }

    std::shared_ptr<MemoryPortPair> m_pair;
    LineSettings m_settings;
    bool m_open = true;
};

}  // namespace

std::unique_ptr<SerialPort> openMemoryPort(std::shared_ptr<MemoryPortPair> pair, SerialError& error) {
    if (!pair) {
        error = SerialError{ENOENT, "no in-memory port", {}};
        return nullptr;
    }
    if (pair->program().openError != 0) {
        error = SerialError{pair->program().openError, "the in-memory port refuses to open", {}};
        return nullptr;
    }
    if (pair->program().inUse) {
        error = SerialError{EBUSY, "the in-memory port is in use", {}};
        return nullptr;
    }
    return std::make_unique<MemoryPort>(std::move(pair));
}

}  // namespace sq
