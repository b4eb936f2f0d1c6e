#include "settings/setting_arms.h"

#include <array>
#include <utility>

#include "link/requests.h"
#include "platform/numbers.h"
#include "platform/ui/window.h"
#include "platform/vb_error.h"
#include "settings/display_items.h"
#include "settings/led_alarm_frm.h"
#include "settings/screen_frm.h"
#include "settings/sonoquant_frm.h"
#include "settings/timer_arms.h"
#include "shared/state.h"

namespace sq {

namespace {

ComboList& doseList(const DoseChannelBoxes& c, DoseList list) {
    switch (list) {
        case DoseList::Enabled:
            return *c.enabled;
        case DoseList::Standard:
            return *c.standard;
        case DoseList::TimeWeighting:
            return *c.timeWeighting;
        case DoseList::Threshold:
            return *c.threshold;
        case DoseList::Criterion:
            return *c.criterion;
        case DoseList::ExchangeRate:
            return *c.exchangeRate;
        case DoseList::Exceedance:
            return *c.exceedance;
        case DoseList::Hours:
            return *c.hours;
        case DoseList::Minutes:
            break;
    }
    return *c.minutes;
}

class ProgramSettingTarget : public SettingFillTarget {
public:
    void setDoseList(int channel, DoseList list, int index) override {
        doseList(settingWindow<SonoquantFrm>().channel(channel), list).setListIndex(index);
    }
    void setPageList(PageList list, int page, int index) override {
        ScreenFrm& w = settingWindow<ScreenFrm>();
        ControlArray<ComboList>& lists = list == PageList::Channel ? w.SonoquantCbx
                                         : list == PageList::Upper ? w.UpPageCbx
                                                                   : w.DownPageCbx;
        lists(page).setListIndex(index);
    }
    void setAlarmUpper(int row, const std::string& text) override {
        settingWindow<LEDAlarmFrm>().UpperTxt(row).setText(text);
    }
    void setAlarmLower(int row, const std::string& text) override {
        settingWindow<LEDAlarmFrm>().LowerTxt(row).setText(text);
    }
    void setAlarmEnabled(int index) override { settingWindow<LEDAlarmFrm>().EnabledCbx.setListIndex(index); }
    void pagesFilled() override { settingWindow<ScreenFrm>().markFilledByReply(); }
    void alarmLimitsFilled() override { settingWindow<LEDAlarmFrm>().markFilledByReply(); }
};

// Sends a kept record again, but only one a Set of this run filled: the zeros of an unfilled record
// would overwrite the instrument's settings.
template <class Record>
void resendKept(const KeptSetting<Record>& kept, void (*write)(const Record&)) {
    if (!kept.filledBySet) return;
    DisablePollTimers();
    skipOnError([&] { write(kept.record); });
    EnablePollTimers();
}

using ResendTable = std::array<ResendEntry, 256>;

// The writes a re-send request may name; every other code is ignored.
ResendTable buildResendTable() {
    const std::pair<uint8_t, ResendEntry> rows[] = {
        {CmdWriteDoseSettings, [] { resendKept(keptSettings().dose, &WriteDoseSettings); }},
        {CmdWriteScreenSettings, [] { resendKept(keptSettings().screenPages, &WriteScreenSettings); }},
        {CmdWriteLedAlarm, [] { resendKept(keptSettings().alarmLimits, &WriteLedAlarm); }},
        {CmdWriteTimerSettings1, [] { resendTimerFrame(&WriteTimerSettings1); }},
        {CmdWriteTimerSettings2, [] { resendTimerFrame(&WriteTimerSettings2); }},
        {CmdWriteTimerSettings3, [] { resendTimerFrame(&WriteTimerSettings3); }},
    };
    ResendTable table;
    for (const auto& [code, entry] : rows) table[code] = entry;
    return table;
}

ResendTable& resendTable() {
    static ResendTable table = buildResendTable();
    return table;
}

}  // namespace

void DecodeDoseSettings(const ReplyFrame& frame, SettingFillTarget& target) {
    const std::vector<uint8_t>& d = frame.Data;
    int minutes = 0;
    for (int channel = 1; channel <= 3; ++channel) {
        // Channel 1 has no enable byte; channels 2 and 3 start with one.
        const size_t b = channel == 1 ? 0 : channel == 2 ? 9 : 18;
        auto set = [&](DoseList list, int index) {
            skipOnError([&] { target.setDoseList(channel, list, index); });
        };
        set(DoseList::Enabled, channel == 1 ? 1 : d[b - 1]);
        set(DoseList::Standard, d[b]);
        set(DoseList::TimeWeighting, d[b + 1]);
        set(DoseList::Threshold, d[b + 2] - 70);
        set(DoseList::Criterion, d[b + 3] - 70);
        set(DoseList::ExchangeRate, d[b + 4] - 3);
        set(DoseList::Exceedance, (d[b + 5] - 70) / 5);  // truncates toward zero: 66 to 69 give 0
        skipOnError([&] { minutes = readBe16(&d[b + 6]); });
        set(DoseList::Hours, minutes / 60);
        set(DoseList::Minutes, minutes % 60 / 5);
    }
}

void DecodeScreenSettings(const ReplyFrame& frame, SettingFillTarget& target) {
    const std::vector<uint8_t>& d = frame.Data;
    try {
        for (int page = 0; page < 12; ++page) {
            const size_t at = 3 * static_cast<size_t>(page);
            target.setPageList(PageList::Upper, page, DisplayItemIndex(d[at + 1]));
            target.setPageList(PageList::Lower, page, DisplayItemIndex(d[at + 2]));
            target.setPageList(PageList::Channel, page, d[at]);
        }
        target.pagesFilled();
    } catch (const VbError&) {
    }
}

void DecodeLedAlarm(const ReplyFrame& frame, SettingFillTarget& target) {
    const std::vector<uint8_t>& d = frame.Data;
    try {
        for (int row = 0; row < 11; ++row) {
            const size_t at = 1 + 4 * static_cast<size_t>(row);
            target.setAlarmUpper(row, std::to_string(readBe16(&d[at])));
            target.setAlarmLower(row, std::to_string(readBe16(&d[at + 2])));
        }
        target.setAlarmEnabled(d[0]);
    } catch (const VbError&) {
        skipOnError([&] { target.setAlarmEnabled(0); });
        return;
    }
    skipOnError([&] { target.alarmLimitsFilled(); });
}

void DecodeResendRequest(const ReplyFrame& frame) {
    const ResendEntry entry = resendTable()[frame.Data[0]];
    if (entry) entry();
}

ResendEntry setResendEntry(uint8_t writeCode, ResendEntry entry) {
    return std::exchange(resendTable()[writeCode], std::move(entry));
}

void registerSettingArms() {
    setReplyArm(CmdReadDoseSettings, [](const ReplyFrame& f, DecoderHost&) {
        ProgramSettingTarget target;
        DecodeDoseSettings(f, target);
    });
    setReplyArm(CmdReadScreenSettings, [](const ReplyFrame& f, DecoderHost&) {
        ProgramSettingTarget target;
        DecodeScreenSettings(f, target);
    });
    setReplyArm(CmdReadLedAlarm, [](const ReplyFrame& f, DecoderHost&) {
        ProgramSettingTarget target;
        DecodeLedAlarm(f, target);
    });
    setReplyArm(CmdResendRequest, [](const ReplyFrame& f, DecoderHost&) { DecodeResendRequest(f); });
}

}  // namespace sq
