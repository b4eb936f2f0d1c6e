#pragma once
// The help window: one option button that opens the manual (help/Manual.pdf in the program folder)
// in the desktop's viewer. The button clears itself after each click so that the next click opens
// the manual again; the window stays open.
#include "platform/ui/controls.h"
#include "settings/setting_window.h"
#include "shared/window_names.h"

namespace sq {

class HelpFrm : public SettingWindow {
public:
    static constexpr const char* kName = window_name::kHelpFrm;
    HelpFrm();

    CommandButton ExitBtn;

    // The manual buttons by their element number; the window has element 1 only.
    OptionButton& MunOpt(int index);
    void MunOpt_Click(int index);
    void ExitBtn_Click();

protected:
    void Form_Load() override;
    void nameControls(TextApplier& applier) override;
    WindowTexts windowTexts() const override { return helpFrmTexts(); }

private:
    OptionGroup m_manuals;  // group index 0 is element 1
};

// Where the manual is looked for.
[[nodiscard]] std::string manualPath();

}  // namespace sq
