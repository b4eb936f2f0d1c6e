#pragma once
// The settings panel: a tool window beside the main window with one button per group of instrument
// settings. A button closes the open setting window, opens its group's window and reads the
// instrument's values into it.
#include <array>

#include "platform/ui/controls.h"
#include "platform/ui/twips.h"
#include "platform/ui/window.h"
#include "shared/window_names.h"

namespace sq {

// A window's top-left corner and its outer bounds on the desktop, in twips.
struct WindowPlace {
    int left = 0;
    int top = 0;
    bool operator==(const WindowPlace&) const = default;
};

struct WindowBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Where the panel goes when it loads, inside `available` (the usable area of the main window's
// screen), covering no title-bar button of the main window or of a setting window and no Set or
// Exit button. Where the area has room for it right of the main window: its left edge at the main
// window's right edge and its top at the main window's top, moved up or down only as far as the
// area needs. Elsewhere (a maximised main window): over the main window's device tree, in its
// lower left corner, which lies below the title bars and left of the setting windows' centred
// panels. A panel larger than the area keeps to the area's left and top edges.
WindowPlace settingPanelPlace(WindowBounds mainWindow, TwipSize panel, WindowBounds available);

class Setting410PanelFrm;

// One button of the panel: where it stands, the device-tree node of the same setting (its window,
// mode flag, flush and read request) and the button's own order of preparation (see
// runSettingRead). The lunch-time button sets no flag.
struct SettingPanelButton {
    const char* name;
    CommandButton Setting410PanelFrm::*button;
    int row;     // 1 to 7
    int column;  // 1 left, 2 right
    const char* treeNodeKey;
    const char* preparation;
};
const std::array<SettingPanelButton, 13>& settingPanelButtons();

class Setting410PanelFrm : public Window {
public:
    static constexpr const char* kName = window_name::kSetting410PanelFrm;
    static constexpr TwipSize kClientSize{4485, 6120};
    Setting410PanelFrm();

    // Declared in tab order: the left column, the right column, then the last three.
    CommandButton LcdContrastBtn;
    CommandButton LcdAPOBtn;
    CommandButton SonoquantBtn;
    CommandButton TimersBtn;
    CommandButton ScreenBtn;
    CommandButton PauseBtn;
    CommandButton LEDAlarmBtn;
    CommandButton AutoLockKeypadBtn;
    CommandButton AutoScrollBtn;
    CommandButton WelcomInputBtn;
    CommandButton BtnCalibration;
    CommandButton BtnLunchTime;
    CommandButton BtnIntervalTime;

    // Closes every open setting window and the help, language, file-list and clear-memory windows.
    void checkpanelflage();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void shown(ShowMode mode) override;
    void framed() override;

private:
    void placeBesideMainWindow();
    void applyTexts();
};

// A panel button's click: the refusal while the memory is being erased, else the read sequence with
// a final wait of 0.6 s.
void runSettingPanelButton(const SettingPanelButton& button);

}  // namespace sq
