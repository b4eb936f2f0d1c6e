// Main of the suite that runs on a real window system: it starts a private X server of the size
// given by --screen=WxH (default 1366x768) with the openbox window manager (none with --bare), and
// runs the tests there with a private program folder. Without Xvfb or openbox the suite is skipped
// (exit code 77), except under CI (CI=true), where the window-manager checks must have run: there it
// fails with the reason.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "desktop/desktop_session.h"
#include "platform/ui/classic_font.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"

namespace {

constexpr int kSkipped = 77;

bool underCi() {
    const char* ci = std::getenv("CI");
    return ci && std::string(ci) == "true";
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    std::string size = "1366x768";
    bool bare = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--screen=", 9) == 0) size = argv[i] + 9;
        if (std::strcmp(argv[i], "--bare") == 0) bare = true;
    }
    int width = 0, height = 0;
    if (!sqtest::parseScreenSize(size, width, height)) {
        std::cerr << "--screen wants WIDTHxHEIGHT, not " << size << "\n";
        return 2;
    }
    sqtest::DesktopSession desktop(width, height, !bare);
    if (!desktop.ready()) {
        if (underCi()) {
            std::cerr << "Failed: CI needs a desktop to run on: " << desktop.problem() << "\n";
            return 1;
        }
        std::cout << "Skipped: no desktop to run on: " << desktop.problem() << "\n";
        return kSkipped;
    }
    std::cout << "Desktop " << size << " on display " << desktop.display()
              << (bare ? " without a window manager\n" : " with openbox\n");
    if (bare) setenv("SQ_DESKTOP_BARE", "1", 1);
    const std::string home = sqtest::dataHome();
    QDir().mkpath(QString::fromStdString(home));
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    setenv("DISPLAY", desktop.display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    int result = 0;
    {
        QApplication app(argc, argv);
        sq::useClassicFont();
        // Answers what a test does not script itself; no test ever shows a box.
        sq::ScriptedDialogs answers;
        sq::DialogService* previous = sq::setDialogService(&answers);
        result = RUN_ALL_TESTS();
        sq::setDialogService(previous);
    }
    return result;
}
