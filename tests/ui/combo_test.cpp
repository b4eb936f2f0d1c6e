// Combo lists: the list position is the value, and the click handler runs on every real change.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>
#include <string>
#include <vector>

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

// A window's rule: choosing in one list sets another, whose own handler sets a third; the
// handlers nest and each runs once, in order.
TEST(ComboList, handlerThatSetsAnotherListRunsThatListsHandlerAtOnce) {
    QWidget surface;
    ComboList standard(&surface), exchange(&surface), threshold(&surface);
    for (ComboList* list : {&standard, &exchange, &threshold})
        for (const char* item : {"0", "1", "2"}) list->AddItem(item);
    std::vector<std::string> order;
    standard.onClick = [&] {
        order.push_back("standard");
        exchange.setListIndex(standard.ListIndex());
        order.push_back("standard done");
    };
    exchange.onClick = [&] {
        order.push_back("exchange");
        threshold.setListIndex(2);
    };
    threshold.onClick = [&] { order.push_back("threshold"); };

    standard.setListIndex(1);
    EXPECT_EQ(order, (std::vector<std::string>{"standard", "exchange", "threshold", "standard done"}));
    EXPECT_EQ(exchange.ListIndex(), 1);
    EXPECT_EQ(threshold.ListIndex(), 2);

    // The same choice again changes nothing anywhere.
    order.clear();
    standard.setListIndex(1);
    EXPECT_TRUE(order.empty());
}

TEST(ComboList, handlerMaySetItsOwnListAgain) {
    QWidget surface;
    ComboList list(&surface);
    for (const char* item : {"a", "b", "c"}) list.AddItem(item);
    std::vector<int> seen;
    list.onClick = [&] {
        seen.push_back(list.ListIndex());
        if (list.ListIndex() == 2) list.setListIndex(0);  // a rule that refuses the last entry
    };
    list.setListIndex(2);
    EXPECT_EQ(seen, (std::vector<int>{2, 0}));
    EXPECT_EQ(list.ListIndex(), 0);
}

// A choice that changes the item runs the click handler; choosing the item shown again runs
// onChooseAgain, also when code selected that item before.
TEST(ComboList, userChoiceRunsTheClickOnChangeAndChooseAgainOtherwise) {
    QWidget surface;
    ComboList list(&surface);
    for (const char* item : {"a", "b", "c"}) list.AddItem(item);
    std::string seen;
    list.onClick = [&] { seen += "click " + list.Text() + "; "; };
    list.onChooseAgain = [&] { seen += "again " + list.Text() + "; "; };
    list.choose(1);
    list.choose(1);
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(list.Text(), "b");
    list.setListIndex(2);
    list.choose(2);
    list.choose(0);
    EXPECT_EQ(seen, "click b; again b; click c; again c; click a; ");
}

// A click handler that puts the list back to another item: the choice is not chosen again.
TEST(ComboList, aChoiceThatTheHandlerOverridesIsNotChosenAgain) {
    QWidget surface;
    ComboList list(&surface);
    for (const char* item : {"a", "b", "c"}) list.AddItem(item);
    list.setListIndex(0);
    int again = 0;
    list.onClick = [&] {
        if (list.ListIndex() == 2) list.setListIndex(0);
    };
    list.onChooseAgain = [&] { ++again; };
    list.choose(2);
    EXPECT_EQ(list.ListIndex(), 0);
    EXPECT_EQ(again, 0);
}

TEST(ComboList, addingAndRemovingKeepTheSelectedItem) {
    QWidget surface;
    ComboList list(&surface);
    for (const char* item : {"a", "b", "c"}) list.AddItem(item);
    list.setListIndex(1);
    int clicks = 0;
    list.onClick = [&] { ++clicks; };
    list.AddItem("first", 0);
    EXPECT_EQ(list.ListIndex(), 2);
    EXPECT_EQ(list.Text(), "b");
    list.RemoveItem(0);
    EXPECT_EQ(list.Text(), "b");
    list.RemoveItem(1);  // the selected one
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(clicks, 0);
    EXPECT_THROW(list.RemoveItem(5), VbError);
    EXPECT_THROW((void)list.List(2), VbError);
}

void typeKey(QWidget* target, Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &release);
}

TEST(ComboList, listOnlySwallowsTypingButTypeableTakesIt) {
    QWidget surface;
    ComboList listOnly(&surface, ComboStyle::ListOnly);
    for (const char* item : {"apple", "banana"}) listOnly.AddItem(item);
    int clicks = 0;
    listOnly.onClick = [&] { ++clicks; };
    typeKey(listOnly.widget(), Qt::Key_B, "b");  // Qt would jump to "banana"
    EXPECT_EQ(listOnly.ListIndex(), -1);
    EXPECT_EQ(clicks, 0);
    EXPECT_THROW(listOnly.setText("cherry"), VbError);
    listOnly.setText("banana");
    EXPECT_EQ(listOnly.ListIndex(), 1);

    ComboList typeable(&surface, ComboStyle::Typeable);
    typeable.setText("12");
    typeable.AddItem("30");  // adding keeps the typed text and selects nothing
    EXPECT_EQ(typeable.Text(), "12");
    EXPECT_EQ(typeable.ListIndex(), -1);
    int changes = 0;
    typeable.onChange = [&] { ++changes; };
    surface.show();
    QWidget* edit = typeable.widget()->focusProxy() ? typeable.widget()->focusProxy() : typeable.widget();
    std::vector<int> keys;
    typeable.onKeyPress = [&](int& key) { keys.push_back(key); };
    typeKey(edit, Qt::Key_3, "3");
    typeKey(typeable.widget(), Qt::Key_4, "4");
    EXPECT_EQ(typeable.Text(), "1234");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(keys, (std::vector<int>{'3', '4'}));  // each key once, wherever it was delivered
}

TEST(ComboList, typeableKeepsItsTextWhenTheFocusLeaves) {
    QWidget surface;
    ComboList typeable(&surface, ComboStyle::Typeable);
    typeable.AddItem("OFF");
    typeable.setText("off");
    int clicks = 0;
    typeable.onClick = [&] { ++clicks; };
    QLineEdit* edit = typeable.widget()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    emit edit->editingFinished();  // what leaving the line does
    EXPECT_EQ(typeable.Text(), "off") << "Qt would put the item \"OFF\" in its place";
    EXPECT_EQ(typeable.ListIndex(), -1);
    EXPECT_EQ(clicks, 0);
}

}  // namespace
}  // namespace sq
