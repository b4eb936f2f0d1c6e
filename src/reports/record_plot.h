#pragma once
// The time-history graph of a record list window: one level column of its point grid against the
// time of day, drawn in the Plot window, with the record's times and summary values in the window's
// print header. The row functions work on copied cell texts and need no window.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shared/setting_records.h"
#include "texts/language_texts.h"

namespace sq {

class FlexGrid;
class GridCopy;

// Fixed levels of the graph (dB): its y range, and what a cell without a level or over the range shows.
constexpr double kPlotLevelMin = 25;
constexpr double kPlotLevelMax = 150;
constexpr double kPlotNoLevel = 25;
constexpr double kPlotOverRange = 145;

// The data of the last graph: PlotData()[0] the x values, PlotData()[1] the levels; PlotXMin and
// PlotXMax the first and the last point's x. The window's Reset returns to them. A call that fails
// leaves all three as they were.
std::array<std::vector<double>, 2>& PlotData();
double& PlotXMin();
double& PlotXMax();

// The level a point cell shows on the graph: 25 for a cell holding "--" (marked or not), 145 for a
// cell holding an upper-case "L" or whose leading number is 145 or more, else the leading number
// with every "*" removed. So "*150.0 dB" (a marked point, whose leading number is 0) gives 150.
[[nodiscard]] double plotLevelOf(std::string_view cell);

// A point's date and time: the day number on the civil calendar and the second of that day.
struct PlotTime {
    int64_t day = 0;
    int32_t second = 0;
};
// The "yyyy/mm/dd hh:nn:ss" of a point's date-time cell; nothing for an empty cell, one without a
// blank, or one that is no valid date and time.
[[nodiscard]] std::optional<PlotTime> plotTimeOf(std::string_view cell);
// A point's x: its time of day as a fraction of a day plus the whole days from `firstDay` (the
// first point's day) to its own, so a record that runs past midnight keeps rising.
[[nodiscard]] double plotXOf(const PlotTime& time, int64_t firstDay);

// What the print header shows of the summary table: the labels default to "---" and the meter
// count to 3, less one for each of D2 and D3 whose "PW Duration" is "00:00:00" or empty. Rows are
// found by their label cells (column 0) compared exactly with the table's texts; a later row
// overwrites an earlier one.
struct PlotSummary {
    std::string criterion = "---";
    std::string exchangeRate = "---";
    std::string duration = "---";
    int meterCount = 3;
};
[[nodiscard]] PlotSummary plotSummaryOf(const GridCopy& summary, const LanguageTexts& t = texts());

// The calibration record as the print footer shows it: the date as "y\m\d" and the time as "h:n:s"
// in plain numbers when month, year and day are all set, else "----\--\--" and "--:--:--"; the
// level text unless it is "----" (then `shownLevel`, what the footer shows already), and "OFF" for
// a level of 0.0.
struct PlotCalibrationTexts {
    std::string date;
    std::string time;
    std::string level;
};
[[nodiscard]] PlotCalibrationTexts plotCalibrationTexts(const ClockRecord& date, const std::string& levelText,
                                                        const std::string& shownLevel);

// The caption a progress caption hands back: the text before its first " - " (all of it without).
[[nodiscard]] std::string captionBeforeDash(const std::string& caption);

// Fills and shows the Plot window with column `column` (2 to 5) of the point grid against time, the
// y axis named `caption` & " (dB)". Polling pauses for the call and the main window's caption counts
// the rows converted. Nothing happens for a grid without point rows, nor while another call runs;
// a date-time cell that cannot be read ends the call before anything is shown.
void ShowRecordPlot(const FlexGrid& summaryGrid, const FlexGrid& pointGrid, int column,
                    const std::string& caption);

}  // namespace sq
