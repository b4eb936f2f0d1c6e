#pragma once
// The printer a print command prints on. Every command opens it with ShowPrinter, the printer dialog
// (through dialogs(), so tests answer it) after which the printer is the one chosen there, with the
// chosen orientation, copies and page size. Cancel and printer failures reach the caller as VbError.
//
// A printer that writes a PDF file writes it beside the chosen name and puts it in place when the
// job has ended with every byte written: until then, and for good when the job fails or is killed,
// an existing file of that name stays as it was. A file that cannot be made or written ends the job
// with a VbError whose text is the file's path and the system's reason on the next line.
//
// As a page printer it prints at the printer's high resolution through a painter scaled to twips, in
// "Liberation Sans" (the metrics of the windows' Arial; fontconfig substitutes where it is missing).
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/ui/page_surface.h"

class QFont;
class QFontMetricsF;
class QPaintDevice;
class QPainter;
class QPrinter;
class QWidget;

namespace sq {

class PrintFile;
class Window;

enum PrinterErrorNumber : int {
    kPrinterError = 482,
    kCancelError = 32755,  // the dialog's Cancel
};

class PrinterSurface : public PageSurface {
public:
    PrinterSurface();
    ~PrinterSurface() override;
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

    // Test seam: in every later job, starting page `page` fails as a printer that stopped would
    // (0: pages start again).
    static void setPageFaultForTests(int page);

protected:
    double measureWidth(std::string_view text) override;
    double measureHeight(std::string_view text) override;
    double pageWidth() override;
    double pageHeight() override;
    void beginJob() override;
    void beginPage() override;
    void drawText(double x, double y, std::string_view text) override;
    void drawLine(const LineCall& line) override;
    void endJob() override;
    bool abortJob() override;
    void fontChanged() override;
    double lineHeight() override;

private:
    void applyFont();
    // Where the job draws: the file of a PDF printer, opened for the job, or the printer itself.
    QPaintDevice& openOutput();
    // Puts the job's file, if it has one, in place; raises when it could not be written.
    void commitOutput();
    // The painter's pen for text (black) or for a line.
    void usePen(const LineCall* line);

    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QFont> m_font;
    std::unique_ptr<QFontMetricsF> m_metrics;
    // Widths already measured in the current font: a table repeats most of its texts (levels,
    // units, dates), and shaping a text costs far more than finding it.
    struct TextHash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    std::unordered_map<std::string, double, TextHash, std::equal_to<>> m_widths;
    std::unique_ptr<PrintFile> m_file;  // goes after the painter, which may still write to it
    std::unique_ptr<QPainter> m_painter;
    int m_pagesInJob = 0;
    bool m_textPen = false;
    // The pen last set for lines: width in dots, style, colour.
    int m_penWidth = -1;
    int m_penStyle = -1;
    int32_t m_penColour = -1;
};

}  // namespace sq
