#include "platform/event_pacer.h"

#include <cmath>
#include <utility>

#include "platform/runtime.h"

namespace sq {

namespace {
struct TestHook {
    uint64_t call = 0;
    std::function<void()> event;
};
TestHook& testHook() {
    static TestHook hook;
    return hook;
}
double sanitizedInterval(double seconds) {
    return std::isfinite(seconds) && seconds > 0 ? seconds : 0.0;
}
}  // namespace

EventPacer::EventPacer(double intervalSeconds)
    : m_interval(sanitizedInterval(intervalSeconds)), m_lastPassEnd(Runtime::get().now()) {}

void EventPacer::setInterval(double seconds) {
    m_interval = sanitizedInterval(seconds);
}

void EventPacer::setTestHook(uint64_t call, std::function<void()> event) {
    testHook() = {event ? call : 0, std::move(event)};
}

bool EventPacer::tick(const std::function<void()>& beforePass) {
    ++m_calls;
    TestHook& hook = testHook();
    if (hook.event && hook.call == m_calls) {
        std::function<void()> event = std::move(hook.event);
        hook = {};
        if (beforePass) beforePass();
        event();
        serve({});
        return true;
    }
    if (Runtime::get().now() - m_lastPassEnd < m_interval) return false;
    serve(beforePass);
    return true;
}

void EventPacer::serve(const std::function<void()>& beforePass) {
    if (beforePass) beforePass();
    Runtime::get().doEvents();
    ++m_passes;
    m_lastPassEnd = Runtime::get().now();
}

}  // namespace sq
