// Toolbar, tree, list view, status bar and splitter bar, and the twips conversions.
#include "platform/ui/common_controls.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFont>
#include <QMouseEvent>
#include <QStyle>
#include <QWidget>

#include "platform/ui/twips.h"
#include "platform/vb_error.h"
#include "support/pixels.h"
#include "support/test_support.h"

namespace sq {
namespace {

using sqtest::errorOf;

TEST(ToolBar, buttonsByPositionAndKeyAndADisabledToolbarIgnoresClicks) {
    QWidget surface;
    ToolBar bar(&surface);
    for (const char* key : {"Open", "COMSET", "SettingPanel"}) bar.addButton(key, key);
    std::vector<std::string> clicked;
    bar.onButtonClick = [&](int index, const std::string& key) {
        clicked.push_back(std::to_string(index) + key);
    };

    bar.click(2);
    bar.click("SettingPanel");
    bar.setButtonEnabled(3, false);
    bar.click(3);
    EXPECT_FALSE(bar.buttonEnabled(3));
    bar.setButtonEnabled("SettingPanel", true);
    bar.setEnabled(false);
    bar.click(1);
    EXPECT_EQ(clicked, (std::vector<std::string>{"2COMSET", "3SettingPanel"}));

    bar.setButtonToolTip(1, "Open a data file");
    EXPECT_EQ(bar.buttonToolTip(1), "Open a data file");
    EXPECT_EQ(bar.indexOf("COMSET"), 2);
    EXPECT_EQ(bar.indexOf("Nothing"), 0);
    EXPECT_EQ(errorOf([&] { bar.setButtonEnabled(4, true); }), 35600);
    EXPECT_EQ(errorOf([&] { bar.setButtonEnabled("Nothing", true); }), 35601);
}

// Black-and-white icons keep their dark lines when Qt merely greys them; every disabled button must
// look faint, whatever colours its icon has.
TEST(ToolBar, aDisabledButtonLooksFaintAndGreyWhateverItsIcon) {
    QWidget surface;
    surface.resize(600, 80);
    ToolBar bar(&surface);
    const std::pair<const char*, QStyle::StandardPixmap> icons[] = {
        {"black lines", QStyle::SP_FileDialogDetailedView},
        {"black squares", QStyle::SP_FileDialogListView},
        {"coloured", QStyle::SP_BrowserReload},
        {"grey", QStyle::SP_TrashIcon},
        {"dark grey", QStyle::SP_DesktopIcon},
    };
    for (const auto& [name, icon] : icons) bar.addButton(name, {}, surface.style()->standardIcon(icon));
    bar.addButton("caption", "Print");
    surface.show();
    QCoreApplication::processEvents();
    const QColor background = bar.widget()->palette().color(QPalette::Window);
    for (int index = 1; index <= bar.buttonCount(); ++index) {
        SCOPED_TRACE(bar.buttonKey(index));
        QWidget& button = *bar.buttonWidget(index);
        EXPECT_FALSE(sqtest::looksFaint(sqtest::contrastOf(button, background)));
        bar.setButtonEnabled(index, false);
        QCoreApplication::processEvents();
        const sqtest::Contrast disabled = sqtest::contrastOf(button, background);
        EXPECT_TRUE(sqtest::looksFaint(disabled)) << disabled.lightness << " " << disabled.saturation;
        bar.setButtonEnabled(index, true);
    }
    // An icon given later gets the same look.
    bar.setButtonIcon(1, surface.style()->standardIcon(QStyle::SP_FileDialogListView));
    bar.setButtonEnabled(1, false);
    QCoreApplication::processEvents();
    EXPECT_TRUE(sqtest::looksFaint(sqtest::contrastOf(*bar.buttonWidget(1), background)));
}

TEST(TreeView, keyedNodesWithParentsByKeyAndUniqueKeys) {
    QWidget surface;
    TreeView tree(&surface);
    EXPECT_EQ(tree.addNode("", "Root1", "RTC"), 1);
    EXPECT_EQ(tree.addNode("", "Root3", "Setting"), 2);
    EXPECT_EQ(tree.addNode("Root3", "Child1", "Lcd contrast"), 3);
    EXPECT_EQ(tree.parentKey(3), "Root3");

    // A second build fails on its first key and adds nothing.
    EXPECT_EQ(errorOf([&] { tree.addNode("", "Root1", "RTC"); }), 35602);
    EXPECT_EQ(errorOf([&] { tree.addNode("Missing", "Child9", "x"); }), 35601);
    EXPECT_EQ(tree.nodeCount(), 3);

    std::vector<int> clicks;
    tree.onNodeClick = [&](int index) { clicks.push_back(index); };
    tree.clickNode(3);
    tree.setNodeText(3, "Contraste");
    EXPECT_EQ(tree.nodeText(3), "Contraste");
    EXPECT_EQ(clicks, std::vector<int>{3});
    EXPECT_EQ(errorOf([&] { (void)tree.nodeText(4); }), 35600);
}

TEST(ListView, itemsInsertedInFrontAreNumberedFromOne) {
    QWidget surface;
    ListView list(&surface);
    list.addItem(1, "", "KM-300:1");
    list.addItem(1, "", "QVX 410:2");
    list.addItem(1, "", "RAV 820:3");
    EXPECT_EQ(list.itemText(1), "RAV 820:3");
    EXPECT_EQ(list.itemText(3), "KM-300:1");
    std::vector<int> clicks;
    list.onItemClick = [&](int index) { clicks.push_back(index); };
    list.clickItem(3);
    EXPECT_EQ(clicks, std::vector<int>{3});
    EXPECT_EQ(errorOf([&] { list.addItem(5, "", "x"); }), 35600);
}

TEST(StatusBar, numberedPanels) {
    QWidget surface;
    StatusBar bar(&surface, 4);
    bar.setPanelText(3, "COM  1");
    bar.setPanelWidth(2, 3000);
    EXPECT_EQ(bar.panelText(3), "COM  1");
    EXPECT_NEAR(bar.panelWidth(2), 3000, 15);
    EXPECT_EQ(errorOf([&] { bar.setPanelText(5, "x"); }), 35600);
    EXPECT_EQ(errorOf([&] { bar.setPanelText(0, "x"); }), 35600);
}

void sendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

// A window's drag rule over the bar: candidate = bar left + X, kept between 2200 and 8000 twips.
TEST(SplitterBar, dragReportsTwipsAndTheWindowClampsTheMove) {
    QWidget surface;
    surface.resize(800, 400);
    SplitterBar bar(&surface, SplitterBar::Orientation::Vertical);
    bar.Move(3000, 0, 120, 3000);
    bar.onMouseMove = [&](int button, int, double x, double) {
        if (bar.dragging()) bar.setLeft(clampSplit(bar.Left() + x, 2200, 8000));
    };
    double pixelsPerTwip = 1.0 / twipsPerPixel(screenDpi());
    sendMouse(bar.widget(), QEvent::MouseButtonPress, {2, 5}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(bar.dragging());
    sendMouse(bar.widget(), QEvent::MouseMove, {static_cast<int>(1500 * pixelsPerTwip), 5}, Qt::NoButton,
              Qt::LeftButton);
    EXPECT_NEAR(bar.Left(), 4500, 30);
    sendMouse(bar.widget(), QEvent::MouseMove, {static_cast<int>(-9000 * pixelsPerTwip), 5}, Qt::NoButton,
              Qt::LeftButton);
    EXPECT_NEAR(bar.Left(), 2200, 15);
    sendMouse(bar.widget(), QEvent::MouseButtonRelease, {0, 5}, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(bar.dragging());
    // Moves without the button held change nothing.
    sendMouse(bar.widget(), QEvent::MouseMove, {static_cast<int>(3000 * pixelsPerTwip), 5}, Qt::NoButton,
              Qt::NoButton);
    EXPECT_NEAR(bar.Left(), 2200, 15);
}

TEST(Twips, conversionsAtNinetySixAndOtherDpi) {
    EXPECT_DOUBLE_EQ(twipsPerPixel(96), 15.0);
    EXPECT_EQ(twipsToPixels(13665, 96), 911);
    EXPECT_EQ(twipsToPixels(7, 96), 0);
    EXPECT_EQ(twipsToPixels(8, 96), 1);
    EXPECT_EQ(twipsToPixels(1440, 144), 144);
    EXPECT_DOUBLE_EQ(pixelsToTwips(100, 120), 1200.0);
    EXPECT_DOUBLE_EQ(clampSplit(100, 2200, 8000), 2200);
    EXPECT_DOUBLE_EQ(clampSplit(9000, 2200, 8000), 8000);
    EXPECT_DOUBLE_EQ(clampSplit(5000, 2200, 8000), 5000);
    EXPECT_DOUBLE_EQ(clampSplit(5000, 2200, 1000), 2200);  // a window narrower than its bounds
}

TEST(Twips, digitZeroWidthsGrowWithTheCount) {
    QFont font;
    double nine = zerosWidthTwips(font, 9);
    double twenty = zerosWidthTwips(font, 20);
    EXPECT_GT(nine, 0);
    EXPECT_NEAR(twenty / nine, 20.0 / 9.0, 0.05);
    EXPECT_EQ(zerosWidthTwips(font, 0), 0);
}

}  // namespace
}  // namespace sq
