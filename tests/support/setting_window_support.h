#pragma once
// Small helpers for the tests of the setting windows: choosing list items by their text, showing a
// dose channel as one line of text.
#include <gtest/gtest.h>

#include <string>

#include "platform/ui/controls.h"
#include "settings/sonoquant_frm.h"

namespace sqtest {

// A user's choice of the item with `text`; fails the test when the list has none.
inline void pick(sq::ComboList& list, const std::string& text) {
    for (int i = 0; i < list.ListCount(); ++i) {
        if (list.List(i) == text) {
            list.choose(i);
            return;
        }
    }
    ADD_FAILURE() << "no item \"" << text << "\"";
}

// A dose channel as shown: "enable/standard/weighting/T/Q/ER/exceedance/hh/mm/lock", lock being
// "locked" or "free"; a switched-off channel ends in "/hidden".
inline std::string shownChannel(sq::SonoquantFrm& f, int channel) {
    const sq::DoseChannelBoxes c = f.channel(channel);
    std::string s = c.enabled->Text();
    for (sq::ComboList* list : {c.standard, c.timeWeighting, c.threshold, c.criterion, c.exchangeRate,
                                c.exceedance, c.hours, c.minutes})
        s += "/" + list->Text();
    s += c.threshold->Enabled() ? "/free" : "/locked";
    if (!c.standard->Visible()) s += "/hidden";
    return s;
}

// Sets a channel as a user would: switched on, a standard, then the values by their texts
// ("weighting/T/Q/ER/exceedance/hh/mm"); a channel 2 or 3 is switched off again when `on` is false.
inline void setChannel(sq::SonoquantFrm& f, int channel, const std::string& standard,
                       const std::string& values, bool on = true) {
    const sq::DoseChannelBoxes c = f.channel(channel);
    if (channel != 1) pick(*c.enabled, "Enabled");
    pick(*c.standard, standard);
    size_t from = 0;
    for (sq::ComboList* list : c.valueBoxes()) {
        const size_t to = values.find('/', from);
        pick(*list, values.substr(from, to == std::string::npos ? std::string::npos : to - from));
        from = to + 1;
    }
    if (channel != 1 && !on) pick(*c.enabled, "Disabled");
}

}  // namespace sqtest
