#include "pdf/pdf_text.h"

#include <algorithm>
#include <cmath>

#include "platform/encoding.h"
#include "platform/numbers.h"

namespace sq::pdf {

namespace {
constexpr double kPow10[] = {1, 10, 100, 1000, 10000, 100000};

// Rounds |value| * 10^decimals to a whole number when no tie is near, where the 15-digit form
// could decide differently from the binary value; false sends the caller to the exact path.
bool roundScaled(double value, int decimals, long long& scaled) {
    if (decimals < 0 || decimals > 5) return false;
    double a = std::fabs(value) * kPow10[decimals];
    if (!(a < 1e12)) return false;
    double whole = std::floor(a);
    double frac = a - whole;
    if (std::fabs(frac - 0.5) <= 1e-9 + a * 1e-13) return false;
    scaled = static_cast<long long>(whole) + (frac > 0.5 ? 1 : 0);
    return true;
}
}  // namespace

void appendFixed(std::string& out, double value, int decimals) {
    long long scaled = 0;
    if (!roundScaled(value, decimals, scaled)) {
        out += formatFixed(value, decimals);
        return;
    }
    char digits[32];
    int n = 0;
    long long rest = scaled;
    for (int i = 0; i < decimals; ++i) {
        digits[n++] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    }
    if (decimals > 0) digits[n++] = '.';
    do {
        digits[n++] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest > 0);
    if (value < 0) digits[n++] = '-';
    char text[32];
    for (int i = 0; i < n; ++i) text[i] = digits[n - 1 - i];
    out.append(text, static_cast<size_t>(n));
}

std::string fixed(double value, int decimals) {
    std::string out;
    appendFixed(out, value, decimals);
    return out;
}

std::string shortNumber(double value) {
    return formatNumber(value);
}

std::string padZeros10(const std::string& text) {
    if (text.size() >= 10) return text;
    return std::string(10 - text.size(), '0') + text;
}

std::string escapeLiteral(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\\' || c == '(' || c == ')') out += '\\';
        out += c;
    }
    return out;
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string textString(std::string_view utf8) {
    if (isAscii(utf8)) return escapeLiteral(utf8);
    std::string units = "\xFE\xFF";
    auto addUnit = [&units](char32_t unit) {
        units += static_cast<char>(unit >> 8);
        units += static_cast<char>(unit & 0xFF);
    };
    for (size_t i = 0; i < utf8.size();) {
        char32_t cp = nextCodePoint(utf8, i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            addUnit(0xD800 + (cp >> 10));
            addUnit(0xDC00 + (cp & 0x3FF));
        } else {
            addUnit(cp);
        }
    }
    std::string out;
    out.reserve(units.size() + 8);
    for (char c : units) {
        if (c == '\r') {
            out += "\\r";
            continue;
        }
        if (c == '\\' || c == '(' || c == ')') out += '\\';
        out += c;
    }
    return out;
}

std::string toPdfBytes(std::string_view utf8) {
    return isAscii(utf8) ? std::string(utf8) : utf8ToCp1252(utf8);
}

}  // namespace sq::pdf
