#pragma once
// Ends an erasing state whose 0x0B reply was lost: once 120 s have passed since the last clear
// request and a reply frame of another code has arrived since that request, the instrument is
// evidently working again.
#include <cstdint>

namespace sq {

class EraseWatch {
public:
    static constexpr double kGiveUpSeconds = 120.0;

    // A clear request was written at `now` (restarts the 120 s).
    void noteClearRequest(double now);
    // A complete reply frame arrived at `now` while `erasing`. True when the erasing state should
    // end now.
    bool noteReply(uint8_t code, double now, bool erasing);
    void reset() { *this = EraseWatch{}; }

private:
    bool m_requested = false;
    double m_requestTime = 0;
};

EraseWatch& eraseWatch();

}  // namespace sq
