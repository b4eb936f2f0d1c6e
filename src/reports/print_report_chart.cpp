// The chart page of the printed report: six summary values in two centred columns, then the level
// chart of every point, 50 to 150 dB, with level and time labels and a legend.
#include <array>
#include <cmath>

#include "platform/numbers.h"
#include "platform/ui/page_surface.h"
#include "platform/vb_error.h"
#include "reports/level_cell.h"
#include "reports/print_report.h"
#include "reports/scale_to_axis.h"

namespace sq {

namespace {

constexpr double kLevelFloor = 50;
constexpr double kLevelCeiling = 150;
constexpr int32_t kBlack = rgbColour(0, 0, 0);
constexpr int32_t kBoxColour = rgbColour(230, 230, 230);
constexpr int32_t kGridColour = rgbColour(100, 100, 100);

// Threshold, Criterion and Duration in the first column, Exchange Rate, Exceedance Level and Interval
// Time in the second: label and value of each, by summary row.
constexpr std::array<int, 6> kBlockRows = {3, 4, 10, 5, 6, 7};

class ChartPrinter {
public:
    ChartPrinter(PageSurface& surface, const GridCopy& points, const GridCopy& summary, double blockTop,
                 double lineHeight)
        : m_surface(surface),
          m_points(points),
          m_summary(summary),
          m_blockTop(blockTop),
          m_lineHeight(lineHeight),
          m_step(lineHeight + kRowGap) {}

    void run(const std::function<void()>& afterPoint) {
        m_frame = MeasureChartFrame(m_surface, m_blockTop, m_lineHeight);
        m_pointCount = m_points.rows() - 1;
        m_zeroWidth = m_surface.TextWidth("0");
        m_zeroHeight = m_surface.TextHeight("0");
        m_levelLabelWidth = m_surface.TextWidth(formatFixed(999.9, 1));
        m_timeLabelWidth = m_surface.TextWidth("2018/12/30 23:59:59");
        printSummaryBlock();
        m_surface.Line(m_frame.left, m_frame.top, m_frame.right, m_frame.bottom, kBoxColour, LineForm::Box);
        printLevelAxis();
        // Below two points there is no time axis to divide and nothing to join.
        std::vector<int> labelled;
        if (m_pointCount >= 2) {
            const int intervals = LabelIntervalsFor(
                m_frame.right - m_frame.left, m_surface.TextWidth("000") + m_timeLabelWidth, m_pointCount);
            labelled = LabelledRows(m_pointCount, intervals);
        }
        m_surface.setDrawWidth(15);
        m_surface.Line(m_frame.left, m_frame.top, m_frame.left, m_frame.bottom, kBlack);
        m_surface.Line(m_frame.left, m_frame.bottom, m_frame.right, m_frame.bottom, kBlack);
        if (m_pointCount >= 2) printPoints(labelled, afterPoint);
        printLegend();
        PrintPageFooter(m_surface, m_lineHeight);
        m_surface.NewPage();
    }

private:
    void printAt(double x, double y, std::string_view text) {
        m_surface.setCurrentX(x);
        m_surface.setCurrentY(y);
        m_surface.Print(text);
    }

    void printSummaryBlock() {
        std::array<std::string, 12> cells;
        for (size_t k = 0; k < kBlockRows.size(); ++k) {
            cells[2 * k] = std::string(m_summary.cell(kBlockRows[k], 0));
            cells[2 * k + 1] = std::string(m_summary.cell(kBlockRows[k], 1));
        }
        double columnWidth = 0;
        for (const std::string& t : cells)
            if (m_surface.TextWidth(t) > columnWidth) columnWidth = m_surface.TextWidth(t + "0000");
        for (int c = 0; c < 2; ++c) {
            for (int k = 0; k < 6; ++k) {
                const std::string& t = cells[static_cast<size_t>(6 * c + k)];
                printAt(kTextLeft + c * columnWidth + (columnWidth - m_surface.TextWidth(t)) / 2,
                        m_blockTop + k * m_step, t);
            }
        }
    }

    [[nodiscard]] double heightOf(double fraction) const {
        return m_frame.bottom - fraction * (m_frame.bottom - m_frame.top);
    }

    void gridLinePen() {
        m_surface.setDrawWidth(1);
        m_surface.setDrawStyle(PageSurface::kDashed);
    }
    void tickPen() {
        m_surface.setDrawStyle(PageSurface::kSolid);
        m_surface.setDrawWidth(15);
    }

    // Dashed lines at every eighth of the height, every other one labelled and ticked.
    void printLevelAxis() {
        for (int i = 0; i <= 4; ++i) {
            const double fraction = ScaleToAxis(i, 4, 1);
            const double y = heightOf(fraction);
            gridLinePen();
            m_surface.Line(m_frame.left, y, m_frame.right, y, kGridColour);
            if (i >= 1) {
                const double half = heightOf(ScaleToAxis(2 * i - 1, 8, 1));
                m_surface.Line(m_frame.left, half, m_frame.right, half, kGridColour);
            }
            const std::string label = formatFixed(kLevelFloor + 100 * fraction, 1);
            printAt(kTextLeft + (m_levelLabelWidth - m_surface.TextWidth(label)) / 2, y - m_zeroHeight / 2,
                    label);
            tickPen();
            m_surface.Line(m_frame.left - m_zeroWidth, y, m_frame.left, y, kBlack);
        }
    }

    [[nodiscard]] double xOf(int point) const {
        return m_frame.left + ScaleToAxis(point, m_pointCount - 1, 1) * (m_frame.right - m_frame.left);
    }
    [[nodiscard]] double yOf(double level) const {
        return heightOf(ScaleToAxis(level - kLevelFloor, kLevelCeiling - kLevelFloor, 1));
    }

    void printTimeLabel(int row) {
        const double x = xOf(row - 1);
        gridLinePen();
        m_surface.Line(x, m_frame.top, x, m_frame.bottom, kGridColour);
        tickPen();
        m_surface.Line(x, m_frame.bottom, x, m_frame.bottom + m_zeroHeight / 2, kBlack);
        m_surface.setDrawWidth(1);
        printAt(x - m_timeLabelWidth / 2, m_frame.bottom + m_zeroHeight, m_points.cell(row, 1));
    }

    // For each point after the first: its time labels, then the four segments ending at it, in
    // column order (so Lzpk lies on top where series cross).
    void printPoints(const std::vector<int>& labelled, const std::function<void()>& afterPoint) {
        std::array<double, 4> previous{};
        for (size_t s = 0; s < kLevelSeries.size(); ++s)
            previous[s] = yOf(CellLevel(m_points.cell(1, kLevelSeries[s].column)));
        double previousX = xOf(0);
        size_t nextLabel = 0;
        for (int i = 2; i <= m_pointCount; ++i) {
            while (nextLabel < labelled.size() && std::max(labelled[nextLabel], 2) == i)
                printTimeLabel(labelled[nextLabel++]);
            const double x = xOf(i - 1);
            for (size_t s = 0; s < kLevelSeries.size(); ++s) {
                const double y = yOf(CellLevel(m_points.cell(i, kLevelSeries[s].column)));
                m_surface.setDrawWidth(2);
                m_surface.Line(previousX, previous[s], x, y, kLevelSeries[s].colour);
                previous[s] = y;
            }
            previousX = x;
            if (afterPoint) afterPoint();
        }
    }

    // Two rows of two entries above the right end of the chart, each its name and a sample line.
    void printLegend() {
        m_surface.setDrawWidth(20);
        const double wz = m_surface.TextWidth("ZZZZ");
        const double left = m_frame.legendLeft;
        const double rightColumn = left + 2 * wz + m_surface.TextWidth("00");
        for (size_t s = 0; s < kLevelSeries.size(); ++s) {
            const bool secondRow = s >= 2;
            const bool secondColumn = s % 2 == 1;
            printAt(secondColumn ? rightColumn : left, m_frame.top - (secondRow ? 1 : 2) * m_step,
                    kLevelSeries[s].name);
            const double from = left + (secondColumn ? 3 : 1) * (m_zeroWidth + wz);
            const double y = m_frame.top - (secondRow ? 0 : m_step) - m_step / 1.5;
            m_surface.Line(from, y, from + wz, y, kLevelSeries[s].colour);
        }
        m_surface.setDrawWidth(1);
    }

    PageSurface& m_surface;
    const GridCopy& m_points;
    const GridCopy& m_summary;
    double m_blockTop;
    double m_lineHeight;
    double m_step;
    ChartFrame m_frame;
    int m_pointCount = 0;
    double m_zeroWidth = 0;
    double m_zeroHeight = 0;
    double m_levelLabelWidth = 0;
    double m_timeLabelWidth = 0;
};

}  // namespace

ChartFrame MeasureChartFrame(PageSurface& surface, double blockTop, double lineHeight) {
    ChartFrame f;
    f.left = kTextLeft + surface.TextWidth("99999.9");
    f.right = surface.ScaleWidth() - surface.TextWidth("2018/12/30 23:59:590000") / 2;
    f.top = blockTop + 9 * lineHeight + 9 * kRowGap;
    f.bottom = surface.ScaleHeight() - 4 * lineHeight;
    f.legendLeft = f.right - 4 * surface.TextWidth("ZZZZ0");
    return f;
}

void PrintLevelChart(PageSurface& surface, const GridCopy& points, const GridCopy& summary, double blockTop,
                     double lineHeight, const std::function<void()>& afterPoint) {
    ChartPrinter(surface, points, summary, blockTop, lineHeight).run(afterPoint);
}

int LabelIntervalsFor(double axisLength, double labelRoom, int pointCount) {
    const int64_t room = toInt32(labelRoom);
    if (room == 0) raise(kDivisionByZero);
    int64_t intervals = toInt32(axisLength) / room - 1;
    if (intervals > pointCount - 1) intervals = pointCount - 1;
    return static_cast<int>(std::max<int64_t>(intervals, 1));
}

std::vector<int> LabelledRows(int pointCount, int labelIntervals) {
    std::vector<int> rows;
    if (pointCount < 2) return rows;
    const int intervals = std::max(1, std::min(labelIntervals, pointCount - 1));
    const int step = pointCount / intervals;
    int next = 0;
    for (int i = 2; i <= pointCount; ++i) {
        if (i == 2) {
            rows.push_back(1);
            next = step;
            if (next == 1 || pointCount == 2) {
                rows.push_back(2);
                next += step;
            }
        } else if (i == pointCount || i - 1 == next) {
            rows.push_back(i);
            next += step;
        }
    }
    return rows;
}

double CellLevel(std::string_view text) {
    const std::string t = UnmarkedLevelText(text);
    if (t == "--") return kLevelFloor;
    const double level = leadingNumber(t);
    if (!(level >= kLevelFloor)) return kLevelFloor;
    return std::min(level, kLevelCeiling);
}

}  // namespace sq
