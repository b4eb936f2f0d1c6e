#pragma once
// Plays the program's end of an in-memory line against the simulator, in virtual time. Request
// frames are written by hand here (not through the program's builders), and replies are split with
// a small parser of our own.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "metersim/simulator.h"
#include "platform/memory_port.h"
#include "platform/runtime.h"

namespace simtest {

using sq::metersim::Bytes;

// 02 00 L cmd data xor(L..data): the regular request shape.
inline Bytes request(uint8_t cmd, const Bytes& data = {}) {
    Bytes f = {0x02, 0x00, static_cast<uint8_t>(data.size() + 1), cmd};
    f.insert(f.end(), data.begin(), data.end());
    uint8_t x = 0;
    for (size_t i = 1; i < f.size(); ++i) x ^= f[i];
    f.push_back(x);
    return f;
}

struct Reply {
    uint8_t code = 0;
    Bytes data;
    bool checksumOk = false;
};

// Splits bytes into reply frames (03 cmd lenH lenL data xor); stops at anything else.
inline std::vector<Reply> parseReplies(const Bytes& b, size_t* leftover = nullptr) {
    std::vector<Reply> out;
    size_t i = 0;
    while (i + 5 <= b.size() && b[i] == 0x03) {
        size_t len = static_cast<size_t>(b[i + 2]) << 8 | b[i + 3];
        if (i + 5 + len > b.size()) break;
        Reply r;
        r.code = b[i + 1];
        r.data.assign(b.begin() + static_cast<std::ptrdiff_t>(i + 4),
                      b.begin() + static_cast<std::ptrdiff_t>(i + 4 + len));
        uint8_t x = 0;
        for (size_t k = i + 1; k < i + 4 + len; ++k) x ^= b[k];
        r.checksumOk = x == b[i + 4 + len];
        out.push_back(r);
        i += 5 + len;
    }
    if (leftover) *leftover = b.size() - i;
    return out;
}

class SimTest : public ::testing::Test {
protected:
    void SetUp() override {
        sq::Runtime::get().setVirtualTime(true);
        sim = std::make_unique<sq::metersim::Simulator>();
        pair = std::make_shared<sq::MemoryPortPair>();
        sim->attach(pair);
    }
    void TearDown() override {
        sim.reset();
        sq::Runtime::get().setVirtualTime(false);
    }

    void send(const Bytes& b) { pair->program().write(b.data(), b.size()); }
    void wait(double seconds) { sq::Runtime::get().advance(seconds); }
    Bytes readAll() {
        Bytes b(pair->program().queued());
        pair->program().read(b.data(), b.size());
        return b;
    }
    // Sends a request, lets 0.1 s pass and returns every byte that came back.
    Bytes exchange(const Bytes& req, double seconds = 0.1) {
        send(req);
        wait(seconds);
        return readAll();
    }
    // The one reply to a request (fails the test when there is not exactly one good frame).
    Reply ask(uint8_t cmd, const Bytes& data = {}) {
        auto replies = parseReplies(exchange(request(cmd, data)));
        EXPECT_EQ(replies.size(), 1u) << "command " << int(cmd);
        if (replies.empty()) return {};
        EXPECT_TRUE(replies[0].checksumOk);
        return replies[0];
    }

    std::unique_ptr<sq::metersim::Simulator> sim;
    std::shared_ptr<sq::MemoryPortPair> pair;
};

}  // namespace simtest
