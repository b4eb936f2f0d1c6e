// The histogram page: the head block again, legend and axes, a count scale with its grid, level
// labels, the footer, and per whole-dB level a grey bar with the four series' counts as lines.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/numbers.h"
#include "reports/pdf_report_document.h"
#include "reports/scale_to_axis.h"

namespace sq {

namespace {

constexpr int32_t kEvenBar = rgbColour(80, 80, 80);
constexpr int32_t kOddBar = rgbColour(160, 160, 160);

// The fractions of the largest count below it on the scale: eighths with a label further right
// and without a tick, quarters with a tick.
struct CountMark {
    double eighths;
    double labelX;
    bool tick;
};
constexpr CountMark kCountMarks[] = {{7, 35, false}, {6, 25, true}, {5, 35, false}, {4, 25, true},
                                     {3, 35, false}, {2, 25, true}, {1, 35, false}};

// A count label's digits end left of what stands on its row: its tick from x 50, or else the axis,
// 4 wide at x 58. Helvetica's digits leave at least 0.4 pt blank after their ink, so a label's width
// may reach that far past the line (three digits at x 35 end 0.016 pt into the axis).
// On the page texts stand the writer's left margin right of their x; lines do not.
constexpr double kTickLeft = 50;
constexpr double kAxisLeft = 56;
constexpr double kDigitBearing = 0.4;

// The y of a count on the histogram: 0 at 650, the largest count at 304.
double countY(double count, double largest) {
    return 304 + (346 - ScaleToAxis(count, largest, 346));
}

double countMark(double largest, double eighths) {
    return std::trunc(largest * eighths / 8);
}

}  // namespace

void PdfReport::writeHistogramPage() {
    const double largest = m_counts.largest();
    m_doc.PDFSetUnit(2);
    m_doc.PDFEndPage();
    m_doc.PDFNewPage();
    writeChartHead(4);
    writeLegend();
    writeAxes("Freq", 45, "dB");
    writeCountScale(largest);
    writeLevelLabels();
    // Before the bars: every rectangle turns the text colour white.
    writeCentredFooter();
    writeBars(largest);
}

// Without a counted level (a record without points) only the 0 of the scale stands. A label too
// wide for its place (a count of 1,000 or more) moves left until it ends before its tick or the axis.
// Below a largest count of 8 several marks fall on one whole number: its label stands once, at the
// first of them from the top, so that no digits are written over each other; the ticks stay.
void PdfReport::writeCountScale(double largest) {
    std::vector<std::string> written;
    auto label = [&](const std::string& count, double x, double y, bool tick) {
        if (std::find(written.begin(), written.end(), count) != written.end()) return;
        written.push_back(count);
        const double end = (tick ? kTickLeft : kAxisLeft) + kDigitBearing - m_doc.PDFGetLeftMargin();
        text(count, std::min(x, end - m_doc.PDFGetStringWidth(count, "Helvetica", 12)), y);
    };
    if (largest > 0) {
        label(formatNumber(largest), 25, 308, true);
        line(50, 305, 60, 305);
        for (const CountMark& mark : kCountMarks) {
            const double value = countMark(largest, mark.eighths);
            const double y = countY(value, largest);
            label(formatNumber(value), mark.labelX, y + 4, mark.tick);
            if (mark.tick) line(50, y, 60, y);
        }
    }
    label("0", 30, 654, true);
    line(50, 652, 60, 652);
    if (largest <= 0) return;

    m_doc.PDFSetLineWidth(1);
    m_doc.PDFSetLineStyle(3);
    m_doc.PDFSetLineColor(PdfValue(kGridGrey));
    line(60, countY(largest, largest), 540, countY(largest, largest));
    for (const CountMark& mark : kCountMarks) {
        const double y = countY(countMark(largest, mark.eighths), largest);
        line(60, y, 540, y);
    }
}

// Labels divide the axis by R = highest - lowest level. When every count fell in one level (R = 0)
// that level's label stands alone at the left.
void PdfReport::writeLevelLabels() {
    if (m_counts.empty()) return;
    const int lowest = m_counts.lowest();
    const int range = m_counts.highest() - lowest;
    if (range == 0) {
        text(std::to_string(lowest), 60 - 4, 666);
        return;
    }
    auto at = [&](int d) { return 60 + ScaleToAxis(d, range, 480); };
    text(std::to_string(lowest), at(0) - 4, 666);
    for (int k = 1; k <= 8; ++k) {
        const int d = static_cast<int>(std::trunc(double(9 - k) * range / 9));
        text(std::to_string(lowest + d), at(d) - 4, 666);
    }
    text(std::to_string(m_counts.highest()), at(range) - 10, 666);
}

// Each level owns four slots of the R + 1 levels' 4 (R + 1): a bar over all four up to its
// largest count, and one line per series at the start of its slot.
void PdfReport::writeBars(double largest) {
    if (m_counts.empty()) return;
    const int lowest = m_counts.lowest();
    const int slots = 4 * (m_counts.highest() - lowest + 1);
    auto slotX = [&](int s) { return 60 + ScaleToAxis(s, slots, 480); };
    for (int level = lowest; level <= m_counts.highest(); ++level) {
        m_doc.PDFSetLineWidth(1);
        m_doc.PDFSetDrawColor(PdfValue(level % 2 == 0 ? kEvenBar : kOddBar));
        m_doc.PDFSetLineStyle(0);
        const int first = 4 * (level - lowest);
        const double left = slotX(first);
        const double top = countY(m_counts.largestOf(level), largest);
        m_doc.PDFDrawRectangle(left, top, slotX(first + 4) - left, 650 - top, "");
        for (int j = 0; j < 4; ++j) {
            m_doc.PDFSetLineWidth(2);
            m_doc.PDFSetLineStyle(0);
            m_doc.PDFSetLineColor(PdfValue(kLevelSeries[j].colour));
            m_pacer.tick();
            const double x = slotX(first + j);
            line(x, countY(m_counts.count(level, j), largest), x, 650);
        }
    }
}

}  // namespace sq
