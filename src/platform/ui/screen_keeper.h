#pragma once
// Every top-level window of the program, dialogs and message boxes included, stands with its frame
// inside its screen's available area. A window that is shown, resized, restored or framed by the
// window manager so that it would stick out is moved in, and made smaller where it is larger than
// the area (a minimum larger than the area gives way). A window the user only moves stays where it
// is put.
class QWidget;

namespace sq {

// Installs the watcher on the application, once. The window layer does so with its first window,
// so the program and every test run the same path.
void keepWindowsOnScreen();

// How often in a row a window is asked for a frame on screen before it is left where a window
// manager that will not have it keeps it.
inline constexpr int kMaxFitTries = 3;

// True while a window manager is framing a shown top-level widget and has not stated its borders:
// a frame given to the window now would be taken with the wrong borders.
[[nodiscard]] bool framingPending(const QWidget& window);

}  // namespace sq
