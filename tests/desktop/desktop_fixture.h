#pragma once
// The program started in-process on the suite's private desktop (Xvfb with openbox), and what the
// window system says of its windows. Waits run the event loop until the window manager has
// answered; frames are measured as the X server and the window manager report them (xwininfo and
// the manager's _NET_FRAME_EXTENTS), not as Qt computes them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QRect>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <ostream>
#include <regex>
#include <string>

#include "mainwindow/panel_fixture.h"
#include "support/test_support.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.width() << "x" << r.height() << "+" << r.x() << "+" << r.y();
}
inline void PrintTo(const QSize& s, std::ostream* os) {
    *os << s.width() << "x" << s.height();
}
QT_END_NAMESPACE

namespace sqtest {

// Runs the event loop until `done` holds, at most `ms` milliseconds; true when it held.
template <typename Pred>
bool waitUntil(Pred done, int ms = 5000) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// A top-level window as the window system has it: the client area and the frame the window manager
// put around it, in screen pixels; `framed` once the manager has stated its borders. Empty when the
// window is not mapped.
struct ScreenFrame {
    QRect client;
    QRect frame;
    bool framed = false;
};

inline ScreenFrame measureFrame(const QWidget& window) {
    const std::string id = std::to_string(window.winId());
    const std::string info = runCommand("xwininfo -id " + id);
    auto number = [&](const char* label) {
        std::smatch m;
        return std::regex_search(info, m, std::regex(std::string(label) + ":\\s+(-?\\d+)")) ? std::stoi(m[1])
                                                                                            : 0;
    };
    ScreenFrame f;
    if (info.find("IsViewable") == std::string::npos) return f;
    f.client = QRect(number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"),
                     number("Height"));
    f.frame = f.client;
    const std::string extents = runCommand("xprop -id " + id + " _NET_FRAME_EXTENTS");
    std::smatch m;
    if (std::regex_search(extents, m, std::regex("= (\\d+), (\\d+), (\\d+), (\\d+)"))) {
        f.frame.adjust(-std::stoi(m[1]), -std::stoi(m[3]), std::stoi(m[2]), std::stoi(m[4]));
        f.framed = true;
    }
    return f;
}

// The screen's area that windows may take (without panels the window manager keeps).
inline QRect availableArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// True when the suite runs on a server without a window manager (--bare).
inline bool bareServer() {
    return std::getenv("SQ_DESKTOP_BARE") != nullptr;
}

// True once the window manager has framed the window; on a bare server, once it is shown.
inline bool framed(const QWidget& window) {
    if (!window.isVisible()) return false;
    const ScreenFrame f = measureFrame(window);
    return bareServer() ? !f.client.isEmpty() : f.framed;
}

// A double click on the window's title bar, as a user makes it: the window manager maximises a
// restored window and restores a maximised one.
inline void doubleClickTitleBar(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const int titleMiddle = frame.top() + (window.geometry().top() - frame.top()) / 2;
    runCommand("xdotool mousemove " + std::to_string(frame.center().x()) + " " + std::to_string(titleMiddle) +
               " click --repeat 2 --delay 80 1");
}

// Runs the event loop until the window's geometry has not changed for `quietMs`, at most `ms`.
inline void waitForQuiet(const QWidget& window, int quietMs = 250, int ms = 3000) {
    QDeadlineTimer deadline(ms);
    QRect last = window.frameGeometry();
    QDeadlineTimer quiet(quietMs);
    while (!deadline.hasExpired() && !quiet.hasExpired()) {
        waitUntil([] { return false; }, 20);
        if (window.frameGeometry() != last) {
            last = window.frameGeometry();
            quiet.setRemainingTime(quietMs);
        }
    }
}

// Waits until the window manager has framed `window` and it has come to rest; true when it stands
// with its frame inside the available area by the window system's own measure.
inline ::testing::AssertionResult standsInsideTheScreen(const QWidget& window) {
    if (!waitUntil([&] { return framed(window); }))
        return ::testing::AssertionFailure() << "never framed by the window manager";
    const QRect area = availableArea();
    waitUntil([&] { return area.contains(measureFrame(window).frame); }, 2000);
    waitForQuiet(window);
    const ScreenFrame f = measureFrame(window);
    if (f.frame.isEmpty()) return ::testing::AssertionFailure() << "not mapped";
    if (!area.contains(f.frame))
        return ::testing::AssertionFailure() << "frame " << ::testing::PrintToString(f.frame) << " outside "
                                             << ::testing::PrintToString(area);
    return ::testing::AssertionSuccess();
}

// The program against the in-process simulated instrument, in virtual time, on the real desktop.
class DesktopTest : public PanelTest {
protected:
    // Starts the program and waits until the window manager shows its main window maximised (on a
    // bare server: until it is shown).
    sq::Panel& startOnDesktop() {
        sq::Panel& p = start();
        QWidget& main = *p.mainWindow();
        EXPECT_TRUE(waitUntil(
            [&] { return framed(main) && (bareServer() || measureFrame(main).frame == availableArea()); }));
        waitForQuiet(main);
        return p;
    }
};

}  // namespace sqtest
