// Windows: load on reference, the open flag's timing, modal Show, Unload from inside a handler,
// MDI children and the resize handler.
#include "platform/ui/window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "platform/runtime.h"
#include "platform/ui/controls.h"
#include "platform/ui/twips.h"
#include "platform/vb_error.h"
#include "support/stand_in_window.h"

namespace sq {
namespace {

constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;

// Open flags as the program's flag table holds them (16-bit, True = -1).
struct Flags {
    int16_t RTCFrmOpen = 0;
    int16_t LEDAlarmFrmOpen = 0;
    int16_t ComPortSetFrmOpen = 0;
    int16_t DataListFrmOpen = 0;
    int16_t Setting410PanelFrmOpen = 0;
};
Flags g_flags;
Flags& flags() {
    return g_flags;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { g_flags = {}; }
    void TearDown() override { windows().reset(); }
};

// A small real window: a button whose click unloads the window and then still touches it.
class ClockWindow : public Window {
public:
    static constexpr const char* kName = "RTCFrm";
    ClockWindow() : Window(kName, WindowKind::TopLevel, &flags().RTCFrmOpen) {
        ExitBtn.onClick = [this] {
            Unload();
            afterUnload = ExitBtn.Caption();  // the window and its controls are still alive here
        };
    }
    ~ClockWindow() override { ++destroyed; }

    CommandButton ExitBtn{surface(), "Exit"};
    std::vector<int16_t> flagInLoad;
    std::vector<int16_t> flagInUnload;
    std::string afterUnload;
    static inline int destroyed = 0;

protected:
    void Form_Load() override { flagInLoad.push_back(flags().RTCFrmOpen); }
    void Form_Unload() override { flagInUnload.push_back(flags().RTCFrmOpen); }
};

TEST_F(WindowTest, referringToAWindowLoadsItHiddenWithTheFlagSetFromTheStartOfLoad) {
    auto log = std::make_shared<std::vector<std::string>>();
    registerStandIn("LEDAlarmFrm", &flags().LEDAlarmFrmOpen, log);
    EXPECT_FALSE(windows().isLoaded("LEDAlarmFrm"));

    Window& w = windows().window("LEDAlarmFrm");
    auto& standIn = static_cast<StandInWindow&>(w);
    EXPECT_TRUE(w.isLoaded());
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(flags().LEDAlarmFrmOpen, kTrue);
    EXPECT_EQ(standIn.calls, std::vector<std::string>{"load:-1"});

    // A second reference is the same instance and runs no second load.
    EXPECT_EQ(&windows().window("LEDAlarmFrm"), &w);
    EXPECT_EQ(*log, std::vector<std::string>{"LEDAlarmFrm load"});

    w.Show();
    EXPECT_TRUE(w.Visible());
    windows().unload("LEDAlarmFrm");
    EXPECT_EQ(standIn.calls, (std::vector<std::string>{"load:-1", "show", "unload:-1"}));
    EXPECT_EQ(flags().LEDAlarmFrmOpen, kFalse);
    EXPECT_FALSE(windows().isLoaded("LEDAlarmFrm"));
    EXPECT_EQ(*log, (std::vector<std::string>{"LEDAlarmFrm load", "LEDAlarmFrm unload"}));

    EXPECT_THROW(windows().window("NoSuchFrm"), VbError);
}

TEST_F(WindowTest, unloadFromInsideTheWindowsOwnHandlerDefersDeletion) {
    ClockWindow::destroyed = 0;
    ClockWindow& w = form<ClockWindow>();
    EXPECT_EQ(w.flagInLoad, std::vector<int16_t>{kTrue});
    w.Show();
    w.ExitBtn.click();
    EXPECT_EQ(w.afterUnload, "Exit");
    EXPECT_EQ(w.flagInUnload, std::vector<int16_t>{kTrue});
    EXPECT_EQ(flags().RTCFrmOpen, kFalse);
    EXPECT_EQ(ClockWindow::destroyed, 0);
    EXPECT_EQ(windows().pendingDeletes(), 1u);
    QCoreApplication::processEvents();
    EXPECT_EQ(ClockWindow::destroyed, 1);
    EXPECT_EQ(windows().pendingDeletes(), 0u);

    // The next reference meets a fresh window.
    ClockWindow& again = form<ClockWindow>();
    EXPECT_EQ(again.flagInLoad.size(), 1u);
    EXPECT_TRUE(again.afterUnload.empty());
}

TEST_F(WindowTest, deletionWaitsForTheOutermostHandlerEvenAcrossEventLoops) {
    ClockWindow::destroyed = 0;
    ClockWindow& w = form<ClockWindow>();
    bool aliveAfterEvents = false;
    w.ExitBtn.onClick = [&] {
        w.Unload();
        DoEvents();  // a wait inside the handler runs the event loop
        aliveAfterEvents = ClockWindow::destroyed == 0 && w.ExitBtn.Caption() == "Exit";
    };
    w.ExitBtn.click();
    EXPECT_TRUE(aliveAfterEvents);
    QCoreApplication::processEvents();
    EXPECT_EQ(ClockWindow::destroyed, 1);
}

TEST_F(WindowTest, userClosingAWindowUnloadsIt) {
    ClockWindow& w = form<ClockWindow>();
    w.Show();
    w.surface()->close();
    EXPECT_EQ(flags().RTCFrmOpen, kFalse);
    EXPECT_FALSE(windows().isLoaded(ClockWindow::kName));
}

TEST_F(WindowTest, modalShowIsAnsweredByTheTestHookWithoutBlocking) {
    registerStandIn("ComPortSetFrm", &flags().ComPortSetFrmOpen, nullptr, WindowKind::TopLevel);
    std::vector<std::string> seen;
    windows().setModalHook([&](Window& w) {
        seen.push_back(w.name() + (w.Visible() ? " visible" : " hidden"));
        w.Unload();
    });
    windows().window("ComPortSetFrm").Show(ShowMode::Modal);
    EXPECT_EQ(seen, std::vector<std::string>{"ComPortSetFrm visible"});
    EXPECT_EQ(flags().ComPortSetFrmOpen, kFalse);
}

TEST_F(WindowTest, modalShowKeepsTimersRunningUntilTheWindowCloses) {
    registerStandIn("ComPortSetFrm", &flags().ComPortSetFrmOpen, nullptr, WindowKind::TopLevel);
    Window& w = windows().window("ComPortSetFrm");
    Timer poll([] {}, 5);
    poll.setEnabled(true);
    QTimer::singleShot(150, [&] { w.Unload(); });
    w.Show(ShowMode::Modal);
    EXPECT_FALSE(w.isLoaded());
    EXPECT_GE(poll.tickCount(), 5u);
    poll.setEnabled(false);
}

// The window system must see a window shown modally for the first time shown once, and modal from
// the start: a window hidden and shown again while the window manager is still framing it may
// never be mapped.
TEST_F(WindowTest, aWindowShownModallyIsShownOnceAndModalFromTheStart) {
    registerStandIn("ComPortSetFrm", &flags().ComPortSetFrmOpen, nullptr, WindowKind::TopLevel);
    Window& w = windows().window("ComPortSetFrm");
    struct ShowLog : QObject {
        std::vector<std::string> seen;
        bool eventFilter(QObject* watched, QEvent* event) override {
            const auto* widget = static_cast<QWidget*>(watched);
            if (event->type() == QEvent::Show)
                seen.push_back(widget->windowModality() == Qt::ApplicationModal ? "shown modal" : "shown");
            if (event->type() == QEvent::Hide) seen.push_back("hidden");
            return false;
        }
    } log;
    w.surface()->window()->installEventFilter(&log);
    QTimer::singleShot(50, [&] { w.Unload(); });
    w.Show(ShowMode::Modal);
    EXPECT_EQ(log.seen, (std::vector<std::string>{"shown modal", "hidden"}));
}

TEST_F(WindowTest, mdiChildrenLiveInTheFramesArea) {
    Window frame("Panel", WindowKind::MdiFrame);
    ASSERT_NE(windows().mdiArea(), nullptr);
    EXPECT_EQ(windows().mdiArea(), frame.mdiArea());
    registerStandIn("DataListFrm", &flags().DataListFrmOpen);
    registerStandIn("Setting410PanelFrm", &flags().Setting410PanelFrmOpen, nullptr, WindowKind::TopLevel);
    frame.Load();
    frame.Show();

    Window& list = windows().window("DataListFrm");
    list.setWindowState(WindowState::Maximized);
    list.Show();
    ASSERT_EQ(frame.mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(frame.mdiArea()->subWindowList().front()->widget(), list.surface());
    EXPECT_EQ(list.windowState(), WindowState::Maximized);

    Window& panel = windows().window("Setting410PanelFrm");
    panel.Show();
    EXPECT_TRUE(panel.surface()->isWindow());
    EXPECT_EQ(frame.mdiArea()->subWindowList().size(), 1);

    windows().unloadAll();
    EXPECT_EQ(flags().DataListFrmOpen, kFalse);
    EXPECT_EQ(flags().Setting410PanelFrmOpen, kFalse);
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame.mdiArea()->subWindowList().empty());
}

// A child with a minimum size, as the program's child windows have, that counts its resizes.
class MinimumChild : public Window {
public:
    explicit MinimumChild(const std::string& name) : Window(name, WindowKind::MdiChild) {
        setMinimumSizeTwips(5600, 4900);
    }
    std::vector<QSize> sizes;

protected:
    void Form_Resize() override { sizes.push_back(surface()->size()); }
};

class MdiStateTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        frame.Load();
        frame.Show();
        frame.Move(0, 0, 18000, 12000);
    }
    MinimumChild& openMaximised(const std::string& name) {
        auto& child = static_cast<MinimumChild&>(adoptChild(name));
        child.setWindowState(WindowState::Maximized);
        child.Show();
        settle();
        return child;
    }
    Window& adoptChild(const std::string& name) {
        windows().registerWindow(name, [name] { return std::make_unique<MinimumChild>(name); });
        return windows().window(name);
    }
    // Runs what the toolkit posted, and what that posted in turn.
    static void settle() {
        for (int round = 0; round < 3; ++round) QCoreApplication::processEvents();
    }
    [[nodiscard]] QSize areaSize() const { return frame.mdiArea()->viewport()->size(); }

    Window frame{"Panel", WindowKind::MdiFrame};
};

TEST_F(MdiStateTest, aMaximisedChildStaysMaximisedBehindAnotherAndComesBackMaximisedWhenThatOneCloses) {
    MinimumChild& list = openMaximised("DataListFrm");
    ASSERT_EQ(list.windowState(), WindowState::Maximized);
    list.sizes.clear();

    MinimumChild& files = openMaximised("FileListFrm");
    EXPECT_EQ(files.windowState(), WindowState::Maximized);
    EXPECT_EQ(list.windowState(), WindowState::Maximized);

    files.Unload();
    settle();
    EXPECT_EQ(frame.mdiArea()->currentSubWindow(), list.surface()->parentWidget());
    EXPECT_EQ(list.windowState(), WindowState::Maximized);
    EXPECT_EQ(list.surface()->parentWidget()->size(), areaSize());
    EXPECT_TRUE(list.sizes.empty()) << "laid out again at " << list.sizes.front().width() << " px wide";
}

TEST_F(MdiStateTest, aChildOpenedRestoredInFrontOfAMaximisedOneIsMaximised) {
    MinimumChild& list = openMaximised("DataListFrm");
    Window& other = adoptChild("FileListFrm");
    other.Show();
    settle();
    EXPECT_EQ(other.windowState(), WindowState::Maximized);
    EXPECT_EQ(list.windowState(), WindowState::Maximized);
}

// Shown maximised from the start, the child restores to the classic default frame: three quarters of
// the area each way, in its corner.
TEST_F(MdiStateTest, theOnlyChildRestoredByTheUserStaysRestoredAtThreeQuartersOfTheArea) {
    MinimumChild& list = openMaximised("DataListFrm");
    QMdiSubWindow* outer = frame.mdiArea()->activeSubWindow();
    ASSERT_NE(outer, nullptr);
    outer->showNormal();  // its restore button
    settle();
    // The frame losing and regaining the focus brings the same child to the front again.
    frame.mdiArea()->setActiveSubWindow(nullptr);
    frame.mdiArea()->setActiveSubWindow(outer);
    settle();

    EXPECT_EQ(list.windowState(), WindowState::Normal);
    EXPECT_EQ(outer->geometry(), QRect(0, 0, areaSize().width() * 3 / 4, areaSize().height() * 3 / 4));
    EXPECT_EQ(list.sizes.back(), list.surface()->size()) << "laid out at the restored size";

    // A maximised child opened over it and closed again leaves the area maximised.
    openMaximised("FileListFrm").Unload();
    settle();
    EXPECT_EQ(list.windowState(), WindowState::Maximized);
}

// A child that its code sized before showing it maximised restores to that size; none restores below
// its minimum.
TEST_F(MdiStateTest, aChildRestoresToTheFrameItsCodeGaveOrAtLeastItsMinimum) {
    MinimumChild& sized = static_cast<MinimumChild&>(adoptChild("DataListFrm"));
    sized.Move(300, 300, 9000, 6000);
    sized.setWindowState(WindowState::Maximized);
    sized.Show();
    settle();
    sized.setWindowState(WindowState::Normal);
    EXPECT_EQ(sized.surface()->parentWidget()->frameGeometry(), QRect(20, 20, 600, 400));

    frame.Move(0, 0, 6000, 5000);  // an area whose three quarters are less than the minimum
    settle();
    MinimumChild& small = openMaximised("FileListFrm");
    small.setWindowState(WindowState::Normal);
    EXPECT_EQ(small.surface()->parentWidget()->size(), small.surface()->parentWidget()->minimumSize());
}

// A resize handler that enforces a minimum size, as the windows do: the new size runs the handler again.
class SizedWindow : public Window {
public:
    SizedWindow() : Window("Sized", WindowKind::TopLevel) {}
    std::vector<double> widths;

protected:
    void Form_Resize() override {
        widths.push_back(Width());
        if (Width() < 5600) setWidth(5600);
    }
};

TEST_F(WindowTest, resizeHandlerSeesTwipsAndRunsAgainAfterItResizes) {
    SizedWindow w;
    w.Load();
    w.Move(0, 0, 9000, 6000);
    w.Show();
    QCoreApplication::processEvents();
    EXPECT_NEAR(w.Width(), 9000, 15);
    EXPECT_NEAR(w.Height(), 6000, 15);
    w.widths.clear();
    w.setWidth(3000);
    QCoreApplication::processEvents();
    EXPECT_NEAR(w.Width(), 5600, 15);
    ASSERT_GE(w.widths.size(), 2u);
    EXPECT_NEAR(w.widths.front(), 3000, 15);
    EXPECT_NEAR(w.widths.back(), 5600, 15);
}

// The main frame's docked controls take the edges in the order they were docked; the MDI area gets
// what is left, and follows when a docked control is hidden or resized.
TEST_F(WindowTest, dockedControlsTakeTheFramesEdgesAndTheMdiAreaTheRest) {
    Window frame("Panel", WindowKind::MdiFrame);
    QWidget* surface = frame.surface();
    Panel3D toolbar(surface), status(surface), leftBar(surface);
    toolbar.setHeight(600);
    status.setHeight(300);
    leftBar.setWidth(3000);
    toolbar.setAlign(Align::Top);
    status.setAlign(Align::Bottom);
    leftBar.setAlign(Align::Left);
    frame.Load();
    frame.Show();
    surface->resize(900, 600);
    QCoreApplication::processEvents();

    QRect area = frame.mdiArea()->geometry();
    EXPECT_EQ(toolbar.widget()->geometry(), QRect(0, 0, 900, 40));
    EXPECT_EQ(status.widget()->geometry(), QRect(0, 580, 900, 20));
    EXPECT_EQ(leftBar.widget()->geometry(), QRect(0, 40, 200, 540));
    EXPECT_EQ(area, QRect(200, 40, 700, 540));

    leftBar.setVisible(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.mdiArea()->geometry(), QRect(0, 40, 900, 540));
    status.setHeight(600);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.mdiArea()->geometry(), QRect(0, 40, 900, 520));
}

}  // namespace
}  // namespace sq

namespace sq {
namespace {

// A main frame whose resize handler keeps a minimum of 9000 x 7500 twips, width then height, as the
// main window's rule does.
class MinimumFrame : public Window {
public:
    MinimumFrame() : Window("Panel", WindowKind::MdiFrame) {}
    std::vector<std::pair<double, double>> seen;  // the client size each run of the handler saw

protected:
    void Form_Resize() override {
        seen.emplace_back(ScaleWidth(), ScaleHeight());
        if (Width() < 9000) setWidth(9000);
        if (Height() < 7500) setHeight(7500);
    }
};

// The window system (a window manager) reports a size for the frame, as its configure notification
// does: the frame's native window changes, not the widget first.
void windowSystemResizes(Window& w, int width, int height) {
    w.mainWindow()->windowHandle()->resize(width, height);
    QCoreApplication::processEvents();
}

TEST_F(WindowTest, frameResizedByTheWindowSystemBelowItsMinimumIsLaidOutAtTheSizeItGets) {
    MinimumFrame frame;
    frame.Load();
    frame.Show();
    QCoreApplication::processEvents();
    QMainWindow* outer = frame.mainWindow();
    for (QSize reported : {QSize(200, 100), QSize(600, 100), QSize(300, 700)}) {
        windowSystemResizes(frame, reported.width(), reported.height());
        QCoreApplication::processEvents();
        EXPECT_GE(frame.Width(), 9000 - 15) << reported.width() << "x" << reported.height();
        EXPECT_GE(frame.Height(), 7500 - 15);
        EXPECT_EQ(frame.surface()->size(), outer->size()) << "the surface fills the frame";
        EXPECT_NEAR(frame.seen.back().first, toTwips(outer->width()), 1)
            << "the last layout saw the last size";
        EXPECT_NEAR(frame.seen.back().second, toTwips(outer->height()), 1);
    }
}

}  // namespace
}  // namespace sq

namespace sq {
namespace {

TEST_F(WindowTest, aTopLevelWindowNeverGrowsBeyondTheScreen) {
    SizedWindow w;
    w.Load();
    w.Show();
    const QRect area = w.surface()->screen()->availableGeometry();
    w.Move(0, 0, toTwips(area.width()) * 2, toTwips(area.height()) * 2);
    QCoreApplication::processEvents();
    EXPECT_LE(w.Width(), toTwips(area.width()));
    EXPECT_LE(w.Height(), toTwips(area.height()));
    EXPECT_TRUE(area.contains(w.surface()->frameGeometry())) << "on the screen, borders included";
}

}  // namespace
}  // namespace sq
