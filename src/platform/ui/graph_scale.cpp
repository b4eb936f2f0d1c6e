#include "platform/ui/graph_scale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/numbers.h"

namespace sq {

namespace {

// Slack for quotients that should be whole numbers but carry a rounding error (0.3 / 0.1).
constexpr double kFuzz = 1e-9;
// Ticks never exceed this many, whatever the caller asks.
constexpr int kTickLimit = 1000;

double powerOfTen(int exponent) {
    double p = 1;
    for (int i = 0; i < std::abs(exponent); ++i) p *= 10;
    return p;
}

// A label format read once: a factor and fixed decimals, the time of day, or the step's decimals.
struct ParsedFormat {
    enum class Kind { Plain, Fixed, Time } kind = Kind::Plain;
    double factor = 1;
    int decimals = 0;
};

// Decimals of a pattern such as "0", "0.0", ".1": the digits after the point.
int decimalsOf(std::string_view pattern) {
    auto point = pattern.find('.');
    return point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
}

bool isDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

ParsedFormat parseFormat(const std::string& format) {
    ParsedFormat f;
    if (format == "hh:nn:ss") {
        f.kind = ParsedFormat::Kind::Time;
        return f;
    }
    std::string_view body = format;
    if (!body.empty() && body.front() == '*') {
        body.remove_prefix(1);
        if (!isNumeric(body)) return f;
        f.factor = toNumber(body);
        f.kind = ParsedFormat::Kind::Fixed;
        f.decimals = decimalsOf(body);
        return f;
    }
    auto point = body.find('.');
    std::string_view whole = body.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? std::string_view{} : body.substr(point + 1);
    bool zeros = std::all_of(whole.begin(), whole.end(), [](char c) { return c == '0' || c == '#'; }) &&
                 std::all_of(fraction.begin(), fraction.end(), [](char c) { return c == '0'; });
    if (!body.empty() && zeros && (point == std::string_view::npos || !fraction.empty())) {
        f.kind = ParsedFormat::Kind::Fixed;
        f.decimals = static_cast<int>(fraction.size());
    }
    return f;
}

// Multiples of `step` from the first at or above lo to the last at or below hi.
std::vector<double> multiplesIn(double lo, double hi, double stepValue, const auto& multiple) {
    std::vector<double> out;
    double first = std::ceil(lo / stepValue - kFuzz);
    double last = std::floor(hi / stepValue + kFuzz);
    for (double n = first; n <= last && out.size() < static_cast<size_t>(kTickLimit); ++n)
        out.push_back(multiple(n));
    return out;
}

// Time-of-day steps in seconds: whole seconds, minutes and hours that divide a day evenly.
constexpr std::array<int, 18> kTimeSteps = {1,   2,   5,    10,   15,   30,    60,    120,   300,
                                            600, 900, 1800, 3600, 7200, 10800, 21600, 43200, 86400};

std::vector<Tick> timeTicks(const AxisRange& range, int maxCount) {
    double lo = range.minimum * kSecondsPerDay;
    double hi = range.maximum * kSecondsPerDay;
    double span = hi - lo;
    double step = kTimeSteps.back();
    for (int s : kTimeSteps)
        if (span / s <= maxCount * (1 + kFuzz)) {
            step = s;
            break;
        }
    if (span / step > maxCount * (1 + kFuzz))
        step = niceStep(span / kSecondsPerDay, maxCount).value() * kSecondsPerDay;
    std::vector<Tick> ticks;
    for (double s : multiplesIn(lo, hi, step, [&](double n) { return n * step; })) {
        double value = s / kSecondsPerDay;
        ticks.push_back({value, timeOfDayText(value)});
    }
    return ticks;
}

}  // namespace

double DecimalStep::times(double n) const {
    double whole = n * mantissa;
    return exponent >= 0 ? whole * powerOfTen(exponent) : whole / powerOfTen(exponent);
}

DecimalStep niceStep(double span, double maxCount) {
    if (!(span > 0) || !std::isfinite(span)) return {};
    if (!(maxCount >= 1)) maxCount = 1;
    DecimalStep step;
    step.exponent = static_cast<int>(std::floor(std::log10(span / maxCount))) - 1;
    for (;;) {
        for (int m : {1, 2, 5}) {
            step.mantissa = m;
            if (span / step.value() <= maxCount * (1 + kFuzz)) return step;
        }
        ++step.exponent;
    }
}

AxisRange autoscaleRange(double lo, double hi) {
    if (hi < lo) std::swap(lo, hi);
    if (hi == lo) return {lo, lo + 1};
    DecimalStep step = niceStep(hi - lo, 10);
    double v = step.value();
    return {step.times(std::floor(lo / v + kFuzz)), step.times(std::ceil(hi / v - kFuzz))};
}

std::optional<AxisRange> rangeInForce(double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b)) return std::nullopt;
    if (a > b) std::swap(a, b);
    if (a == b) return AxisRange{a - 0.5, b + 0.5};
    if (!std::isfinite(b - a)) return std::nullopt;  // a span no double holds
    return AxisRange{a, b};
}

double axisValueOfText(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text == "." ? 0.0 : toNumber(text);
}

std::string formatLabel(double value, const std::string& format, int plainDecimals) {
    ParsedFormat f = parseFormat(format);
    switch (f.kind) {
        case ParsedFormat::Kind::Time:
            return timeOfDayText(value);
        case ParsedFormat::Kind::Fixed:
            return formatFixed(value * f.factor, f.decimals);
        case ParsedFormat::Kind::Plain:
            break;
    }
    return formatFixed(value, plainDecimals);
}

std::string timeOfDayText(double dayValue) {
    if (!std::isfinite(dayValue)) return "00:00:00";
    double fraction = dayValue - std::floor(dayValue);
    long long seconds = std::llround(fraction * kSecondsPerDay) % 86400;
    char text[16];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

std::optional<int> parseTimeOfDay(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::vector<int> parts;
    while (true) {
        auto colon = text.find(':');
        std::string_view piece = text.substr(0, colon);
        if (!isDigits(piece) || piece.size() > 2) return std::nullopt;
        parts.push_back(std::stoi(std::string(piece)));
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
    }
    if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
    if (parts.size() == 2) parts.push_back(0);
    if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59) return std::nullopt;
    return parts[0] * 3600 + parts[1] * 60 + parts[2];
}

std::optional<double> valueAtTimeOfDay(int seconds, double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b)) return std::nullopt;
    double lo = std::min(a, b) * kSecondsPerDay;
    double hi = std::max(a, b) * kSecondsPerDay;
    double day = std::ceil((lo - 0.5 - seconds) / kSecondsPerDay);
    double at = seconds + day * kSecondsPerDay;
    if (at > hi + 0.5) return std::nullopt;
    return std::clamp(at / kSecondsPerDay, std::min(a, b), std::max(a, b));
}

std::vector<Tick> axisTicks(const AxisRange& range, const std::string& format, int maxCount) {
    if (!(range.span() > 0) || !std::isfinite(range.span())) return {};
    maxCount = std::clamp(maxCount, 1, kTickLimit);
    ParsedFormat f = parseFormat(format);
    if (f.kind == ParsedFormat::Kind::Time) return timeTicks(range, maxCount);

    // Steps are chosen on the shown value (the value times the factor), never finer than its decimals.
    double factor = f.kind == ParsedFormat::Kind::Fixed && f.factor != 0 ? f.factor : 1;
    double lo = range.minimum * factor, hi = range.maximum * factor;
    if (lo > hi) std::swap(lo, hi);
    DecimalStep step = niceStep(hi - lo, maxCount);
    if (f.kind == ParsedFormat::Kind::Fixed && step.exponent < -f.decimals) step = {1, -f.decimals};
    int decimals = f.kind == ParsedFormat::Kind::Fixed ? f.decimals : step.decimals();
    // The value's step as one quotient, so whole shown steps give whole values (853, not 852.99...).
    double valueStep = step.value() / factor;
    std::vector<Tick> ticks;
    for (double n : multiplesIn(lo, hi, step.value(), [](double n) { return n; }))
        ticks.push_back({n * valueStep, formatFixed(step.times(n), decimals)});
    if (factor < 0) std::reverse(ticks.begin(), ticks.end());
    return ticks;
}

TraceStrokes traceStrokes(const std::vector<double>& xs, const std::vector<double>& ys, const PixelMap& map) {
    TraceStrokes strokes;
    size_t n = std::min(xs.size(), ys.size());
    // Far-away points are pulled in to this distance, which keeps the painter's numbers small and
    // changes the visible part of a line by far less than a pixel.
    const double farLeft = map.left - 1e5, farRight = map.left + map.width + 1e5;
    const double farTop = map.top - 1e5, farBottom = map.top + map.height + 1e5;
    const long long leftColumn = static_cast<long long>(std::floor(map.left)) - 1;
    const long long rightColumn = static_cast<long long>(std::floor(map.left + map.width));
    // Pixels per unit, so the loop multiplies where PixelMap divides.
    const double xScale = map.width / map.x.span();
    const double yScale = map.height / map.y.span();
    if (!std::isfinite(xScale) || !std::isfinite(yScale)) return strokes;

    std::vector<QPointF> line;
    line.reserve(std::min<size_t>(n, static_cast<size_t>(map.width * 2 + 16)));
    // The current column's run: its first and last point, and the rows of its lowest and highest.
    long long column = 0;
    QPointF first, last;
    double lowY = 0, highY = 0;
    size_t count = 0;

    auto flush = [&] {
        if (count == 0) return;
        line.push_back(first);
        if (count > 1) line.push_back(last);
        bool inside = column > leftColumn && column < rightColumn;
        if (inside && (highY < std::min(first.y(), last.y()) || lowY > std::max(first.y(), last.y())))
            strokes.spans.emplace_back(column + 0.5, highY, column + 0.5, lowY);
        count = 0;
    };
    auto breakLine = [&] {
        flush();
        if (!line.empty()) strokes.lines.push_back(std::move(line));
        line.clear();
    };

    for (size_t i = 0; i < n; ++i) {
        if (!std::isfinite(xs[i]) || !std::isfinite(ys[i])) {
            breakLine();
            continue;
        }
        QPointF p(std::clamp(map.left + (xs[i] - map.x.minimum) * xScale, farLeft, farRight),
                  std::clamp(map.top + (map.y.maximum - ys[i]) * yScale, farTop, farBottom));
        long long c = static_cast<long long>(p.x());  // floor, for the clamped range, without a call
        if (c > p.x()) --c;
        c = std::clamp(c, leftColumn, rightColumn);
        if (count == 0 || c != column) {
            flush();
            column = c;
            first = p;
            lowY = highY = p.y();
        }
        // Screen y grows downwards: the lowest value has the largest y.
        lowY = std::max(lowY, p.y());
        highY = std::min(highY, p.y());
        last = p;
        ++count;
    }
    breakLine();
    return strokes;
}

}  // namespace sq
