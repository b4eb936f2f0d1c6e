// The time-history graph of the largest record (65,535 points), offscreen: ShowRecordPlot from the
// call to the end of the Plot window's first paint, beside its baseline in the same run (the same
// rows, copied beforehand, through the level and x functions in a plain loop); then the window
// printed to a PDF file. Reported: the times of each, the graph's margin over the baseline, and the
// PDF file's size.
#include "reports/record_plot.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "decoder/record_block.h"
#include "platform/dialogs.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/window.h"
#include "recordmodel/grid_copy.h"
#include "reports/plot.h"
#include "support/scripted_dialogs.h"

namespace {

using namespace sq::bench;

// Points a second apart from 08:00, levels wandering between 40 and 120 dB, some marked or empty.
std::string pointLine(int p, int64_t start, uint32_t& seed, double& level) {
    seed = seed * 1664525u + 1013904223u;
    level = std::clamp(level + (static_cast<int>(seed >> 24) - 128) / 32.0, 40.0, 120.0);
    char cell[32];
    std::snprintf(cell, sizeof cell, "%s%.1f dB", p % 97 == 0 ? "*" : "", level);
    const std::string lavg = p % 101 == 0 ? "-- dB" : cell;
    return std::to_string(p + 1) + "\t" + sq::dateTimeTextOf(start + p) + "\t" + lavg +
           "\t61.0 dB\t90.2 dB\t95.5 dB\t";
}

struct Record {
    QWidget host;
    sq::FlexGrid summary{&host, 1, 4, 1, 1};
    sq::FlexGrid points{&host, 1, 6, 1, 1};
    Record() {
        summary.AddItem("Criterion\t90 dB\t85 dB\t80 dB\t");
        summary.AddItem("Exchange Rate\t3 dB\t3 dB\t5 dB\t");
        summary.AddItem("PW Duration\t08:00:00\t08:00:00\t00:00:00\t");
        summary.AddItem("Duration\t18:12:14\t18:12:14\t18:12:14\t");
        const int64_t start = *sq::parseDateTimeText("2022/03/30 08:00:00");
        uint32_t seed = 2024;
        double level = 75;
        for (int p = 0; p < kLargestRecord; ++p) points.AddItem(pointLine(p, start, seed, level));
    }
};

// Made on first use and dropped before the application ends, as widgets must be.
std::unique_ptr<Record>& recordHolder() {
    static std::unique_ptr<Record> r;
    return r;
}
Record& record() {
    if (!recordHolder()) recordHolder() = std::make_unique<Record>();
    return *recordHolder();
}

// Counts paint events of one widget.
class PaintWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == target && event->type() == QEvent::Paint) ++paints;
        return false;
    }
    QObject* target = nullptr;
    int paints = 0;
};

// ShowRecordPlot into a window that is not open yet, up to the end of the graph's first paint.
double showAndPaint(PaintWatch& watch) {
    sq::windows().unload(sq::Plot::kName);
    QCoreApplication::processEvents();
    sq::windows().collectUnloaded();
    watch.target = nullptr;
    watch.paints = 0;
    const auto start = std::chrono::steady_clock::now();
    sq::ShowRecordPlot(record().summary, record().points, 2, "LAVG");
    auto* plot = dynamic_cast<sq::Plot*>(sq::windows().find(sq::Plot::kName));
    if (!plot) return -1;
    watch.target = plot->LevelGraph.widget();
    while (watch.paints == 0 && msSince(start) < 5000) QCoreApplication::processEvents();
    return msSince(start);
}

double baselineLoop(const sq::GridCopy& copy) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<double> xs(kLargestRecord), ys(kLargestRecord);
    int64_t firstDay = 0;
    for (int r = 1; r <= kLargestRecord; ++r) {
        const std::optional<sq::PlotTime> t = sq::plotTimeOf(copy.cell(r, 1));
        if (!t) return -1;
        if (r == 1) firstDay = t->day;
        xs[static_cast<size_t>(r - 1)] = sq::plotXOf(*t, firstDay);
        ys[static_cast<size_t>(r - 1)] = sq::plotLevelOf(copy.cell(r, 2));
    }
    benchmark::DoNotOptimize(xs.data());
    benchmark::DoNotOptimize(ys.data());
    return msSince(start);
}

void ShowRecordPlotVsRowLoop(benchmark::State& state) {
    const sq::GridCopy copy(record().points);
    PaintWatch watch;
    qApp->installEventFilter(&watch);
    Timing plot, rows;
    for (auto _ : state) {
        for (int i = 0; i < 5; ++i) {
            plot.add(showAndPaint(watch));
            rows.add(baselineLoop(copy));
        }
    }
    qApp->removeEventFilter(&watch);
    state.counters["plot_mean_ms"] = plot.mean();
    state.counters["plot_max_ms"] = plot.slowest;
    state.counters["rows_mean_ms"] = rows.mean();
    state.counters["rows_max_ms"] = rows.slowest;
    state.counters["margin_mean_ms"] = (plot.total - rows.total) / plot.count;
    state.counters["points"] = static_cast<double>(sq::PlotData()[0].size());
}

void PrintGraphToPdf(benchmark::State& state) {
    sq::ShowRecordPlot(record().summary, record().points, 2, "LAVG");
    auto* plot = dynamic_cast<sq::Plot*>(sq::windows().find(sq::Plot::kName));
    if (!plot) {
        state.SkipWithError("no graph window");
        return;
    }
    const std::string pdf = (std::filesystem::temp_directory_path() / "sonoquant_bench_plot.pdf").string();
    sq::ScopedScriptedDialogs dialogs;
    Timing printing;
    for (auto _ : state) {
        for (int i = 0; i < 3; ++i) {
            std::filesystem::remove(pdf);
            dialogs->printerAnswers = {sq::PrinterChoice::pdfFile(pdf)};
            printing.time([&] { plot->CmdPrint_Click(); });
        }
    }
    state.counters["print_mean_ms"] = printing.mean();
    state.counters["print_max_ms"] = printing.slowest;
    state.counters["pdf_kb"] = std::filesystem::exists(pdf) ? std::filesystem::file_size(pdf) / 1024.0 : -1;
    std::filesystem::remove(pdf);
}

}  // namespace

BENCHMARK(ShowRecordPlotVsRowLoop)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(PrintGraphToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    sq::bench::OffscreenRun offscreen;
    QApplication app(argc, argv);
    sq::bench::prepareProgram();
    const int result = sq::bench::runBenchmarks(argc, argv);
    sq::windows().reset();
    recordHolder().reset();
    return result;
}
