// The report's tables in points: the summary table ("Header Data") and, when chosen, the point table
// ("RecordData"), each under the model and user-information lines, with page breaks and footers.
#include <algorithm>
#include <cmath>

#include "platform/numbers.h"
#include "platform/vb_error.h"
#include "reports/pdf_report_document.h"

namespace sq {

namespace {

// The classic integer division of a rounded value: the remainder is dropped.
double halfDroppingRemainder(double value) {
    return std::trunc(roundHalfEven(value) / 2);
}

}  // namespace

int16_t PdfWriteUserInfo(int16_t x, int16_t y, int16_t step, int16_t margin, const GridCopy& userInfo,
                         const std::string& deviceModel, kdrPDF& document) {
    double lineY = y;
    auto writeLine = [&](const std::string& line) {
        skipOnError([&] {
            double textX = x, textY = lineY;
            document.PDFTextOut(line, textX, textY);
        });
        lineY += step + margin;
    };
    writeLine("- " + deviceModel);
    for (int r = 0; r < userInfo.rows(); ++r)
        writeLine("- " + std::string(userInfo.cell(r, 0)) + " : " + std::string(userInfo.cell(r, 1)));
    return toInt16(lineY);
}

int16_t PdfReport::writeUserInfoLines() {
    return PdfWriteUserInfo(static_cast<int16_t>(kTextX), static_cast<int16_t>(kFirstY), kStep,
                            static_cast<int16_t>(kCellMargin), m_grids.userInfo, m_host.deviceModel, m_doc);
}

void PdfReport::writeTables() {
    const int lastTable = m_host.printRecordData != 0 ? 1 : 0;
    for (int table = 0; table <= lastTable; ++table) writeTable(table);
}

void PdfReport::writeTable(int table) {
    const GridCopy& grid = table == 0 ? m_grids.summary : m_grids.points;
    if (table == 1) {
        m_doc.PDFEndPage();
        m_doc.PDFNewPage();
    }
    const int16_t below = writeUserInfoLines();
    text(table == 0 ? " - Header Data" : " - RecordData", kTextX, below + kRowPitch);
    double y = below + 2 * kRowPitch;

    const int rows = grid.rows();
    const int cols = grid.cols();
    std::vector<double> widths(static_cast<size_t>(cols), 0.0);
    std::string measured;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            measured.assign(grid.cell(r, c));
            measured += "00";
            widths[c] = std::max(widths[c], m_doc.PDFGetStringWidth(measured, "Helvetica", 12));
        }

    for (int r = 0; r < rows; ++r) {
        if (y > m_limit) breakTablePage(grid, widths, y);
        const double end = drawRow(grid, r, widths, y);
        if (r == 0) line(kRuleX, y - kStep - kCellMargin, end - kCellMargin, y - kStep - kCellMargin);
        const double rowY = y;
        y += kRowPitch;
        line(kRuleX, rowY + kCellMargin, end - kCellMargin, rowY + kCellMargin);
        // A table of its title row alone is complete after it (no 0 / 0).
        pace([&] {
            const double percent = rows > 1 ? r / double(rows - 1) * 100 : 100;
            return formatFixed(percent, 1) + " % " + m_host.completedText;
        });
    }
    const double footerX = halfDroppingRemainder(m_doc.PDFGetPageWidth() - footerWidth());
    text(footerText(), footerX, m_limit + 2 * kStep);
}

double PdfReport::drawRow(const GridCopy& grid, int row, const std::vector<double>& widths, double y) {
    const double top = y - kStep - kCellMargin;
    const double bottom = y + kCellMargin;
    line(kRuleX, top, kRuleX, bottom);
    double x = kTextX;
    std::string cell;
    for (size_t c = 0; c < widths.size(); ++c) {
        cell.assign(grid.cell(row, static_cast<int>(c)));
        const double width = m_doc.PDFGetStringWidth(cell, "Helvetica", 12);
        text(cell, x + halfDroppingRemainder(widths[c] - kCellMargin - width), y);
        x += widths[c] + kCellMargin;
        line(x - kCellMargin, top, x - kCellMargin, bottom);
    }
    return x;
}

void PdfReport::drawTitleRow(const GridCopy& grid, const std::vector<double>& widths, double y) {
    const double end = drawRow(grid, 0, widths, y);
    line(kRuleX, y - kStep - kCellMargin, end - kCellMargin, y - kStep - kCellMargin);
    line(kRuleX, y + kCellMargin, end - kCellMargin, y + kCellMargin);
}

// The row at y did not fit: this page gets its footer below the last row, and the next page the
// model, user information and column titles; y becomes the place of the row that did not fit.
void PdfReport::breakTablePage(const GridCopy& grid, const std::vector<double>& widths, double& y) {
    text(footerText(), (m_doc.PDFGetPageWidth() - footerWidth()) / 2, y + kStep);
    m_doc.PDFEndPage();
    m_doc.PDFNewPage();
    y = writeUserInfoLines() + kRowPitch;
    drawTitleRow(grid, widths, y);
    y += kRowPitch;
}

}  // namespace sq
