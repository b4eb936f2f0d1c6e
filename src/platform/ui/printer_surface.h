#pragma once
// The printer a print command prints on. Every command opens it with ShowPrinter, the printer dialog
// (through dialogs(), so tests answer it) after which the printer is the one chosen there, with the
// chosen orientation, copies and page size. Cancel and printer failures reach the caller as VbError.
#include <memory>

class QPrinter;
class QWidget;

namespace sq {

class Window;

enum PrinterErrorNumber : int {
    kPrinterError = 482,
    kCancelError = 32755,  // the dialog's Cancel
};

class PrinterSurface {
public:
    PrinterSurface();
    ~PrinterSurface();
    PrinterSurface(const PrinterSurface&) = delete;
    PrinterSurface& operator=(const PrinterSurface&) = delete;

    // The opening sequence: the printer dialog; OK makes its choice the printer (a system printer,
    // or a PDF file written instead of printing), Cancel raises VbError(kCancelError) and changes
    // nothing.
    void ShowPrinter();
    // 1 portrait, 2 landscape.
    [[nodiscard]] int Orientation() const;
    [[nodiscard]] int Copies() const;

    // Prints an image of the window's client area as it is shown now, as a job of its own. The window
    // draws itself onto the page, so its texts stay texts; it is printed at its size on the screen,
    // scaled down to fit the printable area and never enlarged, from the area's top-left corner.
    // Raises VbError(kPrinterError) when the printer cannot be opened.
    void PrintForm(Window& window);
    void PrintForm(QWidget* widget);

    [[nodiscard]] QPrinter& printer() { return *m_printer; }

private:
    std::unique_ptr<QPrinter> m_printer;
};

}  // namespace sq
