#include "settings/one_set_form.h"

#include <algorithm>
#include <cctype>

#include "decoder/reply_decoder.h"
#include "link/requests.h"
#include "platform/numbers.h"
#include "platform/read_write_ini_cls.h"
#include "platform/runtime.h"
#include "platform/vb_error.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace sq {

OneSetMode currentOneSetMode() {
    const OpenFlags& f = flags();
    if (f.OneSetAutoLock == kTrue) return OneSetMode::AutoLock;
    if (f.OneSetAutoScroll == kTrue) return OneSetMode::AutoScroll;
    if (f.OneSetLcdApo == kTrue) return OneSetMode::LcdApo;
    if (f.OneSetLcdContrast == kTrue) return OneSetMode::LcdContrast;
    if (f.OneSetPause == kTrue) return OneSetMode::Pause;
    if (f.OneSetCalibration == kTrue) return OneSetMode::Calibration;
    if (f.OneSetIntervalTime == kTrue) return OneSetMode::IntervalTime;
    return OneSetMode::None;
}

std::vector<std::string> oneSetItems(OneSetMode mode) {
    const LanguageTexts& t = texts();
    switch (mode) {
        case OneSetMode::AutoLock:
        case OneSetMode::AutoScroll:
        case OneSetMode::Pause:
            return {t.TxtOFF, t.TxtON};
        case OneSetMode::LcdApo:
            return {t.TxtOFF, t.Txt5Sec, t.Txt10Sec, t.Txt20Sec, t.Txt1Min, t.Txt5Min};
        case OneSetMode::LcdContrast: {
            std::vector<std::string> items;
            for (int i = 1; i <= 10; ++i) items.push_back(std::to_string(i));
            return items;
        }
        case OneSetMode::Calibration: {
            std::vector<std::string> items;
            for (int v = 930; v <= 959; ++v) items.push_back(formatFixed(v / 10.0, 1));
            for (int v = 1130; v <= 1159; ++v) items.push_back(formatFixed(v / 10.0, 1));
            items.push_back("OFF");
            return items;
        }
        case OneSetMode::IntervalTime:
            return {t.Txt1Min, t.Txt5Min, t.Txt10Min, t.Txt30Min, t.Txt1Hr, t.Txt2Hr};
        case OneSetMode::None:
            break;
    }
    return {};
}

std::string oneSetCaption(OneSetMode mode) {
    const LanguageTexts& t = texts();
    switch (mode) {
        case OneSetMode::AutoLock:
            return t.TxtAutoLockKeypad;
        case OneSetMode::AutoScroll:
            return t.TxtAutoScrollScreens;
        case OneSetMode::LcdApo:
            return t.TxtLcdAPO;
        case OneSetMode::LcdContrast:
            return t.TxtLcdContrast;
        case OneSetMode::Pause:
            return t.TxtPause;
        case OneSetMode::Calibration:
            return t.TxtCalibration;
        case OneSetMode::IntervalTime:
            return t.TxtIntervalTime;
        case OneSetMode::None:
            break;
    }
    return {};
}

OneSetForm::OneSetForm()
    : SettingWindow(kName, nullptr, {5100, 1875}, {4575, 1575}),
      SetCbx(SSPanel1.widget(), ComboStyle::Typeable),
      SetBtn(SSPanel1.widget(), "Set"),
      CurMeterLbl(SSPanel1.widget(), "Meter"),
      CurMeterTxt(SSPanel1.widget()) {
    SetCbx.Move(120, 360, 2415, 450);
    SetBtn.Move(3000, 240, 1575, 1095);
    CurMeterLbl.Move(120, 1080, 1000, 300);
    CurMeterTxt.Move(1200, 960, 1455, 375);
    SetBtn.onClick = [this] { SetBtn_Click(); };
    // Typeable so that it can show a stored calibration text as it stands; every typed key is dropped.
    SetCbx.onKeyPress = [](int& key) { key = 0; };
}

void OneSetForm::nameControls(TextApplier& applier) {
    applier.caption("SetBtn", [this](const std::string& t) { SetBtn.setCaption(t); })
        .caption("CurMeterLbl", [this](const std::string& t) { CurMeterLbl.setCaption(t); });
}

void OneSetForm::Form_Load() {
    loadFrame();
    SetCbx.Clear();
    CurMeterLbl.setVisible(false);
    CurMeterTxt.setVisible(false);
    m_mode = currentOneSetMode();
    if (m_mode == OneSetMode::None) return;
    setCaption(oneSetCaption(m_mode));
    if (m_mode == OneSetMode::Calibration) {
        CurMeterLbl.setVisible(true);
        CurMeterTxt.setVisible(true);
        CurMeterTxt.setEnabled(false);
    }
    for (const std::string& item : oneSetItems(m_mode)) SetCbx.AddItem(item);
    if (m_mode == OneSetMode::Calibration) {
        try {
            SetCbx.setText(IniRW().GetINI("MeterSetting", "Calibration", "OFF", shared().IniFilePath));
        } catch (const VbError&) {
        }
    }
}

void OneSetForm::Form_Unload() {
    OpenFlags& f = flags();
    f.OneSetAutoLock = f.OneSetAutoScroll = f.OneSetLcdApo = f.OneSetLcdContrast = kFalse;
    f.OneSetPause = f.OneSetCalibration = f.OneSetIntervalTime = kFalse;
    SettingWindow::Form_Unload();
}

namespace {

int calibrationValue(const std::string& text) {
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    if (upper == "OFF") return 0;
    return static_cast<int>(roundHalfEven(toNumber(text) * 10));
}

// The Set button sends only a level its list offers, whatever the stored text says.
bool offeredCalibrationLevel(int level) {
    return level == 0 || (level >= 930 && level <= 959) || (level >= 1130 && level <= 1159);
}

}  // namespace

void OneSetForm::SetBtn_Click() {
    if (refuseWhileErasing()) return;
    const OneSetMode mode = currentOneSetMode();
    const int index = SetCbx.ListIndex();
    DecoderState& ds = decoderState();
    runSetSteps(SetErrorPolicy::TextSetError, {[&] {
                    switch (mode) {
                        case OneSetMode::AutoLock:
                            WriteAutoLockKeypad(index);
                            break;
                        case OneSetMode::AutoScroll:
                            WriteAutoScroll(index);
                            break;
                        case OneSetMode::Pause:
                            WritePauseSetting(index);
                            break;
                        case OneSetMode::LcdApo:
                            WriteLcdApo(index);
                            ds.ApoIndex = index;
                            break;
                        case OneSetMode::LcdContrast:
                            if (index < 0) raise(kInvalidPropertyValue);  // nothing chosen
                            WriteLcdContrast((index + 1) * 4);
                            ds.ContrastValue = (index + 1) * 4;
                            break;
                        case OneSetMode::Calibration: {
                            const std::string text = SetCbx.Text();
                            IniRW().WriteINI("MeterSetting", "Calibration", text, shared().IniFilePath);
                            const int level = calibrationValue(text);
                            if (!offeredCalibrationLevel(level)) raise(kInvalidPropertyValue);
                            WriteCalibrationLevel(level);
                            Delay(1);
                            ReadCalibrationLevel();
                            Delay(0.1);
                            break;
                        }
                        case OneSetMode::IntervalTime: {
                            static const int32_t kSeconds[] = {60, 300, 600, 1800, 3600, 7200};
                            if (index >= 0 && index < 6) ds.IntervalSeconds = kSeconds[index];
                            // Nothing chosen and no interval known yet: no recording interval of 0.
                            if (ds.IntervalSeconds <= 0) raise(kInvalidPropertyValue);
                            WriteIntervalTime(ds.IntervalSeconds);
                            break;
                        }
                        case OneSetMode::None:
                            break;
                    }
                }});
}

}  // namespace sq
