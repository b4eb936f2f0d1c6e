#pragma once
#include <memory>

#include "platform/dialogs.h"

class QMessageBox;
class QPrintDialog;
class QPrinter;
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

// The printer dialog the service shows for `printer`, not yet shown. Qt's dialog opens the output
// file it is given before it accepts it, to see that it can write it, and opening a pipe waits
// until another program reads it, with the whole program held up. So its OK first refuses, with a
// message naming the file and the reason, an output file that no write would replace: a pipe, a
// device, a socket, a folder or a link loop. Only then does Qt's own check run.
std::unique_ptr<QPrintDialog> makePrintDialog(QPrinter& printer);

// Turns a classic filter "Text (*.txt)|*.txt|All (*.*)|*.*" into Qt's ";;"-separated form.
std::string qtFilterFromClassic(const std::string& classic);

}  // namespace sq
