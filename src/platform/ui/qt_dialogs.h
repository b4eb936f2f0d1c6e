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

// The printer dialog the service shows for `printer`, not yet shown, with its check of the output
// file taken over by takeOverPrintToFileCheck.
std::unique_ptr<QPrintDialog> makePrintDialog(QPrinter& printer);

// Qt's own check of the output file, on the dialog's OK, opens the name to see that it can write
// it, creating a missing file and removing it again: through a link that leads nowhere, that
// removes the link; and a pipe put at the name holds the program up in the open until another
// program reads it. While printing to a file is chosen, the OK runs instead a check that only looks
// at the name: it refuses, with a message naming the file and the reason, a name no write would
// replace (a pipe, a device, a socket, a folder, a link loop), asks before a file that is there is
// replaced, and then accepts the dialog, which gives the printer its settings. Nothing is opened,
// created or removed at the name. With a system printer chosen, Qt's own check runs as before.
//
// False, with a line on standard error, when the dialog is not made as this expects (a later Qt)
// and keeps Qt's own check.
bool takeOverPrintToFileCheck(QPrintDialog& dialog);

// Turns a classic filter "Text (*.txt)|*.txt|All (*.*)|*.*" into Qt's ";;"-separated form.
std::string qtFilterFromClassic(const std::string& classic);

}  // namespace sq
