#pragma once
// The measurement-timer window: the instrument's timer in one of four modes (manual, delayed start,
// repeat, a PC table of 16 rows). Its Set checks every field, keeps the whole table and starts the
// three-frame upload; the reply decoder sends the second and third frames as the instrument
// acknowledges each one before.
#include <string>

#include "settings/control_array.h"
#include "settings/setting_window.h"
#include "shared/setting_records.h"
#include "shared/window_names.h"

namespace sq {

class TimerFrm : public SettingWindow {
public:
    static constexpr const char* kName = window_name::kTimerFrm;
    static constexpr int kPcRows = 16;
    // Mode list positions, which are the timer's mode bytes.
    static constexpr int kManually = 0;
    static constexpr int kDelay = 1;
    static constexpr int kRepeat = 2;
    static constexpr int kPc = 3;
    TimerFrm();

    Label ModeLbl;
    ComboList TimerManuallyCbx;
    CommandButton TimerBtn;
    CommandButton ExitBtn;

    // Delay panel (mode "Delay").
    Panel3D ManuallyPic;
    Label DelayYearLbl, DelayMonthLbl, DelayDayLbl, DelayHourLbl, DelayMinuteLbl;
    TextBox DelayYearTxt, DelayMonthTxt, DelayDayTxt, DelayHourTxt, DelayMinuteTxt;
    Label DelayDurLbl, DelayDurHourLbl, DelayDurMinuteLbl;
    ComboList DelayDurHourCbx, DelayDurMinCbx;

    // Repeat panel (mode "Repeat").
    Panel3D RepeatPic;
    Label RepeatCntLbl;
    ComboList RepeatCntCbx;
    Frame RepeatStartTimeSSF;
    Label RepeatStartHourLbl, RepeatStartMinuteLbl;
    TextBox RepeatStartHourTxt, RepeatStartMinuteTxt;
    Frame RepeatStopTimeSSF;
    Label RepeatStopHourLbl, RepeatStopMinuteLbl;
    TextBox RepeatStopHourTxt, RepeatStopMinuteTxt;

    // PC panel (mode "PC"): 16 rows of start time, duration and enable box.
    Panel3D PcPic;
    Label PCRepeatLbl;
    ComboList PCRepeatCbx;
    Frame StartSSF;
    Label PcStartHourLbl, PcStartMinuteLbl;
    ControlArray<TextBox> PcStartHour, PcStartMinute;
    Frame StopSSF;
    Label PcStopHourLbl, PcStopMinuteLbl;
    ControlArray<TextBox> PcStopHour, PcStopMinute;
    Frame EnabledSSF;
    ControlArray<CheckBox> PcEnCkx;

    // Shows the panel of the chosen mode; "Manually" shows none.
    void TimerManuallyCbx_Click();
    // A ticked row's four boxes are enabled, any other row's disabled.
    void PcEnCkx_Click(int index);
    void TimerBtn_Click();

protected:
    void Form_Load() override;
    void nameControls(TextApplier& applier) override;
    WindowTexts windowTexts() const override { return timerFrmTexts(); }

private:
    void placeDelayPanel();
    void placeRepeatPanel();
    void placePcPanel();
    // Shows the message of the first box out of its range; false when one is.
    [[nodiscard]] bool fieldsInRange() const;
    // The table as the controls show it; only called once every field has passed its check.
    [[nodiscard]] TimerSettings timerShown() const;
};

}  // namespace sq
