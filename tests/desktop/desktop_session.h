#pragma once
// A private desktop for the suites that need a real window system: an X server (Xvfb) of a given
// screen size on a free display, with the openbox window manager running on it unless asked for a
// bare server. The session starts both in its constructor and waits until the window manager is
// up; the destructor stops them. Children die with the test process, so a crashed suite leaves no
// server behind.
#include <sys/types.h>

#include <string>

namespace sqtest {

class DesktopSession {
public:
    DesktopSession(int width, int height, bool withWindowManager = true);
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    // True when the server and the window manager are up; else why not in `problem()`.
    [[nodiscard]] bool ready() const { return m_problem.empty(); }
    [[nodiscard]] const std::string& problem() const { return m_problem; }
    // The display's name, ":<number>".
    [[nodiscard]] const std::string& display() const { return m_display; }

private:
    bool startServer(int width, int height);
    bool startWindowManager();
    void stop();

    std::string m_problem;
    std::string m_display;
    std::string m_folder;
    pid_t m_server = -1;
    pid_t m_windowManager = -1;
};

// "1366x768" into its width and height; false for anything else.
bool parseScreenSize(const std::string& text, int& width, int& height);

}  // namespace sqtest
