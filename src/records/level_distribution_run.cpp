#include "records/level_distribution_run.h"

#include "platform/event_pacer.h"
#include "platform/vb_error.h"
#include "recordmodel/grid_copy.h"
#include "records/quantity_panels.h"
#include "reports/histogram.h"
#include "shared/state.h"
#include "texts/language_texts.h"

namespace sq {

namespace {

bool& running() {
    static bool flag = false;
    return flag;
}

// Marks the run and pauses polling for its length; the destructor gives both back, and the window
// its caption when it is still loaded.
class RunScope {
public:
    RunScope(Window& window, bool* busy) : m_window(window), m_busy(busy), m_caption(window.Caption()) {
        running() = true;
        if (m_busy) *m_busy = true;
        DisablePollTimers();
    }
    ~RunScope() {
        if (m_window.isLoaded()) m_window.setCaption(m_caption);
        EnablePollTimers();
        if (m_busy) *m_busy = false;
        running() = false;
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    Window& m_window;
    bool* m_busy;
    std::string m_caption;
};

// Unloads a visible histogram window and shows one afresh.
Histogram& freshHistogram() {
    if (Window* shown = windows().find(Histogram::kName); shown && shown->Visible()) shown->Unload();
    Histogram& histogram = form<Histogram>();
    histogram.Show();
    return histogram;
}

void plotDistribution(Histogram& histogram, const LevelDistribution& distribution) {
    LevelDistributionResults& results = levelDistributionResults();
    GraphControl& graph = histogram.HistGraph;
    skipOnError([&] { graph.Axes(1).setLabelFormat(axisLabelFormat(distribution.resolution())); });
    skipOnError([&] { graph.Axes(1).SetMinMax(results.HistMinBin, results.HistMaxBin + 1); });
    skipOnError([&] { graph.PlotSeries(distribution.seriesValues(), 1, 1); });
    skipOnError([&] { results.HistYMax = graph.Axes(2).AxisMaximum(); });
}

void fillLnTable(FlexGrid& grid, const std::vector<std::string>& levels) {
    skipOnError([&] { grid.setRows(1); });
    for (const std::string& row : lnGridRows(levels)) skipOnError([&] { grid.AddItem(row); });
}

}  // namespace

bool levelDistributionRunning() {
    return running();
}

void RunLevelDistribution(Window& window, const FlexGrid& pointGrid, Control& resolutionPanel,
                          LevelResolution resolution, bool* busy) {
    if (running() || (busy && *busy)) return;
    // The window object (and so `busy` and the panel) outlives the run even if it unloads meanwhile.
    HandlerScope keepWindow(&window);
    RunScope scope(window, busy);
    const GridCopy points(pointGrid);
    const int column = SelectedColumn();
    const int64_t total = points.rows() > 1 ? points.rows() - 1 : 0;

    std::string shownCaption;
    auto showProgress = [&](int64_t done) {
        std::string caption = distributionCaption(done, total, resolution, texts().TxtCompleted);
        if (caption == shownCaption || !window.isLoaded()) return;
        window.setCaption(caption);
        shownCaption = std::move(caption);
    };
    EventPacer pacer;
    LevelDistribution distribution(resolution);
    for (int row = 1; row <= total; ++row) {
        distribution.add(points.cell(row, column));
        pacer.tick([&] { showProgress(row); });
    }
    if (total > 0) showProgress(total);

    LevelDistributionResults& results = levelDistributionResults();
    results.HistMinBin = distribution.lowestBin();
    results.HistMaxBin = distribution.highestBin();
    Histogram& histogram = freshHistogram();
    HandlerScope keepHistogram(&histogram);
    plotDistribution(histogram, distribution);
    if (window.isLoaded()) skipOnError([&] { resolutionPanel.setVisible(false); });

    results.HistTotal = static_cast<int32_t>(total);
    const std::array<int, 100> bins = percentileBins(distribution.counts(), total);
    std::vector<std::string> levels;
    levels.reserve(bins.size());
    for (int bin : bins) {
        levels.push_back(levelText(bin, resolution));
        pacer.tick();
    }
    results.LnLevels = std::move(levels);
    if (histogram.isLoaded()) fillLnTable(histogram.GridLn, results.LnLevels);
}

}  // namespace sq
