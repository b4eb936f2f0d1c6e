#pragma once
// Assembles request frames from the bytes the program sends: 02, length high, length low, command,
// data, XOR checksum of length high through the last data byte. Quirks of the program's frames:
// 0x8D carries N text bytes under a length of N + 2; 0x90 and 0x91 are followed by one and four zero
// bytes. Bytes that cannot start a frame are skipped; a partial frame older than the gap limit is
// dropped when new bytes arrive (a real instrument resets its receiver after a pause).
#include <cstddef>
#include <cstdint>
#include <functional>

#include "metersim/protocol.h"

namespace sq::metersim {

struct RequestFrame {
    uint8_t code = 0;
    Bytes data;
    Bytes raw;  // every byte of the frame, trailing zero bytes included
    bool checksumOk = false;
    int trailingZeros = 0;  // zero bytes taken after the checksum (0x90: 1, 0x91: 4)
};

class RequestReader {
public:
    using FrameHandler = std::function<void(const RequestFrame&)>;
    using SkipHandler = std::function<void(const Bytes&)>;

    void setFrameHandler(FrameHandler fn) { m_onFrame = std::move(fn); }
    // Told about bytes skipped between frames and about partial frames dropped after a pause.
    void setSkipHandler(SkipHandler fn) { m_onSkip = std::move(fn); }
    // A partial frame is dropped when more than `seconds` passed since its last byte (0: never).
    void setGapLimit(double seconds) { m_gapLimit = seconds; }

    // Feeds bytes received at time `now` (seconds); calls the frame handler for each complete frame.
    void feed(const uint8_t* p, size_t n, double now);
    void reset();
    [[nodiscard]] size_t pendingBytes() const { return m_buf.size(); }

private:
    // Tries to take one item from the front of the buffer; false when more bytes are needed.
    bool takeOne();
    void skip(size_t n);
    [[nodiscard]] static int trailerCount(uint8_t code);

    Bytes m_buf;
    int m_trailerLeft = 0;  // zero bytes still expected after the last frame
    double m_lastByteTime = 0;
    double m_gapLimit = 0.5;
    FrameHandler m_onFrame;
    SkipHandler m_onSkip;
};

}  // namespace sq::metersim
