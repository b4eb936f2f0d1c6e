#include "settings/led_alarm_frm.h"

#include <array>
#include <tuple>

#include "link/requests.h"
#include "platform/dialogs.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"
#include "shared/state.h"

namespace sq {

namespace {

using T = LanguageTexts;

const std::array<std::string T::*, LEDAlarmFrm::kRows> kQuantities = {
    &T::TxtLAS,  &T::TxtLAEQ, &T::TxtLCPK,  &T::TxtLZPK,  &T::TxtLAVG,   &T::TxtTWA,
    &T::TxtPTWA, &T::TxtLEPd, &T::TxtPLEPd, &T::TxtLEX8H, &T::TxtPLEX8H,
};

constexpr int kLabelLeft = 360;
constexpr int kLowerLeft = 2040;
constexpr int kUpperLeft = 3600;
constexpr int kBoxWidth = 1335;
constexpr int kFirstRowTop = 1200;
constexpr int kRowStep = 420;

bool inRange(double limit) {
    return limit >= 70 && limit <= 140;
}

}  // namespace

LEDAlarmFrm::LEDAlarmFrm()
    : ReplyFilledWindow(kName, &flags().LEDAlarmFrmOpen, {6135, 7290}, {5670, 6405}),
      EnabledLbl(SSPanel1.widget(), "Enabled"),
      EnabledCbx(SSPanel1.widget()),
      LowerLimitLbl(SSPanel1.widget(), "Lower Limit"),
      UpperLimitLbl(SSPanel1.widget(), "Upper Limit"),
      LasLbl(SSPanel1.widget(), "LAS"),
      LaeqLb(SSPanel1.widget(), "LAEQ"),
      LcpkLb(SSPanel1.widget(), "LCPK"),
      LzpkLb(SSPanel1.widget(), "LZPK"),
      LavgLbl(SSPanel1.widget(), "LAVG"),
      TwaLbl(SSPanel1.widget(), "TWA"),
      PtwaLbl(SSPanel1.widget(), "PTWA"),
      LepdLbl(SSPanel1.widget(), "LEPd"),
      PLepdLbl(SSPanel1.widget(), "PLEPd"),
      Lex8hLbl(SSPanel1.widget(), "LEX8H"),
      Plex8hLbl(SSPanel1.widget(), "PLEX8H"),
      LEDAlarmBtn(SSPanel1.widget(), "Set"),
      ExitBtn(SSPanel1.widget(), "Exit") {
    EnabledLbl.Move(kLabelLeft, 270, 1500, 300);
    EnabledCbx.Move(kLowerLeft, 240, kBoxWidth, 315);
    LowerLimitLbl.Move(kLowerLeft, 840, kBoxWidth, 300);
    UpperLimitLbl.Move(kUpperLeft, 840, kBoxWidth, 300);
    Label* rowLabels[kRows] = {&LasLbl,  &LaeqLb,  &LcpkLb,   &LzpkLb,   &LavgLbl,  &TwaLbl,
                               &PtwaLbl, &LepdLbl, &PLepdLbl, &Lex8hLbl, &Plex8hLbl};
    for (int i = 0; i < kRows; ++i) {
        const int top = kFirstRowTop + kRowStep * i;
        rowLabels[i]->Move(kLabelLeft, top + 30, 1500, 300);
        for (auto [boxes, left, text] :
             {std::tuple{&LowerTxt, kLowerLeft, "80"}, std::tuple{&UpperTxt, kUpperLeft, "120"}}) {
            TextBox& box = boxes->add(SSPanel1.widget(), text);
            box.Move(left, top, kBoxWidth, 315);
            box.setMaxLength(3);
            makeNumberBox(box);
        }
    }
    LEDAlarmBtn.Move(kLowerLeft, 5880, kBoxWidth, 375);
    ExitBtn.Move(kUpperLeft, 5880, kBoxWidth, 375);
    LEDAlarmBtn.onClick = [this] { LEDAlarmBtn_Click(); };
    ExitBtn.onClick = [this] { Unload(); };
}

void LEDAlarmFrm::nameControls(TextApplier& applier) {
    const std::pair<const char*, Label*> labels[] = {
        {"EnabledLbl", &EnabledLbl},
        {"LowerLimitLbl", &LowerLimitLbl},
        {"UpperLimitLbl", &UpperLimitLbl},
        {"LasLbl", &LasLbl},
        {"LaeqLb", &LaeqLb},
        {"LcpkLb", &LcpkLb},
        {"LzpkLb", &LzpkLb},
        {"LavgLbl", &LavgLbl},
        {"TwaLbl", &TwaLbl},
        {"PtwaLbl", &PtwaLbl},
        {"LepdLbl", &LepdLbl},
        {"PLepdLbl", &PLepdLbl},
        {"Lex8hLbl", &Lex8hLbl},
        {"Plex8hLbl", &Plex8hLbl},
    };
    for (auto [name, label] : labels)
        applier.caption(name, [label](const std::string& t) { label->setCaption(t); });
}

void LEDAlarmFrm::Form_Load() {
    loadFrame();
    EnabledCbx.Clear();
    EnabledCbx.AddItem(texts().TxtOFF);
    EnabledCbx.AddItem(texts().TxtON);
}

std::string LEDAlarmFrm::alarmname(int index) const {
    if (index < 0 || index >= kRows) return {};
    return texts().*kQuantities[static_cast<size_t>(index)];
}

// Row by row, lower before upper; the first box out of range shows its message.
bool LEDAlarmFrm::limitsInRange() const {
    for (int i = 0; i < kRows; ++i) {
        if (!inRange(leadingNumber(LowerTxt(i).Text()))) {
            msgBox(alarmname(i) + texts().TxtLowerLimitRange, MsgButtons::OK, MsgIcon::Critical);
            return false;
        }
        if (!inRange(leadingNumber(UpperTxt(i).Text()))) {
            msgBox(alarmname(i) + texts().TxtUpperLimitRange, MsgButtons::OK, MsgIcon::Critical);
            return false;
        }
    }
    return true;
}

void LEDAlarmFrm::LEDAlarmBtn_Click() {
    if (refuseWhileErasing()) return;
    if (refuseUntilFilledByReply()) return;
    if (!limitsInRange()) return;
    KeptSetting<AlarmLimits>& kept = keptSettings().alarmLimits;
    AlarmLimits& limits = kept.record;
    runSetSteps(
        SetErrorPolicy::PassOver,
        {[&] { limits.Enabled = toByte(EnabledCbx.ListIndex()); },
         [&] {
             for (int i = 0; i < kRows; ++i) {
                 skipOnError([&] { limits.LowerLimit[i] = toInt16(leadingNumber(LowerTxt(i).Text())); });
                 skipOnError([&] { limits.UpperLimit[i] = toInt16(leadingNumber(UpperTxt(i).Text())); });
             }
             kept.filledBySet = true;
         },
         [&] { WriteLedAlarm(limits); }});
}

}  // namespace sq
