#include "settings/welcome_lunch_arms.h"

#include <string>

#include "link/requests.h"
#include "platform/encoding.h"
#include "platform/vb_error.h"
#include "settings/lunch_time_frm.h"
#include "settings/setting_arms.h"
#include "settings/welcom_set_frm.h"
#include "shared/state.h"

namespace sq {

void DecodeWelcomeText(const ReplyFrame& frame, WelcomSetFrm& w) {
    const auto* bytes = reinterpret_cast<const char*>(frame.Data.data());
    for (int k = 0; k < WelcomSetFrm::kLines; ++k) w.WelLineTxt(k).setText({});
    for (int k = 0; k < WelcomSetFrm::kLines; ++k) {
        const std::string_view line(bytes + WelcomSetFrm::kLineLength * k, WelcomSetFrm::kLineLength);
        w.WelLineTxt(k).setText(latin1ToUtf8(line));
    }
    w.markFilledByReply();
}

LunchTime DecodeLunchTime(const ReplyFrame& frame) {
    const std::vector<uint8_t>& d = frame.Data;
    LunchTime lunch{d[0], d[1], d[2], d[3], d[4], d[5], d[6]};
    auto zeroAbove = [](uint8_t& value, uint8_t largest) {
        if (value > largest) value = 0;
    };
    zeroAbove(lunch.En, 1);
    zeroAbove(lunch.StartHour, 23);
    zeroAbove(lunch.StartMinute, 59);
    zeroAbove(lunch.StopHour, 23);
    zeroAbove(lunch.StopMinute, 59);
    return lunch;
}

void showLunchTime(const LunchTime& lunch, LunchTimeFrm& w) {
    w.CbxEn.setListIndex(lunch.En);
    w.CbxStartHour.setListIndex(lunch.StartHour);
    w.CbxStartMinute.setListIndex(lunch.StartMinute);
    w.CbxStopHour.setListIndex(lunch.StopHour);
    w.CbxStopMinute.setListIndex(lunch.StopMinute);
}

void registerWelcomeLunchArms() {
    setReplyArm(CmdReadWelcomeText, [](const ReplyFrame& f, DecoderHost&) {
        if (flags().WelcomSetFrmOpen != kTrue) return;
        skipOnError([&] { DecodeWelcomeText(f, settingWindow<WelcomSetFrm>()); });
    });
    setReplyArm(CmdReadLunchTime, [](const ReplyFrame& f, DecoderHost&) {
        if (flags().LunchTimeFrmOpen != kTrue) return;
        LunchTime& lunch = keptSettings().lunchTime.record;
        lunch = DecodeLunchTime(f);
        skipOnError([&] { showLunchTime(lunch, settingWindow<LunchTimeFrm>()); });
    });
}

}  // namespace sq
