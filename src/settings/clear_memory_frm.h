#pragma once
// The clear-memory window: erases the instrument's records after a question. Sending the request
// puts the program into the erasing state.
#include "settings/setting_window.h"
#include "shared/window_names.h"

namespace sq {

class ClearMemoryFrm : public SettingWindow {
public:
    static constexpr const char* kName = window_name::kClearMemoryFrm;
    ClearMemoryFrm();

    CommandButton ClearBtn;
    CommandButton ExitBtn;

    void ClearBtn_Click();

protected:
    void Form_Load() override;
    void nameControls(TextApplier& applier) override;
    WindowTexts windowTexts() const override { return clearMemoryFrmTexts(); }
};

}  // namespace sq
