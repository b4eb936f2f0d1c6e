#include "metersim/request_reader.h"

#include <algorithm>

namespace sq::metersim {

namespace {
// The largest request: 0x8D with 252 text bytes has length byte 254.
constexpr size_t kMaxLength = 255;
}  // namespace

void RequestReader::reset() {
    m_buf.clear();
    m_trailerLeft = 0;
}

int RequestReader::trailerCount(uint8_t c) {
    if (c == code::WriteLunchTime) return 1;
    if (c == code::WriteIntervalTime) return 4;
    return 0;
}

void RequestReader::feed(const uint8_t* p, size_t n, double now) {
    if (n == 0) return;
    if (!m_buf.empty() && m_gapLimit > 0 && now - m_lastByteTime > m_gapLimit) {
        Bytes stale;
        stale.swap(m_buf);
        m_trailerLeft = 0;
        if (m_onSkip) m_onSkip(stale);
    }
    m_lastByteTime = now;
    m_buf.insert(m_buf.end(), p, p + n);
    while (!m_buf.empty() && takeOne()) {
    }
}

void RequestReader::skip(size_t n) {
    Bytes skipped(m_buf.begin(), m_buf.begin() + static_cast<std::ptrdiff_t>(n));
    m_buf.erase(m_buf.begin(), m_buf.begin() + static_cast<std::ptrdiff_t>(n));
    if (m_onSkip) m_onSkip(skipped);
}

bool RequestReader::takeOne() {
    if (m_trailerLeft > 0) {
        if (m_buf[0] != 0x00) {  // the trailer is missing: a new frame begins
            m_trailerLeft = 0;
            return true;
        }
        m_buf.erase(m_buf.begin());
        --m_trailerLeft;
        return true;
    }
    if (m_buf[0] != kRequestStart) {
        size_t n = 1;
        while (n < m_buf.size() && m_buf[n] != kRequestStart) ++n;
        skip(n);
        return true;
    }
    if (m_buf.size() < 4) return false;
    size_t length = static_cast<size_t>(m_buf[1]) << 8 | m_buf[2];
    uint8_t c = m_buf[3];
    if (length == 0 || length > kMaxLength) {  // not a frame: resynchronise after this start byte
        skip(1);
        return true;
    }
    size_t dataCount = c == code::WriteWelcomeText ? (length >= 2 ? length - 2 : 0) : length - 1;
    size_t total = 4 + dataCount + 1;
    if (m_buf.size() < total) return false;

    RequestFrame f;
    f.code = c;
    f.data.assign(m_buf.begin() + 4, m_buf.begin() + 4 + static_cast<std::ptrdiff_t>(dataCount));
    f.raw.assign(m_buf.begin(), m_buf.begin() + static_cast<std::ptrdiff_t>(total));
    f.checksumOk = xorOf(m_buf.data() + 1, total - 2) == m_buf[total - 1];
    m_buf.erase(m_buf.begin(), m_buf.begin() + static_cast<std::ptrdiff_t>(total));
    // Take the trailing zeros now when they are already here, so the log shows the whole write.
    int trailer = trailerCount(c);
    while (trailer > 0 && !m_buf.empty() && m_buf[0] == 0x00) {
        f.raw.push_back(0x00);
        m_buf.erase(m_buf.begin());
        --trailer;
        ++f.trailingZeros;
    }
    m_trailerLeft = m_buf.empty() ? trailer : 0;
    if (m_onFrame) m_onFrame(f);
    return true;
}

}  // namespace sq::metersim
