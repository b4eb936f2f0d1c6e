#include <sys/stat.h>

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMouseEvent>
#include <filesystem>
#include <ostream>
#include <vector>

#include "mainwindow/panel_fixture.h"
#include "platform/program_folder.h"
#include "platform/read_write_ini_cls.h"
#include "platform/text_file.h"
#include "support/pixels.h"
#include "support/read_watchdog.h"
#include "support/special_files.h"
#include "support/test_support.h"
#include "texts/language_files.h"

using namespace sq;
using sqtest::PanelTest;

namespace {

std::string iniPath() {
    return programPath("ControlSetting.ini");
}

TEST_F(PanelTest, startUpShowsPortSetupModallyAndLeavesTheDocumentedState) {
    QFile::remove(QString::fromStdString(iniPath()));
    startPort = 0;
    Panel& p = start();
    EXPECT_EQ(modalShown, (std::vector<std::string>{"ComPortSetFrm"}));
    EXPECT_TRUE(fileExists(iniPath()));
    EXPECT_EQ(readFileBytes(iniPath()).value_or("?"), "");
    EXPECT_FALSE(p.SSPMemory.Visible());
    EXPECT_EQ(flags().MemoryPanelVisible, kFalse);
    for (int button = 1; button <= 10; ++button)
        EXPECT_EQ(p.Toolbar1.buttonEnabled(button), button < 3 || button > 8) << button;
    EXPECT_EQ(shared().CalibrationLevelText, "----");
    EXPECT_EQ(shared().SendSuspended, kFalse);
    EXPECT_EQ(flags().TimerSetPending, kFalse);
    EXPECT_EQ(p.Toolbar1.buttonToolTip(7), "Memory");
    EXPECT_EQ(p.Caption(), "Panel V10.06");
}

// "Show Setting Panel" and "Real Time List" are black-and-white pictures: disabled, they must look
// as faint as the coloured ones.
TEST_F(PanelTest, beforeAnInstrumentIsIdentifiedItsButtonsLookDisabled) {
    startPort = 0;
    Panel& p = start();
    QApplication::processEvents();
    const QColor background = p.Toolbar1.widget()->palette().color(QPalette::Window);
    for (int button = 1; button <= 10; ++button) {
        const sqtest::Contrast look = sqtest::contrastOf(*p.Toolbar1.buttonWidget(button), background);
        EXPECT_EQ(sqtest::looksFaint(look), !p.Toolbar1.buttonEnabled(button))
            << p.Toolbar1.buttonToolTip(button) << ": " << look.lightness << " " << look.saturation;
    }
}

// A pipe as the language list: start-up reaches the port setup window, in English.
TEST_F(PanelTest, aPipeAsTheLanguageListNeverHoldsUpStartUp) {
    const std::string list = languageListPath();
    std::filesystem::remove(list);
    ASSERT_EQ(::mkfifo(list.c_str(), 0600), 0);
    startPort = 0;
    {
        const sqtest::ReadWatchdog guard("start-up", list);
        start();
    }
    EXPECT_EQ(modalShown, (std::vector<std::string>{"ComPortSetFrm"}));
    EXPECT_EQ(panel->Toolbar1.buttonToolTip(7), "Memory");
    std::filesystem::remove(list);
    ensureProgramFolder();
}

TEST_F(PanelTest, existingSettingsFileIsLeftUntouched) {
    writeFileAtomic(iniPath(), "[MeterSetting]\r\nCalibration=94.0\r\n");
    startPort = 0;
    start();
    EXPECT_EQ(readFileBytes(iniPath()).value_or(""), "[MeterSetting]\r\nCalibration=94.0\r\n");
}

// Start-up creates the settings file only where nothing is: a pipe or a device node at its name,
// or at the end of a link (as root, a settings file linked to /dev/null would have replaced the
// system's /dev/null), stays as it is through start-up and the port setup's write. A link that leads
// nowhere gets the file it points at.
struct SettingsFileCase : sqtest::SpecialFile {
    std::string created{};  // in dir: the file start-up creates
};

void PrintTo(const SettingsFileCase& c, std::ostream* os) {
    *os << c.what;
}

std::vector<SettingsFileCase> settingsFileCases() {
    using sqtest::makeLink;
    std::vector<SettingsFileCase> cases = sqtest::pipesAndDeviceNodesAs<SettingsFileCase>();
    cases.push_back({{"links in a circle", [](auto& dir, auto& path) {
                          return makeLink(dir + "/loop", path) && makeLink(path, dir + "/loop");
                      }}});
    cases.push_back({{"a link that leads nowhere",
                      [](auto& dir, auto& path) { return makeLink(dir + "/kept.ini", path); }},
                     "kept.ini"});
    return cases;
}

class StartUpSettingsFile : public PanelTest, public ::testing::WithParamInterface<SettingsFileCase> {
protected:
    void TearDown() override {
        std::filesystem::remove(iniPath());
        PanelTest::TearDown();
    }
};

TEST_P(StartUpSettingsFile, isCreatedOnlyWhereNothingIs) {
    const std::string dir = sqtest::makeTempDir("startini");
    const auto place = [&] {
        std::filesystem::remove(iniPath());
        return sqtest::SpecialFilePlace{dir, iniPath()};
    };
    const auto expectStartUp = [&](const SettingsFileCase& c, const std::string&, const std::string&) {
        const auto settingsFile = sqtest::nodeAt(iniPath());
        const auto inDir = sqtest::nodesIn(dir);
        {
            const sqtest::ReadWatchdog guard("start-up with a settings file that is " + c.what,
                                             c.pipePath(dir, iniPath()));
            start();
        }
        EXPECT_EQ(modalShown, (std::vector<std::string>{"ComPortSetFrm"}));
        EXPECT_EQ(shared().IniFilePath, iniPath());
        EXPECT_EQ(sqtest::nodeAt(iniPath()), settingsFile);
        if (c.created.empty()) {
            EXPECT_EQ(sqtest::nodesIn(dir), inDir);
        } else {
            EXPECT_TRUE(fileExists(dir + "/" + c.created));
            EXPECT_EQ(sqtest::nodesIn(dir).size(), inDir.size() + 1);
        }
    };
    sqtest::forEachSpecialFile(std::vector{GetParam()}, place, expectStartUp);
}

INSTANTIATE_TEST_SUITE_P(Cases, StartUpSettingsFile, ::testing::ValuesIn(settingsFileCases()),
                         [](const auto& info) { return sqtest::caseName(info.param.what); });

TEST_F(PanelTest, beforeAnyLinkTheStatusBarShowsPortZeroAndNothingIsSent) {
    startPort = 0;
    Panel& p = start();
    wait(2);
    EXPECT_EQ(p.StatusBar1.panelText(3), "COM  0");
    EXPECT_EQ(p.StatusBar1.panelText(1), "");
    EXPECT_TRUE(sim->requests().empty());
}

TEST_F(PanelTest, openedLinkFindsAndListsTheInstrument) {
    Panel& p = start();
    EXPECT_TRUE(PortAPI().IsOpen(1));
    ASSERT_TRUE(waitFor([&] { return p.ControlListView.itemCount() == 1; }, 2));
    EXPECT_EQ(p.ControlListView.itemText(1), "VOK-LSR20:1");
    EXPECT_EQ(p.StatusBar1.panelText(1), "VOK-LSR20");
    EXPECT_EQ(p.StatusBar1.panelText(3), "COM  1");
    EXPECT_TRUE(p.Toolbar1.buttonEnabled(7));
    EXPECT_FALSE(p.Toolbar1.buttonEnabled(4));
    EXPECT_EQ(p.TreeView1.nodeCount(), 20);
    ASSERT_TRUE(waitFor([] { return shared().CalibrationLevelText == "94.0"; }, 3));
    EXPECT_EQ(shared().CalibrationDateTime.Year, 2025);
}

TEST_F(PanelTest, unsupportedModelEnablesTheDeviceButtonsButIsNeitherListedNorDecoded) {
    sim->setModel("XYZ 9");
    Panel& p = start();
    wait(5);
    EXPECT_EQ(shared().DeviceModel, "XYZ 9");
    for (int button : {3, 6, 7, 8}) EXPECT_TRUE(p.Toolbar1.buttonEnabled(button)) << button;
    EXPECT_EQ(p.ControlListView.itemCount(), 0);
    EXPECT_EQ(p.TreeView1.nodeCount(), 0);
    EXPECT_EQ(shared().CalibrationLevelText, "----") << "its calibration reply is not decoded";
    EXPECT_GT(sent(0x13), 1) << "so the request goes on after every frame";
}

TEST_F(PanelTest, closingTheMainWindowClosesEveryChannel) {
    start();
    ASSERT_TRUE(PortAPI().IsOpen(1));
    windows().unload(Panel::kName);
    EXPECT_FALSE(PortAPI().IsOpen(1));
}

TEST_F(PanelTest, layoutKeepsTheMinimumAndLeavesAMinimisedWindowAlone) {
    Panel& p = start();
    p.Move(0, 0, 10000, 9000);
    EXPECT_EQ(static_cast<int>(p.Width()), 13665);
    EXPECT_EQ(static_cast<int>(p.Height()), 11250);
    p.setWindowState(WindowState::Minimized);
    const double treeWidth = p.TreeView1.Width();
    p.TreeViewBar.setWidth(2500);
    p.setWidth(5000);
    EXPECT_EQ(p.TreeView1.Width(), treeWidth);
}

TEST_F(PanelTest, twoCaptionClicksRestoreTheDesignCaption) {
    Panel& p = start();
    QWidget* background = p.mdiArea()->viewport();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(background, &press);
    EXPECT_EQ(p.Caption(), "Panel V10.06   2022-03-30.01");
    p.Form_Click();
    EXPECT_EQ(p.Caption(), "Panel V10.06");
}

// Port setup window.
TEST_F(PanelTest, portSetupOffersCom1WithoutAStoredPortAndRemembersTheChosenOne) {
    QFile::remove(QString::fromStdString(iniPath()));
    startPort = 0;
    start();
    auto& setup = form<ComPortSetFrm>();
    EXPECT_EQ(setup.ComPortCbx.Text(), "COM  1");
    EXPECT_EQ(setup.ComPortCbx.ListCount(), 256);
    EXPECT_EQ(setup.DeviceSelCbx.Text(), "VOK-LSR20");
    setup.ChangeComport(7);
    setup.LinkBtn.click();
    EXPECT_EQ(IniRW().GetINI("MeterSetting", "ComPort", "", iniPath()), "7");
    EXPECT_EQ(form<ComPortSetFrm>().ComPortCbx.Text(), "COM  7");
}

TEST_F(PanelTest, portSetupOkOnTheCurrentPortAddsASecondChannel) {
    start();
    ASSERT_EQ(ChannelCount, 1);
    auto& setup = form<ComPortSetFrm>();
    setup.ChangeComport(1);
    setup.LinkBtn.click();
    EXPECT_EQ(ChannelCount, 2);
    EXPECT_EQ(CurrentChannel, 2);
    EXPECT_EQ(Channels[1].PortNumber, 1);
    EXPECT_EQ(Channels[2].PortNumber, 1);
}

TEST_F(PanelTest, portSetupKeysChangeNothingButEnterOpensTheLink) {
    startPort = 0;
    start();
    auto& setup = form<ComPortSetFrm>();
    setup.ChangeComport(1);
    int key = 'x';
    setup.ComPortCbx.onKeyPress(key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(setup.ComPortCbx.Text(), "COM  1");
    EXPECT_EQ(ChannelCount, 0);
    key = 13;
    setup.ComPortCbx.onKeyPress(key);
    EXPECT_EQ(ChannelCount, 1);
    EXPECT_EQ(flags().ComPortSetFrmOpen, kFalse);
}

TEST_F(PanelTest, portSetupIsNeverSmallerThanItsMinimum) {
    startPort = 0;
    start();
    auto& setup = form<ComPortSetFrm>();
    setup.Show();
    EXPECT_GE(setup.Width(), 5280);
    EXPECT_GE(setup.Height(), 3540);
    setup.Move(0, 0, 3000, 2000);
    EXPECT_EQ(static_cast<int>(setup.Width()), 5280);
    EXPECT_EQ(static_cast<int>(setup.Height()), 3540);
}

}  // namespace
