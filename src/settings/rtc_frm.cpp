#include "settings/rtc_frm.h"

#include "link/requests.h"
#include "platform/numbers.h"
#include "platform/runtime.h"
#include "platform/vb_error.h"
#include "shared/state.h"

namespace sq {

ClockRecord clockFromPcTimeText(const std::string& text) {
    auto field = [&](size_t from, size_t count) {
        return from < text.size() ? leadingNumber(text.substr(from, count)) : 0.0;
    };
    ClockRecord c;
    c.Year = toInt16(field(0, 4));
    c.Month = toByte(field(5, 2));
    c.Day = toByte(field(8, 2));
    c.Hour = toByte(field(11, 2));
    c.Minute = toByte(field(14, 2));
    c.Second = toByte(field(17, 2));
    return c;
}

RTCFrm::RTCFrm()
    : SettingWindow(kName, &flags().RTCFrmOpen, {5145, 2895}, {4800, 2200}),
      PcTimeLbl(SSPanel1.widget(), "PC Time"),
      PcTimeNowLbl(SSPanel1.widget(), "123"),
      MeterTimeLbl(SSPanel1.widget(), "MeterTime"),
      MeterTimeNowLbl(SSPanel1.widget(), "123"),
      RTCSetBtn(SSPanel1.widget(), "Set"),
      ExitBtn(SSPanel1.widget(), "Exit") {
    PcTimeLbl.Move(240, 240, 1500, 300);
    PcTimeNowLbl.Move(1800, 240, 2800, 300);
    MeterTimeLbl.Move(240, 720, 1500, 300);
    MeterTimeNowLbl.Move(1800, 720, 2800, 300);
    RTCSetBtn.Move(600, 1320, 1500, 495);
    ExitBtn.Move(2700, 1320, 1500, 495);
    RTCSetBtn.onClick = [this] { RTCSetBtn_Click(); };
    ExitBtn.onClick = [this] { Unload(); };
}

void RTCFrm::nameControls(TextApplier& applier) {
    applier.caption("PcTimeLbl", [this](const std::string& t) { PcTimeLbl.setCaption(t); })
        .caption("MeterTimeLbl", [this](const std::string& t) { MeterTimeLbl.setCaption(t); })
        .caption("RTCSetBtn", [this](const std::string& t) { RTCSetBtn.setCaption(t); })
        .caption("ExitBtn", [this](const std::string& t) { ExitBtn.setCaption(t); });
}

void RTCFrm::Form_Load() {
    loadFrame();
    // The PC's time from the start, so that a Set before the first refresh sends a real date.
    skipOnError([&] { PcTimeNowLbl.setCaption(formatLocalDateTime("yyyy/mm/dd hh:nn:ss")); });
}

void RTCFrm::RTCSetBtn_Click() {
    ClockRecord clock;
    runSetSteps(SetErrorPolicy::PassOver, {[&] { clock = clockFromPcTimeText(PcTimeNowLbl.Caption()); },
                                           [&] { WriteMeterClock(clock); }});
}

}  // namespace sq
