// The main window at its default size: the program's fonts, the toolbar and the memory pane's texts.
#include <QFontInfo>
#include <QTableView>
#include <QToolBar>

#include "mainwindow/panel_fixture.h"
#include "platform/ui/classic_font.h"
#include "platform/ui/twips.h"
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
    Panel& p = start();
    QApplication::processEvents();
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

}  // namespace
