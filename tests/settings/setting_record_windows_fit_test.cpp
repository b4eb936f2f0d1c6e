// The dose, display-page and LED-alarm windows at their default size: every text whole.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionComboBox>

#include "settings/led_alarm_frm.h"
#include "settings/lunch_time_frm.h"
#include "settings/screen_frm.h"
#include "settings/settings_fixture.h"
#include "settings/sonoquant_frm.h"
#include "settings/timer_frm.h"
#include "settings/welcom_set_frm.h"
#include "support/setting_window_support.h"
#include "support/text_fit.h"

using namespace sq;

namespace {

using SettingRecordWindowsFitTest = sqtest::SettingsTest;

// Every item of a list fits the field the list draws its selection in.
bool itemsShowWhole(const QComboBox& box, std::string& widest) {
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.frame = box.hasFrame();
    const QRect field =
        box.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &box);
    bool whole = true;
    for (int i = 0; i < box.count(); ++i) {
        if (box.fontMetrics().horizontalAdvance(box.itemText(i)) > field.width() - 2) {
            widest += box.itemText(i).toStdString() + " ";
            whole = false;
        }
    }
    return whole;
}

// Labels, buttons and lists inside the window's panel (`nested`: also inside the panel's frames and
// inner panels), each shown whole and inside its container.
void expectTextsWhole(SettingWindow& w, bool nested = false, int atLeast = 10) {
    QWidget* panel = w.SSPanel1.widget();
    int checked = 0;
    const auto depth = nested ? Qt::FindChildrenRecursively : Qt::FindDirectChildrenOnly;
    for (QWidget* child : panel->findChildren<QWidget*>(depth)) {
        const bool text = qobject_cast<QLabel*>(child) || qobject_cast<QPushButton*>(child) ||
                          qobject_cast<QComboBox*>(child);
        if (!text || !child->isVisibleTo(panel)) continue;
        ++checked;
        EXPECT_TRUE(sqtest::insideParent(*child)) << child->objectName().toStdString();
        if (auto* label = qobject_cast<QLabel*>(child); label && label->text().isEmpty()) continue;
        if (auto* box = qobject_cast<QComboBox*>(child)) {
            std::string cut;
            EXPECT_TRUE(itemsShowWhole(*box, cut))
                << w.name() << ": list at " << child->x() << "," << child->y() << " cuts " << cut;
            continue;
        }
        EXPECT_TRUE(sqtest::showsWhole(*child))
            << w.name() << ": " << child->metaObject()->className() << " at " << child->x() << ","
            << child->y() << " needs " << child->sizeHint().width() << " has " << child->width();
    }
    EXPECT_GT(checked, atLeast);
}

TEST_F(SettingRecordWindowsFitTest, everyTextShowsWhole) {
    startIdentified();
    Setting410PanelFrm& w = showPanel();
    w.SonoquantBtn.click();
    SonoquantFrm& dose = form<SonoquantFrm>();
    sqtest::pick(dose.Meter3EnCbx, "Enabled");
    expectTextsWhole(dose);
    showPanel().ScreenBtn.click();
    expectTextsWhole(form<ScreenFrm>());
    showPanel().LEDAlarmBtn.click();
    expectTextsWhole(form<LEDAlarmFrm>());
}

TEST_F(SettingRecordWindowsFitTest, timerWelcomeAndLunchTextsShowWholeInEveryModePanel) {
    startIdentified();
    showPanel().TimersBtn.click();
    TimerFrm& timer = form<TimerFrm>();
    for (const char* mode : {"Manually", "Delay", "Repeat", "PC"}) {
        SCOPED_TRACE(mode);
        sqtest::pick(timer.TimerManuallyCbx, mode);
        expectTextsWhole(timer, true, 4);
    }
    showPanel().WelcomInputBtn.click();
    expectTextsWhole(form<WelcomSetFrm>(), true, 1);
    showPanel().BtnLunchTime.click();
    expectTextsWhole(form<LunchTimeFrm>(), true, 10);
}

}  // namespace
