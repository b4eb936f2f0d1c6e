// The graph's arithmetic: autoscale, ranges in force, label formats, ticks, typed times and the
// reduction of a trace to a few points per pixel column.
#include "platform/ui/graph_scale.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <limits>

#include "platform/vb_error.h"

namespace sq {

inline void PrintTo(const AxisRange& r, std::ostream* os) {
    *os << r.minimum << " to " << r.maximum;
}

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(GraphScale, autoscaleTakesTheSmallestOneTwoFiveStepWithAtMostTenSteps) {
    struct Case {
        double lo, hi, minimum, maximum;
    } cases[] = {
        {0, 37, 0, 40},         {0, 123, 0, 140},
        {0, 1000, 0, 1000},     {0, 0, 0, 1},
        {5, 5, 5, 6},           {-3.2, 7.9, -4, 8},
        {0.1, 0.4, 0.1, 0.4},   {0, 0.3, 0, 0.3},
        {852, 1000, 840, 1000}, {0.0001, 0.00037, 0.0001, 0.0004},
    };
    for (const Case& c : cases) {
        AxisRange r = autoscaleRange(c.lo, c.hi);
        // Exact decimals: the ends equal the literals, not merely come near them.
        EXPECT_EQ(r.minimum, c.minimum) << c.lo << " to " << c.hi;
        EXPECT_EQ(r.maximum, c.maximum) << c.lo << " to " << c.hi;
    }
}

TEST(GraphScale, rangeInForceOrdersWidensOrRefuses) {
    struct Case {
        double a, b;
        std::optional<AxisRange> range;
    } cases[] = {
        {1, 5, AxisRange{1, 5}},         {5, 1, AxisRange{1, 5}}, {3, 3, AxisRange{2.5, 3.5}},
        {-2, -2, AxisRange{-2.5, -1.5}}, {kNaN, 1, std::nullopt}, {1, kInf, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(rangeInForce(c.a, c.b), c.range) << c.a << ", " << c.b;
}

TEST(GraphScale, labelFormats) {
    struct Case {
        double value;
        const char* format;
        int plainDecimals;
        const char* text;
    } cases[] = {
        {0.5, "hh:nn:ss", 0, "12:00:00"},
        {1 + 2.0 / 24, "hh:nn:ss", 0, "02:00:00"},
        {-0.25, "hh:nn:ss", 0, "18:00:00"},            // the day before, as an axis panned past midnight
        {86399.6 / 86400, "hh:nn:ss", 0, "00:00:00"},  // rounds to the next midnight
        {(13 * 3600 + 5 * 60 + 9) / 86400.0, "hh:nn:ss", 0, "13:05:09"},
        {853, "*0.1", 0, "85.3"},
        {853, "*.1", 0, "85.3"},
        {1500, "*0.1", 0, "150.0"},
        {85, "0", 0, "85"},
        {84.5, "0", 0, "85"},
        {60, "0.0", 0, "60.0"},
        {2.25, "", 2, "2.25"},
        {2.25, "", 0, "2"},
        {-0.0, "0.0", 0, "0.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatLabel(c.value, c.format, c.plainDecimals), c.text) << c.value << " " << c.format;
}

std::vector<std::string> labelsOf(const std::vector<Tick>& ticks) {
    std::vector<std::string> out;
    for (const Tick& t : ticks) out.push_back(t.label);
    return out;
}

TEST(GraphScale, ticksFallOnOneTwoFiveStepsOrWholeTimesAndNeverFinerThanTheFormat) {
    using V = std::vector<std::string>;
    EXPECT_EQ(labelsOf(axisTicks({0, 10}, "", 5)), (V{"0", "2", "4", "6", "8", "10"}));
    EXPECT_EQ(labelsOf(axisTicks({0, 1}, "", 10)),
              (V{"0.0", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1.0"}));
    EXPECT_EQ(labelsOf(axisTicks({-7, 12}, "", 4)), (V{"-5", "0", "5", "10"}));
    // The shown value steps: 852 to 854 at "*0.1" is 85.2 to 85.4, never finer than one decimal.
    auto scaled = axisTicks({852, 854}, "*0.1", 50);
    EXPECT_EQ(labelsOf(scaled), (V{"85.2", "85.3", "85.4"}));
    EXPECT_EQ(scaled[1].value, 853);
    EXPECT_EQ(labelsOf(axisTicks({0, 3}, "0", 100)), (V{"0", "1", "2", "3"}));
    // One hour from noon in at most six steps: every ten minutes.
    EXPECT_EQ(labelsOf(axisTicks({0.5, 0.5 + 1.0 / 24}, "hh:nn:ss", 6)),
              (V{"12:00:00", "12:10:00", "12:20:00", "12:30:00", "12:40:00", "12:50:00", "13:00:00"}));
    EXPECT_EQ(labelsOf(axisTicks({10.2 / 86400, 13.9 / 86400}, "hh:nn:ss", 10)),
              (V{"00:00:11", "00:00:12", "00:00:13"}));
    // Two days: whole hours that divide the day.
    EXPECT_EQ(labelsOf(axisTicks({1, 3}, "hh:nn:ss", 5)),
              (V{"00:00:00", "12:00:00", "00:00:00", "12:00:00", "00:00:00"}));
    EXPECT_TRUE(axisTicks({0, 1e12}, "", 1000000).size() <= 1001);
}

TEST(GraphScale, numbersPassedAsText) {
    EXPECT_EQ(axisValueOfText("."), 0);
    EXPECT_EQ(axisValueOfText(" .25 "), 0.25);
    EXPECT_EQ(axisValueOfText("150"), 150);
    EXPECT_THROW((void)axisValueOfText("12:00:00"), VbError);
    EXPECT_THROW((void)axisValueOfText(""), VbError);
}

TEST(GraphScale, typedTimesOfDay) {
    struct Case {
        const char* text;
        std::optional<int> seconds;
    } cases[] = {
        {"01:00:00", 3600}, {"1:00", 3600},   {" 23:59:59 ", 86399}, {"00:00:00", 0}, {"24:00:00", {}},
        {"12:60:00", {}},   {"12:00:60", {}}, {"abc", {}},           {"1:2:3:4", {}}, {"", {}},
        {"1::00", {}},      {"12", {}},       {"-1:00", {}},         {"100:00", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(parseTimeOfDay(c.text), c.seconds) << c.text;
}

TEST(GraphScale, aTypedTimeBecomesTheLowestValueOfTheRangeWithThatTimeOfDay) {
    const double from = 22.0 / 24, to = 1 + 2.0 / 24;  // 22:00 to 02:00 the next day
    EXPECT_DOUBLE_EQ(*valueAtTimeOfDay(3600, from, to), 1 + 1.0 / 24);
    EXPECT_DOUBLE_EQ(*valueAtTimeOfDay(3600, to, from), 1 + 1.0 / 24);  // ends in either order
    EXPECT_DOUBLE_EQ(*valueAtTimeOfDay(23 * 3600, from, to), 23.0 / 24);
    EXPECT_DOUBLE_EQ(*valueAtTimeOfDay(22 * 3600, from, to), from);
    EXPECT_DOUBLE_EQ(*valueAtTimeOfDay(2 * 3600, from, to), to);
    EXPECT_EQ(valueAtTimeOfDay(12 * 3600, from, to), std::nullopt);
    EXPECT_EQ(valueAtTimeOfDay(0, kNaN, to), std::nullopt);
    // The range's end shown as a whole second is accepted and lands on the end itself.
    const double end = (10 * 3600 + 0.4) / 86400;
    EXPECT_DOUBLE_EQ(*valueAtTimeOfDay(10 * 3600, end, 0.5), end);
}

PixelMap unitMap(double width, double height) {
    PixelMap m;
    m.x = {0, width};
    m.y = {0, height};
    m.width = width;
    m.height = height;
    return m;
}

TEST(GraphScale, aColumnIsDrawnFromItsFirstLowestHighestAndLastPoint) {
    PixelMap map = unitMap(100, 100);
    // 101 points inside pixel column 10 that reach above and below the line from first to last,
    // then one point in column 12.
    std::vector<double> xs, ys;
    for (int i = 0; i <= 100; ++i) {
        xs.push_back(10 + i / 200.0);
        ys.push_back(i == 30 ? 90 : i == 70 ? 5 : 50 + (i % 7));
    }
    xs.push_back(12.5);
    ys.push_back(60);
    TraceStrokes strokes = traceStrokes(xs, ys, map);
    ASSERT_EQ(strokes.lines.size(), 1u);
    std::vector<QPointF> line = {{10, 50}, {10.5, 100 - (50 + 100 % 7)}, {12.5, 40}};
    EXPECT_EQ(strokes.lines[0], line);
    std::vector<QLineF> spans = {QLineF(10.5, 10, 10.5, 95)};
    EXPECT_EQ(strokes.spans, spans);
    // A run that stays between its first and last point needs no span.
    strokes = traceStrokes({20.1, 20.2, 20.3}, {10, 15, 20}, map);
    EXPECT_TRUE(strokes.spans.empty());
    EXPECT_EQ(strokes.lines[0], (std::vector<QPointF>{{20.1, 90}, {20.3, 80}}));
}

TEST(GraphScale, nonFinitePointsBreakTheTraceAndFarPointsGatherAtTheEdge) {
    PixelMap map = unitMap(100, 100);
    auto strokes = traceStrokes({1, 2, 3, kNaN, 5, 6, 7, 8}, {1, 2, 3, 4, 5, kInf, 7, 8}, map);
    ASSERT_EQ(strokes.lines.size(), 3u);
    EXPECT_EQ(strokes.lines[0].size(), 3u);
    EXPECT_EQ(strokes.lines[1].size(), 1u);  // a lone point between two breaks
    EXPECT_EQ(strokes.lines[2].size(), 2u);
    // A run far left of the plot gathers in one column with no span; the point that enters the plot
    // keeps the true slope of the line that reaches it.
    std::vector<double> xs, ys;
    for (int i = 0; i < 1000; ++i) {
        xs.push_back(-1000 + i * 0.5);
        ys.push_back(i % 2 ? 10 : 20);
    }
    xs.push_back(50);
    ys.push_back(50);
    strokes = traceStrokes(xs, ys, map);
    ASSERT_EQ(strokes.lines.size(), 1u);
    EXPECT_EQ(strokes.lines[0], (std::vector<QPointF>{{-1000, 80}, {-500.5, 90}, {50, 50}}));
    EXPECT_TRUE(strokes.spans.empty());
}

// The strokes draw the picture of the full trace: a noisy walk of 65,535 points over 300 columns,
// drawn both ways without antialiasing, differs in very few pixels.
TEST(GraphScale, theStrokesDrawTheSamePictureAsEveryPoint) {
    PixelMap map = unitMap(300, 200);
    map.x = {0, 65535};
    std::vector<double> xs, ys;
    uint32_t seed = 12345;
    double y = 100;
    for (int i = 0; i < 65535; ++i) {
        seed = seed * 1664525u + 1013904223u;
        y = std::clamp(y + (static_cast<int>(seed >> 24) - 128) / 40.0, 5.0, 195.0);
        xs.push_back(i);
        ys.push_back(y);
    }
    auto draw = [&](const TraceStrokes& strokes) {
        QImage image(300, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setPen(QPen(Qt::black, 1));
        p.drawLines(strokes.spans.data(), static_cast<int>(strokes.spans.size()));
        for (const auto& line : strokes.lines) p.drawPolyline(line.data(), static_cast<int>(line.size()));
        return image;
    };
    TraceStrokes every;
    every.lines.emplace_back();
    for (size_t i = 0; i < xs.size(); ++i)
        every.lines[0].emplace_back(map.toPixelX(xs[i]), map.toPixelY(ys[i]));
    QImage full = draw(every);
    TraceStrokes strokes = traceStrokes(xs, ys, map);
    EXPECT_LE(strokes.lines[0].size(), 600u);
    QImage reduced = draw(strokes);
    // Every pixel either picture inks lies within one pixel of ink in the other.
    auto inkedAt = [](const QImage& image, int x, int y) {
        return x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
               image.pixel(x, y) != qRgb(255, 255, 255);
    };
    auto inkNear = [&](const QImage& image, int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (inkedAt(image, x + dx, y + dy)) return true;
        return false;
    };
    int inked = 0, stray = 0, differing = 0;
    for (int py = 0; py < 200; ++py)
        for (int px = 0; px < 300; ++px) {
            inked += inkedAt(full, px, py);
            differing += full.pixel(px, py) != reduced.pixel(px, py);
            stray += (inkedAt(full, px, py) && !inkNear(reduced, px, py)) ||
                     (inkedAt(reduced, px, py) && !inkNear(full, px, py));
        }
    EXPECT_GT(inked, 3000);
    EXPECT_EQ(stray, 0);
    EXPECT_LT(differing, inked / 50) << differing << " of " << inked;
}

}  // namespace
}  // namespace sq
