#include "platform/runtime.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace sq {
namespace {

double threadCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Counts how deep a handler is nested in itself.
struct DepthProbe {
    int depth = 0;
    int deepest = 0;
    void enter() { deepest = std::max(deepest, ++depth); }
    void leave() { --depth; }
};

class VirtualTime : public ::testing::Test {
protected:
    void SetUp() override { Runtime::get().setVirtualTime(true); }
    void TearDown() override { Runtime::get().setVirtualTime(false); }
};

TEST(RealTimeTest, delaySleepsInsteadOfSpinningAndRunsEvents) {
    bool posted = false;
    QTimer::singleShot(0, [&] { posted = true; });
    double cpuBefore = threadCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    Delay(1.0);
    double cpu = threadCpuSeconds() - cpuBefore;
    EXPECT_GE(wall.elapsed(), 1000);
    EXPECT_LT(wall.elapsed(), 2000);
    EXPECT_LT(cpu, 0.050);
    EXPECT_TRUE(posted);
}

TEST(RealTimeTest, zeroAndNonsenseDelaysStillRunEventsOnceAndReturn) {
    for (double seconds : {0.0, -1.0, std::nan(""), -double(INFINITY)}) {
        bool posted = false;
        QTimer::singleShot(0, [&] { posted = true; });
        QElapsedTimer wall;
        wall.start();
        Delay(seconds);
        EXPECT_TRUE(posted) << seconds;
        EXPECT_LT(wall.elapsed(), 500) << seconds;
    }
}

TEST(RealTimeTest, aTickNeverNestsWhileOtherTimersRunInsideItsWait) {
    DepthProbe probe;
    Timer fast;
    Timer other([] {}, 5);
    fast.setHandler([&] {
        probe.enter();
        Delay(0.05);  // several more ticks of `fast` fall due meanwhile and are dropped
        probe.leave();
    });
    fast.setInterval(1);
    fast.setEnabled(true);
    other.setEnabled(true);
    Delay(0.3);
    fast.setEnabled(false);
    other.setEnabled(false);
    EXPECT_EQ(probe.deepest, 1);
    EXPECT_GE(fast.tickCount(), 2u);
    EXPECT_LE(fast.tickCount(), 7u);
    EXPECT_GE(other.tickCount(), 10u);
}

TEST(RealTimeTest, callAfterRunsOnceAndCancelStopsIt) {
    int runs = 0, cancelled = 0;
    Runtime::get().callAfter(0.02, [&] { ++runs; });
    uint64_t id = Runtime::get().callAfter(0.02, [&] { ++cancelled; });
    Runtime::get().cancel(id);
    Delay(0.1);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(cancelled, 0);
}

TEST(RealTimeTest, aTimerMayDeleteItselfInItsOwnTick) {
    auto timer = std::make_unique<Timer>();
    int ticks = 0;
    timer->setHandler([&] {
        ++ticks;
        timer.reset();
    });
    timer->setInterval(1);
    timer->setEnabled(true);
    Delay(0.05);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(timer, nullptr);
}

TEST_F(VirtualTime, tenThousandTicksRunInWellUnderASecond) {
    Timer pump([] {}, 1);
    pump.setEnabled(true);
    // CPU time, not wall time: a loaded machine (parallel tests, sanitizers) must not fail it.
    const double cpuStart = threadCpuSeconds();
    for (int step = 0; step < 100; ++step) Runtime::get().advance(0.1);  // sums that drift in binary
    EXPECT_EQ(pump.tickCount(), 10000u);
    EXPECT_LT(threadCpuSeconds() - cpuStart, 0.5);
    EXPECT_DOUBLE_EQ(Runtime::get().now(), 10.0);
}

TEST_F(VirtualTime, enablingAnEnabledTimerKeepsItsPhaseButARestartDoesNot) {
    Timer kept([] {}, 100);
    Timer restarted([] {}, 100);
    kept.setEnabled(true);
    restarted.setEnabled(true);
    Runtime::get().advance(0.06);
    kept.setEnabled(true);
    restarted.setEnabled(false);
    restarted.setEnabled(true);
    Runtime::get().advance(0.04);
    EXPECT_EQ(kept.tickCount(), 1u);
    EXPECT_EQ(restarted.tickCount(), 0u);
    Runtime::get().advance(0.06);
    EXPECT_EQ(restarted.tickCount(), 1u);

    restarted.setInterval(200);  // a new interval starts a fresh countdown
    Runtime::get().advance(0.19);
    EXPECT_EQ(restarted.tickCount(), 1u);
    Runtime::get().advance(0.01);
    EXPECT_EQ(restarted.tickCount(), 2u);
}

// The poll loop's shape: a 1 ms pump whose ticks wait 0.1 s, and a 200 ms timer that runs inside.
TEST_F(VirtualTime, ticksDueDuringAWaitAreDroppedAndOthersRunInsideIt) {
    DepthProbe probe;
    Timer pump;
    Timer slow([] {}, 200);
    pump.setHandler([&] {
        probe.enter();
        Delay(0.1);
        probe.leave();
    });
    pump.setInterval(1);
    pump.setEnabled(true);
    slow.setEnabled(true);
    Runtime::get().advance(1.0);
    EXPECT_EQ(probe.deepest, 1);
    EXPECT_GE(pump.tickCount(), 9u);
    EXPECT_LE(pump.tickCount(), 10u);
    EXPECT_EQ(slow.tickCount(), 5u);
}

TEST_F(VirtualTime, callsRunInTimeOrderAndDoEventsRunsOnlyWhatIsDue) {
    std::vector<int> order;
    auto& rt = Runtime::get();
    rt.callAfter(0.3, [&] { order.push_back(3); });
    rt.callAfter(0.1, [&] { order.push_back(1); });
    uint64_t dropped = rt.callAfter(0.2, [&] { order.push_back(2); });
    rt.callAfter(0, [&] { order.push_back(0); });
    rt.cancel(dropped);
    DoEvents();
    EXPECT_EQ(order, std::vector<int>{0});
    Delay(0.5);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 3}));
    EXPECT_DOUBLE_EQ(rt.now(), 0.5);
}

TEST_F(VirtualTime, timersDestroyedOrDisabledInsideTheirTickStopCleanly) {
    auto self = std::make_unique<Timer>();
    Timer disabler;
    int selfTicks = 0;
    self->setHandler([&] {
        ++selfTicks;
        self.reset();
    });
    disabler.setHandler([&] { disabler.setEnabled(false); });
    self->setInterval(10);
    disabler.setInterval(10);
    self->setEnabled(true);
    disabler.setEnabled(true);
    Runtime::get().advance(0.1);
    EXPECT_EQ(selfTicks, 1);
    EXPECT_EQ(disabler.tickCount(), 1u);
}

TEST_F(VirtualTime, localDateTimeSetByATestAdvancesWithTheVirtualClock) {
    Runtime& rt = Runtime::get();
    rt.setLocalDateTime(QDateTime(QDate(2026, 3, 5), QTime(7, 8, 9)));
    EXPECT_EQ(formatLocalDateTime("yyyy/mm/dd hh:nn:ss"), "2026/03/05 07:08:09");
    rt.advance(3600 * 17 + 60 * 51 + 51.5);
    EXPECT_EQ(formatLocalDateTime("yyyy / mm / dd   hh:nn:ss"), "2026 / 03 / 06   01:00:00");
    rt.setVirtualTime(true);
    const QDateTime pc = QDateTime::currentDateTime();
    EXPECT_LT(std::abs(rt.localDateTime().secsTo(pc)), 5) << "a fresh virtual clock starts at the PC's time";
    rt.advance(90);
    EXPECT_NEAR(pc.secsTo(rt.localDateTime()), 90, 5);
}

TEST(RuntimeModeTest, enabledTimersFollowASwitchOfClock) {
    Timer poll([] {}, 100);
    poll.setEnabled(true);
    Runtime::get().setVirtualTime(true);
    Runtime::get().advance(1.0);
    EXPECT_EQ(poll.tickCount(), 10u);
    Runtime::get().setVirtualTime(false);
    Delay(0.35);
    EXPECT_GE(poll.tickCount(), 12u);
    EXPECT_TRUE(poll.enabled());
}

}  // namespace
}  // namespace sq

namespace sq {
namespace {

// Once the application is quitting, Qt's loops refuse to run; a wait must still sleep.
void delayWhileQuittingThenExit() {
    QCoreApplication::exit(0);
    double cpuBefore = threadCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    Delay(0.3);
    bool slept = wall.elapsed() >= 300 && threadCpuSeconds() - cpuBefore < 0.05;
    std::_Exit(slept ? 0 : 1);
}

TEST(RealTimeDeathTest, delaySleepsEvenWhenTheApplicationIsQuitting) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // Qt runs threads; do not fork mid-flight
    EXPECT_EXIT(delayWhileQuittingThenExit(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace sq
