// The largest record (65,535 points) saved as a data file and opened again, offscreen, each beside
// its baseline in the same run:
//   (a) SaveDataFile (grid copy, file text in pieces through an EventPacer into a temporary file,
//       then the rename) against writeFileAtomic of the same bytes;
//   (b) the main window's Open command into the file list window against readTextLines of the file;
//   (c) Backspace on every point row of the record list window.
// Reported: time, the file's size, the process's peak resident memory and how far the operation
// itself raised it above the memory in use before it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <string>

#include "bench_support.h"
#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "recordmodel/data_file.h"
#include "records/data_list_frm.h"
#include "records/file_list_frm.h"
#include "records/record_save.h"
#include "shared/state.h"
#include "support/scripted_dialogs.h"

namespace {

using namespace sq::bench;

std::string pointRow(int p) {
    auto level = [marked = p % 97 == 0](int tenths) { return levelCell(marked, tenths); };
    return std::to_string(p) + "\t2022/03/30 14:05:09\t" + level(p % 211 == 5 ? 0 : 600 + p % 400) + "\t" +
           level(650 + p % 350) + "\t" + level(900 + p % 500) + "\t" + level(950 + p % 450) + "\t";
}

sq::DataListFrm& largestRecordWindow() {
    sq::DataListFrm& frm = sq::form<sq::DataListFrm>();
    sq::FlexGrid& points = frm.QVX410PointGrid;
    if (points.Rows() != kLargestRecord + 1) {
        fillPointGrid(points, kLargestRecord, pointRow);
        frm.GridUserInfo.setTextMatrix(0, 1, "Zo\u00E9");
    }
    return frm;
}

void BM_a_SaveDataFile(benchmark::State& state) {
    sq::DataListFrm& frm = largestRecordWindow();
    const std::string path = benchFolder() + "/largest.qvx";
    double rise = 0;
    for (auto _ : state) {
        sq::SaveFileName() = path;
        sq::SaveFileChosen() = true;
        rise = std::max(rise, peakRiseMB([] { sq::SaveDataFile(); }));
    }
    if (frm.Caption() != "DataList" || sq::SaveFileChosen()) state.SkipWithError("not restored");
    state.counters["file_MB"] = static_cast<double>(sq::readFileBytes(path)->size()) / 1e6;
    state.counters["op_peak_rise_MB"] = rise;
    state.counters["process_peak_MB"] = statusMB("VmHWM");
}
BENCHMARK(BM_a_SaveDataFile)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_a_Baseline_WriteFileAtomicSameBytes(benchmark::State& state) {
    sq::DataListFrm& frm = largestRecordWindow();
    const sq::RecordCopy copy{sq::shared().DeviceModel, sq::GridCopy(frm.GridUserInfo),
                              sq::GridCopy(frm.QVX410Grid), sq::GridCopy(frm.QVX410PointGrid)};
    const std::string bytes = sq::recordFileBytes(copy, sq::kDataFileSeparator);
    const std::string path = benchFolder() + "/baseline.qvx";
    double rise = 0;
    for (auto _ : state) rise = std::max(rise, peakRiseMB([&] { sq::writeFileAtomic(path, bytes); }));
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
    state.counters["op_peak_rise_MB"] = rise;
}
BENCHMARK(BM_a_Baseline_WriteFileAtomicSameBytes)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_b_OpenCommandIntoFileList(benchmark::State& state) {
    sq::ScopedScriptedDialogs dialogs;
    const std::string path = benchFolder() + "/largest.qvx";
    sq::Panel& panel = sq::form<sq::Panel>();
    double rise = 0;
    int rows = 0;
    for (auto _ : state) {
        dialogs->fileAnswers.push_back(path);
        rise = std::max(rise, peakRiseMB([&] { panel.Toolbar1.click("Open"); }));
        state.PauseTiming();
        rows = sq::form<sq::FileListFrm>().GridRecord.Rows() - 1;
        sq::windows().collectUnloaded();
        state.ResumeTiming();
    }
    if (rows != kLargestRecord) state.SkipWithError("incomplete");
    state.counters["file_MB"] = static_cast<double>(sq::readFileBytes(path)->size()) / 1e6;
    state.counters["op_peak_rise_MB"] = rise;
    state.counters["process_peak_MB"] = statusMB("VmHWM");
}
BENCHMARK(BM_b_OpenCommandIntoFileList)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_b_Baseline_ReadTextLines(benchmark::State& state) {
    const std::string path = benchFolder() + "/largest.qvx";
    double rise = 0;
    size_t lines = 0;
    for (auto _ : state) rise = std::max(rise, peakRiseMB([&] { lines = sq::readTextLines(path)->size(); }));
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["op_peak_rise_MB"] = rise;
}
BENCHMARK(BM_b_Baseline_ReadTextLines)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_c_BackspaceOnEveryPointRow(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        sq::DataListFrm& frm = largestRecordWindow();
        sq::FlexGrid& points = frm.QVX410PointGrid;
        points.clickCell(1, 0);
        points.extendTo(kLargestRecord, 5);
        state.ResumeTiming();
        points.pressKey(Qt::Key_Backspace, 8);
        state.PauseTiming();
        if (points.Rows() != 2) state.SkipWithError("rows left");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_c_BackspaceOnEveryPointRow)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    return sq::bench::runInStartedProgram(argc, argv, "QVX 410");
}
