#include "platform/numbers.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/vb_error.h"

namespace sq {

int16_t readBe16(const uint8_t* p) {
    if (p[0] >= 0x80) raise(kOverflow);
    return static_cast<int16_t>(p[0] * 256 + p[1]);
}

int32_t readBe32(const uint8_t* p) {
    if (p[0] >= 0x80) raise(kOverflow);
    return static_cast<int32_t>((uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) |
                                p[3]);
}

uint16_t readLeU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

int32_t readLe32(const uint8_t* p) {
    if (p[3] >= 0x80) raise(kOverflow);
    return static_cast<int32_t>(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                                (uint32_t(p[3]) << 24));
}

double roundHalfEven(double v) {
    return std::nearbyint(v);
}  // default rounding mode: to nearest, ties to even

namespace {
template <typename T>
T convertChecked(double v, double lo, double hi) {
    if (std::isnan(v)) raise(kOverflow);
    double r = roundHalfEven(v);
    if (r < lo || r > hi) raise(kOverflow);
    return static_cast<T>(r);
}
}  // namespace

uint8_t toByte(double v) {
    return convertChecked<uint8_t>(v, 0, 255);
}
int16_t toInt16(double v) {
    return convertChecked<int16_t>(v, -32768, 32767);
}
int32_t toInt32(double v) {
    return convertChecked<int32_t>(v, -2147483648.0, 2147483647.0);
}

std::string formatFixed(double v, int decimals) {
    if (decimals < 0) decimals = 0;
    if (!std::isfinite(v)) return std::isnan(v) ? "NaN" : (v < 0 ? "-Infinity" : "Infinity");
    bool negative = v < 0;
    // 15 significant digits; to_chars ignores the C locale, which Qt sets from the environment.
    char buf[64];
    char* end = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 14).ptr;
    std::string digits;
    const char* p = buf;
    for (; p < end && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits += *p;
    int exponent = std::atoi(std::string(p + 1, static_cast<const char*>(end)).c_str());
    // digits d0 d1 ... : value = d0.d1d2... * 10^exponent. Digits before the point: exponent + 1.
    int keep = exponent + 1 + decimals;  // digits that stay after rounding
    std::string kept;
    int intDigits = exponent + 1;
    if (keep < 0) {
        kept.clear();
    } else if (keep >= static_cast<int>(digits.size())) {
        kept = digits + std::string(keep - digits.size(), '0');
    } else {
        kept = digits.substr(0, keep);
        if (digits[keep] >= '5') {  // shortest form: a 5 here is at least a true half
            int i = keep - 1;
            for (; i >= 0; --i) {
                if (kept[i] == '9') {
                    kept[i] = '0';
                } else {
                    ++kept[i];
                    break;
                }
            }
            if (i < 0) {
                kept.insert(kept.begin(), '1');
                ++intDigits;
            }
        }
    }
    // kept holds the digits of the rounded value scaled by 10^decimals, intDigits of them before the point.
    std::string intPart, fracPart;
    int total = static_cast<int>(kept.size());
    if (intDigits <= 0) {
        intPart = "0";
        fracPart = std::string(std::min(-intDigits, decimals), '0') + kept;
    } else {
        intPart = kept.substr(0, std::min(intDigits, total));
        if (intDigits > total) intPart += std::string(intDigits - total, '0');
        fracPart = intDigits < total ? kept.substr(intDigits) : "";
    }
    if (static_cast<int>(fracPart.size()) < decimals)
        fracPart += std::string(decimals - fracPart.size(), '0');
    fracPart.resize(decimals);
    size_t nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? "0" : intPart.substr(nz);
    std::string out = (negative ? "-" : "") + intPart;
    if (decimals > 0) out += "." + fracPart;
    return out;
}

std::string formatPadded(long long v, int digits) {
    std::string s = std::to_string(v < 0 ? -v : v);
    if (static_cast<int>(s.size()) < digits) s.insert(0, digits - s.size(), '0');
    return v < 0 ? "-" + s : s;
}

std::string formatNumber(double v) {
    if (v == 0) return "0";
    if (!std::isfinite(v)) return std::isnan(v) ? "NaN" : (v < 0 ? "-Infinity" : "Infinity");
    char buf[64];
    char* end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15).ptr;
    std::string s(buf, end);
    size_t e = s.find('e');
    if (e != std::string::npos) {
        std::string mant = s.substr(0, e);
        int exp = std::atoi(s.c_str() + e + 1);
        std::string digits = std::to_string(std::abs(exp));
        if (digits.size() < 2) digits.insert(0, "0");
        s = mant + "E" + (exp < 0 ? "-" : "+") + digits;
    }
    return s;
}

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Parses a plain decimal number at text[pos...]; returns the count of characters consumed (0 = none).
size_t scanNumber(std::string_view text, double& out) {
    std::string cleaned;
    size_t i = 0;
    auto at = [&](size_t k) { return k < text.size() ? text[k] : '\0'; };
    if (at(i) == '+' || at(i) == '-') cleaned += text[i++];
    bool anyDigit = false;
    while (std::isdigit(static_cast<unsigned char>(at(i)))) cleaned += text[i++], anyDigit = true;
    if (at(i) == '.') {
        cleaned += text[i++];
        while (std::isdigit(static_cast<unsigned char>(at(i)))) cleaned += text[i++], anyDigit = true;
    }
    if (!anyDigit) return 0;
    char e = at(i);
    if (e == 'e' || e == 'E' || e == 'd' || e == 'D') {
        size_t j = i + 1;
        std::string ex = "e";
        if (at(j) == '+' || at(j) == '-') ex += text[j++];
        if (std::isdigit(static_cast<unsigned char>(at(j)))) {
            while (std::isdigit(static_cast<unsigned char>(at(j)))) ex += text[j++];
            cleaned += ex;
            i = j;
        }
    }
    // from_chars ignores the C locale and takes no leading '+'.
    const char* first = cleaned.c_str();
    if (*first == '+') ++first;
    std::from_chars(first, cleaned.c_str() + cleaned.size(), out);
    return i;
}
}  // namespace

double leadingNumber(std::string_view text) {
    std::string squeezed;
    for (char c : text)
        if (!isBlank(c)) squeezed += c;
    double v = 0;
    if (scanNumber(squeezed, v) == 0) return 0;
    return v;
}

bool isNumeric(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && isBlank(text[b])) ++b;
    while (e > b && isBlank(text[e - 1])) --e;
    std::string_view t = text.substr(b, e - b);
    if (t.empty()) return false;
    double v = 0;
    return scanNumber(t, v) == t.size();
}

double toNumber(std::string_view text) {
    if (!isNumeric(text)) raise(kTypeMismatch);
    size_t b = 0;
    while (b < text.size() && isBlank(text[b])) ++b;
    double v = 0;
    scanNumber(text.substr(b), v);
    return v;
}

}  // namespace sq
