#pragma once
// The clock window: the PC's time beside the instrument's, and a Set button that sets the
// instrument's clock to the PC time shown.
#include "settings/setting_window.h"
#include "shared/setting_records.h"
#include "shared/window_names.h"

namespace sq {

// Cuts "yyyy/mm/dd hh:nn:ss" by character position; a field without leading digits gives 0.
ClockRecord clockFromPcTimeText(const std::string& text);

class RTCFrm : public SettingWindow {
public:
    static constexpr const char* kName = window_name::kRTCFrm;
    RTCFrm();

    Label PcTimeLbl;
    Label PcTimeNowLbl;
    Label MeterTimeLbl;
    Label MeterTimeNowLbl;
    CommandButton RTCSetBtn;
    CommandButton ExitBtn;

    void RTCSetBtn_Click();

protected:
    void Form_Load() override;
    void nameControls(TextApplier& applier) override;
    WindowTexts windowTexts() const override { return rtcFrmTexts(); }
};

}  // namespace sq
