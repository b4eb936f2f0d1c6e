#pragma once
// Where a top-level window's frame is, as the window system reports it and as the program asks for
// it. Pixels, in screen coordinates.
#include <QMargins>
#include <QRect>

class QWidget;

namespace sq {

// The outer frame around a client area. While a window manager is still framing a window, Qt can
// read the frame from a frame window the manager has not sized yet (a 1 x 1 frame around a
// 911 x 750 client); a frame is never smaller than its client, so such a frame counts as the client.
[[nodiscard]] QRect outerFrame(const QRect& frameGeometry, const QRect& clientGeometry);

// A frame placed on the screen's available area: no wider or taller than the area, and moved inside
// it where it would stick out. An empty area leaves the frame as it is.
[[nodiscard]] QRect fitInside(const QRect& frame, const QRect& area);

// The available area of the screen `window` is on (empty when it has none).
[[nodiscard]] QRect availableAreaOf(const QWidget& window);

}  // namespace sq
