// Device tree, instrument list, toolbar commands and the closing rules.
#include "link/requests.h"
#include "mainwindow/device_tree.h"
#include "mainwindow/panel_fixture.h"
#include "platform/program_folder.h"
#include "platform/text_file.h"
#include "records/data_list_frm.h"
#include "settings/clear_memory_frm.h"
#include "settings/one_set_form.h"
#include "settings/rtc_frm.h"
#include "support/stand_in_window.h"
#include "support/test_support.h"

using namespace sq;
using sqtest::PanelTest;

namespace {

class CommandsTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        log = std::make_shared<std::vector<std::string>>();
    }
    Panel& startIdentified() {
        Panel& p = start();
        EXPECT_TRUE(waitFor([&] { return p.ControlListView.itemCount() == 1; }, 3));
        wait(1);
        dialogs->clear();
        sim->clearLog();
        return p;
    }
    void standIn(const std::string& name, int16_t OpenFlags::*flag, WindowKind kind = WindowKind::MdiChild) {
        registerStandIn(name, &(flags().*flag), log, kind);
    }
    std::shared_ptr<std::vector<std::string>> log;
};

TEST_F(CommandsTest, treeHasTwentyNodesWithKeysAndTexts) {
    Panel& p = startIdentified();
    ASSERT_EQ(p.TreeView1.nodeCount(), 20);
    const std::vector<std::string> texts = deviceTreeNodeTexts();
    for (int n = 1; n <= 20; ++n) {
        EXPECT_EQ(p.TreeView1.nodeKey(n), deviceTreeNodes()[n - 1].key);
        EXPECT_EQ(p.TreeView1.nodeText(n), texts[n - 1]);
    }
    EXPECT_EQ(p.TreeView1.nodeText(1), "RTC");
    EXPECT_EQ(p.TreeView1.parentKey(4), "Root3");
    EXPECT_EQ(p.TreeView1.nodeText(20), "Help");
    sim->setModel("KM-300");
    wait(8);
    EXPECT_EQ(shared().DeviceModel, "KM-300");
    EXPECT_EQ(p.TreeView1.nodeCount(), 20) << "a second supported model builds nothing more";
}

TEST_F(CommandsTest, treeNodeClickResolvesByTextInTheFixedOrder) {
    std::vector<std::string> texts = deviceTreeNodeTexts();
    EXPECT_EQ(treeCommandNode("Setting", texts), 0);
    EXPECT_EQ(treeCommandNode("Other Option", texts), 0);
    EXPECT_EQ(treeCommandNode("Lcd APO", texts), 5);
    texts[6] = texts[15];  // two nodes with one text: the earlier wins
    EXPECT_EQ(treeCommandNode(texts[15], texts), 7);
}

TEST_F(CommandsTest, nodeClicksNeedASupportedModelAndRefuseWhileErasing) {
    Panel& p = startIdentified();
    flags().MemoryErasing = kTrue;
    p.TreeView1.clickNode(1);
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Memory Erasing ..."}));
    EXPECT_EQ(flags().RTCFrmOpen, kFalse);
    flags().MemoryErasing = kFalse;
    dialogs->clear();
    shared().DeviceModel = "XYZ";
    p.TreeView1.clickNode(1);
    p.TreeView1.clickNode(2);
    EXPECT_EQ(flags().RTCFrmOpen, kFalse);
    EXPECT_EQ(flags().MemoryPanelVisible, kFalse);
    EXPECT_TRUE(dialogs->records.empty());
}

TEST_F(CommandsTest, settingNodeRunsItsReadSequenceAndTheAnswerLandsInTheWindow) {
    standIn("LEDAlarmFrm", &OpenFlags::LEDAlarmFrmOpen);
    Panel& p = startIdentified();
    windows().window("LEDAlarmFrm").Show();
    sim->state().apoIndex = 3;
    p.TreeView1.clickNode(5);  // "Lcd APO"
    EXPECT_EQ(flags().LEDAlarmFrmOpen, kFalse);
    EXPECT_EQ(flags().OneSetLcdApo, kTrue);
    EXPECT_TRUE(p.Timer1.enabled()) << "polling resumes after the waits";
    const auto reads = sim->requestsWithCode(CmdReadLcdApo);
    ASSERT_EQ(reads.size(), 1u);
    wait(1);
    OneSetForm& form1 = form<OneSetForm>();
    EXPECT_EQ(form1.mode(), OneSetMode::LcdApo);
    EXPECT_EQ(form1.SetCbx.ListIndex(), 3);
    EXPECT_EQ(form1.SetCbx.Text(), "20 Sec");
}

TEST_F(CommandsTest, memoryNodeLeavesPollingPausedAndStartsWithTheSizeRequest) {
    Panel& p = startIdentified();
    sim->setSilent(true);
    p.TreeView1.clickNode(2);
    EXPECT_FALSE(p.Timer1.enabled());
    EXPECT_FALSE(p.Timer2.enabled());
    wait(0.01);
    ASSERT_GE(sim->requests().size(), 2u);
    EXPECT_EQ(sim->requests()[0].code, CmdReadMemorySize);
    EXPECT_EQ(sim->requests()[1].code, CmdReadMemoryInfo);
    // At least the command's 0.1 s; a receive-pump tick that starts inside that wait holds it longer.
    const double gap = sim->requests()[1].time - sim->requests()[0].time;
    EXPECT_GE(gap, 0.099);
    EXPECT_LE(gap, 0.35);
}

TEST_F(CommandsTest, clockWindowShowsBothTimes) {
    Panel& p = startIdentified();
    sim->setClock({2022, 3, 30, 14, 5, 9});
    p.Toolbar1.click("RTC");
    ASSERT_EQ(flags().RTCFrmOpen, kTrue);
    wait(1);
    RTCFrm& rtc = form<RTCFrm>();
    EXPECT_EQ(rtc.PcTimeNowLbl.Caption().size(), 19u);
    EXPECT_EQ(rtc.MeterTimeNowLbl.Caption().substr(0, 14), "2022/03/30 14:");
}

TEST_F(CommandsTest, instrumentClickSelectsItsOwnChannel) {
    EXPECT_EQ(channelOfListEntry(listEntryKey(3), 1, 3), 3);
    EXPECT_EQ(channelOfListEntry("", 3, 3), 1) << "an entry without channel keeps the position rule";
    EXPECT_EQ(modelOfListEntry("KM-300:3"), "KM-300");
    EXPECT_EQ(modelOfListEntry("KM-300"), "KM-300");
    Panel& p = startIdentified();
    CurrentChannel = 5;
    standIn("Setting410PanelFrm", &OpenFlags::Setting410PanelFrmOpen, WindowKind::TopLevel);
    p.ControlListView.clickItem(1);
    EXPECT_EQ(CurrentChannel, 1);
    EXPECT_EQ(flags().Setting410PanelFrmOpen, kTrue);
}

TEST_F(CommandsTest, twoInstrumentsAreListedOnceEachTheNewestOnTop) {
    metersim::Simulator second;
    second.setModel("KM-300");
    second.plugIn(2);
    Panel& p = startIdentified();
    auto& setup = form<ComPortSetFrm>();
    setup.ChangeComport(2);
    setup.LinkBtn.click();
    ASSERT_TRUE(waitFor([&] { return p.ControlListView.itemCount() == 2; }, 8));
    wait(3);
    ASSERT_EQ(p.ControlListView.itemCount(), 2);
    EXPECT_EQ(p.ControlListView.itemText(1), "KM-300:2");
    EXPECT_EQ(p.ControlListView.itemText(2), "VOK-LSR20:1");
    p.ControlListView.clickItem(2);
    EXPECT_EQ(CurrentChannel, 1);
    p.ControlListView.clickItem(1);
    EXPECT_EQ(CurrentChannel, 2);
    second.detach();
}

TEST_F(CommandsTest, checkFlageClosesTheRecordWindowAndKeepsTheGraphs) {
    standIn("Plot", &OpenFlags::PlotOpen);
    standIn("Histogram", &OpenFlags::HistogramOpen);
    Panel& p = startIdentified();
    windows().window("Plot").Show();
    windows().window("Histogram").Show();
    form<DataListFrm>().Show();
    p.ShowMemoryInfoPanel(true);
    p.CheckFlage();
    EXPECT_EQ(flags().DataListFrmOpen, kFalse);
    EXPECT_EQ(flags().PlotOpen, kTrue);
    EXPECT_EQ(flags().HistogramOpen, kTrue);
    EXPECT_EQ(flags().MemoryPanelVisible, kFalse);
}

TEST_F(CommandsTest, checkPanelFlageClosesOnlyTheSettingDialogs) {
    standIn("Setting410PanelFrm", &OpenFlags::Setting410PanelFrmOpen, WindowKind::TopLevel);
    Panel& p = startIdentified();
    windows().window("Setting410PanelFrm").Show();
    form<RTCFrm>().Show();
    p.checkpanelflage();
    EXPECT_EQ(flags().RTCFrmOpen, kFalse);
    EXPECT_EQ(flags().Setting410PanelFrmOpen, kTrue);
}

TEST_F(CommandsTest, checkFlageUnloadsInItsOrder) {
    Panel& p = startIdentified();
    // Registered after the start, so that they stand in for windows the program has as well.
    for (auto [name, flag] : {std::pair{"HelpFrm", &OpenFlags::HelpFrmOpen},
                              std::pair{"SonoquantFrm", &OpenFlags::SonoquantFrmOpen},
                              std::pair{"WelcomSetFrm", &OpenFlags::WelcomSetFrmOpen}})
        standIn(name, flag);
    for (const char* name : {"WelcomSetFrm", "HelpFrm", "SonoquantFrm"}) windows().window(name).Show();
    log->clear();
    p.CheckFlage();
    EXPECT_EQ(*log,
              (std::vector<std::string>{"SonoquantFrm unload", "HelpFrm unload", "WelcomSetFrm unload"}));
}

TEST_F(CommandsTest, eachCommandOpensItsWindowWithTheOthersClosed) {
    Panel& p = startIdentified();
    p.Toolbar1.click("Clear");
    EXPECT_EQ(flags().ClearMemoryFrmOpen, kTrue);
    p.Toolbar1.click("RTC");
    EXPECT_EQ(flags().ClearMemoryFrmOpen, kFalse);
    EXPECT_EQ(flags().RTCFrmOpen, kTrue);
    p.Toolbar1.click("Help");
    EXPECT_EQ(flags().RTCFrmOpen, kFalse);
    EXPECT_EQ(flags().HelpFrmOpen, kTrue);
    p.Toolbar1.click("Language");
    EXPECT_EQ(flags().HelpFrmOpen, kFalse);
    EXPECT_EQ(flags().LanguageFrmOpen, kTrue);
    p.Toolbar1.click("COMSET");
    EXPECT_EQ(flags().LanguageFrmOpen, kFalse);
    EXPECT_EQ(modalShown.back(), "ComPortSetFrm");
}

TEST_F(CommandsTest, openReadsTheModelLineOfADataFile) {
    Panel& p = startIdentified();
    const std::string path = sqtest::makeTempDir("open") + "/r.qvx";
    writeTextLines(path, {"VOK-LSR20", "Information", "Evaluator\tx"});
    dialogs->fileAnswers.push_back(path);
    p.Toolbar1.click("Open");
    EXPECT_EQ(shared().FileModel, "VOK-LSR20");
    EXPECT_TRUE(p.Timer1.enabled());
    p.Toolbar1.click("Open");  // cancelled: polling stays on
    EXPECT_TRUE(p.Timer1.enabled());
}

// Unlike the other commands, Open runs no closing rule: only a file window shown before makes way
// for the new one.
TEST_F(CommandsTest, openingADataFileClosesNoOtherWindowAndLeavesTheMemoryPaneShown) {
    Panel& p = startIdentified();
    const std::string path = sqtest::makeTempDir("open") + "/r.qvx";
    writeTextLines(path, {"VOK-LSR20", "Information", "Evaluator\tx"});
    form<DataListFrm>().Show();
    form<RTCFrm>().Show();
    p.ShowMemoryInfoPanel(true);
    for (int n = 0; n < 2; ++n) {
        dialogs->fileAnswers.push_back(path);
        p.Toolbar1.click("Open");
        EXPECT_EQ(flags().FileListFrmOpen, kTrue);
        EXPECT_EQ(flags().DataListFrmOpen, kTrue);
        EXPECT_EQ(flags().RTCFrmOpen, kTrue);
        EXPECT_EQ(flags().MemoryPanelVisible, kTrue);
    }
}

// The Open dialog starts where "save" puts data files, not in whatever folder the program was
// started from.
TEST_F(CommandsTest, openStartsInTheProgramFolder) {
    Panel& p = start();
    const size_t before = dialogs->fileRequests.size();
    p.Toolbar1.click("Open");  // cancelled
    ASSERT_EQ(dialogs->fileRequests.size(), before + 1);
    EXPECT_EQ(dialogs->fileRequests.back().initialDir, programFolder());
    EXPECT_EQ(dialogs->fileRequests.back().filter, "Data files(*.qvx)|*.qvx|All Files (*.*)|*.*|");
}

}  // namespace
