// The main window's hidden service pane: a double click on the frame's background asks for the
// access code; the pane then reads the instrument's serial number, and Set writes it back.
#include "link/requests.h"
#include "mainwindow/panel.h"
#include "platform/dialogs.h"
#include "platform/encoding.h"
#include "platform/vb_error.h"
#include "shared/setting_records.h"
#include "shared/state.h"

namespace sq {

namespace {

constexpr size_t kSerialLength = 11;  // characters sent; the instrument's reply carries 12

// Characters as the text box shows them (code points of the UTF-8 text).
std::u32string characters(const std::string& utf8) {
    std::u32string out;
    for (size_t i = 0; i < utf8.size();) out.push_back(nextCodePoint(utf8, i));
    return out;
}

// The low byte of each of the first 11 characters' codes.
SerialNumberPayload serialNumberPayload(const std::string& utf8) {
    SerialNumberPayload payload;
    for (char32_t c : characters(utf8).substr(0, kSerialLength))
        payload.Bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    return payload;
}

}  // namespace

void Panel::buildSerialPane() {
    SNPic.setVisible(false);
    SNPic.Move(4320, 0, 5775, 1335);
    // The strip that holds the pane is at least as tall as the pane.
    if (ControlPic.Height() < SNPic.Height()) ControlPic.setHeight(SNPic.Height());
    Label1.Move(120, 120, 615, 255);
    SNTxt.Move(120, 360, 3855, 375);
    SNTxt.setMaxLength(static_cast<int>(kSerialLength));
    SNExitBtn.Move(2400, 840, 615, 375);
    SNSendBtn.Move(3120, 840, 855, 375);
}

// The code's texts are fixed: no language changes them. Wrong code, no answer or no supported
// model: nothing happens and nothing is shown.
void Panel::MDIForm_DblClick() {
    std::optional<std::string> answer;
    skipOnError([&] { answer = dialogs().input("Enter the Code \r\n", "Input Meter Code", "Meter Name"); });
    if (!answer || answer->empty()) return;
    if (IsSupportedModel(shared().DeviceModel) != 1 || answer->find("927") == std::string::npos) return;
    SNPic.setVisible(true);
    skipOnError([] { ReadSerialNumber(); });
}

// No question, no model check: the instrument's acknowledgement reports the outcome.
void Panel::SNSendBtn_Click() {
    DisablePollTimers();
    skipOnError([this] { SNTxt.setText(padToLength(SNTxt.Text(), kSerialLength)); });
    SerialNumberPayload payload;
    skipOnError([&] { payload = serialNumberPayload(SNTxt.Text()); });
    skipOnError([&] { WriteSerialNumber(payload); });
    EnablePollTimers();
}

void Panel::SNExitBtn_Click() {
    SNPic.setVisible(false);
}

}  // namespace sq
