#include <cstdio>

#include "metersim/simulator.h"
#include "platform/encoding.h"

namespace sq::metersim {

namespace {

long long be16(const Bytes& d, size_t at) {
    return d[at] << 8 | d[at + 1];
}
long long be32(const Bytes& d, size_t at) {
    return static_cast<long long>(d[at]) << 24 | d[at + 1] << 16 | d[at + 2] << 8 | d[at + 3];
}

void describeDose(LoggedRequest& log) {
    static const char* names[] = {"Standard",  "TimeWeighting", "Threshold",
                                  "Criterion", "ExchangeRate",  "Exceedance"};
    const Bytes& d = log.data;
    for (int ch = 0; ch < 3; ++ch) {
        size_t base = ch == 0 ? 0 : 9 * static_cast<size_t>(ch) - 1;
        std::string prefix = "d" + std::to_string(ch + 1);
        if (ch > 0) log.fields[prefix + "Enabled"] = d[base++];
        for (int f = 0; f < 6; ++f) log.fields[prefix + names[f]] = d[base + static_cast<size_t>(f)];
        log.fields[prefix + "PwDuration"] = be16(d, base + 6);
    }
}

void describeTimerHeader(LoggedRequest& log) {
    const Bytes& d = log.data;
    log.fields["mode"] = d[0];
    log.fields["delayYear"] = be16(d, 1);
    log.fields["delayMonth"] = d[3];
    log.fields["delayDay"] = d[4];
    log.fields["delayHour"] = d[5];
    log.fields["delayMinute"] = d[6];
    log.fields["delayDuration"] = be32(d, 7);
    log.fields["repeatStartHour"] = d[11];
    log.fields["repeatStartMinute"] = d[12];
    log.fields["repeatStop"] = be32(d, 13);
    log.fields["repeatCount"] = d[17];
}

// Writes: only when the payload has the layout's length (others are shown by their raw bytes).
void describeWrite(LoggedRequest& log) {
    const Bytes& d = log.data;
    auto& f = log.fields;
    switch (log.code) {
        case code::WriteLcdContrast:
        case code::WriteLcdApo:
        case code::WritePauseSetting:
        case code::WriteAutoLockKeypad:
        case code::WriteAutoScroll:
            if (d.size() == 1) f["value"] = d[0];
            break;
        case code::WriteMeterClock:
            if (d.size() == 7) {
                DateTime t{static_cast<int>(be16(d, 0)), d[2], d[3], d[4], d[5], d[6]};
                f["year"] = t.year, f["month"] = t.month, f["day"] = t.day;
                f["hour"] = t.hour, f["minute"] = t.minute, f["second"] = t.second;
                log.text = formatDateTime(t);
            }
            break;
        case code::WriteDoseSettings:
            if (d.size() == 26) describeDose(log);
            break;
        case code::WriteLedAlarm:
            if (!d.empty()) f["enabled"] = d[0];
            break;
        case code::WriteTimerSettings1:
            if (d.size() == 46) describeTimerHeader(log);
            break;
        case code::WriteWelcomeText:
        case code::WriteSerialNumber:
            f["length"] = static_cast<long long>(d.size());
            log.text = latin1ToUtf8(std::string(d.begin(), d.end()));
            break;
        case code::WriteCalibrationLevel:
            if (d.size() == 2) f["level"] = be16(d, 0);
            break;
        case code::WriteLunchTime:
            if (d.size() == 7) {
                f["enabled"] = d[0], f["startHour"] = d[1], f["startMinute"] = d[2];
                f["stopHour"] = d[4], f["stopMinute"] = d[5];
            }
            break;
        case code::WriteIntervalTime:
            if (d.size() == 4)
                f["seconds"] = static_cast<long long>(d[0] | d[1] << 8 | d[2] << 16) |
                               static_cast<long long>(d[3]) << 24;
            break;
        default:
            break;
    }
}

}  // namespace

void describeRequest(LoggedRequest& log) {
    const Bytes& d = log.data;
    if (log.code == code::ReadRecordHeader && !d.empty()) log.fields["record"] = d[0];
    if (log.code == code::ReadRecordBlock && d.size() >= 2) log.fields["block"] = be16(d, 0);
    if (isWriteCode(log.code)) describeWrite(log);
}

}  // namespace sq::metersim
