// The program itself started on the desktop, as a user starts it: its first window must reach the
// screen. The suite's own windows are shown long after the window manager met the process; a fresh
// process shows its port window at once, modally, which is where a window can be lost.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <string>

#include "desktop/desktop_fixture.h"
#include "support/test_support.h"

using sqtest::runCommand;
using sqtest::waitUntil;

namespace {

// True when the process shows a window of that exact title on the screen.
bool windowShown(qint64 pid, const std::string& title) {
    return !runCommand("xdotool search --onlyvisible --pid " + std::to_string(pid) + " --name '^" + title +
                       "$' 2>/dev/null")
                .empty();
}

TEST(ProgramStartTest, thePortWindowReachesTheScreenAtEveryStart) {
    for (int start = 1; start <= 2; ++start) {
        QTemporaryDir home;
        ASSERT_TRUE(home.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", home.path());
        QProcess program;
        program.setProcessEnvironment(env);
        program.setProgram(SQ_PROGRAM);
        program.start();
        ASSERT_TRUE(program.waitForStarted()) << program.errorString().toStdString();
        EXPECT_TRUE(waitUntil([&] { return windowShown(program.processId(), "Com Port"); }, 8000))
            << "start " << start << ": the port window never reached the screen";
        program.kill();
        program.waitForFinished();
    }
}

}  // namespace
