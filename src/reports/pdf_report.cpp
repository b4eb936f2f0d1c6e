// The PDF report's course: set-up, tables, chart page, histogram page and the end of the document,
// with the one error exit that keeps a failed report from passing for a whole one.
#include "reports/pdf_report.h"

#include <memory>

#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/vb_error.h"
#include "reports/pdf_report_document.h"
#include "texts/language_texts.h"

namespace sq {

namespace {

constexpr int kUnitPoints = 0;
constexpr int kUnitCentimetres = 2;

std::string errorLine(const VbError& error) {
    return "Error " + std::to_string(error.number()) + ": " + error.what();
}

}  // namespace

PdfReport::PdfReport(kdrPDF& document, const PdfReportGrids& grids, const PdfReportHost& host)
    : m_doc(document), m_grids(grids), m_host(host) {}

void PdfReport::run(const std::string& path) {
    setUp(path);
    writeTables();

    m_doc.PDFEndPage();
    m_doc.PDFSetUnit(kUnitCentimetres);
    m_doc.PDFNewPage();
    writeChartHead(6);
    writeLegend();
    writeAxes("dB", 50, "Time");
    writeLevelScale();
    writeChart();
    writeMaxima();
    writeCentredFooter();

    writeHistogramPage();
    m_doc.PDFEndDoc();
}

void PdfReport::setUp(const std::string& path) {
    m_doc.PDFTitle(m_host.deviceModel + "_PDF");
    m_doc.PDFFileName(path);
    // Without its file the report could only fail later; it stops here and says why.
    if (!m_doc.hasOutputFile()) {
        if (m_doc.outputFileError() != 0) throw fileError(m_doc.outputFileError());
        raise(kPathNotFound);
    }
    m_doc.PDFLoadAfm(programPath("Fonts"));
    m_doc.PDFSetFont(0, 12, 0);
    m_doc.PDFSetLayoutMode(3);
    m_doc.PDFFormatPage(PdfValue(int32_t(0)));
    m_doc.PDFOrientation(1);
    m_doc.PDFSetTextColor(PdfValue(int32_t(0)));
    m_doc.PDFView(true);
    m_doc.PDFSetLineColor(PdfValue(int32_t(0)));
    m_doc.PDFSetFill(true);
    m_doc.PDFSetLineStyle(0);
    m_doc.PDFUseOutlines(true);
    m_doc.PDFSetDrawMode(1);
    m_doc.PDFSetUnit(kUnitPoints);
    m_limit = m_doc.PDFGetPageHeight() - 2 * kBottomMargin;
    m_doc.PDFBeginDoc();
}

void PdfReport::text(const std::string& text, double x, double y) {
    m_doc.PDFTextOut(text, x, y);
}

void PdfReport::pace(const std::function<std::string()>& progress) {
    m_pacer.tick([&] { showCaption(progress()); });
}

void PdfReport::showCaption(const std::string& caption) {
    if (caption == m_shownCaption) return;
    m_shownCaption = caption;
    if (m_host.setCaption) m_host.setCaption(caption);
}

void WritePdfReport(const std::string& path, const PdfReportGrids& grids, const PdfReportHost& host) {
    auto restoreCaption = [&] {
        if (host.setCaption) host.setCaption(host.caption);
    };
    auto document = std::make_unique<kdrPDF>();
    try {
        PdfReport(*document, grids, host).run(path);
        restoreCaption();
        return;
    } catch (const VbError& error) {
        // The pages written so far are ended into a file that opens, but not in the viewer: the
        // message tells the user it is incomplete.
        document->PDFView(false);
        bool ended = true;
        try {
            document->PDFEndDoc();
        } catch (const VbError&) {
            ended = false;
        }
        document.reset();  // a document not ended leaves the file of that name as it was
        restoreCaption();
        std::string message = texts().TxtPdfReportIncomplete + "\r\n" + path + "\r\n" + errorLine(error);
        if (!ended) message += "\r\n" + texts().TxtNoReportWritten;
        msgBox(message, MsgButtons::OK, MsgIcon::Critical);
    }
}

}  // namespace sq
