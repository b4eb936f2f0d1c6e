#pragma once
// What a widget looks like on screen, measured on its grabbed picture.
#include <QApplication>
#include <QColor>
#include <QFrame>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

namespace sqtest {

// How far a widget's picture strays from a background colour: the largest difference in lightness,
// and the largest saturation, over its pixels.
struct Contrast {
    int lightness = 0;
    int saturation = 0;
};

inline Contrast contrastOf(QWidget& widget, const QColor& background) {
    const QImage image = widget.grab().toImage();
    Contrast c;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            c.lightness = std::max(c.lightness, std::abs(pixel.lightness() - background.lightness()));
            c.saturation = std::max(c.saturation, pixel.hslSaturation());
        }
    return c;
}

// A disabled toolbar button looks faint: no pixel differs from the bar's background by more than a
// third of the range from black to white, and none has more than a trace of colour.
constexpr int kFaintLightness = 255 / 3;
constexpr int kFaintSaturation = 16;

inline bool looksFaint(const Contrast& c) {
    return c.lightness <= kFaintLightness && c.saturation <= kFaintSaturation;
}

// What a control adds to its parent's picture: the parent grabbed with the control and without it.
class ControlPaint {
public:
    explicit ControlPaint(QWidget& control, QWidget& parent) {
        QApplication::processEvents();
        control.hide();
        m_without = parent.grab().toImage();
        control.show();
        m_with = parent.grab().toImage();
    }
    [[nodiscard]] bool changed(int x, int y) const { return m_with.pixel(x, y) != m_without.pixel(x, y); }
    // Whether the control changed a pixel of column x, or of row y, within `within`.
    [[nodiscard]] bool columnDrawn(int x, const QRect& within) const {
        for (int y = within.top(); y <= within.bottom(); ++y)
            if (changed(x, y)) return true;
        return false;
    }
    [[nodiscard]] bool rowDrawn(int y, const QRect& within) const {
        for (int x = within.left(); x <= within.right(); ++x)
            if (changed(x, y)) return true;
        return false;
    }

private:
    QImage m_with;
    QImage m_without;
};

// True when `control`, placed in a bevelled panel, leaves the panel's border and the pixel just
// inside it as they are without the control, and where it reaches past them is drawn right up to
// that pixel: the user sees the panel's edge and, apart from it, the control's own border.
inline bool drawnClearOfPanelBorder(QWidget& control) {
    auto* panel = qobject_cast<QFrame*>(control.parentWidget());
    if (!panel) return false;
    const ControlPaint paint(control, *panel);
    const QRect room = panel->contentsRect().adjusted(1, 1, -1, -1);  // inside the border and the air
    const QRect g = control.geometry().intersected(panel->rect());
    for (int y = g.top(); y <= g.bottom(); ++y)
        for (int x = g.left(); x <= g.right(); ++x)
            if (!room.contains(x, y) && paint.changed(x, y)) return false;
    const QRect drawn = g.intersected(room);
    return (g.left() >= room.left() || paint.columnDrawn(room.left(), drawn)) &&
           (g.right() <= room.right() || paint.columnDrawn(room.right(), drawn)) &&
           (g.top() >= room.top() || paint.rowDrawn(room.top(), drawn)) &&
           (g.bottom() <= room.bottom() || paint.rowDrawn(room.bottom(), drawn));
}

// True when `control` paints its own outermost columns and rows, each of them somewhere: its border
// is drawn at the full place its window gave it, not inset. Measured against its parent's picture
// without it.
inline bool drawnToItsOwnEdges(QWidget& control) {
    QWidget* parent = control.parentWidget();
    if (!parent) return false;
    const QRect g = control.geometry();
    if (!parent->rect().contains(g)) return false;
    const ControlPaint paint(control, *parent);
    return paint.columnDrawn(g.left(), g) && paint.columnDrawn(g.right(), g) && paint.rowDrawn(g.top(), g) &&
           paint.rowDrawn(g.bottom(), g);
}

}  // namespace sqtest
