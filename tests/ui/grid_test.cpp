// The flexible grid: rows from TAB-separated texts, row removal, the current cell and selection
// rules of title and label clicks, and the top row.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QHeaderView>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QWidget>

#include "platform/ui/flex_grid.h"
#include "platform/ui/grid_store.h"
#include "platform/vb_error.h"

namespace sq {
namespace {

std::vector<std::string> rowOf(const GridStore& store, int row) {
    std::vector<std::string> cells;
    for (int c = 0; c < store.cols(); ++c) cells.emplace_back(store.cell(row, c));
    return cells;
}

struct SplitCase {
    const char* name;
    const char* text;
    std::vector<std::string> cells;
};

class AddItemSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(AddItemSplit, piecesFillColumnsFromTheFirst) {
    GridStore store(1, 4);
    store.addItem(GetParam().text);
    ASSERT_EQ(store.rows(), 2);
    EXPECT_EQ(rowOf(store, 1), GetParam().cells);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AddItemSplit,
    ::testing::Values(SplitCase{"exact", "1\ta\tb\tc", {"1", "a", "b", "c"}},
                      SplitCase{"trailingTabAddsNoCell", "1\ta\tb\tc\t", {"1", "a", "b", "c"}},
                      SplitCase{"extraPiecesDropped", "1\ta\tb\tc\td\te", {"1", "a", "b", "c"}},
                      SplitCase{"missingCellsEmpty", "1\ta", {"1", "a", "", ""}},
                      SplitCase{"emptyPiecesKeepTheirPlace", "\t\tx", {"", "", "x", ""}},
                      SplitCase{"emptyText", "", {"", "", "", ""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GridStore, insertsAtAnIndexAndRejectsBadIndexes) {
    GridStore store(2, 2);
    store.addItem("a\tb", 1);
    EXPECT_EQ(rowOf(store, 1), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(store.rows(), 3);
    EXPECT_THROW(store.addItem("x", 4), VbError);
    EXPECT_THROW(store.removeRow(3), VbError);
    try {
        (void)store.cell(0, 2);
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), 381);
    }
}

TEST(GridStore, narrowingAndWideningColumnsKeepsTheRest) {
    GridStore store(0, 3);
    store.addItem("a\tb\tc");
    store.addItem("d\te\tf");
    store.setCols(2);
    store.setCols(3);
    EXPECT_EQ(rowOf(store, 1), (std::vector<std::string>{"d", "e", ""}));
}

// Texts are packed back to back; rewriting and removing many of them must never disturb the others,
// also when the store packs its texts again and when a text is longer than a chunk. A plain table
// of strings follows every step and must agree with the store at the end.
TEST(GridStore, rewritesRemovalsAndLongTextsKeepEveryOtherCell) {
    GridStore store(0, 3);
    std::vector<std::vector<std::string>> expected;
    for (int i = 0; i < 3000; ++i) {
        store.addItem(std::to_string(i) + "\tvalue " + std::to_string(i) + "\tz");
        expected.push_back({std::to_string(i), "value " + std::to_string(i), "z"});
    }
    const std::string longText(100000, 'x');
    store.setCell(5, 2, longText);
    expected[5][2] = longText;
    for (int round = 0; round < 40; ++round) {
        for (int i = 0; i < 3000; i += 3) {
            store.setCell(i, 1, "rewritten " + std::to_string(round));
            expected[static_cast<size_t>(i)][1] = "rewritten " + std::to_string(round);
        }
    }
    for (int i = 2999; i >= 0; i -= 7) {
        if (i == 5) continue;
        store.removeRow(i);
        expected.erase(expected.begin() + i);
    }
    store.setCell(4, 1, store.cell(4, 0));  // a text taken from the store itself
    expected[4][1] = expected[4][0];

    ASSERT_EQ(store.rows(), static_cast<int>(expected.size()));
    int mismatches = 0;
    for (int r = 0; r < store.rows(); ++r)
        for (int c = 0; c < 3; ++c)
            if (store.cell(r, c) != expected[static_cast<size_t>(r)][static_cast<size_t>(c)]) ++mismatches;
    EXPECT_EQ(mismatches, 0);
    EXPECT_TRUE(store.cell(4, 2) == longText);  // row 5 moved up when row 3 went
    EXPECT_LT(store.heapBytes(), 1000000u);     // the dead texts were packed away
}

class GridTest : public ::testing::Test {
protected:
    GridTest() : grid(&surface, 1, 6, 1, 1) {
        surface.resize(600, 300);
        grid.widget()->setGeometry(0, 0, 600, 300);
        const char* titles[] = {"No.s", "Date/Time", "LAVG", "Leq", "LCPK", "LZPK"};
        for (int c = 0; c < 6; ++c) grid.setTextMatrix(0, c, titles[c]);
    }
    void addPoints(int count) {
        for (int i = 1; i <= count; ++i)
            grid.AddItem(std::to_string(i) + "\t2022/03/30 10:00:00\t80.1\t81.2\t100.3\t110.4\t");
    }
    QTableView* view() { return static_cast<QTableView*>(grid.widget()); }

    QWidget surface;
    FlexGrid grid;
};

TEST_F(GridTest, appendedRowsAreReadableAtOnceAndReachTheViewInOneBatch) {
    addPoints(3);
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.TextMatrix(3, 0), "3");
    EXPECT_EQ(grid.TextMatrix(3, 5), "110.4");
    int batches = 0;
    QObject::connect(view()->model(), &QAbstractItemModel::rowsInserted, [&] { ++batches; });
    QCoreApplication::processEvents();
    EXPECT_EQ(batches, 1);
    EXPECT_EQ(view()->model()->rowCount(), 3);
    EXPECT_EQ(view()->model()->headerData(1, Qt::Horizontal).toString(), QString("LAVG"));
    EXPECT_EQ(view()->model()->headerData(1, Qt::Vertical).toString(), QString("2"));
}

TEST_F(GridTest, rowsOneKeepsOnlyTheTitleRow) {
    addPoints(5);
    grid.setRows(1);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.TextMatrix(0, 2), "LAVG");
    QCoreApplication::processEvents();
    EXPECT_EQ(view()->model()->rowCount(), 0);
    addPoints(1);
    EXPECT_EQ(grid.TextMatrix(1, 0), "1");
}

TEST_F(GridTest, rowsZeroThenAddedRowsThenOneFixedRow) {
    grid.setRows(0);
    EXPECT_EQ(grid.FixedRows(), 0);
    grid.AddItem("Title\tD1\tD2");
    grid.AddItem("Threshold\t80\t70");
    grid.setFixedRows(1);
    EXPECT_EQ(grid.Rows(), 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(view()->model()->rowCount(), 1);
    EXPECT_EQ(view()->model()->headerData(0, Qt::Horizontal).toString(), QString("D1"));
    EXPECT_THROW(grid.setFixedRows(3), VbError);
}

TEST_F(GridTest, removeItemDropsOneRowAndRefusesTheLastDataRow) {
    addPoints(3);
    grid.RemoveItem(2);
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(2, 0), "3");
    grid.RemoveItem(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(view()->model()->rowCount(), 1);
    EXPECT_THROW(grid.RemoveItem(1), VbError);
    EXPECT_THROW(grid.RemoveItem(5), VbError);
    EXPECT_EQ(grid.Rows(), 2);
}

TEST_F(GridTest, removeRowsTakesABlockInOneStepAndRefusesBadBlocksUnchanged) {
    addPoints(6);
    QCoreApplication::processEvents();
    addPoints(2);  // rows 7 and 8 not yet shown: the view learns of them and the removal together
    int removals = 0;
    QObject::connect(view()->model(), &QAbstractItemModel::rowsRemoved, [&] { ++removals; });
    grid.RemoveRows(2, 6);  // points 2 to 7
    EXPECT_EQ(removals, 1);
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(1, 0), "1");
    EXPECT_EQ(grid.TextMatrix(2, 0), "2");  // the last row moved up
    QCoreApplication::processEvents();
    EXPECT_EQ(view()->model()->rowCount(), 2);

    for (auto [first, count] : {std::pair{1, 2}, {0, 0}, {2, 2}, {-1, 1}, {3, 1}})
        EXPECT_THROW(grid.RemoveRows(first, count), VbError) << first << "+" << count;
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(2, 0), "2");
}

TEST_F(GridTest, titleClickSelectsTheColumnAndLabelClickTheRow) {
    addPoints(4);
    int clicks = 0;
    grid.onClick = [&] { ++clicks; };
    grid.clickCell(0, 3);
    EXPECT_EQ(std::vector<int>({grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}),
              std::vector<int>({1, 3, 4, 3}));
    grid.clickCell(2, 0);
    EXPECT_EQ(std::vector<int>({grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}),
              std::vector<int>({2, 1, 2, 5}));
    grid.clickCell(3, 2);
    grid.extendTo(1, 4);
    EXPECT_EQ(std::vector<int>({grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}),
              std::vector<int>({3, 2, 1, 4}));
    EXPECT_EQ(clicks, 3);
    // The view shows the same selection: rows 1..3 by columns 2..4 (view cells 0..2 x 1..3).
    QCoreApplication::processEvents();
    EXPECT_EQ(view()->selectionModel()->selectedIndexes().size(), 9);
}

TEST_F(GridTest, realHeaderPressSelectsLikeTheClassicGrid) {
    addPoints(4);
    surface.show();
    grid.flush();
    QCoreApplication::processEvents();
    QHeaderView* titles = view()->horizontalHeader();
    QPoint inSection(titles->sectionViewportPosition(1) + titles->sectionSize(1) / 2, titles->height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, inSection, titles->viewport()->mapToGlobal(inSection),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(titles->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, inSection, titles->viewport()->mapToGlobal(inSection),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(titles->viewport(), &release);
    EXPECT_EQ(std::vector<int>({grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}),
              std::vector<int>({1, 2, 4, 2}));
}

// Row labels cannot be resized: a press near a label's edge selects its row as well (Qt takes the
// edge for a resize grip), and a double click on a label is the grid's double click.
TEST_F(GridTest, aPressAnywhereOnARowLabelSelectsItsRowAndADoubleClickReachesTheHandler) {
    addPoints(4);
    surface.show();
    grid.flush();
    QCoreApplication::processEvents();
    QHeaderView* labels = view()->verticalHeader();
    int doubleClicks = 0;
    grid.onDblClick = [&] { ++doubleClicks; };
    for (int section : {1, 2}) {
        for (int y : {labels->sectionViewportPosition(section) + 1,
                      labels->sectionViewportPosition(section) + labels->sectionSize(section) - 2}) {
            grid.setRow(4);
            QTest::mouseClick(labels->viewport(), Qt::LeftButton, {}, QPoint(labels->width() / 2, y));
            EXPECT_EQ(std::vector<int>({grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}),
                      std::vector<int>({section + 1, 1, section + 1, 5}))
                << "y " << y;
        }
    }
    QTest::mouseDClick(labels->viewport(), Qt::LeftButton, {}, QPoint(labels->width() / 2, 2));
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(GridTest, settingRowOrColCollapsesTheSelection) {
    addPoints(4);
    grid.clickCell(0, 2);
    grid.setCol(grid.ColSel());
    grid.setRow(grid.RowSel());
    EXPECT_EQ(std::vector<int>({grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}),
              std::vector<int>({4, 2, 4, 2}));
    grid.setRowSel(1);
    EXPECT_EQ(grid.RowSel(), 1);
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_THROW(grid.setRow(5), VbError);
    EXPECT_THROW(grid.setColSel(6), VbError);
    grid.setText("x");
    EXPECT_EQ(grid.TextMatrix(4, 2), "x");
}

TEST_F(GridTest, topRowMovesByOneAndRefusesRowsOutsideTheData) {
    addPoints(200);
    EXPECT_EQ(grid.TopRow(), 1);
    grid.setTopRow(5);
    EXPECT_EQ(grid.TopRow(), 5);
    grid.setTopRow(grid.TopRow() - 1);
    EXPECT_EQ(grid.TopRow(), 4);
    grid.setTopRow(grid.TopRow() + 1);
    EXPECT_EQ(grid.TopRow(), 5);
    // Row 0 is the title row: the wheel's step up from the first data row is refused, nothing moves.
    grid.setTopRow(1);
    EXPECT_THROW(grid.setTopRow(0), VbError);
    EXPECT_THROW(grid.setTopRow(201), VbError);
    EXPECT_EQ(grid.TopRow(), 1);
    // Near the end the view stops where the last rows fit; TopRow reads where it stopped.
    grid.setTopRow(200);
    EXPECT_GT(grid.TopRow(), 150);
    EXPECT_LE(grid.TopRow(), 200);
}

TEST_F(GridTest, columnWidthsAlignmentAndCellGeometryInTwips) {
    addPoints(3);
    grid.setColWidth(2, 1500);
    EXPECT_NEAR(grid.ColWidth(2), 1500, 15);
    grid.setColWidth(0, 900);
    EXPECT_NEAR(grid.ColWidth(0), 900, 15);
    grid.setColWidthFromText(1, "00000000000000000000");
    grid.setColWidthFromText(3, "000000000");
    EXPECT_GT(grid.ColWidth(1), 2 * grid.ColWidth(3) - 300);
    grid.setColAlignment(2, FlexAlign::CenterCenter);
    QCoreApplication::processEvents();
    auto align =
        view()->model()->data(view()->model()->index(0, 1), Qt::TextAlignmentRole).value<Qt::Alignment>();
    EXPECT_EQ(align, Qt::AlignHCenter | Qt::AlignVCenter);

    grid.setRowHeight(300);
    grid.setRow(2);
    grid.setCol(2);
    EXPECT_NEAR(grid.CellHeight(), 300, 15);
    EXPECT_NEAR(grid.CellWidth(), 1500, 15);
    grid.setRow(3);
    double below = grid.CellTop();
    grid.setRow(2);
    EXPECT_NEAR(below - grid.CellTop(), 300, 15);
    EXPECT_GT(grid.CellLeft(), 900);
}

TEST_F(GridTest, backspaceReachesTheKeyPressHandlerAndArrowsMoveTheCurrentCell) {
    addPoints(3);
    std::vector<int> keys;
    grid.onKeyPress = [&](int& key) { keys.push_back(key); };
    grid.setRow(1);
    grid.setCol(1);
    grid.pressKey(Qt::Key_Down, 0);
    grid.pressKey(Qt::Key_Right, 0);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Col(), 2);
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, "\b");
    QCoreApplication::sendEvent(grid.widget(), &backspace);
    EXPECT_EQ(keys, std::vector<int>{8});
}

TEST_F(GridTest, focusEventsRunTheHandlers) {
    std::vector<std::string> events;
    grid.onGotFocus = [&] { events.push_back("got"); };
    grid.onLostFocus = [&] { events.push_back("lost"); };
    QFocusEvent in(QEvent::FocusIn);
    QCoreApplication::sendEvent(grid.widget(), &in);
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(grid.widget(), &out);
    EXPECT_EQ(events, (std::vector<std::string>{"got", "lost"}));
}

TEST(FlexGrid, userInfoShapeWithLabelColumnAndNoTitleRow) {
    QWidget surface;
    FlexGrid grid(&surface, 5, 2, 0, 1);
    grid.setTextMatrix(0, 0, "Evaluator");
    grid.setTextMatrix(0, 1, "Ann");
    auto* view = static_cast<QTableView*>(grid.widget());
    EXPECT_TRUE(view->horizontalHeader()->isHidden());
    EXPECT_EQ(view->model()->rowCount(), 5);
    EXPECT_EQ(view->model()->headerData(0, Qt::Vertical).toString(), QString("Evaluator"));
    // A label click selects the row up to the value column.
    grid.clickCell(3, 0);
    EXPECT_EQ(std::vector<int>({grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}),
              std::vector<int>({3, 1, 3, 1}));
}

// A grid as high as HeightForRows gives shows that many rows whole above its horizontal scroll bar,
// with and without a title row.
TEST(FlexGrid, aGridAsHighAsItsRowsNeedShowsThemWholeAboveItsScrollBar) {
    for (int fixedRows : {0, 1}) {
        SCOPED_TRACE(fixedRows);
        QWidget surface;
        surface.resize(600, 600);
        FlexGrid grid(&surface, 5 + fixedRows, 2, fixedRows, 1);
        grid.setColWidth(1, 24390);  // wider than the grid: the horizontal scroll bar shows
        grid.Move(0, 0, 6000, grid.HeightForRows(5));
        surface.show();
        QCoreApplication::processEvents();
        auto* view = static_cast<QTableView*>(grid.widget());
        EXPECT_TRUE(view->horizontalScrollBar()->isVisible());
        EXPECT_FALSE(view->verticalScrollBar()->isVisible());
        EXPECT_LE(view->rowViewportPosition(4) + view->rowHeight(4), view->viewport()->height());
    }
}

// A fill that sets Row and Col cell by cell leaves the current cell in the last column and row: the
// view stays where it was, whether the grid was shown before the fill or after it. The user's keys
// still bring the current cell into view.
TEST(FlexGrid, codeMovingTheCurrentCellKeepsTheViewWhereItIsAndKeysBringTheCellIntoView) {
    for (bool shownBeforeFill : {false, true}) {
        SCOPED_TRACE(shownBeforeFill);
        QWidget surface;
        surface.resize(600, 600);
        FlexGrid grid(&surface, 30, 6, 1, 1);
        for (int col = 0; col < grid.Cols(); ++col) grid.setColWidth(col, 1500);
        grid.Move(0, 0, 4500, 3000);  // three columns and some rows of the six and thirty
        if (shownBeforeFill) surface.show();
        QCoreApplication::processEvents();
        for (int row = 0; row < grid.Rows(); ++row)
            for (int col = 0; col < grid.Cols(); ++col) {
                grid.setRow(row);
                grid.setCol(col);
                grid.setText("cell");
            }
        surface.show();
        QCoreApplication::processEvents();
        auto* view = static_cast<QTableView*>(grid.widget());
        ASSERT_GT(view->horizontalScrollBar()->maximum(), 0);
        EXPECT_EQ(view->horizontalScrollBar()->value(), 0);
        EXPECT_EQ(view->verticalScrollBar()->value(), 0);

        grid.pressKey(Qt::Key_Down, 0);
        grid.pressKey(Qt::Key_End, 0);
        EXPECT_EQ(view->horizontalScrollBar()->value(), view->horizontalScrollBar()->maximum());
    }
}

// The darkest lightness in a part of a widget's picture: the ink of the text drawn there.
int darkestIn(QWidget& widget, const QRect& part) {
    const QImage image = widget.grab(part).toImage();
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
}

// The corner cell, where the title row and the label column meet, is a fixed cell like the others:
// its text is drawn in the same ink as a column title's.
TEST(FlexGrid, theCornerCellIsDrawnLikeTheTitlesBesideIt) {
    QWidget surface;
    surface.resize(400, 300);
    FlexGrid grid(&surface, 3, 2, 1, 1);
    grid.Move(0, 0, 4500, 3000);
    grid.setColWidth(0, 900);
    grid.setColWidth(1, 900);
    grid.setTextMatrix(0, 0, "No.s");
    grid.setTextMatrix(0, 1, "No.s");
    surface.show();
    QCoreApplication::processEvents();
    auto* view = static_cast<QTableView*>(grid.widget());
    QHeaderView* titles = view->horizontalHeader();
    auto* corner = view->findChild<QAbstractButton*>();
    ASSERT_NE(corner, nullptr);
    const QRect title(titles->sectionViewportPosition(0), 0, titles->sectionSize(0), titles->height());
    const int titleInk = darkestIn(*titles->viewport(), title);
    ASSERT_LT(titleInk, 128) << "the title's text is dark";
    // The same ink; the two texts stand at other fractions of a pixel, so their edges blend apart.
    EXPECT_NEAR(darkestIn(*corner, corner->rect()), titleInk, 24);
}

}  // namespace
}  // namespace sq
