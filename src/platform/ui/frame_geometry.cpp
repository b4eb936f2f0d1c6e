#include "platform/ui/frame_geometry.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <optional>

#include "platform/ui/x11_frame_extents.h"

namespace sq {

QRect outerFrame(const QRect& frameGeometry, const QRect& clientGeometry) {
    if (!frameGeometry.isValid()) return clientGeometry;
    return frameGeometry.united(clientGeometry);
}

QRect fitInside(const QRect& frame, const QRect& area) {
    if (area.isEmpty()) return frame;
    QRect fitted = frame;
    fitted.setWidth(std::min(frame.width(), area.width()));
    fitted.setHeight(std::min(frame.height(), area.height()));
    fitted.moveLeft(std::clamp(fitted.left(), area.left(), area.right() + 1 - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), area.top(), area.bottom() + 1 - fitted.height()));
    return fitted;
}

QRect availableAreaOf(const QWidget& window) {
    const QScreen* screen = window.screen();
    return screen ? screen->availableGeometry() : QRect();
}

QMargins bordersOf(const QWidget& window) {
    if (std::optional<QMargins> x11 = x11FrameExtents(window)) return *x11;
    const QRect frame = outerFrame(window.frameGeometry(), window.geometry());
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

QRect outerFrameOf(const QWidget& window) {
    return window.geometry().marginsAdded(bordersOf(window));
}

void applyOuterFrame(QWidget& window, const QRect& frame) {
    const QRect client = frame.marginsRemoved(bordersOf(window));
    window.move(frame.topLeft());
    window.resize(std::max(0, client.width()), std::max(0, client.height()));
}

}  // namespace sq
