#include "platform/ui/graph_control.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

#include "platform/numbers.h"
#include "platform/vb_error.h"

namespace sq {

// The painted surface of a GraphControl; everything it shows and does belongs to the control.
class GraphWidget : public QWidget {
public:
    GraphWidget(GraphControl* owner, QWidget* parent) : QWidget(parent), m_owner(owner) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSizeF(8.25);
        setFont(font);
        resize(400, 250);
    }
    void detach() { m_owner = nullptr; }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!m_owner) return;
        QPainter painter(this);
        m_owner->paint(painter, rect());
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (m_owner) m_owner->mousePressed(event);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (m_owner) m_owner->mouseMoved(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (m_owner) m_owner->mouseReleased(event);
    }

private:
    GraphControl* m_owner;
};

namespace {

QColor colorOfRgb(int rgb) {
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

const QColor kPlotBackground(255, 255, 255);
const QColor kGridColor(215, 215, 215);
const QColor kTraceColor(0, 0, 160);
const QColor kBarColor(30, 90, 200);
constexpr int kTickLength = 4;
constexpr int kGap = 4;
// Outside the plot, from its edge outward: the tick marks, then the labels kLabelOffset away, then
// (below it) the x caption kCaptionSpacing below the labels.
constexpr int kLabelOffset = kTickLength + 2;
constexpr int kCaptionSpacing = 2;

// The smallest and largest finite values; {INFINITY, -INFINITY} when there are none.
std::pair<double, double> finiteRange(const std::vector<double>& v) {
    double lo = INFINITY, hi = -INFINITY;
    for (double x : v)
        if (std::isfinite(x)) {
            lo = std::min(lo, x);
            hi = std::max(hi, x);
        }
    return {lo, hi};
}

double widestLabel(const std::vector<Tick>& ticks, const QFontMetricsF& metrics) {
    double widest = 0;
    for (const Tick& t : ticks)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(t.label)));
    return widest;
}

// The pixels of a bar from x0 to x1 (either order) from the base line to y, above the base for a
// positive value: edges rounded to whole pixels, at least one pixel each way. A narrow bar takes
// the column that holds its middle, a low one the row next to the base on its side.
QRect barRect(double x0, double x1, double y, double base, bool positive) {
    const double left = std::min(x0, x1), right = std::max(x0, x1);
    int columnFrom = static_cast<int>(std::lround(left));
    int columnTo = static_cast<int>(std::lround(right));
    if (columnTo <= columnFrom) {
        columnFrom = static_cast<int>(std::floor((left + right) / 2));
        columnTo = columnFrom + 1;
    }
    int rowFrom = static_cast<int>(std::lround(std::min(y, base)));
    int rowTo = static_cast<int>(std::lround(std::max(y, base)));
    if (rowTo <= rowFrom) {
        if (positive) {
            rowTo = static_cast<int>(std::lround(base));
            rowFrom = rowTo - 1;
        } else {
            rowFrom = static_cast<int>(std::lround(base));
            rowTo = rowFrom + 1;
        }
    }
    return QRect(QPoint(columnFrom, rowFrom), QPoint(columnTo - 1, rowTo - 1));
}

QFont captionFontOf(const QFont& base) {
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() + 0.75);
    font.setBold(true);
    return font;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Axis

void GraphAxis::SetMinMax(double minimum, double maximum) {
    if (auto range = rangeInForce(minimum, maximum)) setRange(*range, true);
}

void GraphAxis::SetMinMax(const std::string& minimum, const std::string& maximum) {
    SetMinMax(axisValueOfText(minimum), axisValueOfText(maximum));
}

void GraphAxis::setRange(const AxisRange& range, bool fix) {
    if (!std::isfinite(range.span()) || !(range.span() > 0)) return;
    m_range = range;
    m_fixed = m_fixed || fix;
    m_owner->changed();
}

void GraphAxis::setCaption(const std::string& caption) {
    m_caption = caption;
    m_owner->changed();
}

void GraphAxis::setLabelFormat(const std::string& format) {
    m_format = format;
    m_owner->changed();
}

// ---------------------------------------------------------------------------------------------
// Cursors

void GraphCursor::setCursorX(double x) {
    m_x = x;
    m_owner->cursorMoved(this);
}

void GraphCursor::setCursorY(double y) {
    m_y = y;
    m_owner->cursorMoved(this);
}

void GraphCursor::setSnapMode(int mode) {
    if (mode < 0 || mode > 2) raise(kInvalidPropertyValue);
    m_snap = static_cast<CursorSnap>(mode);
}

void GraphCursor::setCursorColor(int rgb) {
    m_color = rgb;
    m_owner->changed();
}

void GraphCursor::setCursorVisible(bool visible) {
    m_visible = visible;
    m_owner->changed();
}

GraphCursor& GraphCursors::Add() {
    auto cursor = std::unique_ptr<GraphCursor>(new GraphCursor(m_owner));
    const AxisRange& x = m_owner->m_xAxis.range();
    const AxisRange& y = m_owner->m_yAxis.range();
    cursor->m_x = (x.minimum + x.maximum) / 2;
    cursor->m_y = (y.minimum + y.maximum) / 2;
    m_items.push_back(std::move(cursor));
    m_owner->changed();
    return *m_items.back();
}

void GraphCursors::RemoveAll() {
    if (m_owner->m_drag == GraphControl::Drag::Cursor) m_owner->m_drag = GraphControl::Drag::None;
    m_items.clear();
    m_owner->changed();
}

GraphCursor& GraphCursors::Item(int index) const {
    if (index < 1 || index > Count()) raise(kSubscriptOutOfRange);
    return *m_items[static_cast<size_t>(index - 1)];
}

int GraphCursors::indexOf(const GraphCursor* cursor) const {
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == cursor) return static_cast<int>(i + 1);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Graph

struct GraphControl::Layout {
    QRect plot;
    PixelMap map;
    std::vector<Tick> xTicks, yTicks;
    QFont tickFont, captionFont;
    // Where the parts outside the plot go, in pixels: the x tick marks hang from the row below the
    // plot, the y tick marks end at the column left of it; then the top of the x labels, the right
    // end of the y labels, the top of the x caption and the left of the (turned) y caption.
    int rowBelow = 0;
    int columnLeft = 0;
    double xLabelTop = 0;
    double yLabelRight = 0;
    double xCaptionTop = 0;
    double yCaptionLeft = 0;
};

GraphControl::GraphControl(QWidget* parent) : Control(new GraphWidget(this, parent)) {}

GraphControl::~GraphControl() {
    if (auto* w = static_cast<GraphWidget*>(widget())) w->detach();
}

void GraphControl::setTrackMode(int mode) {
    if (mode < kTrackNormal || mode > kTrackZoomY) raise(kInvalidPropertyValue);
    m_trackMode = mode;
    m_drag = Drag::None;
    static const Qt::CursorShape shapes[] = {Qt::ArrowCursor,    Qt::ArrowCursor,   Qt::SizeAllCursor,
                                             Qt::OpenHandCursor, Qt::SizeHorCursor, Qt::SizeVerCursor,
                                             Qt::CrossCursor,    Qt::CrossCursor,   Qt::CrossCursor};
    widget()->setCursor(shapes[mode]);
    changed();
}

void GraphControl::setGraphColor(int rgb) {
    m_graphColor = rgb;
    changed();
}

GraphAxis& GraphControl::Axes(int index) {
    if (index == 1) return m_xAxis;
    if (index == 2) return m_yAxis;
    raise(kSubscriptOutOfRange);
}

void GraphControl::PlotPairs(const std::vector<double>& xs, const std::vector<double>& ys) {
    if (xs.size() != ys.size()) raise(kInvalidCall);
    m_plotKind = PlotKind::Pairs;
    m_xs = xs;
    m_ys = ys;
    autoscale();
    changed();
}

void GraphControl::PlotSeries(const std::vector<double>& values, double firstX, double xStep) {
    m_plotKind = PlotKind::Series;
    m_xs.clear();
    m_ys = values;
    m_firstX = firstX;
    m_xStep = xStep;
    autoscale();
    changed();
}

void GraphControl::autoscale() {
    double xlo = INFINITY, xhi = -INFINITY, ylo = INFINITY, yhi = -INFINITY;
    if (m_plotKind == PlotKind::Pairs) {
        std::tie(xlo, xhi) = finiteRange(m_xs);
        std::tie(ylo, yhi) = finiteRange(m_ys);
    } else if (m_plotKind == PlotKind::Series && !m_ys.empty()) {
        // The bars span from one step before the first x to the last x, and stand on zero.
        double last = m_firstX + m_xStep * static_cast<double>(m_ys.size() - 1);
        xlo = std::min(m_firstX - m_xStep, last);
        xhi = std::max(m_firstX - m_xStep, last);
        std::tie(ylo, yhi) = finiteRange(m_ys);
        ylo = std::min(ylo, 0.0);
        yhi = std::max(yhi, 0.0);
    }
    if (!m_xAxis.m_fixed && xlo <= xhi) m_xAxis.setRange(autoscaleRange(xlo, xhi), false);
    if (!m_yAxis.m_fixed && ylo <= yhi) m_yAxis.setRange(autoscaleRange(ylo, yhi), false);
}

void GraphControl::changed() {
    if (widget()) widget()->update();
}

void GraphControl::cursorMoved(GraphCursor* cursor) {
    changed();
    int index = m_cursors.indexOf(cursor);
    if (index > 0) fire(onCursorChange, index, cursor->m_x, cursor->m_y);
}

QRect GraphControl::plotArea() const {
    return layout(widget()->rect()).plot;
}

GraphControl::Layout GraphControl::layout(const QRect& bounds) const {
    Layout l;
    l.tickFont = widget()->font();
    l.captionFont = captionFontOf(l.tickFont);
    QFontMetricsF tick(l.tickFont, widget());
    QFontMetricsF caption(l.captionFont, widget());
    const double textHeight = tick.height();
    const double captionHeight = caption.height();

    int top = bounds.top() + static_cast<int>(std::ceil(textHeight / 2)) + kGap;
    double bottomMargin = kLabelOffset + textHeight + kGap;
    if (!m_xAxis.Caption().empty()) bottomMargin += captionHeight + kCaptionSpacing;
    int height = std::max(1, static_cast<int>(bounds.bottom() + 1 - top - std::ceil(bottomMargin)));

    l.yTicks = axisTicks(m_yAxis.range(), m_yAxis.LabelFormat(),
                         std::max(1, static_cast<int>(height / (textHeight * 2))));
    double leftMargin = kGap + widestLabel(l.yTicks, tick) + kLabelOffset;
    if (!m_yAxis.Caption().empty()) leftMargin += captionHeight + kGap;
    int left = bounds.left() + static_cast<int>(std::ceil(leftMargin));

    // Room on the right for half of the last x label, centred on the plot's edge.
    std::string endLabel = formatLabel(m_xAxis.AxisMaximum(), m_xAxis.LabelFormat(), 2);
    double rightMargin = std::max(12.0, tick.horizontalAdvance(QString::fromStdString(endLabel)) / 2 + kGap);
    int width = std::max(1, static_cast<int>(bounds.right() + 1 - left - std::ceil(rightMargin)));

    const AxisRange& xr = m_xAxis.range();
    const std::string& xf = m_xAxis.LabelFormat();
    double widest = widestLabel(axisTicks(xr, xf, std::max(1, width / 60)), tick);
    l.xTicks = axisTicks(xr, xf, std::max(1, static_cast<int>(width / (widest + 3 * kGap))));

    l.plot = QRect(left, top, width, height);
    l.map.x = xr;
    l.map.y = m_yAxis.range();
    l.map.left = left;
    l.map.top = top;
    l.map.width = width;
    l.map.height = height;

    l.rowBelow = l.plot.bottom() + 1;
    l.columnLeft = l.plot.left() - 1;
    l.xLabelTop = l.rowBelow + kLabelOffset;
    l.yLabelRight = l.columnLeft - kLabelOffset;
    l.xCaptionTop = l.xLabelTop + textHeight + kCaptionSpacing;
    l.yCaptionLeft = bounds.left() + kGap;
    return l;
}

void GraphControl::paint(QPainter& p, const QRect& bounds) const {
    Layout l = layout(bounds);
    const QRect& plot = l.plot;
    p.fillRect(bounds, colorOfRgb(m_graphColor));
    p.fillRect(plot, kPlotBackground);

    // Grid lines inside the plot area, tick marks and labels outside it.
    p.setPen(QPen(kGridColor, 0));
    for (const Tick& t : l.xTicks) {
        double x = std::floor(l.map.toPixelX(t.value)) + 0.5;
        if (x > plot.left() && x < plot.right())
            p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom() + 1));
    }
    for (const Tick& t : l.yTicks) {
        double y = std::floor(l.map.toPixelY(t.value)) + 0.5;
        if (y > plot.top() && y < plot.bottom())
            p.drawLine(QPointF(plot.left(), y), QPointF(plot.right() + 1, y));
    }

    p.save();
    p.setClipRect(plot);
    paintPlot(p, l);
    paintCursors(p, l);
    p.restore();

    p.setPen(QPen(Qt::black, 0));
    p.drawRect(QRectF(plot).adjusted(-0.5, -0.5, 0.5, 0.5));
    p.setFont(l.tickFont);
    QFontMetricsF tick(l.tickFont, widget());
    for (const Tick& t : l.xTicks) {
        double x = std::floor(l.map.toPixelX(t.value)) + 0.5;
        p.drawLine(QPointF(x, l.rowBelow), QPointF(x, l.rowBelow + kTickLength));
        QString label = QString::fromStdString(t.label);
        double w = tick.horizontalAdvance(label);
        p.drawText(QPointF(x - w / 2, l.xLabelTop + tick.ascent()), label);
    }
    for (const Tick& t : l.yTicks) {
        double y = std::floor(l.map.toPixelY(t.value)) + 0.5;
        p.drawLine(QPointF(l.columnLeft - kTickLength, y), QPointF(l.columnLeft, y));
        QString label = QString::fromStdString(t.label);
        double w = tick.horizontalAdvance(label);
        p.drawText(QPointF(l.yLabelRight - w, y - tick.height() / 2 + tick.ascent()), label);
    }

    p.setFont(l.captionFont);
    QFontMetricsF caption(l.captionFont, widget());
    if (!m_xAxis.Caption().empty()) {
        QString text = QString::fromStdString(m_xAxis.Caption());
        p.drawText(QPointF(plot.center().x() - caption.horizontalAdvance(text) / 2,
                           l.xCaptionTop + caption.ascent()),
                   text);
    }
    if (!m_yAxis.Caption().empty()) {
        QString text = QString::fromStdString(m_yAxis.Caption());
        p.save();
        p.translate(l.yCaptionLeft + caption.ascent(),
                    plot.center().y() + caption.horizontalAdvance(text) / 2);
        p.rotate(-90);
        p.drawText(QPointF(0, 0), text);
        p.restore();
    }

    if (m_drag == Drag::Zoom) {
        QRectF band = QRectF(m_pressPixel, m_dragPixel).normalized().intersected(QRectF(plot));
        if (m_trackMode == kTrackZoomX) {
            band.setTop(plot.top());
            band.setBottom(plot.bottom() + 1);
        }
        if (m_trackMode == kTrackZoomY) {
            band.setLeft(plot.left());
            band.setRight(plot.right() + 1);
        }
        p.setPen(QPen(Qt::black, 0, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(band);
    }
}

void GraphControl::paintPlot(QPainter& p, const Layout& l) const {
    if (m_plotKind == PlotKind::Series) {
        // Bars with whole-pixel edges, so neighbours meet without gaps or overlaps. A bar narrower
        // or lower than a pixel still takes one: bars that fall into one pixel column overlap there,
        // so the column stands as high as the largest of them.
        const double base = std::clamp(l.map.toPixelY(0), l.plot.top() - 1.0, l.plot.bottom() + 2.0);
        for (size_t i = 0; i < m_ys.size(); ++i) {
            double v = m_ys[i];
            if (!std::isfinite(v) || v == 0) continue;
            double x = m_firstX + m_xStep * static_cast<double>(i);
            double x0 = std::clamp(l.map.toPixelX(x - m_xStep), l.plot.left() - 1.0, l.plot.right() + 2.0);
            double x1 = std::clamp(l.map.toPixelX(x), l.plot.left() - 1.0, l.plot.right() + 2.0);
            double y = std::clamp(l.map.toPixelY(v), l.plot.top() - 1.0, l.plot.bottom() + 2.0);
            if (!std::isfinite(x0) || !std::isfinite(x1) || !std::isfinite(y)) continue;
            p.fillRect(barRect(x0, x1, y, base, v > 0), kBarColor);
        }
        return;
    }
    if (m_plotKind != PlotKind::Pairs) return;
    TraceStrokes strokes = traceStrokes(m_xs, m_ys, l.map);
    p.setPen(QPen(kTraceColor, 1));
    // Spans are whole pixel columns: they need no smoothing, and drawn without it they cost little.
    p.drawLines(strokes.spans.data(), static_cast<int>(strokes.spans.size()));
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const auto& line : strokes.lines) {
        if (line.size() == 1)
            p.drawPoint(line.front());
        else
            p.drawPolyline(line.data(), static_cast<int>(line.size()));
    }
    p.setRenderHint(QPainter::Antialiasing, false);
}

void GraphControl::paintCursors(QPainter& p, const Layout& l) const {
    for (int i = 1; i <= m_cursors.Count(); ++i) {
        const GraphCursor& c = m_cursors.Item(i);
        if (!c.m_visible || !std::isfinite(c.m_x) || !std::isfinite(c.m_y)) continue;
        double x = std::floor(l.map.toPixelX(c.m_x)) + 0.5;
        double y = std::floor(l.map.toPixelY(c.m_y)) + 0.5;
        p.setPen(QPen(colorOfRgb(c.m_color), 0));
        bool xInside = x >= l.plot.left() && x <= l.plot.right() + 1;
        bool yInside = y >= l.plot.top() && y <= l.plot.bottom() + 1;
        if (xInside) p.drawLine(QPointF(x, l.plot.top()), QPointF(x, l.plot.bottom() + 1));
        if (yInside) p.drawLine(QPointF(l.plot.left(), y), QPointF(l.plot.right() + 1, y));
        if (xInside && yInside) p.drawRect(QRectF(x - 3, y - 3, 6, 6));
    }
}

// ---------------------------------------------------------------------------------------------
// Mouse

void GraphControl::mousePressed(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_trackMode == kTrackNormal) return;
    Layout l = layout(widget()->rect());
    QPointF at = event->position();
    if (!QRectF(l.plot).contains(at)) return;
    m_pressPixel = m_dragPixel = at;
    m_pressPlot = QRectF(l.plot);
    m_pressX = m_xAxis.range();
    m_pressY = m_yAxis.range();
    if (m_trackMode == kTrackDragCursor) {
        if (m_cursors.Count() == 0) return;
        const GraphCursor& first = m_cursors.Item(1);
        if (!first.m_visible || first.m_snap == CursorSnap::Fixed) return;
        m_drag = Drag::Cursor;
        dragCursorTo(at, l);
    } else if (m_trackMode <= kTrackPanY) {
        m_drag = Drag::Pan;
    } else {
        m_drag = Drag::Zoom;
    }
}

void GraphControl::mouseMoved(QMouseEvent* event) {
    if (m_drag == Drag::None) return;
    QPointF at = event->position();
    m_dragPixel = at;
    switch (m_drag) {
        case Drag::Cursor:
            dragCursorTo(at, layout(widget()->rect()));
            break;
        case Drag::Pan: {
            // The grabbed point follows the mouse: the range moves against the drag, in the
            // scale the plot had when the drag began.
            QPointF d = at - m_pressPixel;
            if (m_trackMode != kTrackPanY) {
                double shift = d.x() * m_pressX.span() / m_pressPlot.width();
                m_xAxis.setRange({m_pressX.minimum - shift, m_pressX.maximum - shift}, true);
            }
            if (m_trackMode != kTrackPanX) {
                double shift = d.y() * m_pressY.span() / m_pressPlot.height();
                m_yAxis.setRange({m_pressY.minimum + shift, m_pressY.maximum + shift}, true);
            }
            break;
        }
        case Drag::Zoom:
            changed();
            break;
        case Drag::None:
            break;
    }
}

void GraphControl::mouseReleased(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_drag == Drag::None) return;
    m_dragPixel = event->position();
    if (m_drag == Drag::Zoom) applyZoom(layout(widget()->rect()));
    m_drag = Drag::None;
    changed();
}

void GraphControl::dragCursorTo(const QPointF& pixel, const Layout& l) {
    if (m_cursors.Count() == 0) return;
    GraphCursor& cursor = m_cursors.Item(1);
    double px = std::clamp(pixel.x(), double(l.plot.left()), double(l.plot.right() + 1));
    double py = std::clamp(pixel.y(), double(l.plot.top()), double(l.plot.bottom() + 1));
    double x = l.map.fromPixelX(px);
    double y = l.map.fromPixelY(py);
    if (cursor.m_snap == CursorSnap::NearestPoint) {
        size_t n = m_ys.size();
        double best = INFINITY;
        for (size_t i = 0; i < n; ++i) {
            double xi = m_plotKind == PlotKind::Pairs ? m_xs[i] : m_firstX + m_xStep * static_cast<double>(i);
            if (!std::isfinite(xi) || !std::isfinite(m_ys[i]) || std::abs(xi - x) >= best) continue;
            best = std::abs(xi - x);
            cursor.m_x = xi;
            cursor.m_y = m_ys[i];
        }
        if (best == INFINITY) return;
    } else {
        cursor.m_x = x;
        cursor.m_y = y;
    }
    cursorMoved(&cursor);
}

void GraphControl::applyZoom(const Layout& l) {
    QRectF r = QRectF(m_pressPixel, m_dragPixel).normalized().intersected(QRectF(l.plot));
    bool zoomX = m_trackMode != kTrackZoomY;
    bool zoomY = m_trackMode != kTrackZoomX;
    if ((zoomX && r.width() < 3) || (zoomY && r.height() < 3)) return;
    if (zoomX) m_xAxis.setRange({l.map.fromPixelX(r.left()), l.map.fromPixelX(r.right())}, true);
    if (zoomY) m_yAxis.setRange({l.map.fromPixelY(r.bottom()), l.map.fromPixelY(r.top())}, true);
}

}  // namespace sq
