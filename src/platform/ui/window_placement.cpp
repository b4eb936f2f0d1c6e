#include "platform/ui/window_placement.h"

#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "platform/ui/frame_borders.h"
#include "platform/ui/frame_geometry.h"

namespace sq {

WindowPlacement& WindowPlacement::of(QWidget& window) {
    if (WindowPlacement* placement = find(window)) return *placement;
    return *new WindowPlacement(window);
}

WindowPlacement* WindowPlacement::find(const QWidget& window) {
    return window.findChild<WindowPlacement*>(QString(), Qt::FindDirectChildrenOnly);
}

WindowPlacement::WindowPlacement(QWidget& window) : QObject(&window), m_window(window) {
    readBorders();
    noteBorders();
}

QMargins WindowPlacement::borders() const {
    if (m_statedBorders) return *m_statedBorders;
    const QRect client = m_window.geometry();
    const QRect frame = sq::outerFrame(m_window.frameGeometry(), client);
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

QRect WindowPlacement::outerFrame() const {
    return m_window.geometry().marginsAdded(borders());
}

bool WindowPlacement::framingPending() const {
    if (!m_managerFrames || !m_window.isVisible()) return false;
    // The manager maps the window once it has framed and placed it.
    const QWindow* handle = m_window.windowHandle();
    return !handle || !handle->isExposed() || !m_statedBorders;
}

// A top-level window's size is the window system's to give: a request goes out and the answer comes
// back later as a resize. Sizes a resize handler sets (the width, then the height) are therefore
// gathered into one request, sent once the event that ran the handler has been handled, so that no
// answer to a half-made request can arrive after the whole one, and the frame's layout is never
// resized from inside its own layout pass.
void WindowPlacement::request(const QRect& frame) {
    m_requested = frame;
    postOnce(m_requestPosted, &WindowPlacement::applyRequested);
}

// Runs `step` once the event being handled is done, once however often it is asked for meanwhile.
void WindowPlacement::postOnce(bool& posted, void (WindowPlacement::*step)()) {
    if (posted) return;
    posted = true;
    QMetaObject::invokeMethod(
        this,
        [this, &posted, step] {
            posted = false;
            (this->*step)();
        },
        Qt::QueuedConnection);
}

// While the window manager is framing the window the frame waits for its borders: keepOnScreen
// gives it when they come.
void WindowPlacement::applyRequested() {
    if (!m_requested || !placeable() || framingPending()) return;
    apply(*m_requested);
}

void WindowPlacement::apply(const QRect& frame) {
    m_requested.reset();
    m_applied = frame;
    m_appliedBorders = borders();
    const QRect client = frame.marginsRemoved(m_appliedBorders);
    const QSize size(std::max(0, client.width()), std::max(0, client.height()));
    if (!m_owner.placeable) {  // a toolkit dialog: its limits give way
        m_window.setMinimumSize(m_window.minimumSize().boundedTo(size));
        m_window.setMaximumSize(m_window.maximumSize().expandedTo(size));
    }
    // The window's own echo of this frame is no news: only the window system's answer is checked.
    m_applying = true;
    m_window.move(frame.topLeft());
    m_window.resize(size);
    m_applying = false;
}

void WindowPlacement::supersedeRequest() {
    if (framingPending()) return;
    m_requested.reset();
    if (std::optional<QRect> again = frameDueAgain()) request(*again);
}

void WindowPlacement::moveApplied(const QPoint& topLeft) {
    if (m_applied) m_applied->moveTopLeft(topLeft);
}

// Borders other than those the last frame was applied with: the frame went to a window the window
// manager had not framed yet (or had framed otherwise, as when maximised), so it is due again.
std::optional<QRect> WindowPlacement::frameDueAgain() const {
    if (!m_applied || !restored() || borders() == m_appliedBorders) return std::nullopt;
    return fitInside(*m_applied, availableAreaOf(m_window));
}

bool WindowPlacement::placeable() const {
    return !m_owner.placeable || m_owner.placeable();
}

bool WindowPlacement::restored() const {
    return m_window.isVisible() &&
           !(m_window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

void WindowPlacement::shown(bool byCode) {
    if (byCode || m_state == PlacementState::Unshown) {
        m_state = PlacementState::AwaitingFrame;
        m_tries = 0;
        m_asked = QRect();
        m_managerFrames = frameBorders().statedByManager();
    }
    noteBorders();
    scheduleCheck();
}

void WindowPlacement::hidden(bool byCode) {
    if (byCode) m_state = PlacementState::Unshown;
    m_awaitingExposure = true;
}

// The first exposure after a show or a restore ends the window manager's framing: its borders are
// read then, and again whenever it states new ones.
void WindowPlacement::exposed() {
    if (!m_awaitingExposure) return;
    m_awaitingExposure = false;
    bordersChanged();
}

void WindowPlacement::bordersChanged() {
    readBorders();
    noteBorders();
    scheduleCheck();
}

// A window manager may frame a window without moving or resizing it; on X11 it says so
// (bordersChanged), elsewhere the window learns of its borders when it next moves. A window the
// user only moves stays where it is put.
void WindowPlacement::moved() {
    if (borders() == m_bordersSeen) return;
    noteBorders();
    if (!m_applying) scheduleCheck();
}

void WindowPlacement::resized() {
    noteBorders();
    if (!m_applying) scheduleCheck();
}

void WindowPlacement::readBorders() {
    m_statedBorders = frameBorders().stated(m_window);
}

// Checked once the event that moved the window has been handled, and the window's own resize
// handler has had its say.
void WindowPlacement::scheduleCheck() {
    postOnce(m_checkPosted, &WindowPlacement::keepOnScreen);
}

void WindowPlacement::keepOnScreen() {
    if (!restored() || !placeable() || framingPending()) return;
    if (m_state == PlacementState::AwaitingFrame) {
        m_state = PlacementState::Placed;
        if (m_owner.framed) m_owner.framed();
        if (!restored()) return;
    }
    if (m_requested) {
        if (!m_requestPosted) applyRequested();
        return;
    }
    const QRect now = outerFrame();
    const QRect fitted = frameDueAgain().value_or(fitInside(now, availableAreaOf(m_window)));
    if (fitted == now) {
        m_state = PlacementState::Placed;
        // Inside by itself, the user's or the code's doing, not as the echo of the last ask.
        if (now != m_asked) m_tries = 0;
        return;
    }
    if (askAgain(fitted)) request(fitted);
}

// The one retry rule: a window manager may keep a window where it wants it. Asked kMaxFitTries
// times in a row for the same frame, the window is left where the manager keeps it, until it needs
// another frame, stands inside the area by other means or is shown again. The window reports an
// asked frame at once, before the manager answers, so finding it there proves nothing.
bool WindowPlacement::askAgain(const QRect& frame) {
    m_tries = frame == m_asked ? m_tries + 1 : 1;
    m_asked = frame;
    if (m_tries <= kMaxFitTries) return true;
    m_state = PlacementState::GivenUp;
    return false;
}

QMargins bordersOf(QWidget& window) {
    return WindowPlacement::of(window).borders();
}

QRect outerFrameOf(QWidget& window) {
    return WindowPlacement::of(window).outerFrame();
}

}  // namespace sq
