// The language window (choosing, storing and loading a language, and when the texts change) and
// the help window.
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "mainwindow/help_frm.h"
#include "mainwindow/language_frm.h"
#include "mainwindow/panel_fixture.h"
#include "platform/text_file.h"
#include "settings/clear_memory_frm.h"
#include "settings/window_rules.h"
#include "support/pixels.h"
#include "support/scripted_dialogs.h"
#include "support/stand_in_window.h"
#include "texts/language_files.h"

using namespace sq;
using sqtest::PanelTest;
using Lines = std::vector<std::string>;

namespace {

constexpr int kSet = 855;      // the Set button's height
constexpr int kOption = 495;   // a language button's height
constexpr double kPixel = 15;  // sizes read back are whole pixels

class LanguageTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        m_savedList = readFileBytes(languageListPath());
        languageState() = LanguageState{};
    }

    void TearDown() override {
        setAtomicWriteFault(0);
        PanelTest::TearDown();
        std::error_code ignored;
        for (const std::string& path : m_created) std::filesystem::remove_all(path, ignored);
        if (m_savedList) writeFileAtomic(languageListPath(), *m_savedList);
        languageState() = LanguageState{};
        LoadDefaultTexts();
    }

    void writeList(const Lines& lines) { ASSERT_TRUE(writeTextLines(languageListPath(), lines)); }

    // A language whose texts carry its name: "<name> open" for the first tool tip, and so on.
    void writeLanguage(const std::string& name) {
        const std::string path = languageFilePathFor(name);
        m_created.push_back(path);
        ASSERT_TRUE(writeTextLines(path, {"Open File...\\" + name + " open", "Help\\" + name + " help",
                                          "Memory\\" + name + " memory", "Clear Memory\\" + name + " clear",
                                          "Set\\" + name + " set"}));
    }

    // The next write of the list fails: its temporary file cannot be created.
    void makeListUnwritable() { setAtomicWriteFault(ENOSPC); }

    Panel& startIdentified() {
        Panel& p = start();
        EXPECT_TRUE(waitFor([&] { return p.TreeView1.nodeCount() == 20; }, 5));
        dialogs->clear();
        return p;
    }

    LanguageFrm& openLanguageWindow(Panel& p) {
        p.Toolbar1.click("Language");
        return form<LanguageFrm>();
    }

    // Ends the run as closing the program would, with a fresh instrument on COM1 for the next start.
    void stopProgram() {
        windows().reset();
        registerPollTimers(nullptr, nullptr);
        sim.reset();
        PortAPI().reset();
        resetProgramState();
        languageState() = LanguageState{};
        sim = std::make_unique<metersim::Simulator>();
        sim->plugIn(1);
        windows().setModalHook([this](Window& w) { answerModal(w); });
    }

    [[nodiscard]] std::optional<Lines> list() const { return readTextLines(languageListPath()); }

    static Lines captions(LanguageFrm& w) {
        Lines out;
        for (int i = 0; i < w.Language.count(); ++i) out.push_back(w.Language[i].Caption());
        return out;
    }

private:
    std::optional<std::string> m_savedList;
    Lines m_created;
};

constexpr int kExit = -2;  // press Exit
constexpr int kAsIs = -1;  // press Set with the selection the load made

struct LanguageCase {
    const char* what;
    Lines list;
    Lines buttons;  // captions in order
    int selected;   // -1: none
    double panelHeight;
    int press;                   // a button to select before Set, or kAsIs, or kExit
    std::optional<Lines> after;  // the list file afterwards; nullopt: untouched
    const char* toolTip;         // the first tool tip afterwards
    bool failWrite = false;
};

TEST_F(LanguageTest, languageWindowShowsStoresAndLoadsTheChoice) {
    const LanguageCase cases[] = {
        {"two languages, the second selected; Set on the first",
         {"Language\\2", "1\\Alpha", "2\\Beta"},
         {"Alpha", "Beta"},
         1,
         2 * kSet + 300,
         0,
         Lines{"Language\\1", "1\\Alpha", "2\\Beta"},
         "Alpha open"},
        {"three languages; Exit",
         {"Language\\1", "1\\Alpha", "2\\Beta", "3\\Gamma", ""},
         {"Alpha", "Beta", "Gamma"},
         0,
         1.5 * kOption * 3,
         kExit,
         std::nullopt,
         "Alpha open"},
        {"no language lines: only the designed button",
         {"Language\\1"},
         {"English"},
         -1,
         2 * kSet + 300,
         kAsIs,
         Lines{"Language\\1"},
         "Open File..."},
        {"a selected number without a button: none selected, field 2 written back",
         {"Language\\5\\old", "5\\Alpha"},
         {"Alpha"},
         -1,
         2 * kSet + 300,
         kAsIs,
         Lines{"Language\\5", "5\\Alpha"},
         "Alpha open"},
        {"an empty selection line: nothing stored",
         {"", "1\\Alpha", "2\\Beta"},
         {"Alpha", "Beta"},
         0,
         2 * kSet + 300,
         1,
         std::nullopt,
         "Open File..."},
        {"a selection line without a backslash: nothing stored",
         {"Language", "1\\Alpha"},
         {"English"},
         -1,
         2 * kSet + 300,
         0,
         std::nullopt,
         "Open File..."},
        {"a language without its file: the choice is stored, the texts stay",
         {"Language\\1", "1\\Alpha", "2\\Nowhere"},
         {"Alpha", "Nowhere"},
         0,
         2 * kSet + 300,
         1,
         Lines{"Language\\2", "1\\Alpha", "2\\Nowhere"},
         "Alpha open"},
        {"a write that fails: nothing stored, nothing loaded",
         {"Language\\2", "1\\Alpha", "2\\Beta"},
         {"Alpha", "Beta"},
         1,
         2 * kSet + 300,
         0,
         std::nullopt,
         "Beta open",
         true},
    };
    writeLanguage("Alpha");
    writeLanguage("Beta");
    writeLanguage("Gamma");
    for (const LanguageCase& c : cases) {
        SCOPED_TRACE(c.what);
        writeList(c.list);
        Panel& p = startIdentified();
        LanguageFrm& w = openLanguageWindow(p);
        EXPECT_EQ(flags().LanguageFrmOpen, kTrue);
        EXPECT_EQ(captions(w), c.buttons);
        EXPECT_EQ(w.Language.selected(), c.selected);
        EXPECT_NEAR(w.SSPanel1.Height(), c.panelHeight, kPixel);
        for (int i = 1; i < w.Language.count(); ++i) {
            EXPECT_EQ(w.Language[i].Left(), w.Language[0].Left());
            EXPECT_NEAR(w.Language[i].Top(), 120 + 1.5 * i * kOption, kPixel);
            EXPECT_TRUE(w.Language[i].Visible());
        }
        const Lines before = list().value();
        if (c.failWrite) makeListUnwritable();
        if (c.press == kExit) {
            w.ExitBtn.click();
        } else {
            if (c.press >= 0) w.Language[c.press].click();
            w.SetBtn.click();
        }
        EXPECT_EQ(flags().LanguageFrmOpen, kFalse);
        EXPECT_EQ(list(), c.after.value_or(before));
        EXPECT_EQ(p.Toolbar1.buttonToolTip(1), c.toolTip);
        EXPECT_TRUE(dialogs->records.empty());
        stopProgram();
    }
}

TEST_F(LanguageTest, setRewritesTheListWithCrLfAndKeepsTheOtherLines) {
    writeLanguage("Alpha");
    writeLanguage("Beta");
    writeList({"Language\\1", "1\\Alpha", "2\\Beta", "", ""});
    Panel& p = startIdentified();
    LanguageFrm& w = openLanguageWindow(p);
    w.Language[1].click();
    w.SetBtn.click();
    EXPECT_EQ(readFileBytes(languageListPath()), "Language\\2\r\n1\\Alpha\r\n2\\Beta\r\n\r\n\r\n");
}

TEST_F(LanguageTest, toolTipsAndTreeChangeAtOnceOtherWindowsWhenOpenedAgain) {
    writeLanguage("Alpha");
    writeLanguage("Beta");
    writeList({"Language\\1", "1\\Alpha", "2\\Beta"});
    Panel& p = startIdentified();
    form<ClearMemoryFrm>().Show();
    EXPECT_EQ(form<ClearMemoryFrm>().ClearBtn.Caption(), "Alpha clear");
    p.ShowMemoryInfoPanel(true);
    EXPECT_EQ(p.LblTitle.Caption(), "Alpha memory");
    LanguageFrm& w = openLanguageWindow(p);
    EXPECT_EQ(w.SetBtn.Caption(), "Alpha set");
    w.Language[1].click();
    w.SetBtn.click();
    EXPECT_EQ(p.Toolbar1.buttonToolTip(1), "Beta open");
    EXPECT_EQ(p.TreeView1.nodeText(20), "Beta help");
    EXPECT_EQ(flags().ClearMemoryFrmOpen, kFalse);
    EXPECT_EQ(p.LblTitle.Caption(), "Alpha memory") << "the hidden pane keeps its texts until shown";
    p.ShowMemoryInfoPanel(true);
    EXPECT_EQ(p.LblTitle.Caption(), "Beta memory");
    form<ClearMemoryFrm>().Show();
    EXPECT_EQ(form<ClearMemoryFrm>().ClearBtn.Caption(), "Beta clear");
}

TEST_F(LanguageTest, aChangeBeforeAnyInstrumentReachesTheTreeWhenItIsBuilt) {
    writeLanguage("Alpha");
    writeLanguage("Beta");
    writeList({"Language\\1", "1\\Alpha", "2\\Beta"});
    sim->setSilent(true);
    Panel& p = start();
    LanguageFrm& w = openLanguageWindow(p);
    w.Language[1].click();
    w.SetBtn.click();
    EXPECT_EQ(p.Toolbar1.buttonToolTip(1), "Beta open");
    EXPECT_EQ(p.TreeView1.nodeCount(), 0);
    sim->setSilent(false);
    ASSERT_TRUE(waitFor([&] { return p.TreeView1.nodeCount() == 20; }, 10));
    EXPECT_EQ(p.TreeView1.nodeText(20), "Beta help");
}

TEST_F(LanguageTest, theChoiceHoldsAfterARestart) {
    writeLanguage("Alpha");
    writeLanguage("Beta");
    writeList({"Language\\1", "1\\Alpha", "2\\Beta"});
    {
        LanguageFrm& w = openLanguageWindow(startIdentified());
        w.Language[1].click();
        w.SetBtn.click();
    }
    stopProgram();
    Panel& p = startIdentified();
    EXPECT_EQ(p.Toolbar1.buttonToolTip(1), "Beta open");
    EXPECT_EQ(p.TreeView1.nodeText(20), "Beta help");
    EXPECT_EQ(openLanguageWindow(p).Language.selected(), 1);
}

// Stand-ins for every window the language window closes; each records whether the memory pane
// was still shown when it was closed.
TEST_F(LanguageTest, openingClosesEveryOtherWindowInItsOrderWithThePaneBetweenTheGroups) {
    Panel& p = startIdentified();
    auto log = std::make_shared<Lines>();
    auto standIn = [&](const std::string& name, int16_t* flag) {
        windows().registerWindow(name, [=] {
            auto w = std::make_unique<StandInWindow>(name, flag);
            w->onUnloadCall = [log](StandInWindow& s) {
                log->push_back(s.name() + (flags().MemoryPanelVisible == kTrue ? " (pane shown)" : ""));
            };
            return w;
        });
    };
    const CloseGroups& order = languageFrmCloseOrder();
    for (const auto* group : {&order.beforePane, &order.afterPane})
        for (const auto& [flag, name] : *group)
            if (!windows().isLoaded(name)) {
                standIn(name, &(flags().*flag));
                windows().window(name).Show();
            }
    EXPECT_EQ(flags().OneSetLcdApo, kTrue);  // the first of the single-value window's flags
    flags().OneSetIntervalTime = kTrue;      // named again last: closed once only
    p.ShowMemoryInfoPanel(true);
    windows().window(LanguageFrm::kName).Show();
    EXPECT_EQ(*log,
              (Lines{"ClearMemoryFrm (pane shown)", "ComPortSetFrm (pane shown)", "DataListFrm (pane shown)",
                     "SonoquantFrm (pane shown)", "FileListFrm (pane shown)", "HelpFrm (pane shown)",
                     "Histogram (pane shown)", "LEDAlarmFrm (pane shown)", "OneSetForm", "Plot", "RTCFrm",
                     "ScreenFrm", "Setting410PanelFrm", "TimerFrm", "WelcomSetFrm", "LunchTimeFrm"}));
    EXPECT_EQ(flags().MemoryPanelVisible, kFalse);
    EXPECT_EQ(flags().LanguageFrmOpen, kTrue);

    // The single-value window opened in the interval mode closes after the lunch-time window.
    windows().window(LanguageFrm::kName).Unload();
    log->clear();
    standIn("OneSetForm", &flags().OneSetIntervalTime);
    windows().window("OneSetForm").Show();
    windows().window("LunchTimeFrm").Show();
    windows().window(LanguageFrm::kName).Show();
    EXPECT_EQ(*log, (Lines{"LunchTimeFrm", "OneSetForm"}));
}

TEST_F(LanguageTest, bothWindowsKeepTheirMinimumAndCentreTheirPanels) {
    Panel& p = startIdentified();
    LanguageFrm& language = openLanguageWindow(p);
    CentredPanel l = language.layoutFor({3000, 2000});
    EXPECT_EQ(l.outer, (TwipSize{5310, 3015}));
    EXPECT_DOUBLE_EQ(l.panelLeft, (5310 - 4815 - 100) / 2.0);
    EXPECT_DOUBLE_EQ(l.panelTop, (3015 - language.SSPanel1.Height() - 400) / 2);
    EXPECT_EQ(language.windowState(), WindowState::Maximized);
    EXPECT_EQ(language.Caption(), "Language");

    p.Toolbar1.click("Help");
    HelpFrm& help = form<HelpFrm>();
    CentredPanel h = help.layoutFor({3000, 7000});
    EXPECT_EQ(h.outer, (TwipSize{4935, 7000}));
    EXPECT_DOUBLE_EQ(h.panelLeft, (4935 - 4455 - 100) / 2.0);
    EXPECT_DOUBLE_EQ(h.panelTop, (7000 - help.SSPanel1.Height() - 500) / 2);
    help.setWindowState(WindowState::Normal);
    help.Move(0, 0, 2000, 1000);
    EXPECT_NEAR(help.Width(), 4935, 15);
    EXPECT_NEAR(help.Height(), 1905, 15);
}

// Their buttons stand at the right edge of the panel: each shows its own border beside the panel's.
TEST_F(LanguageTest, bothWindowsShowTheirButtonsWholeAtThePanelsEdge) {
    Panel& p = startIdentified();
    LanguageFrm& language = openLanguageWindow(p);
    EXPECT_TRUE(sqtest::drawnClearOfPanelBorder(*language.SetBtn.widget()));
    EXPECT_TRUE(sqtest::drawnClearOfPanelBorder(*language.ExitBtn.widget()));
    p.Toolbar1.click("Help");
    EXPECT_TRUE(sqtest::drawnClearOfPanelBorder(*form<HelpFrm>().ExitBtn.widget()));
}

TEST_F(LanguageTest, helpAsksTheViewerOnEveryClickAndClearsItsOption) {
    Panel& p = startIdentified();
    p.Toolbar1.click("Help");
    HelpFrm& w = form<HelpFrm>();
    EXPECT_EQ(w.Caption(), "Help");
    EXPECT_EQ(w.MunOpt(1).Caption(), "Manual English");
    EXPECT_EQ(w.ExitBtn.Caption(), "Exit");
    EXPECT_NEAR(w.SSPanel1.Height(), 975 + 50, kPixel);
    EXPECT_FALSE(w.MunOpt(1).Value());
    w.MunOpt(1).click();
    w.MunOpt(1).click();
    ASSERT_EQ(dialogs->records.size(), 2u);
    for (const auto& r : dialogs->records) {
        EXPECT_EQ(r.kind, "viewer");
        EXPECT_EQ(r.text, programFolder() + "/help/Manual.pdf");
    }
    EXPECT_FALSE(w.MunOpt(1).Value());
    EXPECT_EQ(flags().HelpFrmOpen, kTrue) << "the window stays open";

    // A viewer that fails: nothing is shown, the option is cleared all the same.
    struct FailingViewer : ScriptedDialogs {
        bool openWithViewer(const std::string& path) override {
            ScriptedDialogs::openWithViewer(path);
            return false;
        }
    } failing;
    setDialogService(&failing);
    w.MunOpt(1).click();
    setDialogService(&*dialogs);
    ASSERT_EQ(failing.records.size(), 1u);
    EXPECT_EQ(failing.records[0].kind, "viewer");
    EXPECT_FALSE(w.MunOpt(1).Value());
    w.ExitBtn.click();
    EXPECT_EQ(flags().HelpFrmOpen, kFalse);
}

}  // namespace
