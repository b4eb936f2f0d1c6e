// A 0.1-dB level distribution of the largest record (65,535 point rows), offscreen: from the click on
// the record list window's "0.1 dB" button to a filled Ln table in a freshly shown histogram window
// (grid copy, counting with the event pacer, the graph, the percentiles and the table), beside the
// pure counting and percentiles over the same cell texts in the same run. Reported: mean and slowest
// of each, and the run's share spent outside the pure part.
#include "recordmodel/level_distribution.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>
#include <vector>

#include "bench_support.h"
#include "platform/ui/window.h"
#include "records/data_list_frm.h"
#include "reports/histogram.h"
#include "shared/state.h"

namespace {

using namespace sq::bench;

// Levels spread over 40 to 120 dB, a zero level and a marked point now and then.
std::string pointRow(int p) {
    auto level = [marked = p % 97 == 0](int tenths) { return levelCell(marked, tenths); };
    const int lavg = p % 211 == 5 ? 0 : 400 + (p * 37) % 800;
    return std::to_string(p) + "\t2022/03/30 14:05:09\t" + level(lavg) + "\t" + level(650 + p % 350) + "\t" +
           level(900 + p % 500) + "\t" + level(950 + p % 450) + "\t";
}

sq::DataListFrm& largestRecordWindow() {
    sq::DataListFrm& frm = sq::form<sq::DataListFrm>();
    sq::FlexGrid& points = frm.QVX410PointGrid;
    if (points.Rows() != kLargestRecord + 1) {
        fillPointGrid(points, kLargestRecord, pointRow);
        frm.Show();
    }
    return frm;
}

double g_pureMean = 0;

void BM_b_Baseline_PureCountingAndPercentiles(benchmark::State& state) {
    sq::DataListFrm& frm = largestRecordWindow();
    std::vector<std::string> cells;
    for (int r = 1; r <= kLargestRecord; ++r) cells.push_back(frm.QVX410PointGrid.TextMatrix(r, 2));
    Timing timing;
    std::vector<std::string> levels;
    for (auto _ : state) {
        timing.time([&] {
            sq::LevelDistribution d(sq::LevelResolution::TenthDb);
            for (const std::string& cell : cells) d.add(cell);
            levels.clear();
            for (int bin : sq::percentileBins(d.counts(), kLargestRecord))
                levels.push_back(sq::levelText(bin, sq::LevelResolution::TenthDb));
        });
    }
    benchmark::DoNotOptimize(levels);
    g_pureMean = timing.mean();
    state.counters["mean_ms"] = timing.mean();
    state.counters["slowest_ms"] = timing.slowest;
}
BENCHMARK(BM_b_Baseline_PureCountingAndPercentiles)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_b_ClickToFilledLnTable(benchmark::State& state) {
    sq::DataListFrm& frm = largestRecordWindow();
    sq::SelectedColumn() = 2;
    Timing timing;
    int rows = 0;
    for (auto _ : state) {
        frm.SSpResolution.setVisible(true);
        timing.time([&] { frm.Btn01dB.click(); });
        state.PauseTiming();
        rows = sq::form<sq::Histogram>().GridLn.Rows();
        sq::windows().collectUnloaded();
        state.ResumeTiming();
    }
    if (rows != 11 || sq::levelDistributionResults().HistTotal != kLargestRecord)
        state.SkipWithError("the Ln table is not filled");
    state.counters["mean_ms"] = timing.mean();
    state.counters["slowest_ms"] = timing.slowest;
    state.counters["pure_mean_ms"] = g_pureMean;
    state.counters["under_150ms"] = timing.slowest < 150 ? 1 : 0;
}
BENCHMARK(BM_b_ClickToFilledLnTable)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    sq::bench::OffscreenRun offscreen;
    QApplication app(argc, argv);
    sq::bench::prepareProgram();
    sq::shared().DeviceModel = "QVX 410";
    const int result = sq::bench::runBenchmarks(argc, argv);
    sq::windows().unloadAll();
    return result;
}
