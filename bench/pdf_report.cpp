// The PDF report of the largest record (65,535 points, the point table included: 1,564 pages and
// 262,136 chart segments) from the record list window, offscreen, with events paced as in the
// program:
//   (a) as it is;
//   (b) with a 1 ms timer whose every tick waits 0.1 s in the event loop, standing in for the
//       receive pump of an open port, each run beside a run of (a); reported with the ratio of
//       their times.
// Reported: time, the file's size and page count, the process's peak resident memory and how far
// the report raised it above the memory in use before it. The file is checked with qpdf.
#include "reports/pdf_report.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/runtime.h"
#include "records/data_list_frm.h"
#include "records/pdf_report_command.h"
#include "shared/state.h"
#include "support/scripted_dialogs.h"

namespace {

using namespace sq::bench;

constexpr int kExpectedPages = 1564;

// Levels from 40 to 160 dB, a marked point now and then, and some points without a level.
std::string pointRow(int p) {
    auto level = [marked = p % 97 == 0](int tenths) { return levelCell(marked, tenths); };
    return std::to_string(p) + "\t2022/03/30 14:05:09\t" + level(p % 211 == 5 ? 0 : 400 + (p * 37) % 1201) +
           "\t" + level(400 + (p * 53) % 1201) + "\t" + level(400 + (p * 71) % 1201) + "\t" +
           level(400 + (p * 89) % 1201) + "\t";
}

sq::DataListFrm& largestRecordWindow() {
    sq::DataListFrm& frm = sq::form<sq::DataListFrm>();
    sq::FlexGrid& points = frm.QVX410PointGrid;
    if (points.Rows() != kLargestRecord + 1) {
        fillPointGrid(points, kLargestRecord, pointRow);
        const char* const values[] = {"Ann Lee", "Press line 3", "Maintenance", "ACME, Inc.",
                                      "Ear plugs worn"};
        for (int r = 0; r < 5; ++r) frm.GridUserInfo.setTextMatrix(r, 1, values[r]);
        for (int r = 1; r < frm.QVX410Grid.Rows(); ++r) frm.QVX410Grid.setTextMatrix(r, 1, "85.3 dB");
    }
    return frm;
}

std::string reportPath() {
    const std::string folder = sq::programFolder() + "/PDF";
    std::filesystem::create_directories(folder);
    return folder + "/largest.pdf";
}

void checkReport(benchmark::State& state, const std::string& path) {
    if (runCommand("qpdf --check '" + path + "'").find("No syntax or stream encoding errors") ==
        std::string::npos)
        state.SkipWithError("qpdf --check fails");
    const int pages = pdfPageCount(path);
    if (pages != kExpectedPages) state.SkipWithError("page count");
    state.counters["pages"] = pages;
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}

// Seconds of one report, and the rise of the peak resident memory above the memory before it.
double timedReport(const std::string& path, double& riseMB) {
    const auto start = std::chrono::steady_clock::now();
    riseMB = std::max(riseMB, peakRiseMB([&] { sq::ExportPdfReport(path); }));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// (a) The report as it is.
void BM_a_PdfReportLargestRecord(benchmark::State& state) {
    sq::ScopedScriptedDialogs dialogs;
    sq::DataListFrm& frm = largestRecordWindow();
    sq::shared().PrintRecordData = sq::kTrue;
    const std::string path = reportPath();
    double rise = 0;
    for (auto _ : state) timedReport(path, rise);
    if (!dialogs->messages().empty()) state.SkipWithError(dialogs->messages().front().text.c_str());
    if (frm.Caption() != "DataList") state.SkipWithError("caption not restored");
    checkReport(state, path);
    state.counters["op_peak_rise_MB"] = rise;
    state.counters["process_peak_MB"] = statusMB("VmHWM");
}
BENCHMARK(BM_a_PdfReportLargestRecord)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// (b) The report with the receive pump's stand-in, each run beside a run of (a), so that the
// ratio compares runs made under the same load of the machine.
void BM_b_PdfReportLargestRecordWithReceivePump(benchmark::State& state) {
    sq::ScopedScriptedDialogs dialogs;
    largestRecordWindow();
    sq::shared().PrintRecordData = sq::kTrue;
    const std::string path = reportPath();
    sq::Timer pump([] { sq::Delay(0.1); }, 1);
    double rise = 0, plain = 0, pumped = 0;
    uint64_t ticks = 0;
    for (auto _ : state) {
        state.PauseTiming();
        plain += timedReport(path, rise);
        state.ResumeTiming();
        pump.setEnabled(true);
        const uint64_t before = pump.tickCount();
        pumped += timedReport(path, rise);
        ticks += pump.tickCount() - before;
        pump.setEnabled(false);
    }
    if (!dialogs->messages().empty()) state.SkipWithError(dialogs->messages().front().text.c_str());
    checkReport(state, path);
    const double n = static_cast<double>(state.iterations());
    state.counters["plain_ms"] = 1000 * plain / n;
    state.counters["pumped_ms"] = 1000 * pumped / n;
    state.counters["ratio"] = pumped / plain;
    state.counters["pump_ticks_per_report"] = static_cast<double>(ticks) / n;
    state.counters["op_peak_rise_MB"] = rise;
}
BENCHMARK(BM_b_PdfReportLargestRecordWithReceivePump)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return sq::bench::runInStartedProgram(argc, argv, "QVX 410");
}
