#pragma once
// The welcome-text window: the three lines of up to 12 characters that the instrument shows when it
// starts. The text goes over the wire one Latin-1 byte per character, so a line read and written
// back comes back byte for byte.
#include <string>

#include "settings/control_array.h"
#include "settings/setting_window.h"
#include "shared/window_names.h"

namespace sq {

// `line` with blanks appended up to 12 characters (counted as characters, not bytes); a line of 12
// or more is returned unchanged.
std::string padWelcomeLine(const std::string& line);

class WelcomSetFrm : public ReplyFilledWindow {
public:
    static constexpr const char* kName = window_name::kWelcomSetFrm;
    static constexpr int kLines = 3;
    static constexpr int kLineLength = 12;
    WelcomSetFrm();

    ControlArray<TextBox> WelLineTxt;
    CommandButton SetBtn;
    CommandButton ExitBtn;

    void SetBtn_Click();

protected:
    void Form_Load() override;
    void nameControls(TextApplier& applier) override;
    WindowTexts windowTexts() const override { return welcomSetFrmTexts(); }
};

}  // namespace sq
