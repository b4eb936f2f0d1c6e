#include "platform/encoding.h"

namespace sq {

namespace {
// Code points of bytes 0x80-0x9F in Windows-1252 (0 = unassigned, kept as the C1 control).
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int cp1252ByteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i) {
        char32_t mapped = kHigh[i] ? kHigh[i] : char32_t(0x80 + i);
        if (mapped == cp) return 0x80 + i;
    }
    return -1;
}
}  // namespace

char32_t nextCodePoint(std::string_view s, size_t& i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
    if (extra == 0) {
        ++i;
        return c;
    }
    if (extra < 0 || i + extra >= s.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t cp = c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        unsigned char cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    i += extra + 1;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        int b = cp1252ByteOf(nextCodePoint(utf8, i));
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else if (c < 0xA0) {
            appendUtf8(out, kHigh[c - 0x80] ? kHigh[c - 0x80] : c);
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

std::string latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) appendUtf8(out, static_cast<unsigned char>(ch));
    return out;
}

std::string utf8ToLatin1(std::string_view utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        char32_t cp = nextCodePoint(utf8, i);
        out += cp <= 0xFF ? static_cast<char>(cp) : '?';
    }
    return out;
}

std::string padToLength(const std::string& utf8, size_t length) {
    size_t characters = 0;
    for (size_t i = 0; i < utf8.size() && characters < length; ++characters) nextCodePoint(utf8, i);
    return characters < length ? utf8 + std::string(length - characters, ' ') : utf8;
}

}  // namespace sq
