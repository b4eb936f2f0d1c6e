#include "mainwindow/com_port_set_frm.h"

#include <QKeySequence>
#include <QShortcut>

#include "link/channels.h"
#include "link/com_port_api.h"
#include "platform/com_ports.h"
#include "platform/dialogs.h"
#include "platform/numbers.h"
#include "platform/read_write_ini_cls.h"
#include "platform/vb_error.h"
#include "settings/text_applier.h"
#include "shared/state.h"
#include "texts/platform_words.h"
#include "texts/window_texts.h"

namespace sq {

namespace {

class ScanView : public PortScanView {
public:
    ScanView(ComboList& list, ProgressBar& bar) : m_list(list), m_bar(bar) {}
    void clearList() override { m_list.Clear(); }
    void addListItem(const std::string& text) override { m_list.AddItem(text); }
    void setProgressMax(int max) override { m_bar.setMax(max); }
    int progressMax() const override { return m_bar.Max(); }
    void setProgressValue(int value) override { m_bar.setValue(value); }

private:
    ComboList& m_list;
    ProgressBar& m_bar;
};

}  // namespace

std::string comPortItem(int port) {
    return "COM  " + std::to_string(port);
}

int portOfItem(const std::string& text) {
    const size_t blanks = text.find("  ");
    if (blanks == std::string::npos) return 0;
    return static_cast<int>(leadingNumber(text.substr(blanks + 2)));
}

ComPortSetFrm::ComPortSetFrm()
    : Window(kName, WindowKind::TopLevel, &flags().ComPortSetFrmOpen),
      ComPortPic(surface()),
      DeviceLbl(ComPortPic.widget(), "Device"),
      DeviceSelCbx(ComPortPic.widget(), ComboStyle::ListOnly),
      ComPortLbl(ComPortPic.widget(), "Com Port"),
      ComPortCbx(ComPortPic.widget(), ComboStyle::ListOnly),
      PortScanBtn(ComPortPic.widget(), "Auto Scan"),
      ScanProgressBar(ComPortPic.widget()),
      PortResetBtn(ComPortPic.widget(), "Reset Com Port"),
      LinkBtn(ComPortPic.widget(), "OK"),
      DeviceManager(ComPortPic.widget(), "Device Manager") {
    ComPortPic.Move(0, 0, 4800, 2700);
    DeviceLbl.Move(240, 240, 1200, 300);
    DeviceSelCbx.Move(1560, 200, 3000, 360);
    ComPortLbl.Move(240, 720, 1200, 300);
    ComPortCbx.Move(1560, 680, 3000, 360);
    PortScanBtn.Move(240, 1200, 2040, 420);
    ScanProgressBar.Move(2520, 1260, 2040, 300);
    PortResetBtn.Move(240, 1800, 2040, 420);
    LinkBtn.Move(2520, 1800, 2040, 420);
    DeviceManager.Move(240, 2280, 4320, 360);
    ComPortCbx.onKeyPress = [this](int& key) {
        if (key == 13) LinkBtn.click();
        key = 0;
    };
    DeviceSelCbx.onKeyPress = [](int& key) { key = 0; };
    LinkBtn.onClick = [this] { LinkBtn_Click(); };
    PortResetBtn.onClick = [this] { PortResetBtn_Click(); };
    PortScanBtn.onClick = [this] { PortScanBtn_Click(); };
    DeviceManager.onClick = [this] { DeviceManager_Click(); };
    // OK is the default button: Enter anywhere in the window opens the link.
    for (auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), surface());
        QObject::connect(shortcut, &QShortcut::activated, [this] { LinkBtn.click(); });
    }
}

void ComPortSetFrm::applyTexts() {
    TextApplier applier;
    applier.caption(kName, [this](const std::string& t) { setCaption(t); })
        .caption("PortScanBtn", [this](const std::string& t) { PortScanBtn.setCaption(t); })
        .caption("PortResetBtn", [this](const std::string& t) { PortResetBtn.setCaption(t); })
        .caption("LinkBtn", [this](const std::string& t) { LinkBtn.setCaption(t); })
        .caption("DeviceManager", [this](const std::string& t) { DeviceManager.setCaption(t); })
        .caption("DeviceLbl", [this](const std::string& t) { DeviceLbl.setCaption(t); })
        .caption("ComPortLbl", [this](const std::string& t) { ComPortLbl.setCaption(t); });
    applier.apply(comPortSetFrmTexts());
}

void ComPortSetFrm::fillPortBox() {
    ComPortCbx.Clear();
    for (int n = 1; n <= ComPortAPI::kMaxPorts; ++n) ComPortCbx.AddItem(comPortItem(n));
}

void ComPortSetFrm::Form_Load() {
    applyTexts();
    skipOnError([&] { DeviceSelCbx.Clear(); });
    skipOnError([&] { DeviceSelCbx.AddItem("VOK-LSR20"); });
    skipOnError([&] { DeviceSelCbx.setListIndex(0); });
    skipOnError([&] { fillPortBox(); });
    skipOnError([&] { ComPortCbx.setListIndex(0); });
    bool open = false;
    skipOnError([&] {
        if (CurrentChannel >= 1 && CurrentChannel <= MaxChannels)
            open = PortAPI().IsOpen(Channels[CurrentChannel].PortNumber);
    });
    if (!open) PortResetBtn_Click();
    skipOnError([&] {
        const std::string port = IniRW().GetINI("MeterSetting", "ComPort", "1", shared().IniFilePath);
        ComPortCbx.setText("COM  " + port);
    });
    skipOnError([&] { Move(Left(), Top(), 5190, 3510); });
    skipOnError([&] { centre(); });
}

void ComPortSetFrm::Form_Resize() {
    if (windowState() == WindowState::Minimized) return;
    const TwipSize outer{static_cast<int>(Width()), static_cast<int>(Height())};
    const CentredPanel p =
        layoutPortSetup(outer, {static_cast<int>(ComPortPic.Width()), static_cast<int>(ComPortPic.Height())});
    if (p.outer.width != outer.width) setWidth(p.outer.width);
    if (p.outer.height != outer.height) setHeight(p.outer.height);
    ComPortPic.Move(p.panelLeft, p.panelTop);
    Window::Form_Resize();
}

void ComPortSetFrm::ChangeComport(int n) {
    skipOnError([&] { ComPortCbx.setText(comPortItem(n)); });
}

void ComPortSetFrm::PortResetBtn_Click() {
    skipOnError([&] { fillPortBox(); });
    skipOnError([&] { ComPortCbx.setListIndex(0); });
    skipOnError([&] { DeviceSelCbx.setListIndex(0); });
}

void ComPortSetFrm::PortScanBtn_Click() {
    try {
        ScanView view(ComPortCbx, ScanProgressBar);
        ScanComPorts(PortAPI(), view);
        ComPortCbx.setListIndex(0);
    } catch (const VbError&) {
    }
}

void ComPortSetFrm::DeviceManager_Click() {
    skipOnError([&] {
        msgBox(comPortTable(comPortTableWords(texts())), MsgButtons::OK, MsgIcon::Information,
               DeviceManager.Caption());
    });
}

void ComPortSetFrm::LinkBtn_Click() {
    int n = 0;
    bool added = false;
    skipOnError([&] { n = portOfItem(ComPortCbx.Text()); });
    skipOnError([&] { added = OpenChannel(PortAPI(), n, kLinkSettings); });
    skipOnError([&] { CurrentChannel = ChannelCount; });
    skipOnError(
        [&] { IniRW().WriteINI("MeterSetting", "ComPort", std::to_string(n), shared().IniFilePath); });
    // The channel stands even when its port could not be opened; the user learns why at once
    // instead of watching a link that never answers.
    std::string failure;
    if (added) skipOnError([&] { failure = PortAPI().OpenFailureText(n, openFailureWords(texts())); });
    if (!failure.empty()) msgBox(failure, MsgButtons::OK, MsgIcon::Exclamation);
    Unload();
}

}  // namespace sq
