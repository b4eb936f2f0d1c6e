#include "platform/memory_port.h"

#include <algorithm>

namespace sq {

namespace {
std::map<int, std::shared_ptr<MemoryPortPair>>& registry() {
    static std::map<int, std::shared_ptr<MemoryPortPair>> ports;
    return ports;
}
}  // namespace

MemoryPortPair::MemoryPortPair() {
    m_program.m_peer = &m_instrument;
    m_instrument.m_peer = &m_program;
}

size_t MemoryEndpoint::read(uint8_t* out, size_t max) {
    size_t n = std::min(max, m_in.size());
    std::copy_n(m_in.begin(), n, out);
    m_in.erase(m_in.begin(), m_in.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
}

size_t MemoryEndpoint::write(const uint8_t* data, size_t n) {
    MemoryEndpoint& peer = *m_peer;
    size_t room = peer.m_capacity == SIZE_MAX ? n : (peer.m_capacity > peer.m_in.size() ? peer.m_capacity - peer.m_in.size() : 0);
    size_t count = std::min(n, room);
    peer.m_in.insert(peer.m_in.end(), data, data + count);
    if (count > 0 && peer.m_onReadable) peer.m_onReadable();
    return count;
}

void MemoryPortPair::registerPort(int comNumber, std::shared_ptr<MemoryPortPair> pair) {
    registry()[comNumber] = std::move(pair);
}

void MemoryPortPair::unregisterPort(int comNumber) { registry().erase(comNumber); }

std::shared_ptr<MemoryPortPair> MemoryPortPair::find(int comNumber) {
    auto it = registry().find(comNumber);
    return it == registry().end() ? nullptr : it->second;
}

}  // namespace sq
