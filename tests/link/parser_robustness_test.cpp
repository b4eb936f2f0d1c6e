// A million random chunks (garbage mixed with valid and damaged frames) through the receive path.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <random>

#include "link/channels.h"
#include "link/link_fixture.h"

using namespace sq;
using sqtest::Bytes;
using sqtest::replyFrame;

namespace {

struct Segment {
    Bytes bytes;
    bool valid = false;  // a well-formed reply with data
};

class StreamSource {
public:
    explicit StreamSource(uint64_t seed) : m_rng(seed) {}

    Segment next() {
        switch (pick(10)) {
            case 0:
            case 1:
            case 2:
            case 3:
                return {frame(), true};
            case 4:
                return {damagedFrame(), false};
            case 5:
                return {{0x03, static_cast<uint8_t>(pick(256)), 0x00, 0x00, 0x00}, false};  // length 0
            case 6:
                return {{0x03, 0x12, static_cast<uint8_t>(2 + pick(254)), 0x00}, false};  // length > 540
            default:
                return {garbage(), false};
        }
    }

    size_t pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(m_rng); }

private:
    Bytes frame() {
        size_t length = pick(8) == 0 ? 1 + pick(540) : 1 + pick(90);
        Bytes data(length);
        fillRandom(data);
        return replyFrame(static_cast<uint8_t>(pick(256)), data);
    }
    Bytes damagedFrame() {
        Bytes f = frame();
        f[1 + pick(f.size() - 1)] ^= static_cast<uint8_t>(1 + pick(255));
        if (pick(2) == 0) f.resize(1 + pick(f.size() - 1));
        return f;
    }
    Bytes garbage() {
        Bytes g(1 + pick(24));
        fillRandom(g);
        return g;
    }
    void fillRandom(Bytes& bytes) {
        for (size_t i = 0; i < bytes.size(); i += 8) {
            uint64_t r = m_rng();
            for (size_t k = i; k < std::min(bytes.size(), i + 8); ++k, r >>= 8)
                bytes[k] = static_cast<uint8_t>(r);
        }
    }
    std::mt19937_64 m_rng;
};

class ParserRobustness : public sqtest::MemoryLinkTest {};

TEST_F(ParserRobustness, aMillionRandomChunksNeverLoseAFrameThatStartsOnAnEmptyBuffer) {
    openLink();
    StreamSource source(20261210);
    std::deque<Segment> pending;
    size_t offsetInFront = 0;  // bytes of pending.front() already sent

    std::deque<Bytes> expected;  // frames that start on an empty buffer with the parser idle
    size_t expectedTotal = 0, found = 0, foundExpected = 0;
    size_t largestBuffer = 0;
    double slowestCall = 0;
    using Clock = std::chrono::steady_clock;
    auto& rx = Channels[1].RxBuffer;
    constexpr size_t kChunks = 1'000'000;

    for (size_t chunk = 0; chunk < kChunks; ++chunk) {
        // A chunk runs to a random length, often ending where a segment ends.
        size_t want = 1 + source.pick(64);
        Bytes bytes;
        while (bytes.size() < want) {
            if (pending.empty()) pending.push_back(source.next());
            Segment& s = pending.front();
            if (offsetInFront == 0 && bytes.empty() && s.valid && rx.empty() &&
                Channels[1].Parse.State == 0) {
                expected.push_back(Bytes(s.bytes.begin() + 4, s.bytes.end() - 1));
                ++expectedTotal;
            }
            size_t take = std::min(want - bytes.size(), s.bytes.size() - offsetInFront);
            bytes.insert(bytes.end(), s.bytes.begin() + static_cast<long>(offsetInFront),
                         s.bytes.begin() + static_cast<long>(offsetInFront + take));
            offsetInFront += take;
            if (offsetInFront == s.bytes.size()) {
                pending.pop_front();
                offsetInFront = 0;
                if (source.pick(3) == 0) break;
            }
        }
        instrumentSends(bytes);
        ASSERT_EQ(ReadChannel(PortAPI()), static_cast<int32_t>(bytes.size()));
        largestBuffer = std::max(largestBuffer, rx.size());

        ReplyFrame f;
        for (;;) {
            auto start = Clock::now();
            int result = ParseReplyFrame(&f);
            slowestCall = std::max(slowestCall, std::chrono::duration<double>(Clock::now() - start).count());
            if (result != 1) break;
            ++found;
            ASSERT_EQ(f.Data.size(), f.Length);
            ASSERT_LE(f.Length, MaxReplyLength);
            if (!expected.empty() && f.Data == expected.front()) {
                expected.pop_front();
                ++foundExpected;
            }
        }
        // Whatever was expected before the newest one must have been found by now, in order.
        ASSERT_LE(expected.size(), 1u) << "a frame that started on an empty buffer was lost, chunk " << chunk;
    }
    EXPECT_GT(expectedTotal, 50'000u);
    EXPECT_GE(foundExpected + expected.size(), expectedTotal);
    EXPECT_GE(found, foundExpected);
    EXPECT_LE(largestBuffer, 545u + 64u) << "the buffer stays bounded";
    EXPECT_LT(slowestCall, 0.05);
    RecordProperty("frames", static_cast<int>(found));
}

}  // namespace
