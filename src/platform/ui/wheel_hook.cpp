#include "platform/ui/wheel_hook.h"

#include <QApplication>
#include <QPointer>
#include <QWheelEvent>
#include <QWidget>
#include <map>
#include <set>

#include "platform/ui/flex_grid.h"
#include "platform/ui/window.h"
#include "platform/vb_error.h"

namespace sq {

int16_t WheelStep = 1;

namespace {

FlexGrid* g_wheelGrid = nullptr;
std::map<const QWidget*, FlexGrid*> g_grids;  // grid widget -> grid
std::set<const Window*> g_hooked;

// The registered grid whose widget is `w` or one of its ancestors.
FlexGrid* gridAt(const QWidget* w) {
    for (; w; w = w->parentWidget()) {
        auto it = g_grids.find(w);
        if (it != g_grids.end()) return it->second;
    }
    return nullptr;
}

class WheelFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        FlexGrid* under = widget ? gridAt(widget) : nullptr;
        const Window* owner = under ? windowOf(under->widget()) : nullptr;
        if (!owner || !isWheelHooked(*owner)) return false;
        m_delta += static_cast<QWheelEvent*>(event)->angleDelta().y();
        while (m_delta >= 120 || m_delta <= -120) {
            const int sign = m_delta > 0 ? 1 : -1;
            m_delta -= sign * 120;
            if (g_wheelGrid) scrollGridByWheel(*g_wheelGrid, sign, WheelStep);
        }
        return true;
    }

private:
    int m_delta = 0;
};

void installFilterOnce() {
    static WheelFilter* filter = nullptr;
    if (filter || !qApp) return;
    filter = new WheelFilter;
    filter->setParent(qApp);
    qApp->installEventFilter(filter);
}

}  // namespace

FlexGrid* WheelGrid() {
    return g_wheelGrid;
}
void setWheelGrid(FlexGrid* grid) {
    g_wheelGrid = grid;
}

void registerWheelGrid(FlexGrid& grid) {
    QWidget* widget = grid.widget();
    g_grids[widget] = &grid;
    QObject::connect(widget, &QObject::destroyed, [widget, &grid] {
        g_grids.erase(widget);
        if (g_wheelGrid == &grid) g_wheelGrid = nullptr;
    });
    auto gotFocus = grid.onGotFocus;
    grid.onGotFocus = [&grid, gotFocus] {
        g_wheelGrid = &grid;
        if (gotFocus) gotFocus();
    };
    auto lostFocus = grid.onLostFocus;
    grid.onLostFocus = [&grid, lostFocus] {
        if (g_wheelGrid == &grid) g_wheelGrid = nullptr;
        if (lostFocus) lostFocus();
    };
}

void HookWheel(Window& window) {
    installFilterOnce();
    g_hooked.insert(&window);
}

void UnhookWheel(Window& window) {
    g_hooked.erase(&window);
}

bool isWheelHooked(const Window& window) {
    return g_hooked.count(&window) > 0;
}

void scrollGridByWheel(FlexGrid& grid, int delta, int step) {
    try {
        if (delta > 0) {
            if (grid.TopRow() > 0) grid.setTopRow(grid.TopRow() - step);
        } else {
            grid.setTopRow(grid.TopRow() + step);
        }
    } catch (const VbError&) {
        // a top row the grid refuses leaves it where it is
    }
}

}  // namespace sq
