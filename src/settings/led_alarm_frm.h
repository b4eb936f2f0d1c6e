#pragma once
// The LED alarm window: the alarm's switch and a lower and an upper limit in whole decibels for each
// of eleven measured quantities.
#include <string>

#include "settings/control_array.h"
#include "settings/setting_window.h"
#include "shared/window_names.h"

namespace sq {

class LEDAlarmFrm : public ReplyFilledWindow {
public:
    static constexpr const char* kName = window_name::kLEDAlarmFrm;
    static constexpr int kRows = 11;
    LEDAlarmFrm();

    Label EnabledLbl;
    ComboList EnabledCbx;
    Label LowerLimitLbl;
    Label UpperLimitLbl;
    Label LasLbl, LaeqLb, LcpkLb, LzpkLb, LavgLbl, TwaLbl, PtwaLbl, LepdLbl, PLepdLbl, Lex8hLbl, Plex8hLbl;
    ControlArray<TextBox> LowerTxt;
    ControlArray<TextBox> UpperTxt;
    CommandButton LEDAlarmBtn;
    CommandButton ExitBtn;

    // The quantity of row `index` (0 to 10) as the loaded language names it; "" for any other index.
    [[nodiscard]] std::string alarmname(int index) const;
    void LEDAlarmBtn_Click();

protected:
    void Form_Load() override;
    void nameControls(TextApplier& applier) override;
    WindowTexts windowTexts() const override { return ledAlarmFrmTexts(); }

private:
    [[nodiscard]] bool limitsInRange() const;
};

}  // namespace sq
