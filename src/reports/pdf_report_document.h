#pragma once
// The PDF report while it is written: one object per report holding the writer, the grid copies and
// the state the pages share. Its steps are spread over the pdf_report_*.cpp files by topic.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "pdf/kdr_pdf.h"
#include "platform/event_pacer.h"
#include "reports/level_cell.h"
#include "reports/pdf_report.h"
#include "reports/pdf_report_levels.h"

namespace sq {

inline constexpr int32_t kGridGrey = rgbColour(190, 190, 190);

// The colour of a point-grid column; a column beyond the four takes the last series' colour. The
// series' count columns are 0 to 3.
constexpr int32_t seriesColour(int pointColumn) {
    return pointColumn >= 2 && pointColumn <= 4 ? kLevelSeries[pointColumn - 2].colour
                                                : kLevelSeries[3].colour;
}

class PdfReport {
public:
    PdfReport(kdrPDF& document, const PdfReportGrids& grids, const PdfReportHost& host);
    PdfReport(const PdfReport&) = delete;
    PdfReport& operator=(const PdfReport&) = delete;

    // Everything from the set-up to PDFEndDoc; a run-time error leaves it as a VbError.
    void run(const std::string& path);

private:
    // Table geometry in points: a step of 10, a cell margin of 3 and a bottom margin of 20.
    static constexpr int16_t kStep = 10;
    static constexpr double kCellMargin = 3;
    static constexpr double kBottomMargin = 20;
    static constexpr double kTextX = 29;   // left rule + cell margin
    static constexpr double kRuleX = 26;   // left rule of every row
    static constexpr double kFirstY = 33;  // step + bottom margin + cell margin
    static constexpr double kRowPitch = 16;

    // set-up (pdf_report.cpp)
    void setUp(const std::string& path);

    // tables (pdf_report_tables.cpp)
    void writeTables();
    void writeTable(int table);
    // Draws one row of the table at y: left rule, centred cells with their right rules; returns the
    // x after the last column.
    double drawRow(const GridCopy& grid, int row, const std::vector<double>& widths, double y);
    void drawTitleRow(const GridCopy& grid, const std::vector<double>& widths, double y);
    void breakTablePage(const GridCopy& grid, const std::vector<double>& widths, double& y);
    [[nodiscard]] int16_t writeUserInfoLines();

    // head block of the chart and histogram pages (pdf_report_head.cpp)
    void writeChartHead(int summaryValues);

    // chart page (pdf_report_chart.cpp)
    void writeLegend();
    void writeAxes(const std::string& yTitle, double yTitleX, const std::string& xTitle);
    void writeLevelScale();
    void writeChart();
    void countSinglePointRow();
    void writeTimeLabels(int row, int rows);
    void writeSegments(int row, int rows);
    void writeMaxima();
    void writeCentredFooter();

    // histogram page (pdf_report_histogram.cpp)
    void writeHistogramPage();
    void writeCountScale(double largest);
    void writeLevelLabels();
    void writeBars(double largest);

    // drawing and progress helpers
    void text(const std::string& text, double x, double y);
    void line(double x1, double y1, double x2, double y2) { m_doc.PDFDrawLine(x1, y1, x2, y2); }
    [[nodiscard]] std::string footerText() const { return "P - " + std::to_string(m_doc.PDFPageNumber()); }
    [[nodiscard]] double footerWidth() { return m_doc.PDFGetStringWidth(footerText(), "Helvetica", 12); }
    // One step of a loop: at the pacer's passes the caption shows `progress()` and events run.
    void pace(const std::function<std::string()>& progress);
    void showCaption(const std::string& caption);

    kdrPDF& m_doc;
    const PdfReportGrids& m_grids;
    const PdfReportHost& m_host;
    EventPacer m_pacer;
    std::string m_shownCaption;
    double m_limit = 0;  // lowest y at which a table row may start

    // chart and histogram
    PdfLevelCounts m_counts;
    std::array<PdfMaximum, 4> m_maxima;
    int64_t m_segmentsDone = 0;
    int64_t m_segmentTotal = 0;
};

}  // namespace sq
