// The record list window maximised in the main window at the main window's minimum size (and at its
// own minimum):
// the point grid's titles, the item selection panel's captions, and the panels laid over the grids.
#include <QHeaderView>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>

#include "mainwindow/panel_fixture.h"
#include "records/data_list_frm.h"
#include "records/file_list_frm.h"
#include "records/record_window_fixture.h"
#include "support/text_fit.h"
#include "texts/language_files.h"

using namespace sq;
using sqtest::PanelTest;

namespace {

class DataListFitTest : public PanelTest {
protected:
    DataListFrm& openList(int points) {
        Panel& p = startAtMinimumSize();
        EXPECT_TRUE(waitForSupportedModel(3));
        EXPECT_EQ(p.Width(), 13665);
        DataListFrm& f = form<DataListFrm>();
        f.Show();
        for (int n = 1; n <= points; ++n)
            f.QVX410PointGrid.AddItem(std::to_string(n) +
                                      "\t2022/12/28 23:58:59\t100.0 dB\t100.0 dB\t140.0 dB\t140.0 dB");
        f.QVX410PointGrid.flush();
        QApplication::processEvents();
        return f;
    }
};

TEST_F(DataListFitTest, pointGridShowsItsSixTitlesWithinItsWidth) {
    DataListFrm& f = openList(200);
    EXPECT_EQ(f.windowState(), WindowState::Maximized);
    const FlexGrid& grid = f.QVX410PointGrid;
    auto& view = *static_cast<QTableView*>(grid.widget());
    ASSERT_TRUE(view.verticalScrollBar()->isVisible()) << "enough points to scroll";
    EXPECT_EQ(grid.TextMatrix(0, 5), "LZPK");
    EXPECT_LE(sqtest::cellWidthNeeded(view, grid.TextMatrix(0, 0)), view.verticalHeader()->width());
    EXPECT_LE(sqtest::cellWidthNeeded(view, "200"), view.verticalHeader()->width());
    const QHeaderView& titles = *view.horizontalHeader();
    for (int col = 1; col < 6; ++col) {
        EXPECT_LE(sqtest::headerWidthNeeded(titles, grid.TextMatrix(0, col)), view.columnWidth(col - 1))
            << grid.TextMatrix(0, col);
        EXPECT_LE(sqtest::cellWidthNeeded(view, grid.TextMatrix(200, col)), view.columnWidth(col - 1));
    }
    EXPECT_LE(view.columnViewportPosition(4) + view.columnWidth(4), view.viewport()->width())
        << "LZPK stands wholly inside the grid";
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
}

// The summary is narrower than its columns here; it opens at its first column, D1 in view, and at its
// first row.
TEST_F(DataListFitTest, summaryGridOpensShowingItsFirstColumn) {
    DataListFrm& f = openList(30);
    const FlexGrid& grid = f.QVX410Grid;
    auto& view = *static_cast<QTableView*>(grid.widget());
    ASSERT_GT(view.horizontalScrollBar()->maximum(), 0) << "the columns need more room than the grid has";
    EXPECT_EQ(grid.TextMatrix(0, 1), "D1");
    EXPECT_EQ(view.horizontalScrollBar()->value(), 0);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
}

// At the main window's minimum the boxes need more room than the window has: the panel keeps within the
// window and scrolls sideways. At the window's minimum it scrolls further.
TEST_F(DataListFitTest, itemPanelShowsEveryCaptionWholeAndStaysInsideTheWindow) {
    DataListFrm& f = openList(0);
    for (bool minimum : {false, true}) {
        SCOPED_TRACE(minimum ? "minimum size" : "maximised");
        if (minimum) {
            f.setWindowState(WindowState::Normal);
            f.Move(0, 0, 3000, 3000);
        }
        f.ItemBtn_Click();
        QApplication::processEvents();
        QWidget* panel = f.ItemSSP.widget();
        ASSERT_TRUE(panel->isVisible());
        EXPECT_LE(panel->mapTo(f.surface(), QPoint(panel->width(), 0)).x(), f.surface()->width())
            << "within the window's client area";
        for (int n = 0; n < 103; ++n) {
            QWidget* box = f.Check1[static_cast<size_t>(n)]->widget();
            EXPECT_TRUE(sqtest::showsWhole(*box)) << f.Check1[static_cast<size_t>(n)]->Caption();
            if (n + 11 < 103) {
                EXPECT_LT(box->geometry().right(), f.Check1[static_cast<size_t>(n + 11)]->widget()->x()) << n;
            }
        }
        EXPECT_EQ(f.Check1[0]->Caption(), "ExceedanceTime");
        EXPECT_TRUE(sqtest::showsWhole(*f.SetBtn.widget()));
        EXPECT_TRUE(sqtest::showsWhole(*f.AllSelBtn.widget()));
        auto* scroll = panel->findChild<QScrollArea*>();
        ASSERT_NE(scroll, nullptr);
        EXPECT_GE(scroll->viewport()->width() + scroll->horizontalScrollBar()->maximum(),
                  scroll->widget()->width())
            << "the last column can be scrolled into view";
        EXPECT_GE(scroll->viewport()->height(), scroll->widget()->height()) << "every row in view";
        f.GridInfo();
    }
}

TEST_F(DataListFitTest, panelsOverTheGridsHideWhatIsUnderThem) {
    DataListFrm& f = openList(30);
    f.Toolbar1_ButtonClick("Ln");
    EXPECT_TRUE(sqtest::drawnOpaque(*f.SSpSelectItem.widget())) << "quantity panel";
    f.BtnSelectOK_Click();
    EXPECT_TRUE(sqtest::drawnOpaque(*f.SSpResolution.widget())) << "resolution panel";
    f.BtnExit_Click();
    f.ItemBtn_Click();
    EXPECT_TRUE(sqtest::drawnOpaque(*f.ItemSSP.widget())) << "item selection panel";
}

// Level cells as the instrument's records hold them: marked, the highest levels, a zero level, in
// the unit text of the language in force, in the program's font.
class LevelColumnFitTest : public sqtest::RecordWindowTest {
protected:
    void TearDown() override {
        LoadDefaultTexts();
        RecordWindowTest::TearDown();
    }
    static void expectLevelsWhole(FlexGrid& grid, const std::string& unit) {
        for (const char* level : {"*107.5", "*140.0", "*--", "100.0", "--"}) {
            const std::string cell = level + (" " + unit);
            grid.AddItem("1\t2022/12/28 23:58:59\t" + cell + "\t" + cell + "\t" + cell + "\t" + cell);
        }
        grid.flush();
        const auto& view = *static_cast<const QTableView*>(grid.widget());
        for (int r = 1; r < grid.Rows(); ++r)
            for (int col = 2; col < 6; ++col)
                EXPECT_LE(sqtest::cellWidthNeeded(view, grid.TextMatrix(r, col)), view.columnWidth(col - 1))
                    << grid.TextMatrix(r, col) << " in column " << col;
    }
};

TEST_F(LevelColumnFitTest, everyLevelShowsWholeInBothRecordWindowsWhateverTheLanguagesUnit) {
    for (const std::string unit : {"dB", "dB(A)", "Dezibel"}) {
        SCOPED_TRACE(unit);
        applyLanguageLines({"dB\\" + unit}, texts());
        ASSERT_EQ(texts().TxtDBUnit, unit);
        expectLevelsWhole(form<DataListFrm>().QVX410PointGrid, unit);
        expectLevelsWhole(form<FileListFrm>().GridRecord, unit);
        windows().reset();
    }
}

}  // namespace
