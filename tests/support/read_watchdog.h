#pragma once
// Guards a test of a read that, when the read has no bound, blocks for good or grows without end,
// so that such a test fails instead of hanging the suite or filling the memory.
//
// Once `seconds` have passed, the guard keeps opening `fifo` (when given) for writing and closing it
// again: a reader blocked in opening that pipe then reads an empty pipe and returns, and the test
// fails (the guard reports the hold-up when it is dropped). A read still going `seconds` later, or a
// process grown by more than `growthMb` since the guard was made, ends the test program at once
// with a message.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

namespace sqtest {

class ReadWatchdog {
public:
    explicit ReadWatchdog(std::string what, std::string fifo = {}, double seconds = 5, long growthMb = 512)
        : m_what(std::move(what)), m_fifo(std::move(fifo)), m_limitKb(residentKb() + growthMb * 1024) {
        m_thread = std::thread([this, seconds] { watch(seconds); });
    }
    ~ReadWatchdog() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_thread.join();
        if (m_heldUp) ADD_FAILURE() << m_what << ": the read waited on the pipe until the guard opened it";
    }
    ReadWatchdog(const ReadWatchdog&) = delete;
    ReadWatchdog& operator=(const ReadWatchdog&) = delete;

private:
    static long residentKb() {
        long pages = 0, resident = 0;
        std::ifstream("/proc/self/statm") >> pages >> resident;
        return resident * (sysconf(_SC_PAGESIZE) / 1024);
    }

    [[noreturn]] void giveUp(const char* why) const {
        std::fprintf(stderr, "\n*** %s: %s; the test program ends here\n", m_what.c_str(), why);
        std::fflush(stderr);
        std::_Exit(1);
    }

    void watch(double seconds) {
        using Clock = std::chrono::steady_clock;
        const auto step = std::chrono::milliseconds(5);
        const auto limit =
            std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
        const auto start = Clock::now();
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_wake.wait_for(lock, step, [this] { return m_done; })) {
            if (residentKb() > m_limitKb) giveUp("the read keeps growing");
            const auto elapsed = Clock::now() - start;
            if (!m_fifo.empty() && elapsed > limit) {
                // Succeeds only while a reader waits in opening the pipe.
                const int fd = ::open(m_fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    m_heldUp = true;
                    ::close(fd);
                }
            }
            if (elapsed > 2 * limit) giveUp("the read did not return");
        }
    }

    std::string m_what;
    std::string m_fifo;
    long m_limitKb;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    bool m_heldUp = false;
    std::thread m_thread;
};

}  // namespace sqtest
