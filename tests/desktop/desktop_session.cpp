#include "desktop/desktop_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace sqtest {

namespace {

constexpr int kStartTimeoutMs = 15000;

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, end - start) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// Starts `argv` with its output in `log`; the child gets SIGTERM when the test process ends.
// `keepOpen` is a descriptor the child inherits (-1: none). `environment` entries are added.
pid_t spawn(const std::vector<std::string>& argv, const std::string& log, int keepOpen,
            const std::vector<std::string>& environment = {}) {
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0) return pid;
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);
    if (keepOpen >= 0) fcntl(keepOpen, F_SETFD, 0);
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) {
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
    }
    for (const std::string& e : environment) putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

// Reads what arrives on `fd` up to a new line or its end, waiting at most `timeoutMs` in all.
std::string readLine(int fd, int timeoutMs) {
    std::string text;
    pollfd p{fd, POLLIN, 0};
    while (text.find('\n') == std::string::npos) {
        if (poll(&p, 1, timeoutMs) <= 0) break;
        char buf[64];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) break;
        text.append(buf, static_cast<size_t>(n));
    }
    return text;
}

void terminate(pid_t& pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
}

}  // namespace

bool parseScreenSize(const std::string& text, int& width, int& height) {
    const size_t x = text.find('x');
    if (x == std::string::npos || x == 0 || x + 1 >= text.size()) return false;
    char* end = nullptr;
    width = static_cast<int>(std::strtol(text.c_str(), &end, 10));
    if (end != text.c_str() + x) return false;
    height = static_cast<int>(std::strtol(text.c_str() + x + 1, &end, 10));
    return *end == '\0' && width > 0 && height > 0;
}

DesktopSession::DesktopSession(int width, int height, bool withWindowManager) {
    for (const char* program : {"Xvfb", "openbox"}) {
        if (!onPath(program) && (withWindowManager || std::string(program) == "Xvfb")) {
            m_problem = std::string(program) + " is not installed (Debian packages xvfb and openbox)";
            return;
        }
    }
    char folder[] = "/tmp/sonoquant-desktop-XXXXXX";
    if (!mkdtemp(folder)) {
        m_problem = std::string("no temporary folder: ") + std::strerror(errno);
        return;
    }
    m_folder = folder;
    if (!startServer(width, height) || (withWindowManager && !startWindowManager())) stop();
}

DesktopSession::~DesktopSession() {
    stop();
}

// The server picks a free display itself and writes its number to the descriptor it is given once
// it accepts connections.
bool DesktopSession::startServer(int width, int height) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        m_problem = std::string("no pipe: ") + std::strerror(errno);
        return false;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    m_server =
        spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen, "-nolisten", "tcp"},
              m_folder + "/xvfb.log", fds[1]);
    close(fds[1]);
    const std::string number = readLine(fds[0], kStartTimeoutMs);
    close(fds[0]);
    if (number.empty() || number.find_first_not_of("0123456789\n") != std::string::npos) {
        m_problem = "Xvfb did not start (see " + m_folder + "/xvfb.log)";
        return false;
    }
    m_display = ":" + number.substr(0, number.find('\n'));
    return true;
}

// The window manager runs a command once it manages the screen: it writes to a named pipe the
// session waits on. Its settings are its installed defaults, not the user's.
bool DesktopSession::startWindowManager() {
    const std::string ready = m_folder + "/ready";
    if (mkfifo(ready.c_str(), 0600) != 0) {
        m_problem = std::string("no named pipe: ") + std::strerror(errno);
        return false;
    }
    const int fd = open(ready.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    m_windowManager = spawn({"openbox", "--sm-disable", "--startup", "sh -c 'echo up > " + ready + "'"},
                            m_folder + "/openbox.log", -1,
                            {"DISPLAY=" + m_display, "XDG_CONFIG_HOME=" + m_folder + "/config"});
    const std::string answer = fd >= 0 ? readLine(fd, kStartTimeoutMs) : std::string();
    if (fd >= 0) close(fd);
    if (answer != "up\n") {
        m_problem = "openbox did not start (see " + m_folder + "/openbox.log)";
        return false;
    }
    return true;
}

void DesktopSession::stop() {
    terminate(m_windowManager);
    terminate(m_server);
    // Kept when something failed, for its logs.
    if (!m_folder.empty() && ready()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
}

}  // namespace sqtest
