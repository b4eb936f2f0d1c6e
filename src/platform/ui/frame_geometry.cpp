#include "platform/ui/frame_geometry.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

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

}  // namespace sq
