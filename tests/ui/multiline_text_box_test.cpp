// The multi-line text box: line breaks in and out, the change handler, a locked box.
#include "platform/ui/multiline_text_box.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QWidget>

namespace sq {
namespace {

TEST(MultiLineTextBoxTest, linesBreakAtAnyLineEndAndComeBackWithCrLf) {
    QWidget surface;
    MultiLineTextBox box(&surface);
    int changes = 0;
    box.onChange = [&] { ++changes; };
    box.setText("one\r\ntwo\rthree\nfour");
    EXPECT_EQ(static_cast<QPlainTextEdit*>(box.widget())->blockCount(), 4);
    EXPECT_EQ(box.Text(), "one\r\ntwo\r\nthree\r\nfour");
    EXPECT_EQ(changes, 1);
    box.setText("one\ntwo\nthree\r\nfour");  // the same text: nothing changes
    EXPECT_EQ(changes, 1);
    box.type("!");
    EXPECT_EQ(box.Text(), "one\r\ntwo\r\nthree\r\nfour!");
    EXPECT_EQ(changes, 2);

    box.setLocked(true);
    box.type("?");
    EXPECT_EQ(box.Text(), "one\r\ntwo\r\nthree\r\nfour!");
    box.setText("Normal mode");  // code still sets a locked box
    EXPECT_EQ(box.Text(), "Normal mode");
    EXPECT_EQ(changes, 3);
}

TEST(MultiLineTextBoxTest, aLongLineWrapsAtTheBoxWidth) {
    QWidget surface;
    MultiLineTextBox box(&surface);
    box.Move(0, 0, 3000, 855);
    surface.show();
    box.setText(
        "Click anywhere on the plot area and drag to pan the graph both horizontally and vertically.");
    auto* edit = static_cast<QPlainTextEdit*>(box.widget());
    EXPECT_EQ(edit->blockCount(), 1);
    EXPECT_GT(edit->document()->documentLayout()->documentSize().height(), 1);  // in lines
    EXPECT_EQ(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

}  // namespace
}  // namespace sq
