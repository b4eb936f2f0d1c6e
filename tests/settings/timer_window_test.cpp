// The timer window: its panels and rows, the checks of its Set button, the table it keeps and the
// first frame it sends; one upload at a time.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QScrollArea>
#include <functional>

#include "link/requests.h"
#include "platform/ui/twips.h"
#include "settings/settings_fixture.h"
#include "settings/timer_frm.h"
#include "support/setting_window_support.h"

using namespace sq;
using sqtest::pick;

namespace {

class TimerWindowTest : public sqtest::SettingsTest {
protected:
    // The window filled from the simulator (mode "Manually", every PC row 0:00 for 0 minutes).
    TimerFrm& openFilled() {
        TimerFrm& f = openFromPanel<TimerFrm>(&Setting410PanelFrm::TimersBtn);
        EXPECT_EQ(f.TimerManuallyCbx.Text(), "Manually");
        return f;
    }
    // Clicks Set with polling paused, so that "polling untouched" shows as polling still paused.
    void setWithPollingPaused(TimerFrm& f) {
        DisablePollTimers();
        f.TimerBtn.click();
    }
    // Nothing kept, sent or pending after a refused Set, and polling left as it was (paused).
    void expectRefused(const KeptSetting<TimerSettings>& keptBefore) {
        EXPECT_EQ(keptSettings().timer.record, keptBefore.record);
        EXPECT_EQ(keptSettings().timer.filledBySet, keptBefore.filledBySet);
        EXPECT_EQ(sent(CmdWriteTimerSettings1), 0);
        EXPECT_EQ(flags().TimerSetPending, kFalse);
        EXPECT_FALSE(panel->Timer1.enabled()) << "polling untouched";
    }
};

TEST_F(TimerWindowTest, freshWindowShowsThePcPanelWithDisabledRowsAndTheModeSwitchesPanels) {
    startIdentified();
    sim->setSilent(true);
    showPanel().TimersBtn.click();
    TimerFrm& f = form<TimerFrm>();
    EXPECT_EQ(f.Caption(), "Time");
    EXPECT_EQ(f.TimerManuallyCbx.ListCount(), 4);
    EXPECT_EQ(f.TimerManuallyCbx.ListIndex(), -1);
    EXPECT_EQ(f.RepeatCntCbx.ListCount(), 99);
    EXPECT_EQ(f.PCRepeatCbx.List(98), "99");
    EXPECT_EQ(f.PCRepeatCbx.ListIndex(), -1);
    EXPECT_EQ(f.DelayDurHourCbx.List(23), "23");
    EXPECT_EQ(f.DelayDurMinCbx.List(5), "05");
    EXPECT_EQ(f.DelayYearTxt.Text() + "/" + f.DelayMonthTxt.Text() + "/" + f.DelayDayTxt.Text(), "2016/4/1");
    EXPECT_TRUE(f.PcPic.Visible());
    EXPECT_FALSE(f.ManuallyPic.Visible());
    EXPECT_FALSE(f.RepeatPic.Visible());
    EXPECT_EQ(f.PcStartHour(15).Text(), "0");
    EXPECT_FALSE(f.PcStopMinute(15).Enabled());

    const std::pair<const char*, Panel3D*> modes[] = {
        {"Delay", &f.ManuallyPic}, {"Repeat", &f.RepeatPic}, {"PC", &f.PcPic}, {"Manually", nullptr}};
    for (auto [mode, shown] : modes) {
        pick(f.TimerManuallyCbx, mode);
        for (Panel3D* pic : {&f.ManuallyPic, &f.RepeatPic, &f.PcPic})
            EXPECT_EQ(pic->Visible(), pic == shown) << mode;
    }

    f.PcEnCkx(4).click();
    EXPECT_TRUE(f.PcStartHour(4).Enabled() && f.PcStopMinute(4).Enabled());
    EXPECT_FALSE(f.PcStartHour(5).Enabled());
    f.PcEnCkx(4).click();
    EXPECT_FALSE(f.PcStartMinute(4).Enabled() || f.PcStopHour(4).Enabled());

    f.DelayYearTxt.setText("");
    f.DelayYearTxt.type("20a1-67");
    EXPECT_EQ(f.DelayYearTxt.Text(), "2016");
    f.PcStartHour(0).setText("");
    f.PcStartHour(0).type("123");
    EXPECT_EQ(f.PcStartHour(0).Text(), "12");
}

// The timer window opens maximised as every setting window does. Its panel is taller than the main
// window's work area at the main window's minimum size: the window scrolls to its last row and
// back to its buttons instead of cutting them.
TEST_F(TimerWindowTest, opensMaximisedAndScrollsWhereTheWorkAreaIsLowerThanItsPanel) {
    startAtMinimumSize();
    ASSERT_TRUE(waitForSupportedModel());
    TimerFrm& f = openFromPanel<TimerFrm>(&Setting410PanelFrm::TimersBtn);
    QApplication::processEvents();
    EXPECT_EQ(f.windowState(), WindowState::Maximized);
    const QWidget* area = panel->mdiArea()->viewport();
    ASSERT_LT(area->height(), toPixels(f.minimumSize().height)) << "the work area is lower than the window";
    auto* scroll = f.surface()->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_TRUE(scroll->widget()->rect().contains(f.SSPanel1.widget()->geometry()))
        << "nothing of the panel cut";
    // The window, the part the user sees, lies inside the work area (not under the status bar).
    const QRect window(f.surface()->mapTo(area, QPoint(0, 0)), f.surface()->size());
    EXPECT_TRUE(area->rect().contains(window));
    const auto inView = [&](QWidget* w) {
        QApplication::processEvents();
        const QRect r(w->mapTo(scroll->viewport(), QPoint(0, 0)), w->size());
        return scroll->viewport()->rect().contains(r);
    };
    for (QWidget* w : {f.PcEnCkx(15).widget(), f.PcStopMinute(15).widget(), f.ExitBtn.widget(),
                       f.TimerManuallyCbx.widget()}) {
        scroll->ensureWidgetVisible(w, 0, 0);
        EXPECT_TRUE(inView(w)) << w->objectName().toStdString();
    }
}

TEST_F(TimerWindowTest, everyBoxIsCheckedWhateverTheModeFirstFailureFirstAndErasingAfterTheRanges) {
    struct Case {
        const char* name;
        std::function<void(TimerFrm&)> change;
        std::string message;  // empty: the Set passes and sends
    };
    using F = TimerFrm&;
    const Case cases[] = {
        {"year 2016, day 31, empty hour",
         [](F f) { f.DelayYearTxt.setText("2016"), f.DelayDayTxt.setText("31"), f.DelayHourTxt.setText(""); },
         ""},
        {"year 2100", [](F f) { f.DelayYearTxt.setText("2100"); }, ""},
        {"year 2015 in mode Manually", [](F f) { f.DelayYearTxt.setText("2015"); },
         "Delay Year Range : 2016 ~ 2100 !!!"},
        {"year 2101", [](F f) { f.DelayYearTxt.setText("2101"); }, "Delay Year Range : 2016 ~ 2100 !!!"},
        {"empty year", [](F f) { f.DelayYearTxt.setText(""); }, "Delay Year Range : 2016 ~ 2100 !!!"},
        {"month 0", [](F f) { f.DelayMonthTxt.setText("0"); }, "Delay Month Range : 1 ~ 12 !!!"},
        {"month 13", [](F f) { f.DelayMonthTxt.setText("13"); }, "Delay Month Range : 1 ~ 12 !!!"},
        {"day 32", [](F f) { f.DelayDayTxt.setText("32"); }, "Delay Day Range : 1 ~ 31 !!!"},
        {"hour 24", [](F f) { f.DelayHourTxt.setText("24"); }, "Delay Hour Range : 0 ~ 23 !!!"},
        {"minute 60", [](F f) { f.DelayMinuteTxt.setText("60"); }, "Delay Minute Range : 0 ~ 59 !!!"},
        {"repeat start hour", [](F f) { f.RepeatStartHourTxt.setText("24"); },
         "Repeat Start Hour Range : 0 ~ 23 !!!"},
        {"repeat start minute", [](F f) { f.RepeatStartMinuteTxt.setText("60"); },
         "Repeat Start Minute Range : 0 ~ 59 !!!"},
        {"repeat stop hour", [](F f) { f.RepeatStopHourTxt.setText("24"); },
         "Repeat Stop Hour Range : 0 ~ 23 !!!"},
        {"repeat stop minute", [](F f) { f.RepeatStopMinuteTxt.setText("60"); },
         "Repeat Stop Minute Range : 0 ~ 59 !!!"},
        {"an unticked row's start hour", [](F f) { f.PcStartHour(7).setText("24"); },
         "PC Start Hour Range : 0 ~ 23 !!!"},
        {"the last row's start minute", [](F f) { f.PcStartMinute(15).setText("60"); },
         "PC Start Minute Range : 0 ~ 59 !!!"},
        {"a row's stop hour", [](F f) { f.PcStopHour(3).setText("24"); }, "PC Stop Hour Range : 0 ~ 23 !!!"},
        {"a row's stop minute", [](F f) { f.PcStopMinute(9).setText("60"); },
         "PC Stop Minute Range : 0 ~ 59 !!!"},
        {"row 0 whole before row 1",
         [](F f) { f.PcStopMinute(0).setText("60"), f.PcStartHour(1).setText("24"); },
         "PC Stop Minute Range : 0 ~ 59 !!!"},
        {"the table's order, not the screen's",
         [](F f) {
             f.PcStartHour(0).setText("24"), f.RepeatStopMinuteTxt.setText("60"),
                 f.DelayMonthTxt.setText("13");
         },
         "Delay Month Range : 1 ~ 12 !!!"},
        {"erasing with a bad month",
         [](F f) { f.DelayMonthTxt.setText("13"), flags().MemoryErasing = kTrue; },
         "Delay Month Range : 1 ~ 12 !!!"},
        {"erasing", [](F) { flags().MemoryErasing = kTrue; }, "Memory Erasing ..."},
    };
    startIdentified();
    TimerFrm& f = openFilled();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.DelayYearTxt.setText("2026"), f.DelayMonthTxt.setText("1"), f.DelayDayTxt.setText("5");
        f.DelayHourTxt.setText("8"), f.DelayMinuteTxt.setText("0");
        for (TextBox* box :
             {&f.RepeatStartHourTxt, &f.RepeatStartMinuteTxt, &f.RepeatStopHourTxt, &f.RepeatStopMinuteTxt})
            box->setText("1");
        for (int j = 0; j < TimerFrm::kPcRows; ++j)
            for (auto* column : {&f.PcStartHour, &f.PcStartMinute, &f.PcStopHour, &f.PcStopMinute})
                (*column)(j).setText("0");
        c.change(f);
        const KeptSetting<TimerSettings> kept = keptSettings().timer;
        dialogs->clear();
        sim->clearLog();
        setWithPollingPaused(f);
        flags().MemoryErasing = kFalse;
        if (c.message.empty()) {
            EXPECT_TRUE(dialogs->records.empty());
            EXPECT_EQ(sent(CmdWriteTimerSettings1), 1);
            EXPECT_TRUE(panel->Timer1.enabled());
            wait(1);  // the upload ends
            EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}));
        } else {
            EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{c.message}));
            EXPECT_EQ(dialogs->messages()[0].icon, MsgIcon::Critical);
            expectRefused(kept);
        }
        EnablePollTimers();
    }
}

TEST_F(TimerWindowTest, delayExampleGivesTheFirstFrameByteForByteAndKeepsTheWholeTable) {
    startIdentified();
    TimerFrm& f = openFilled();
    pick(f.TimerManuallyCbx, "Delay");
    f.DelayYearTxt.setText("2024"), f.DelayMonthTxt.setText("05"), f.DelayDayTxt.setText("6");
    f.DelayHourTxt.setText("7"), f.DelayMinuteTxt.setText("8");
    pick(f.DelayDurHourCbx, "01");
    pick(f.DelayDurMinCbx, "30");
    f.RepeatStartHourTxt.setText("4"), f.RepeatStartMinuteTxt.setText("1");
    f.RepeatStopHourTxt.setText("4"), f.RepeatStopMinuteTxt.setText("1");
    pick(f.RepeatCntCbx, "1");
    shared().ReplyWaitTicks = 123;
    f.TimerBtn.click();
    std::vector<uint8_t> frame = {0x02, 0x00, 0x2F, 0x8A, 0x01, 0x07, 0xE8, 0x05, 0x06, 0x07, 0x08,
                                  0x00, 0x00, 0x00, 0x5A, 0x04, 0x01, 0x00, 0x00, 0x00, 0xF1, 0x01};
    frame.insert(frame.end(), 28, 0x00);
    frame.push_back(0xE8);
    const auto firsts = sim->requestsWithCode(CmdWriteTimerSettings1);
    ASSERT_EQ(firsts.size(), 1u);
    EXPECT_EQ(firsts[0].raw, frame);
    const KeptSetting<TimerSettings>& kept = keptSettings().timer;
    EXPECT_TRUE(kept.filledBySet);
    EXPECT_EQ(kept.record.Mode, 1);
    EXPECT_EQ(kept.record.DelayDuration, 90);
    EXPECT_EQ(kept.record.RepeatStop, 241);
    EXPECT_LT(shared().ReplyWaitTicks, 5) << "the upload counts its own time-out";
}

TEST_F(TimerWindowTest, theCountComesFromThePcListOnlyInModePcAndRowsGoAsShownTickedOrNot) {
    struct Case {
        const char* mode;
        uint8_t count;
    };
    const Case cases[] = {{"PC", 99}, {"Manually", 3}, {"Delay", 3}, {"Repeat", 3}};
    startIdentified();
    TimerFrm& f = openFilled();
    pick(f.RepeatCntCbx, "3");
    pick(f.PCRepeatCbx, "99");
    f.PcEnCkx(0).click();
    f.PcStartHour(0).setText("12"), f.PcStartMinute(0).setText("34");
    f.PcStopHour(0).setText("23"), f.PcStopMinute(0).setText("59");
    f.PcStartHour(3).setText("1"), f.PcStartMinute(3).setText("2"), f.PcStopMinute(3).setText("30");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        pick(f.TimerManuallyCbx, c.mode);
        sim->clearLog();
        f.TimerBtn.click();
        const std::vector<uint8_t> raw = lastRaw(CmdWriteTimerSettings1);
        ASSERT_EQ(raw.size(), 51u);
        EXPECT_EQ(raw[4 + 17], c.count);
        EXPECT_EQ(std::vector<uint8_t>(raw.begin() + 22, raw.begin() + 29),
                  (std::vector<uint8_t>{12, 34, 0x00, 0x00, 0x05, 0x9F, 1}));
        EXPECT_EQ(std::vector<uint8_t>(raw.begin() + 43, raw.begin() + 50),
                  (std::vector<uint8_t>{1, 2, 0, 0, 0, 30, 0}));
        wait(1);
    }
}

TEST_F(TimerWindowTest, aRowOf24HoursFromTheInstrumentBlocksTheSetTickedOrNot) {
    sim->state().timerTable[20 + 14 + 2] = 0x05;
    sim->state().timerTable[20 + 14 + 3] = 0xA0;  // row 2: 1440 minutes
    startIdentified();
    TimerFrm& f = openFilled();
    EXPECT_EQ(f.PcStopHour(2).Text() + ":" + f.PcStopMinute(2).Text(), "24:0");
    for (int ticked : {0, 1}) {
        if (ticked) f.PcEnCkx(2).click();
        dialogs->clear();
        f.TimerBtn.click();
        EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"PC Stop Hour Range : 0 ~ 23 !!!"}));
        EXPECT_EQ(sent(CmdWriteTimerSettings1), 0);
    }
}

TEST_F(TimerWindowTest, noModeOrNoDelayDurationIsASetErrorAfterTheChecks) {
    struct Case {
        const char* name;
        std::function<void(TimerFrm&)> choose;
        std::string message;
    };
    using F = TimerFrm&;
    const Case cases[] = {
        {"nothing chosen (no reply came)", [](F) {}, "Set Error !!!"},
        {"a mode, no duration", [](F f) { pick(f.TimerManuallyCbx, "Delay"); }, "Set Error !!!"},
        {"a duration, no mode", [](F f) { pick(f.DelayDurHourCbx, "01"), pick(f.DelayDurMinCbx, "00"); },
         "Set Error !!!"},
        {"hours but no minutes", [](F f) { pick(f.TimerManuallyCbx, "PC"), pick(f.DelayDurHourCbx, "01"); },
         "Set Error !!!"},
        {"the ranges come first", [](F f) { f.DelayYearTxt.setText("2015"); },
         "Delay Year Range : 2016 ~ 2100 !!!"},
        {"and the erasing refusal", [](F) { flags().MemoryErasing = kTrue; }, "Memory Erasing ..."},
    };
    startIdentified();
    sim->setSilent(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        showPanel().TimersBtn.click();
        wait(1);
        TimerFrm& f = form<TimerFrm>();
        c.choose(f);
        dialogs->clear();
        sim->clearLog();
        setWithPollingPaused(f);
        flags().MemoryErasing = kFalse;
        EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{c.message}));
        expectRefused({});
        EnablePollTimers();
    }
}

TEST_F(TimerWindowTest, aSecondSetDuringAnUploadIsRefusedBeforeAnyCheck) {
    startIdentified();
    TimerFrm& f = openFilled();
    sim->dropReply(1, CmdWriteTimerSettings1);
    f.TimerBtn.click();
    wait(0.5);
    ASSERT_EQ(flags().TimerSetPending, kTrue);
    const TimerSettings first = keptSettings().timer.record;
    pick(f.TimerManuallyCbx, "PC");
    f.DelayYearTxt.setText("1999");
    f.TimerBtn.click();
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set Error !!!"}));
    EXPECT_EQ(dialogs->messages()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(sent(CmdWriteTimerSettings1), 1);
    EXPECT_EQ(keptSettings().timer.record, first);
}

}  // namespace
