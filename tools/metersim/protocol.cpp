#include "metersim/protocol.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cstdio>
#include <map>

namespace sq::metersim {

std::string commandName(uint8_t c) {
    static const std::map<uint8_t, const char*> names = {
        {0x00, "ReadDeviceModel"},     {0x01, "ReadLcdContrast"},       {0x02, "ReadMeterClock"},
        {0x03, "ReadLcdApo"},          {0x04, "ReadDoseSettings"},      {0x05, "ReadScreenSettings"},
        {0x06, "ReadPauseSetting"},    {0x07, "ReadLedAlarm"},          {0x08, "ReadAutoLockKeypad"},
        {0x09, "ReadAutoScroll"},      {0x0A, "ReadTimerSettings"},     {0x0B, "ClearMeterMemory"},
        {0x0C, "ReadMemoryInfo"},      {0x0D, "ReadMemoryInfoNext"},    {0x0E, "ReadRecordHeader"},
        {0x0F, "ReadMemorySize"},      {0x10, "ReadWelcomeText"},       {0x11, "ReadSerialNumber"},
        {0x12, "ReadRecordBlock"},     {0x13, "ReadCalibrationLevel"},  {0x14, "ReadLunchTime"},
        {0x15, "ReadIntervalTime"},    {0x16, "ReadCalibrationDate"},   {0x81, "WriteLcdContrast"},
        {0x82, "WriteMeterClock"},     {0x83, "WriteLcdApo"},           {0x84, "WriteDoseSettings"},
        {0x85, "WriteScreenSettings"}, {0x86, "WritePauseSetting"},     {0x87, "WriteLedAlarm"},
        {0x88, "WriteAutoLockKeypad"}, {0x89, "WriteAutoScroll"},       {0x8A, "WriteTimerSettings1"},
        {0x8B, "WriteTimerSettings2"}, {0x8C, "WriteTimerSettings3"},   {0x8D, "WriteWelcomeText"},
        {0x8E, "WriteSerialNumber"},   {0x8F, "WriteCalibrationLevel"}, {0x90, "WriteLunchTime"},
        {0x91, "WriteIntervalTime"},   {0x55, "ResendRequest"},         {0xFF, "MemoryInfoEnd"},
    };
    auto it = names.find(c);
    return it == names.end() ? "Unknown" : it->second;
}

std::string formatDateTime(const DateTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return buf;
}

bool parseDateTime(const std::string& text, DateTime& out) {
    DateTime t;
    char s1 = 0, s2 = 0, sep = 0;
    int n = std::sscanf(text.c_str(), "%d%c%d%c%d%c%d:%d:%d", &t.year, &s1, &t.month, &s2, &t.day, &sep,
                        &t.hour, &t.minute, &t.second);
    if (n != 9 || s1 != s2 || (s1 != '/' && s1 != '-') || (sep != ' ' && sep != 'T')) return false;
    out = t;
    return true;
}

namespace {
QDateTime toQt(const DateTime& t) {
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second), Qt::UTC);
}
}  // namespace

DateTime addSeconds(const DateTime& t, long long seconds) {
    QDateTime q = toQt(t);
    if (!q.isValid() || !QTime(t.hour, t.minute, t.second).isValid()) return t;
    q = q.addSecs(seconds);
    return DateTime{q.date().year(), q.date().month(),  q.date().day(),
                    q.time().hour(), q.time().minute(), q.time().second()};
}

void putBe16(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void putBe32(Bytes& out, uint32_t v) {
    putBe16(out, v >> 16);
    putBe16(out, v & 0xFFFF);
}

void putLe16(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void putLe32(Bytes& out, uint32_t v) {
    putLe16(out, v & 0xFFFF);
    putLe16(out, v >> 16);
}

void putBeDateTime(Bytes& out, const DateTime& t) {
    putBe16(out, static_cast<uint32_t>(t.year));
    for (int v : {t.month, t.day, t.hour, t.minute, t.second}) out.push_back(static_cast<uint8_t>(v));
}

uint8_t xorOf(const uint8_t* p, size_t n) {
    uint8_t x = 0;
    for (size_t i = 0; i < n; ++i) x ^= p[i];
    return x;
}

Bytes buildReply(uint8_t c, const Bytes& data) {
    Bytes f;
    f.reserve(data.size() + 5);
    f.push_back(kReplyStart);
    f.push_back(c);
    putBe16(f, static_cast<uint32_t>(data.size()));
    f.insert(f.end(), data.begin(), data.end());
    f.push_back(xorOf(f.data() + 1, f.size() - 1));
    return f;
}

}  // namespace sq::metersim
