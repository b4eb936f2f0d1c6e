// Test main: every suite runs with a private program folder and on Qt's offscreen platform, whose
// screen is a common desktop screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/ui/classic_font.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"

namespace {

// The offscreen platform's own screen is 800 x 800 pixels, smaller than the main window's minimum;
// the suites run on a common desktop screen instead: 1600 x 900 at 96 dpi.
void useDesktopSizedScreen(const std::string& folder) {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && std::string(platform) != "offscreen") return;
    const std::string config = folder + "/offscreen-screen.json";
    std::ofstream(config) << R"({"screens": [{"name": "Desktop", "x": 0, "y": 0, "width": 1600, )"
                          << R"("height": 900, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
    setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).c_str(), 1);
}

// The offscreen platform cannot raise a window and says so each time a window is shown; the
// program raises every window it shows, so the tests would drown in that line.
QtMessageHandler g_defaultHandler = nullptr;
void dropOffscreenRaiseNotice(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message == QLatin1String("This plugin does not support raise()")) return;
    g_defaultHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::string home = sqtest::dataHome();
    QDir().mkpath(QString::fromStdString(home));
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    useDesktopSizedScreen(home);
    g_defaultHandler = qInstallMessageHandler(dropOffscreenRaiseNotice);
    QApplication app(argc, argv);
    sq::useClassicFont();  // the program's font, so that texts measure as they do in the program
    // Answers what a test does not script itself; no test ever shows a box.
    static sq::ScriptedDialogs answers;
    sq::setDialogService(&answers);
    return RUN_ALL_TESTS();
}
