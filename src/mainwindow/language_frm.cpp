#include "mainwindow/language_frm.h"

#include "mainwindow/panel.h"
#include "platform/text_file.h"
#include "platform/vb_error.h"
#include "settings/window_rules.h"
#include "shared/state.h"
#include "texts/language_choice.h"
#include "texts/language_files.h"

namespace sq {

namespace {

constexpr int kPanelWidth = 4815;
constexpr int kSetButtonHeight = 855;

Panel* mainPanel() {
    return dynamic_cast<Panel*>(windows().find(Panel::kName));
}

}  // namespace

LanguageFrm::LanguageFrm()
    : SettingWindow(kName, &flags().LanguageFrmOpen, {5310, 3015},
                    {kPanelWidth, static_cast<int>(languagePanelHeight(1, kSetButtonHeight, 495))}),
      SetBtn(SSPanel1.widget(), "Set"),
      ExitBtn(SSPanel1.widget(), "Exit") {
    m_panelTopAllowance = 400;
    setCaption(kName);
    Language.add(SSPanel1.widget(), "English").Move(120, 120, 2655, 495);
    SetBtn.Move(3600, 0, 1215, kSetButtonHeight);
    ExitBtn.Move(3600, 1080, 1215, kSetButtonHeight);
    SetBtn.onClick = [this] { SetBtn_Click(); };
    ExitBtn.onClick = [this] { ExitBtn_Click(); };
}

void LanguageFrm::nameControls(TextApplier& applier) {
    applier.caption("SetBtn", [this](const std::string& t) { SetBtn.setCaption(t); })
        .caption("ExitBtn", [this](const std::string& t) { ExitBtn.setCaption(t); });
}

// A failing step ends the load where it is; the window stays open with what was done.
void LanguageFrm::Form_Load() {
    try {
        setWindowState(WindowState::Maximized);
        closeOtherWindows();
        applyTexts();
        buildLanguageButtons();
    } catch (const VbError&) {
    }
}

void LanguageFrm::closeOtherWindows() {
    const CloseGroups& order = languageFrmCloseOrder();
    unloadByFlags(order.beforePane);
    if (flags().MemoryPanelVisible == kTrue) {
        if (Panel* panel = mainPanel()) panel->ShowMemoryInfoPanel(false);
    }
    unloadByFlags(order.afterPane);
}

void LanguageFrm::buildLanguageButtons() {
    const std::optional<std::vector<std::string>> lines = readLanguageLines(languageListPath());
    if (!lines) return;
    const int count = languageState().LanguageCount;
    const std::optional<std::vector<std::string>> names = languageButtonNames(*lines, count);
    if (!names) return;
    OptionButton& first = Language[0];
    first.setCaption(names->front());
    const double left = first.Left(), top = first.Top(), height = first.Height();
    for (int i = 1; i < count; ++i) {
        const std::string& name = (*names)[static_cast<size_t>(i)];
        OptionButton& button = Language.add(SSPanel1.widget(), name);
        button.Move(left, languageButtonTop(i, top, height), 4 * textWidthTwips(name), height);
        button.setVisible(true);
    }
    SSPanel1.setHeight(languagePanelHeight(Language.count(), SetBtn.Height(), height));
    if (const std::optional<int> current = currentLanguageButton(languageState(), Language.count()))
        Language.select(*current);
}

// A refused or failed store loads nothing; the window closes either way.
void LanguageFrm::SetBtn_Click() {
    std::optional<int> chosen;
    if (Language.selected() >= 0) chosen = Language.selected();
    if (storeSelectedLanguage(chosen, languageState().LanguageCount, Language.count())) {
        LoadLanguage();
        if (Panel* panel = mainPanel()) {
            panel->ApplyToolbarTexts();
            panel->ApplyDeviceTreeTexts();
        }
    }
    Unload();
}

void LanguageFrm::ExitBtn_Click() {
    Unload();
}

}  // namespace sq
