#include "mainwindow/layout.h"

#include <gtest/gtest.h>

using namespace sq;

TEST(PanelLayoutTest, shrinkingBelowTheMinimumGives13665By11250) {
    EXPECT_EQ(panelMinimumSize({10000, 9000}), (TwipSize{13665, 11250}));
    EXPECT_EQ(panelMinimumSize({12600, 11250}), (TwipSize{12600, 11250}));
    EXPECT_EQ(panelMinimumSize({12599, 20000}), (TwipSize{13665, 20000}));
}

TEST(PanelLayoutTest, memoryColumnsAreTwoSixTwoTenthsOfThePaneLessTheScrollBar) {
    EXPECT_EQ(memoryColumnWidths(3385), (std::array<int, 3>{600, 1800, 600}));
    // u = 301.5: 603, 1809, 603
    EXPECT_EQ(memoryColumnWidths(3400), (std::array<int, 3>{603, 1809, 603}));
    // u = 300.5: 2u = 601, 6u = 1803
    EXPECT_EQ(memoryColumnWidths(3390), (std::array<int, 3>{601, 1803, 601}));
}

TEST(PanelLayoutTest, resizePlacesPaneAtTheBottomAndTheTreeAboveIt) {
    PanelLayoutInput in;
    in.clientWidth = 9000;
    in.clientHeight = 8000;
    in.treeBarWidth = 3300;
    in.treeTop = 0;
    in.paneHeight = 4000;
    in.statusWidths = {2000, 1200, 3000};
    in.paneVisible = true;
    const PanelLayout out = layoutPanel(in);
    EXPECT_EQ(out.innerWidth, 12420);
    EXPECT_EQ(out.innerHeight, 8060);
    EXPECT_EQ(out.paneTop, 4060);
    EXPECT_EQ(out.memSplitTop, 3940);
    EXPECT_EQ(out.treeHeight, 3940);
    EXPECT_EQ(out.closeButtonLeft, 3045);
    EXPECT_EQ(out.titleWidth, 3045);
    EXPECT_EQ(out.gridWidth, 3290);
    EXPECT_EQ(out.gridHeight, 2320);
    EXPECT_EQ(out.totalSizeNumLeft, 2645);
    EXPECT_EQ(out.statusPanel2Width, 12420 - 6200);
    in.paneVisible = false;
    EXPECT_EQ(layoutPanel(in).treeHeight, 8000 + 360) << "hidden pane: client height plus 360";
}

TEST(MemoryPaneLayoutTest, showingSplitsTheBarBetweenTreeAndPane) {
    MemoryPaneInput in{.treeBarHeight = 9000, .treeTop = 0, .paneWidth = 3385, .paneHeight = 4000};
    const MemoryPaneLayout shown = layoutMemoryPane(in, true);
    EXPECT_EQ(shown.treeHeight, 4880);
    EXPECT_EQ(shown.memSplitTop, 4880);
    EXPECT_EQ(shown.paneTop, 5000);
    EXPECT_EQ(shown.paneHeight, 4000);
    EXPECT_EQ(shown.gridHeight, 2320);
    EXPECT_EQ(shown.titleWidth, 3130);
    const MemoryPaneLayout hidden = layoutMemoryPane(in, false);
    EXPECT_EQ(hidden.treeHeight, 9300);
    EXPECT_EQ(hidden.memSplitTop, 4880);
}

TEST(SplitterTest, horizontalBarStaysBetween1800AndOuterHeightLess5000) {
    struct Case {
        int barTop, y, expected;
    };
    for (const Case& c : {Case{3000, -2000, 1800}, Case{3000, 500, 3500}, Case{3000, 9000, 7000}}) {
        const MemSplitDrag d = dragMemSplit(c.barTop, c.y, 12000, 9000);
        EXPECT_EQ(d.memSplitTop, c.expected);
        EXPECT_EQ(d.treeHeight, c.expected);
        EXPECT_EQ(d.paneTop, c.expected + 120);
        EXPECT_EQ(d.paneHeight, 9000 - c.expected - 120);
    }
    // A pane lower than 1680 twips gives the grid its full height.
    const MemSplitDrag low = dragMemSplit(7000, 0, 12000, 8500);
    EXPECT_EQ(low.paneHeight, 1380);
    EXPECT_EQ(low.gridHeight, 1380);
}

TEST(SplitterTest, verticalBarStaysBetween1800AndOuterWidthLess9000) {
    EXPECT_EQ(dragPanelSplit(3000, -5000, 14000), 1800);
    EXPECT_EQ(dragPanelSplit(3000, 100, 14000), 3100);
    EXPECT_EQ(dragPanelSplit(3000, 9000, 14000), 5000);
}

TEST(DialogLayoutTest, portSetupNeverSmallerThanItsMinimum) {
    const CentredPanel p = layoutPortSetup({5190, 3510}, {4800, 2700});
    EXPECT_EQ(p.outer, (TwipSize{5280, 3540}));
    EXPECT_DOUBLE_EQ(p.panelLeft, 177.5);
    EXPECT_DOUBLE_EQ(p.panelTop, 170);
}
