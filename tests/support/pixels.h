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

// True when `control`, placed in a bevelled panel, leaves the panel's border and the pixel just
// inside it as they are without the control, and where it reaches past them is drawn right up to
// that pixel: the user sees the panel's edge and, apart from it, the control's own border.
inline bool drawnClearOfPanelBorder(QWidget& control) {
    auto* panel = qobject_cast<QFrame*>(control.parentWidget());
    if (!panel) return false;
    QApplication::processEvents();
    control.hide();
    const QImage without = panel->grab().toImage();
    control.show();
    const QImage with = panel->grab().toImage();
    auto changed = [&](int x, int y) { return with.pixel(x, y) != without.pixel(x, y); };

    const QRect room = panel->contentsRect().adjusted(1, 1, -1, -1);  // inside the border and the air
    const QRect g = control.geometry().intersected(panel->rect());
    for (int y = g.top(); y <= g.bottom(); ++y)
        for (int x = g.left(); x <= g.right(); ++x)
            if (!room.contains(x, y) && changed(x, y)) return false;
    const QRect drawn = g.intersected(room);
    auto columnDrawn = [&](int x) {
        for (int y = drawn.top(); y <= drawn.bottom(); ++y)
            if (changed(x, y)) return true;
        return false;
    };
    auto rowDrawn = [&](int y) {
        for (int x = drawn.left(); x <= drawn.right(); ++x)
            if (changed(x, y)) return true;
        return false;
    };
    return (g.left() >= room.left() || columnDrawn(room.left())) &&
           (g.right() <= room.right() || columnDrawn(room.right())) &&
           (g.top() >= room.top() || rowDrawn(room.top())) &&
           (g.bottom() <= room.bottom() || rowDrawn(room.bottom()));
}

// True when `control` paints its own outermost columns and rows, each of them somewhere: its border
// is drawn at the full place its window gave it, not inset. Measured against its parent's picture
// without it.
inline bool drawnToItsOwnEdges(QWidget& control) {
    QWidget* parent = control.parentWidget();
    if (!parent) return false;
    const QRect g = control.geometry();
    if (!parent->rect().contains(g)) return false;
    QApplication::processEvents();
    control.hide();
    const QImage without = parent->grab().toImage();
    control.show();
    const QImage with = parent->grab().toImage();
    auto changed = [&](int x, int y) { return with.pixel(x, y) != without.pixel(x, y); };
    auto columnDrawn = [&](int x) {
        for (int y = g.top(); y <= g.bottom(); ++y)
            if (changed(x, y)) return true;
        return false;
    };
    auto rowDrawn = [&](int y) {
        for (int x = g.left(); x <= g.right(); ++x)
            if (changed(x, y)) return true;
        return false;
    };
    return columnDrawn(g.left()) && columnDrawn(g.right()) && rowDrawn(g.top()) && rowDrawn(g.bottom());
}

}  // namespace sqtest
