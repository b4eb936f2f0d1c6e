#pragma once
// The dialog service the tests install: it records every request and answers from queued answers.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace sq {

// Records every request and answers from queued answers, falling back to defaults: OK for
// messages (Cancel/No never), nullopt (Cancel) for the other dialogs.
class ScriptedDialogs : public DialogService {
public:
    struct Record {
        std::string kind;  // "message", "input", "open", "save", "printer", "viewer"
        MessageRequest message;
        std::string text;  // prompt, title or path of the other kinds
    };

    MsgResult message(const MessageRequest& request) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<SaveFileAnswer> saveFileAs(const FileDialogRequest& request) override;
    std::optional<PrinterChoice> choosePrinter() override;
    bool openWithViewer(const std::string& pathOrUrl) override;

    // Answers, consumed in order by the matching kind of request.
    std::deque<MsgResult> messageAnswers;
    std::deque<std::optional<std::string>> inputAnswers;
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<int> filterAnswers;  // saveFileAs: the filter chosen with a path (default: the preselected)
    std::deque<std::optional<PrinterChoice>> printerAnswers;  // nullopt: Cancel
    // Called after a message is recorded and before it is answered (a modal box lets timers run).
    std::function<void(const MessageRequest&)> onMessage;

    std::vector<Record> records;
    std::vector<FileDialogRequest> fileRequests;  // every open and save dialog, in order
    [[nodiscard]] std::vector<MessageRequest> messages() const;
    [[nodiscard]] std::vector<std::string> messageTexts() const;
    [[nodiscard]] int countMessage(const std::string& text) const;
    void clear() { records.clear(); }
};

// Installs a ScriptedDialogs for the lifetime of the object.
class ScopedScriptedDialogs {
public:
    ScopedScriptedDialogs();
    ~ScopedScriptedDialogs();
    ScopedScriptedDialogs(const ScopedScriptedDialogs&) = delete;
    ScopedScriptedDialogs& operator=(const ScopedScriptedDialogs&) = delete;
    ScriptedDialogs* operator->() { return &m_dialogs; }
    ScriptedDialogs& operator*() { return m_dialogs; }

private:
    ScriptedDialogs m_dialogs;
    DialogService* m_previous;
};

}  // namespace sq
