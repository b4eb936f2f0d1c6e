#include "settings/setting_window.h"

#include <QScrollArea>
#include <algorithm>

#include "platform/dialogs.h"
#include "platform/numbers.h"
#include "platform/ui/form_widget.h"
#include "platform/ui/twips.h"
#include "platform/vb_error.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace sq {

namespace {

// The page the inner panel lies on: it fills the window and scrolls when the window, maximised in a
// main window whose work area is smaller than the window's minimum, cannot show all of the panel.
QWidget* scrollingPage(QWidget* surface) {
    auto* scroll = new QScrollArea(surface);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidgetResizable(true);
    auto* page = new QWidget;
    scroll->setWidget(page);
    static_cast<FormWidget*>(surface)->setFillWidget(scroll);
    return page;
}

}  // namespace

CentredPanel layoutSettingWindow(TwipSize outer, TwipSize minimum, TwipSize panel, int topAllowance) {
    CentredPanel out;
    out.outer = {std::max(outer.width, minimum.width), std::max(outer.height, minimum.height)};
    out.panelLeft = static_cast<float>(out.outer.width - panel.width - 100) / 2.0f;
    out.panelTop = static_cast<float>(out.outer.height - panel.height - topAllowance) / 2.0f;
    return out;
}

SettingWindow::SettingWindow(const std::string& name, int16_t* openFlag, TwipSize minimum, TwipSize panelSize)
    : Window(name, WindowKind::MdiChild, openFlag), SSPanel1(scrollingPage(surface())), m_minimum(minimum) {
    SSPanel1.Move(0, 0, panelSize.width, panelSize.height);
}

CentredPanel SettingWindow::layoutFor(TwipSize outer) const {
    return layoutSettingWindow(outer, m_minimum,
                               {static_cast<int>(SSPanel1.Width()), static_cast<int>(SSPanel1.Height())},
                               m_panelTopAllowance);
}

void SettingWindow::loadFrame() {
    try {
        setWindowState(WindowState::Maximized);
    } catch (const VbError&) {
    }
    applyTexts();
}

void SettingWindow::applyTexts() {
    TextApplier applier;
    applier.caption(name(), [this](const std::string& t) { setCaption(t); });
    nameControls(applier);
    applier.apply(windowTexts());
}

void SettingWindow::Form_Resize() {
    if (windowState() == WindowState::Minimized) return;
    const TwipSize outer{static_cast<int>(Width()), static_cast<int>(Height())};
    const CentredPanel p = layoutFor(outer);
    // A maximised window keeps the size the main window gives it; only a restored one snaps back.
    if (windowState() == WindowState::Normal) {
        if (outer.width < m_minimum.width) setWidth(p.outer.width);
        if (outer.height < m_minimum.height) setHeight(p.outer.height);
    }
    // The page is never smaller than the panel where the window's minimum places it.
    const CentredPanel atMinimum = layoutFor(m_minimum);
    SSPanel1.widget()->parentWidget()->setMinimumSize(toPixels(atMinimum.panelLeft + SSPanel1.Width()),
                                                      toPixels(atMinimum.panelTop + SSPanel1.Height()));
    if (m_panelTopFirst) {
        SSPanel1.setTop(p.panelTop);
        SSPanel1.setLeft(p.panelLeft);
    } else {
        SSPanel1.setLeft(p.panelLeft);
        SSPanel1.setTop(p.panelTop);
    }
    Window::Form_Resize();
}

bool ReplyFilledWindow::refuseUntilFilledByReply() const {
    if (m_filledByReply) return false;
    msgBox(texts().TxtSetError, MsgButtons::OK, MsgIcon::Critical);
    return true;
}

void makeNumberBox(TextBox& box) {
    box.setKeyFilter(KeyFilter::None);
    box.onKeyPress = [](int& key) {
        if (!((key >= '0' && key <= '9') || key == 8 || key == 13)) key = 0;
    };
    auto* target = &box;
    box.onGotFocus = [target] {
        target->setSelStart(0);
        target->setSelLength(static_cast<int>(target->Text().size()));
    };
}

void fillNumbers(ComboList& list, int first, int last, int step, bool twoDigits) {
    for (int n = first; n <= last; n += step)
        list.AddItem(twoDigits ? formatPadded(n, 2) : std::to_string(n));
}

void refillList(ComboList& list, const std::vector<std::string>& items) {
    list.Clear();
    for (const std::string& item : items) list.AddItem(item);
}

bool refuseWhileErasing() {
    if (flags().MemoryErasing != kTrue) return false;
    msgBox(texts().TxtMemoryErasing, MsgButtons::OK, MsgIcon::Critical);
    return true;
}

void runSetSteps(SetErrorPolicy policy, const std::vector<std::function<void()>>& steps) {
    DisablePollTimers();
    for (const auto& step : steps) {
        try {
            step();
        } catch (const VbError&) {
            if (policy == SetErrorPolicy::PassOver) continue;
            if (policy == SetErrorPolicy::FixedSetError)
                msgBox("Set Error !!!", MsgButtons::OK, MsgIcon::Critical);
            if (policy == SetErrorPolicy::TextSetError)
                msgBox(texts().TxtSetError, MsgButtons::OK, MsgIcon::Critical);
            break;
        }
    }
    EnablePollTimers();
}

}  // namespace sq
