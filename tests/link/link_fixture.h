#pragma once
// A link over an in-memory line: COM7 is registered as a MemoryPortPair; the test plays the
// instrument at its other end.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "link/channels.h"
#include "link/com_port_api.h"
#include "platform/dialogs.h"
#include "platform/memory_port.h"
#include "shared/state.h"
#include "support/scripted_dialogs.h"

namespace sqtest {

using Bytes = std::vector<uint8_t>;

inline constexpr int kMemoryCom = 7;
inline constexpr const char* kLinkSettings = "baud=57600 parity=N data=8 stop=1";

class MemoryLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        sq::PortAPI().reset();
        sq::ResetChannelTable();
        sq::resetSharedState();
        m_pair = std::make_shared<sq::MemoryPortPair>();
        sq::MemoryPortPair::registerPort(kMemoryCom, m_pair);
    }

    void TearDown() override {
        sq::PortAPI().reset();
        sq::ResetChannelTable();
        sq::resetSharedState();
        sq::MemoryPortPair::unregisterPort(kMemoryCom);
    }

    // Opens COM7 as a new channel and makes it current.
    void openLink() {
        ASSERT_TRUE(sq::OpenChannel(sq::PortAPI(), kMemoryCom, kLinkSettings));
        sq::CurrentChannel = sq::ChannelCount;
        ASSERT_TRUE(sq::PortAPI().IsOpen(kMemoryCom));
    }

    // Everything the program wrote since the last call.
    Bytes sent() {
        Bytes out(m_pair->instrument().queued());
        m_pair->instrument().read(out.data(), out.size());
        return out;
    }

    void instrumentSends(const Bytes& bytes) { m_pair->instrument().write(bytes.data(), bytes.size()); }

    // Puts bytes straight into a channel's receive buffer.
    static void append(int channel, const Bytes& bytes) {
        auto& rx = sq::Channels[static_cast<size_t>(channel)].RxBuffer;
        rx.insert(rx.end(), bytes.begin(), bytes.end());
    }

    sq::ScopedScriptedDialogs m_dialogs;
    std::shared_ptr<sq::MemoryPortPair> m_pair;
};

// A reply frame: 03, command, length high, length low, data, XOR of command through the data.
inline Bytes replyFrame(uint8_t command, const Bytes& data) {
    Bytes f{0x03, command, static_cast<uint8_t>(data.size() >> 8), static_cast<uint8_t>(data.size() & 0xFF)};
    f.insert(f.end(), data.begin(), data.end());
    uint8_t x = 0;
    for (size_t i = 1; i < f.size(); ++i) x ^= f[i];
    f.push_back(x);
    return f;
}

}  // namespace sqtest
