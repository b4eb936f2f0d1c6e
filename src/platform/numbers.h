#pragma once
// Byte-order reads, conversions and number texts with the classic run-time rules: the reads and
// conversions raise VbError(6) where the classic arithmetic overflowed, the texts always use "."
// as decimal point.
#include <cstdint>
#include <string>
#include <string_view>

namespace sq {

// Big-endian signed reads computed as hi * 256 + lo: raise error 6 when the high byte is 0x80 or more.
int16_t readBe16(const uint8_t* p);
int32_t readBe32(const uint8_t* p);
// Little-endian reads: the 16-bit one is unsigned; the 32-bit one raises error 6 when its top byte
// (p[3]) is 0x80 or more.
uint16_t readLeU16(const uint8_t* p);
int32_t readLe32(const uint8_t* p);

// Nearest integer, halves to even (the classic CInt/CLng/CByte rounding).
double roundHalfEven(double v);
// Conversions that round halves to even and raise error 6 outside their range.
uint8_t toByte(double v);
int16_t toInt16(double v);
int32_t toInt32(double v);

// "Format"-style fixed decimals: halves away from zero, judged on the shortest decimal form of the
// value (at most 15 significant digits), so 1.005 gives "1.01". -0.0 prints without a sign.
std::string formatFixed(double v, int decimals);
// Whole number padded with zeros to at least `digits` digits ("00", "0000" patterns).
std::string formatPadded(long long v, int digits);
// Shortest text of a number as the classic Str/CStr gave it (no exponent for ordinary values,
// "." decimal point, no leading blank).
std::string formatNumber(double v);

// The lenient number a text begins with (blanks skipped, 0 when there is none).
double leadingNumber(std::string_view text);
// A strict conversion of the whole (trimmed) text; raises error 13 when it is not a number.
double toNumber(std::string_view text);
// True when the whole trimmed text is a number.
bool isNumeric(std::string_view text);

}  // namespace sq
