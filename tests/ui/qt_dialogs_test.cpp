// The production message box, built but never shown.
#include "platform/ui/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLayout>
#include <QMessageBox>

namespace sq {
namespace {

// A short message in a box titled "Sonoquant" was so narrow that a window manager showed its title
// as "So...ant".
TEST(QtDialogsTest, aMessageBoxIsWideEnoughForItsTitleBesideTheFramesButtons) {
    for (const std::string& title : {std::string(), std::string("Histogram printing of the record")}) {
        MessageRequest request;
        request.text = "OK !!!";
        request.title = title;
        const auto box = makeMessageBox(request);
        QFont bold = box->font();
        bold.setBold(true);
        const int needed = QFontMetrics(bold).horizontalAdvance(box->windowTitle()) + kTitleButtonsRoom;
        box->layout()->activate();
        EXPECT_GE(box->layout()->totalMinimumSize().width(), needed) << box->windowTitle().toStdString();
    }
}

}  // namespace
}  // namespace sq
