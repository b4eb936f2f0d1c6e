#include "platform/ui/printer_surface.h"

#include <QFont>
#include <QFontMetricsF>
#include <QIODevice>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "platform/dialogs.h"
#include "platform/numbers.h"
#include "platform/text_file.h"
#include "platform/ui/window.h"
#include "platform/vb_error.h"

namespace sq {

namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kTwipsPerPoint = 20;
// Line widths are dots of a 600 dpi printer, whatever the printer's own resolution.
constexpr double kTwipsPerDot = kTwipsPerInch / 600;

int g_pageFault = 0;

// Bounds the width cache: texts seen once (point numbers, times) push it to this size now and then,
// and it starts afresh.
constexpr size_t kWidthCacheSize = 8192;

QColor colourOf(int32_t rgb) {
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

std::optional<QPageSize> pageSizeOfKey(const std::string& key) {
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        auto size = static_cast<QPageSize::PageSizeId>(id);
        if (QPageSize::key(size).toStdString() == key) return QPageSize(size);
    }
    return std::nullopt;
}

}  // namespace

// The PDF file of a printer that writes one: the job draws on a PDF writer whose bytes go through
// the atomic file writer, so the file of that name changes only when commit() puts the whole job in
// place, and every refused byte is noticed.
class PrintFile : public QIODevice {
public:
    PrintFile(const std::string& path, const QPrinter& printer) : m_path(path), m_file(path) {
        if (m_file.failed()) return;
        open(QIODevice::WriteOnly);
        m_writer = std::make_unique<QPdfWriter>(this);
        m_writer->setResolution(printer.resolution());
        m_writer->setPageLayout(printer.pageLayout());
        m_writer->setPdfVersion(printer.pdfVersion());
        m_writer->setTitle(printer.docName());
        m_writer->setCreator(printer.creator());
    }
    ~PrintFile() override { m_writer.reset(); }
    PrintFile(const PrintFile&) = delete;
    PrintFile& operator=(const PrintFile&) = delete;

    // The writer to draw on; raises when the file could not be made.
    QPdfWriter& writer() {
        if (m_file.failed()) throw failure();
        return *m_writer;
    }
    // Call after the painter has ended. Raises when a byte was refused or the file cannot be put in
    // place; either way nothing is left beside the file of that name.
    void commit() {
        close();
        if (!m_file.commit()) throw failure();
    }

protected:
    qint64 writeData(const char* data, qint64 length) override {
        m_file.write(std::string_view(data, static_cast<size_t>(length)));
        return m_file.failed() ? -1 : length;
    }
    qint64 readData(char*, qint64) override { return -1; }

private:
    [[nodiscard]] VbError failure() const {
        const VbError error = fileError(m_file.error());
        return VbError(error.number(), m_path + "\n" + error.what());
    }

    std::string m_path;
    AtomicFileWriter m_file;
    std::unique_ptr<QPdfWriter> m_writer;
};

PrinterSurface::PrinterSurface()
    : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      m_font(std::make_unique<QFont>(QStringLiteral("Liberation Sans"))) {
    m_font->setHintingPreference(QFont::PreferNoHinting);
    applyFont();
}

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
    // A file not put in place is dropped on every way out.
    struct DropFile {
        std::unique_ptr<PrintFile>& file;
        ~DropFile() { file.reset(); }
    } dropFile{m_file};
    QPaintDevice& device = openOutput();
    QPainter painter;
    if (!painter.begin(&device)) raise(kPrinterError, "The printer could not be opened.");
    // Device pixels per screen pixel, then down to what fits the printable area.
    double natural = std::min(device.logicalDpiX() / double(widget->logicalDpiX()),
                              device.logicalDpiY() / double(widget->logicalDpiY()));
    double fit = std::min(device.width() / double(std::max(1, widget->width())),
                          device.height() / double(std::max(1, widget->height())));
    double scale = std::min(natural, fit);
    // Rendering onto a printer painter would send the window as one bitmap; recorded as a picture
    // first, it reaches the page as lines, fills and texts.
    QPicture picture;
    widget->render(&picture, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    // Playing a picture already scales it from its own dots per inch to the printer's.
    painter.scale(scale * picture.logicalDpiX() / device.logicalDpiX(),
                  scale * picture.logicalDpiY() / device.logicalDpiY());
    painter.drawPicture(0, 0, picture);
    painter.end();
    commitOutput();
}

QPaintDevice& PrinterSurface::openOutput() {
    m_file.reset();
    const QString fileName = m_printer->outputFileName();
    if (m_printer->outputFormat() != QPrinter::PdfFormat || fileName.isEmpty()) return *m_printer;
    m_file = std::make_unique<PrintFile>(fileName.toStdString(), *m_printer);
    return m_file->writer();
}

void PrinterSurface::commitOutput() {
    const std::unique_ptr<PrintFile> file = std::move(m_file);
    if (file) file->commit();
}

void PrinterSurface::setPageFaultForTests(int page) {
    g_pageFault = page;
}

// The painter is scaled to twips, so a font sized in pixels is sized in twips: 20 per point.
void PrinterSurface::applyFont() {
    m_font->setPixelSize(std::max(1, static_cast<int>(std::lround(FontSize() * kTwipsPerPoint))));
    m_metrics = std::make_unique<QFontMetricsF>(*m_font, m_printer.get());
    m_widths.clear();
    if (m_painter) m_painter->setFont(*m_font);
}

void PrinterSurface::fontChanged() {
    applyFont();
}

double PrinterSurface::measureWidth(std::string_view text) {
    if (auto it = m_widths.find(text); it != m_widths.end()) return it->second;
    const double width =
        m_metrics->horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    if (m_widths.size() >= kWidthCacheSize) m_widths.clear();
    m_widths.emplace(text, width);
    return width;
}

double PrinterSurface::measureHeight(std::string_view text) {
    return m_metrics->height() * static_cast<double>(1 + std::count(text.begin(), text.end(), '\n'));
}

double PrinterSurface::lineHeight() {
    return m_metrics->height();
}

double PrinterSurface::pageWidth() {
    return m_printer->pageLayout().paintRect(QPageLayout::Point).width() * kTwipsPerPoint;
}

double PrinterSurface::pageHeight() {
    return m_printer->pageLayout().paintRect(QPageLayout::Point).height() * kTwipsPerPoint;
}

void PrinterSurface::beginJob() {
    QPaintDevice& device = openOutput();
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&device)) {
        m_file.reset();
        raise(kPrinterError, "The printer could not be opened.");
    }
    const double scale = m_printer->resolution() / kTwipsPerInch;
    painter->scale(scale, scale);
    painter->setFont(*m_font);
    painter->setBrush(Qt::NoBrush);
    m_painter = std::move(painter);
    m_pagesInJob = 1;
    m_textPen = false;
    m_penWidth = -1;
}

void PrinterSurface::beginPage() {
    if (m_pagesInJob + 1 == g_pageFault || !(m_file ? m_file->writer().newPage() : m_printer->newPage()))
        raise(kPrinterError, "The page could not be started.");
    ++m_pagesInJob;
}

void PrinterSurface::usePen(const LineCall* line) {
    if (!line) {
        if (m_textPen) return;
        m_painter->setPen(QPen(Qt::black));
        m_textPen = true;
        m_penWidth = -1;
        return;
    }
    const int dots = line->drawStyle == kDashed ? 1 : line->drawWidth;
    const int32_t colour = line->colour.value_or(0);
    if (!m_textPen && dots == m_penWidth && line->drawStyle == m_penStyle && colour == m_penColour) return;
    QPen pen(colourOf(colour), dots * kTwipsPerDot,
             line->drawStyle == kDashed ? Qt::DashLine : Qt::SolidLine);
    m_painter->setPen(pen);
    m_textPen = false;
    m_penWidth = dots;
    m_penStyle = line->drawStyle;
    m_penColour = colour;
}

void PrinterSurface::drawText(double x, double y, std::string_view text) {
    usePen(nullptr);
    m_painter->drawText(QPointF(x, y + m_metrics->ascent()),
                        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void PrinterSurface::drawLine(const LineCall& line) {
    if (line.form == LineForm::Box) {
        m_painter->fillRect(QRectF(QPointF(line.x1, line.y1), QPointF(line.x2, line.y2)).normalized(),
                            colourOf(line.colour.value_or(0)));
        return;
    }
    usePen(&line);
    m_painter->drawLine(QPointF(line.x1, line.y1), QPointF(line.x2, line.y2));
}

void PrinterSurface::endJob() {
    if (m_painter) m_painter->end();
    m_painter.reset();
    m_pagesInJob = 0;
    commitOutput();
}

bool PrinterSurface::abortJob() {
    if (m_file) {
        // The painter's last bytes go to a file that is then dropped.
        m_painter.reset();
        m_file.reset();
        m_pagesInJob = 0;
        return true;
    }
    if (!m_printer->abort()) return false;
    m_painter.reset();
    m_pagesInJob = 0;
    return true;
}

}  // namespace sq
