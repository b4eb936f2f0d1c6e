#include "settings/lunch_time_frm.h"

#include <vector>

#include "link/requests.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"
#include "shared/state.h"

namespace sq {

LunchTimeFrm::LunchTimeFrm()
    : SettingWindow(kName, &flags().LunchTimeFrmOpen, {4215, 4320}, {3735, 3780}),
      LblEn(SSPanel1.widget(), "Enabled"),
      CbxEn(SSPanel1.widget()),
      FrmStart(SSPanel1.widget(), "Start"),
      LblStartHour(FrmStart.widget(), "Hour"),
      LblStartMinute(FrmStart.widget(), "Minute"),
      CbxStartHour(FrmStart.widget(), ComboStyle::Typeable),
      CbxStartMinute(FrmStart.widget(), ComboStyle::Typeable),
      FrmStop(SSPanel1.widget(), "Stop"),
      LblStopHour(FrmStop.widget(), "Hour"),
      LblStopMinute(FrmStop.widget(), "Minute"),
      CbxStopHour(FrmStop.widget(), ComboStyle::Typeable),
      CbxStopMinute(FrmStop.widget(), ComboStyle::Typeable),
      BtnSet(SSPanel1.widget(), "Set"),
      BtnExit(SSPanel1.widget(), "Exit") {
    setCaption("LunchTime");
    LblEn.Move(240, 270, 1320, 300);
    CbxEn.Move(1680, 240, 1815, 315);
    const std::pair<Frame*, int> frames[] = {{&FrmStart, 720}, {&FrmStop, 1980}};
    for (auto [frame, top] : frames) frame->Move(240, top, 3255, 1140);
    Label* labels[] = {&LblStartHour, &LblStartMinute, &LblStopHour, &LblStopMinute};
    ComboList* lists[] = {&CbxStartHour, &CbxStartMinute, &CbxStopHour, &CbxStopMinute};
    for (int i = 0; i < 4; ++i) {
        const int top = i % 2 == 0 ? 330 : 720;
        labels[i]->Move(240, top + 30, 1320, 300);
        ComboList& list = *lists[i];
        list.Move(1440, top, 1335, 315);
        // Typing leaves the list without a chosen item, as a classic drop-down combo does.
        list.onChange = [&list] { list.setListIndex(-1); };
    }
    BtnSet.Move(480, 3270, 1215, 375);
    BtnExit.Move(2040, 3270, 1215, 375);
    BtnSet.onClick = [this] { BtnSet_Click(); };
    BtnExit.onClick = [this] { Unload(); };
}

void LunchTimeFrm::nameControls(TextApplier& applier) {
    const std::pair<const char*, Label*> labels[] = {{"LblEn", &LblEn},
                                                     {"LblStartHour", &LblStartHour},
                                                     {"LblStartMinute", &LblStartMinute},
                                                     {"LblStopHour", &LblStopHour},
                                                     {"LblStopMinute", &LblStopMinute}};
    for (auto [name, label] : labels)
        applier.caption(name, [label](const std::string& t) { label->setCaption(t); });
    const std::pair<const char*, ComboList*> lists[] = {{"CbxEn", &CbxEn},
                                                        {"CbxStartHour", &CbxStartHour},
                                                        {"CbxStartMinute", &CbxStartMinute},
                                                        {"CbxStopHour", &CbxStopHour},
                                                        {"CbxStopMinute", &CbxStopMinute}};
    for (auto [name, list] : lists)
        applier.items(name, [list](const std::vector<std::string>& items) { refillList(*list, items); });
    applier.caption("FrmStart", [this](const std::string& t) { FrmStart.setCaption(t); })
        .caption("FrmStop", [this](const std::string& t) { FrmStop.setCaption(t); })
        .caption("BtnSet", [this](const std::string& t) { BtnSet.setCaption(t); })
        .caption("BtnExit", [this](const std::string& t) { BtnExit.setCaption(t); });
}

void LunchTimeFrm::Form_Load() {
    applyTexts();
    try {
        setWindowState(WindowState::Maximized);
    } catch (const VbError&) {
    }
}

// Byte by byte into the kept record; a list without a chosen item ends the Set there, quietly, with
// nothing sent and the bytes before it kept.
void LunchTimeFrm::BtnSet_Click() {
    KeptSetting<LunchTime>& kept = keptSettings().lunchTime;
    LunchTime& lunch = kept.record;
    runSetSteps(SetErrorPolicy::ResumeQuietly, {[&] {
                                                    lunch.En = toByte(CbxEn.ListIndex());
                                                    lunch.StartHour = toByte(CbxStartHour.ListIndex());
                                                    lunch.StartMinute = toByte(CbxStartMinute.ListIndex());
                                                    lunch.Spare1 = 0;
                                                    lunch.StopHour = toByte(CbxStopHour.ListIndex());
                                                    lunch.StopMinute = toByte(CbxStopMinute.ListIndex());
                                                    lunch.Spare2 = 0;
                                                    kept.filledBySet = true;
                                                },
                                                [&] { WriteLunchTime(lunch); }});
}

}  // namespace sq
