#pragma once
// The frame every setting window shares: an MDI child that opens maximised, an inner panel that
// holds the controls and stays centred (on a page that scrolls when the main window's work area is
// smaller than the window's minimum), an open flag, a minimum size, the Exit button, the input
// filters and the Set button's step runner.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/twips.h"
#include "platform/ui/window.h"
#include "settings/text_applier.h"

namespace sq {

// Setting windows: their own minimum, panel at ((W - w - 100) / 2, (H - h - topAllowance) / 2);
// the allowance is 500 but for the language window (400).
CentredPanel layoutSettingWindow(TwipSize outer, TwipSize minimum, TwipSize panel, int topAllowance = 500);

class SettingWindow : public Window {
public:
    SettingWindow(const std::string& name, int16_t* openFlag, TwipSize minimum, TwipSize panelSize);

    Panel3D SSPanel1;

    [[nodiscard]] TwipSize minimumSize() const { return m_minimum; }
    // What the resize rule gives for an outer size: the enlarged size and the panel's place.
    [[nodiscard]] CentredPanel layoutFor(TwipSize outer) const;

protected:
    // The load steps every window shares: maximise, then the window's texts.
    void loadFrame();
    void Form_Resize() override;
    // Fills the applier with the window's controls; the texts procedure runs through it.
    virtual void nameControls(TextApplier& applier) = 0;
    virtual WindowTexts windowTexts() const = 0;
    void applyTexts();

    bool m_panelTopFirst = false;   // TimerFrm places the top before the left
    int m_panelTopAllowance = 500;  // the language window centres with 400

private:
    TwipSize m_minimum;
};

// A setting window whose placeholders only a reply of the instrument replaces (display pages, LED
// alarm, welcome text). Until a reply has been decoded into it in full, Set refuses to write the
// placeholders over the instrument's settings.
class ReplyFilledWindow : public SettingWindow {
public:
    using SettingWindow::SettingWindow;

    [[nodiscard]] bool filledByReply() const { return m_filledByReply; }
    void markFilledByReply() { m_filledByReply = true; }

protected:
    // The Set button's refusal before any reply: shows TxtSetError and returns true.
    bool refuseUntilFilledByReply() const;

private:
    bool m_filledByReply = false;
};

// Makes a number box: typing keeps digits, Backspace and Enter only, and getting the focus selects
// the whole text so that typing replaces it.
void makeNumberBox(TextBox& box);

// Appends the numbers `first`, `first + step`, ... up to `last`; `twoDigits` pads them to two.
void fillNumbers(ComboList& list, int first, int last, int step, bool twoDigits);

// A list that a text procedure fills: emptied, then filled item by item; no item chosen.
void refillList(ComboList& list, const std::vector<std::string>& items);

// The refusal of the dose, display-page, LED-alarm, timer and single-value Set buttons: shows
// "Memory Erasing ..." and returns true while the memory is being erased.
bool refuseWhileErasing();

// What a Set button does on a run-time error after pausing polling.
enum class SetErrorPolicy {
    PassOver,       // each statement attempted in turn; polling resumed
    FixedSetError,  // "Set Error !!!" (fixed text), critical, then resume
    TextSetError,   // TxtSetError, critical, then resume
    ResumeQuietly,  // resume without a message
};

// Runs the steps between pausing and resuming polling (fill and write) under the policy; polling is
// paused first and resumed on every way out.
void runSetSteps(SetErrorPolicy policy, const std::vector<std::function<void()>>& steps);

}  // namespace sq
