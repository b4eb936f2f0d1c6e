#pragma once
// The printed report of a record list window: up to three parts, each starting on a new page under
// the same heading (the instrument model and the user information): the summary grid as a ruled
// table, optionally the point grid as a ruled table over as many pages as it needs, and a page with
// six summary values and a chart of the four level series. Every page ends with its number.
//
// Everything is laid out in twips on a PageSurface; the report reads copies of the grids taken when
// it starts, so what the window does meanwhile cannot change what prints.
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "recordmodel/grid_copy.h"

namespace sq {

class FlexGrid;
class PageSurface;
class PrinterSurface;
class Window;

// Geometry of the report, twips.
inline constexpr double kReportLeft = 500;  // a table's left rule
inline constexpr double kReportTop = 450;   // the first text line of a page starts 50 below it
inline constexpr double kColumnGap = 100;   // added to each column's width, half on either side
inline constexpr double kRowGap = 100;      // added to each line's height, half above and below
inline constexpr double kHalfGap = 50;
inline constexpr double kTextLeft = kReportLeft + kHalfGap;    // 550: where a line of text starts
inline constexpr double kPageTextTop = kReportTop + kHalfGap;  // 500: the first line of a page
inline constexpr double kReportFontSize = 11;

// What the report prints.
struct PrintedRecord {
    GridCopy summary;   // the summary table: labels, D1..D3; rows 3-7 and 10 head the chart page
    GridCopy points;    // the point table: No.s, Date/Time and the four levels
    GridCopy userInfo;  // label and value per row
    std::string model;  // the heading's model
    bool withPointTable = false;
};

// What the report lets its caller do while it runs.
struct ReportProgress {
    // After every table cell, with the cells done so far over both tables and their total.
    std::function<void(int64_t done, int64_t total)> afterCell;
    // After each table, with the same figures.
    std::function<void(int64_t done, int64_t total)> afterTable;
    // After each point of the chart.
    std::function<void()> afterPoint;
};

// Prints the whole report on `surface` and ends the job with EndDoc. An error leaves the job open
// where it happened.
void PrintReport(PageSurface& surface, const PrintedRecord& record, const ReportProgress& progress = {});

// The chart page's frame, twips.
struct ChartFrame {
    double left = 0;
    double right = 0;
    double top = 0;
    double bottom = 0;
    double legendLeft = 0;
};
// The frame on the surface's page in its current font, for a page whose heads end at `blockTop`.
[[nodiscard]] ChartFrame MeasureChartFrame(PageSurface& surface, double blockTop, double lineHeight);

// The third part: the summary block and the level chart below the page heads, then the footer and
// NewPage.
void PrintLevelChart(PageSurface& surface, const GridCopy& points, const GridCopy& summary, double blockTop,
                     double lineHeight, const std::function<void()>& afterPoint = {});

// "P - " and the page number, centred at ScaleHeight - 2 x lineHeight.
void PrintPageFooter(PageSurface& surface, double lineHeight);

// Time labels: the number of intervals the chart's time axis takes, the axis length over the room a
// label needs (both rounded to whole twips first), less one; at most pointCount - 1 and at least 1.
// Raises VbError 11 when the room rounds to 0.
[[nodiscard]] int LabelIntervalsFor(double axisLength, double labelRoom, int pointCount);
// The point rows (1 to pointCount) that get a time label with `labelIntervals` intervals (taken as at
// least 1 and at most pointCount - 1): 1, 1 + step, 1 + 2 x step ... below pointCount, and always
// pointCount, with step = pointCount \ intervals. Empty below two points.
[[nodiscard]] std::vector<int> LabelledRows(int pointCount, int labelIntervals);
// The level a point cell plots at: every "*" and " dB" removed, "--" and texts without a leading
// number at 50, else the leading number clamped to 50..150.
[[nodiscard]] double CellLevel(std::string_view text);

// The "Print" report of a list window: the printer dialog (Cancel raises VbError(kCancelError) and
// changes nothing), then the report from copies of the three grids, the window's caption showing the
// progress and given back at the end. Events are served at a pace meanwhile. A failure after the
// dialog kills the job (a PDF file printer leaves no file), gives the caption back and shows one
// critical message.
void PrintDataReport(PrinterSurface& dialog, Window& window, const FlexGrid& summaryGrid,
                     const FlexGrid& pointGrid, const FlexGrid& userInfoGrid);

// What every print command shows when its print failed after the printer dialog: that the report
// was not printed completely, then the failure's own text (the printer's, or a file's path and the
// reason it could not be written).
void ShowPrintFailure(const std::exception& failure);

}  // namespace sq
