// The graph control: ranges, autoscale, the mouse modes, cursors and what it paints.
#include "platform/ui/graph_control.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <QWidget>
#include <cmath>
#include <limits>

#include "platform/vb_error.h"

namespace sq {

inline void PrintTo(const AxisRange& r, std::ostream* os) {
    *os << r.minimum << " to " << r.maximum;
}

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct CursorEvent {
    int index;
    double x, y;
};

class GraphControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        surface.resize(640, 480);
        graph.widget()->setGeometry(0, 0, 600, 400);
        surface.show();
        graph.onCursorChange = [this](int index, double x, double y) { events.push_back({index, x, y}); };
    }
    void setRanges(double x0, double x1, double y0, double y1) {
        graph.Axes(1).SetMinMax(x0, x1);
        graph.Axes(2).SetMinMax(y0, y1);
    }
    AxisRange xRange() { return {graph.Axes(1).AxisMinimum(), graph.Axes(1).AxisMaximum()}; }
    AxisRange yRange() { return {graph.Axes(2).AxisMinimum(), graph.Axes(2).AxisMaximum()}; }
    // A point of the plot area by its fractions from the left and from the top.
    QPoint at(double fx, double fy) {
        QRect p = graph.plotArea();
        return {p.left() + static_cast<int>(std::lround(fx * p.width())),
                p.top() + static_cast<int>(std::lround(fy * p.height()))};
    }
    void drag(QPoint from, QPoint to) {
        QWidget* w = graph.widget();
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(w, (from + to) / 2);
        QTest::mouseMove(w, to);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, to);
    }
    QImage render() {
        QImage image(graph.widget()->size(), QImage::Format_RGB32);
        graph.widget()->render(&image);
        return image;
    }

    QWidget surface;
    GraphControl graph{&surface};
    std::vector<CursorEvent> events;
};

bool isWhite(QRgb c) {
    return c == qRgb(255, 255, 255);
}
bool isBlueish(QRgb c) {
    return qBlue(c) > qRed(c) + 60 && qBlue(c) > qGreen(c) + 40;
}

// Each case sets the y axis, reads it back, and paints a level line at the middle of the range it
// expects: the line must cross the plot area's middle row.
TEST_F(GraphControlTest, setMinMaxOrdinaryEqualInvertedAndNotANumber) {
    struct Case {
        double a, b;
        AxisRange expected;
    } cases[] = {
        {20, 80, {20, 80}},   {85.3, 85.3, {84.8, 85.8}},  // equal ends: the value ± 0.5
        {80, 20, {20, 80}},                                // inverted: put in order
        {kNaN, 50, {0, 100}},                              // not a number: the axis keeps its range
        {10, kNaN, {0, 100}}, {-1e308, 1e308, {0, 100}},   // a span no double holds
    };
    for (const Case& c : cases) {
        graph.Axes(1).SetMinMax(0, 10);
        graph.Axes(2).SetMinMax(0, 100);
        graph.Axes(2).SetMinMax(c.a, c.b);
        EXPECT_DOUBLE_EQ(graph.Axes(2).AxisMinimum(), c.expected.minimum) << c.a << ", " << c.b;
        EXPECT_DOUBLE_EQ(graph.Axes(2).AxisMaximum(), c.expected.maximum) << c.a << ", " << c.b;
        double middle = (c.expected.minimum + c.expected.maximum) / 2;
        graph.PlotPairs({0, 10}, {middle, middle});
        QImage image = render();
        QRect p = graph.plotArea();
        int row = p.top() + p.height() / 2;
        EXPECT_TRUE(isBlueish(image.pixel(p.center().x(), row)) ||
                    isBlueish(image.pixel(p.center().x(), row - 1)))
            << c.a << ", " << c.b;
    }
    // Texts read as numbers; "." is the time 00:00:00.
    graph.Axes(1).SetMinMax(".", ".5");
    EXPECT_EQ(xRange(), (AxisRange{0, 0.5}));
    EXPECT_THROW(graph.Axes(1).SetMinMax("x", "1"), VbError);
    EXPECT_THROW((void)graph.Axes(3), VbError);
}

TEST_F(GraphControlTest, anAxisNoOneFixedScalesOverThePlot) {
    struct Case {
        double maxCount;
        double yMaximum;
    } cases[] = {{37, 40}, {123, 140}, {1000, 1000}, {0, 1}};
    for (const Case& c : cases) {
        GraphControl fresh(&surface);
        fresh.Axes(1).SetMinMax(852, 855);  // x is fixed before the plot, as the histogram does
        std::vector<double> counts(1501, 0);
        counts[852] = c.maxCount;
        counts[853] = c.maxCount / 2;
        fresh.PlotSeries(counts, 1, 1);
        EXPECT_EQ(fresh.Axes(2).AxisMinimum(), 0);
        EXPECT_EQ(fresh.Axes(2).AxisMaximum(), c.yMaximum) << c.maxCount;
        EXPECT_EQ(fresh.Axes(1).AxisMinimum(), 852);
        EXPECT_EQ(fresh.Axes(1).AxisMaximum(), 855);
    }
    // Unfixed axes follow every new plot, x over the bars' extent; a fixed axis stays.
    graph.PlotSeries({3, 9, 4}, 1, 1);
    EXPECT_EQ(xRange(), (AxisRange{0, 3}));
    EXPECT_EQ(yRange(), (AxisRange{0, 9}));
    graph.PlotPairs({-0.3, 0.25}, {60, 72});
    EXPECT_EQ(xRange(), (AxisRange{-0.3, 0.3}));
    EXPECT_EQ(yRange(), (AxisRange{60, 72}));
    graph.Axes(2).SetMinMax(25, 150);
    graph.PlotPairs({0, 1}, {0, 500});
    EXPECT_EQ(yRange(), (AxisRange{25, 150}));
    EXPECT_EQ(xRange(), (AxisRange{0, 1}));
    EXPECT_THROW(graph.PlotPairs({0, 1}, {0}), VbError);
}

TEST_F(GraphControlTest, aQuarterWidthDragPansTheAxesOfItsModeByAQuarterSpan) {
    struct Case {
        int mode;
        bool panX, panY;
    } cases[] = {
        {GraphControl::kTrackPanXY, true, true},
        {GraphControl::kTrackPanX, true, false},
        {GraphControl::kTrackPanY, false, true},
        {GraphControl::kTrackNormal, false, false},
    };
    for (const Case& c : cases) {
        setRanges(0, 100, 0, 100);
        graph.setTrackMode(c.mode);
        QRect p = graph.plotArea();
        // Right by a quarter of the width, down by a quarter of the height: the grabbed point
        // follows the mouse, so x moves down its scale and y up.
        QPoint delta(p.width() / 4, p.height() / 4);
        drag(at(0.25, 0.25), at(0.25, 0.25) + delta);
        double dx = 100.0 * delta.x() / p.width(), dy = 100.0 * delta.y() / p.height();
        EXPECT_NEAR(dx, 25, 0.5);
        AxisRange x = c.panX ? AxisRange{-dx, 100 - dx} : AxisRange{0, 100};
        AxisRange y = c.panY ? AxisRange{dy, 100 + dy} : AxisRange{0, 100};
        EXPECT_NEAR(graph.Axes(1).AxisMinimum(), x.minimum, 1e-9) << c.mode;
        EXPECT_NEAR(graph.Axes(1).AxisMaximum(), x.maximum, 1e-9) << c.mode;
        EXPECT_NEAR(graph.Axes(2).AxisMinimum(), y.minimum, 1e-9) << c.mode;
        EXPECT_NEAR(graph.Axes(2).AxisMaximum(), y.maximum, 1e-9) << c.mode;
    }
}

TEST_F(GraphControlTest, zoomModesTakeTheDraggedRectangle) {
    struct Case {
        int mode;
        QPointF from, to;  // fractions of the plot area
        AxisRange x, y;
    } cases[] = {
        {GraphControl::kTrackZoomXY, {0.25, 0.25}, {0.75, 0.5}, {25, 75}, {50, 75}},
        {GraphControl::kTrackZoomXY, {0.75, 0.5}, {0.25, 0.25}, {25, 75}, {50, 75}},  // dragged backwards
        {GraphControl::kTrackZoomX, {0.1, 0.9}, {0.3, 0.1}, {10, 30}, {0, 100}},
        {GraphControl::kTrackZoomY, {0.1, 0.9}, {0.3, 0.4}, {0, 100}, {10, 60}},
        {GraphControl::kTrackNormal, {0.1, 0.1}, {0.9, 0.9}, {0, 100}, {0, 100}},
    };
    for (const Case& c : cases) {
        setRanges(0, 100, 0, 100);
        graph.setTrackMode(c.mode);
        drag(at(c.from.x(), c.from.y()), at(c.to.x(), c.to.y()));
        // Whole pixels: the ends land within one pixel of the fractions.
        QRect p = graph.plotArea();
        double px = 100.0 / p.width(), py = 100.0 / p.height();
        EXPECT_NEAR(graph.Axes(1).AxisMinimum(), c.x.minimum, px) << c.mode;
        EXPECT_NEAR(graph.Axes(1).AxisMaximum(), c.x.maximum, px) << c.mode;
        EXPECT_NEAR(graph.Axes(2).AxisMinimum(), c.y.minimum, py) << c.mode;
        EXPECT_NEAR(graph.Axes(2).AxisMaximum(), c.y.maximum, py) << c.mode;
    }
    // A rectangle under 3 pixels is ignored.
    setRanges(0, 100, 0, 100);
    graph.setTrackMode(GraphControl::kTrackZoomXY);
    drag(at(0.5, 0.5), at(0.5, 0.5) + QPoint(2, 40));
    EXPECT_EQ(xRange(), (AxisRange{0, 100}));
    EXPECT_EQ(yRange(), (AxisRange{0, 100}));
    graph.setTrackMode(GraphControl::kTrackZoomX);
    drag(at(0.5, 0.5), at(0.5, 0.5) + QPoint(40, 1));  // only the width counts in ZoomX
    EXPECT_NE(xRange(), (AxisRange{0, 100}));

    EXPECT_THROW(graph.setTrackMode(0), VbError);
    EXPECT_THROW(graph.setTrackMode(9), VbError);
    EXPECT_EQ(graph.TrackMode(), GraphControl::kTrackZoomX);
}

TEST_F(GraphControlTest, cursorsAreAddedCountedHiddenAndRemoved) {
    setRanges(0, 10, 20, 40);
    GraphCursors& cursors = graph.Cursors();
    EXPECT_EQ(cursors.Count(), 0);
    EXPECT_THROW((void)cursors.Item(1), VbError);
    GraphCursor& first = cursors.Add();
    cursors.Add();
    EXPECT_EQ(cursors.Count(), 2);
    EXPECT_EQ(&graph.Cursors(1), &first);
    EXPECT_EQ(first.CursorX(), 5);  // at the middle of the ranges
    EXPECT_EQ(first.CursorY(), 30);
    EXPECT_TRUE(graph.Cursors(2).CursorVisible());
    graph.Cursors(2).setCursorVisible(false);
    EXPECT_FALSE(graph.Cursors(2).CursorVisible());
    first.setCursorColor(255);
    first.setSnapMode(1);
    EXPECT_THROW(first.setSnapMode(3), VbError);
    EXPECT_TRUE(events.empty());  // adding and styling move nothing
    // A visible red cursor is painted; a hidden one is not.
    QImage image = render();
    QRect p = graph.plotArea();
    EXPECT_EQ(image.pixel(p.center().x(), p.top() + 3), qRgb(255, 0, 0));
    first.setCursorVisible(false);
    image = render();
    EXPECT_NE(image.pixel(p.center().x(), p.top() + 3), qRgb(255, 0, 0));

    cursors.RemoveAll();
    EXPECT_EQ(cursors.Count(), 0);
    EXPECT_THROW((void)graph.Cursors(1), VbError);
}

TEST_F(GraphControlTest, cursorChangeReportsEveryMoveByDragAndByCode) {
    setRanges(0, 1, 60, 140);
    graph.Cursors().Add();
    graph.setTrackMode(GraphControl::kTrackDragCursor);
    drag(at(0.25, 0.5), at(0.75, 0.25));
    ASSERT_EQ(events.size(), 3u);  // the press, the move half-way, the move to the end
    QRect p = graph.plotArea();
    for (const CursorEvent& e : events) EXPECT_EQ(e.index, 1);
    EXPECT_NEAR(events[0].x, 0.25, 1.0 / p.width());
    EXPECT_NEAR(events[0].y, 100, 80.0 / p.height());
    EXPECT_NEAR(events[2].x, 0.75, 1.0 / p.width());
    EXPECT_NEAR(events[2].y, 120, 80.0 / p.height());
    EXPECT_EQ(graph.Cursors(1).CursorX(), events[2].x);
    EXPECT_EQ(graph.Cursors(1).CursorY(), events[2].y);

    events.clear();
    graph.Cursors(1).setCursorX(0.5);
    graph.Cursors(1).setCursorY(90);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].index, 1);
    EXPECT_EQ(events[1].x, 0.5);
    EXPECT_EQ(events[1].y, 90);

    // Dragging outside the plot keeps the cursor on its edge.
    events.clear();
    drag(at(0.5, 0.5), at(1.5, -0.5));
    EXPECT_DOUBLE_EQ(events.back().x, 1);
    EXPECT_DOUBLE_EQ(events.back().y, 140);

    // A hidden cursor 1 is not dragged, and neither is one in another mode.
    events.clear();
    graph.Cursors(1).setCursorVisible(false);
    drag(at(0.2, 0.2), at(0.3, 0.3));
    graph.Cursors(1).setCursorVisible(true);
    graph.setTrackMode(GraphControl::kTrackNormal);
    drag(at(0.2, 0.2), at(0.3, 0.3));
    EXPECT_TRUE(events.empty());
}

TEST_F(GraphControlTest, aSnappingCursorJumpsToThePlottedPointNearestInX) {
    setRanges(0, 10, 0, 100);
    graph.PlotPairs({1, 4, 8}, {10, 40, 80});
    graph.Cursors().Add().setSnapMode(2);
    graph.setTrackMode(GraphControl::kTrackDragCursor);
    drag(at(0.1, 0.1), at(0.55, 0.9));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front().x, 1);
    EXPECT_EQ(events.front().y, 10);
    EXPECT_EQ(events.back().x, 4);
    EXPECT_EQ(events.back().y, 40);
}

// Bin 852 of a 0.1-dB distribution stands at x = 853 and covers 852 to 853: in the range 852 to 854
// it fills the left half of the plot area from bottom to top.
TEST_F(GraphControlTest, aSeriesBarFillsItsBinFromZeroToItsCount) {
    std::vector<double> counts(1501, 0);
    counts[852] = 1;
    graph.Axes(1).SetMinMax(852, 854);
    graph.Axes(1).setLabelFormat("*0.1");
    graph.PlotSeries(counts, 1, 1);
    EXPECT_EQ(yRange(), (AxisRange{0, 1}));
    QImage image = render();
    QRect p = graph.plotArea();
    int half = p.left() + p.width() / 2;
    int bar = 0, outside = 0;
    for (int y = p.top(); y <= p.bottom(); ++y)
        for (int x = p.left(); x <= p.right(); ++x) {
            bool inBar = isBlueish(image.pixel(x, y));
            if (x < half - 1) bar += inBar ? 0 : 1;  // every pixel of the left half is the bar's
            if (x > half) outside += inBar ? 1 : 0;  // none of the right half is
        }
    EXPECT_EQ(bar, 0);
    EXPECT_EQ(outside, 0);
    // The frame around the plot stays outside the bar.
    EXPECT_FALSE(isBlueish(image.pixel(p.left() - 1, p.center().y())));
    EXPECT_FALSE(isBlueish(image.pixel(p.left() + 2, p.top() - 1)));
}

// Runs of bar pixels along row y of the image, as [first, last] columns.
std::vector<std::pair<int, int>> barRuns(const QImage& image, int y) {
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < image.width(); ++x) {
        if (!isBlueish(image.pixel(x, y))) continue;
        if (!runs.empty() && runs.back().second == x - 1)
            runs.back().second = x;
        else
            runs.push_back({x, x});
    }
    return runs;
}

// 0.1-dB bins are narrower than a pixel at this size, and a count can be far below a pixel's height:
// every bin that holds a count leaves a mark on the row above the base line, near its place, and
// bins that meet in one pixel column show the largest count there.
TEST_F(GraphControlTest, everyBarThatHoldsACountLeavesAMark) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, double>> counts;  // bin, count
        size_t marks;                                // separate marks on the row above the base
    };
    std::vector<std::pair<int, double>> everyWholeDb;
    for (int db = 25; db <= 150; ++db) everyWholeDb.push_back({db * 10, 1});
    const Case cases[] = {
        {"one point at every whole dB from 25 to 150", everyWholeDb, 126},
        {"a square wave between 25.0 and 150.0 dB through 72.0", {{250, 600}, {720, 2}, {1500, 600}}, 3},
        {"one count beside ten thousand", {{800, 10000}, {1100, 1}}, 2},
        {"neighbours in one pixel column", {{800, 3}, {801, 9}, {802, 3}}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<double> counts(1501, 0);
        double largest = 0;
        for (auto [bin, count] : c.counts) {
            counts[static_cast<size_t>(bin)] = count;
            largest = std::max(largest, count);
        }
        graph.Axes(1).SetMinMax(250, 1501);
        graph.Axes(2).SetMinMax(0, largest);
        graph.PlotSeries(counts, 1, 1);
        const QImage image = render();
        const QRect p = graph.plotArea();
        ASSERT_LT(p.width(), 1251 / 2);  // narrower than half a pixel per bin
        const auto runs = barRuns(image, p.bottom());
        EXPECT_EQ(runs.size(), c.marks);
        auto pixelX = [&](double x) { return p.left() + (x - 250) * p.width() / 1251; };
        for (auto [bin, count] : c.counts) {
            // Bin b stands from x b to b + 1; its mark lies within a pixel of that.
            const int from = static_cast<int>(std::floor(pixelX(bin))) - 1;
            const int to = static_cast<int>(std::ceil(pixelX(bin + 1)));
            int top = p.bottom() + 1;
            for (int x = from; x <= to; ++x)
                for (int y = p.bottom(); y >= p.top() && isBlueish(image.pixel(x, y)); --y)
                    top = std::min(top, y);
            EXPECT_LE(top, p.bottom()) << "bin " << bin;
            const double exact = p.top() + (largest - count) * p.height() / largest;
            EXPECT_LE(top, std::max(exact + 1, double(p.bottom()))) << "bin " << bin;
        }
    }
}

TEST_F(GraphControlTest, aTraceFromZeroZeroToOneOneRunsCornerToCorner) {
    setRanges(0, 1, 0, 1);
    graph.PlotPairs({0, 1}, {0, 1});
    QImage image = render();
    QRect p = graph.plotArea();
    for (double f : {0.02, 0.25, 0.5, 0.75, 0.98}) {
        int x = p.left() + static_cast<int>(f * p.width());
        double yExact = p.top() + (1 - (x + 0.5 - p.left()) / p.width()) * p.height();
        int inked = 0;
        for (int y = static_cast<int>(yExact) - 1; y <= static_cast<int>(yExact) + 1; ++y)
            inked += !isWhite(image.pixel(x, y));
        EXPECT_GT(inked, 0) << f;
        // Far from the diagonal the plot is clean.
        int away = static_cast<int>(yExact) + (f < 0.5 ? -p.height() / 4 : p.height() / 4);
        EXPECT_TRUE(isWhite(image.pixel(x, away)) || qRed(image.pixel(x, away)) > 200) << f;
    }
}

// Values far outside any sensible range, tiny spans and non-finite values paint without harm.
TEST_F(GraphControlTest, extremeValuesPaintSafely) {
    const double inf = std::numeric_limits<double>::infinity();
    graph.Cursors().Add().setCursorX(1e300);
    graph.Cursors().Add().setCursorY(-inf);
    struct Case {
        double x0, x1;
    } ranges[] = {{0, 10}, {0, 1e-300}, {1e9, 1e9 + 1e-6}, {-1e300, 1e300}};
    for (const Case& r : ranges) {
        graph.Axes(1).SetMinMax(r.x0, r.x1);
        graph.PlotPairs({1e308, -1e308, kNaN, 0, inf, 5}, {0, 1e308, 1, -inf, 2, -1e308});
        (void)render();
        graph.PlotSeries({kNaN, inf, -inf, 1e308, 3}, 1, 1);
        (void)render();
        graph.PlotSeries({1, 2}, kNaN, 1);
        (void)render();
    }
    graph.PlotSeries({}, 1, 1);
    graph.PlotPairs({}, {});
    QImage image = render();
    EXPECT_FALSE(image.isNull());
}

TEST_F(GraphControlTest, printingColourAndAxisTextsPaint) {
    EXPECT_EQ(graph.GraphColor(), 0xF0F0F0);
    graph.setGraphColor(0xFFFFFF);
    graph.Axes(1).setCaption("Time");
    graph.Axes(1).setLabelFormat("hh:nn:ss");
    graph.Axes(2).setCaption("Lavg (dB)");
    setRanges(0.5, 0.5 + 1.0 / 24, 25, 150);
    QImage image = render();
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
    // Texts sit below and left of the plot area, inside the control.
    QRect p = graph.plotArea();
    auto inkedIn = [&](QRect r) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (qRed(image.pixel(x, y)) < 128) return true;
        return false;
    };
    EXPECT_TRUE(inkedIn(QRect(p.left(), p.bottom() + 8, p.width(), image.height() - p.bottom() - 9)));
    EXPECT_TRUE(inkedIn(QRect(0, p.top(), p.left() - 8, p.height())));
    EXPECT_GT(p.left(), 30);
    EXPECT_LT(p.bottom(), image.height() - 25);
}

}  // namespace
}  // namespace sq
