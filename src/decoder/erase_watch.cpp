#include "decoder/erase_watch.h"

namespace sq {

void EraseWatch::noteClearRequest(double now) {
    m_requested = true;
    m_requestTime = now;
}

bool EraseWatch::noteReply(uint8_t code, double now, bool erasing) {
    if (!erasing) {
        m_requested = false;
        return false;
    }
    // An erasing state we did not see begin (set elsewhere) counts from its first observed reply.
    if (!m_requested) noteClearRequest(now);
    if (code == 0x0B) return false;
    if (now - m_requestTime < kGiveUpSeconds) return false;
    m_requested = false;
    return true;
}

EraseWatch& eraseWatch() {
    static EraseWatch watch;
    return watch;
}

}  // namespace sq
