#pragma once
// A top-level window's place on the screen, one object per window: the program's windows and the
// toolkit's dialogs and message boxes alike. It keeps the window with its frame inside the screen's
// available area, gives frames asked for by code once the window manager's borders are known, and
// caches those borders, asking the window system again only when they change.
//
// The screen keeper (screen_keeper.h) makes one for each top-level window when it is first shown and
// passes the window's events on to it; the program's windows make theirs with their widgets.
#include <QMargins>
#include <QObject>
#include <QRect>
#include <functional>
#include <optional>

class QWidget;

namespace sq {

enum class PlacementState {
    Unshown,        // hidden by code, or not shown yet
    AwaitingFrame,  // shown, and not yet found framed: a window manager is still framing it
    Placed,         // framed, and kept with its frame inside the screen's available area
    GivenUp,        // asked kMaxFitTries times in a row for a frame on the screen and not given it
};

// How often in a row a window is asked for a frame on the screen before it is left where a window
// manager that will not have it keeps it.
inline constexpr int kMaxFitTries = 3;

// What the program's own window adds to its placement; a toolkit dialog has none.
struct PlacementOwner {
    // False while the window's code has it unloaded: it is left alone then.
    std::function<bool()> placeable;
    // Once after each show, when the frame is first known and the window is neither minimised nor
    // maximised (a window shown so has it when it is restored).
    std::function<void()> framed;
};

class WindowPlacement : public QObject {
    Q_OBJECT
public:
    // The placement of a top-level widget, made on first use and owned by the widget.
    static WindowPlacement& of(QWidget& window);
    [[nodiscard]] static WindowPlacement* find(const QWidget& window);

    WindowPlacement(const WindowPlacement&) = delete;
    WindowPlacement& operator=(const WindowPlacement&) = delete;

    // The program's windows lay themselves out at whatever size they get; a window without an owner
    // (a toolkit dialog) has its minimum and maximum give way to a frame that fits the screen.
    void setOwner(PlacementOwner owner) { m_owner = std::move(owner); }
    [[nodiscard]] PlacementState state() const { return m_state; }

    // The borders around the window: those its window manager stated when they last changed, else
    // the toolkit's own figure (none before the window is framed).
    [[nodiscard]] QMargins borders() const;
    // The outer frame in screen pixels: the client area and the borders.
    [[nodiscard]] QRect outerFrame() const;
    // True while a window manager is framing the shown window and has not stated its borders: a
    // frame given to the window now would be taken with the wrong borders.
    [[nodiscard]] bool framingPending() const;

    // A frame asked for by code: gathered, and given once the event being handled is done and the
    // window is framed. Until then it is the window's frame as far as its code is concerned.
    void request(const QRect& frame);
    [[nodiscard]] const std::optional<QRect>& requested() const { return m_requested; }
    void dropRequest() { m_requested.reset(); }
    // Gives the window the outer frame `frame` now; its client area is the frame less the borders.
    void apply(const QRect& frame);
    // The window's size now supersedes a request made for an earlier one, unless the window manager
    // is still framing it. A frame applied with borders other than the window's now is due again.
    void supersedeRequest();
    // The frame last applied has moved (the window was centred).
    void moveApplied(const QPoint& topLeft);

    // The window's events, as the screen keeper passes them on. `byCode` is false for the window
    // system's own hide and show (minimising and restoring), which do not end a showing.
    void shown(bool byCode);
    void hidden(bool byCode);
    void exposed();
    void moved();
    void resized();
    // The window manager has stated new borders for the window.
    void bordersChanged();

    // Checks the window once the event being handled is done: see keepOnScreen.
    void scheduleCheck();
    // A shown, restored window: a frame that waited for the window manager goes out, else the
    // window is asked for a frame inside the screen's available area (the retry rule in askAgain).
    void keepOnScreen();

private:
    explicit WindowPlacement(QWidget& window);
    [[nodiscard]] bool placeable() const;
    [[nodiscard]] bool restored() const;
    [[nodiscard]] std::optional<QRect> frameDueAgain() const;
    void applyRequested();
    void postOnce(bool& posted, void (WindowPlacement::*step)());
    [[nodiscard]] bool askAgain(const QRect& frame);
    void readBorders();
    void noteBorders() { m_bordersSeen = borders(); }

    QWidget& m_window;
    PlacementOwner m_owner;
    PlacementState m_state = PlacementState::Unshown;
    // Asked when the window is shown: whether a window manager frames it and states its borders.
    bool m_managerFrames = false;
    // Shown or minimised and not mapped since: its next exposure ends the window manager's framing.
    bool m_awaitingExposure = true;
    std::optional<QMargins> m_statedBorders;
    // The borders when the window last moved, resized or was framed: a move that brings others
    // means the window manager framed the window anew.
    QMargins m_bordersSeen;
    std::optional<QRect> m_requested;
    bool m_requestPosted = false;
    bool m_checkPosted = false;
    bool m_applying = false;
    // The frame last applied and the borders the window had then.
    std::optional<QRect> m_applied;
    QMargins m_appliedBorders;
    // The frame last asked for on the window's behalf, and how often in a row.
    QRect m_asked;
    int m_tries = 0;
};

// The borders and the outer frame of a top-level widget, through its placement.
[[nodiscard]] QMargins bordersOf(QWidget& window);
[[nodiscard]] QRect outerFrameOf(QWidget& window);

}  // namespace sq
