// The record list window: its load with and without a supported model, the summary grid it builds,
// the item selection with its file, the toolbar keys, the quantity panel and the end of a download
// when it unloads.
#include "records/data_list_frm.h"

#include <gtest/gtest.h>

#include "link/link_fixture.h"
#include "platform/program_folder.h"
#include "platform/text_file.h"
#include "platform/ui/wheel_hook.h"
#include "records/header_bin.h"
#include "shared/download_state.h"
#include "shared/record_state.h"
#include "texts/language_texts.h"

namespace {

using sq::DataListFrm;

std::string selectionLine(std::initializer_list<std::pair<int, int>> states) {
    sq::ItemStates s{};
    for (auto [n, v] : states) s[n] = v;
    return sq::headerBinLine(s);
}

class DataListFrmTest : public sqtest::MemoryLinkTest {
protected:
    void SetUp() override {
        MemoryLinkTest::SetUp();
        sq::windows().reset();
        sq::resetRecordState();
        sq::downloadState() = {};
        sq::LoadDefaultTexts();
        sq::ensureProgramFolder();
        std::remove(sq::headerBinPath().c_str());
        sq::shared().DeviceModel = "VOK-LSR20";
        sq::ResetSummaryTexts(sq::recordSummary(), sq::PageChannel());
    }
    void TearDown() override {
        sq::windows().reset();
        sq::LoadDefaultTexts();
        MemoryLinkTest::TearDown();
    }
    static DataListFrm& frm() { return sq::form<DataListFrm>(); }
    static std::vector<std::string> row(const sq::FlexGrid& g, int r) {
        std::vector<std::string> cells;
        for (int c = 0; c < g.Cols(); ++c) cells.push_back(g.TextMatrix(r, c));
        return cells;
    }
};

TEST_F(DataListFrmTest, LoadWithASupportedModelShowsTheResetSummaryAndCreatesTheSelectionFile) {
    sq::recordSummary().RecTotalPoint = "35";  // kept from an earlier download
    DataListFrm& f = frm();
    EXPECT_EQ(sq::flags().DataListFrmOpen, sq::kTrue);
    EXPECT_EQ(f.windowState(), sq::WindowState::Maximized);
    EXPECT_EQ(f.QVX410Grid.Rows(), 11);
    EXPECT_EQ(row(f.QVX410Grid, 0), (std::vector<std::string>{"", "D1", "D2", "D3"}));
    EXPECT_EQ(row(f.QVX410Grid, 3), (std::vector<std::string>{"Threshold", "0 dB", "0 dB", "0 dB"}));
    EXPECT_EQ(row(f.QVX410Grid, 7), (std::vector<std::string>{"Interval Time", "0 Min", "0 Min", "0 Min"}));
    EXPECT_EQ(row(f.QVX410Grid, 8), (std::vector<std::string>{"Total Point", "35", "35", "35"}));
    EXPECT_EQ(row(f.QVX410PointGrid, 0),
              (std::vector<std::string>{"No.s", "Date/Time", "LAVG", "Leq", "LCPK", "LZPK"}));
    EXPECT_EQ(f.QVX410PointGrid.Rows(), 1);
    EXPECT_EQ(f.GridUserInfo.TextMatrix(4, 0), "Observations");
    EXPECT_EQ(f.GridUserInfo.ColWidth(1), 24390);
    EXPECT_EQ(f.Toolbar1.buttonToolTip(3), "Export PDF...");
    EXPECT_EQ(f.Check1[1]->Caption(), "Exceedance Stop Time");
    EXPECT_EQ(f.Check1[102]->Caption(), "Ki");
    EXPECT_FALSE(f.Check1[94]->Enabled());
    EXPECT_TRUE(f.Check1[93]->Enabled());
    EXPECT_EQ(sq::readFileBytes(sq::headerBinPath()), selectionLine({}) + "\r\n");
}

TEST_F(DataListFrmTest, LoadWithoutASupportedModelPreparesNoGrid) {
    sq::shared().DeviceModel = "XYZ";
    DataListFrm& f = frm();
    EXPECT_NE(f.windowState(), sq::WindowState::Maximized);
    EXPECT_EQ(f.QVX410Grid.Rows(), 121);
    EXPECT_EQ(f.QVX410Grid.TextMatrix(3, 0), "Total Point");  // the text procedure's row order
    EXPECT_FALSE(sq::fileExists(sq::headerBinPath()));
    EXPECT_TRUE(sq::isWheelHooked(f));
}

TEST_F(DataListFrmTest, TickedItemsBecomeRowsInItemOrderAndAreSaved) {
    sq::RecordSummaryTexts& r = sq::recordSummary();
    r.RecDose = {"50.0", "25.0", "12.5"};
    r.RecMax[0] = "98.7";
    r.RecMaxTime[0] = "1:02:05";
    DataListFrm& f = frm();
    f.ItemBtn_Click();
    EXPECT_TRUE(f.ItemSSP.Visible());
    f.Check1[27]->click();
    f.Check1[2]->click();
    f.SetBtn.click();
    EXPECT_FALSE(f.ItemSSP.Visible());
    ASSERT_EQ(f.QVX410Grid.Rows(), 13);
    EXPECT_EQ(row(f.QVX410Grid, 11), (std::vector<std::string>{"Dose", "50.0 %", "25.0 %", "12.5 %"}));
    EXPECT_EQ(row(f.QVX410Grid, 12), (std::vector<std::string>{"LAFMax", "98.7 dB  ( 1:02:05 )", "", ""}));
    EXPECT_EQ(sq::readFileBytes(sq::headerBinPath()), selectionLine({{2, 1}, {27, 1}}) + "\r\n");

    // A header's rebuild cuts the item rows; GridInfo brings them back.
    f.UpdateQVX410Grid();
    EXPECT_EQ(f.QVX410Grid.Rows(), 11);
    f.GridInfo();
    EXPECT_EQ(f.QVX410Grid.Rows(), 13);
}

// The boxes take their captions from the language, and a ticked box finds its row by its caption.
TEST_F(DataListFrmTest, ItemRowsFollowTheLanguageOfTheCaptions) {
    sq::texts().TxtDose = "Dosis";
    sq::texts().TxtDBUnit = "dBA";
    sq::texts().TxtLEPd = sq::texts().TxtTi;  // two items with one text
    sq::recordSummary().RecTi = {"1.0", "2.0", "3.0"};
    DataListFrm& f = frm();
    EXPECT_EQ(f.Check1[2]->Caption(), "Dosis");
    f.Check1[2]->click();
    f.Check1[7]->click();
    f.SetBtn_Click();
    ASSERT_EQ(f.QVX410Grid.Rows(), 13);
    EXPECT_EQ(row(f.QVX410Grid, 11), (std::vector<std::string>{"Dosis", "0 %", "0 %", "0 %"}));
    EXPECT_EQ(row(f.QVX410Grid, 12), (std::vector<std::string>{"Ti", "1.0 dBA", "2.0 dBA", "3.0 dBA"}));
    EXPECT_EQ(row(f.QVX410Grid, 3)[1], "0 dBA");
}

TEST_F(DataListFrmTest, SelectionFileTicksGreysAndTicksDisabledBoxes) {
    ASSERT_TRUE(sq::writeTextLines(sq::headerBinPath(),
                                   {selectionLine({{5, 2}, {94, 1}, {95, 1}, {100, 1}, {101, 1}})}));
    sq::recordSummary().RecTi = {"1.0", "2.0", "3.0"};
    DataListFrm& f = frm();
    EXPECT_EQ(f.Check1[5]->Value(), 2);
    EXPECT_EQ(f.Check1[94]->Value(), 1);
    ASSERT_EQ(f.QVX410Grid.Rows(), 15);
    EXPECT_EQ(f.QVX410Grid.TextMatrix(11, 0), "LAEQ95");
    EXPECT_EQ(f.QVX410Grid.TextMatrix(12, 0), "LAIEQ");
    EXPECT_EQ(row(f.QVX410Grid, 13), (std::vector<std::string>{"Ti", "1.0 dB", "2.0 dB", "3.0 dB"}));
    EXPECT_EQ(f.QVX410Grid.TextMatrix(14, 0), "HML");

    f.Check1[94]->click();  // disabled: the user cannot untick it
    f.AllSelBtn_Click();    // ticks 0 to 93
    EXPECT_EQ(f.Check1[5]->Value(), 1);
    EXPECT_EQ(f.Check1[93]->Value(), 1);
    f.AllSelBtn_Click();  // unticks them again
    EXPECT_EQ(f.Check1[0]->Value(), 0);
    EXPECT_EQ(f.Check1[94]->Value(), 1);
    EXPECT_EQ(f.Check1[101]->Value(), 1);
    EXPECT_EQ(f.QVX410Grid.Rows(), 15);  // rows change only with Set
    f.SetBtn_Click();
    EXPECT_EQ(f.QVX410Grid.Rows(), 15);
}

TEST_F(DataListFrmTest, ToolbarKeysAreComparedWithTheirCase) {
    DataListFrm& f = frm();
    f.Toolbar1_ButtonClick("plot");
    f.Toolbar1_ButtonClick("LN");
    EXPECT_FALSE(f.SSpSelectItem.Visible());
    f.Toolbar1_ButtonClick("Ln");
    EXPECT_TRUE(f.SSpSelectItem.Visible());
    EXPECT_TRUE(f.Option1[0].Value());
    EXPECT_EQ(f.HistogramMode, 1);
    f.Toolbar1.setEnabled(false);
    f.BtnExit_Click();
    f.Toolbar1.click("Plot");  // a disabled toolbar ignores clicks
    EXPECT_FALSE(f.SSpSelectItem.Visible());
}

TEST_F(DataListFrmTest, QuantityOkPicksTheColumnAndAsksForTheCalibration) {
    openLink();
    DataListFrm& f = frm();
    f.Toolbar1_ButtonClick("Plot");
    f.Option1[2].click();
    sent();
    f.BtnSelectOK_Click();
    EXPECT_EQ(sq::SelectedColumn(), 4);
    EXPECT_FALSE(f.SSpResolution.Visible());
    EXPECT_EQ(sent(), (sqtest::Bytes{0x02, 0x00, 0x01, 0x16, 0x17, 0x02, 0x00, 0x01, 0x13, 0x12}));

    f.Toolbar1_ButtonClick("Ln");
    f.BtnSelectOK_Click();
    EXPECT_EQ(sq::SelectedColumn(), 2);
    EXPECT_TRUE(f.SSpResolution.Visible());
    EXPECT_TRUE(f.SSpSelectItem.Visible());
    f.BtnExit_Click();
    EXPECT_FALSE(f.SSpResolution.Visible());
    EXPECT_FALSE(f.SSpSelectItem.Visible());
}

TEST_F(DataListFrmTest, UnloadEndsARunningDownloadAndResumesPolling) {
    sq::Timer timer1, timer2;
    sq::registerPollTimers(&timer1, &timer2);
    DataListFrm& f = frm();
    sq::downloadState().phase = sq::DownloadPhase::ReceivingBlocks;
    sq::flags().RecordRequestPending = sq::kTrue;
    sq::DisablePollTimers();
    sq::windows().unload(DataListFrm::kName);
    EXPECT_EQ(sq::flags().DataListFrmOpen, sq::kFalse);
    EXPECT_FALSE(sq::isWheelHooked(f));
    EXPECT_EQ(sq::flags().RecordRequestPending, sq::kFalse);
    EXPECT_EQ(sq::downloadState().phase, sq::DownloadPhase::Idle);
    EXPECT_TRUE(timer1.enabled());
    sq::registerPollTimers(nullptr, nullptr);
}

TEST_F(DataListFrmTest, ResizeAndSplitterFollowTheLayoutRules) {
    DataListFrm& f = frm();
    f.setWindowState(sq::WindowState::Normal);
    f.Move(0, 0, 15000, 9000);
    f.layoutControls();
    const float splitter = f.layout().splitter.left;
    // 6430 twips from the frame's right edge, or as far further left as the point grid's columns need.
    const float columns = static_cast<float>(f.QVX410PointGrid.WidthForAllCols());
    EXPECT_GT(columns, 6210);
    EXPECT_EQ(splitter, f.layout().container.width - 80 - columns - 140);
    EXPECT_EQ(f.layout().pointGrid.width, columns);
    f.PicSplit_MouseMove(-100000);  // no drag without a press
    EXPECT_EQ(f.layout().splitter.left, splitter);
    f.PicSplit_MouseDown();
    f.PicSplit_MouseMove(-100000);
    f.PicSplit_MouseUp();
    EXPECT_EQ(f.layout().splitter.left, 2200);
    EXPECT_NEAR(f.PicSplit.Left(), 2200, 15);
    f.layoutControls();
    EXPECT_EQ(f.layout().splitter.left, splitter);
}

}  // namespace
