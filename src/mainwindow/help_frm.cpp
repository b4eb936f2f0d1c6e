#include "mainwindow/help_frm.h"

#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/vb_error.h"
#include "shared/state.h"

namespace sq {

namespace {
constexpr int kExitButtonHeight = 975;
constexpr int kPanelHeight = kExitButtonHeight + 50;  // one manual button
}  // namespace

std::string manualPath() {
    return programPath("help/Manual.pdf");
}

HelpFrm::HelpFrm()
    : SettingWindow(kName, &flags().HelpFrmOpen, {4935, 1905}, {4455, kPanelHeight}),
      ExitBtn(SSPanel1.widget(), "Exit") {
    setCaption("Help");
    m_manuals.add(SSPanel1.widget(), "Manual English").Move(120, 120, 2775, 375);
    ExitBtn.Move(3000, 0, 1455, kExitButtonHeight);
    m_manuals.onClick = [this](int groupIndex) { MunOpt_Click(groupIndex + 1); };
    ExitBtn.onClick = [this] { ExitBtn_Click(); };
}

OptionButton& HelpFrm::MunOpt(int index) {
    if (index != 1) raise(kSubscriptOutOfRange);
    return m_manuals[0];
}

void HelpFrm::nameControls(TextApplier& applier) {
    applier.caption("ExitBtn", [this](const std::string& t) { ExitBtn.setCaption(t); })
        .indexed("MunOpt", [this](int index, const std::string& t) { MunOpt(index).setCaption(t); });
}

// Each step is attempted in turn.
void HelpFrm::Form_Load() {
    skipOnError([this] { setWindowState(WindowState::Maximized); });
    skipOnError([this] { applyTexts(); });
    skipOnError([this] { MunOpt(1).setValue(false); });
    skipOnError([this] { SSPanel1.setHeight(ExitBtn.Height() + 50); });
}

// The viewer's answer is not looked at: a missing manual shows nothing.
void HelpFrm::MunOpt_Click(int index) {
    skipOnError([] { dialogs().openWithViewer(manualPath()); });
    skipOnError([&] { MunOpt(index).setValue(false); });
}

void HelpFrm::ExitBtn_Click() {
    Unload();
}

}  // namespace sq
