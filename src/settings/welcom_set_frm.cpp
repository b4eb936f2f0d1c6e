#include "settings/welcom_set_frm.h"

#include "link/requests.h"
#include "platform/encoding.h"
#include "shared/setting_records.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace sq {

std::string padWelcomeLine(const std::string& line) {
    return padToLength(line, WelcomSetFrm::kLineLength);
}

WelcomSetFrm::WelcomSetFrm()
    : ReplyFilledWindow(kName, &flags().WelcomSetFrmOpen, {4770, 2460}, {4335, 1800}),
      SetBtn(SSPanel1.widget(), "Set"),
      ExitBtn(SSPanel1.widget(), "Exit") {
    for (int i = 0; i < kLines; ++i) {
        TextBox& line = WelLineTxt.add(SSPanel1.widget(), "Text1");
        line.Move(360, 300 + 420 * i, 2400, 315);
        line.setMaxLength(kLineLength);
    }
    SetBtn.Move(3000, 300, 1095, 375);
    ExitBtn.Move(3000, 1140, 1095, 375);
    SetBtn.onClick = [this] { SetBtn_Click(); };
    ExitBtn.onClick = [this] { Unload(); };
}

void WelcomSetFrm::nameControls(TextApplier& applier) {
    applier.caption("SetBtn", [this](const std::string& t) { SetBtn.setCaption(t); })
        .caption("ExitBtn", [this](const std::string& t) { ExitBtn.setCaption(t); });
}

void WelcomSetFrm::Form_Load() {
    loadFrame();
}

void WelcomSetFrm::SetBtn_Click() {
    if (refuseUntilFilledByReply()) return;
    std::string joined;
    runSetSteps(SetErrorPolicy::PassOver,
                {[&] {
                     for (int i = 0; i < kLines; ++i) {
                         TextBox& line = WelLineTxt(i);
                         const std::string padded = padWelcomeLine(line.Text());
                         if (padded != line.Text()) line.setText(padded);
                         joined += padded;
                     }
                 },
                 [&] {
                     const std::string bytes = utf8ToLatin1(joined);
                     WriteWelcomeText(WelcomeTextPayload{{bytes.begin(), bytes.end()}});
                 }});
}

}  // namespace sq
