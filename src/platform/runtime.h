#pragma once
// The one owner of time and events. In real mode it runs on Qt's event loop; in virtual mode (tests)
// Delay and timers advance a simulated clock, so long poll scenarios run fast and deterministically.
#include <QDateTime>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QTimer;

namespace sq {

class Timer;

class Runtime {
public:
    static Runtime& get();

    // Switches virtual time on or off and resets the virtual clock to 0. Enabled timers keep running
    // on the new clock, each starting a fresh interval; pending callAfter calls are dropped.
    void setVirtualTime(bool on);
    [[nodiscard]] bool isVirtual() const { return m_virtual; }

    // Monotonic seconds since the runtime started (virtual seconds in virtual mode).
    [[nodiscard]] double now() const;

    // The local date and time. Real mode: the PC's clock. After setLocalDateTime (and in virtual mode
    // from the first call, starting at the PC's time then) it is that time advancing with now(), so
    // in virtual time it moves with the virtual clock. setVirtualTime forgets a set time; an invalid
    // QDateTime does too.
    [[nodiscard]] QDateTime localDateTime() const;
    void setLocalDateTime(const QDateTime& dateTime);

    // Runs pending events once.
    void doEvents();
    // Waits `seconds` on the monotonic clock, sleeping in the event loop; runs events at least once.
    void delay(double seconds);

    // Runs fn once, `seconds` from now, from the event loop. Returns an id for cancel().
    uint64_t callAfter(double seconds, std::function<void()> fn);
    void cancel(uint64_t id);

    // Virtual mode: advances the clock by `seconds`, running what falls due (same as delay).
    void advance(double seconds) { delay(seconds); }

private:
    friend class Timer;
    Runtime();
    void sleepInEventLoop(double seconds);
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    bool m_virtual = false;
};

// Classic timer: an interval in milliseconds and an enabled flag. Enabling an enabled timer keeps its
// phase; disabling and enabling again restarts the countdown; setting the interval restarts it. A tick
// never starts while the previous tick of the same timer is still running: a tick that falls due
// meanwhile is dropped.
class Timer {
public:
    explicit Timer(std::function<void()> handler = {}, int intervalMs = 0);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void setHandler(std::function<void()> handler) { m_handler = std::move(handler); }
    void setInterval(int ms);
    [[nodiscard]] int interval() const { return m_intervalMs; }
    void setEnabled(bool on);
    [[nodiscard]] bool enabled() const { return m_enabled; }
    [[nodiscard]] bool running() const { return m_running; }
    // Counts ticks that ran (for tests and diagnostics).
    [[nodiscard]] uint64_t tickCount() const { return m_ticks; }

private:
    friend class Runtime;
    void start();
    void stop();
    void fire();
    void scheduleVirtualTick(int64_t due, uint64_t generation);

    std::function<void()> m_handler;
    int m_intervalMs;
    bool m_enabled = false;
    bool m_running = false;
    uint64_t m_ticks = 0;
    uint64_t m_generation = 0;  // virtual mode: invalidates scheduled ticks
    std::unique_ptr<QTimer> m_qtimer;
    std::shared_ptr<bool> m_alive;
};

// The runtime's local date and time in a classic pattern: yyyy year, mm month, dd day, hh hour
// (24-hour), nn minute, ss second; other characters stand as they are.
std::string formatLocalDateTime(const std::string& classicFormat);

// Shorthands for the classic statements.
void DoEvents();
void Delay(double seconds);

}  // namespace sq
