#pragma once
// Every top-level window of the program, dialogs and message boxes included, stands with its frame
// inside its screen's available area. A window that is shown, resized, restored or framed by the
// window manager so that it would stick out is moved in, and made smaller where it is larger than
// the area (a minimum larger than the area gives way). A window the user only moves stays where it
// is put.
#include <QMargins>
#include <QRect>

class QWidget;

namespace sq {

// Installs the watcher on the application, once. The window layer does so with its first window,
// so the program and every test run the same path.
void keepWindowsOnScreen();

// How often in a row a window is asked for a frame on screen before it is left where a window
// manager that will not have it keeps it.
inline constexpr int kMaxFitTries = 3;

// The available area of the screen `window` is on (empty when it has none).
[[nodiscard]] QRect availableAreaOf(const QWidget& window);

// True while a window manager is framing a shown top-level widget and has not stated its borders:
// a frame given to the window now would be taken with the wrong borders.
[[nodiscard]] bool framingPending(const QWidget& window);

// A top-level widget's outer frame in screen pixels, as the window system reports it now.
[[nodiscard]] QRect outerFrameOf(const QWidget& window);

// The borders the window system puts around a top-level widget now (none before it is framed).
[[nodiscard]] QMargins bordersOf(const QWidget& window);

// Gives a top-level widget the outer frame `frame` (screen pixels): its client area is the frame
// less the borders the window system reports now.
void applyOuterFrame(QWidget& window, const QRect& frame);

}  // namespace sq
