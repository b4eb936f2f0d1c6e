#pragma once
// Every modal question the program asks goes through one service: message boxes, input boxes,
// file and printer dialogs, and opening a file in the desktop's viewer. Production installs the Qt
// implementation; tests install ScriptedDialogs, which records and answers.
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sq {

enum class MsgButtons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgResult { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageRequest {
    std::string text;
    MsgButtons buttons = MsgButtons::OK;
    MsgIcon icon = MsgIcon::None;
    std::string title;  // empty: the application title "Sonoquant"
};

// The printer the user chose in the printer dialog.
struct PrinterChoice {
    enum class Orientation { Portrait = 1, Landscape = 2 };
    Orientation orientation = Orientation::Portrait;
    int copies = 1;
    std::string printerName;  // a system printer; empty: the default printer
    std::string outputFile;   // not empty: a PDF file is written here instead of printing
    std::string paperSize;    // a page size key such as "A4" or "Letter"; empty: the printer's default

    // A printer that writes a PDF file (what tests answer the dialog with).
    static PrinterChoice pdfFile(const std::string& path, const std::string& paperSize = "A4");
};

struct FileDialogRequest {
    std::string title;
    std::string filter;  // classic filter text, e.g. "Data File (*.qvx)|*.qvx"
    std::string initialDir;
    std::string fileName;  // proposed name (save) or initial selection
    int filterIndex = 1;   // the filter entry preselected, 1-based
};

// A confirmed Save As dialog: the path and the filter entry chosen in it, 1-based.
struct SaveFileAnswer {
    std::string path;
    int filterIndex = 1;
};

class DialogService {
public:
    virtual ~DialogService() = default;
    virtual MsgResult message(const MessageRequest& request) = 0;
    // nullopt when cancelled.
    virtual std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                             const std::string& defaultText) = 0;
    virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
    // The same dialog, answering the chosen filter entry as well.
    virtual std::optional<SaveFileAnswer> saveFileAs(const FileDialogRequest& request) = 0;
    // Shows the printer dialog; nullopt when cancelled.
    virtual std::optional<PrinterChoice> choosePrinter() = 0;
    // Opens a file or URL with the desktop's viewer; false when that failed.
    virtual bool openWithViewer(const std::string& pathOrUrl) = 0;
};

// The installed service. Until one is installed, a ScriptedDialogs that answers OK/Cancel defaults.
DialogService& dialogs();
void setDialogService(DialogService* service);  // not owned

// Shorthand for the classic MsgBox.
MsgResult msgBox(const std::string& text, MsgButtons buttons = MsgButtons::OK, MsgIcon icon = MsgIcon::None,
                 const std::string& title = {});

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

// Installs a ScriptedDialogs for the lifetime of the object (tests).
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
