#pragma once
// The window manager's borders around a top-level window on X11, as the manager states them in the
// window's _NET_FRAME_EXTENTS, and news of their change. Qt reads its own figure when it next hears
// of the window's geometry, so a window framed where it already stands, or one whose borders Qt
// read while the manager was still framing it, can keep borders of nothing there.
#include <QMargins>
#include <functional>
#include <optional>

class QWidget;

namespace sq {

// The borders the window manager states for a top-level widget; nullopt when the application does
// not run on X11, the widget has no native window or no borders are stated (yet).
[[nodiscard]] std::optional<QMargins> x11FrameExtents(const QWidget& window);

// True when the application runs on X11 under a window manager that states the borders it puts
// around windows (it lists _NET_FRAME_EXTENTS among the hints it supports).
[[nodiscard]] bool x11WindowManagerStatesBorders();

// Calls `changed` with each top-level widget whose window manager states new borders (X11 only).
// One watcher for the application; a later call replaces it.
void onX11FrameExtentsChange(std::function<void(QWidget&)> changed);

}  // namespace sq
