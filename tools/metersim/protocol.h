#pragma once
// The instrument's side of the serial protocol: command codes, frame constants and the byte helpers
// the simulator builds its replies with. Written from the instrument's point of view: requests come
// in as 02 lenH lenL cmd data... xor, replies go out as 03 cmd lenH lenL data... xor.
#include <cstdint>
#include <string>
#include <vector>

namespace sq::metersim {

using Bytes = std::vector<uint8_t>;

inline constexpr uint8_t kRequestStart = 0x02;
inline constexpr uint8_t kReplyStart = 0x03;

namespace code {
inline constexpr uint8_t ReadDeviceModel = 0x00;
inline constexpr uint8_t ReadLcdContrast = 0x01;
inline constexpr uint8_t ReadMeterClock = 0x02;
inline constexpr uint8_t ReadLcdApo = 0x03;
inline constexpr uint8_t ReadDoseSettings = 0x04;
inline constexpr uint8_t ReadScreenSettings = 0x05;
inline constexpr uint8_t ReadPauseSetting = 0x06;
inline constexpr uint8_t ReadLedAlarm = 0x07;
inline constexpr uint8_t ReadAutoLockKeypad = 0x08;
inline constexpr uint8_t ReadAutoScroll = 0x09;
inline constexpr uint8_t ReadTimerSettings = 0x0A;
inline constexpr uint8_t ClearMeterMemory = 0x0B;
inline constexpr uint8_t ReadMemoryInfo = 0x0C;
inline constexpr uint8_t ReadMemoryInfoNext = 0x0D;
inline constexpr uint8_t ReadRecordHeader = 0x0E;
inline constexpr uint8_t ReadMemorySize = 0x0F;
inline constexpr uint8_t ReadWelcomeText = 0x10;
inline constexpr uint8_t ReadSerialNumber = 0x11;
inline constexpr uint8_t ReadRecordBlock = 0x12;
inline constexpr uint8_t ReadCalibrationLevel = 0x13;
inline constexpr uint8_t ReadLunchTime = 0x14;
inline constexpr uint8_t ReadIntervalTime = 0x15;
inline constexpr uint8_t ReadCalibrationDate = 0x16;
inline constexpr uint8_t WriteLcdContrast = 0x81;
inline constexpr uint8_t WriteMeterClock = 0x82;
inline constexpr uint8_t WriteLcdApo = 0x83;
inline constexpr uint8_t WriteDoseSettings = 0x84;
inline constexpr uint8_t WriteScreenSettings = 0x85;
inline constexpr uint8_t WritePauseSetting = 0x86;
inline constexpr uint8_t WriteLedAlarm = 0x87;
inline constexpr uint8_t WriteAutoLockKeypad = 0x88;
inline constexpr uint8_t WriteAutoScroll = 0x89;
inline constexpr uint8_t WriteTimerSettings1 = 0x8A;
inline constexpr uint8_t WriteTimerSettings2 = 0x8B;
inline constexpr uint8_t WriteTimerSettings3 = 0x8C;
inline constexpr uint8_t WriteWelcomeText = 0x8D;
inline constexpr uint8_t WriteSerialNumber = 0x8E;
inline constexpr uint8_t WriteCalibrationLevel = 0x8F;
inline constexpr uint8_t WriteLunchTime = 0x90;
inline constexpr uint8_t WriteIntervalTime = 0x91;
inline constexpr uint8_t ResendRequest = 0x55;
inline constexpr uint8_t MemoryInfoEnd = 0xFF;
}  // namespace code

// The product's name of a request code ("ReadRecordBlock"), or "Unknown".
std::string commandName(uint8_t code);
[[nodiscard]] inline bool isWriteCode(uint8_t c) {
    return c >= 0x81 && c <= 0x91;
}

// A calendar date and time as the instrument keeps it; no field is range-checked.
struct DateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const DateTime&) const = default;
};
// "yyyy/mm/dd hh:nn:ss"; parse accepts that form (also with '-' or 'T'), nullopt-like false otherwise.
std::string formatDateTime(const DateTime& t);
bool parseDateTime(const std::string& text, DateTime& out);
// Adds seconds through the calendar (valid dates only; an invalid date is returned unchanged).
DateTime addSeconds(const DateTime& t, long long seconds);

void putBe16(Bytes& out, uint32_t v);
void putBe32(Bytes& out, uint32_t v);
void putLe16(Bytes& out, uint32_t v);
void putLe32(Bytes& out, uint32_t v);
// Date and time as 7 bytes, year high byte first (clock, calibration date, memory list entries).
void putBeDateTime(Bytes& out, const DateTime& t);

// XOR of all bytes.
uint8_t xorOf(const uint8_t* p, size_t n);
// A complete reply frame: 03, code, length high, length low, data, XOR of code..last data byte.
Bytes buildReply(uint8_t code, const Bytes& data);

}  // namespace sq::metersim
