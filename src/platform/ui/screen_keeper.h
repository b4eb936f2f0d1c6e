#pragma once
// Every top-level window of the program, dialogs and message boxes included, stands with its frame
// inside its screen's available area. A window that is shown, resized, restored or framed by the
// window manager so that it would stick out is moved in, and made smaller where it is larger than
// the area (a toolkit dialog's minimum larger than the area gives way). A window the user only
// moves stays where it is put. Each window's placement (window_placement.h) does the work; the
// keeper passes it the window's events.

namespace sq {

// Installs the watcher on the application, once. The window layer does so with its first window,
// so the program and every test run the same path.
void keepWindowsOnScreen();

}  // namespace sq
