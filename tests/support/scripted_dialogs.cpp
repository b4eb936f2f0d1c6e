#include "support/scripted_dialogs.h"

namespace sq {

MsgResult ScriptedDialogs::message(const MessageRequest& request) {
    records.push_back({"message", request, request.text});
    if (onMessage) onMessage(request);
    if (!messageAnswers.empty()) {
        MsgResult r = messageAnswers.front();
        messageAnswers.pop_front();
        return r;
    }
    switch (request.buttons) {
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel:
            return MsgResult::Yes;
        case MsgButtons::AbortRetryIgnore:
            return MsgResult::Ignore;
        case MsgButtons::RetryCancel:
            return MsgResult::Retry;
        default:
            return MsgResult::OK;
    }
}

std::optional<std::string> ScriptedDialogs::input(const std::string& prompt, const std::string& title,
                                                  const std::string& defaultText) {
    records.push_back({"input", {}, prompt});
    if (inputAnswers.empty()) return std::nullopt;
    auto r = inputAnswers.front();
    inputAnswers.pop_front();
    return r;
}

std::optional<std::string> ScriptedDialogs::openFile(const FileDialogRequest& request) {
    records.push_back({"open", {}, request.title});
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    auto r = fileAnswers.front();
    fileAnswers.pop_front();
    return r;
}

std::optional<std::string> ScriptedDialogs::saveFile(const FileDialogRequest& request) {
    auto answer = saveFileAs(request);
    if (!answer) return std::nullopt;
    return answer->path;
}

std::optional<SaveFileAnswer> ScriptedDialogs::saveFileAs(const FileDialogRequest& request) {
    records.push_back({"save", {}, request.title});
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    auto path = fileAnswers.front();
    fileAnswers.pop_front();
    if (!path) return std::nullopt;
    SaveFileAnswer answer{*path, request.filterIndex};
    if (!filterAnswers.empty()) {
        answer.filterIndex = filterAnswers.front();
        filterAnswers.pop_front();
    }
    return answer;
}

std::optional<PrinterChoice> ScriptedDialogs::choosePrinter() {
    records.push_back({"printer", {}, {}});
    if (printerAnswers.empty()) return std::nullopt;
    auto r = printerAnswers.front();
    printerAnswers.pop_front();
    return r;
}

bool ScriptedDialogs::openWithViewer(const std::string& pathOrUrl) {
    records.push_back({"viewer", {}, pathOrUrl});
    return true;
}

std::vector<MessageRequest> ScriptedDialogs::messages() const {
    std::vector<MessageRequest> out;
    for (const auto& r : records)
        if (r.kind == "message") out.push_back(r.message);
    return out;
}

std::vector<std::string> ScriptedDialogs::messageTexts() const {
    std::vector<std::string> out;
    for (const auto& r : records)
        if (r.kind == "message") out.push_back(r.message.text);
    return out;
}

int ScriptedDialogs::countMessage(const std::string& text) const {
    int n = 0;
    for (const auto& r : records)
        if (r.kind == "message" && r.message.text == text) ++n;
    return n;
}

ScopedScriptedDialogs::ScopedScriptedDialogs() : m_previous(setDialogService(&m_dialogs)) {}
ScopedScriptedDialogs::~ScopedScriptedDialogs() {
    setDialogService(m_previous);
}

}  // namespace sq
