#pragma once
// Where the borders a window manager puts around a top-level window come from. On X11 a manager
// states them in the window's _NET_FRAME_EXTENTS (x11_frame_extents.h); elsewhere, and on an X
// server without such a manager, none are stated and the toolkit's own figure stands.
#include <QMargins>
#include <memory>
#include <optional>

class QWidget;

namespace sq {

class FrameBorders {
public:
    FrameBorders() = default;
    virtual ~FrameBorders() = default;
    FrameBorders(const FrameBorders&) = delete;
    FrameBorders& operator=(const FrameBorders&) = delete;

    // True when a window manager frames top-level windows and states the borders it puts around
    // them: a window shown under it is framed only once it is mapped and its borders are stated.
    [[nodiscard]] virtual bool statedByManager() = 0;
    // The borders the window manager states for `window` now; nullopt where it states none (yet).
    // May ask the window system: callers keep the answer until the borders change.
    [[nodiscard]] virtual std::optional<QMargins> stated(const QWidget& window) = 0;
};

// The source for the platform the application runs on, made on first use.
[[nodiscard]] FrameBorders& frameBorders();

// Replaces the source (tests); nullptr goes back to the platform's.
void setFrameBorders(std::unique_ptr<FrameBorders> source);

}  // namespace sq
