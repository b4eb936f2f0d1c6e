#include "platform/dialogs.h"

#include <cstdio>

namespace sq {

namespace {

// The service of a program that installed none: nobody is there to answer.
class UnattendedDialogs : public DialogService {
public:
    MsgResult message(const MessageRequest& request) override {
        std::fprintf(stderr, "%s\n", request.text.c_str());
        switch (request.buttons) {
            case MsgButtons::OK:
                return MsgResult::OK;
            case MsgButtons::YesNo:
                return MsgResult::No;
            case MsgButtons::AbortRetryIgnore:
                return MsgResult::Abort;
            case MsgButtons::OKCancel:
            case MsgButtons::YesNoCancel:
            case MsgButtons::RetryCancel:
                return MsgResult::Cancel;
        }
        return MsgResult::Cancel;
    }
    std::optional<std::string> input(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<SaveFileAnswer> saveFileAs(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<PrinterChoice> choosePrinter() override { return std::nullopt; }
    bool openWithViewer(const std::string&) override { return false; }
};

DialogService* g_service = nullptr;

}  // namespace

DialogService& dialogs() {
    static UnattendedDialogs unattended;
    return g_service ? *g_service : unattended;
}

DialogService* setDialogService(DialogService* service) {
    DialogService* previous = g_service;
    g_service = service;
    return previous;
}

MsgResult msgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) {
    return dialogs().message(MessageRequest{text, buttons, icon, title});
}

PrinterChoice PrinterChoice::pdfFile(const std::string& path, const std::string& paperSize) {
    PrinterChoice choice;
    choice.outputFile = path;
    choice.paperSize = paperSize;
    return choice;
}

}  // namespace sq
