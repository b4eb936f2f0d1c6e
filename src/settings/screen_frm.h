#pragma once
// The display-pages window: for each of the instrument's twelve configurable pages ("Page3" to
// "Page14") the dose channel it shows and the quantities of its upper and lower line. Pairing rules
// keep a page from showing "OFF" twice and give a maximum or minimum level a line of its own.
#include "settings/control_array.h"
#include "settings/setting_window.h"
#include "shared/window_names.h"

namespace sq {

class ScreenFrm : public ReplyFilledWindow {
public:
    static constexpr const char* kName = window_name::kScreenFrm;
    static constexpr int kPages = 12;
    ScreenFrm();

    Label MeterLbl;
    Label UpPageLbl;
    Label DownPageLbl;
    ControlArray<Label> PageLbl;
    ControlArray<ComboList> SonoquantCbx;
    ControlArray<ComboList> UpPageCbx;
    ControlArray<ComboList> DownPageCbx;
    CommandButton ScreenSetBtn;
    CommandButton ExitBtn;

    // The pairing rules of page `index`, after its upper or its lower line changed.
    void UpPageCbx_Click(int index);
    void DownPageCbx_Click(int index);
    void ScreenSetBtn_Click();

protected:
    void Form_Load() override;
    void nameControls(TextApplier& applier) override;
    WindowTexts windowTexts() const override { return screenFrmTexts(); }

private:
    void pairingRules(int index, bool upperChanged);
};

}  // namespace sq
