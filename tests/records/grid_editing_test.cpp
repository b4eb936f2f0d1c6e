// Grid editing in the record list window: the user-information editor and what Backspace deletes
// in the summary and point grids, first as the pure rules, then on the window's grids.
#include "records/grid_editing.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTest>

#include "platform/ui/twips.h"
#include "records/record_window_fixture.h"
#include "support/text_fit.h"

namespace sq {

bool operator==(const GridDeletion& a, const GridDeletion& b) {
    return a.kind == b.kind && a.column == b.column && a.firstRow == b.firstRow &&
           a.removeCount == b.removeCount && a.emptyRow1 == b.emptyRow1 && a.selectedRow == b.selectedRow;
}
void PrintTo(const GridDeletion& d, std::ostream* os) {
    *os << "{kind " << static_cast<int>(d.kind) << ", column " << d.column << ", rows " << d.firstRow << "+"
        << d.removeCount << (d.emptyRow1 ? ", empty row 1" : "") << ", selected " << d.selectedRow << "}";
}

namespace {

using K = GridDeletionKind;

GridDeletion column(int c) {
    return {K::DeleteColumn, c, 0, 0, false, 0};
}
GridDeletion rows(int first, int count, bool empty, int selected) {
    return {K::RemoveRows, -1, first, count, empty, selected};
}

TEST(GridEditingRules, summaryGridBackspace) {
    struct Case {
        const char* name;
        int rows, cols;
        GridSelection sel;
        GridDeletion expected;
    };
    const std::vector<Case> cases = {
        {"whole D2 column", 11, 4, {1, 2, 10, 2}, column(2)},
        {"whole D3 column", 11, 4, {1, 3, 10, 3}, column(3)},
        {"whole D1 column", 11, 4, {1, 1, 10, 1}, {}},
        {"whole label column", 11, 4, {1, 0, 10, 0}, {}},
        {"part of a column", 11, 4, {2, 2, 10, 2}, {}},
        {"column selected upward", 11, 4, {10, 2, 1, 2}, {}},
        {"one whole row", 11, 4, {4, 1, 4, 3}, rows(4, 1, false, 4)},
        {"the last row", 11, 4, {10, 1, 10, 3}, rows(10, 1, false, 9)},
        {"part of a row", 11, 4, {4, 2, 4, 3}, {}},
        {"a row from the label", 11, 4, {4, 0, 4, 3}, {}},
        {"block downward", 11, 4, {3, 1, 5, 3}, rows(3, 3, false, 3)},
        {"block upward", 11, 4, {5, 1, 3, 3}, rows(3, 3, false, 3)},
        {"block to the end", 11, 4, {8, 1, 10, 3}, rows(8, 3, false, 7)},
        {"every data row", 11, 4, {1, 1, 10, 3}, rows(1, 9, true, 1)},
        {"every data row upward", 11, 4, {10, 1, 1, 3}, rows(1, 9, true, 1)},
        {"the only data row is emptied", 2, 4, {1, 1, 1, 3}, rows(1, 0, true, 1)},
        {"one data row: a D2 cell is the column", 2, 4, {1, 2, 1, 2}, column(2)},
        {"one data row: a D3 cell is the column", 2, 4, {1, 3, 1, 3}, column(3)},
        {"two columns left: a row", 5, 2, {2, 1, 2, 1}, rows(2, 1, false, 2)},
        {"the title row is never a row", 11, 4, {0, 1, 0, 3}, {}},
        {"a block reaching the title row", 11, 4, {0, 1, 3, 3}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(summaryGridDeletion(c.rows, c.cols, c.sel), c.expected) << c.name;
}

TEST(GridEditingRules, pointGridBackspace) {
    struct Case {
        const char* name;
        int rows;
        GridSelection sel;
        GridDeletion expected;
    };
    const std::vector<Case> cases = {
        {"one whole row", 36, {7, 1, 7, 5}, rows(7, 1, false, 7)},
        {"the only data row is emptied", 2, {1, 1, 1, 5}, rows(1, 0, true, 1)},
        {"block downward", 36, {10, 1, 20, 5}, rows(10, 11, false, 10)},
        {"block upward", 36, {20, 1, 10, 5}, rows(10, 11, false, 10)},
        {"every row top down", 36, {1, 1, 35, 5}, rows(1, 34, true, 1)},
        {"every row bottom up", 36, {35, 1, 1, 5}, rows(1, 34, true, 1)},
        {"all rows but the first", 36, {2, 1, 35, 5}, rows(2, 34, false, 1)},
        {"a whole column is no deletion here", 36, {1, 3, 35, 3}, {}},
        {"part of a row", 36, {7, 2, 7, 5}, {}},
        {"65,535 points", 65536, {1, 1, 65535, 5}, rows(1, 65534, true, 1)},
    };
    for (const Case& c : cases) EXPECT_EQ(pointGridDeletion(c.rows, 6, c.sel), c.expected) << c.name;
}

class GridEditingTest : public sqtest::RecordWindowTest {};

TEST_F(GridEditingTest, aDoubleClickedLabelOpensTheEditorOverItsValueAndEnterStoresTheText) {
    DataListFrm& f = frm();
    FlexGrid& g = f.GridUserInfo;
    g.setTextMatrix(2, 1, "Noise");
    g.doubleClickCell(2, 0);
    ASSERT_TRUE(f.Editing);
    ASSERT_NE(f.EditGrid, nullptr);
    EXPECT_EQ(f.EditGrid->widget()->objectName(), "newtxt");
    EXPECT_EQ(f.EditRow, 2);
    EXPECT_EQ(f.EditCol, 1);
    EXPECT_EQ(f.EditGrid->Text(), "Noise");
    EXPECT_TRUE(f.EditGrid->Visible());
    // Over the cell as the grid reports it, as wide as the value column.
    EXPECT_NEAR(f.EditGrid->Left(), g.Left() + g.CellLeft(), 15);
    EXPECT_NEAR(f.EditGrid->Top(), g.Top() + g.CellTop(), 15);
    EXPECT_NEAR(f.EditGrid->Height(), g.CellHeight(), 15);
    EXPECT_NEAR(f.EditGrid->Width(), 24390, 15);

    f.EditGrid->setText("");
    f.EditGrid->type("Zo\u00E9, \"Lab\"\r");
    EXPECT_FALSE(f.Editing);
    EXPECT_EQ(f.EditGrid, nullptr);
    EXPECT_EQ(g.TextMatrix(2, 1), "Zo\u00E9, \"Lab\"");
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.Col(), 1);
}

TEST_F(GridEditingTest, everyWayOfLeavingTheEditorStoresTheText) {
    const std::vector<std::pair<const char*, void (*)(DataListFrm&)>> ways = {
        {"enter", [](DataListFrm& f) { f.EditGrid->type("\r"); }},
        {"focus lost", [](DataListFrm& f) { f.EditGrid_LostFocus(); }},
        {"click on the grid", [](DataListFrm& f) { f.GridUserInfo.clickCell(4, 1); }},
        {"double click elsewhere", [](DataListFrm& f) { f.GridUserInfo.doubleClickCell(4, 1); }},
    };
    for (const auto& [name, leave] : ways) {
        SCOPED_TRACE(name);
        DataListFrm& f = frm();
        f.GridUserInfo.doubleClickCell(0, 1);
        f.EditGrid->type("typed");
        leave(f);
        EXPECT_EQ(f.GridUserInfo.TextMatrix(0, 1), "typed");
        if (f.Editing) f.EditGrid_LostFocus();
        f.GridUserInfo.setTextMatrix(0, 1, "");
    }
}

TEST_F(GridEditingTest, aDoubleClickWhileEditingOrOnNoValueColumnOpensNothing) {
    DataListFrm& f = frm();
    f.GridUserInfo.doubleClickCell(1, 1);
    TextBox* editor = f.EditGrid.get();
    f.GridUserInfo.setRow(3);  // the double click event arrives while the editor is open
    f.GridUserInfo_DblClick();
    EXPECT_EQ(f.EditGrid.get(), editor);
    EXPECT_EQ(f.EditRow, 1);
    f.EditGrid_LostFocus();

    f.GridUserInfo.setCol(0);
    f.GridUserInfo_DblClick();
    EXPECT_FALSE(f.Editing);
    EXPECT_EQ(f.EditGrid, nullptr);
}

// What the user does with the mouse and the keys, sent as real events to the grids of the shown
// window: presses, drags and shift-clicks on row labels and column titles, a double click on a label.
class GridMouse {
public:
    explicit GridMouse(FlexGrid& grid)
        : m_view(*static_cast<QTableView*>(grid.widget())),
          m_titleRows(grid.FixedRows() > 0 ? 1 : 0),
          m_labelCols(grid.FixedCols() > 0 ? 1 : 0) {}

    // Press on the label of row `from`, drag over every label on the way to row `to`, release there.
    void dragLabels(int from, int to) {
        drag(*m_view.verticalHeader(), from - m_titleRows, to - m_titleRows);
    }
    void dragTitles(int from, int to) {
        drag(*m_view.horizontalHeader(), from - m_labelCols, to - m_labelCols);
    }
    void clickLabel(int row, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseClick(labels(), Qt::LeftButton, keys,
                          centre(*m_view.verticalHeader(), row - m_titleRows));
    }
    // Press and release, the double click, release: as a double click reaches the grid.
    void doubleClickLabel(int row) {
        const QPoint at = centre(*m_view.verticalHeader(), row - m_titleRows);
        QTest::mouseClick(labels(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(labels(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(labels(), Qt::LeftButton, {}, at);
    }
    void backspace() { QTest::keyClick(&m_view, Qt::Key_Backspace); }

private:
    QWidget* labels() { return m_view.verticalHeader()->viewport(); }
    static QPoint centre(const QHeaderView& header, int section) {
        const int along = header.sectionViewportPosition(section) + header.sectionSize(section) / 2;
        return header.orientation() == Qt::Vertical ? QPoint(header.width() / 2, along)
                                                    : QPoint(along, header.height() / 2);
    }
    static void drag(QHeaderView& header, int from, int to) {
        QWidget* area = header.viewport();
        QTest::mousePress(area, Qt::LeftButton, {}, centre(header, from));
        for (int s = from; s != to;) {
            s += to > from ? 1 : -1;
            QTest::mouseMove(area, centre(header, s));
        }
        QTest::mouseRelease(area, Qt::LeftButton, {}, centre(header, to));
    }
    QTableView& m_view;
    int m_titleRows;
    int m_labelCols;
};

// The window shown, so that the grids have their places and sizes.
class GridMouseTest : public sqtest::RecordWindowTest {
protected:
    void SetUp() override {
        RecordWindowTest::SetUp();
        frm().Show();
        for (FlexGrid* g : {&frm().QVX410Grid, &frm().QVX410PointGrid, &frm().GridUserInfo}) g->flush();
        QApplication::processEvents();
    }
    static std::vector<std::string> labels(const FlexGrid& g) { return columnOf(g, 0); }
    static std::vector<std::string> titles(const FlexGrid& g) { return rowOf(g, 0); }
};

TEST_F(GridMouseTest, aDoubleClickOnAUserInformationLabelEditsThatRowsValue) {
    DataListFrm& f = frm();
    f.GridUserInfo.setTextMatrix(3, 1, "Acme");
    f.GridUserInfo.clickCell(0, 1);  // the value of another row is selected before
    GridMouse(f.GridUserInfo).doubleClickLabel(3);
    ASSERT_TRUE(f.Editing);
    EXPECT_EQ(f.EditRow, 3);
    EXPECT_EQ(f.EditCol, 1);
    EXPECT_EQ(f.EditGrid->Text(), "Acme");
}

TEST_F(GridMouseTest, backspaceDeletesTheSummaryRowsDraggedOverInEitherDirection) {
    FlexGrid& g = frm().QVX410Grid;
    const std::vector<std::string> before = labels(g);  // the title and the ten standard rows
    ASSERT_EQ(before.size(), 11u);
    GridMouse mouse(g);
    mouse.dragLabels(4, 6);
    EXPECT_EQ(std::vector<int>({g.Row(), g.Col(), g.RowSel(), g.ColSel()}), std::vector<int>({4, 1, 6, 3}));
    mouse.backspace();
    std::vector<std::string> expected = before;
    expected.erase(expected.begin() + 4, expected.begin() + 7);
    EXPECT_EQ(labels(g), expected);

    mouse.dragLabels(5, 2);  // upward
    mouse.backspace();
    expected.erase(expected.begin() + 2, expected.begin() + 6);
    EXPECT_EQ(labels(g), expected);
}

TEST_F(GridMouseTest, backspaceDeletesThePointRowsDraggedOverAndAShiftClickExtendsTheBlock) {
    FlexGrid& g = frm().QVX410PointGrid;
    addPoints(g, 40);
    g.flush();
    GridMouse mouse(g);
    auto pointsLeft = [&] {
        std::vector<int> points;
        for (int r = 1; r < g.Rows(); ++r) points.push_back(std::stoi(g.TextMatrix(r, 0)));
        return points;
    };
    std::vector<int> expected(40);
    for (int p = 0; p < 40; ++p) expected[static_cast<size_t>(p)] = p + 1;

    mouse.dragLabels(4, 6);
    mouse.backspace();
    expected.erase(expected.begin() + 3, expected.begin() + 6);  // points 4 to 6
    EXPECT_EQ(pointsLeft(), expected);

    mouse.dragLabels(12, 1);
    mouse.backspace();
    expected.erase(expected.begin(), expected.begin() + 12);
    EXPECT_EQ(pointsLeft(), expected);

    // A click on the label of the first row left (point 16), a shift-click on that of the tenth.
    mouse.clickLabel(1);
    mouse.clickLabel(10, Qt::ShiftModifier);
    EXPECT_EQ(std::vector<int>({g.Row(), g.Col(), g.RowSel(), g.ColSel()}), std::vector<int>({1, 1, 10, 5}));
    mouse.backspace();
    expected.erase(expected.begin(), expected.begin() + 10);
    EXPECT_EQ(pointsLeft(), expected);
}

TEST_F(GridMouseTest, backspaceAfterDraggingOverTwoColumnTitlesDeletesNoColumn) {
    FlexGrid& g = frm().QVX410Grid;
    GridMouse mouse(g);
    mouse.dragTitles(2, 3);
    EXPECT_EQ(std::vector<int>({g.Col(), g.ColSel()}), std::vector<int>({2, 3}));
    mouse.backspace();
    EXPECT_EQ(titles(g), (std::vector<std::string>{"", "D1", "D2", "D3"}));
    mouse.dragTitles(3, 3);  // one title pressed and released: that column goes
    mouse.backspace();
    EXPECT_EQ(titles(g), (std::vector<std::string>{"", "D1", "D2"}));
}

class SummaryBackspace : public sqtest::RecordWindowTest {
protected:
    void SetUp() override {
        RecordWindowTest::SetUp();
        FlexGrid& g = frm().QVX410Grid;
        for (int r = 1; r < g.Rows(); ++r)
            for (int c = 1; c < 4; ++c)
                g.setTextMatrix(r, c, "r" + std::to_string(r) + "c" + std::to_string(c));
        m_before = grid();
    }
    static FlexGrid& g() { return frm().QVX410Grid; }
    static std::vector<std::vector<std::string>> grid() {
        std::vector<std::vector<std::string>> all;
        for (int r = 0; r < g().Rows(); ++r) all.push_back(rowOf(g(), r));
        return all;
    }
    static void backspace() { g().pressKey(Qt::Key_Backspace, 8); }
    std::vector<std::vector<std::string>> m_before;
};

TEST_F(SummaryBackspace, theLabelAndD1ColumnsStayAndPartialSelectionsAreIgnored) {
    for (auto [row, col, rowSel, colSel] :
         {std::array{0, 1, 0, 1}, {1, 0, 10, 0}, {2, 2, 10, 2}, {3, 2, 3, 3}}) {
        if (row == 0) {
            g().clickCell(0, 1);  // the D1 title selects the column
        } else {
            g().setRow(row);
            g().setCol(col);
            g().setRowSel(rowSel);
            g().setColSel(colSel);
        }
        backspace();
        EXPECT_EQ(grid(), m_before) << row << "," << col;
    }
    g().setRow(2);
    g().setCol(2);
    int key = 'a';
    frm().QVX410Grid_KeyPress(key);  // keys other than Backspace do nothing
    EXPECT_EQ(grid(), m_before);
}

TEST_F(SummaryBackspace, deletingD2MovesD3IntoItsPlaceAndDeletingD3LeavesD1AndD2) {
    g().clickCell(0, 2);
    backspace();
    ASSERT_EQ(g().Cols(), 3);
    EXPECT_EQ(g().TextMatrix(0, 2), "D3");
    for (int r = 1; r < 11; ++r) EXPECT_EQ(g().TextMatrix(r, 2), "r" + std::to_string(r) + "c3");
    EXPECT_EQ(g().TextMatrix(0, 1), "D1");
    EXPECT_EQ(g().TextMatrix(0, 0), m_before[0][0]);

    SetUp();
    g().clickCell(0, 3);
    backspace();
    ASSERT_EQ(g().Cols(), 3);
    EXPECT_EQ(rowOf(g(), 0), (std::vector<std::string>{"", "D1", "D2"}));
    EXPECT_EQ(g().TextMatrix(5, 2), "r5c2");
}

// Set rebuilds the four columns from the record's texts; a column it brings back looks as the
// download set it up, so a start time shows whole and centred like its neighbours.
TEST_F(SummaryBackspace, aColumnBroughtBackBySetTakesTheWidthAndCentringItHadAtTheDownload) {
    for (int deleted : {2, 3}) {
        SCOPED_TRACE(deleted);
        SetUp();
        const double width = g().ColWidth(3);
        g().clickCell(0, deleted);
        backspace();
        ASSERT_EQ(g().Cols(), 3);
        frm().SetBtn.click();
        ASSERT_EQ(g().Cols(), 4);
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(g().ColWidth(c), width) << c;
            EXPECT_EQ(g().ColAlignment(c), FlexAlign::CenterCenter) << c;
        }
        const auto& view = *static_cast<const QTableView*>(g().widget());
        EXPECT_EQ(view.columnWidth(2), toPixels(width));
        EXPECT_LE(sqtest::cellWidthNeeded(view, "2024/05/06 10:00:00"), view.columnWidth(2));
    }
}

TEST_F(SummaryBackspace, rowsGoOneByOneOrAsABlockSelectedEitherWay) {
    g().clickCell(4, 0);  // the label selects the whole row
    backspace();
    ASSERT_EQ(g().Rows(), 10);
    EXPECT_EQ(g().TextMatrix(4, 0), m_before[5][0]);

    g().clickCell(7, 0);
    g().extendTo(2, 3);  // upward over six rows
    backspace();
    ASSERT_EQ(g().Rows(), 4);
    EXPECT_EQ(rowOf(g(), 1), m_before[1]);
    EXPECT_EQ(rowOf(g(), 2), m_before[9]);
    EXPECT_EQ(rowOf(g(), 3), m_before[10]);
    EXPECT_EQ(g().Row(), 2);
    EXPECT_EQ(g().RowSel(), 2);
}

TEST_F(SummaryBackspace, withOneDataRowLeftACellOfD3IsTheWholeColumnAndTheRowIsEmptiedNotRemoved) {
    g().clickCell(1, 0);
    g().extendTo(9, 3);
    backspace();
    ASSERT_EQ(g().Rows(), 2);
    EXPECT_EQ(rowOf(g(), 1), m_before[10]);
    g().clickCell(1, 3);
    backspace();
    EXPECT_EQ(g().Cols(), 3);
    g().clickCell(1, 0);
    backspace();
    EXPECT_EQ(g().Rows(), 2);
    EXPECT_EQ(rowOf(g(), 1), (std::vector<std::string>{"", "", ""}));
}

class PointBackspace : public sqtest::RecordWindowTest {
protected:
    static FlexGrid& g() { return frm().QVX410PointGrid; }
    static void backspace() { g().pressKey(Qt::Key_Backspace, 8); }
};

TEST_F(PointBackspace, everyRowTopDownOrBottomUpLeavesTheTitleAndOneEmptyRow) {
    for (bool upward : {false, true}) {
        SCOPED_TRACE(upward);
        g().setRows(1);
        addPoints(g(), 35);
        g().clickCell(upward ? 35 : 1, 0);
        g().extendTo(upward ? 1 : 35, 5);
        backspace();
        ASSERT_EQ(g().Rows(), 2);
        EXPECT_EQ(g().TextMatrix(0, 0), "No.s");
        EXPECT_EQ(rowOf(g(), 1), std::vector<std::string>(6, ""));
    }
}

TEST_F(PointBackspace, aBlockInTheMiddleGoesWhicheverWayItWasSelected) {
    for (bool upward : {false, true}) {
        SCOPED_TRACE(upward);
        g().setRows(1);
        addPoints(g(), 35);
        g().clickCell(upward ? 20 : 10, 0);
        g().extendTo(upward ? 10 : 20, 5);
        backspace();
        ASSERT_EQ(g().Rows(), 25);
        EXPECT_EQ(g().TextMatrix(9, 0), "9");
        EXPECT_EQ(g().TextMatrix(10, 0), "21");
        EXPECT_EQ(g().TextMatrix(24, 0), "35");
    }
    g().setRows(1);
    addPoints(g(), 1);
    g().clickCell(1, 0);
    backspace();
    EXPECT_EQ(g().Rows(), 2);
    EXPECT_EQ(rowOf(g(), 1), std::vector<std::string>(6, ""));
}

TEST_F(PointBackspace, allOfTheLargestRecordGoesInOneKeypress) {
    addPoints(g(), 65535);
    g().flush();
    int removals = 0;
    auto* model = static_cast<QTableView*>(g().widget())->model();
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, [&] { ++removals; });
    g().clickCell(1, 0);
    g().extendTo(65535, 5);
    backspace();
    EXPECT_EQ(removals, 1);
    ASSERT_EQ(g().Rows(), 2);
    EXPECT_EQ(rowOf(g(), 1), std::vector<std::string>(6, ""));
}

}  // namespace
}  // namespace sq
