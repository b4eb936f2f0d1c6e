// CPU used by the idle program, connected to an idle instrument or with no port open: the poll
// timers and the receive pump must sleep in the event loop. Runs the main window offscreen against
// the in-process simulator in real time and reports the CPU time (user + system) as a share of one
// core, and how often the process woke up (context switches of all its threads) per second.
// Targets: no port open at most 0.5 % and 50 wake-ups a second; connected at most 1 %.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <cstdlib>

#include "bench_support.h"
#include "link/channels.h"
#include "link/com_port_api.h"
#include "mainwindow/com_port_set_frm.h"
#include "mainwindow/panel.h"
#include "metersim/simulator.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/runtime.h"
#include "shared/state.h"
#include "support/scripted_dialogs.h"

namespace {

struct Usage {
    double cpuSeconds = 0;
    long wakeups = 0;
};

Usage usageNow() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return {seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_nvcsw + usage.ru_nivcsw};
}

// range(0): seconds measured; range(1): 1 to open the link to the simulator, 0 to run without one.
void BM_IdleProgram(benchmark::State& state) {
    const double seconds = static_cast<double>(state.range(0));
    const bool connect = state.range(1) != 0;
    for (auto _ : state) {
        sq::ScopedScriptedDialogs dialogs;
        sq::metersim::Simulator sim;
        sim.plugIn(1);
        sq::windows().setModalHook([connect](sq::Window& w) {
            if (auto* setup = dynamic_cast<sq::ComPortSetFrm*>(&w)) {
                if (!connect) {
                    w.Unload();
                    return;
                }
                setup->ChangeComport(1);
                setup->LinkBtn.click();
            }
        });
        sq::Panel& panel = sq::startProgram();
        panel.Show();
        sq::Delay(2);  // identified and listed
        const Usage before = usageNow();
        const double wallBefore = sq::Runtime::get().now();
        sq::Delay(seconds);
        const Usage after = usageNow();
        const double wall = sq::Runtime::get().now() - wallBefore;
        state.counters["cpu_percent"] = 100.0 * (after.cpuSeconds - before.cpuSeconds) / wall;
        state.counters["wakeups_per_s"] = static_cast<double>(after.wakeups - before.wakeups) / wall;
        state.counters["listed"] = panel.ControlListView.itemCount();
        state.SetIterationTime(wall);
        sq::windows().reset();
        sq::registerPollTimers(nullptr, nullptr);
        sq::PortAPI().reset();
        sq::ResetChannelTable();
    }
}
BENCHMARK(BM_IdleProgram)
    ->ArgNames({"seconds", "connected"})
    ->Args({10, 1})
    ->Args({10, 0})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    sq::bench::OffscreenRun offscreen;
    QApplication app(argc, argv);
    sq::ensureProgramFolder();
    return sq::bench::runBenchmarks(argc, argv);
}
