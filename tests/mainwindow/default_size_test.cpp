// The main window at its default size (maximised over the work area) and at its minimum: the
// program's fonts, the toolbar, the memory pane's texts and a downloaded record's summary.
#include <QFontInfo>
#include <QScreen>
#include <QTableView>
#include <QToolBar>

#include "mainwindow/panel_fixture.h"
#include "platform/ui/classic_font.h"
#include "platform/ui/twips.h"
#include "records/data_list_frm.h"
#include "records/record_expectations.h"
#include "support/text_fit.h"

using namespace sq;
using sqtest::PanelTest;

namespace {

class DefaultSizeTest : public PanelTest {};

bool hasArialMetrics(const QFont& font) {
    const QString family = QFontInfo(font).family();
    return family == "Liberation Sans" || family == "Arial";
}

TEST_F(DefaultSizeTest, windowsUseArialMetricsAndTheTreeItsBoldFont) {
    Panel& p = start();
    EXPECT_TRUE(hasArialMetrics(p.font()))
        << QFontInfo(p.font()).family().toStdString() << ": is fonts-liberation2 installed?";
    EXPECT_NEAR(QFontInfo(p.font()).pointSizeF(), kClassicFontPoints, 0.5);
    const QFontInfo tree(p.TreeView1.font());
    EXPECT_TRUE(hasArialMetrics(p.TreeView1.font())) << tree.family().toStdString();
    EXPECT_NEAR(tree.pointSizeF(), 9.75, 0.25);
    EXPECT_TRUE(tree.bold());
}

TEST_F(DefaultSizeTest, withoutInstrumentTheToolbarShowsAllTenButtonsNamedByTheirKeys) {
    startPort = 0;
    Panel& p = startAtMinimumSize();
    EXPECT_EQ(p.Width(), 13665);
    EXPECT_FALSE(p.Toolbar1.buttonEnabled(3)) << "buttons 3 to 8 wait for an instrument";
    const char* const keys[] = {"Open", "COMSET", "SettingPanel", "List", "Graphics",
                                "RTC",  "Memory", "Clear",        "Help", "Language"};
    QWidget* bar = p.Toolbar1.widget();
    for (int i = 1; i <= 10; ++i) {
        QWidget* button = p.Toolbar1.buttonWidget(i);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible()) << keys[i - 1];
        EXPECT_TRUE(bar->rect().contains(button->geometry())) << keys[i - 1];
        EXPECT_EQ(button->accessibleName().toStdString(), keys[i - 1]);
    }
    for (QWidget* child : bar->findChildren<QWidget*>())
        EXPECT_FALSE(child->isVisible() && QString(child->metaObject()->className()) == "QToolBarExtension")
            << "no overflow arrow";
}

TEST_F(DefaultSizeTest, memoryPaneShowsTheSizesAndTheRecordTimesWhole) {
    sim->state().memoryTotal = 4194304;
    sim->state().memoryRemain = 4108576;
    for (int i = 0; i < 3; ++i)
        sim->addRecord(metersim::makeRecord({2022, 12, 28, 23, 58, 59 - i}, 60, {metersim::Point{}}));
    Panel& p = start();
    ASSERT_TRUE(waitFor([&] { return p.ControlListView.itemCount() == 1; }, 3));
    wait(1);
    p.Toolbar1.click("Memory");
    ASSERT_TRUE(waitFor([] { return flags().ListingMemory != kTrue; }, 30));
    QApplication::processEvents();

    EXPECT_EQ(p.TotalSizeNumLbl.Caption(), "4194304");
    EXPECT_EQ(p.RemainSizeNumLbl.Caption(), "4108576");
    for (Label* size : {&p.TotalSizeNumLbl, &p.RemainSizeNumLbl}) {
        EXPECT_TRUE(sqtest::showsWhole(*size->widget())) << size->Caption();
        EXPECT_TRUE(sqtest::insideParent(*size->widget())) << size->Caption();
    }
    const FlexGrid& grid = p.MemoryListGrid;
    const auto& view = *static_cast<QTableView*>(grid.widget());
    ASSERT_EQ(grid.Rows(), 4);
    for (int row = 0; row < grid.Rows(); ++row) {
        const std::string text = grid.TextMatrix(row, 1);
        EXPECT_LE(sqtest::cellWidthNeeded(view, text), toPixels(grid.ColWidth(1))) << text;
    }
    EXPECT_EQ(grid.TextMatrix(1, 1), "2022/12/28  23:58:59");
}

// The main window opens over the screen's work area, not at its minimum, so that the summary of a
// downloaded record shows its values without the user resizing anything.
TEST_F(DefaultSizeTest, opensOverTheWorkAreaSoADownloadedRecordsSummaryShowsItsValues) {
    Panel& p = start();
    ASSERT_TRUE(waitForSupportedModel());
    QApplication::processEvents();
    const QRect area = p.mainWindow()->screen()->availableGeometry();
    EXPECT_EQ(p.windowState(), WindowState::Maximized);
    EXPECT_TRUE(area.contains(p.mainWindow()->frameGeometry())) << "never larger than the screen";
    EXPECT_GT(p.mainWindow()->frameGeometry().width(), area.width() * 9 / 10);
    const double others =
        p.StatusBar1.panelWidth(1) + p.StatusBar1.panelWidth(3) + p.StatusBar1.panelWidth(4);
    EXPECT_NEAR(p.StatusBar1.panelWidth(2), p.ScaleWidth() - others, 15)
        << "laid out at the size it opened at";

    download(sqtest::recordOf(40));
    DataListFrm& f = form<DataListFrm>();
    ASSERT_EQ(f.QVX410Grid.TextMatrix(8, 0), "Total Point");
    const auto& view = *static_cast<QTableView*>(f.QVX410Grid.widget());
    for (int col = 1; col < f.QVX410Grid.Cols(); ++col) {
        const int left = view.columnViewportPosition(col - 1);
        EXPECT_GE(left, 0) << f.QVX410Grid.TextMatrix(0, col);
        EXPECT_LE(left + view.columnWidth(col - 1), view.viewport()->width())
            << f.QVX410Grid.TextMatrix(0, col);
        for (int row = 1; row < f.QVX410Grid.Rows(); ++row) {
            const std::string value = f.QVX410Grid.TextMatrix(row, col);
            EXPECT_LE(sqtest::cellWidthNeeded(view, value), view.columnWidth(col - 1)) << value;
        }
    }
    EXPECT_EQ(f.QVX410Grid.TextMatrix(8, 1), "40");
}

}  // namespace
