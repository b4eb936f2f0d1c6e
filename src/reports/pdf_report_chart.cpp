// The chart page's level chart in points: legend, axes, level scale and grid, time labels, one
// polyline per level series, the series' maxima and the page footer. The chart also counts every
// level cell for the histogram page.
#include "platform/numbers.h"
#include "reports/pdf_report_document.h"
#include "reports/scale_to_axis.h"

namespace sq {

namespace {

struct LegendEntry {
    double textX, textY, lineX1, lineX2, lineY;
};
constexpr LegendEntry kLegend[4] = {{420, 270, 450, 475, 266},
                                    {480, 270, 510, 535, 266},
                                    {420, 290, 450, 475, 286},
                                    {480, 290, 510, 535, 286}};

struct ScaleMark {
    const char* label;
    double labelY, tickY;
};
constexpr ScaleMark kLevelScale[] = {
    {"150", 310, 305}, {"125", 390, 387.5}, {"100", 480, 475}, {"75", 565, 562.5}, {"50", 650, 645}};
constexpr double kLevelGrid[] = {305, 346.25, 387.5, 431.25, 475, 518.75, 562.5, 603.75, 645};

constexpr const char* kMaximaLabels[4] = {"Max Lavg :", "Max Leq :", "Max Lcpk :", "Max Lzpk :"};

// A level's y on the chart: 150 dB at 305, 50 dB at 645.
double levelY(double level) {
    return 5 + 300 + (340 - ScaleToAxis(level - 50, 100, 340));
}

}  // namespace

void PdfReport::writeLegend() {
    for (int i = 0; i < 4; ++i) {
        const LegendEntry& e = kLegend[i];
        text(kLevelSeries[i].name, e.textX, e.textY);
        m_doc.PDFSetLineWidth(2);
        m_doc.PDFSetLineColor(PdfValue(kLevelSeries[i].colour));
        line(e.lineX1, e.lineY, e.lineX2, e.lineY);
    }
}

void PdfReport::writeAxes(const std::string& yTitle, double yTitleX, const std::string& xTitle) {
    m_doc.PDFSetLineWidth(4);
    m_doc.PDFSetLineColor(PdfValue(int32_t(0)));
    line(60, 652, 540, 652);
    line(58, 300, 58, 654);
    text(yTitle, yTitleX, 290);
    text(xTitle, 545, 655);
}

void PdfReport::writeLevelScale() {
    for (const ScaleMark& mark : kLevelScale) {
        text(mark.label, 20, mark.labelY);
        line(50, mark.tickY, 60, mark.tickY);
    }
    m_doc.PDFSetLineWidth(1);
    m_doc.PDFSetLineStyle(3);
    m_doc.PDFSetLineColor(PdfValue(kGridGrey));
    for (double y : kLevelGrid) line(60, y, 540, y);
}

void PdfReport::writeChart() {
    const GridCopy& points = m_grids.points;
    const int cols = points.cols();
    const int rows = points.rows();
    m_segmentTotal = int64_t(cols - 2) * (rows - 2);
    m_segmentsDone = 0;
    if (rows == 2) countSinglePointRow();
    for (int r = 2; r <= rows - 1; ++r) {
        m_doc.PDFSetLineWidth(4);
        m_doc.PDFSetLineColor(PdfValue(int32_t(0)));
        m_doc.PDFSetTextColor(PdfValue(int32_t(0)));
        writeTimeLabels(r, rows);
        m_doc.PDFSetLineWidth(2);
        m_doc.PDFSetLineStyle(0);
        writeSegments(r, rows);
    }
}

// A record of one point draws no line, but its levels are counted and are the maxima.
void PdfReport::countSinglePointRow() {
    const GridCopy& points = m_grids.points;
    for (int c = 2; c < points.cols(); ++c) {
        const PdfLevel level = CleanPdfLevel(points.cell(1, c));
        m_counts.add(level, c - 2);
        m_maxima.at(c - 2).offer(level, points.cell(1, 1));
    }
}

// The first point's time at the left, the middle point's and the last point's with a grid line.
void PdfReport::writeTimeLabels(int r, int rows) {
    const GridCopy& points = m_grids.points;
    const int middle = (rows - 1) / 2;
    const double mid = 60 + ScaleToAxis(middle, rows - 2, 480);
    auto gridLine = [&](double x) {
        m_doc.PDFSetLineWidth(1);
        m_doc.PDFSetLineStyle(3);
        m_doc.PDFSetLineColor(PdfValue(kGridGrey));
        line(x, 300, x, 650);
    };
    if (r == 2) {
        text(std::string(points.cell(1, 1)), 20, 671);
        line(58, 650, 58, 659);
    } else if (r - 1 == middle) {
        text(std::string(points.cell(r, 1)), mid - 50, 671);
        line(mid, 650, mid, 659);
        gridLine(mid);
    } else if (r == rows - 1) {
        text(std::string(points.cell(r, 1)), 460, 671);
        line(538, 650, 538, 659);
        gridLine(538);
    }
}

// The segments from point row r - 1 to row r, one per level column; the cells of row r - 1 are
// counted here, and those of the last row with its segments.
void PdfReport::writeSegments(int r, int rows) {
    const GridCopy& points = m_grids.points;
    const int cols = points.cols();
    const double x1 = 60 + ScaleToAxis(r - 2, rows - 2, 480);
    const double x2 = 60 + ScaleToAxis(r - 1, rows - 2, 480);
    for (int c = 2; c < cols; ++c) {
        const PdfLevel previous = CleanPdfLevel(points.cell(r - 1, c));
        const std::string_view previousTime = points.cell(r - 1, 1);
        const PdfLevel current = CleanPdfLevel(points.cell(r, c));
        const std::string_view currentTime = points.cell(r, 1);

        m_counts.add(previous, c - 2);
        if (r == rows - 1) m_counts.add(current, c - 2);
        PdfMaximum& maximum = m_maxima.at(c - 2);
        maximum.offer(previous, previousTime);
        maximum.offer(current, currentTime);

        m_doc.PDFSetLineColor(PdfValue(seriesColour(c)));
        line(x1, levelY(previous.numeric()), x2, levelY(current.numeric()));
        ++m_segmentsDone;
        pace([&] {
            return formatFixed(100.0 * m_segmentsDone / m_segmentTotal, 2) + "% " + m_host.completedText;
        });
    }
}

void PdfReport::writeMaxima() {
    for (int i = 0; i < 4; ++i) {
        const double y = 700 + 20 * i;
        text(kMaximaLabels[i], 310, y);
        text(m_maxima[i].text(), 380, y);
    }
}

void PdfReport::writeCentredFooter() {
    text(footerText(), (m_doc.PDFGetPageWidth() - footerWidth()) / 2, m_limit + 2 * kStep);
}

}  // namespace sq
