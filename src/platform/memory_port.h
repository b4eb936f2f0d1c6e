#pragma once
// An in-memory serial line: two endpoints joined back to back, for fast logic tests and for the
// in-process instrument simulator. Bytes written at one end queue at the other.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace sq {

class MemoryPortPair;

class MemoryEndpoint {
public:
    // Bytes queued for reading at this end.
    [[nodiscard]] size_t queued() const { return m_in.size(); }
    // Reads up to `max` queued bytes; returns the count read.
    size_t read(uint8_t* out, size_t max);
    // Writes to the other end, as far as its capacity allows; returns the count written.
    size_t write(const uint8_t* data, size_t n);
    void purge() { m_in.clear(); }
    // Called (synchronously) after bytes were queued at this end.
    void setOnReadable(std::function<void()> fn) { m_onReadable = std::move(fn); }
    // Limits how many bytes may wait here unread (default unlimited); writes beyond it are cut short.
    void setCapacity(size_t bytes) { m_capacity = bytes; }
    // True while a port object has this end open (for exclusive opening).
    bool inUse = false;
    // Tests: when not 0, opening this end fails with this error number (EACCES: no permission).
    int openError = 0;

private:
    friend class MemoryPortPair;
    std::deque<uint8_t> m_in;
    std::function<void()> m_onReadable;
    size_t m_capacity = SIZE_MAX;
    MemoryEndpoint* m_peer = nullptr;
};

class MemoryPortPair {
public:
    MemoryPortPair();
    MemoryPortPair(const MemoryPortPair&) = delete;
    MemoryPortPair& operator=(const MemoryPortPair&) = delete;
    MemoryEndpoint& program() { return m_program; }
    MemoryEndpoint& instrument() { return m_instrument; }

    // Registry through which the serial layer opens "COMn" as the program end of an in-memory pair
    // (checked before the ports folder and the default device table). Registration is by COM number.
    static void registerPort(int comNumber, std::shared_ptr<MemoryPortPair> pair);
    static void unregisterPort(int comNumber);
    static std::shared_ptr<MemoryPortPair> find(int comNumber);

private:
    MemoryEndpoint m_program;
    MemoryEndpoint m_instrument;
};

}  // namespace sq
