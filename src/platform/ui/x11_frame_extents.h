#pragma once
// The window manager's borders around a top-level window on X11, as the manager states them in the
// window's _NET_FRAME_EXTENTS, and news of their change. Qt reads its own figure when it next hears
// of the window's geometry, so a window framed where it already stands, or one whose borders Qt
// read while the manager was still framing it, can keep borders of nothing there.
#include <QMargins>
#include <functional>
#include <optional>

#include "platform/ui/frame_borders.h"

class QWidget;

namespace sq {

// The borders as the X server holds them: each question is a round trip.
class X11FrameBorders : public FrameBorders {
public:
    // True when the application runs on X11 under a window manager that lists _NET_FRAME_EXTENTS
    // among the hints it supports. Once it has said so, the answer is kept for the connection;
    // until then the root window is read again, so that a manager that starts later is noticed.
    bool statedByManager() override;
    // The window's _NET_FRAME_EXTENTS; nullopt when the widget has no native window or none are stated.
    std::optional<QMargins> stated(const QWidget& window) override;
};

// Calls `changed` with each top-level widget whose window manager states new borders (X11 only).
// One watcher for the application; a later call replaces it.
void onX11FrameExtentsChange(std::function<void(QWidget&)> changed);

}  // namespace sq
