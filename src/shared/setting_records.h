#pragma once
// Setting records: filled by the setting windows (or the serial-number pane) and sent by the
// request builders; some are also set from replies. Fields are in wire order.
#include <array>
#include <cstdint>
#include <vector>

namespace sq {

// A date and time; on the wire 7 bytes, year high byte first.
struct ClockRecord {
    int16_t Year = 0;
    uint8_t Month = 0;
    uint8_t Day = 0;
    uint8_t Hour = 0;
    uint8_t Minute = 0;
    uint8_t Second = 0;
};

// The three dose channels (0x84, 26 bytes). Channel 1 has no enable byte; the PW durations are
// minutes, sent high byte first.
struct DoseSettings {
    uint8_t D1Standard = 0;
    uint8_t D1TimeWeighting = 0;
    uint8_t D1Threshold = 0;
    uint8_t D1Criterion = 0;
    uint8_t D1ExchangeRate = 0;
    uint8_t D1Exceedance = 0;
    int16_t D1PwDuration = 0;
    uint8_t D2Enabled = 0;
    uint8_t D2Standard = 0;
    uint8_t D2TimeWeighting = 0;
    uint8_t D2Threshold = 0;
    uint8_t D2Criterion = 0;
    uint8_t D2ExchangeRate = 0;
    uint8_t D2Exceedance = 0;
    int16_t D2PwDuration = 0;
    uint8_t D3Enabled = 0;
    uint8_t D3Standard = 0;
    uint8_t D3TimeWeighting = 0;
    uint8_t D3Threshold = 0;
    uint8_t D3Criterion = 0;
    uint8_t D3ExchangeRate = 0;
    uint8_t D3Exceedance = 0;
    int16_t D3PwDuration = 0;
    bool operator==(const DoseSettings&) const = default;
};

// The twelve display pages (0x85): in memory three arrays; on the wire interleaved per page.
struct ScreenPages {
    std::array<uint8_t, 12> Channel{};
    std::array<uint8_t, 12> UpperItem{};
    std::array<uint8_t, 12> LowerItem{};
    bool operator==(const ScreenPages&) const = default;
};

// LED alarm limits (0x87) in whole dB. Element 11 of the limit arrays is never sent.
struct AlarmLimits {
    uint8_t Enabled = 0;
    std::array<int16_t, 12> UpperLimit{};
    std::array<int16_t, 12> LowerLimit{};
    bool operator==(const AlarmLimits&) const = default;
};

// The measurement timer table (0x8A header and rows 0-3, 0x8B rows 4-10, 0x8C rows 11-15).
// Durations are minutes; 16- and 32-bit values go high byte first.
struct TimerSettings {
    uint8_t Mode = 0;
    int16_t DelayYear = 0;
    uint8_t DelayMonth = 0;
    uint8_t DelayDay = 0;
    uint8_t DelayHour = 0;
    uint8_t DelayMinute = 0;
    int32_t DelayDuration = 0;
    uint8_t RepeatStartHour = 0;
    uint8_t RepeatStartMinute = 0;
    int32_t RepeatStop = 0;
    uint8_t RepeatCount = 0;
    std::array<uint8_t, 16> PcStartHour{};
    std::array<uint8_t, 16> PcStartMinute{};
    std::array<int32_t, 16> PcStop{};
    std::array<uint8_t, 16> PcEnabled{};
    bool operator==(const TimerSettings&) const = default;
};

// Lunch time (0x90, 7 bytes in this order). The two spare bytes are 0 when the window fills the
// record; a read reply stores them as they arrive.
struct LunchTime {
    uint8_t En = 0;
    uint8_t StartHour = 0;
    uint8_t StartMinute = 0;
    uint8_t Spare1 = 0;
    uint8_t StopHour = 0;
    uint8_t StopMinute = 0;
    uint8_t Spare2 = 0;
    bool operator==(const LunchTime&) const = default;
};

// The welcome text as sent (0x8D): one byte per character, normally three lines of 12.
struct WelcomeTextPayload {
    std::vector<uint8_t> Bytes;
};

// The serial number as sent (0x8E): exactly 11 bytes.
struct SerialNumberPayload {
    std::vector<uint8_t> Bytes;
};

}  // namespace sq
