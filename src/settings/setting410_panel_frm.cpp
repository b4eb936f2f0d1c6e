#include "settings/setting410_panel_frm.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "platform/ui/twips.h"
#include "platform/ui/window_placement.h"
#include "platform/vb_error.h"
#include "settings/setting_read.h"
#include "settings/setting_window.h"
#include "settings/text_applier.h"
#include "settings/window_rules.h"
#include "texts/window_texts.h"

namespace sq {

namespace {

using P = Setting410PanelFrm;

const std::array<SettingPanelButton, 13> kButtons = {{
    {"LcdContrastBtn", &P::LcdContrastBtn, 1, 1, "Child1", "CPFM"},
    {"LcdAPOBtn", &P::LcdAPOBtn, 2, 1, "Child2", "CPMF"},
    {"SonoquantBtn", &P::SonoquantBtn, 3, 1, "Child5", "CP"},
    {"ScreenBtn", &P::ScreenBtn, 5, 1, "Child9", "PC"},
    {"PauseBtn", &P::PauseBtn, 1, 2, "Child3", "PCM"},
    {"LEDAlarmBtn", &P::LEDAlarmBtn, 2, 2, "Child4", "PC"},
    {"AutoLockKeypadBtn", &P::AutoLockKeypadBtn, 3, 2, "Child6", "PCM"},
    {"AutoScrollBtn", &P::AutoScrollBtn, 4, 2, "Child7", "PCM"},
    {"TimersBtn", &P::TimersBtn, 4, 1, "Child8", "PC"},
    {"WelcomInputBtn", &P::WelcomInputBtn, 5, 2, "Child10", "PC"},
    {"BtnCalibration", &P::BtnCalibration, 6, 1, "Child11", "PCM"},
    {"BtnLunchTime", &P::BtnLunchTime, 6, 2, "Child12", "CP"},
    {"BtnIntervalTime", &P::BtnIntervalTime, 7, 1, "Child13", "CPM"},
}};

constexpr int kButtonWidth = 2055;
constexpr int kButtonHeight = 855;

// Moves `start` (of length `size`) by the least amount into [low, low + span); a span too small
// keeps it at `low`.
int keepInside(int start, int size, int low, int span) {
    return std::max(low, std::min(start, low + span - size));
}

WindowBounds toWindowBounds(const QRect& r) {
    return {static_cast<int>(toTwips(r.x())), static_cast<int>(toTwips(r.y())),
            static_cast<int>(toTwips(r.width())), static_cast<int>(toTwips(r.height()))};
}

}  // namespace

WindowPlace settingPanelPlace(WindowBounds mainWindow, TwipSize panel, WindowBounds available) {
    const int besideLeft = mainWindow.left + mainWindow.width;
    if (besideLeft >= available.left && besideLeft + panel.width <= available.left + available.width)
        return {besideLeft, keepInside(mainWindow.top, panel.height, available.top, available.height)};
    const int bottom = std::min(mainWindow.top + mainWindow.height, available.top + available.height);
    return {keepInside(mainWindow.left, panel.width, available.left, available.width),
            keepInside(bottom - panel.height, panel.height, available.top, available.height)};
}

const std::array<SettingPanelButton, 13>& settingPanelButtons() {
    return kButtons;
}

void runSettingPanelButton(const SettingPanelButton& button) {
    const TreeNodeEntry* setting = deviceTreeNode(button.treeNodeKey);
    if (!setting) return;
    if (refuseWhileErasing()) return;
    runSettingRead(*setting, button.preparation, 0.6);
}

Setting410PanelFrm::Setting410PanelFrm()
    : Window(kName, WindowKind::TopLevel, &flags().Setting410PanelFrmOpen),
      LcdContrastBtn(surface(), "Lcd contrast"),
      LcdAPOBtn(surface(), "Lcd APO"),
      SonoquantBtn(surface(), "Sonoquant"),
      TimersBtn(surface(), "Time"),
      ScreenBtn(surface(), "Screen"),
      PauseBtn(surface(), "Pause"),
      LEDAlarmBtn(surface(), "LED Alarm"),
      AutoLockKeypadBtn(surface(), "Auto Lock Keypad"),
      AutoScrollBtn(surface(), "Auto Scroll Screens"),
      WelcomInputBtn(surface(), "InputText"),
      BtnCalibration(surface(), "Calibration"),
      BtnLunchTime(surface(), "LunchTime"),
      BtnIntervalTime(surface(), "Interval Time") {
    setCaption("Setting Panel");
    // A tool window of the main window: it stays above it and goes with it.
    if (Window* main = windows().find(window_name::kPanel))
        surface()->setParent(main->surface()->window(), Qt::Tool);
    // The panel keeps its size: a window manager then gives it no resize handle, so it needs less room.
    surface()->setFixedSize(toPixels(kClientSize.width), toPixels(kClientSize.height));
    for (const SettingPanelButton& b : kButtons) {
        CommandButton& button = this->*b.button;
        button.Move(b.column == 1 ? 120 : 2280, 120 + 840 * (b.row - 1), kButtonWidth, kButtonHeight);
        button.onClick = [&b] { runSettingPanelButton(b); };
    }
}

void Setting410PanelFrm::Form_Load() {
    skipOnError([&] { placeBesideMainWindow(); });
    skipOnError([&] { applyTexts(); });
}

// The panel takes the keyboard focus, so that Tab runs through its buttons at once.
void Setting410PanelFrm::shown(ShowMode) {
    surface()->activateWindow();
    LcdContrastBtn.widget()->setFocus(Qt::ActiveWindowFocusReason);
}

// Placed when it loads by an estimate of its frame; placed again by the frame the window manager gave it.
void Setting410PanelFrm::framed() {
    skipOnError([&] { placeBesideMainWindow(); });
}

void Setting410PanelFrm::Form_Unload() {
    flags().Setting410PanelFrmOpen = kFalse;
    checkpanelflage();
    Window::Form_Unload();
}

void Setting410PanelFrm::checkpanelflage() {
    unloadByFlags(checkPanelFlageOrder());
}

void Setting410PanelFrm::placeBesideMainWindow() {
    Window* main = windows().find(window_name::kPanel);
    if (!main) return;
    QWidget* mainFrame = main->surface()->window();
    QWidget* self = surface();
    // Before it is first shown the panel's frame is unknown; the main window's is a close estimate.
    QRect frame = outerFrameOf(*self);
    if (!self->isVisible()) frame = QRect(QPoint(0, 0), self->size()).marginsAdded(bordersOf(*mainFrame));
    const WindowBounds mainBounds{static_cast<int>(main->Left()), static_cast<int>(main->Top()),
                                  static_cast<int>(main->Width()), static_cast<int>(main->Height())};
    const TwipSize panel{static_cast<int>(toTwips(frame.width())), static_cast<int>(toTwips(frame.height()))};
    QScreen* screen = mainFrame->screen();
    if (!screen) return;
    const WindowPlace place =
        settingPanelPlace(mainBounds, panel, toWindowBounds(screen->availableGeometry()));
    self->move(toPixels(place.left), toPixels(place.top));
}

void Setting410PanelFrm::applyTexts() {
    TextApplier applier;
    applier.caption(kName, [this](const std::string& t) { setCaption(t); });
    for (const SettingPanelButton& b : kButtons) {
        CommandButton* button = &(this->*b.button);
        applier.caption(b.name, [button](const std::string& t) { button->setCaption(t); });
    }
    applier.apply(setting410PanelFrmTexts());
}

}  // namespace sq
