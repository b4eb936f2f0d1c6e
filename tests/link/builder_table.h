#pragma once
// Every request builder with the frame it must send, computed here independently of the link's
// own frame code, and sample setting records.
#include <functional>
#include <vector>

#include "link/requests.h"
#include "shared/setting_records.h"

namespace sqtest {

using Bytes = std::vector<uint8_t>;
using namespace sq;

// XOR of frame bytes 1 to last, computed here without the link's own checksum.
inline uint8_t xorRange(const Bytes& f, size_t last) {
    uint8_t x = 0;
    for (size_t i = 1; i <= last; ++i) x ^= f[i];
    return x;
}

inline Bytes frameOf(uint8_t cmd, const Bytes& data, size_t trailingZeros = 0) {
    Bytes f{0x02, 0x00, static_cast<uint8_t>(data.size() + 1), cmd};
    f.insert(f.end(), data.begin(), data.end());
    f.push_back(xorRange(f, f.size() - 1));
    f.insert(f.end(), trailingZeros, 0);
    return f;
}

inline DoseSettings sampleDose() {
    DoseSettings d;
    d.D1Standard = 1, d.D1TimeWeighting = 2, d.D1Threshold = 80, d.D1Criterion = 90, d.D1ExchangeRate = 5;
    d.D1Exceedance = 115, d.D1PwDuration = 480;
    d.D2Enabled = 1, d.D2Standard = 3, d.D2TimeWeighting = 0, d.D2Threshold = 70, d.D2Criterion = 85;
    d.D2ExchangeRate = 3, d.D2Exceedance = 105, d.D2PwDuration = 1440;
    d.D3Enabled = 0, d.D3Standard = 18, d.D3TimeWeighting = 1, d.D3Threshold = 90, d.D3Criterion = 80;
    d.D3ExchangeRate = 6, d.D3Exceedance = 140, d.D3PwDuration = 0x0102;
    return d;
}

inline ScreenPages samplePages() {
    ScreenPages p;
    for (size_t i = 0; i < 12; ++i) {
        p.Channel[i] = static_cast<uint8_t>(i % 3);
        p.UpperItem[i] = static_cast<uint8_t>(10 + i);
        p.LowerItem[i] = static_cast<uint8_t>(40 + i);
    }
    return p;
}

inline AlarmLimits sampleAlarm() {
    AlarmLimits a;
    a.Enabled = 1;
    for (size_t i = 0; i < 12; ++i) {
        a.UpperLimit[i] = static_cast<int16_t>(300 + i);
        a.LowerLimit[i] = static_cast<int16_t>(70 + i);
    }
    return a;
}

inline TimerSettings sampleTimer() {
    TimerSettings t;
    t.Mode = 3, t.DelayYear = 2024, t.DelayMonth = 2, t.DelayDay = 29, t.DelayHour = 23, t.DelayMinute = 59;
    t.DelayDuration = 0x01020304, t.RepeatStartHour = 7, t.RepeatStartMinute = 30, t.RepeatStop = 600;
    t.RepeatCount = 99;
    for (size_t j = 0; j < 16; ++j) {
        t.PcStartHour[j] = static_cast<uint8_t>(j);
        t.PcStartMinute[j] = static_cast<uint8_t>(j * 3);
        t.PcStop[j] = static_cast<int32_t>(1000 * j + 7);
        t.PcEnabled[j] = static_cast<uint8_t>(j % 2);
    }
    return t;
}

inline Bytes be32(int32_t v) {
    auto u = static_cast<uint32_t>(v);
    return {static_cast<uint8_t>(u >> 24), static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 8),
            static_cast<uint8_t>(u)};
}

inline Bytes timerRowBytes(const TimerSettings& t, size_t first, size_t last) {
    Bytes d;
    for (size_t j = first; j <= last; ++j) {
        d.push_back(t.PcStartHour[j]);
        d.push_back(t.PcStartMinute[j]);
        Bytes stop = be32(t.PcStop[j]);
        d.insert(d.end(), stop.begin(), stop.end());
        d.push_back(t.PcEnabled[j]);
    }
    return d;
}

inline Bytes timerFrame1Data(const TimerSettings& t) {
    Bytes d{t.Mode, 0x07, 0xE8, t.DelayMonth, t.DelayDay, t.DelayHour, t.DelayMinute};
    Bytes dur = be32(t.DelayDuration), stop = be32(t.RepeatStop), rows = timerRowBytes(t, 0, 3);
    d.insert(d.end(), dur.begin(), dur.end());
    d.push_back(t.RepeatStartHour);
    d.push_back(t.RepeatStartMinute);
    d.insert(d.end(), stop.begin(), stop.end());
    d.push_back(t.RepeatCount);
    d.insert(d.end(), rows.begin(), rows.end());
    return d;
}

inline Bytes doseData() {
    return {1, 2,   80,   90,   5, 115, 0x01, 0xE0, 1,  3, 0,   70,   85,
            3, 105, 0x05, 0xA0, 0, 18,  1,    90,   80, 6, 140, 0x01, 0x02};
}

inline Bytes pagesData() {
    Bytes d;
    for (uint8_t i = 0; i < 12; ++i)
        d.insert(d.end(),
                 {static_cast<uint8_t>(i % 3), static_cast<uint8_t>(10 + i), static_cast<uint8_t>(40 + i)});
    return d;
}

inline Bytes alarmData() {
    Bytes d{1};
    for (uint8_t i = 0; i <= 10; ++i)
        d.insert(d.end(), {0x01, static_cast<uint8_t>(0x2C + i), 0x00, static_cast<uint8_t>(70 + i)});
    return d;
}

inline Bytes welcomeText() {
    Bytes t;
    for (const char* line : {"HELLO WORLD ", "LINE TWO    ", "LINE THREE  "})
        t.insert(t.end(), line, line + 12);
    return t;
}

inline Bytes serialText() {
    return {'S', 'N', '1', '2', '3', '4', '5', '6', '7', '8', '9'};
}

enum class Sets { Nothing, MemoryErasing, ListingMemory, SendSuspended };

struct Builder {
    const char* name;
    std::function<void()> call;
    Bytes expected;
    bool sendsWhileSuspended;
    Sets sets;
};

inline std::vector<Builder> allBuilders() {
    TimerSettings timer = sampleTimer();
    LunchTime lunch{1, 12, 30, 0, 13, 15, 0};
    ClockRecord clock{2026, 12, 10, 14, 5, 9};
    Bytes welcome = welcomeText();
    Bytes welcomeFrame{0x02, 0x00, 38, 0x8D};
    welcomeFrame.insert(welcomeFrame.end(), welcome.begin(), welcome.end());
    welcomeFrame.push_back(xorRange(welcomeFrame, welcomeFrame.size() - 1));
    auto read = [](const char* name, void (*fn)(), uint8_t cmd, Sets sets = Sets::Nothing) {
        return Builder{name, fn, frameOf(cmd, {}), false, sets};
    };
    return {
        read("ReadDeviceModel", ReadDeviceModel, 0x00),
        read("ReadLcdContrast", ReadLcdContrast, 0x01),
        read("ReadMeterClock", ReadMeterClock, 0x02),
        read("ReadLcdApo", ReadLcdApo, 0x03),
        read("ReadDoseSettings", ReadDoseSettings, 0x04),
        read("ReadScreenSettings", ReadScreenSettings, 0x05),
        read("ReadPauseSetting", ReadPauseSetting, 0x06),
        read("ReadLedAlarm", ReadLedAlarm, 0x07),
        read("ReadAutoLockKeypad", ReadAutoLockKeypad, 0x08),
        read("ReadAutoScroll", ReadAutoScroll, 0x09),
        read("ReadTimerSettings", ReadTimerSettings, 0x0A),
        read("ClearMeterMemory", ClearMeterMemory, 0x0B, Sets::MemoryErasing),
        read("ReadMemoryInfo", ReadMemoryInfo, 0x0C, Sets::ListingMemory),
        read("ReadMemoryInfoNext", ReadMemoryInfoNext, 0x0D, Sets::ListingMemory),
        {"ReadRecordHeader", [] { ReadRecordHeader(200); }, frameOf(0x0E, {200}), false, Sets::Nothing},
        read("ReadMemorySize", ReadMemorySize, 0x0F),
        read("ReadWelcomeText", ReadWelcomeText, 0x10),
        read("ReadSerialNumber", ReadSerialNumber, 0x11),
        {"ReadRecordBlock", [] { ReadRecordBlock(0xABCD); }, frameOf(0x12, {0xAB, 0xCD}), false,
         Sets::Nothing},
        read("ReadCalibrationLevel", ReadCalibrationLevel, 0x13),
        read("ReadLunchTime", ReadLunchTime, 0x14),
        read("ReadIntervalTime", ReadIntervalTime, 0x15),
        read("ReadCalibrationDate", ReadCalibrationDate, 0x16),
        {"WriteLcdContrast", [] { WriteLcdContrast(24); }, frameOf(0x81, {24}), false, Sets::Nothing},
        {"WriteMeterClock", [clock] { WriteMeterClock(clock); },
         frameOf(0x82, {0x07, 0xEA, 12, 10, 14, 5, 9}), false, Sets::Nothing},
        {"WriteLcdApo", [] { WriteLcdApo(5); }, frameOf(0x83, {5}), false, Sets::Nothing},
        {"WriteDoseSettings", [] { WriteDoseSettings(sampleDose()); }, frameOf(0x84, doseData()), false,
         Sets::Nothing},
        {"WriteScreenSettings", [] { WriteScreenSettings(samplePages()); }, frameOf(0x85, pagesData()), false,
         Sets::Nothing},
        {"WritePauseSetting", [] { WritePauseSetting(1); }, frameOf(0x86, {1}), false, Sets::Nothing},
        {"WriteLedAlarm", [] { WriteLedAlarm(sampleAlarm()); }, frameOf(0x87, alarmData()), false,
         Sets::Nothing},
        {"WriteAutoLockKeypad", [] { WriteAutoLockKeypad(1); }, frameOf(0x88, {1}), false, Sets::Nothing},
        {"WriteAutoScroll", [] { WriteAutoScroll(1); }, frameOf(0x89, {1}), true, Sets::Nothing},
        {"WriteTimerSettings1", [timer] { WriteTimerSettings1(timer); },
         frameOf(0x8A, timerFrame1Data(timer)), true, Sets::SendSuspended},
        {"WriteTimerSettings2", [timer] { WriteTimerSettings2(timer); },
         frameOf(0x8B, timerRowBytes(timer, 4, 10)), true, Sets::Nothing},
        {"WriteTimerSettings3", [timer] { WriteTimerSettings3(timer); },
         frameOf(0x8C, timerRowBytes(timer, 11, 15)), true, Sets::Nothing},
        {"WriteWelcomeText", [welcome] { WriteWelcomeText(WelcomeTextPayload{welcome}); }, welcomeFrame,
         false, Sets::Nothing},
        {"WriteSerialNumber", [] { WriteSerialNumber(SerialNumberPayload{serialText()}); },
         frameOf(0x8E, serialText()), false, Sets::Nothing},
        {"WriteCalibrationLevel", [] { WriteCalibrationLevel(940); }, frameOf(0x8F, {0x03, 0xAC}), false,
         Sets::Nothing},
        {"WriteLunchTime", [lunch] { WriteLunchTime(lunch); }, frameOf(0x90, {1, 12, 30, 0, 13, 15, 0}, 1),
         true, Sets::Nothing},
        {"WriteIntervalTime", [] { WriteIntervalTime(0x01020304); },
         frameOf(0x91, {0x04, 0x03, 0x02, 0x01}, 4), false, Sets::Nothing},
    };
}

}  // namespace sqtest
