#include "settings/screen_frm.h"

#include "link/requests.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"
#include "settings/display_items.h"
#include "shared/state.h"

namespace sq {

namespace {

constexpr int kFirstRowTop = 720;
constexpr int kRowStep = 480;
constexpr int kColumnLeft[3] = {1680, 3240, 4800};
constexpr int kListWidth = 1335;

}  // namespace

ScreenFrm::ScreenFrm()
    : ReplyFilledWindow(kName, &flags().ScreenFrmOpen, {7965, 7095}, {7575, 6495}),
      MeterLbl(SSPanel1.widget(), "Meter"),
      UpPageLbl(SSPanel1.widget(), "Up"),
      DownPageLbl(SSPanel1.widget(), "Down"),
      ScreenSetBtn(SSPanel1.widget(), "Set"),
      ExitBtn(SSPanel1.widget(), "Exit") {
    Label* headings[3] = {&MeterLbl, &UpPageLbl, &DownPageLbl};
    for (int c = 0; c < 3; ++c) headings[c]->Move(kColumnLeft[c], 360, kListWidth, 300);
    for (int i = 0; i < kPages; ++i) {
        const int top = kFirstRowTop + kRowStep * i;
        PageLbl.add(SSPanel1.widget(), "Page" + std::to_string(i + 3))
            .Move(i < 7 ? 600 : 480, top + 30, 1000, 300);
        SonoquantCbx.add(SSPanel1.widget()).Move(kColumnLeft[0], top, kListWidth, 315);
        ComboList& up = UpPageCbx.add(SSPanel1.widget());
        up.Move(kColumnLeft[1], top, kListWidth, 315);
        up.onClick = [this, i] { UpPageCbx_Click(i); };
        ComboList& down = DownPageCbx.add(SSPanel1.widget());
        down.Move(kColumnLeft[2], top, kListWidth, 315);
        down.onClick = [this, i] { DownPageCbx_Click(i); };
    }
    ScreenSetBtn.Move(6360, 4440, 1095, 855);
    ExitBtn.Move(6360, 5400, 1095, 855);
    ScreenSetBtn.onClick = [this] { ScreenSetBtn_Click(); };
    ExitBtn.onClick = [this] { Unload(); };
}

void ScreenFrm::nameControls(TextApplier& applier) {
    applier.caption("MeterLbl", [this](const std::string& t) { MeterLbl.setCaption(t); })
        .caption("UpPageLbl", [this](const std::string& t) { UpPageLbl.setCaption(t); })
        .caption("DownPageLbl", [this](const std::string& t) { DownPageLbl.setCaption(t); })
        .indexed("PageLbl", [this](int i, const std::string& t) { PageLbl(i).setCaption(t); })
        .caption("ScreenSetBtn", [this](const std::string& t) { ScreenSetBtn.setCaption(t); })
        .caption("ExitBtn", [this](const std::string& t) { ExitBtn.setCaption(t); });
}

void ScreenFrm::Form_Load() {
    loadFrame();
    const LanguageTexts& t = texts();
    for (int i = 0; i < kPages; ++i) {
        ComboList& channel = SonoquantCbx(i);
        channel.Clear();
        for (const std::string* text : {&t.TxtSonoquant1, &t.TxtSonoquant2, &t.TxtSonoquant3})
            channel.AddItem(*text);
        skipOnError([&] { channel.setListIndex(0); });
        for (ComboList* line : {&UpPageCbx(i), &DownPageCbx(i)}) {
            line->Clear();
            for (std::string LanguageTexts::*item : DisplayItems()) line->AddItem(t.*item);
            skipOnError([&] { line->setListIndex(kDisplayItemSystemTime); });
        }
    }
}

void ScreenFrm::UpPageCbx_Click(int index) {
    pairingRules(index, true);
}

void ScreenFrm::DownPageCbx_Click(int index) {
    pairingRules(index, false);
}

// Each step reads both lines afresh: a step's change runs the other line's rules, nested, first.
void ScreenFrm::pairingRules(int index, bool upperChanged) {
    ComboList& up = UpPageCbx(index);
    ComboList& down = DownPageCbx(index);
    skipOnError([&] {
        if (up.ListIndex() == kDisplayItemOff && down.ListIndex() == kDisplayItemOff)
            (upperChanged ? up : down).setListIndex(kDisplayItemSystemTime);
    });
    skipOnError([&] {
        if (isMaxMinItem(up.ListIndex())) down.setListIndex(kDisplayItemOff);
    });
    skipOnError([&] {
        if (isMaxMinItem(down.ListIndex())) up.setListIndex(kDisplayItemOff);
    });
}

void ScreenFrm::ScreenSetBtn_Click() {
    if (refuseWhileErasing()) return;
    if (refuseUntilFilledByReply()) return;
    KeptSetting<ScreenPages>& kept = keptSettings().screenPages;
    // A line without a selection keeps the byte the record holds; every other byte is filled.
    auto fill = [&] {
        ScreenPages& pages = kept.record;
        for (int i = 0; i < kPages; ++i) {
            skipOnError([&] {
                if (SonoquantCbx(i).ListIndex() == -1) SonoquantCbx(i).setListIndex(0);
            });
            skipOnError([&] { pages.Channel[i] = toByte(SonoquantCbx(i).ListIndex()); });
            skipOnError([&] {
                pages.UpperItem[i] = static_cast<uint8_t>(DisplayItemCode(UpPageCbx(i).ListIndex()));
            });
            skipOnError([&] {
                pages.LowerItem[i] = static_cast<uint8_t>(DisplayItemCode(DownPageCbx(i).ListIndex()));
            });
        }
        kept.filledBySet = true;
    };
    runSetSteps(SetErrorPolicy::PassOver, {fill, [&] { WriteScreenSettings(kept.record); }});
}

}  // namespace sq
