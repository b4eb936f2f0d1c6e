#include "platform/ui/x11_frame_extents.h"

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace sq {

namespace {

xcb_connection_t* x11Connection() {
    auto* app = qGuiApp;
    if (!app || QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_atom_t atom = XCB_ATOM_NONE;
    if (xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr)) {
        atom = reply->atom;
        std::free(reply);
    }
    return atom;
}

xcb_atom_t frameExtentsAtom(xcb_connection_t* connection) {
    static const xcb_atom_t atom = internAtom(connection, "_NET_FRAME_EXTENTS");
    return atom;
}

xcb_atom_t supportedAtom(xcb_connection_t* connection) {
    static const xcb_atom_t atom = internAtom(connection, "_NET_SUPPORTED");
    return atom;
}

// True when the window manager lists _NET_FRAME_EXTENTS among the hints it supports.
bool statesBorders(xcb_connection_t* connection) {
    const xcb_atom_t extents = frameExtentsAtom(connection);
    const xcb_atom_t supported = supportedAtom(connection);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (extents == XCB_ATOM_NONE || supported == XCB_ATOM_NONE || !screen) return false;
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, screen->root, supported, XCB_ATOM_ATOM, 0, 1024);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (!reply || reply->type != XCB_ATOM_ATOM || reply->format != 32) return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    return std::find(atoms, atoms + reply->value_len, extents) != atoms + reply->value_len;
}

class FrameExtentsWatcher : public QAbstractNativeEventFilter {
public:
    std::function<void(QWidget&)> changed;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (!changed || eventType != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return false;
        const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        xcb_connection_t* connection = x11Connection();
        if (!connection || notify->atom != frameExtentsAtom(connection)) return false;
        if (QWidget* w = QWidget::find(notify->window); w && w->isWindow()) changed(*w);
        return false;
    }
};

}  // namespace

std::optional<QMargins> X11FrameBorders::stated(const QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    const WId id = window.internalWinId();
    if (!connection || id == 0) return std::nullopt;
    const xcb_atom_t atom = frameExtentsAtom(connection);
    if (atom == XCB_ATOM_NONE) return std::nullopt;
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, static_cast<xcb_window_t>(id), atom, XCB_ATOM_CARDINAL, 0, 4);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (!reply || reply->type != XCB_ATOM_CARDINAL || reply->format != 32 || reply->value_len != 4)
        return std::nullopt;
    // left, right, top, bottom
    const auto* value = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return QMargins(static_cast<int>(value[0]), static_cast<int>(value[2]), static_cast<int>(value[1]),
                    static_cast<int>(value[3]));
}

bool X11FrameBorders::statedByManager() {
    static xcb_connection_t* statedOn = nullptr;
    xcb_connection_t* connection = x11Connection();
    if (!connection) return false;
    if (connection == statedOn) return true;
    if (!statesBorders(connection)) return false;
    statedOn = connection;
    return true;
}

void onX11FrameExtentsChange(std::function<void(QWidget&)> changed) {
    static FrameExtentsWatcher watcher;
    static QPointer<QGuiApplication> watchedApp;
    if (!qGuiApp) return;
    if (watchedApp != qGuiApp) {
        qGuiApp->installNativeEventFilter(&watcher);
        watchedApp = qGuiApp;
    }
    watcher.changed = std::move(changed);
}

}  // namespace sq
