#include "settings/sonoquant_frm.h"

#include "link/requests.h"
#include "platform/dialogs.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"
#include "shared/state.h"

namespace sq {

namespace {

using T = LanguageTexts;

// List indexes of the preset values: SLOW 0, FAST 1; threshold and criterion 70 + index; exchange
// rate 3 + index; exceedance 70 + 5 x index; hours 8, minutes 0 (08:00).
const std::array<StandardPreset, 19> kPresets = {{
    {&T::TxtOSHA80, true, {0, 10, 20, 2, 7, 8, 0}},
    {&T::TxtOSHA90, true, {0, 20, 20, 2, 7, 8, 0}},
    {&T::TxtMSHA80, true, {0, 10, 20, 2, 7, 8, 0}},
    {&T::TxtMSHA90, true, {0, 20, 20, 2, 7, 8, 0}},
    {&T::TxtDOD, true, {0, 10, 15, 1, 7, 8, 0}},
    {&T::TxtACGIH, true, {0, 10, 15, 0, 7, 8, 0}},
    {&T::TxtISO85, true, {1, 0, 15, 0, 7, 8, 0}},
    {&T::TxtISO90, true, {1, 0, 20, 0, 7, 8, 0}},
    {&T::TxtNR15, true, {0, 10, 15, 2, 9, 8, 0}},
    {&T::TxtNHO11, true, {0, 10, 15, 0, 9, 8, 0}},
    {&T::TxtUSER1, false, {}},
    {&T::TxtUSER2, false, {}},
    {&T::TxtUSER3, false, {}},
    {&T::TxtUSER4, false, {}},
    {&T::TxtUSER5, false, {}},
    {&T::TxtUSER6, false, {}},
    {&T::TxtUSER7, false, {}},
    {&T::TxtUSER8, false, {}},
    {&T::TxtUSER9, false, {}},
}};

constexpr int kColumnLeft[3] = {2040, 3840, 5640};
constexpr int kRowTop = 840;  // the enable row; the others follow 480 apart
constexpr int kRowStep = 480;
constexpr int kPanelWidth = 7455;
constexpr int kPanelHeight = 4695;

// A number shown by a list, as an unsigned byte; a list without a selection shows no number.
uint8_t byteShown(const ComboList& list) {
    return toByte(toNumber(list.Text()));
}

uint8_t indexByte(const ComboList& list) {
    return toByte(list.ListIndex());
}

int16_t minutesShown(const DoseChannelBoxes& c) {
    return toInt16(toNumber(c.hours->Text()) * 60 + toNumber(c.minutes->Text()));
}

}  // namespace

const std::array<StandardPreset, 19>& StandardPresets() {
    return kPresets;
}

SonoquantFrm::SonoquantFrm()
    : SettingWindow(kName, &flags().SonoquantFrmOpen, {7920, 5580}, {kPanelWidth, kPanelHeight}),
      Meter1Lbl(SSPanel1.widget(), "Meter1"),
      Meter2Lbl(SSPanel1.widget(), "Meter2"),
      Meter3Lbl(SSPanel1.widget(), "Meter3"),
      EnabledLbl(SSPanel1.widget(), "Enabled"),
      StandardLbl(SSPanel1.widget(), "Standard"),
      TimeweightedLbl(SSPanel1.widget(), "Time Weighted"),
      ThresholdLbl(SSPanel1.widget(), "Threshold"),
      CriterionLbl(SSPanel1.widget(), "Criterion"),
      ExchangerateLbl(SSPanel1.widget(), "Exchange Rate"),
      ExceedanceLbl(SSPanel1.widget(), "Exceedance"),
      PWDurationLbl(SSPanel1.widget(), "PW Duration"),
      Meter1EnCbx(SSPanel1.widget()),
      Meter1StandCbx(SSPanel1.widget()),
      Meter1TimeweightedCbx(SSPanel1.widget()),
      Meter1TCbx(SSPanel1.widget()),
      Meter1QCbx(SSPanel1.widget()),
      Meter1ERCbx(SSPanel1.widget()),
      Meter1ExceeCbx(SSPanel1.widget()),
      Meter1HrCbx(SSPanel1.widget()),
      Meter1MinCbx(SSPanel1.widget()),
      Meter2EnCbx(SSPanel1.widget()),
      Meter2StandCbx(SSPanel1.widget()),
      Meter2TimeweightedCbx(SSPanel1.widget()),
      Meter2TCbx(SSPanel1.widget()),
      Meter2QCbx(SSPanel1.widget()),
      Meter2ERCbx(SSPanel1.widget()),
      Meter2ExceeCbx(SSPanel1.widget()),
      Meter2HrCbx(SSPanel1.widget()),
      Meter2MinCbx(SSPanel1.widget()),
      Meter3EnCbx(SSPanel1.widget()),
      Meter3StandCbx(SSPanel1.widget()),
      Meter3TimeweightedCbx(SSPanel1.widget()),
      Meter3TCbx(SSPanel1.widget()),
      Meter3QCbx(SSPanel1.widget()),
      Meter3ERCbx(SSPanel1.widget()),
      Meter3ExceeCbx(SSPanel1.widget()),
      Meter3HrCbx(SSPanel1.widget()),
      Meter3MinCbx(SSPanel1.widget()),
      SonoquantSetBtn(SSPanel1.widget(), "Set"),
      ExitBtn(SSPanel1.widget(), "Exit") {
    placeControls();
    fillDesignLists();
    wireHandlers();
    // Channel 1 is always on.
    Meter1EnCbx.setEnabled(false);
}

DoseChannelBoxes SonoquantFrm::channel(int number) {
    switch (number) {
        case 1:
            return {&Meter1EnCbx, &Meter1StandCbx, &Meter1TimeweightedCbx, &Meter1TCbx,  &Meter1QCbx,
                    &Meter1ERCbx, &Meter1ExceeCbx, &Meter1HrCbx,           &Meter1MinCbx};
        case 2:
            return {&Meter2EnCbx, &Meter2StandCbx, &Meter2TimeweightedCbx, &Meter2TCbx,  &Meter2QCbx,
                    &Meter2ERCbx, &Meter2ExceeCbx, &Meter2HrCbx,           &Meter2MinCbx};
        case 3:
            return {&Meter3EnCbx, &Meter3StandCbx, &Meter3TimeweightedCbx, &Meter3TCbx,  &Meter3QCbx,
                    &Meter3ERCbx, &Meter3ExceeCbx, &Meter3HrCbx,           &Meter3MinCbx};
        default:
            raise(kSubscriptOutOfRange);
    }
}

void SonoquantFrm::placeControls() {
    SonoquantSetBtn.Move(0, 0, 1935, 375);
    ExitBtn.Move(0, 360, 1935, 375);
    Label* headings[3] = {&Meter1Lbl, &Meter2Lbl, &Meter3Lbl};
    for (int c = 0; c < 3; ++c) headings[c]->Move(kColumnLeft[c] + 360, 240, 1215, 300);
    Label* rowLabels[8] = {&EnabledLbl,   &StandardLbl,     &TimeweightedLbl, &ThresholdLbl,
                           &CriterionLbl, &ExchangerateLbl, &ExceedanceLbl,   &PWDurationLbl};
    for (int r = 0; r < 8; ++r) rowLabels[r]->Move(210, kRowTop + kRowStep * r + 30, 1700, 300);
    for (int c = 0; c < 3; ++c) {
        const DoseChannelBoxes boxes = channel(c + 1);
        ComboList* wide[7] = {boxes.enabled,   boxes.standard,     boxes.timeWeighting, boxes.threshold,
                              boxes.criterion, boxes.exchangeRate, boxes.exceedance};
        for (int r = 0; r < 7; ++r) wide[r]->Move(kColumnLeft[c], kRowTop + kRowStep * r, 1575, 315);
        const int durationTop = kRowTop + kRowStep * 7;
        boxes.hours->Move(kColumnLeft[c], durationTop, 735, 315);
        boxes.minutes->Move(kColumnLeft[c] + 840, durationTop, 735, 315);
    }
    // Thin sunken lines between the rows and in front of the columns.
    for (int r = 0; r <= 8; ++r) {
        auto& line = m_lines.add(SSPanel1.widget(), std::string{}, Panel3D::Bevel::Inset);
        line.Move(120, kRowTop - 90 + kRowStep * r, kPanelWidth - 240, 30);
    }
    for (int c = 0; c < 3; ++c) {
        auto& line = m_lines.add(SSPanel1.widget(), std::string{}, Panel3D::Bevel::Inset);
        line.Move(kColumnLeft[c] - 105, kRowTop - 90, 30, kRowStep * 8 + 30);
    }
}

void SonoquantFrm::fillDesignLists() {
    for (int c = 1; c <= 3; ++c) {
        const DoseChannelBoxes boxes = channel(c);
        fillNumbers(*boxes.threshold, 70, 90, 1, false);
        fillNumbers(*boxes.criterion, 70, 90, 1, false);
        fillNumbers(*boxes.exchangeRate, 3, 6, 1, false);
        fillNumbers(*boxes.exceedance, 70, 140, 5, false);
        fillNumbers(*boxes.hours, 0, 24, 1, true);
        fillNumbers(*boxes.minutes, 0, 55, 5, true);
    }
}

void SonoquantFrm::wireHandlers() {
    for (int c = 1; c <= 3; ++c) {
        const DoseChannelBoxes boxes = channel(c);
        boxes.standard->onClick = [this, c] { StandCbx_Click(c); };
        if (c != 1) boxes.enabled->onClick = [this, c] { EnCbx_Click(c); };
        boxes.hours->onClick = [this, c] { HrMinCbx_Click(c); };
        boxes.minutes->onClick = [this, c] { HrMinCbx_Click(c); };
    }
    SonoquantSetBtn.onClick = [this] { SonoquantSetBtn_Click(); };
    ExitBtn.onClick = [this] { Unload(); };
}

void SonoquantFrm::nameControls(TextApplier& applier) {
    auto label = [&](const char* name, Label& l) {
        applier.caption(name, [&l](const std::string& t) { l.setCaption(t); });
    };
    label("Meter1Lbl", Meter1Lbl);
    label("Meter2Lbl", Meter2Lbl);
    label("Meter3Lbl", Meter3Lbl);
    label("EnabledLbl", EnabledLbl);
    label("StandardLbl", StandardLbl);
    label("TimeweightedLbl", TimeweightedLbl);
    label("ThresholdLbl", ThresholdLbl);
    label("CriterionLbl", CriterionLbl);
    label("ExchangerateLbl", ExchangerateLbl);
    label("ExceedanceLbl", ExceedanceLbl);
    label("PWDurationLbl", PWDurationLbl);
    applier.caption("SonoquantSetBtn", [this](const std::string& t) { SonoquantSetBtn.setCaption(t); })
        .caption("ExitBtn", [this](const std::string& t) { ExitBtn.setCaption(t); });
}

void SonoquantFrm::Form_Load() {
    loadFrame();
    const LanguageTexts& t = texts();
    for (int c = 1; c <= 3; ++c) {
        ComboList& list = *channel(c).enabled;
        list.Clear();
        list.AddItem(t.TxtDisabled);
        list.AddItem(t.TxtEnabled);
        skipOnError([&] { list.setListIndex(0); });
    }
    for (int c = 1; c <= 3; ++c) {
        ComboList& list = *channel(c).standard;
        list.Clear();
        for (const StandardPreset& preset : kPresets) list.AddItem(t.*preset.name);
        skipOnError([&] { list.setListIndex(0); });
    }
    for (int c = 1; c <= 3; ++c) {
        ComboList& list = *channel(c).timeWeighting;
        list.Clear();
        list.AddItem(t.TxtSLOW);
        list.AddItem(t.TxtFAST);
        list.AddItem(t.TxtIMPULSE);
        skipOnError([&] { list.setListIndex(0); });
    }
    for (int c = 1; c <= 3; ++c) {
        const DoseChannelBoxes boxes = channel(c);
        if (c != 1) skipOnError([&] { boxes.enabled->setListIndex(0); });
        skipOnError([&] { boxes.standard->setListIndex(0); });
        for (ComboList* list : boxes.valueBoxes()) skipOnError([&] { list->setListIndex(0); });
    }
    skipOnError([&] { EnCbx_Click(2); });
    skipOnError([&] { EnCbx_Click(3); });
    skipOnError([&] { StandCbx_Click(1); });
}

void SonoquantFrm::StandCbx_Click(int number) {
    const DoseChannelBoxes boxes = channel(number);
    const std::array<ComboList*, 7> values = boxes.valueBoxes();
    for (ComboList* list : values) list->setEnabled(false);
    const int index = boxes.standard->ListIndex();
    if (index >= 0 && kPresets[static_cast<size_t>(index)].fixed) {
        const StandardPreset& preset = kPresets[static_cast<size_t>(index)];
        for (size_t i = 0; i < values.size(); ++i)
            skipOnError([&] { values[i]->setListIndex(preset.values[i]); });
    } else {
        for (ComboList* list : values) list->setEnabled(true);
    }
}

void SonoquantFrm::EnCbx_Click(int number) {
    const DoseChannelBoxes boxes = channel(number);
    const bool on = boxes.enabled->ListIndex() != 0;
    boxes.standard->setVisible(on);
    for (ComboList* list : boxes.valueBoxes()) list->setVisible(on);
    if (on) skipOnError([&] { StandCbx_Click(number); });
}

void SonoquantFrm::HrMinCbx_Click(int number) {
    const DoseChannelBoxes boxes = channel(number);
    if (boxes.hours->ListIndex() == 24) skipOnError([&] { boxes.minutes->setListIndex(0); });
}

std::string LanguageTexts::*SonoquantFrm::failedCheck() {
    auto enabled = [this](int c) { return channel(c).enabled->ListIndex() == 1; };
    auto standard = [this](int c) { return channel(c).standard->ListIndex(); };
    if (enabled(2) && standard(1) == standard(2)) return &T::TxtErrD1StandardEqD2;
    if (enabled(3) && standard(1) == standard(3)) return &T::TxtErrD1StandardEqD3;
    std::string T::*const criterionLow[3] = {&T::TxtErrMeter1CriterionLow, &T::TxtErrMeter2CriterionLow,
                                             &T::TxtErrMeter3CriterionLow};
    for (int c = 1; c <= 3; ++c) {
        const DoseChannelBoxes boxes = channel(c);
        if (boxes.criterion->ListIndex() < boxes.threshold->ListIndex()) return criterionLow[c - 1];
    }
    if (enabled(2) && enabled(3) && standard(2) == standard(3)) return &T::TxtErrD2StandardEqD3;
    std::string T::*const durationShort[3] = {&T::TxtErrD1PWDurationShort, &T::TxtErrD2PWDurationShort,
                                              &T::TxtErrD3PWDurationShort};
    for (int c = 1; c <= 3; ++c) {
        const DoseChannelBoxes boxes = channel(c);
        const int minutes = boxes.minutes->ListIndex();
        if (boxes.hours->ListIndex() == 0 && (minutes == 0 || minutes == 1)) return durationShort[c - 1];
    }
    return nullptr;
}

DoseSettings SonoquantFrm::doseSettingsShown() {
    DoseSettings s;
    const DoseChannelBoxes d1 = channel(1);
    s.D1Standard = indexByte(*d1.standard);
    s.D1TimeWeighting = indexByte(*d1.timeWeighting);
    s.D1Threshold = byteShown(*d1.threshold);
    s.D1Criterion = byteShown(*d1.criterion);
    s.D1ExchangeRate = byteShown(*d1.exchangeRate);
    s.D1Exceedance = byteShown(*d1.exceedance);
    s.D1PwDuration = minutesShown(d1);
    const DoseChannelBoxes d2 = channel(2);
    s.D2Enabled = indexByte(*d2.enabled);
    s.D2Standard = indexByte(*d2.standard);
    s.D2TimeWeighting = indexByte(*d2.timeWeighting);
    s.D2Threshold = byteShown(*d2.threshold);
    s.D2Criterion = byteShown(*d2.criterion);
    s.D2ExchangeRate = byteShown(*d2.exchangeRate);
    s.D2Exceedance = byteShown(*d2.exceedance);
    s.D2PwDuration = minutesShown(d2);
    const DoseChannelBoxes d3 = channel(3);
    s.D3Enabled = indexByte(*d3.enabled);
    s.D3Standard = indexByte(*d3.standard);
    s.D3TimeWeighting = indexByte(*d3.timeWeighting);
    s.D3Threshold = byteShown(*d3.threshold);
    s.D3Criterion = byteShown(*d3.criterion);
    s.D3ExchangeRate = byteShown(*d3.exchangeRate);
    s.D3Exceedance = byteShown(*d3.exceedance);
    s.D3PwDuration = minutesShown(d3);
    return s;
}

void SonoquantFrm::SonoquantSetBtn_Click() {
    if (refuseWhileErasing()) return;
    if (std::string T::*message = failedCheck()) {
        msgBox(texts().*message, MsgButtons::OK, MsgIcon::Critical);
        return;
    }
    // Filled whole or not at all: the kept record is what a re-send request sends.
    KeptSetting<DoseSettings>& kept = keptSettings().dose;
    runSetSteps(SetErrorPolicy::FixedSetError,
                {[&] { kept.keep(doseSettingsShown()); }, [&] { WriteDoseSettings(kept.record); }});
}

}  // namespace sq
