#pragma once
// A file size limit stands in for a full disk: a write beyond `bytes` fails half-way (root
// included), and SIGXFSZ is ignored so that the write only returns its error.
#include <sys/resource.h>

#include <csignal>

namespace sqtest {

template <class F>
void withFileSizeLimit(rlim_t bytes, F&& f) {
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &small);
    f();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
}

}  // namespace sqtest
