#pragma once
// The decodings of the structured setting replies that fill the dose (0x04), display-page (0x05)
// and LED-alarm (0x07) windows, and of the re-send request (0x55). The fills reach the windows
// through SettingFillTarget, so they are tested without widgets; the program's target refers to
// each window for every statement, which loads a closed window hidden.
#include <cstdint>
#include <functional>
#include <string>

#include "decoder/reply_decoder.h"
#include "platform/ui/window.h"
#include "platform/vb_error.h"
#include "shared/reply_frame.h"

namespace sq {

// The window as the registry gives it: loaded (hidden) when it was closed. A stand-in registered
// under the window's name is not the window, and a statement that refers to it fails.
template <class W>
W& settingWindow() {
    auto* w = dynamic_cast<W*>(&windows().window(W::kName));
    if (!w) raise(kObjectNotSet);
    return *w;
}

// The nine lists of a dose channel, in the order the reply fills them.
enum class DoseList {
    Enabled,
    Standard,
    TimeWeighting,
    Threshold,
    Criterion,
    ExchangeRate,
    Exceedance,
    Hours,
    Minutes
};
// The three lists of a display page: SonoquantCbx, UpPageCbx, DownPageCbx.
enum class PageList { Channel, Upper, Lower };

// What the fills set, statement by statement. Every setter may raise VbError (380: an index the list
// does not hold); each decoding handles it as its reply's failure rule says.
class SettingFillTarget {
public:
    virtual ~SettingFillTarget() = default;
    // The list's ListIndex, which runs the window's change rule. Channel 1 to 3; page 0 to 11.
    virtual void setDoseList(int channel, DoseList list, int index) = 0;
    virtual void setPageList(PageList list, int page, int index) = 0;
    // LEDAlarmFrm: UpperTxt(row), LowerTxt(row) and EnabledCbx.
    virtual void setAlarmUpper(int row, const std::string& text) = 0;
    virtual void setAlarmLower(int row, const std::string& text) = 0;
    virtual void setAlarmEnabled(int index) = 0;
    // The reply has been decoded into the window in full.
    virtual void pagesFilled() = 0;
    virtual void alarmLimitsFilled() = 0;
};

// 0x04: each failing statement is skipped. A PW duration that does not fit leaves its channel's hour
// and minute lists at the duration decoded last in the same reply (0 before any).
void DecodeDoseSettings(const ReplyFrame& frame, SettingFillTarget& target);
// 0x05: the first failing statement ends the fill, and the window does not count as filled.
void DecodeScreenSettings(const ReplyFrame& frame, SettingFillTarget& target);
// 0x07: the first failing statement selects "OFF" and ends the fill, and the window does not count as
// filled.
void DecodeLedAlarm(const ReplyFrame& frame, SettingFillTarget& target);

// 0x55: the instrument asks for the write named in D[0] again. A write whose kept record a Set of
// this run filled goes out again, polling paused around it; anything else is ignored.
void DecodeResendRequest(const ReplyFrame& frame);
// What a re-send of one write code does; empty: the code is ignored. Returns the entry it replaced.
using ResendEntry = std::function<void()>;
ResendEntry setResendEntry(uint8_t writeCode, ResendEntry entry);

// Plugs the four arms into the reply dispatcher, filling the program's windows.
void registerSettingArms();

}  // namespace sq
