#pragma once
// The single-value setting window: one window for seven settings, its mode chosen by the mode flag
// its opener set before loading it.
#include <string>
#include <vector>

#include "settings/setting_window.h"
#include "shared/window_names.h"

namespace sq {

enum class OneSetMode { None, AutoLock, AutoScroll, LcdApo, LcdContrast, Pause, Calibration, IntervalTime };

// The first set mode flag in the window's order.
OneSetMode currentOneSetMode();
// The mode's list items, index 0 first.
std::vector<std::string> oneSetItems(OneSetMode mode);
// The mode's caption.
std::string oneSetCaption(OneSetMode mode);

class OneSetForm : public SettingWindow {
public:
    static constexpr const char* kName = window_name::kOneSetForm;
    OneSetForm();

    ComboList SetCbx;
    CommandButton SetBtn;
    Label CurMeterLbl;
    TextBox CurMeterTxt;

    [[nodiscard]] OneSetMode mode() const { return m_mode; }
    void SetBtn_Click();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void nameControls(TextApplier& applier) override;
    WindowTexts windowTexts() const override { return oneSetFormTexts(); }

private:
    OneSetMode m_mode = OneSetMode::None;
};

}  // namespace sq
