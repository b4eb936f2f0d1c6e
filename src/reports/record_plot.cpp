#include "reports/record_plot.h"

#include <string>

#include "decoder/record_block.h"
#include "platform/event_pacer.h"
#include "platform/numbers.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/graph_scale.h"
#include "platform/ui/window.h"
#include "platform/vb_error.h"
#include "recordmodel/grid_copy.h"
#include "reports/plot.h"
#include "shared/state.h"
#include "shared/window_names.h"

namespace sq {

namespace {

constexpr int64_t kSecondsInDay = 86400;
constexpr int kDateTimeColumn = 1;

std::array<std::vector<double>, 2> g_plotData;
double g_plotXMin = 0;
double g_plotXMax = 0;
bool g_plotRunning = false;

// The main window's caption, when there is a main window (the graph also works without one).
void setMainCaption(const std::string& caption) {
    if (Window* main = windows().find(window_name::kPanel)) main->setCaption(caption);
}

class RunningPlot {
public:
    RunningPlot() { g_plotRunning = true; }
    ~RunningPlot() { g_plotRunning = false; }
    RunningPlot(const RunningPlot&) = delete;
    RunningPlot& operator=(const RunningPlot&) = delete;
};

// The x values and levels of the point rows 1 to n of `points`; raises VbError(13) at the first
// date-time cell that cannot be read. Pending events run at the pacer's passes, after the caption
// shows the rows done.
std::array<std::vector<double>, 2> convertPoints(const GridCopy& points, int n, int column) {
    std::array<std::vector<double>, 2> data;
    data[0].resize(static_cast<size_t>(n));
    data[1].resize(static_cast<size_t>(n));
    EventPacer pacer;
    int64_t firstDay = 0;
    for (int r = 1; r <= n; ++r) {
        const std::optional<PlotTime> time = plotTimeOf(points.cell(r, kDateTimeColumn));
        if (!time) raise(kTypeMismatch, "A point's date and time cannot be read.");
        if (r == 1) firstDay = time->day;
        data[0][static_cast<size_t>(r - 1)] = plotXOf(*time, firstDay);
        data[1][static_cast<size_t>(r - 1)] = plotLevelOf(points.cell(r, column));
        pacer.tick([r] { setMainCaption(std::to_string(r) + " Completed"); });
    }
    setMainCaption(std::to_string(n) + " Completed");
    return data;
}

void fillPrintHeader(Plot& plot, const GridCopy& points, const GridCopy& summary, int n) {
    Plot::setFittedCaption(plot.LblPrintStartTimeValue, std::string(points.cell(1, kDateTimeColumn)));
    Plot::setFittedCaption(plot.LblPrintStopTimeValue, std::string(points.cell(n, kDateTimeColumn)));
    const PlotSummary s = plotSummaryOf(summary);
    Plot::setFittedCaption(plot.LblPrintCriterionValue, s.criterion);
    Plot::setFittedCaption(plot.LblPrintExchangeRateValue, s.exchangeRate);
    Plot::setFittedCaption(plot.LblPrintDurationValue, s.duration);
    Plot::setFittedCaption(plot.LblPrintExchangeRateMeterValue, std::to_string(s.meterCount));
    Plot::setFittedCaption(plot.LblPrintCriterionMeterValue, std::to_string(s.meterCount));
}

// The range editors take the new x range; the y editors keep the values the user chose.
void setEditorRanges(Plot& plot) {
    for (NumEditControl* x : {&plot.AxisMax(1), &plot.AxisMin(1)}) {
        x->setMaximum(PlotXMax());
        x->setMinimum(PlotXMin());
    }
    for (NumEditControl* y : {&plot.AxisMax(2), &plot.AxisMin(2)}) {
        y->setMaximum(kPlotLevelMax);
        y->setMinimum(kPlotLevelMin);
    }
    plot.AxisMax(1).setValue(PlotXMax());
    plot.AxisMin(1).setValue(PlotXMin());
}

void drawGraph(Plot& plot, const std::string& caption) {
    GraphControl& g = plot.LevelGraph;
    g.PlotPairs(PlotData()[0], PlotData()[1]);
    g.Axes(2).SetMinMax(kPlotLevelMin, kPlotLevelMax);
    g.Axes(1).SetMinMax(PlotXMin(), PlotXMax());
    g.Axes(1).setCaption(texts().TxtTimers);
    g.Axes(2).setCaption(caption + " (" + texts().TxtDBUnit + ")");
    g.Annotations().RemoveAll();
}

}  // namespace

std::array<std::vector<double>, 2>& PlotData() {
    return g_plotData;
}
double& PlotXMin() {
    return g_plotXMin;
}
double& PlotXMax() {
    return g_plotXMax;
}

double plotLevelOf(std::string_view cell) {
    if (cell.find("--") != std::string_view::npos) return kPlotNoLevel;
    if (cell.find('L') != std::string_view::npos || leadingNumber(cell) >= kPlotOverRange)
        return kPlotOverRange;
    if (cell.find('*') == std::string_view::npos) return leadingNumber(cell);
    std::string unmarked;
    unmarked.reserve(cell.size());
    for (char c : cell)
        if (c != '*') unmarked += c;
    return leadingNumber(unmarked);
}

std::optional<PlotTime> plotTimeOf(std::string_view cell) {
    const std::optional<int64_t> seconds = parseDateTimeText(std::string(cell));
    if (!seconds) return std::nullopt;
    int64_t day = *seconds / kSecondsInDay;
    if (*seconds % kSecondsInDay < 0) --day;
    return PlotTime{day, static_cast<int32_t>(*seconds - day * kSecondsInDay)};
}

double plotXOf(const PlotTime& time, int64_t firstDay) {
    return static_cast<double>(time.day - firstDay) + time.second / kSecondsPerDay;
}

PlotSummary plotSummaryOf(const GridCopy& summary, const LanguageTexts& t) {
    PlotSummary s;
    for (int row = 1; row < summary.rows(); ++row) {
        const std::string_view label = summary.cell(row, 0);
        if (label == t.TxtCriterion) s.criterion = summary.cell(row, 1);
        if (label == t.TxtExchangeRate) s.exchangeRate = summary.cell(row, 1);
        if (label == t.TxtPWDuration) {
            for (int col : {2, 3}) {
                const std::string_view d = summary.cell(row, col);
                if (d == "00:00:00" || d.empty()) --s.meterCount;
            }
        }
        if (label == t.TxtDuration) s.duration = summary.cell(row, 1);
    }
    return s;
}

PlotCalibrationTexts plotCalibrationTexts(const ClockRecord& date, const std::string& levelText,
                                          const std::string& shownLevel) {
    PlotCalibrationTexts texts{"----\\--\\--", "--:--:--", shownLevel};
    if (date.Month != 0 && date.Year != 0 && date.Day != 0) {
        texts.date =
            std::to_string(date.Year) + "\\" + std::to_string(date.Month) + "\\" + std::to_string(date.Day);
        texts.time =
            std::to_string(date.Hour) + ":" + std::to_string(date.Minute) + ":" + std::to_string(date.Second);
    }
    if (levelText != "----") texts.level = levelText == "0.0" ? "OFF" : levelText;
    return texts;
}

std::string captionBeforeDash(const std::string& caption) {
    const size_t dash = caption.find(" - ");
    return dash == std::string::npos ? caption : caption.substr(0, dash);
}

void ShowRecordPlot(const FlexGrid& summaryGrid, const FlexGrid& pointGrid, int column,
                    const std::string& caption) {
    if (g_plotRunning) return;
    const int n = pointGrid.Rows() - 1;
    if (n <= 0) return;
    RunningPlot running;
    DisablePollTimers();
    std::optional<std::string> keptCaption;
    if (Window* main = windows().find(window_name::kPanel)) keptCaption = main->Caption();
    try {
        const GridCopy points(pointGrid);
        const GridCopy summary(summaryGrid);
        std::array<std::vector<double>, 2> data = convertPoints(points, n, column);
        PlotData() = std::move(data);
        PlotXMax() = PlotData()[0].back();
        PlotXMin() = PlotData()[0].front();
        Plot& plot = form<Plot>();
        plot.Show();
        fillPrintHeader(plot, points, summary, n);
        setEditorRanges(plot);
        drawGraph(plot, caption);
    } catch (const VbError&) {
        // Nothing is reported; the caption and polling are restored below.
    }
    if (keptCaption) setMainCaption(captionBeforeDash(*keptCaption));
    EnablePollTimers();
}

}  // namespace sq
