#include "platform/ui/printer_surface.h"

#include <QPageSize>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>
#include <algorithm>

#include "platform/dialogs.h"
#include "platform/numbers.h"
#include "platform/ui/window.h"
#include "platform/vb_error.h"

namespace sq {

namespace {

std::optional<QPageSize> pageSizeOfKey(const std::string& key) {
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        auto size = static_cast<QPageSize::PageSizeId>(id);
        if (QPageSize::key(size).toStdString() == key) return QPageSize(size);
    }
    return std::nullopt;
}

}  // namespace

PrinterSurface::PrinterSurface() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

PrinterSurface::~PrinterSurface() = default;

void PrinterSurface::ShowPrinter() {
    std::optional<PrinterChoice> choice = dialogs().choosePrinter();
    if (!choice) raise(kCancelError, "Cancel was selected.");
    int16_t copies = toInt16(std::max(1, choice->copies));

    if (!choice->outputFile.empty()) {
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(QString::fromStdString(choice->outputFile));
    } else {
        QString name = QString::fromStdString(choice->printerName);
        if (name.isEmpty()) name = QPrinterInfo::defaultPrinterName();
        m_printer->setOutputFileName({});
        m_printer->setOutputFormat(QPrinter::NativeFormat);
        if (!name.isEmpty()) m_printer->setPrinterName(name);
    }
    if (auto size = pageSizeOfKey(choice->paperSize)) m_printer->setPageSize(*size);
    m_printer->setPageOrientation(choice->orientation == PrinterChoice::Orientation::Landscape
                                      ? QPageLayout::Landscape
                                      : QPageLayout::Portrait);
    m_printer->setCopyCount(copies);
}

int PrinterSurface::Orientation() const {
    return m_printer->pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
}

int PrinterSurface::Copies() const {
    return m_printer->copyCount();
}

void PrinterSurface::PrintForm(Window& window) {
    PrintForm(window.surface());
}

void PrinterSurface::PrintForm(QWidget* widget) {
    if (!widget) raise(kObjectNotSet);
    QPainter painter;
    if (!painter.begin(m_printer.get())) raise(kPrinterError, "The printer could not be opened.");
    // Device pixels per screen pixel, then down to what fits the printable area.
    double natural = std::min(m_printer->logicalDpiX() / double(widget->logicalDpiX()),
                              m_printer->logicalDpiY() / double(widget->logicalDpiY()));
    double fit = std::min(m_printer->width() / double(std::max(1, widget->width())),
                          m_printer->height() / double(std::max(1, widget->height())));
    double scale = std::min(natural, fit);
    // Rendering onto a printer painter would send the window as one bitmap; recorded as a picture
    // first, it reaches the page as lines, fills and texts.
    QPicture picture;
    widget->render(&picture, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    // Playing a picture already scales it from its own dots per inch to the printer's.
    painter.scale(scale * picture.logicalDpiX() / m_printer->logicalDpiX(),
                  scale * picture.logicalDpiY() / m_printer->logicalDpiY());
    painter.drawPicture(0, 0, picture);
    painter.end();
}

}  // namespace sq
