#pragma once
#include "platform/dialogs.h"

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

// Turns a classic filter "Text (*.txt)|*.txt|All (*.*)|*.*" into Qt's ";;"-separated form.
std::string qtFilterFromClassic(const std::string& classic);

}  // namespace sq
