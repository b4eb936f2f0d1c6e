#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <cstdlib>
#include <string>

#include "platform/text_file.h"
#include "support/test_support.h"

namespace sq {
namespace {

// Points XDG_DATA_HOME at a fresh folder for one test, so seeding starts from nothing.
class FreshDataHome : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = qgetenv("XDG_DATA_HOME");
        m_home = sqtest::makeTempDir("xdg");
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(m_home));
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", m_saved); }

    std::string m_home;

private:
    QByteArray m_saved;
};

TEST_F(FreshDataHome, folderFollowsXdgDataHomeAndPathsUseSlashes) {
    EXPECT_EQ(programFolder(), m_home + "/Sonoquant");
    EXPECT_EQ(programPath("Lan\\English.lan"), m_home + "/Sonoquant/Lan/English.lan");
    EXPECT_EQ(programPath("\\ControlSetting.ini"), m_home + "/Sonoquant/ControlSetting.ini");
    EXPECT_FALSE(dirExists(programFolder()));  // asking for the path creates nothing
}

TEST_F(FreshDataHome, firstStartCreatesAndSeedsTheFolder) {
    EXPECT_EQ(ensureProgramFolder(), m_home + "/Sonoquant");
    for (const char* sub : {"bin", "PDF", "ports", "Fonts"}) EXPECT_TRUE(dirExists(programPath(sub))) << sub;
    EXPECT_TRUE(fileExists(programPath("Fonts/Helvetica.afm")));
    EXPECT_TRUE(fileExists(programPath("Fonts/ZapfDingbats.afm")));
}

TEST_F(FreshDataHome, seedingNeverOverwritesAFileTheUserHas) {
    ensureProgramFolder();
    std::string font = programPath("Fonts/Courier.afm");
    ASSERT_TRUE(writeFileAtomic(font, "edited"));
    ensureProgramFolder();
    EXPECT_EQ(readFileBytes(font), std::optional<std::string>("edited"));
}

// The build tree has the installed layout's shape: a test program in <build>/tests finds the
// build's resources as an installed program in <prefix>/bin finds <prefix>/share/Sonoquant.
TEST(ResourceFolder, theFolderBesideTheRunningProgramComesFirst) {
    EXPECT_EQ(resourceFolderBesideProgram(), std::string(SQ_BUILD_RESOURCE_DIR));
    EXPECT_EQ(resourceFolder(), resourceFolderBesideProgram());
}

}  // namespace
}  // namespace sq
