#pragma once
// The port setup window: the user picks the COM port of an instrument and opens the link. OK (also
// Enter) adds a channel for the port at 57600 baud, makes it current and remembers the port.
#include <string>

#include "mainwindow/layout.h"
#include "platform/ui/controls.h"
#include "platform/ui/window.h"
#include "shared/window_names.h"

namespace sq {

// The line settings every link opens with.
inline constexpr const char* kLinkSettings = "baud=57600 parity=N data=8 stop=1";
// "COM  " and the port number, as the port box lists it.
std::string comPortItem(int port);
// The port number in a port box text ("COM  12" gives 12; 0 when there is none).
int portOfItem(const std::string& text);

class ComPortSetFrm : public Window {
public:
    static constexpr const char* kName = window_name::kComPortSetFrm;
    ComPortSetFrm();

    Panel3D ComPortPic;
    Label DeviceLbl;
    ComboList DeviceSelCbx;
    Label ComPortLbl;
    ComboList ComPortCbx;
    CommandButton PortScanBtn;
    ProgressBar ScanProgressBar;
    CommandButton PortResetBtn;
    CommandButton LinkBtn;
    CommandButton DeviceManager;

    void ChangeComport(int n);
    void LinkBtn_Click();
    void PortResetBtn_Click();
    void PortScanBtn_Click();
    // Lists the ports that exist and how COM numbers map to devices (this system's device manager).
    void DeviceManager_Click();

protected:
    void Form_Load() override;
    void Form_Resize() override;

private:
    void applyTexts();
    void fillPortBox();
};

}  // namespace sq
