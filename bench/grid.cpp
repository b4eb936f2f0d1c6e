// The point grid under the largest record: 65,535 rows of six cells appended through AddItem, then
// every cell read back, beside a plain QTableWidget filled row by row in the same run. The stress
// runs take ten times that. Reported per run: time, heap in use at the end of the fill, and the
// peak resident memory of the run above what the process held before it.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QTableWidget>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"
#include "platform/ui/flex_grid.h"

namespace {

using sq::bench::kLargestRecord;
constexpr double kMB = 1024.0 * 1024.0;

// One point row as the download writes it: number, date and time, four levels.
std::string pointRow(int i) {
    return std::to_string(i) + "\t2022/03/30 10:" + std::to_string(10 + i % 50) + ":" +
           std::to_string(10 + i % 50) + "\t" + std::to_string(60 + i % 40) + ".1\t" +
           std::to_string(61 + i % 40) + ".2\t" + std::to_string(100 + i % 40) + ".3\t" +
           std::to_string(110 + i % 30) + ".4\t";
}

const std::vector<std::string>& rowTexts(int rows) {
    static std::vector<std::string> texts;
    while (static_cast<int>(texts.size()) < rows)
        texts.push_back(pointRow(static_cast<int>(texts.size()) + 1));
    return texts;
}

double heapInUse() {
    return static_cast<double>(mallinfo2().uordblks);
}

struct MemoryProbe {
    MemoryProbe() {
        malloc_trim(0);
        sq::bench::resetPeak();
        rssBefore = sq::bench::statusMB("VmRSS");
        heapBefore = heapInUse();
    }
    void filled() { heapFilled = heapInUse() - heapBefore; }
    void report(benchmark::State& state) const {
        state.counters["heap_MB"] = heapFilled / kMB;
        state.counters["peak_MB"] = sq::bench::statusMB("VmHWM") - rssBefore;
    }
    double rssBefore;
    double heapBefore;
    double heapFilled = 0;
};

void FlexGridAppendAndRead(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const auto& texts = rowTexts(rows);
    const char* titles[] = {"No.s", "Date/Time", "LAVG", "Leq", "LCPK", "LZPK"};
    MemoryProbe probe;
    for (auto _ : state) {
        QWidget surface;
        surface.resize(800, 600);
        sq::FlexGrid grid(&surface, 1, 6, 1, 1);
        grid.widget()->setGeometry(0, 0, 800, 600);
        for (int c = 0; c < 6; ++c) grid.setTextMatrix(0, c, titles[c]);
        surface.show();
        for (int i = 0; i < rows; ++i) grid.AddItem(texts[static_cast<size_t>(i)]);
        QCoreApplication::processEvents();  // the batch reaches the view and paints
        probe.filled();
        size_t bytes = 0;
        for (int r = 0; r < grid.Rows(); ++r)
            for (int c = 0; c < grid.Cols(); ++c) bytes += grid.TextMatrix(r, c).size();
        benchmark::DoNotOptimize(bytes);
    }
    probe.report(state);
    state.SetItemsProcessed(state.iterations() * rows);
}

void QTableWidgetAppendAndRead(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const auto& texts = rowTexts(rows);
    // The baseline gets its cells already split.
    std::vector<std::array<QString, 6>> cells(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        QStringList pieces = QString::fromStdString(texts[static_cast<size_t>(i)]).split('\t');
        for (int c = 0; c < 6; ++c) cells[static_cast<size_t>(i)][static_cast<size_t>(c)] = pieces.value(c);
    }
    MemoryProbe probe;
    for (auto _ : state) {
        QTableWidget table(1, 6);
        table.resize(800, 600);
        table.setHorizontalHeaderLabels({"No.s", "Date/Time", "LAVG", "Leq", "LCPK", "LZPK"});
        table.show();
        for (int i = 0; i < rows; ++i) {
            int row = table.rowCount();
            table.insertRow(row);
            for (int c = 0; c < 6; ++c)
                table.setItem(row, c,
                              new QTableWidgetItem(cells[static_cast<size_t>(i)][static_cast<size_t>(c)]));
        }
        QCoreApplication::processEvents();
        probe.filled();
        qsizetype chars = 0;
        for (int r = 0; r < table.rowCount(); ++r)
            for (int c = 0; c < table.columnCount(); ++c)
                if (QTableWidgetItem* item = table.item(r, c)) chars += item->text().size();
        benchmark::DoNotOptimize(chars);
    }
    probe.report(state);
    state.SetItemsProcessed(state.iterations() * rows);
}

}  // namespace

BENCHMARK(FlexGridAppendAndRead)->Arg(kLargestRecord)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(QTableWidgetAppendAndRead)->Arg(kLargestRecord)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(FlexGridAppendAndRead)
    ->Name("FlexGridStress")
    ->Arg(10 * kLargestRecord)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(QTableWidgetAppendAndRead)
    ->Name("QTableWidgetStress")
    ->Arg(10 * kLargestRecord)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    return sq::bench::runBenchmarks(argc, argv);
}
