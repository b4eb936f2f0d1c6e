#include "link/requests.h"

#include <cmath>

#include "link/channels.h"
#include "link/com_port_api.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"
#include "shared/state.h"

namespace sq {

namespace {

using Bytes = std::vector<uint8_t>;

bool suspended() {
    return shared().SendSuspended != kFalse;
}

// 02, 00, 1 + data count, command, data, checksum, then `trailingZeros` zero bytes.
Bytes requestFrame(uint8_t command, const Bytes& data, size_t trailingZeros = 0) {
    Bytes frame{RequestStart, 0x00, static_cast<uint8_t>(data.size() + 1), command};
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(0);
    frame.back() = FrameChecksum(frame);
    frame.insert(frame.end(), trailingZeros, 0);
    return frame;
}

int32_t send(const Bytes& frame) {
    return WriteChannel(PortAPI(), frame);
}

void sendCommand(uint8_t command) {
    if (!suspended()) send(requestFrame(command, {}));
}

void put8(Bytes& d, long long v) {
    if (v < 0 || v > 255) raise(kOverflow);
    d.push_back(static_cast<uint8_t>(v));
}

void put16(Bytes& d, long long v) {
    put8(d, v < 0 ? v : v / 256);
    put8(d, v % 256);
}

void put32(Bytes& d, long long v) {
    if (v < 0) raise(kOverflow);
    put8(d, v / 16777216);
    put8(d, v % 16777216 / 65536);
    put8(d, v % 65536 / 256);
    put8(d, v % 256);
}

// A whole number from a numeric argument, halves to even; NaN and infinities overflow.
long long wholeNumber(double v) {
    double r = roundHalfEven(v);
    if (!std::isfinite(r) || std::fabs(r) > 9.0e15) raise(kOverflow);
    return static_cast<long long>(r);
}

void sendByteWrite(uint8_t command, double value) {
    Bytes data;
    put8(data, wholeNumber(value));
    send(requestFrame(command, data));
}

void putTimerRow(Bytes& d, const TimerSettings& t, size_t j) {
    put8(d, t.PcStartHour[j]);
    put8(d, t.PcStartMinute[j]);
    put32(d, t.PcStop[j]);
    put8(d, t.PcEnabled[j]);
}

Bytes timerRows(const TimerSettings& t, size_t first, size_t last) {
    Bytes d;
    for (size_t j = first; j <= last; ++j) putTimerRow(d, t, j);
    return d;
}

Bytes timerHeader(const TimerSettings& t) {
    Bytes d;
    put8(d, t.Mode);
    put16(d, t.DelayYear);
    put8(d, t.DelayMonth);
    put8(d, t.DelayDay);
    put8(d, t.DelayHour);
    put8(d, t.DelayMinute);
    put32(d, t.DelayDuration);
    put8(d, t.RepeatStartHour);
    put8(d, t.RepeatStartMinute);
    put32(d, t.RepeatStop);
    put8(d, t.RepeatCount);
    return d;
}

void putDoseChannel(Bytes& d, uint8_t standard, uint8_t weighting, uint8_t threshold, uint8_t criterion,
                    uint8_t exchange, uint8_t exceedance, int16_t pwDuration) {
    d.insert(d.end(), {standard, weighting, threshold, criterion, exchange, exceedance});
    put16(d, pwDuration);
}

}  // namespace

void ReadDeviceModel() {
    sendCommand(CmdReadDeviceModel);
}
void ReadLcdContrast() {
    sendCommand(CmdReadLcdContrast);
}
void ReadMeterClock() {
    sendCommand(CmdReadMeterClock);
}
void ReadLcdApo() {
    sendCommand(CmdReadLcdApo);
}
void ReadDoseSettings() {
    sendCommand(CmdReadDoseSettings);
}
void ReadScreenSettings() {
    sendCommand(CmdReadScreenSettings);
}
void ReadPauseSetting() {
    sendCommand(CmdReadPauseSetting);
}
void ReadLedAlarm() {
    sendCommand(CmdReadLedAlarm);
}
void ReadAutoLockKeypad() {
    sendCommand(CmdReadAutoLockKeypad);
}
void ReadAutoScroll() {
    sendCommand(CmdReadAutoScroll);
}
void ReadTimerSettings() {
    sendCommand(CmdReadTimerSettings);
}
void ReadMemorySize() {
    sendCommand(CmdReadMemorySize);
}
void ReadWelcomeText() {
    sendCommand(CmdReadWelcomeText);
}
void ReadSerialNumber() {
    sendCommand(CmdReadSerialNumber);
}
void ReadCalibrationLevel() {
    sendCommand(CmdReadCalibrationLevel);
}
void ReadLunchTime() {
    sendCommand(CmdReadLunchTime);
}
void ReadIntervalTime() {
    sendCommand(CmdReadIntervalTime);
}
void ReadCalibrationDate() {
    sendCommand(CmdReadCalibrationDate);
}

void ClearMeterMemory() {
    if (suspended()) return;
    Bytes frame = requestFrame(CmdClearMeterMemory, {});
    // Without a written request no 0x0B reply would ever lift the erase interlock.
    if (send(frame) == static_cast<int32_t>(frame.size())) flags().MemoryErasing = kTrue;
}

void ReadMemoryInfo() {
    if (suspended()) return;
    send(requestFrame(CmdReadMemoryInfo, {}));
    flags().ListingMemory = kTrue;
}

void ReadMemoryInfoNext() {
    if (suspended()) return;
    send(requestFrame(CmdReadMemoryInfoNext, {}));
    flags().ListingMemory = kTrue;
}

void ReadRecordHeader(double recordNumber) {
    if (suspended()) return;
    Bytes data;
    put8(data, wholeNumber(recordNumber));
    send(requestFrame(CmdReadRecordHeader, data));
}

void ReadRecordBlock(double blockNumber) {
    if (suspended()) return;
    Bytes data;
    put16(data, wholeNumber(blockNumber));
    send(requestFrame(CmdReadRecordBlock, data));
}

void WriteLcdContrast(double value) {
    if (!suspended()) sendByteWrite(CmdWriteLcdContrast, value);
}

void WriteMeterClock(const ClockRecord& clock) {
    if (suspended()) return;
    Bytes data;
    put16(data, clock.Year);
    data.insert(data.end(), {clock.Month, clock.Day, clock.Hour, clock.Minute, clock.Second});
    send(requestFrame(CmdWriteMeterClock, data));
}

void WriteLcdApo(double value) {
    if (!suspended()) sendByteWrite(CmdWriteLcdApo, value);
}

void WriteDoseSettings(const DoseSettings& s) {
    if (suspended()) return;
    Bytes d;
    putDoseChannel(d, s.D1Standard, s.D1TimeWeighting, s.D1Threshold, s.D1Criterion, s.D1ExchangeRate,
                   s.D1Exceedance, s.D1PwDuration);
    d.push_back(s.D2Enabled);
    putDoseChannel(d, s.D2Standard, s.D2TimeWeighting, s.D2Threshold, s.D2Criterion, s.D2ExchangeRate,
                   s.D2Exceedance, s.D2PwDuration);
    d.push_back(s.D3Enabled);
    putDoseChannel(d, s.D3Standard, s.D3TimeWeighting, s.D3Threshold, s.D3Criterion, s.D3ExchangeRate,
                   s.D3Exceedance, s.D3PwDuration);
    send(requestFrame(CmdWriteDoseSettings, d));
}

void WriteScreenSettings(const ScreenPages& pages) {
    if (suspended()) return;
    Bytes d;
    for (size_t i = 0; i < 12; ++i)
        d.insert(d.end(), {pages.Channel[i], pages.UpperItem[i], pages.LowerItem[i]});
    send(requestFrame(CmdWriteScreenSettings, d));
}

void WritePauseSetting(double value) {
    if (!suspended()) sendByteWrite(CmdWritePauseSetting, value);
}

void WriteLedAlarm(const AlarmLimits& limits) {
    if (suspended()) return;
    Bytes d{limits.Enabled};
    for (size_t i = 0; i <= 10; ++i) {
        put16(d, limits.UpperLimit[i]);
        put16(d, limits.LowerLimit[i]);
    }
    send(requestFrame(CmdWriteLedAlarm, d));
}

void WriteAutoLockKeypad(double value) {
    if (!suspended()) sendByteWrite(CmdWriteAutoLockKeypad, value);
}

void WriteAutoScroll(double value) {
    sendByteWrite(CmdWriteAutoScroll, value);
}

void WriteTimerSettings1(const TimerSettings& timer) {
    Bytes d = timerHeader(timer);
    Bytes rows = timerRows(timer, 0, 3);
    d.insert(d.end(), rows.begin(), rows.end());
    send(requestFrame(CmdWriteTimerSettings1, d));
    shared().SendSuspended = kTrue;
    shared().TimerFrameSent = CmdWriteTimerSettings1;
}

void WriteTimerSettings2(const TimerSettings& timer) {
    send(requestFrame(CmdWriteTimerSettings2, timerRows(timer, 4, 10)));
    shared().TimerFrameSent = CmdWriteTimerSettings2;
}

void WriteTimerSettings3(const TimerSettings& timer) {
    send(requestFrame(CmdWriteTimerSettings3, timerRows(timer, 11, 15)));
    shared().TimerFrameSent = CmdWriteTimerSettings3;
}

void WriteWelcomeText(const std::vector<uint8_t>& text) {
    if (suspended()) return;
    if (text.size() > 252) raise(kOverflow);
    // The length byte counts one more than the frame holds; the instrument expects it so.
    Bytes frame{RequestStart, 0x00, static_cast<uint8_t>(text.size() + 2), CmdWriteWelcomeText};
    frame.insert(frame.end(), text.begin(), text.end());
    frame.push_back(0);
    frame.back() = FrameChecksum(frame);
    send(frame);
}

void WriteWelcomeText(const WelcomeTextPayload& payload) {
    WriteWelcomeText(payload.Bytes);
}

void WriteSerialNumber(const std::vector<uint8_t>& serial) {
    if (suspended()) return;
    if (serial.size() != 11) raise(kSubscriptOutOfRange);
    send(requestFrame(CmdWriteSerialNumber, serial));
}

void WriteSerialNumber(const SerialNumberPayload& payload) {
    WriteSerialNumber(payload.Bytes);
}

void WriteCalibrationLevel(double level) {
    if (suspended()) return;
    Bytes data;
    put16(data, toInt16(level));
    send(requestFrame(CmdWriteCalibrationLevel, data));
}

void WriteLunchTime(const LunchTime& lunch) {
    Bytes d{lunch.En,       lunch.StartHour,  lunch.StartMinute, lunch.Spare1,
            lunch.StopHour, lunch.StopMinute, lunch.Spare2};
    send(requestFrame(CmdWriteLunchTime, d, 1));
}

void WriteIntervalTime(double seconds) {
    if (suspended()) return;
    long long v = toInt32(seconds);
    if (v < 0) raise(kOverflow);
    Bytes d;
    put8(d, v % 256);
    put8(d, v / 256 % 256);
    put8(d, v / 65536 % 256);
    put8(d, v / 16777216);
    send(requestFrame(CmdWriteIntervalTime, d, 4));
}

}  // namespace sq
