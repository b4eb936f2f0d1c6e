// A top-level window's placement: frames wait for the window manager's borders, the borders are
// asked for once per change, and a window manager that will not have a frame is asked a few times
// only.
#include "platform/ui/window_placement.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <memory>

#include "platform/ui/frame_borders.h"
#include "platform/ui/screen_keeper.h"

namespace sq {
namespace {

// Borders as a window manager would state them, set by the test, with a count of the questions.
class FakeBorders : public FrameBorders {
public:
    bool managerFrames = true;
    std::optional<QMargins> borders;
    int reads = 0;

    bool statedByManager() override { return managerFrames; }
    std::optional<QMargins> stated(const QWidget&) override {
        ++reads;
        return borders;
    }
};

void settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

class WindowPlacementTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto fake = std::make_unique<FakeBorders>();
        borders = fake.get();
        setFrameBorders(std::move(fake));
        keepWindowsOnScreen();
        window.setGeometry(100, 100, 200, 100);
    }
    void TearDown() override {
        window.hide();
        setFrameBorders(nullptr);
    }

    [[nodiscard]] QRect area() const { return window.screen()->availableGeometry(); }

    FakeBorders* borders = nullptr;
    QWidget window;
};

TEST_F(WindowPlacementTest, aFrameAskedForWhileTheManagerFramesTheWindowGoesOutWithTheBordersItStates) {
    int framed = 0;
    WindowPlacement& placement = WindowPlacement::of(window);
    placement.setOwner({[] { return true; }, [&] { ++framed; }});
    window.show();
    settle();
    EXPECT_EQ(WindowPlacement::find(window), &placement) << "one placement, owned by the window";
    EXPECT_EQ(placement.state(), PlacementState::AwaitingFrame);
    EXPECT_TRUE(placement.framingPending()) << "mapped, but no borders stated";

    placement.request(QRect(50, 60, 300, 200));
    settle();
    EXPECT_EQ(window.geometry(), QRect(100, 100, 200, 100)) << "the frame waits for the borders";
    EXPECT_EQ(framed, 0);

    borders->borders = QMargins(4, 24, 4, 4);
    placement.bordersChanged();
    settle();
    EXPECT_EQ(placement.state(), PlacementState::Placed);
    EXPECT_EQ(window.size(), QSize(292, 172)) << "the client: the frame less the borders";
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(50, 60));
    EXPECT_EQ(framed, 1);

    window.resize(250, 120);
    settle();
    EXPECT_EQ(framed, 1) << "once per show";
    window.hide();
    EXPECT_EQ(placement.state(), PlacementState::Unshown);
    window.show();
    settle();
    EXPECT_EQ(framed, 2) << "framed again after a new show";
}

TEST_F(WindowPlacementTest, theBordersAreAskedForWhenTheWindowIsFramedAndWhenTheyChangeOnly) {
    borders->borders = QMargins(2, 20, 2, 2);
    window.show();
    settle();
    WindowPlacement& placement = WindowPlacement::of(window);
    ASSERT_EQ(placement.state(), PlacementState::Placed);
    const int afterFraming = borders->reads;
    EXPECT_LE(afterFraming, 2) << "when made and when first mapped";

    for (int i = 0; i < 5; ++i) {
        window.move(120 + i * 10, 110);
        window.resize(210 + i * 10, 100);
        settle();
        placement.keepOnScreen();
        EXPECT_EQ(placement.outerFrame(), window.geometry().marginsAdded(QMargins(2, 20, 2, 2)));
    }
    EXPECT_EQ(borders->reads, afterFraming) << "moves, resizes and checks ask no window system";

    borders->borders = QMargins(5, 30, 5, 5);
    placement.bordersChanged();
    EXPECT_EQ(borders->reads, afterFraming + 1);
    EXPECT_EQ(placement.borders(), QMargins(5, 30, 5, 5));

    window.hide();
    window.show();
    settle();
    EXPECT_EQ(borders->reads, afterFraming + 2) << "framed anew once shown again";
}

// A window manager that answers each size the window asks for with the size it had: the answer
// to the ask is dropped and the kept size reported instead.
class StubbornManager : public QObject {
public:
    StubbornManager(QWidget& window, QSize kept) : m_kept(kept) {
        window.createWinId();
        m_handle = window.windowHandle();
        m_handle->installEventFilter(this);
    }
    int asks = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Resize || static_cast<QResizeEvent*>(event)->size() == m_kept)
            return false;
        ++asks;
        QTimer::singleShot(0, this, [this] { m_handle->resize(m_kept); });
        return true;
    }

private:
    QWindow* m_handle;
    QSize m_kept;
};

TEST_F(WindowPlacementTest, aManagerThatWillNotHaveTheFrameIsAskedAFewTimesAndAgainAfterANewShow) {
    borders->managerFrames = false;
    const QSize tooLarge = area().size() + QSize(200, 100);
    window.setGeometry(QRect(area().topLeft(), tooLarge));
    StubbornManager manager(window, tooLarge);
    window.show();
    for (int i = 0; i < 40; ++i) settle();
    WindowPlacement& placement = WindowPlacement::of(window);
    EXPECT_EQ(manager.asks, kMaxFitTries);
    EXPECT_EQ(placement.state(), PlacementState::GivenUp);
    EXPECT_EQ(window.size(), tooLarge) << "left as the manager keeps it";

    window.hide();
    window.show();
    for (int i = 0; i < 40; ++i) settle();
    EXPECT_EQ(manager.asks, 2 * kMaxFitTries);
}

TEST_F(WindowPlacementTest, aDialogLargerThanTheScreenTakesTheAreaItsMinimumGivingWay) {
    borders->managerFrames = false;
    window.setMinimumSize(area().size() + QSize(300, 200));
    window.move(area().topLeft() + QPoint(40, 30));
    window.show();
    settle();
    EXPECT_EQ(WindowPlacement::of(window).state(), PlacementState::Placed);
    EXPECT_EQ(window.frameGeometry(), area());
}

}  // namespace
}  // namespace sq
