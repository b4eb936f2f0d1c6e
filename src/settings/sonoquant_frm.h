#pragma once
// The dose-channel window: the instrument's three dose channels, each with its standard, time
// weighting, threshold, criterion, exchange rate, exceedance level and PW duration; channels 2 and 3
// can be switched off. A fixed standard loads its values and locks them; a user standard unlocks them.
#include <array>
#include <string>

#include "settings/control_array.h"
#include "settings/setting_window.h"
#include "shared/setting_records.h"
#include "shared/window_names.h"
#include "texts/language_texts.h"

namespace sq {

// One of the nineteen standards, in list order. A fixed standard gives the list indexes its values
// take: time weighting, threshold, criterion, exchange rate, exceedance, hours, minutes.
struct StandardPreset {
    std::string LanguageTexts::*name;
    bool fixed;
    std::array<int, 7> values;
};
const std::array<StandardPreset, 19>& StandardPresets();

// The nine lists of one channel. Channel 1's enable list is greyed and never read.
struct DoseChannelBoxes {
    ComboList* enabled;
    ComboList* standard;
    ComboList* timeWeighting;
    ComboList* threshold;
    ComboList* criterion;
    ComboList* exchangeRate;
    ComboList* exceedance;
    ComboList* hours;
    ComboList* minutes;

    // The seven lists a fixed standard sets and locks, time weighting to minutes.
    [[nodiscard]] std::array<ComboList*, 7> valueBoxes() const {
        return {timeWeighting, threshold, criterion, exchangeRate, exceedance, hours, minutes};
    }
};

class SonoquantFrm : public SettingWindow {
public:
    static constexpr const char* kName = window_name::kSonoquantFrm;
    SonoquantFrm();

    Label Meter1Lbl, Meter2Lbl, Meter3Lbl;
    Label EnabledLbl, StandardLbl, TimeweightedLbl, ThresholdLbl, CriterionLbl, ExchangerateLbl,
        ExceedanceLbl, PWDurationLbl;
    ComboList Meter1EnCbx, Meter1StandCbx, Meter1TimeweightedCbx, Meter1TCbx, Meter1QCbx, Meter1ERCbx,
        Meter1ExceeCbx, Meter1HrCbx, Meter1MinCbx;
    ComboList Meter2EnCbx, Meter2StandCbx, Meter2TimeweightedCbx, Meter2TCbx, Meter2QCbx, Meter2ERCbx,
        Meter2ExceeCbx, Meter2HrCbx, Meter2MinCbx;
    ComboList Meter3EnCbx, Meter3StandCbx, Meter3TimeweightedCbx, Meter3TCbx, Meter3QCbx, Meter3ERCbx,
        Meter3ExceeCbx, Meter3HrCbx, Meter3MinCbx;
    CommandButton SonoquantSetBtn;
    CommandButton ExitBtn;

    // Channel 1 to 3; raises VbError(9) for any other.
    [[nodiscard]] DoseChannelBoxes channel(int number);

    // The change rules, each on its own channel's lists.
    void StandCbx_Click(int channel);  // loads and locks a fixed standard, unlocks a user standard
    void EnCbx_Click(int channel);     // channels 2 and 3: hides or shows the channel
    void HrMinCbx_Click(int channel);  // keeps the minutes at 00 while the hour is 24
    void SonoquantSetBtn_Click();

protected:
    void Form_Load() override;
    void nameControls(TextApplier& applier) override;
    WindowTexts windowTexts() const override { return sonoquantFrmTexts(); }

private:
    void placeControls();
    void fillDesignLists();
    void wireHandlers();
    // The message of the first check the channels fail, or nullptr when they pass.
    std::string LanguageTexts::*failedCheck();
    // The record as the lists show it; raises VbError where a list holds no number (the Set's error).
    DoseSettings doseSettingsShown();

    ControlArray<Panel3D> m_lines;
};

}  // namespace sq
