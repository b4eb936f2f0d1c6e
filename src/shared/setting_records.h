#pragma once
// Setting records: filled by the setting windows (or the serial-number pane) and sent by the
// request builders; some are also set from replies.
#include <cstdint>

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

}  // namespace sq
