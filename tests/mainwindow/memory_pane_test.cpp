#include <QApplication>
#include <QWheelEvent>

#include "link/requests.h"
#include "mainwindow/layout.h"
#include "mainwindow/panel_fixture.h"
#include "platform/ui/wheel_hook.h"
#include "records/data_list_frm.h"

using namespace sq;
using sqtest::PanelTest;

namespace {

class MemoryPaneTest : public PanelTest {
protected:
    Panel& startWithRecords(int rows) {
        Panel& p = start();
        p.ShowMemoryInfoPanel(true);
        for (int r = 1; r <= rows; ++r)
            p.MemoryListGrid.AddItem(std::to_string(r) + "\t2022/03/30  14:05:09\t" + std::to_string(r + 11));
        sim->clearLog();
        return p;
    }
    void wheel(FlexGrid& grid, int delta) {
        QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid.widget(), &event);
    }
};

TEST_F(MemoryPaneTest, showingEmptiesTheListSizesColumnsAndKeepsTheSizes) {
    Panel& p = startWithRecords(3);
    p.TotalSizeNumLbl.setCaption("256");
    p.ShowMemoryInfoPanel(true);
    EXPECT_TRUE(p.SSPMemory.Visible());
    EXPECT_TRUE(p.PicMemSplit.Visible());
    EXPECT_EQ(flags().MemoryPanelVisible, kTrue);
    EXPECT_EQ(p.MemoryListGrid.Rows(), 1);
    EXPECT_EQ(p.MemoryListGrid.TextMatrix(0, 1), "Date/Time");
    EXPECT_EQ(p.TotalSizeNumLbl.Caption(), "256");
    const auto widths = memoryColumnWidths(static_cast<int>(p.SSPMemory.Width()));
    for (int col = 0; col < 3; ++col) EXPECT_NEAR(p.MemoryListGrid.ColWidth(col), widths[col], 15) << col;
    p.BtnMemClose.click();
    EXPECT_FALSE(p.SSPMemory.Visible());
    EXPECT_EQ(flags().MemoryPanelVisible, kFalse);
}

TEST_F(MemoryPaneTest, clickOnARecordAsksForItsHeaderAndShowsTheRecordWindowWithoutToolbar) {
    Panel& p = startWithRecords(3);
    p.MemoryListGrid.clickCell(1, 1);
    EXPECT_EQ(flags().DataListFrmOpen, kTrue);
    EXPECT_FALSE(form<DataListFrm>().Toolbar1.Enabled());
    EXPECT_FALSE(p.Timer1.enabled());
    EXPECT_EQ(shared().SelectedRecordTime, "20220330--140509");
    EXPECT_EQ(downloadState().phase, DownloadPhase::AwaitingHeader);
    wait(0.01);
    const auto headers = sim->requestsWithCode(CmdReadRecordHeader);
    ASSERT_EQ(headers.size(), 1u);
    EXPECT_EQ(headers[0].raw, (metersim::Bytes{0x02, 0x00, 0x02, 0x0E, 0x0C, 0x00}));
}

TEST_F(MemoryPaneTest, clickWhileErasingRefusesAndSendsNothing) {
    Panel& p = startWithRecords(2);
    flags().MemoryErasing = kTrue;
    p.MemoryListGrid.clickCell(2, 1);
    wait(0.01);
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Memory Erasing ..."}));
    EXPECT_EQ(dialogs->messages()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(sent(CmdReadRecordHeader), 0);
    EXPECT_EQ(flags().DataListFrmOpen, kFalse);
    EXPECT_TRUE(p.Timer1.enabled());
}

TEST_F(MemoryPaneTest, clickOnTheHeaderRowDoesNothing) {
    Panel& p = startWithRecords(2);
    p.MemoryListGrid.clickCell(0, 1);
    wait(0.01);
    EXPECT_EQ(sent(CmdReadRecordHeader), 0);
    EXPECT_EQ(flags().DataListFrmOpen, kFalse);
    EXPECT_TRUE(p.Timer1.enabled());
}

TEST_F(MemoryPaneTest, splitterDragsAreClamped) {
    Panel& p = startWithRecords(0);
    p.PicMemSplit_MouseMove(-100000);  // no button pressed: nothing
    const double top = p.PicMemSplit.Top();
    p.PicMemSplit_MouseMove(-100000);
    EXPECT_EQ(p.PicMemSplit.Top(), top);
    p.PicMemSplit_MouseDown();
    p.PicMemSplit_MouseMove(-100000);
    EXPECT_NEAR(p.PicMemSplit.Top(), 1800, 15);
    p.PicMemSplit_MouseMove(100000);
    EXPECT_NEAR(p.PicMemSplit.Top(), p.Height() - 5000, 15);
    p.PicMemSplit_MouseUp();
    p.PicPanelSplit_MouseDown();
    p.PicPanelSplit_MouseMove(-100000);
    EXPECT_NEAR(p.TreeViewBar.Width(), 1800, 15);
    p.PicPanelSplit_MouseMove(100000);
    EXPECT_NEAR(p.TreeViewBar.Width(), p.Width() - 9000, 15);
    p.PicPanelSplit_MouseUp();
}

TEST_F(MemoryPaneTest, wheelMovesOnlyTheFocusedGridOneRowAStep) {
    Panel& p = startWithRecords(60);
    FlexGrid& grid = p.MemoryListGrid;
    grid.flush();
    wheel(grid, 120);  // no focused grid: nothing
    EXPECT_EQ(grid.TopRow(), 1);
    grid.onGotFocus();
    EXPECT_EQ(WheelGrid(), &grid);
    wheel(grid, 120);
    EXPECT_EQ(grid.TopRow(), 1) << "at the top a step up leaves it";
    grid.setTopRow(5);
    wheel(grid, 120);
    EXPECT_EQ(grid.TopRow(), 4);
    wheel(grid, -120);
    wheel(grid, -120);
    EXPECT_EQ(grid.TopRow(), 6);
    wheel(grid, -60);
    EXPECT_EQ(grid.TopRow(), 6) << "half a step waits for the other half";
    wheel(grid, -60);
    EXPECT_EQ(grid.TopRow(), 7);
    grid.onLostFocus();
    wheel(grid, -120);
    EXPECT_EQ(grid.TopRow(), 7);
}

}  // namespace
