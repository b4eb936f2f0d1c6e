#pragma once
// Every modal question the program asks goes through one service: message boxes, input boxes,
// file and printer dialogs, and opening a file in the desktop's viewer. The program installs the Qt
// implementation; tests install one that records and answers.
#include <optional>
#include <string>

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

// The installed service. Until one is installed (the tools, which have no windows, install none),
// each message is written to standard error and answered as a box closed unread is: Cancel, No or
// Abort where the box offers it, else OK; every other dialog is cancelled and nothing is opened.
DialogService& dialogs();
// Installs `service` (not owned; nullptr: none) and returns the one installed before.
DialogService* setDialogService(DialogService* service);

// Shorthand for the classic MsgBox.
MsgResult msgBox(const std::string& text, MsgButtons buttons = MsgButtons::OK, MsgIcon icon = MsgIcon::None,
                 const std::string& title = {});

}  // namespace sq
