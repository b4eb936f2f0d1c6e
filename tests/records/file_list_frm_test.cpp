// The file list window: its layout in twips, its load with and without a supported model, the
// quantity panel, and toolbar keys compared exactly.
#include "records/file_list_frm.h"

#include <gtest/gtest.h>

#include "mainwindow/panel_fixture.h"
#include "platform/ui/wheel_hook.h"
#include "records/data_list_frm.h"

namespace sq {
namespace {

void expectRect(const TwipsRect& r, float left, float top, float width, float height) {
    EXPECT_FLOAT_EQ(r.left, left);
    EXPECT_FLOAT_EQ(r.top, top);
    EXPECT_FLOAT_EQ(r.width, width);
    EXPECT_FLOAT_EQ(r.height, height);
}

TEST(FileListLayoutTest, resizePutsTheSplitterInTheMiddleAndKeepsTheMinimumSize) {
    RecordWindowLayout l = fileListResizeLayout(15000, 9000);
    expectRect(l.container, 0, 360, 14900, 8540);
    expectRect(l.userInfo, 0, 8540 - 1650 - 100, 14900, 1650);
    expectRect(l.splitter, 7450, 90, 100, 8540 - 360 - 1510);
    expectRect(l.pointGrid, 7530, 80, 14900 - 7530 - 100, 8540 - 80 - 1750);
    expectRect(l.summaryGrid, 0, 80, 14900 - 7270 - 100, 8540 - 80 - 1750);

    const RecordWindowLayout small = fileListResizeLayout(100, 100);
    EXPECT_FLOAT_EQ(small.windowWidth, 6345);
    EXPECT_FLOAT_EQ(small.windowHeight, 5970);
    EXPECT_FLOAT_EQ(small.container.width, 6245);

    // A client area shorter than the outer height less 100: the panel ends at its foot, the user
    // information stays at the panel's foot and the grids above are shorter.
    const RecordWindowLayout clipped = fileListResizeLayout(15000, 9000, 8000);
    expectRect(clipped.container, 0, 360, 14900, 7640);
    expectRect(clipped.userInfo, 0, 7640 - 1650 - 100, 14900, 1650);
    expectRect(clipped.splitter, 7450, 90, 100, 7640 - 360 - 1510);
    expectRect(clipped.pointGrid, 7530, 80, 14900 - 7530 - 100, 7640 - 80 - 1750);
    expectRect(clipped.summaryGrid, 0, 80, 14900 - 7270 - 100, 7640 - 80 - 1750);
    EXPECT_FLOAT_EQ(fileListResizeLayout(15000, 9000, 20000).container.height, 8540);

    // User information whose five rows need more than 1650: the grid takes it from the grids above.
    const RecordWindowLayout tall = fileListResizeLayout(15000, 9000, 20000, 1800);
    expectRect(tall.userInfo, 0, 8540 - 1800 - 100, 14900, 1800);
    expectRect(tall.splitter, 7450, 90, 100, 8540 - 360 - 1660);
    expectRect(tall.pointGrid, 7530, 80, 14900 - 7530 - 100, 8540 - 80 - 1900);
    expectRect(tall.summaryGrid, 0, 80, 14900 - 7270 - 100, 8540 - 80 - 1900);
    EXPECT_FLOAT_EQ(fileListResizeLayout(15000, 9000, 20000, 1200).userInfo.height, 1650);
}

TEST(FileListLayoutTest, theSplitterDragStopsAtItsLimitsAndLeavesASixtyTwipMargin) {
    RecordWindowLayout l = fileListResizeLayout(15000, 9000);
    fileListSplitterDrag(l, -100000);
    EXPECT_FLOAT_EQ(l.splitter.left, 2200);
    fileListSplitterDrag(l, 100000);
    EXPECT_FLOAT_EQ(l.splitter.left, 15000 - 1000);
    // Back to where a resize puts it: the point grid is 40 twips wider after a drag.
    const RecordWindowLayout resized = fileListResizeLayout(15000, 9000);
    fileListSplitterDrag(l, resized.splitter.left - l.splitter.left);
    EXPECT_FLOAT_EQ(l.splitter.left, resized.splitter.left);
    EXPECT_FLOAT_EQ(l.pointGrid.left, resized.pointGrid.left);
    EXPECT_FLOAT_EQ(l.pointGrid.width, resized.pointGrid.width + 40);
    EXPECT_FLOAT_EQ(l.summaryGrid.width, resized.summaryGrid.width - 40);
    EXPECT_FLOAT_EQ(l.pointGrid.top, resized.pointGrid.top);
    EXPECT_FLOAT_EQ(l.pointGrid.height, resized.pointGrid.height);
}

class FileListFrmTest : public sqtest::PanelTest {
protected:
    // The program without an instrument (port 0) or with the simulated one on COM1.
    void begin(int port) {
        startPort = port;
        start();
        if (port == 0) return;
        ASSERT_TRUE(waitForSupportedModel());
    }
    static FileListFrm& frm() { return form<FileListFrm>(); }
};

TEST_F(FileListFrmTest, aSupportedFileModelGivesTextsColumnsAndLayout) {
    begin(0);
    shared().FileModel = "RAV 820";
    FileListFrm& f = frm();
    f.Show();
    EXPECT_EQ(flags().FileListFrmOpen, kTrue);
    EXPECT_EQ(f.Caption(), "FileList");
    EXPECT_EQ(f.windowState(), WindowState::Maximized);
    EXPECT_TRUE(f.SSPQVX410.Visible());
    EXPECT_FALSE(f.SSpSelectItem.Visible());
    EXPECT_FALSE(f.SSpResolution.Visible());
    EXPECT_EQ(f.Toolbar1.buttonToolTip(1), "Graphic Plot");
    EXPECT_EQ(f.Toolbar1.buttonToolTip(3), "Print");
    EXPECT_EQ(f.Option1[1].Caption(), "Leq");
    EXPECT_EQ(f.SSfResolution.Caption(), "Resolution");
    EXPECT_EQ(f.GridRecord.TextMatrix(0, 0), "No.s");
    EXPECT_EQ(f.GridRecord.TextMatrix(0, 5), "LZPK");
    EXPECT_EQ(f.FileUserInfoGrid.Rows(), 0);
    EXPECT_EQ(f.FileUserInfoGrid.ColWidth(1), 24390);
    EXPECT_NEAR(f.GridHeader.ColWidth(2), f.textWidthTwips(std::string(21, '0')), 15);
    EXPECT_NEAR(f.GridRecord.ColWidth(1), f.textWidthTwips(std::string(19, '0')), 15);
    EXPECT_TRUE(isWheelHooked(f));
    const RecordWindowLayout expected = fileListResizeLayout(
        static_cast<float>(f.Width()), static_cast<float>(f.Height()), static_cast<float>(f.ScaleHeight()));
    EXPECT_NEAR(f.PicSplit.Left(), expected.splitter.left, 15);
    EXPECT_NEAR(f.GridRecord.Width(), expected.pointGrid.width, 15);
    // The user information, scroll bar included, ends inside the client area.
    EXPECT_LE(f.SSPQVX410.Top() + f.FileUserInfoGrid.Top() + f.FileUserInfoGrid.Height(), f.ScaleHeight());

    f.PicSplit_MouseDown();
    f.PicSplit_MouseMove(-100000);
    f.PicSplit_MouseUp();
    f.PicSplit_MouseMove(5000);  // no drag: nothing moves
    EXPECT_NEAR(f.PicSplit.Left(), 2200, 15);
    f.Unload();
    EXPECT_EQ(flags().FileListFrmOpen, kFalse);
    EXPECT_FALSE(isWheelHooked(f));
}

TEST_F(FileListFrmTest, withoutASupportedModelTheWindowGetsNoSetupAndNoLayout) {
    begin(0);
    shared().FileModel = "ABC 1";
    FileListFrm& f = frm();
    f.Show();
    EXPECT_EQ(f.windowState(), WindowState::Maximized);
    EXPECT_FALSE(f.SSPQVX410.Visible());
    EXPECT_EQ(f.FileUserInfoGrid.Rows(), 1);
    EXPECT_NE(f.Toolbar1.buttonToolTip(1), "Graphic Plot");
    EXPECT_EQ(f.GridRecord.TextMatrix(0, 0), "");
    EXPECT_EQ(f.layout().container.width, 0);
    EXPECT_TRUE(isWheelHooked(f));
}

TEST_F(FileListFrmTest, lnThenOkShowsTheResolutionPanelAndAsksTheInstrumentNothing) {
    begin(1);
    DisablePollTimers();  // so that only the window could ask anything
    wait(1);
    sim->clearLog();
    FileListFrm& f = frm();
    f.Show();
    SelectedColumn() = 2;
    f.Toolbar1.click("Ln");
    EXPECT_TRUE(f.SSpSelectItem.Visible());
    EXPECT_TRUE(f.Option1[0].Value());
    f.Option1[3].click();
    f.BtnSelectOK.click();
    EXPECT_EQ(SelectedColumn(), 5);
    EXPECT_TRUE(f.SSpResolution.Visible());
    EXPECT_TRUE(f.SSpSelectItem.Visible());
    f.Btn01dB.click();
    f.Btn1dB.click();

    f.Toolbar1.click("Plot");
    EXPECT_EQ(f.HistogramMode, 0);
    f.BtnSelectOK.click();
    EXPECT_EQ(SelectedColumn(), 2);
    f.BtnExit.click();
    EXPECT_FALSE(f.SSpSelectItem.Visible());
    EXPECT_FALSE(f.SSpResolution.Visible());
    wait(1);
    EXPECT_TRUE(sim->requests().empty());

    for (const char* key : {"plot", "LN", "Ln ", "print", "Print ", "save"}) f.Toolbar1_ButtonClick(key);
    EXPECT_FALSE(f.SSpSelectItem.Visible());
    EXPECT_TRUE(dialogs->records.empty());
}

// A user who learnt one record window finds each resolution at the same place in the other: the finer
// one on top, first in the tab order too.
TEST_F(FileListFrmTest, bothRecordWindowsShowTheTenthDecibelResolutionAboveTheWholeDecibel) {
    begin(0);
    shared().FileModel = "RAV 820";
    FileListFrm& files = frm();
    DataListFrm& record = form<DataListFrm>();
    const std::pair<const char*, std::pair<CommandButton*, CommandButton*>> windows[] = {
        {"record list", {&record.Btn01dB, &record.Btn1dB}},
        {"file list", {&files.Btn01dB, &files.Btn1dB}},
    };
    for (const auto& [name, buttons] : windows) {
        SCOPED_TRACE(name);
        const auto& [tenth, whole] = buttons;
        EXPECT_EQ(tenth->Caption(), "0.1 dB");
        EXPECT_EQ(whole->Caption(), "1 dB");
        EXPECT_LT(tenth->Top(), whole->Top());
        EXPECT_EQ(tenth->Left(), whole->Left());
        EXPECT_EQ(tenth->widget()->nextInFocusChain(), whole->widget());
    }
}

}  // namespace
}  // namespace sq
