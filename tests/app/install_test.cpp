// `cmake --install` into a fresh prefix gives a program that, started from another folder, seeds
// its program folder from the resources of that prefix, and a desktop entry that starts it.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/runtime.h"
#include "platform/text_file.h"
#include "support/test_support.h"

namespace {

// What the installed program's first start must copy: every file of the installed resource folder,
// at its full size.
bool seeded(const QString& resources, const QString& programFolder) {
    QDirIterator it(resources, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo installed(it.next());
        const QFileInfo copy(programFolder + "/" + QDir(resources).relativeFilePath(installed.filePath()));
        if (!copy.exists() || copy.size() != installed.size()) return false;
    }
    return true;
}

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        prefix = QString::fromStdString(sqtest::makeTempDir("prefix"));
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(SQ_CMAKE_COMMAND, {"--install", SQ_BINARY_DIR, "--prefix", prefix});
        ASSERT_TRUE(install.waitForFinished(120000));
        ASSERT_EQ(install.exitCode(), 0) << install.readAll().toStdString();
    }
    QString installed(const QString& relative) const { return prefix + "/" + relative; }

    QString prefix;
};

TEST_F(InstallTest, installsTheProgramsTheResourcesTheDesktopEntryAndTheIcon) {
    for (const char* program : {"bin/sonoquant", "bin/metersim"})
        EXPECT_TRUE(QFileInfo(installed(program)).isExecutable()) << program;
    for (const char* file : {"share/Sonoquant/Lan/Language.bin", "share/Sonoquant/Lan/English.lan",
                             "share/Sonoquant/Fonts/Helvetica.afm", "share/Sonoquant/help/Manual.pdf",
                             "share/icons/hicolor/scalable/apps/sonoquant.svg"})
        EXPECT_TRUE(QFileInfo(installed(file)).isFile()) << file;

    const auto entry = sq::readTextLines(installed("share/applications/sonoquant.desktop").toStdString());
    ASSERT_TRUE(entry);
    const std::vector<std::string>& lines = *entry;
    auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_EQ(lines.at(0), "[Desktop Entry]");
    EXPECT_TRUE(has("Type=Application"));
    EXPECT_TRUE(has("Name=Sonoquant"));
    EXPECT_TRUE(has("Icon=sonoquant"));
    EXPECT_TRUE(has("Exec=\"" + installed("bin/sonoquant").toStdString() + "\""));
    for (const char* key : {"Comment=", "Categories="})
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.rfind(key, 0) == 0;
        })) << key;
}

// The installed program reads the resources of its own prefix: a file put there only, after the
// install, reaches the fresh program folder.
TEST_F(InstallTest, theInstalledProgramSeedsItsProgramFolderFromItsPrefix) {
    const QString resources = installed("share/Sonoquant");
    ASSERT_TRUE(sq::writeFileAtomic((resources + "/Lan/Installed.lan").toStdString(), "Exit\\Exit\r\n"));
    const QString dataHome = QString::fromStdString(sqtest::makeTempDir("installed-data"));
    const QString programFolder = dataHome + "/Sonoquant";

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", dataHome);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(QString::fromStdString(sqtest::makeTempDir("elsewhere")));
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(installed("bin/sonoquant"), {});
    ASSERT_TRUE(program.waitForStarted());

    // The first start seeds the folder, then waits in its port window until it is stopped.
    bool done = false;
    for (int waited = 0; waited < 1200 && !done && program.state() == QProcess::Running; ++waited) {
        sq::Delay(0.05);
        done = seeded(resources, programFolder);
    }
    const bool running = program.state() == QProcess::Running;
    program.terminate();
    if (!program.waitForFinished(10000)) {
        program.kill();
        program.waitForFinished(10000);
    }
    EXPECT_TRUE(running) << program.readAll().toStdString();
    EXPECT_TRUE(done);
    EXPECT_TRUE(QFileInfo(programFolder + "/Lan/Installed.lan").isFile());
    for (const char* folder : {"bin", "PDF", "ports"})
        EXPECT_TRUE(QFileInfo(programFolder + "/" + folder).isDir()) << folder;
}

}  // namespace
