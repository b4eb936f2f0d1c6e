#include "settings/timer_frm.h"

#include <vector>

#include "link/requests.h"
#include "platform/dialogs.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace sq {

namespace {

using T = LanguageTexts;

constexpr int kPanelTop = 720;
constexpr int kPanelWidth = 5295;
constexpr int kPanelHeight = 7560;
constexpr int kLabelLeft = 240;
constexpr int kBoxLeft = 1680;
constexpr int kBoxWidth = 900;
constexpr int kRowStep = 420;
// The PC table: one row every 390 twips inside frames 6840 high.
constexpr int kPcFrameTop = 600;
constexpr int kPcFrameHeight = 6840;
constexpr int kPcFirstRowTop = 540;
constexpr int kPcRowStep = 390;

// One number box and the range its number must lie in.
struct RangeCheck {
    const TextBox* box;
    int low;
    int high;
    std::string T::*message;
};

void numberBox(TextBox& box, int maxLength) {
    box.setMaxLength(maxLength);
    makeNumberBox(box);
}

double numberOf(const TextBox& box) {
    return leadingNumber(box.Text());
}

}  // namespace

TimerFrm::TimerFrm()
    : SettingWindow(kName, &flags().TimerFrmOpen, {5760, 9000}, {5535, 8400}),
      ModeLbl(SSPanel1.widget(), "Mode"),
      TimerManuallyCbx(SSPanel1.widget()),
      TimerBtn(SSPanel1.widget(), "Set"),
      ExitBtn(SSPanel1.widget(), "Exit"),
      ManuallyPic(SSPanel1.widget(), {}, Panel3D::Bevel::None),
      DelayYearLbl(ManuallyPic.widget(), "Year"),
      DelayMonthLbl(ManuallyPic.widget(), "Month"),
      DelayDayLbl(ManuallyPic.widget(), "Day"),
      DelayHourLbl(ManuallyPic.widget(), "Hour"),
      DelayMinuteLbl(ManuallyPic.widget(), "Minute"),
      DelayYearTxt(ManuallyPic.widget(), "2016"),
      DelayMonthTxt(ManuallyPic.widget(), "4"),
      DelayDayTxt(ManuallyPic.widget(), "1"),
      DelayHourTxt(ManuallyPic.widget(), "4"),
      DelayMinuteTxt(ManuallyPic.widget(), "1"),
      DelayDurLbl(ManuallyPic.widget(), "Duration"),
      DelayDurHourLbl(ManuallyPic.widget(), "Hour"),
      DelayDurMinuteLbl(ManuallyPic.widget(), "Minute"),
      DelayDurHourCbx(ManuallyPic.widget()),
      DelayDurMinCbx(ManuallyPic.widget()),
      RepeatPic(SSPanel1.widget(), {}, Panel3D::Bevel::None),
      RepeatCntLbl(RepeatPic.widget(), "Repeat"),
      RepeatCntCbx(RepeatPic.widget()),
      RepeatStartTimeSSF(RepeatPic.widget(), "Start Time"),
      RepeatStartHourLbl(RepeatStartTimeSSF.widget(), "Hour"),
      RepeatStartMinuteLbl(RepeatStartTimeSSF.widget(), "Minute"),
      RepeatStartHourTxt(RepeatStartTimeSSF.widget(), "4"),
      RepeatStartMinuteTxt(RepeatStartTimeSSF.widget(), "1"),
      RepeatStopTimeSSF(RepeatPic.widget(), "Duration"),
      RepeatStopHourLbl(RepeatStopTimeSSF.widget(), "Hour"),
      RepeatStopMinuteLbl(RepeatStopTimeSSF.widget(), "Minute"),
      RepeatStopHourTxt(RepeatStopTimeSSF.widget(), "4"),
      RepeatStopMinuteTxt(RepeatStopTimeSSF.widget(), "1"),
      PcPic(SSPanel1.widget(), {}, Panel3D::Bevel::None),
      PCRepeatLbl(PcPic.widget(), "Repeat"),
      PCRepeatCbx(PcPic.widget()),
      StartSSF(PcPic.widget(), "Start"),
      PcStartHourLbl(StartSSF.widget(), "Hour"),
      PcStartMinuteLbl(StartSSF.widget(), "Minute"),
      StopSSF(PcPic.widget(), "Duration"),
      PcStopHourLbl(StopSSF.widget(), "Hour"),
      PcStopMinuteLbl(StopSSF.widget(), "Minute"),
      EnabledSSF(PcPic.widget(), "En") {
    m_panelTopFirst = true;
    ModeLbl.Move(kLabelLeft, 270, 780, 300);
    TimerManuallyCbx.Move(1080, 240, 1575, 315);
    TimerBtn.Move(2880, 210, 1200, 375);
    ExitBtn.Move(4200, 210, 1095, 375);
    for (Panel3D* pic : {&ManuallyPic, &RepeatPic, &PcPic})
        pic->Move(120, kPanelTop, kPanelWidth, kPanelHeight);
    placeDelayPanel();
    placeRepeatPanel();
    placePcPanel();
    ManuallyPic.setVisible(false);
    RepeatPic.setVisible(false);

    TimerManuallyCbx.onClick = [this] { TimerManuallyCbx_Click(); };
    TimerBtn.onClick = [this] { TimerBtn_Click(); };
    ExitBtn.onClick = [this] { Unload(); };
}

void TimerFrm::placeDelayPanel() {
    const std::pair<Label*, TextBox*> rows[] = {{&DelayYearLbl, &DelayYearTxt},
                                                {&DelayMonthLbl, &DelayMonthTxt},
                                                {&DelayDayLbl, &DelayDayTxt},
                                                {&DelayHourLbl, &DelayHourTxt},
                                                {&DelayMinuteLbl, &DelayMinuteTxt}};
    int top = 240;
    for (auto [label, box] : rows) {
        label->Move(kLabelLeft, top + 30, 1320, 300);
        box->Move(kBoxLeft, top, kBoxWidth, 315);
        numberBox(*box, box == &DelayYearTxt ? 4 : 2);
        top += kRowStep;
    }
    DelayDurLbl.Move(kLabelLeft, 2520, 1320, 300);
    DelayDurHourLbl.Move(480, 2970, 1080, 300);
    DelayDurHourCbx.Move(kBoxLeft, 2940, kBoxWidth, 315);
    DelayDurMinuteLbl.Move(480, 3390, 1080, 300);
    DelayDurMinCbx.Move(kBoxLeft, 3360, kBoxWidth, 315);
    fillNumbers(DelayDurHourCbx, 0, 23, 1, true);
    fillNumbers(DelayDurMinCbx, 0, 59, 1, true);
}

void TimerFrm::placeRepeatPanel() {
    RepeatCntLbl.Move(kLabelLeft, 270, 1320, 300);
    RepeatCntCbx.Move(kBoxLeft, 240, kBoxWidth, 315);
    const int frameTops[2] = {840, 2400};
    Frame* frames[2] = {&RepeatStartTimeSSF, &RepeatStopTimeSSF};
    Label* labels[2][2] = {{&RepeatStartHourLbl, &RepeatStartMinuteLbl},
                           {&RepeatStopHourLbl, &RepeatStopMinuteLbl}};
    TextBox* boxes[2][2] = {{&RepeatStartHourTxt, &RepeatStartMinuteTxt},
                            {&RepeatStopHourTxt, &RepeatStopMinuteTxt}};
    for (int f = 0; f < 2; ++f) {
        frames[f]->Move(kLabelLeft, frameTops[f], 4800, 1260);
        for (int c = 0; c < 2; ++c) {
            labels[f][c]->Move(240 + 2160 * c, 570, 960, 300);
            boxes[f][c]->Move(1200 + 2160 * c, 540, 780, 315);
            numberBox(*boxes[f][c], 2);
        }
    }
}

void TimerFrm::placePcPanel() {
    PCRepeatLbl.Move(120, 150, 1320, 300);
    PCRepeatCbx.Move(1560, 120, kBoxWidth, 315);
    StartSSF.Move(120, kPcFrameTop, 2040, kPcFrameHeight);
    StopSSF.Move(2280, kPcFrameTop, 2040, kPcFrameHeight);
    EnabledSSF.Move(4440, kPcFrameTop, 735, kPcFrameHeight);
    PcStartHourLbl.Move(180, 270, 780, 255);
    PcStartMinuteLbl.Move(1080, 270, 900, 255);
    PcStopHourLbl.Move(180, 270, 780, 255);
    PcStopMinuteLbl.Move(1080, 270, 900, 255);
    for (int j = 0; j < kPcRows; ++j) {
        const int top = kPcFirstRowTop + kPcRowStep * j;
        const std::pair<ControlArray<TextBox>*, QWidget*> columns[] = {{&PcStartHour, StartSSF.widget()},
                                                                       {&PcStartMinute, StartSSF.widget()},
                                                                       {&PcStopHour, StopSSF.widget()},
                                                                       {&PcStopMinute, StopSSF.widget()}};
        int column = 0;
        for (auto [array, frame] : columns) {
            TextBox& box = array->add(frame, "0");
            box.Move(column % 2 == 0 ? 180 : 1080, top, 780, 315);
            numberBox(box, 2);
            box.setEnabled(false);
            ++column;
        }
        CheckBox& en = PcEnCkx.add(EnabledSSF.widget());
        en.Move(240, top, 375, 315);
        en.onClick = [this, j] { PcEnCkx_Click(j); };
    }
}

void TimerFrm::nameControls(TextApplier& applier) {
    const std::pair<const char*, Label*> labels[] = {
        {"ModeLbl", &ModeLbl},
        {"PCRepeatLbl", &PCRepeatLbl},
        {"PcStartHourLbl", &PcStartHourLbl},
        {"PcStartMinuteLbl", &PcStartMinuteLbl},
        {"PcStopHourLbl", &PcStopHourLbl},
        {"PcStopMinuteLbl", &PcStopMinuteLbl},
        {"DelayYearLbl", &DelayYearLbl},
        {"DelayMonthLbl", &DelayMonthLbl},
        {"DelayDayLbl", &DelayDayLbl},
        {"DelayHourLbl", &DelayHourLbl},
        {"DelayMinuteLbl", &DelayMinuteLbl},
        {"DelayDurLbl", &DelayDurLbl},
        {"DelayDurHourLbl", &DelayDurHourLbl},
        {"DelayDurMinuteLbl", &DelayDurMinuteLbl},
        {"RepeatStartHourLbl", &RepeatStartHourLbl},
        {"RepeatStartMinuteLbl", &RepeatStartMinuteLbl},
        {"RepeatStopHourLbl", &RepeatStopHourLbl},
        {"RepeatStopMinuteLbl", &RepeatStopMinuteLbl},
    };
    for (auto [name, label] : labels)
        applier.caption(name, [label](const std::string& t) { label->setCaption(t); });
    const std::pair<const char*, Frame*> frames[] = {{"EnabledSSF", &EnabledSSF},
                                                     {"StartSSF", &StartSSF},
                                                     {"StopSSF", &StopSSF},
                                                     {"RepeatStartTimeSSF", &RepeatStartTimeSSF},
                                                     {"RepeatStopTimeSSF", &RepeatStopTimeSSF}};
    for (auto [name, frame] : frames)
        applier.caption(name, [frame](const std::string& t) { frame->setCaption(t); });
    applier.caption("TimerBtn", [this](const std::string& t) { TimerBtn.setCaption(t); })
        .caption("ExitBtn", [this](const std::string& t) { ExitBtn.setCaption(t); })
        .items("TimerManuallyCbx",
               [this](const std::vector<std::string>& items) { refillList(TimerManuallyCbx, items); });
}

void TimerFrm::Form_Load() {
    skipOnError([&] { setHeight(1215); });
    skipOnError([&] { setWidth(4275); });
    skipOnError([&] { setWindowState(WindowState::Maximized); });
    for (ComboList* list : {&RepeatCntCbx, &PCRepeatCbx}) {
        list->Clear();
        fillNumbers(*list, 1, 99, 1, false);
    }
    applyTexts();
}

void TimerFrm::TimerManuallyCbx_Click() {
    ManuallyPic.setVisible(false);
    RepeatPic.setVisible(false);
    PcPic.setVisible(false);
    const int mode = TimerManuallyCbx.ListIndex();
    if (mode == kDelay) ManuallyPic.setVisible(true);
    if (mode == kRepeat) RepeatPic.setVisible(true);
    if (mode == kPc) PcPic.setVisible(true);
}

void TimerFrm::PcEnCkx_Click(int index) {
    const bool on = PcEnCkx(index).Value() == 1;
    for (ControlArray<TextBox>* column : {&PcStartHour, &PcStartMinute, &PcStopHour, &PcStopMinute})
        (*column)(index).setEnabled(on);
}

// Every box is checked whatever the mode, the hidden panels' and the unticked rows' included.
bool TimerFrm::fieldsInRange() const {
    std::vector<RangeCheck> checks = {
        {&DelayYearTxt, 2016, 2100, &T::TxtDelayYearRange},
        {&DelayMonthTxt, 1, 12, &T::TxtDelayMonthRange},
        {&DelayDayTxt, 1, 31, &T::TxtDelayDayRange},
        {&DelayHourTxt, 0, 23, &T::TxtDelayHourRange},
        {&DelayMinuteTxt, 0, 59, &T::TxtDelayMinuteRange},
        {&RepeatStartHourTxt, 0, 23, &T::TxtRepeatStartHourRange},
        {&RepeatStartMinuteTxt, 0, 59, &T::TxtRepeatStartMinuteRange},
        {&RepeatStopHourTxt, 0, 23, &T::TxtRepeatStopHourRange},
        {&RepeatStopMinuteTxt, 0, 59, &T::TxtRepeatStopMinuteRange},
    };
    for (int j = 0; j < kPcRows; ++j) {
        checks.push_back({&PcStartHour(j), 0, 23, &T::TxtPCStartHourRange});
        checks.push_back({&PcStartMinute(j), 0, 59, &T::TxtPCStartMinuteRange});
        checks.push_back({&PcStopHour(j), 0, 23, &T::TxtPCStopHourRange});
        checks.push_back({&PcStopMinute(j), 0, 59, &T::TxtPCStopMinuteRange});
    }
    for (const RangeCheck& c : checks) {
        const double n = numberOf(*c.box);
        if (n < c.low || n > c.high) {
            msgBox(texts().*c.message, MsgButtons::OK, MsgIcon::Critical);
            return false;
        }
    }
    return true;
}

TimerSettings TimerFrm::timerShown() const {
    TimerSettings t;
    t.Mode = toByte(TimerManuallyCbx.ListIndex());
    t.DelayYear = toInt16(numberOf(DelayYearTxt));
    t.DelayMonth = toByte(numberOf(DelayMonthTxt));
    t.DelayDay = toByte(numberOf(DelayDayTxt));
    t.DelayHour = toByte(numberOf(DelayHourTxt));
    t.DelayMinute = toByte(numberOf(DelayMinuteTxt));
    t.DelayDuration = DelayDurHourCbx.ListIndex() * 60 + DelayDurMinCbx.ListIndex();
    t.RepeatStartHour = toByte(numberOf(RepeatStartHourTxt));
    t.RepeatStartMinute = toByte(numberOf(RepeatStartMinuteTxt));
    t.RepeatStop = toInt32(numberOf(RepeatStopHourTxt) * 60 + numberOf(RepeatStopMinuteTxt));
    // Only the PC mode has a count of its own; the other three modes take the Repeat panel's.
    const ComboList& count = TimerManuallyCbx.ListIndex() == kPc ? PCRepeatCbx : RepeatCntCbx;
    t.RepeatCount = toByte(count.ListIndex() + 1);  // 0 when no count is chosen
    for (int j = 0; j < kPcRows; ++j) {
        const auto k = static_cast<size_t>(j);
        t.PcStartHour[k] = toByte(numberOf(PcStartHour(j)));
        t.PcStartMinute[k] = toByte(numberOf(PcStartMinute(j)));
        t.PcStop[k] = toInt32(numberOf(PcStopHour(j)) * 60 + numberOf(PcStopMinute(j)));
        t.PcEnabled[k] = toByte(PcEnCkx(j).Value());
    }
    return t;
}

void TimerFrm::TimerBtn_Click() {
    // Every frame of an upload is built from the kept table as it stands: a second table must not
    // replace it while the first is still going up.
    if (flags().TimerSetPending == kTrue) {
        msgBox(texts().TxtSetError, MsgButtons::OK, MsgIcon::Critical);
        return;
    }
    if (!fieldsInRange()) return;
    if (refuseWhileErasing()) return;
    // Without a mode or a delay duration there is no table to send (so also before any reply).
    if (TimerManuallyCbx.ListIndex() < 0 || DelayDurHourCbx.ListIndex() < 0 ||
        DelayDurMinCbx.ListIndex() < 0) {
        msgBox(texts().TxtSetError, MsgButtons::OK, MsgIcon::Critical);
        return;
    }
    KeptSetting<TimerSettings>& kept = keptSettings().timer;
    runSetSteps(SetErrorPolicy::PassOver, {[&] { kept.keep(timerShown()); },
                                           [] {
                                               // Each upload counts its own time-out.
                                               shared().ReplyWaitTicks = 0;
                                               flags().TimerSetPending = kTrue;
                                           },
                                           [&] { WriteTimerSettings1(kept.record); }});
}

}  // namespace sq
