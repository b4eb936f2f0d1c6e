#pragma once
// The arithmetic of the graph control and the numeric edit, free of widgets: axis ranges and their
// autoscale, 1-2-5 and time-of-day ticks, label formats, typed times, and the reduction of a long
// trace to a few points per pixel column.
#include <QLineF>
#include <QPointF>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sq {

constexpr double kSecondsPerDay = 86400.0;

// A step of 1, 2 or 5 times a power of ten. Multiples of it are computed from whole numbers, so
// ends and ticks come out as the doubles nearest the exact decimals (0.3, not 0.30000000000000004).
struct DecimalStep {
    int mantissa = 1;  // 1, 2 or 5
    int exponent = 0;
    [[nodiscard]] double value() const { return times(1); }
    // n × step.
    [[nodiscard]] double times(double n) const;
    // Decimals a label needs to show every multiple exactly.
    [[nodiscard]] int decimals() const { return exponent < 0 ? -exponent : 0; }
};

// The smallest 1-2-5 step with span / step <= maxCount (span > 0, maxCount >= 1).
[[nodiscard]] DecimalStep niceStep(double span, double maxCount);

struct AxisRange {
    double minimum = 0;
    double maximum = 1;
    [[nodiscard]] double span() const { return maximum - minimum; }
    bool operator==(const AxisRange&) const = default;
};

// The range of an axis scaled over the values lo to hi: a 1-2-5 step with at most ten steps, the ends
// on whole steps; hi = lo gives lo to lo + 1.
[[nodiscard]] AxisRange autoscaleRange(double lo, double hi);

// The range SetMinMax(a, b) puts in force: the ends in order, equal ends widened to value ± 0.5;
// nothing for a non-finite end (the axis keeps its range).
[[nodiscard]] std::optional<AxisRange> rangeInForce(double a, double b);

// A number passed as text, as the graph and the numeric edit take it: the whole trimmed text read
// as a number, where "." (the day fraction 0 written with no digit) is 0. Raises VbError(13) for a
// text that is no number.
[[nodiscard]] double axisValueOfText(std::string_view text);

// Label formats: "*0.1" or "*.1" (the value times the factor, with the factor's decimals), "0", "0.0"
// (fixed decimals), "hh:nn:ss" (the time of day of the value's fractional part); anything else
// shows the decimals its tick step needs.
[[nodiscard]] std::string formatLabel(double value, const std::string& format, int plainDecimals = 0);

// "hh:nn:ss" of the fractional part of a day value, rounded to the second: 0.5 gives "12:00:00",
// 1 + 2/24 gives "02:00:00".
[[nodiscard]] std::string timeOfDayText(double dayValue);
// Seconds into the day of a typed "h:nn:ss" or "h:nn" (hours 0-23); nothing when it is no such time.
[[nodiscard]] std::optional<int> parseTimeOfDay(std::string_view text);
// The lowest day value from the lower to the higher of a and b whose time of day is `seconds`
// (half a second of slack at the ends); nothing when the range holds none.
[[nodiscard]] std::optional<double> valueAtTimeOfDay(int seconds, double a, double b);

struct Tick {
    double value;
    std::string label;
};
// Ticks of `range` in `format`, at most about maxCount of them: 1-2-5 steps of the shown value, whole
// seconds, minutes, hours or days for "hh:nn:ss", never finer than the format's decimals.
[[nodiscard]] std::vector<Tick> axisTicks(const AxisRange& range, const std::string& format, int maxCount);

// Maps axis values to pixels of a plot area.
struct PixelMap {
    AxisRange x, y;
    double left = 0, top = 0, width = 1, height = 1;
    [[nodiscard]] double toPixelX(double v) const { return left + (v - x.minimum) * width / x.span(); }
    [[nodiscard]] double toPixelY(double v) const { return top + (y.maximum - v) * height / y.span(); }
    [[nodiscard]] double fromPixelX(double px) const { return x.minimum + (px - left) * x.span() / width; }
    [[nodiscard]] double fromPixelY(double py) const { return y.maximum - (py - top) * y.span() / height; }
};

// The trace through the points (xs[i], ys[i]) as drawn from each run of points in one pixel
// column: a line joins the runs' first and last points, and a vertical span covers a run's lowest to
// highest point where it reaches beyond that line. Points left or right of the plot area gather in
// one column on each side (with no span); a non-finite point breaks the line (a piece may be one
// point). Draws the picture of the full polyline to within a pixel, at two points per column.
struct TraceStrokes {
    std::vector<std::vector<QPointF>> lines;
    std::vector<QLineF> spans;
};
[[nodiscard]] TraceStrokes traceStrokes(const std::vector<double>& xs, const std::vector<double>& ys,
                                        const PixelMap& map);

}  // namespace sq
