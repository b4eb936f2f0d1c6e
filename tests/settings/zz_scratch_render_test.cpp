#include <QPixmap>
#include <QWidget>
#include <QMainWindow>
#include "settings/settings_fixture.h"
#include "settings/sonoquant_frm.h"
#include "settings/screen_frm.h"
#include "settings/led_alarm_frm.h"
using namespace sq;
using namespace sqtest;
TEST_F(SettingsTest, scratchRender) {
    Panel& p = startIdentified();
    Setting410PanelFrm& w = showPanel();
    w.SonoquantBtn.click(); wait(0.5);
    p.mainWindow()->grab().save("/tmp/set17_sono_main.png");
    form<SonoquantFrm>().surface()->grab().save("/tmp/set17_sono.png");
    showPanel().ScreenBtn.click(); wait(0.5);
    p.mainWindow()->grab().save("/tmp/set17_screen_main.png");
    form<ScreenFrm>().surface()->grab().save("/tmp/set17_screen.png");
    showPanel().LEDAlarmBtn.click(); wait(0.5);
    form<LEDAlarmFrm>().surface()->grab().save("/tmp/set17_led.png");
    p.mainWindow()->grab().save("/tmp/set17_led_main.png");
    std::printf("main %d x %d\n", p.mainWindow()->width(), p.mainWindow()->height());
}
