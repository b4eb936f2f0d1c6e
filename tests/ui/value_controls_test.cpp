// Check boxes, option groups and text boxes: handlers run on changes made by code, an option group
// can be all clear, a text box's maximum length binds typing only.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include "platform/ui/controls.h"
#include "platform/vb_error.h"
#include "support/pixels.h"

namespace sq {
namespace {

void sendKey(QWidget* target, Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
}

TEST(CheckBox, holdsZeroOneTwoAndRunsClickOnEveryChangeFromCode) {
    QWidget surface;
    CheckBox box(&surface, "Enabled");
    std::vector<int> seen;
    box.onClick = [&] { seen.push_back(box.Value()); };
    box.setValue(1);
    box.setValue(1);  // no change, no handler
    box.setValue(2);
    box.setValue(0);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 0}));
    auto* qt = static_cast<QCheckBox*>(box.widget());
    box.setValue(2);
    EXPECT_EQ(qt->checkState(), Qt::PartiallyChecked);

    try {
        box.setValue(3);
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), 380);
    }
    EXPECT_EQ(box.Value(), 2);
}

TEST(CheckBox, userClicksToggleBetweenCheckedAndClear) {
    QWidget surface;
    CheckBox box(&surface);
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    box.setValue(2);
    box.click();
    EXPECT_EQ(box.Value(), 1);
    box.click();
    EXPECT_EQ(box.Value(), 0);
    box.setEnabled(false);
    box.click();
    EXPECT_EQ(box.Value(), 0);
    EXPECT_EQ(clicks, 3);
}

TEST(OptionGroup, startsWithNoneSelectedAndCanBeClearedAgain) {
    QWidget surface;
    OptionGroup group;
    for (const char* caption : {"LAVG", "Leq", "LCPK", "LZPK"}) group.add(&surface, caption);
    EXPECT_EQ(group.selected(), -1);
    std::vector<int> clicks;
    group.onClick = [&](int index) { clicks.push_back(index); };
    int ownClicks = 0;
    group[2].onClick = [&] { ++ownClicks; };

    group[2].setValue(true);
    group[2].setValue(true);  // already selected
    EXPECT_TRUE(group[2].Value());
    group[1].click();  // a user's click moves the selection
    EXPECT_FALSE(group[2].Value());
    EXPECT_TRUE(group[1].Value());
    group[3].setValue(false);  // clearing an unselected one changes nothing
    EXPECT_EQ(group.selected(), 1);
    group[1].setValue(false);
    EXPECT_EQ(group.selected(), -1);
    for (int i = 0; i < group.count(); ++i) {
        EXPECT_FALSE(group[i].Value());
        EXPECT_FALSE(static_cast<QAbstractButton*>(group[i].widget())->isChecked());
    }
    EXPECT_EQ(clicks, (std::vector<int>{2, 1}));
    EXPECT_EQ(ownClicks, 1);
    EXPECT_THROW(group.select(4), VbError);
    EXPECT_THROW(group[4], VbError);
}

TEST(TextBox, maximumLengthLimitsTypingButNotCode) {
    QWidget surface;
    TextBox box(&surface);
    box.setMaxLength(4);
    box.setText("longer than four");
    EXPECT_EQ(box.Text(), "longer than four");

    box.setText("ab");
    box.type("cdef");
    EXPECT_EQ(box.Text(), "abcd");
    box.type("\b");  // Backspace still works at the limit
    box.type("x");
    EXPECT_EQ(box.Text(), "abcx");

    // A real key event at the limit is swallowed too; a replaced selection makes room.
    auto* edit = static_cast<QLineEdit*>(box.widget());
    sendKey(edit, Qt::Key_Z, "z");
    EXPECT_EQ(box.Text(), "abcx");
    edit->selectAll();
    sendKey(edit, Qt::Key_Z, "z");
    EXPECT_EQ(box.Text(), "z");
}

TEST(TextBox, keyFiltersAndKeyPressHandler) {
    QWidget surface;
    TextBox digits(&surface);
    digits.setKeyFilter(KeyFilter::DigitsOnly);
    digits.type("1a2.3\b");
    EXPECT_EQ(digits.Text(), "12");

    TextBox locked(&surface);
    locked.setKeyFilter(KeyFilter::SwallowAll);
    locked.type("abc\b");
    EXPECT_EQ(locked.Text(), "");

    TextBox upper(&surface);
    std::vector<int> codes;
    upper.onKeyPress = [&](int& key) {
        codes.push_back(key);
        if (key == 13) key = 0;                   // Enter is swallowed
        if (key >= 'a' && key <= 'z') key -= 32;  // typed letters become capitals
    };
    int changes = 0;
    upper.onChange = [&] { ++changes; };
    upper.type("ab\r");
    EXPECT_EQ(upper.Text(), "AB");
    EXPECT_EQ(codes, (std::vector<int>{'a', 'b', 13}));
    EXPECT_EQ(changes, 2);
    upper.setText("set by code");
    EXPECT_EQ(changes, 3);
}

TEST(TextBox, pasteBeyondTheLimitIsCut) {
    QWidget surface;
    TextBox box(&surface);
    box.setMaxLength(5);
    auto* edit = static_cast<QLineEdit*>(box.widget());
    edit->setText("ab");
    edit->setCursorPosition(2);
    // What a paste does: an edit that the key filter never saw.
    edit->insert("cdefgh");
    emit edit->textEdited(edit->text());
    EXPECT_EQ(box.Text(), "abcde");
}

TEST(Panel3D, takesAnySizeWhateverItsCaptionAndCarriesChildControls) {
    QWidget surface;
    Panel3D panel(&surface, "Memory Information of the instrument, a long title");
    panel.Move(0, 0, 300, 240);
    EXPECT_NEAR(panel.Width(), 300, 15);
    Label inside(panel.widget(), "Total");
    inside.Move(60, 30, 200, 200);
    EXPECT_NEAR(inside.Left(), 60, 15);
    EXPECT_EQ(inside.widget()->parentWidget(), panel.widget());
}

// The setting, help and language windows place buttons flush with their panel's edge; each must
// show its own border whole beside the panel's, and a button away from the edges its full size.
TEST(CommandButton, flushWithItsPanelsEdgeItIsDrawnWholeInsideThePanelsBorder) {
    struct Case {
        const char* what;
        TwipsRect panel;
        TwipsRect button;
        bool fullSize = false;  // clear of the panel's border: drawn out to its own edges
    };
    const Case cases[] = {
        {"single-value Set, right edge", {0, 0, 4575, 1575}, {3000, 240, 1575, 1095}},
        {"help Exit, top and right edges", {0, 0, 4455, 1025}, {3000, 0, 1455, 975}},
        {"language Exit, right edge", {0, 0, 4815, 2055}, {3600, 1080, 1215, 855}},
        {"over every edge", {0, 0, 3000, 1500}, {-15, -15, 3030, 1530}},
        {"away from the edges", {0, 0, 3000, 1500}, {300, 300, 1200, 600}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget surface;
        surface.resize(400, 200);
        Panel3D panel(&surface);
        panel.Move(c.panel);
        CommandButton button(panel.widget(), "Set");
        button.Move(c.button);
        surface.show();
        EXPECT_TRUE(sqtest::drawnClearOfPanelBorder(*button.widget()));
        EXPECT_NEAR(button.Width(), c.button.width, 15) << "its place and size stay as given";
        if (c.fullSize) {
            EXPECT_TRUE(sqtest::drawnToItsOwnEdges(*button.widget()));
        }
    }
    // A panel without a bevel has no border to keep clear of: the button fills its place.
    QWidget surface;
    Panel3D bare(&surface, {}, Panel3D::Bevel::None);
    bare.Move(0, 0, 3000, 1500);
    CommandButton button(bare.widget(), "Set");
    button.Move(1500, 0, 1500, 600);
    surface.show();
    QCoreApplication::processEvents();
    const QImage picture = bare.widget()->grab().toImage();
    // The panel's last column: the button's border beside it, the panel's background under it.
    const int right = bare.widget()->width() - 1;
    const int under = bare.widget()->height() - 20;
    ASSERT_GT(under, button.widget()->geometry().bottom());
    ASSERT_TRUE(picture.valid(right, under));
    EXPECT_NE(picture.pixel(right, 20), picture.pixel(right, under));
}

}  // namespace
}  // namespace sq
