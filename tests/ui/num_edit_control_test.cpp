// The numeric edit: what it shows, steps and fast steps by keys and buttons, clamping of a user's
// change only, one ValueChanged per change, and typed values and times.
#include "platform/ui/num_edit_control.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QWidget>

namespace sq {
namespace {

class NumEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        surface.resize(300, 100);
        edit.onValueChanged = [this](int index) { changes.push_back(index); };
        surface.show();
    }
    QLineEdit* line() { return edit.widget()->findChild<QLineEdit*>(); }
    QToolButton* button(int which) { return edit.widget()->findChildren<QToolButton*>().at(which); }
    void key(Qt::Key k) { QTest::keyClick(line(), k); }
    void type(const QString& text) {
        line()->setFocus();
        line()->selectAll();
        QTest::keyClicks(line(), text);
    }
    // The y editor of the graph window: "0.0", step 0.1, fast step 5, 25 to 150.
    void levelEditor(double value) {
        edit.setFormat("0.0");
        edit.setStep(0.1);
        edit.setFastStep(5);
        edit.setMinimum(25);
        edit.setMaximum(150);
        edit.setValue(value);
    }

    QWidget surface;
    NumEditControl edit{&surface, 2};
    QLineEdit other{&surface};
    std::vector<int> changes;
};

TEST_F(NumEditTest, showsTheValueInItsFormat) {
    struct Case {
        const char* format;
        double value;
        const char* text;
    } cases[] = {
        {"hh:nn:ss", 0.5, "12:00:00"},
        {"hh:nn:ss", 1 + 2.0 / 24, "02:00:00"},
        {"0.0", 60, "60.0"},
        {"0.0", 85.25, "85.3"},
    };
    for (const Case& c : cases) {
        edit.setFormat(c.format);
        edit.setValue(c.value);
        EXPECT_EQ(edit.Text(), c.text);
        EXPECT_EQ(line()->text().toStdString(), c.text);
    }
}

TEST_F(NumEditTest, arrowsButtonsAndPageKeysStepAndRaiseOneChangeEach) {
    levelEditor(60);
    struct Step {
        const char* by;
        double value;
    };
    std::vector<std::pair<std::function<void()>, Step>> steps = {
        {[&] { key(Qt::Key_Up); }, {"Up", 60.1}},
        {[&] { key(Qt::Key_Down); }, {"Down", 60.0}},
        {[&] { key(Qt::Key_Down); }, {"Down", 59.9}},
        {[&] { key(Qt::Key_PageUp); }, {"Page Up", 64.9}},
        {[&] { key(Qt::Key_PageDown); }, {"Page Down", 59.9}},
        {[&] { QTest::mouseClick(button(0), Qt::LeftButton); }, {"up button", 60.0}},
        {[&] { QTest::mouseClick(button(1), Qt::LeftButton); }, {"down button", 59.9}},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        steps[i].first();
        EXPECT_NEAR(edit.Value(), steps[i].second.value, 1e-9) << steps[i].second.by;
        EXPECT_EQ(changes.size(), i + 1) << steps[i].second.by;
    }
    EXPECT_EQ(changes, std::vector<int>(steps.size(), 2));  // the editor's index
    EXPECT_EQ(edit.Text(), "59.9");

    // A time editor steps by one second and five.
    edit.setFormat("hh:nn:ss");
    edit.setStep(1.0 / 86400);
    edit.setFastStep(5.0 / 86400);
    edit.setMinimum(0);
    edit.setMaximum(1);
    edit.setValue(0.5);
    key(Qt::Key_Up);
    EXPECT_EQ(edit.Text(), "12:00:01");
    key(Qt::Key_PageDown);
    EXPECT_EQ(edit.Text(), "11:59:56");
}

TEST_F(NumEditTest, aUsersChangeIsClampedToTheRangeInEitherOrder) {
    struct Case {
        double minimum, maximum, value;
        Qt::Key key;
        double expected;
        bool raised;
    } cases[] = {
        {25, 150, 149.95, Qt::Key_Up, 150, true},
        {150, 25, 149.95, Qt::Key_Up, 150, true},  // Minimum above Maximum
        {25, 150, 27, Qt::Key_PageDown, 25, true},
        {150, 25, 27, Qt::Key_PageDown, 25, true},
        {25, 150, 25, Qt::Key_Down, 25, false},  // already at the end: no change, no event
        {25, 150, 200, Qt::Key_Up, 150, true},   // a code-set value outside comes back in
    };
    for (const Case& c : cases) {
        levelEditor(c.value);
        edit.setMinimum(c.minimum);
        edit.setMaximum(c.maximum);
        changes.clear();
        key(c.key);
        EXPECT_NEAR(edit.Value(), c.expected, 1e-9) << c.minimum << " " << c.maximum << " " << c.value;
        EXPECT_EQ(changes.size(), c.raised ? 1u : 0u) << c.minimum << " " << c.maximum << " " << c.value;
    }
}

TEST_F(NumEditTest, aValueSetByCodeIsKeptAsGivenAndRaisesNothing) {
    levelEditor(60);
    edit.setValue(200);
    EXPECT_EQ(edit.Value(), 200);
    EXPECT_EQ(edit.Text(), "200.0");
    edit = 10.0;  // the default member
    EXPECT_EQ(edit.Value(), 10);
    edit.setMinimum(140);
    edit.setMaximum(60);
    EXPECT_EQ(edit.Value(), 10);
    EXPECT_TRUE(changes.empty());
}

TEST_F(NumEditTest, typedValuesAreConfirmedByEnterOrByLeavingOnce) {
    levelEditor(60);
    type("72.5");
    EXPECT_TRUE(changes.empty());  // not before it is confirmed
    key(Qt::Key_Return);
    EXPECT_EQ(edit.Value(), 72.5);
    EXPECT_EQ(changes.size(), 1u);
    other.setFocus();  // leaving after Enter confirms nothing more
    QApplication::processEvents();
    EXPECT_EQ(changes.size(), 1u);

    type("80");
    other.setFocus();
    QApplication::processEvents();
    EXPECT_EQ(edit.Value(), 80);
    EXPECT_EQ(changes.size(), 2u);

    type("999");  // clamped
    key(Qt::Key_Enter);
    EXPECT_EQ(edit.Value(), 150);
    type("abc");  // refused: the value shows again
    key(Qt::Key_Return);
    EXPECT_EQ(edit.Value(), 150);
    EXPECT_EQ(edit.Text(), "150.0");
    type("150");  // the same value: no change
    key(Qt::Key_Return);
    EXPECT_EQ(changes.size(), 3u);
}

TEST_F(NumEditTest, aTypedTimeTakesTheLowestValueOfTheRangeWithThatTime) {
    edit.setFormat("hh:nn:ss");
    edit.setMinimum(22.0 / 24);
    edit.setMaximum(1 + 2.0 / 24);
    edit.setValue(22.0 / 24);
    type("01:00:00");
    key(Qt::Key_Return);
    EXPECT_DOUBLE_EQ(edit.Value(), 1 + 1.0 / 24);
    EXPECT_EQ(changes.size(), 1u);
    type("12:00:00");  // outside 22:00 to 02:00: refused
    key(Qt::Key_Return);
    EXPECT_DOUBLE_EQ(edit.Value(), 1 + 1.0 / 24);
    EXPECT_EQ(edit.Text(), "01:00:00");
    type("25:00");
    key(Qt::Key_Return);
    EXPECT_EQ(changes.size(), 1u);
}

}  // namespace
}  // namespace sq
