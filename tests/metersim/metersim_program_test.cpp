// The command-line simulator as a person runs it: it announces its terminal in the ports folder,
// refuses a second claim on the same COM number, and removes its entry when stopped.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <csignal>

#include "metersim/port_entry.h"
#include "platform/com_ports.h"
#include "platform/runtime.h"
#include "platform/text_file.h"

namespace {

using namespace sq::metersim;

QString programPath() {
    return QCoreApplication::applicationDirPath() + "/../tools/metersim/metersim";
}

bool waitFor(const std::function<bool()>& done, double seconds) {
    for (double waited = 0; waited < seconds; waited += 0.02) {
        if (done()) return true;
        sq::Delay(0.02);
    }
    return done();
}

TEST(MetersimProgram, claimsItsPortEntryRefusesASecondAndCleansUp) {
    if (!QFileInfo::exists(programPath())) GTEST_SKIP() << "metersim is not built";
    const int com = 218;
    std::string entry = portEntryPath(com);
    std::remove(entry.c_str());

    QProcess first;
    first.start(programPath(), {"--com", QString::number(com), "--demo", "--quiet"});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(waitFor([&] { return sq::fileExists(entry); }, 5.0));
    std::string line = sq::readFileBytes(entry).value_or("");
    EXPECT_EQ(line.rfind("/dev/pts/", 0), 0u) << line;
    EXPECT_NE(line.find(" " + std::to_string(first.processId()) + "\r\n"), std::string::npos) << line;

    QProcess second;
    second.start(programPath(), {"--com", QString::number(com)});
    ASSERT_TRUE(second.waitForFinished(5000));
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_TRUE(second.readAllStandardError().contains("still running"));

    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished(5000));
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_FALSE(sq::fileExists(entry));
    EXPECT_TRUE(first.readAllStandardOutput().contains("3 stored record(s)"));
}

// A simulator killed outright cannot remove its entry; its lock dies with it, so the program sees
// the entry as stale, removes it, and never opens the terminal it names.
TEST(MetersimProgram, theEntryOfAKilledSimulatorIsStaleToTheProgram) {
    if (!QFileInfo::exists(programPath())) GTEST_SKIP() << "metersim is not built";
    const int com = 219;
    std::string entry = portEntryPath(com);
    std::remove(entry.c_str());
    QProcess sim;
    sim.start(programPath(), {"--com", QString::number(com), "--quiet"});
    ASSERT_TRUE(sim.waitForStarted());
    ASSERT_TRUE(waitFor([&] { return sq::fileExists(entry); }, 5.0));
    const std::string line = sq::readFileBytes(entry).value_or("");
    EXPECT_EQ(sq::resolveComPort(com).devicePath, line.substr(0, line.find(' ')));

    ::kill(static_cast<pid_t>(sim.processId()), SIGKILL);
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_TRUE(sq::fileExists(entry));
    EXPECT_EQ(sq::resolveComPort(com).kind, sq::ComPortLocation::Kind::None);
    EXPECT_FALSE(sq::fileExists(entry));
}

TEST(MetersimProgram, badArgumentsAreRefused) {
    if (!QFileInfo::exists(programPath())) GTEST_SKIP() << "metersim is not built";
    const QStringList cases[] = {
        {}, {"--com", "0"}, {"--com", "257"}, {"--com", "3", "--demo", "--records", "x"}};
    for (const QStringList& args : cases) {
        QProcess p;
        p.start(programPath(), args);
        ASSERT_TRUE(p.waitForFinished(5000));
        EXPECT_EQ(p.exitCode(), 2) << args.join(' ').toStdString();
    }
}

}  // namespace
