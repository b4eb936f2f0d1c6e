#pragma once
// Keeps a long loop responsive without paying for an event pass per step: the loop calls tick()
// often, and the pacer serves pending events only once its interval has passed since the end of
// its previous pass (or since it was made). With a port open a pass also runs a receive-pump tick,
// which waits 0.1 s, so at the default 200 ms the loop keeps about two thirds of the time.
//
// Time is the runtime's clock, so in virtual time a loop that advances no time is never served by
// the clock; tests choose the call at which a pass happens with the test hook instead.
#include <cstdint>
#include <functional>

namespace sq {

class EventPacer {
public:
    static constexpr double kDefaultInterval = 0.2;  // seconds

    explicit EventPacer(double intervalSeconds = kDefaultInterval);
    EventPacer(const EventPacer&) = delete;
    EventPacer& operator=(const EventPacer&) = delete;

    void setInterval(double seconds);
    [[nodiscard]] double interval() const { return m_interval; }

    // One step of the loop. When a pass is due, runs `beforePass` (e.g. shows the progress), then
    // serves pending events once; returns true when it did.
    bool tick(const std::function<void()>& beforePass = {});

    [[nodiscard]] uint64_t calls() const { return m_calls; }
    [[nodiscard]] uint64_t passes() const { return m_passes; }

    // Test hook: the `call`-th tick (1-based) of the next pacer that reaches it serves a pass, and
    // `event` runs in that pass as a pending event would. It fires once; an empty event clears it.
    static void setTestHook(uint64_t call, std::function<void()> event);

private:
    void serve(const std::function<void()>& beforePass);

    double m_interval;
    double m_lastPassEnd;
    uint64_t m_calls = 0;
    uint64_t m_passes = 0;
};

}  // namespace sq
