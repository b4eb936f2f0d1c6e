#pragma once
// The language window: one option button per language of the language list. Set stores the choice
// in the list, loads that language and renews the main window's tool tips and tree texts; the
// other windows take the new texts when they are next opened. Opening it closes every other child
// window, the graph windows included, and hides the memory pane.
#include "platform/ui/controls.h"
#include "settings/setting_window.h"
#include "shared/window_names.h"

namespace sq {

class LanguageFrm : public SettingWindow {
public:
    static constexpr const char* kName = window_name::kLanguageFrm;
    LanguageFrm();

    // Element 0 is designed ("English"); the load adds one element per further language.
    OptionGroup Language;
    CommandButton SetBtn;
    CommandButton ExitBtn;

    void SetBtn_Click();
    void ExitBtn_Click();

protected:
    void Form_Load() override;
    void nameControls(TextApplier& applier) override;
    WindowTexts windowTexts() const override { return languageFrmTexts(); }

private:
    void closeOtherWindows();
    void buildLanguageButtons();
};

}  // namespace sq
