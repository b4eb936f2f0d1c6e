#pragma once
// The measurement graph: one plot (a trace of x-y pairs or a series of bars), two axes with 1-2-5
// or time-of-day ticks, cursors, and the mouse modes normal, drag cursor, pan and zoom. Ranges
// are in axis units; colours are classic RGB numbers (red + 256 x green + 65536 x blue).
//
// An axis that no SetMinMax, zoom or pan has fixed scales over the plotted values (autoscaleRange).
// Ranges never have a zero span, so nothing divides by one.
#include <QRect>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/graph_scale.h"

class QPainter;
class QMouseEvent;

namespace sq {

class GraphControl;

class GraphAxis {
public:
    // The visible range; fixes the axis. An inverted pair is put in order, equal ends show value ± 0.5,
    // a non-finite end leaves the axis as it is.
    void SetMinMax(double minimum, double maximum);
    // The same with texts read by axisValueOfText ("." is 0); raises VbError(13) for a text that is
    // no number.
    void SetMinMax(const std::string& minimum, const std::string& maximum);
    [[nodiscard]] double AxisMinimum() const { return m_range.minimum; }
    [[nodiscard]] double AxisMaximum() const { return m_range.maximum; }
    [[nodiscard]] const AxisRange& range() const { return m_range; }
    // True once SetMinMax, a zoom or a pan chose the range: plots no longer rescale it.
    [[nodiscard]] bool fixed() const { return m_fixed; }

    void setCaption(const std::string& caption);
    [[nodiscard]] const std::string& Caption() const { return m_caption; }
    // See formatLabel: "*0.1", "*.1", "0", "0.0", "hh:nn:ss", or empty.
    void setLabelFormat(const std::string& format);
    [[nodiscard]] const std::string& LabelFormat() const { return m_format; }

private:
    friend class GraphControl;
    explicit GraphAxis(GraphControl* owner) : m_owner(owner) {}
    void setRange(const AxisRange& range, bool fix);
    GraphControl* m_owner;
    AxisRange m_range{0, 10};
    bool m_fixed = false;
    std::string m_caption;
    std::string m_format;
};

enum class CursorSnap { Fixed = 0, Free = 1, NearestPoint = 2 };

// A cross-hair at (CursorX, CursorY) in axis units. Every move, by code or by drag, raises the
// graph's CursorChange.
class GraphCursor {
public:
    [[nodiscard]] double CursorX() const { return m_x; }
    [[nodiscard]] double CursorY() const { return m_y; }
    void setCursorX(double x);
    void setCursorY(double y);
    // 0 the cursor cannot be dragged, 1 it moves freely, 2 it jumps to the plotted point nearest in x;
    // anything else raises VbError(380).
    [[nodiscard]] int SnapMode() const { return static_cast<int>(m_snap); }
    void setSnapMode(int mode);
    [[nodiscard]] int CursorColor() const { return m_color; }
    void setCursorColor(int rgb);
    [[nodiscard]] bool CursorVisible() const { return m_visible; }
    void setCursorVisible(bool visible);

private:
    friend class GraphControl;
    friend class GraphCursors;
    explicit GraphCursor(GraphControl* owner) : m_owner(owner) {}
    GraphControl* m_owner;
    double m_x = 0;
    double m_y = 0;
    CursorSnap m_snap = CursorSnap::Free;
    int m_color = 0x008000;
    bool m_visible = true;
};

// The graph's cursors, numbered from 1. References stay valid until RemoveAll.
class GraphCursors {
public:
    [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
    GraphCursor& Add();  // placed at the middle of the visible ranges
    void RemoveAll();
    // Raises VbError(9) outside 1..Count.
    [[nodiscard]] GraphCursor& Item(int index) const;
    [[nodiscard]] GraphCursor& operator()(int index) const { return Item(index); }
    [[nodiscard]] int indexOf(const GraphCursor* cursor) const;  // 1-based, 0 when not here

private:
    friend class GraphControl;
    explicit GraphCursors(GraphControl* owner) : m_owner(owner) {}
    GraphControl* m_owner;
    std::vector<std::unique_ptr<GraphCursor>> m_items;
};

// Annotations are never added by the program; the collection exists so a plot can clear them.
class GraphAnnotations {
public:
    [[nodiscard]] int Count() const { return 0; }
    void RemoveAll() {}
};

class GraphControl : public Control {
public:
    enum TrackModes {
        kTrackNormal = 1,
        kTrackDragCursor = 2,
        kTrackPanXY = 3,
        kTrackPanX = 4,
        kTrackPanY = 5,
        kTrackZoomXY = 6,
        kTrackZoomX = 7,
        kTrackZoomY = 8
    };

    explicit GraphControl(QWidget* parent);
    ~GraphControl() override;

    // 1 to 8 (TrackModes); anything else raises VbError(380). A drag in progress ends.
    void setTrackMode(int mode);
    [[nodiscard]] int TrackMode() const { return m_trackMode; }
    // Background of the graph around and behind the plot area.
    void setGraphColor(int rgb);
    [[nodiscard]] int GraphColor() const { return m_graphColor; }

    // Replaces the plot by the trace through (xs[i], ys[i]); raises VbError(5) when the lengths differ.
    void PlotPairs(const std::vector<double>& xs, const std::vector<double>& ys);
    // Replaces the plot by bars: value i stands from x - xStep to x, where x = firstX + i × xStep.
    void PlotSeries(const std::vector<double>& values, double firstX = 1, double xStep = 1);

    // 1 the x axis, 2 the y axis; raises VbError(9) otherwise.
    [[nodiscard]] GraphAxis& Axes(int index);
    [[nodiscard]] GraphCursors& Cursors() { return m_cursors; }
    [[nodiscard]] GraphCursor& Cursors(int index) { return m_cursors.Item(index); }
    [[nodiscard]] GraphAnnotations& Annotations() { return m_annotations; }

    // Raised for every move of a cursor: its index (from 1) and its position in axis units.
    std::function<void(int index, double x, double y)> onCursorChange;

    // The plot area in the widget's pixels at its current size (tests, mouse positions).
    [[nodiscard]] QRect plotArea() const;

private:
    friend class GraphAxis;
    friend class GraphCursor;
    friend class GraphCursors;
    friend class GraphWidget;

    struct Layout;
    [[nodiscard]] Layout layout(const QRect& bounds) const;
    void paint(QPainter& painter, const QRect& bounds) const;
    void paintPlot(QPainter& painter, const Layout& layout) const;
    void paintCursors(QPainter& painter, const Layout& layout) const;
    void mousePressed(QMouseEvent* event);
    void mouseMoved(QMouseEvent* event);
    void mouseReleased(QMouseEvent* event);
    void dragCursorTo(const QPointF& pixel, const Layout& layout);
    void applyZoom(const Layout& layout);
    void autoscale();
    void cursorMoved(GraphCursor* cursor);
    void changed();

    enum class PlotKind { None, Pairs, Series };
    enum class Drag { None, Cursor, Pan, Zoom };

    int m_trackMode = kTrackNormal;
    int m_graphColor = 0xF0F0F0;
    PlotKind m_plotKind = PlotKind::None;
    std::vector<double> m_xs;  // pairs
    std::vector<double> m_ys;  // pairs: y; series: the values
    double m_firstX = 1;
    double m_xStep = 1;
    GraphAxis m_xAxis{this};
    GraphAxis m_yAxis{this};
    GraphCursors m_cursors{this};
    GraphAnnotations m_annotations;

    Drag m_drag = Drag::None;
    QPointF m_pressPixel;
    QPointF m_dragPixel;
    QRectF m_pressPlot;
    AxisRange m_pressX, m_pressY;
};

}  // namespace sq
