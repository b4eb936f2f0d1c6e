#pragma once
// The program against the in-process simulator, identified and idle, with the settings panel at
// hand. The windows of the dose, display-page, LED-alarm, timer, welcome-text and lunch-time
// settings are played by stand-ins where a test asks for them.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "mainwindow/panel_fixture.h"
#include "settings/setting410_panel_frm.h"
#include "support/stand_in_window.h"

namespace sqtest {

class SettingsTest : public PanelTest {
protected:
    sq::Panel& startIdentified() {
        sq::Panel& p = start();
        EXPECT_TRUE(waitFor([&] { return p.ControlListView.itemCount() == 1; }, 3));
        wait(1);
        dialogs->clear();
        sim->clearLog();
        return p;
    }

    // The panel as the toolbar shows it.
    sq::Setting410PanelFrm& showPanel() {
        panel->Toolbar1.click("SettingPanel");
        return sq::form<sq::Setting410PanelFrm>();
    }

    // A setting window opened with its panel button and filled by the instrument's reply; the
    // dialogs and the simulator's log are cleared, so that a test sees only what follows.
    template <class W>
    W& openFromPanel(sq::CommandButton sq::Setting410PanelFrm::*button) {
        (showPanel().*button).click();
        wait(0.5);
        dialogs->clear();
        sim->clearLog();
        return sq::form<W>();
    }

    // Stand-ins for the setting windows that record their loads and fill from no reply.
    void standInsForLaterWindows() {
        using F = sq::OpenFlags;
        const std::pair<const char*, int16_t F::*> later[] = {
            {"SonoquantFrm", &F::SonoquantFrmOpen}, {"ScreenFrm", &F::ScreenFrmOpen},
            {"LEDAlarmFrm", &F::LEDAlarmFrmOpen},   {"TimerFrm", &F::TimerFrmOpen},
            {"WelcomSetFrm", &F::WelcomSetFrmOpen}, {"LunchTimeFrm", &F::LunchTimeFrmOpen},
        };
        for (const auto& [name, flag] : later) sq::registerStandIn(name, &(sq::flags().*flag), log);
    }

    static std::array<int16_t, 7> modeFlags() {
        const sq::OpenFlags& f = sq::flags();
        return {f.OneSetAutoLock, f.OneSetAutoScroll,  f.OneSetLcdApo,      f.OneSetLcdContrast,
                f.OneSetPause,    f.OneSetCalibration, f.OneSetIntervalTime};
    }

    // The data bytes of the last request with `code`, after the line has carried it.
    std::vector<uint8_t> lastRaw(uint8_t code) {
        wait(0.01);
        const auto logged = sim->requestsWithCode(code);
        return logged.empty() ? std::vector<uint8_t>{} : logged.back().raw;
    }

    std::shared_ptr<std::vector<std::string>> log = std::make_shared<std::vector<std::string>>();
};

}  // namespace sqtest
