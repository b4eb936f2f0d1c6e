#include "platform/runtime.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <thread>

namespace sq {

struct Runtime::Impl {
    QElapsedTimer clock;
    // Virtual mode: the simulated clock in whole nanoseconds (so ticks never drift by rounding) and
    // the queue of what falls due, ordered by (time, sequence).
    using Key = std::pair<int64_t, uint64_t>;
    struct Entry {
        std::function<void()> fn;
        uint64_t id = 0;  // 0: not cancellable (timer ticks)
    };
    int64_t virtualNow = 0;
    uint64_t sequence = 0;
    std::map<Key, Entry> queue;
    std::map<uint64_t, Key> keyOfId;  // callAfter id -> queue key, while pending
    // Real mode single-shot timers.
    std::map<uint64_t, QTimer*> realCalls;
    uint64_t nextId = 1;
    // The local date and time set or first taken in virtual mode, and now() at that moment.
    std::optional<QDateTime> localBase;
    double localBaseAt = 0;
    // Every live Timer, so a switch of mode can move the enabled ones to the new clock.
    std::set<Timer*> timers;

    void schedule(int64_t due, std::function<void()> fn, uint64_t id = 0) {
        auto key = std::make_pair(due, sequence++);
        queue.emplace(key, Entry{std::move(fn), id});
        if (id) keyOfId[id] = key;
    }

    // Runs every entry due at or before `until`, in order; entries scheduled meanwhile join in.
    void runDue(int64_t until) {
        while (!queue.empty()) {
            auto it = queue.begin();
            if (it->first.first > until) break;
            Entry entry = std::move(it->second);
            if (it->first.first > virtualNow) virtualNow = it->first.first;
            queue.erase(it);
            if (entry.id) keyOfId.erase(entry.id);
            entry.fn();
        }
    }
};

namespace {
// Seconds as a whole count of milliseconds for a Qt timer: never negative, never past what an int holds.
int toTimerMs(double seconds) {
    constexpr double kMaxMs = 24.0 * 3600.0 * 1000.0;
    double ms = std::clamp(seconds * 1000.0 + 0.5, 0.0, kMaxMs);
    return static_cast<int>(ms);
}

// Negative, NaN and infinite waits count as no wait at all.
double sanitizeSeconds(double seconds) {
    return std::isfinite(seconds) && seconds > 0 ? seconds : 0.0;
}

// A virtual time `seconds` after `now`, saturating instead of overflowing for absurd waits.
int64_t virtualTimeAfter(int64_t now, double seconds) {
    constexpr double kMaxSeconds = 1.0e9;
    int64_t ns = std::llround(std::min(seconds, kMaxSeconds) * 1e9);
    return now > std::numeric_limits<int64_t>::max() - ns ? std::numeric_limits<int64_t>::max() : now + ns;
}
}  // namespace

Runtime& Runtime::get() {
    static Runtime runtime;
    return runtime;
}

Runtime::Runtime() : m_impl(std::make_unique<Impl>()) {
    m_impl->clock.start();
}

void Runtime::setVirtualTime(bool on) {
    std::vector<Timer*> enabled;
    for (Timer* t : m_impl->timers)
        if (t->m_enabled) enabled.push_back(t);
    for (Timer* t : enabled) t->stop();
    m_virtual = on;
    m_impl->virtualNow = 0;
    m_impl->queue.clear();
    m_impl->keyOfId.clear();
    m_impl->localBase.reset();
    for (Timer* t : enabled) t->start();
}

QDateTime Runtime::localDateTime() const {
    if (!m_impl->localBase) {
        if (!m_virtual) return QDateTime::currentDateTime();
        m_impl->localBase = QDateTime::currentDateTime();
        m_impl->localBaseAt = now();
    }
    return m_impl->localBase->addMSecs(std::llround((now() - m_impl->localBaseAt) * 1000.0));
}

void Runtime::setLocalDateTime(const QDateTime& dateTime) {
    if (!dateTime.isValid()) {
        m_impl->localBase.reset();
        return;
    }
    m_impl->localBase = dateTime;
    m_impl->localBaseAt = now();
}

double Runtime::now() const {
    if (m_virtual) return static_cast<double>(m_impl->virtualNow) / 1e9;
    return static_cast<double>(m_impl->clock.nsecsElapsed()) / 1e9;
}

void Runtime::doEvents() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (m_virtual) m_impl->runDue(m_impl->virtualNow);
}

void Runtime::delay(double seconds) {
    seconds = sanitizeSeconds(seconds);
    if (m_virtual) {
        int64_t end = virtualTimeAfter(m_impl->virtualNow, seconds);
        if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
        m_impl->runDue(end);
        if (m_impl->virtualNow < end) m_impl->virtualNow = end;
        return;
    }
    double end = now() + seconds;
    doEvents();
    for (double left = end - now(); left > 0; left = end - now()) sleepInEventLoop(left);
}

// Sleeps about `seconds` in a local event loop, which runs whatever events arrive meanwhile;
// without an application there are no events, so it just sleeps.
void Runtime::sleepInEventLoop(double seconds) {
    if (!QCoreApplication::instance()) {
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        return;
    }
    QEventLoop loop;
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wake, &QTimer::timeout, &loop, &QEventLoop::quit);
    wake.start(std::max(1, toTimerMs(seconds)));
    loop.exec();
    // The loop refuses to run once the application is quitting; sleep rather than spin then.
    if (wake.isActive())
        std::this_thread::sleep_for(std::chrono::milliseconds(std::max(1, wake.remainingTime())));
}

uint64_t Runtime::callAfter(double seconds, std::function<void()> fn) {
    seconds = sanitizeSeconds(seconds);
    uint64_t id = m_impl->nextId++;
    if (m_virtual) {
        m_impl->schedule(virtualTimeAfter(m_impl->virtualNow, seconds), std::move(fn), id);
        return id;
    }
    auto* t = new QTimer;
    t->setSingleShot(true);
    t->setTimerType(Qt::PreciseTimer);
    Impl* impl = m_impl.get();
    QObject::connect(t, &QTimer::timeout, [impl, id, t, fn = std::move(fn)]() {
        impl->realCalls.erase(id);
        t->deleteLater();
        fn();
    });
    m_impl->realCalls[id] = t;
    t->start(toTimerMs(seconds));
    return id;
}

void Runtime::cancel(uint64_t id) {
    if (auto it = m_impl->keyOfId.find(id); it != m_impl->keyOfId.end()) {
        m_impl->queue.erase(it->second);
        m_impl->keyOfId.erase(it);
    }
    if (auto it = m_impl->realCalls.find(id); it != m_impl->realCalls.end()) {
        it->second->stop();
        it->second->deleteLater();
        m_impl->realCalls.erase(it);
    }
}

Timer::Timer(std::function<void()> handler, int intervalMs)
    : m_handler(std::move(handler)), m_intervalMs(intervalMs), m_alive(std::make_shared<bool>(true)) {
    Runtime::get().m_impl->timers.insert(this);
}

Timer::~Timer() {
    *m_alive = false;
    Runtime::get().m_impl->timers.erase(this);
    stop();
    // Destroyed from inside its own tick: the Qt timer is still delivering its signal.
    if (m_running && m_qtimer) m_qtimer.release()->deleteLater();
}

void Timer::setInterval(int ms) {
    m_intervalMs = ms;
    if (m_enabled) {
        stop();
        start();
    }
}

void Timer::setEnabled(bool on) {
    if (on == m_enabled) return;
    m_enabled = on;
    if (on)
        start();
    else
        stop();
}

void Timer::start() {
    if (m_intervalMs <= 0) return;
    Runtime& rt = Runtime::get();
    if (rt.isVirtual()) {
        scheduleVirtualTick(rt.m_impl->virtualNow + int64_t{m_intervalMs} * 1000000, ++m_generation);
        return;
    }
    if (!m_qtimer) {
        m_qtimer = std::make_unique<QTimer>();
        QObject::connect(m_qtimer.get(), &QTimer::timeout, [this]() { fire(); });
    }
    m_qtimer->setTimerType(m_intervalMs < 20 ? Qt::PreciseTimer : Qt::CoarseTimer);
    m_qtimer->start(m_intervalMs);
}

// Each tick schedules the next one an interval after its own due time, keeping the phase.
void Timer::scheduleVirtualTick(int64_t due, uint64_t generation) {
    auto alive = m_alive;
    Runtime::get().m_impl->schedule(due, [this, alive, due, generation]() {
        if (!*alive || generation != m_generation || !m_enabled) return;
        scheduleVirtualTick(due + int64_t{m_intervalMs} * 1000000, generation);
        fire();
    });
}

void Timer::stop() {
    ++m_generation;
    if (m_qtimer) m_qtimer->stop();
}

void Timer::fire() {
    if (m_running || !m_handler) return;  // never nested: a tick due meanwhile is dropped
    m_running = true;
    ++m_ticks;
    auto alive = m_alive;
    try {
        m_handler();
    } catch (...) {
        if (*alive) m_running = false;
        throw;
    }
    if (*alive) m_running = false;
}

std::string formatLocalDateTime(const std::string& classicFormat) {
    QString pattern = QString::fromStdString(classicFormat);
    pattern.replace("mm", "MM").replace("nn", "mm").replace("hh", "HH");
    return Runtime::get().localDateTime().toString(pattern).toStdString();
}

void DoEvents() {
    Runtime::get().doEvents();
}
void Delay(double seconds) {
    Runtime::get().delay(seconds);
}

}  // namespace sq
