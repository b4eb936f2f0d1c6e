#pragma once
// The setting records a Set button fills and the re-send request (reply 0x55) sends again. One of
// each for the whole run; each knows whether a Set of this run has filled it, because a record that
// no Set filled holds zeros, not the instrument's settings, and must never be sent in their place.
#include "shared/setting_records.h"

namespace sq {

template <class Record>
struct KeptSetting {
    Record record{};
    bool filledBySet = false;  // a Set of this run filled `record`

    // A Set that fills the record whole: the record and the mark at once.
    void keep(const Record& filled) {
        record = filled;
        filledBySet = true;
    }
};

// Kept records of the setting windows. A window with a kept record adds one member here and one
// row to the re-send table (settings/setting_arms.cpp).
struct KeptSettings {
    KeptSetting<DoseSettings> dose;
    KeptSetting<ScreenPages> screenPages;
    KeptSetting<AlarmLimits> alarmLimits;
    KeptSetting<TimerSettings> timer;
    // Also overwritten by each lunch-time reply that arrives while its window is open; never re-sent.
    KeptSetting<LunchTime> lunchTime;
};

}  // namespace sq
