#include <algorithm>

#include "metersim/simulator.h"
#include "platform/encoding.h"

namespace sq::metersim {

namespace {

template <size_t N>
void putText(std::array<uint8_t, N>& field, const std::string& utf8) {
    std::string bytes = utf8ToLatin1(utf8);
    field.fill(' ');
    std::copy_n(bytes.begin(), std::min(bytes.size(), N), field.begin());
}

template <size_t N>
std::string textOf(const std::array<uint8_t, N>& field) {
    return latin1ToUtf8(std::string(field.begin(), field.end()));
}

void setDoseChannel(std::array<uint8_t, 26>& d, size_t base, std::initializer_list<int> v) {
    size_t at = base;
    for (int x : v) {
        d[at++] = static_cast<uint8_t>(x);
    }
}

}  // namespace

InstrumentState::InstrumentState() {
    // D1: standard, time weighting, threshold, criterion, exchange rate, exceedance, PW duration (BE16)
    setDoseChannel(dose, 0, {1, 1, 90, 90, 5, 115, 480 >> 8, 480 & 0xFF});
    // D2 and D3 start with their enable byte.
    setDoseChannel(dose, 8, {1, 6, 0, 80, 85, 3, 115, 480 >> 8, 480 & 0xFF});
    setDoseChannel(dose, 17, {0, 10, 0, 70, 90, 3, 140, 480 >> 8, 480 & 0xFF});
    for (size_t page = 0; page < 12; ++page) {
        screenPages[3 * page] = static_cast<uint8_t>(page % 3);
        screenPages[3 * page + 1] = static_cast<uint8_t>(page + 1);
        screenPages[3 * page + 2] = 132;  // "OFF"
    }
    ledAlarm[0] = 1;
    for (size_t row = 0; row < 11; ++row) {
        ledAlarm[1 + 4 * row + 1] = 140;
        ledAlarm[3 + 4 * row + 1] = 70;
    }
    // Manual mode; a delayed start on 2026/01/05 08:00 for 8 hours; repeat 07:30 to 16:00 once.
    timerTable = {};
    const uint8_t header[18] = {0, 0x07, 0xEA, 1, 5, 8, 0, 0, 0, 0x01, 0xE0, 7, 30, 0, 0, 0x03, 0xC0, 1};
    std::copy(std::begin(header), std::end(header), timerTable.begin());
    setWelcomeText("SONOQUANT   NOISE DOSE  METER       ");
    setSerialNumber("SQ2401000123");
    lunchTime = {0, 12, 0, 0, 13, 0, 0};
}

void InstrumentState::setWelcomeText(const std::string& utf8) {
    putText(welcomeText, utf8);
}
std::string InstrumentState::welcomeTextUtf8() const {
    return textOf(welcomeText);
}
void InstrumentState::setSerialNumber(const std::string& utf8) {
    putText(serialNumber, utf8);
}
std::string InstrumentState::serialNumberUtf8() const {
    return textOf(serialNumber);
}

}  // namespace sq::metersim
