// A top-level window's frame: mended while a window manager frames the window, and kept on the screen.
#include "platform/ui/frame_geometry.h"

#include <gtest/gtest.h>

using namespace sq;

TEST(FrameGeometryTest, aFrameReadSmallerThanItsClientCountsAsNoBorder) {
    const QRect client(345, 102, 911, 750);
    // A frame window the manager has created but not sized yet: 1 x 1 at the frame's corner.
    EXPECT_EQ(outerFrame(QRect(344, 82, 1, 1), client), QRect(344, 82, 912, 770));
    EXPECT_EQ(outerFrame(QRect(0, 0, 1, 1).translated(345, 102), client), client);
    EXPECT_EQ(outerFrame(QRect(), client), client);
    // A framed window keeps its borders.
    EXPECT_EQ(outerFrame(QRect(344, 82, 913, 771), client), QRect(344, 82, 913, 771));
}

TEST(FrameGeometryTest, aFrameIsKeptOnTheAvailableArea) {
    const QRect area(0, 0, 1600, 900);
    EXPECT_EQ(fitInside(QRect(0, 0, 1821, 1499), area), QRect(0, 0, 1600, 900));
    EXPECT_EQ(fitInside(QRect(900, 400, 911, 750), area), QRect(689, 150, 911, 750));
    EXPECT_EQ(fitInside(QRect(-20, -5, 911, 750), area), QRect(0, 0, 911, 750));
    EXPECT_EQ(fitInside(QRect(100, 50, 911, 750), area), QRect(100, 50, 911, 750));
    EXPECT_EQ(fitInside(QRect(100, 50, 911, 750), QRect(0, 30, 1024, 570)), QRect(100, 30, 911, 570));
    EXPECT_EQ(fitInside(QRect(5, 5, 300, 200), QRect()), QRect(5, 5, 300, 200));
}
