#pragma once
// One builder per request the program sends to the instrument. Each builds one complete request
// frame (02, length high, length low, command, data, XOR checksum) and writes it at once to the
// current channel; none waits for the reply.
//
// While shared().SendSuspended is True (a timer-table upload is under way) every builder sends
// nothing and sets no flag, except WriteAutoScroll, WriteTimerSettings1..3 and WriteLunchTime.
// A value that does not fit its bytes raises VbError(6) before anything is sent or any flag set.
#include <cstdint>
#include <vector>

#include "shared/setting_records.h"

namespace sq {

// Request codes.
constexpr uint8_t CmdReadDeviceModel = 0x00;
constexpr uint8_t CmdReadLcdContrast = 0x01;
constexpr uint8_t CmdReadMeterClock = 0x02;
constexpr uint8_t CmdReadLcdApo = 0x03;
constexpr uint8_t CmdReadDoseSettings = 0x04;
constexpr uint8_t CmdReadScreenSettings = 0x05;
constexpr uint8_t CmdReadPauseSetting = 0x06;
constexpr uint8_t CmdReadLedAlarm = 0x07;
constexpr uint8_t CmdReadAutoLockKeypad = 0x08;
constexpr uint8_t CmdReadAutoScroll = 0x09;
constexpr uint8_t CmdReadTimerSettings = 0x0A;
constexpr uint8_t CmdClearMeterMemory = 0x0B;
constexpr uint8_t CmdReadMemoryInfo = 0x0C;
constexpr uint8_t CmdReadMemoryInfoNext = 0x0D;
constexpr uint8_t CmdReadRecordHeader = 0x0E;
constexpr uint8_t CmdReadMemorySize = 0x0F;
constexpr uint8_t CmdReadWelcomeText = 0x10;
constexpr uint8_t CmdReadSerialNumber = 0x11;
constexpr uint8_t CmdReadRecordBlock = 0x12;
constexpr uint8_t CmdReadCalibrationLevel = 0x13;
constexpr uint8_t CmdReadLunchTime = 0x14;
constexpr uint8_t CmdReadIntervalTime = 0x15;
constexpr uint8_t CmdReadCalibrationDate = 0x16;
constexpr uint8_t CmdWriteLcdContrast = 0x81;
constexpr uint8_t CmdWriteMeterClock = 0x82;
constexpr uint8_t CmdWriteLcdApo = 0x83;
constexpr uint8_t CmdWriteDoseSettings = 0x84;
constexpr uint8_t CmdWriteScreenSettings = 0x85;
constexpr uint8_t CmdWritePauseSetting = 0x86;
constexpr uint8_t CmdWriteLedAlarm = 0x87;
constexpr uint8_t CmdWriteAutoLockKeypad = 0x88;
constexpr uint8_t CmdWriteAutoScroll = 0x89;
constexpr uint8_t CmdWriteTimerSettings1 = 0x8A;
constexpr uint8_t CmdWriteTimerSettings2 = 0x8B;
constexpr uint8_t CmdWriteTimerSettings3 = 0x8C;
constexpr uint8_t CmdWriteWelcomeText = 0x8D;
constexpr uint8_t CmdWriteSerialNumber = 0x8E;
constexpr uint8_t CmdWriteCalibrationLevel = 0x8F;
constexpr uint8_t CmdWriteLunchTime = 0x90;
constexpr uint8_t CmdWriteIntervalTime = 0x91;
// Codes that only come from the instrument.
constexpr uint8_t CmdResendRequest = 0x55;
constexpr uint8_t CmdMemoryInfoEnd = 0xFF;

void ReadDeviceModel();
void ReadLcdContrast();
void ReadMeterClock();
void ReadLcdApo();
void ReadDoseSettings();
void ReadScreenSettings();
void ReadPauseSetting();
void ReadLedAlarm();
void ReadAutoLockKeypad();
void ReadAutoScroll();
void ReadTimerSettings();
// Sets MemoryErasing only when the whole frame was written to an open port.
void ClearMeterMemory();
// Both set ListingMemory (when not suspended), whether or not the frame went out.
void ReadMemoryInfo();
void ReadMemoryInfoNext();
// Record number 0 to 255 (rounded half to even first).
void ReadRecordHeader(double recordNumber);
void ReadMemorySize();
void ReadWelcomeText();
void ReadSerialNumber();
// Block number 0 to 65535, high byte first.
void ReadRecordBlock(double blockNumber);
void ReadCalibrationLevel();
void ReadLunchTime();
void ReadIntervalTime();
void ReadCalibrationDate();

// One-byte writes (0 to 255, rounded half to even first).
void WriteLcdContrast(double value);
void WriteMeterClock(const ClockRecord& clock);
void WriteLcdApo(double value);
void WriteDoseSettings(const DoseSettings& settings);
void WriteScreenSettings(const ScreenPages& pages);
void WritePauseSetting(double value);
void WriteLedAlarm(const AlarmLimits& limits);
void WriteAutoLockKeypad(double value);
void WriteAutoScroll(double value);
// The three timer-table frames send even while suspended and note their code in TimerFrameSent;
// the first then sets SendSuspended.
void WriteTimerSettings1(const TimerSettings& timer);
void WriteTimerSettings2(const TimerSettings& timer);
void WriteTimerSettings3(const TimerSettings& timer);
// Length byte N + 2 for N text bytes; more than 252 bytes raise VbError(6).
void WriteWelcomeText(const std::vector<uint8_t>& text);
void WriteWelcomeText(const WelcomeTextPayload& payload);
// Exactly 11 bytes; any other count raises VbError(9) before anything is sent.
void WriteSerialNumber(const std::vector<uint8_t>& serial);
void WriteSerialNumber(const SerialNumberPayload& payload);
// Level x 10 as a 16-bit value, high byte first (0 = off).
void WriteCalibrationLevel(double level);
// Followed by one 0x00 after the checksum.
void WriteLunchTime(const LunchTime& lunch);
// Seconds, low byte first, followed by four 0x00 after the checksum.
void WriteIntervalTime(double seconds);

}  // namespace sq
