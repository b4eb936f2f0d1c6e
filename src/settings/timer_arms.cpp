#include "settings/timer_arms.h"

#include <string>

#include "link/requests.h"
#include "platform/dialogs.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"
#include "settings/setting_arms.h"
#include "settings/timer_frm.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace sq {

namespace {

std::string shownOrZero(uint8_t value, uint8_t largest) {
    return value > largest ? "0" : std::to_string(value);
}

void showHoursAndMinutes(int32_t minutes, TextBox& hours, TextBox& rest) {
    hours.setText(std::to_string(minutes / 60));
    rest.setText(std::to_string(minutes % 60));
}

void endUpload() {
    flags().TimerSetPending = kFalse;
    shared().SendSuspended = kFalse;
    shared().TimerFrameSent = 0;  // no answer is awaited any more
}

}  // namespace

void DecodeTimerSettings(const ReplyFrame& frame, TimerFrm& w) {
    const std::vector<uint8_t>& d = frame.Data;
    try {
        w.TimerManuallyCbx.setListIndex(d[0]);
        w.DelayYearTxt.setText(std::to_string(readBe16(&d[1])));
        TextBox* dateBoxes[] = {&w.DelayMonthTxt, &w.DelayDayTxt, &w.DelayHourTxt, &w.DelayMinuteTxt};
        for (size_t i = 0; i < 4; ++i) dateBoxes[i]->setText(std::to_string(d[3 + i]));
        const int32_t delay = readBe32(&d[7]);
        w.DelayDurHourCbx.setListIndex(delay / 60);
        w.DelayDurMinCbx.setListIndex(delay % 60);
        w.RepeatStartHourTxt.setText(shownOrZero(d[11], 23));
        w.RepeatStartMinuteTxt.setText(shownOrZero(d[12], 59));
        showHoursAndMinutes(readBe32(&d[13]), w.RepeatStopHourTxt, w.RepeatStopMinuteTxt);
        // A count of 0 leaves both lists without a choice.
        w.RepeatCntCbx.setListIndex(d[17] - 1);
        w.PCRepeatCbx.setListIndex(d[17] - 1);
        for (int j = 0; j < TimerFrm::kPcRows; ++j) {
            const size_t at = 18 + 7 * static_cast<size_t>(j);
            w.PcStartHour(j).setText(shownOrZero(d[at], 23));
            w.PcStartMinute(j).setText(shownOrZero(d[at + 1], 59));
            showHoursAndMinutes(readBe32(&d[at + 2]), w.PcStopHour(j), w.PcStopMinute(j));
            w.PcEnCkx(j).setValue(d[at + 6]);
            // A box already ticked runs no change rule, so its row is enabled here by the same rule.
            // An unticked row is left to the box's own rule.
            if (w.PcEnCkx(j).Value() == 1) w.PcEnCkx_Click(j);
        }
    } catch (const VbError&) {
    }
}

void DecodeTimerUploadStep(const ReplyFrame& frame) {
    const uint8_t code = frame.Command;
    // Only the answer to the frame the upload waits for moves it on. Any other (a stray one after
    // a failure or the time-out, a repeated one, one for a frame not yet sent) must neither skip a
    // frame of the table nor send or report one twice.
    if (flags().TimerSetPending != kTrue || code != shared().TimerFrameSent) return;
    if (code == CmdWriteTimerSettings1) DisablePollTimers();
    const TimerSettings& timer = keptSettings().timer.record;
    if (frame.Data[0] != code) {
        msgBox(texts().TxtSetFail, MsgButtons::OK, MsgIcon::Critical);
        endUpload();
    } else if (code == CmdWriteTimerSettings1) {
        skipOnError([&] { WriteTimerSettings2(timer); });
    } else if (code == CmdWriteTimerSettings2) {
        skipOnError([&] { WriteTimerSettings3(timer); });
    } else {
        msgBox(texts().TxtSetOK);
        endUpload();
    }
    EnablePollTimers();
}

// Sends one frame of the kept table again, but only a table a Set of this run filled. The upload is
// pending again from here, its time-out counted afresh, so the chain goes on from this frame.
void resendTimerFrame(void (*write)(const TimerSettings&)) {
    const KeptSetting<TimerSettings>& kept = keptSettings().timer;
    if (!kept.filledBySet) return;
    DisablePollTimers();
    shared().ReplyWaitTicks = 0;
    flags().TimerSetPending = kTrue;
    skipOnError([&] { write(kept.record); });
    EnablePollTimers();
}

void registerTimerArms() {
    setReplyArm(CmdReadTimerSettings, [](const ReplyFrame& f, DecoderHost&) {
        if (flags().TimerFrmOpen != kTrue) return;
        skipOnError([&] { DecodeTimerSettings(f, settingWindow<TimerFrm>()); });
    });
    for (uint8_t code : {CmdWriteTimerSettings1, CmdWriteTimerSettings2, CmdWriteTimerSettings3})
        setReplyArm(code, [](const ReplyFrame& f, DecoderHost&) { DecodeTimerUploadStep(f); });
}

}  // namespace sq
