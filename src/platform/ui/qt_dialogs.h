#pragma once
#include <memory>

#include "platform/dialogs.h"

class QMessageBox;
class QWidget;

namespace sq {

// The production dialog service: Qt message boxes (title "Sonoquant" unless given), input boxes,
// file and printer dialogs, and the desktop's viewer.
class QtDialogs : public DialogService {
public:
    MsgResult message(const MessageRequest& request) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<SaveFileAnswer> saveFileAs(const FileDialogRequest& request) override;
    std::optional<PrinterChoice> choosePrinter() override;
    bool openWithViewer(const std::string& pathOrUrl) override;
};

// The message box the service shows for a request, not yet shown: at least as wide as its title
// needs in a window manager's frame (the title in bold and `kTitleButtonsRoom` pixels for the
// frame's buttons).
inline constexpr int kTitleButtonsRoom = 120;
std::unique_ptr<QMessageBox> makeMessageBox(const MessageRequest& request);

// Turns a classic filter "Text (*.txt)|*.txt|All (*.*)|*.*" into Qt's ";;"-separated form.
std::string qtFilterFromClassic(const std::string& classic);

}  // namespace sq
