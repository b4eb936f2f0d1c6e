// The record list window's resize layout and its splitter, in twips.
#include "records/data_list_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(DataListLayoutTest, ResizeKeepsTheMinimumSizeAndPlacesEveryControl) {
    const sq::RecordWindowLayout l = sq::dataListResizeLayout(3000, 3000);
    EXPECT_EQ(l.windowWidth, 5600);
    EXPECT_EQ(l.windowHeight, 4900);
    const sq::RecordWindowLayout big = sq::dataListResizeLayout(15000, 9000);
    // frame 14900 x 8540 at top 360
    EXPECT_EQ(big.container.width, 14900);
    EXPECT_EQ(big.container.height, 8540);
    EXPECT_EQ(big.userInfo.top, 8540 - 360 - 1400);
    EXPECT_EQ(big.userInfo.width, 14900 - 1680);
    EXPECT_EQ(big.splitter.left, 14900 - 6430);
    EXPECT_EQ(big.splitter.height, 8540 - 360 - 1540);
    EXPECT_EQ(big.pointGrid.left, 14900 - 6430 + 140);
    EXPECT_EQ(big.pointGrid.width, 6210);
    EXPECT_EQ(big.pointGrid.height, 8540 - 360 - 1520);
    EXPECT_EQ(big.summaryGrid.width, 14900 - 6210 - 1840);
    EXPECT_EQ(big.summaryGrid.left, 1680);
}

TEST(DataListLayoutTest, ThePointGridIsWiderWhenItsColumnsNeedMore) {
    for (auto [needs, width] : {std::pair{0.0f, 6210.0f}, {6210, 6210}, {7000, 7000}}) {
        const sq::RecordWindowLayout l = sq::dataListResizeLayout(15000, 9000, needs);
        EXPECT_EQ(l.pointGrid.width, width) << needs;
        EXPECT_EQ(l.splitter.left, 14900 - width - 80 - 140);
        EXPECT_EQ(l.pointGrid.left, l.splitter.left + 140);
        EXPECT_EQ(l.summaryGrid.width, 14900 - width - 1840);
    }
}

// The user information keeps its 1400 twips unless its five rows need more; the grids above and the
// splitter give up what it takes.
TEST(DataListLayoutTest, TheUserInformationIsAsHighAsItsRowsNeedAndTheGridsAboveGiveWay) {
    for (auto [needs, height] : {std::pair{0.0f, 1400.0f}, {1400, 1400}, {1725, 1725}}) {
        const sq::RecordWindowLayout l = sq::dataListResizeLayout(15000, 9000, 0, needs);
        EXPECT_EQ(l.userInfo.height, height) << needs;
        EXPECT_EQ(l.userInfo.top, 8540 - 360 - height);
        EXPECT_EQ(l.userInfo.left, 1680);
        EXPECT_EQ(l.splitter.height, 8540 - 360 - (height + 140));
        EXPECT_EQ(l.pointGrid.height, 8540 - 360 - (height + 120));
        EXPECT_EQ(l.summaryGrid.height, 8540 - 360 - (height + 120));
    }
}

TEST(DataListLayoutTest, NarrowFrameGivesTheSummaryGridAWidthOf100) {
    EXPECT_EQ(sq::dataListResizeLayout(8150, 6000).summaryGrid.width, 8050 - 8050);  // frame exactly 8050
    EXPECT_EQ(sq::dataListResizeLayout(8149, 6000).summaryGrid.width, 100);
}

TEST(DataListLayoutTest, SplitterDragStaysWithinItsClampsAndResizePutsItBack) {
    struct Case {
        float x;
        float left;
    };
    const float start = 14900 - 6430;
    const Case cases[] = {
        {-100000, 2200}, {-(start - 2200), 2200}, {-1000, start - 1000}, {100000, 15000 - 1000}};
    for (const Case& c : cases) {
        sq::RecordWindowLayout l = sq::dataListResizeLayout(15000, 9000);
        sq::dataListSplitterDrag(l, c.x);
        EXPECT_EQ(l.splitter.left, c.left) << c.x;
        EXPECT_EQ(l.pointGrid.left, c.left + 140);
        EXPECT_EQ(l.pointGrid.width, 14900 - (c.left + 140) - 80);
        EXPECT_EQ(l.summaryGrid.width, 14900 - (l.pointGrid.width + 1840));
        EXPECT_EQ(l.pointGrid.top, 80);
    }
    EXPECT_EQ(sq::dataListResizeLayout(15000, 9000).splitter.left, start);
}

TEST(ItemPanelLayoutTest, ColumnsKeepTheirDesignAndOnlyAColumnWithALongCaptionWidens) {
    std::vector<float> widths(103, 700);
    const sq::ItemPanelLayout design = sq::itemPanelLayout(widths);
    ASSERT_EQ(design.boxes.size(), 103u);
    EXPECT_EQ(design.boxes[0].left, 60);
    EXPECT_EQ(design.boxes[10].top, 60 + 10 * 300);
    EXPECT_EQ(design.boxes[11].left, 60 + 1110) << "eleven boxes a column";
    EXPECT_EQ(design.boxes[102].left, 60 + 9 * 1110);
    EXPECT_EQ(design.boxes[102].width, 1080);
    EXPECT_EQ(design.allButton.left, 60 + 1110);
    EXPECT_EQ(design.contentWidth, 11295);
    EXPECT_EQ(design.contentHeight, 4095);

    widths[1] = 2000;  // "Exceedance Stop Time"
    const sq::ItemPanelLayout wide = sq::itemPanelLayout(widths);
    EXPECT_EQ(wide.boxes[0].width, 2000) << "the whole first column widens";
    EXPECT_EQ(wide.boxes[11].left, 60 + 2030);
    EXPECT_EQ(wide.boxes[22].left, 60 + 2030 + 1110) << "the other columns keep their pitch";
    EXPECT_EQ(wide.allButton.left, 60 + 2030);
    EXPECT_EQ(wide.contentWidth, 11295 + 920);
}

TEST(ItemPanelLayoutTest, PanelsAreNoWiderThanTheRoomTheWindowShows) {
    const sq::ItemPanelLayout items = sq::itemPanelLayout(std::vector<float>(103, 700));
    const sq::TwipsRect fits = sq::itemPanelRect(items, 12000, 255);
    EXPECT_EQ(fits.width, 11295);
    EXPECT_EQ(fits.height, 4095) << "no scroll bar";
    const sq::TwipsRect scrolls = sq::itemPanelRect(items, 9000, 255);
    EXPECT_EQ(scrolls.width, 9000);
    EXPECT_EQ(scrolls.height, 4095 + 255) << "room for the scroll bar under the boxes";
    EXPECT_EQ(sq::quantityPanelRect(9000).width, 2295);
    EXPECT_EQ(sq::quantityPanelRect(2000).width, 2000 - 120);
}

}  // namespace
