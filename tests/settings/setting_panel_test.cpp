// The settings panel: placement, its thirteen read sequences, clicks inside their waits, and the
// closing rules it shares with the main window.
#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <functional>

#include "link/channels.h"
#include "link/requests.h"
#include "records/data_list_frm.h"
#include "settings/one_set_form.h"
#include "settings/rtc_frm.h"
#include "settings/settings_fixture.h"
#include "support/stand_in_window.h"

using namespace sq;
using sqtest::SettingsTest;

namespace {

using F = OpenFlags;
using P = Setting410PanelFrm;

TEST(SettingPanelPlaceTest, besideTheMainWindowWhereTheScreenHasRoomElseInItsLowerLeftCorner) {
    struct Case {
        const char* name;
        WindowBounds mainWindow;
        WindowBounds available;
        WindowPlace expected;
    };
    const TwipSize panel{4545, 6180};
    const Case cases[] = {
        {"room on the right", {1500, 900, 13665, 11250}, {0, 0, 28800, 16200}, {15165, 900}},
        {"room on the right, moved up into the area",
         {0, 12000, 13665, 11250},
         {0, 0, 28800, 16200},
         {13665, 10020}},
        {"above the top bar", {3000, 0, 13665, 11250}, {0, 420, 28800, 15780}, {16665, 420}},
        // No room beside it: over the device tree, below the title bars.
        {"main window maximised", {0, 420, 28800, 15780}, {0, 420, 28800, 15780}, {0, 10020}},
        {"near the right and bottom edges, below a top bar",
         {20000, 13000, 13665, 11250},
         {0, 420, 28800, 15780},
         {20000, 10020}},
        {"restored on a narrow screen", {840, 0, 13665, 9000}, {0, 0, 15360, 9000}, {840, 2820}},
        {"second screen on the left", {-15000, 600, 13665, 11250}, {-28800, 0, 28800, 16200}, {-15000, 5670}},
        {"screen smaller than the panel", {0, 0, 13665, 11250}, {0, 300, 3000, 3000}, {0, 300}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(settingPanelPlace(c.mainWindow, panel, c.available), c.expected) << c.name;
}

TEST_F(SettingsTest, panelIsAToolWindowOfTheMainWindowPlacedAfreshOnEveryShow) {
    Panel& p = startIdentified();
    Setting410PanelFrm& first = showPanel();
    EXPECT_EQ(flags().Setting410PanelFrmOpen, kTrue);
    EXPECT_EQ(first.Caption(), "Setting Panel");
    EXPECT_EQ(first.LcdContrastBtn.Caption(), "Lcd contrast");
    EXPECT_EQ(first.BtnIntervalTime.Caption(), "Interval Time");
    EXPECT_EQ(first.surface()->parentWidget(), p.mainWindow());
    EXPECT_TRUE(first.surface()->windowFlags().testFlag(Qt::Tool));
    EXPECT_NEAR(first.ScaleWidth(), 4485, 15);
    EXPECT_NEAR(first.ScaleHeight(), 6120, 15);
    // The main window maximised leaves no room beside it: the panel stands in its lower left corner.
    EXPECT_NEAR(first.Left(), p.Left(), 15);
    EXPECT_NEAR(first.Top() + first.Height(), p.Top() + p.Height(), 15);

    // Restored, the main window leaves room on its right: the panel stands there, placed again when
    // it is shown again.
    p.setWindowState(WindowState::Normal);
    p.Move(0, 1500, 13665, 11250);
    QApplication::processEvents();
    Setting410PanelFrm& second = showPanel();
    EXPECT_NEAR(second.Left(), p.Left() + p.Width(), 15);
    EXPECT_NEAR(second.Top(), 1500, 15);
}

TEST_F(SettingsTest, panelTextsFitTheirButtons) {
    startIdentified();
    Setting410PanelFrm& w = showPanel();
    for (const SettingPanelButton& b : settingPanelButtons()) {
        const CommandButton& button = w.*b.button;
        EXPECT_LT(w.textWidthTwips(button.Caption()) + 120, button.Width()) << b.name;
        EXPECT_EQ(button.Left(), b.column == 1 ? 120 : 2280) << b.name;
        EXPECT_EQ(button.Top(), 120 + 840 * (b.row - 1)) << b.name;
    }
    // Tab order: down the left column, down the right, then the last three.
    const std::vector<CommandButton P::*> order = {
        &P::LcdContrastBtn, &P::LcdAPOBtn,    &P::SonoquantBtn,      &P::TimersBtn,     &P::ScreenBtn,
        &P::PauseBtn,       &P::LEDAlarmBtn,  &P::AutoLockKeypadBtn, &P::AutoScrollBtn, &P::WelcomInputBtn,
        &P::BtnCalibration, &P::BtnLunchTime, &P::BtnIntervalTime};
    for (size_t i = 0; i + 1 < order.size(); ++i)
        EXPECT_EQ((w.*order[i]).widget()->nextInFocusChain(), (w.*order[i + 1]).widget()) << i;
}

// What each window saw when it loaded.
struct LoadSeen {
    std::string window;
    double time = 0;
    bool polling = false;
    bool receiveBufferEmpty = false;
    std::array<int16_t, 7> modes{};
};

class PanelSequenceTest;

// The single-value window, recording what it saw when it loaded.
class RecordingOneSetForm : public OneSetForm {
public:
    explicit RecordingOneSetForm(std::function<void(const std::string&)> seen) : m_seen(std::move(seen)) {}

protected:
    void Form_Load() override {
        m_seen(kName);
        OneSetForm::Form_Load();
    }

private:
    std::function<void(const std::string&)> m_seen;
};

class PanelSequenceTest : public SettingsTest {
protected:
    // Every window a button opens records its load; the help window records whether polling still
    // ran when it was closed.
    void recordingWindows() {
        auto seen = [this](const std::string& window) {
            loads.push_back({window, Runtime::get().now(), panel->Timer1.enabled(),
                             Channels[CurrentChannel].RxBuffer.empty(), modeFlags()});
        };
        windows().registerWindow(OneSetForm::kName,
                                 [seen] { return std::make_unique<RecordingOneSetForm>(seen); });
        const std::pair<const char*, int16_t F::*> standIns[] = {
            {"SonoquantFrm", &F::SonoquantFrmOpen}, {"ScreenFrm", &F::ScreenFrmOpen},
            {"LEDAlarmFrm", &F::LEDAlarmFrmOpen},   {"TimerFrm", &F::TimerFrmOpen},
            {"WelcomSetFrm", &F::WelcomSetFrmOpen}, {"LunchTimeFrm", &F::LunchTimeFrmOpen},
            {"HelpFrm", &F::HelpFrmOpen},
        };
        for (const auto& [name, flag] : standIns) {
            const std::string n = name;
            int16_t* open = &(flags().*flag);
            windows().registerWindow(n, [this, n, open, seen]() -> std::unique_ptr<Window> {
                auto w = std::make_unique<StandInWindow>(n, open);
                w->onLoadCall = [n, seen](StandInWindow&) { seen(n); };
                w->onUnloadCall = [this, n](StandInWindow&) {
                    if (n == "HelpFrm") pollingWhenHelpClosed = panel->Timer1.enabled();
                };
                return w;
            });
        }
    }
    std::vector<LoadSeen> loads;
    bool pollingWhenHelpClosed = false;
};

TEST_F(PanelSequenceTest, eachButtonClosesPausesFlushesShowsReadsAndResumesInItsOwnOrder) {
    struct Case {
        CommandButton P::*button;
        const char* window;
        int modeIndex;  // in modeFlags(); -1: none
        uint8_t read;
        bool flush;
        bool closesBeforePausing;
    };
    const Case cases[] = {
        {&P::LcdContrastBtn, "OneSetForm", 3, CmdReadLcdContrast, true, true},
        {&P::LcdAPOBtn, "OneSetForm", 2, CmdReadLcdApo, true, true},
        {&P::SonoquantBtn, "SonoquantFrm", -1, CmdReadDoseSettings, false, true},
        {&P::ScreenBtn, "ScreenFrm", -1, CmdReadScreenSettings, false, false},
        {&P::PauseBtn, "OneSetForm", 4, CmdReadPauseSetting, false, false},
        {&P::LEDAlarmBtn, "LEDAlarmFrm", -1, CmdReadLedAlarm, false, false},
        {&P::AutoLockKeypadBtn, "OneSetForm", 0, CmdReadAutoLockKeypad, false, false},
        {&P::AutoScrollBtn, "OneSetForm", 1, CmdReadAutoScroll, false, false},
        {&P::TimersBtn, "TimerFrm", -1, CmdReadTimerSettings, false, false},
        {&P::WelcomInputBtn, "WelcomSetFrm", -1, CmdReadWelcomeText, false, false},
        {&P::BtnCalibration, "OneSetForm", 5, CmdReadCalibrationLevel, false, false},
        {&P::BtnLunchTime, "LunchTimeFrm", -1, CmdReadLunchTime, false, true},
        {&P::BtnIntervalTime, "OneSetForm", 6, CmdReadIntervalTime, false, true},
    };
    startIdentified();
    recordingWindows();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window + std::string(" read ") + std::to_string(c.read));
        Setting410PanelFrm& w = showPanel();
        windows().window("HelpFrm").Show();
        loads.clear();
        sim->clearLog();
        Channels[CurrentChannel].RxBuffer = {0x02, 0x00, 0x0A, 0x05, 0x01};  // an unfinished reply
        (w.*c.button).click();
        const double end = Runtime::get().now();
        ASSERT_EQ(loads.size(), 1u);
        const LoadSeen& seen = loads[0];
        EXPECT_EQ(seen.window, c.window);
        EXPECT_FALSE(seen.polling);
        EXPECT_EQ(seen.receiveBufferEmpty, c.flush);
        std::array<int16_t, 7> modes{};
        if (c.modeIndex >= 0) modes[c.modeIndex] = kTrue;
        EXPECT_EQ(seen.modes, modes);
        EXPECT_EQ(pollingWhenHelpClosed, c.closesBeforePausing);
        EXPECT_EQ(flags().HelpFrmOpen, kFalse);
        const auto reads = sim->requestsWithCode(c.read);
        ASSERT_EQ(reads.size(), 1u);
        // A receive-pump tick that starts inside a wait holds it up to its own 0.1 s longer.
        EXPECT_GE(reads[0].time - seen.time, 0.099);
        EXPECT_LE(reads[0].time - seen.time, 0.25);
        EXPECT_GE(end - reads[0].time, 0.599);
        EXPECT_LE(end - reads[0].time, 0.8);
        EXPECT_TRUE(panel->Timer1.enabled());
        EXPECT_TRUE(panel->Timer2.enabled());
        EXPECT_EQ(flags().Setting410PanelFrmOpen, kTrue);
        wait(1);
    }
}

TEST_F(SettingsTest, whileErasingEveryButtonRefusesAndTheInstrumentListStillOpensThePanel) {
    Panel& p = startIdentified();
    standInsForLaterWindows();
    Setting410PanelFrm& w = showPanel();
    form<RTCFrm>().Show();
    flags().MemoryErasing = kTrue;
    sim->clearLog();
    for (const SettingPanelButton& b : settingPanelButtons()) (w.*b.button).click();
    EXPECT_EQ(dialogs->countMessage("Memory Erasing ..."), 13);
    EXPECT_EQ(dialogs->messages()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(flags().RTCFrmOpen, kTrue) << "no window closes";
    EXPECT_EQ(modeFlags(), (std::array<int16_t, 7>{}));
    EXPECT_TRUE(p.Timer1.enabled());
    p.Toolbar1.click("SettingPanel");  // the toolbar refuses too
    EXPECT_EQ(flags().Setting410PanelFrmOpen, kTrue);
    EXPECT_EQ(dialogs->countMessage("Memory Erasing ..."), 14);
    p.ControlListView.clickItem(1);
    EXPECT_EQ(flags().Setting410PanelFrmOpen, kTrue) << "the list click has no erasing refusal";
    EXPECT_EQ(flags().RTCFrmOpen, kFalse) << "it closed the other windows first";
    EXPECT_EQ(dialogs->countMessage("Memory Erasing ..."), 14);
}

TEST_F(SettingsTest, aSecondClickOfOneWindowOrOfAnotherModeReopensIt) {
    startIdentified();
    sim->state().contrast = 28;
    Setting410PanelFrm& w = showPanel();
    w.LcdContrastBtn.click();
    OneSetForm* first = &form<OneSetForm>();
    EXPECT_EQ(first->SetCbx.Text(), "7");
    first->SetCbx.setListIndex(0);
    w.LcdContrastBtn.click();
    OneSetForm& again = form<OneSetForm>();
    EXPECT_EQ(again.SetCbx.Text(), "7") << "loaded afresh and read again";
    EXPECT_EQ(sent(CmdReadLcdContrast), 2);

    w.PauseBtn.click();
    EXPECT_EQ(modeFlags(), (std::array<int16_t, 7>{0, 0, 0, 0, kTrue, 0, 0}));
    EXPECT_EQ(form<OneSetForm>().mode(), OneSetMode::Pause);
    EXPECT_EQ(form<OneSetForm>().Caption(), "Pause");
}

TEST_F(SettingsTest, closingThePanelClosesItsSettingWindowButNotTheRecordList) {
    startIdentified();
    standInsForLaterWindows();
    Setting410PanelFrm& w = showPanel();
    form<DataListFrm>().Show();
    w.TimersBtn.click();
    EXPECT_EQ(flags().TimerFrmOpen, kTrue);
    EXPECT_EQ(flags().DataListFrmOpen, kTrue);
    w.Unload();
    EXPECT_EQ(flags().Setting410PanelFrmOpen, kFalse);
    EXPECT_EQ(flags().TimerFrmOpen, kFalse);
    EXPECT_EQ(flags().DataListFrmOpen, kTrue);
}

TEST_F(SettingsTest, aSecondButtonInsideTheFirstsWaitRunsToItsEndAndBothReadsGoOut) {
    startIdentified();
    Setting410PanelFrm& w = showPanel();
    bool pollingAfterInner = false;
    Runtime::get().callAfter(0.3, [&] {
        w.PauseBtn.click();
        pollingAfterInner = panel->Timer1.enabled();
    });
    w.LcdContrastBtn.click();
    EXPECT_TRUE(pollingAfterInner);
    EXPECT_EQ(sent(CmdReadLcdContrast), 1);
    EXPECT_EQ(sent(CmdReadPauseSetting), 1);
    EXPECT_EQ(form<OneSetForm>().mode(), OneSetMode::Pause);
    EXPECT_TRUE(panel->Timer1.enabled());
    wait(1);
    EXPECT_EQ(form<OneSetForm>().mode(), OneSetMode::Pause);
    EXPECT_TRUE(dialogs->records.empty());
}

TEST_F(SettingsTest, clockCommandInsideAWaitUnloadsThePanelUnderItsRunningHandler) {
    Panel& p = startIdentified();
    Setting410PanelFrm& w = showPanel();
    Runtime::get().callAfter(0.4, [&] { p.Toolbar1.click("RTC"); });  // inside the final wait
    w.BtnCalibration.click();
    EXPECT_EQ(flags().Setting410PanelFrmOpen, kFalse);
    EXPECT_EQ(flags().RTCFrmOpen, kTrue);
    EXPECT_EQ(flags().OneSetCalibration, kFalse);
    EXPECT_EQ(sent(CmdReadCalibrationLevel), 1);
    EXPECT_TRUE(p.Timer1.enabled());
    wait(1);
    EXPECT_EQ(windows().pendingDeletes(), 0u);
    EXPECT_EQ(flags().RTCFrmOpen, kTrue);

    // The same inside the first wait: the read still goes out, its reply loads its window hidden.
    Setting410PanelFrm& again = showPanel();
    Runtime::get().callAfter(0.05, [&] { p.Toolbar1.click("RTC"); });
    again.LcdAPOBtn.click();
    EXPECT_EQ(flags().Setting410PanelFrmOpen, kFalse);
    EXPECT_EQ(sent(CmdReadLcdApo), 1);
    wait(1);
    EXPECT_EQ(windows().pendingDeletes(), 0u);
    EXPECT_TRUE(p.Timer1.enabled());
}

}  // namespace
