#pragma once
// What the benchmark programs share: memory figures from /proc, timing, shell commands, the point
// rows of the largest record, and a program run offscreen in a program folder of its own.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "mainwindow/panel.h"
#include "platform/program_folder.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/window.h"
#include "shared/state.h"
#include "support/scripted_dialogs.h"
#include "texts/language_texts.h"

namespace sq::bench {

// The largest record: its header's point count is 16-bit.
constexpr int kLargestRecord = 65535;

// A figure of /proc/self/status ("VmRSS", "VmHWM") in MB; 0 when it is missing.
inline double statusMB(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0) return std::stod(line.substr(prefix.size())) / 1024.0;
    return 0;
}

// Starts a fresh peak: the kernel sets the peak resident size back to the present one.
inline void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// How far `op` raises the peak resident memory above what was resident before it, in MB.
template <class F>
double peakRiseMB(F&& op) {
    resetPeak();
    const double before = statusMB("VmRSS");
    op();
    return statusMB("VmHWM") - before;
}

inline double msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Mean and slowest of a series of runs, in ms.
struct Timing {
    double total = 0;
    double slowest = 0;
    int count = 0;

    void add(double ms) {
        total += ms;
        slowest = std::max(slowest, ms);
        ++count;
    }
    template <class F>
    void time(F&& f) {
        const auto start = std::chrono::steady_clock::now();
        f();
        add(msSince(start));
    }
    [[nodiscard]] double mean() const { return count ? total / count : 0; }
};

// What `command` writes to its output and error streams.
inline std::string runCommand(const std::string& command) {
    std::string out;
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return out;
    std::array<char, 65536> buf{};
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) out.append(buf.data(), n);
    pclose(pipe);
    return out;
}

// The page count pdfinfo gives for `pdf`; 0 when it gives none.
inline int pdfPageCount(const std::string& pdf) {
    const std::string info = runCommand("pdfinfo '" + pdf + "'");
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + 6);
}

// A level cell as the download writes it: the mark, the level from tenths of a dB ("--" for 0)
// and the unit.
inline std::string levelCell(bool marked, int tenths) {
    return std::string(marked ? "*" : "") +
           (tenths == 0 ? std::string("--")
                        : std::to_string(tenths / 10) + "." + std::to_string(tenths % 10)) +
           " dB";
}

// The point grid holding rows 1 to `count`, row p being `rowOf(p)`.
template <class RowOf>
void fillPointGrid(FlexGrid& points, int count, RowOf&& rowOf) {
    points.setRows(1);
    points.reserveRows(count + 1);
    for (int p = 1; p <= count; ++p) points.AddItem(rowOf(p));
    points.flush();
}

// A folder for the files a benchmark writes, inside the program folder.
inline std::string benchFolder() {
    static const std::string folder = programFolder() + "/bench";
    std::filesystem::create_directories(folder);
    return folder;
}

// The offscreen platform and, as XDG_DATA_HOME, a fresh folder under /tmp that holds the program
// folder and is removed when the object goes. Made before the application object.
class OffscreenRun {
public:
    OffscreenRun() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        if (mkdtemp(m_dataHome)) {
            setenv("XDG_DATA_HOME", m_dataHome, 1);
            m_made = true;
        }
    }
    ~OffscreenRun() {
        std::error_code ignored;
        if (m_made) std::filesystem::remove_all(m_dataHome, ignored);
    }
    OffscreenRun(const OffscreenRun&) = delete;
    OffscreenRun& operator=(const OffscreenRun&) = delete;

private:
    char m_dataHome[32] = "/tmp/sq-bench-XXXXXX";
    bool m_made = false;
};

// The English texts, a seeded program folder and a dialog service that answers every question with
// its default, so that no box is shown.
inline void prepareProgram() {
    static ScriptedDialogs answers;
    setDialogService(&answers);
    LoadDefaultTexts();
    ensureProgramFolder();
}

// The program started without an instrument (the port setup window at start-up is closed
// unanswered), with `model` as the instrument's model.
inline void startProgramWithoutInstrument(const char* model) {
    windows().setModalHook([](Window& w) { w.Unload(); });
    startProgram().Show();
    shared().DeviceModel = model;
}

// Runs the benchmarks the command line selects; 1 for an argument it does not know.
inline int runBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Runs the benchmarks the command line selects inside the program started without an instrument,
// offscreen in a program folder of its own, and closes every window after them.
inline int runInStartedProgram(int argc, char** argv, const char* model) {
    OffscreenRun offscreen;
    QApplication app(argc, argv);
    prepareProgram();
    startProgramWithoutInstrument(model);
    const int result = runBenchmarks(argc, argv);
    windows().unloadAll();
    return result;
}

}  // namespace sq::bench
