// Combo lists: the list position is the value, and the click handler runs on every real change.
#include <gtest/gtest.h>

#include <QWidget>

#include "platform/ui/controls.h"
#include "platform/vb_error.h"

namespace sq {
namespace {

struct ComboCase {
    const char* name;
    int start;    // index before the step (-1: none)
    int set;      // index the code sets
    bool raises;  // VbError(380)
    bool runsHandler;
    int end;
};

class ComboCases : public ::testing::TestWithParam<ComboCase> {};

TEST_P(ComboCases, setListIndexFollowsTheClassicRules) {
    const ComboCase& c = GetParam();
    QWidget surface;
    ComboList list(&surface);
    for (const char* item : {"a", "b", "c"}) list.AddItem(item);
    list.setListIndex(c.start);
    int clicks = 0;
    list.onClick = [&] { ++clicks; };
    if (c.raises) {
        try {
            list.setListIndex(c.set);
            FAIL() << "no error";
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), 380);
        }
    } else {
        list.setListIndex(c.set);
    }
    EXPECT_EQ(clicks, c.runsHandler ? 1 : 0);
    EXPECT_EQ(list.ListIndex(), c.end);
}

INSTANTIATE_TEST_SUITE_P(Table, ComboCases,
                         ::testing::Values(ComboCase{"noneToFirst", -1, 0, false, true, 0},
                                           ComboCase{"sameIndexRunsNothing", 1, 1, false, false, 1},
                                           ComboCase{"sameNoneRunsNothing", -1, -1, false, false, -1},
                                           ComboCase{"toNoneRunsHandler", 2, -1, false, true, -1},
                                           ComboCase{"otherIndex", 0, 2, false, true, 2},
                                           ComboCase{"pastEndRaisesAndKeeps", 1, 3, true, false, 1},
                                           ComboCase{"belowNoneRaisesAndKeeps", 0, -2, true, false, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ComboList, fillingSelectsNothingAndClearRunsNoHandler) {
    QWidget surface;
    ComboList list(&surface);
    int clicks = 0;
    list.onClick = [&] { ++clicks; };
    list.AddItem("x");
    list.AddItem("y");
    EXPECT_EQ(list.ListIndex(), -1);
    list.setListIndex(1);
    list.Clear();
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace sq
