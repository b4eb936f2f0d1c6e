#pragma once
// The lunch-time window: whether the instrument's lunch break is on, and its start and stop time of
// day. The hour and minute lists take typed text, but only a chosen item can be sent.
#include "settings/setting_window.h"
#include "shared/window_names.h"

namespace sq {

class LunchTimeFrm : public SettingWindow {
public:
    static constexpr const char* kName = window_name::kLunchTimeFrm;
    LunchTimeFrm();

    Panel3D& SSPQVX410 = SSPanel1;  // this window's name for the panel
    Label LblEn;
    ComboList CbxEn;
    Frame FrmStart;
    Label LblStartHour, LblStartMinute;
    ComboList CbxStartHour, CbxStartMinute;
    Frame FrmStop;
    Label LblStopHour, LblStopMinute;
    ComboList CbxStopHour, CbxStopMinute;
    CommandButton BtnSet;
    CommandButton BtnExit;

    void BtnSet_Click();

protected:
    void Form_Load() override;
    void nameControls(TextApplier& applier) override;
    WindowTexts windowTexts() const override { return lunchTimeFrmTexts(); }
};

}  // namespace sq
