// The head block of the chart and histogram pages: model and user information in centimetres, the
// white chart area and the summary values in points.
#include "reports/pdf_report_document.h"

namespace sq {

namespace {

constexpr double kHeadLimit = 27;  // cm
constexpr double kHeadTop = 1.25;  // cm
constexpr double kHeadPitch = 0.72;
constexpr double kHeadX = 0.25;

struct SummaryValue {
    int row;
    double labelX, labelY, valueX, valueY;
};
// Threshold, Criterion, Exchange Rate, Exceedance Level, Duration and Interval Time.
constexpr SummaryValue kSummaryValues[] = {
    {3, 90, 240, 90, 255},   {4, 90, 275, 90, 290},  {5, 200, 240, 200, 255},
    {6, 200, 275, 200, 290}, {10, 20, 698, 20, 715}, {7, 20, 733, 20, 750},
};

}  // namespace

double AdvancePdfLine(double& y, double limit, kdrPDF& document, uint8_t flag) {
    if (y < limit) {
        y += kHeadPitch;
        return y;
    }
    y = kHeadTop;
    document.PDFEndPage();
    document.PDFNewPage();
    if (flag != 1) document.PDFDrawLineHor(1.0, 0.705, 19.25);
    double footerX = document.PDFGetPageWidth() / 66;
    double footerY = limit + 1;
    document.PDFTextOut("P-" + std::to_string(document.PDFPageNumber()), footerX, footerY);
    return y;
}

// Called with the page open in centimetres; leaves it in points with the line style solid, the
// line width 1, the fill colour white and the text colour black.
void PdfReport::writeChartHead(int summaryValues) {
    double y = kHeadTop;
    for (int i = 0; i < 4; ++i) AdvancePdfLine(y, kHeadLimit, m_doc);
    text("- " + m_host.deviceModel, kHeadX, y);
    const GridCopy& info = m_grids.userInfo;
    for (int r = 0; r < info.rows(); ++r) {
        std::string line = std::string(info.cell(r, 0)) + " : ";
        for (int c = 1; c < info.cols(); ++c) line += info.cell(r, c);
        AdvancePdfLine(y, kHeadLimit, m_doc);
        text("- " + line, kHeadX, y);
    }

    m_doc.PDFSetUnit(0);
    m_doc.PDFSetLineStyle(0);
    m_doc.PDFSetLineWidth(1);
    m_doc.PDFSetDrawColor(PdfValue(rgbColour(255, 255, 255)));
    m_doc.PDFDrawRectangle(60, 300, 480, 350, "");
    m_doc.PDFSetTextColor(PdfValue(rgbColour(0, 0, 0)));

    // Taken by row number; a row the user deleted reads as empty.
    const GridCopy& summary = m_grids.summary;
    for (int i = 0; i < summaryValues; ++i) {
        const SummaryValue& v = kSummaryValues[i];
        text(std::string(summary.cell(v.row, 0)) + " :", v.labelX, v.labelY);
        text(std::string(summary.cell(v.row, 1)), v.valueX, v.valueY);
    }
}

}  // namespace sq
