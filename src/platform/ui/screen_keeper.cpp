#include "platform/ui/screen_keeper.h"

#include <QApplication>
#include <QEvent>
#include <QMargins>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <vector>

#include "platform/ui/form_widget.h"
#include "platform/ui/frame_geometry.h"
#include "platform/ui/window.h"
#include "platform/ui/x11_frame_extents.h"

namespace sq {

namespace {

// The borders the window system put around a window when it was last checked, and the frame last
// asked for on its behalf with how often in a row, so that a window manager that will not have it
// is not asked for ever.
constexpr const char* kBordersSeen = "sqBordersSeen";
constexpr const char* kFitAsked = "sqFitAsked";
constexpr const char* kFitTries = "sqFitTries";
constexpr const char* kExposed = "sqExposed";

// Windows of their own; menus, tool tips and the like are the toolkit's to place.
bool isKeptWindow(const QWidget& w) {
    if (!w.isWindow()) return false;
    const Qt::WindowType type = w.windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Tool;
}

// The classic window a top-level widget is the outer widget of, if any.
Window* classicWindowOf(QWidget& w) {
    if (auto* frame = qobject_cast<FrameWindow*>(&w)) return frame->classicWindow();
    if (auto* form = qobject_cast<FormWidget*>(&w)) return form->window();
    return nullptr;
}

// A window of the toolkit's own (a dialog, a message box): moved in and, where larger than the
// area, made as large as the area, its minimum and maximum giving way.
void fitWidget(QWidget& w) {
    const QRect frame = outerFrameOf(w);
    const QRect fitted = fitInside(frame, availableAreaOf(w));
    if (fitted == frame) {
        w.setProperty(kFitTries, 0);
        return;
    }
    const int tries = w.property(kFitAsked).toRect() == fitted ? w.property(kFitTries).toInt() + 1 : 1;
    if (tries > kMaxFitTries) return;
    w.setProperty(kFitAsked, fitted);
    w.setProperty(kFitTries, tries);
    const QSize client = fitted.size() - (frame.size() - w.size());
    w.setMinimumSize(w.minimumSize().boundedTo(client));
    w.setMaximumSize(w.maximumSize().expandedTo(client));
    applyOuterFrame(w, fitted);
}

class ScreenKeeper : public QObject {
public:
    explicit ScreenKeeper(QObject* parent) : QObject(parent) {
        onX11FrameExtentsChange([this](QWidget& w) {
            if (isKeptWindow(w)) noteAndSchedule(w);
        });
    }
    ~ScreenKeeper() override { onX11FrameExtentsChange({}); }
    ScreenKeeper(const ScreenKeeper&) = delete;
    ScreenKeeper& operator=(const ScreenKeeper&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Show:
            case QEvent::Resize:
            case QEvent::WindowStateChange:
                if (QWidget* w = keptWindow(watched)) noteAndSchedule(*w);
                break;
            // A window manager may frame a window without moving or resizing it; on X11 it says so
            // (see the constructor), elsewhere the window learns of its borders when it next moves.
            case QEvent::Move:
                if (QWidget* w = keptWindow(watched); w && noteBorders(*w)) schedule(w);
                break;
            // The first exposure after a show ends the window manager's framing (framingPending).
            case QEvent::Expose:
                if (QWidget* w = firstExposure(watched)) noteAndSchedule(*w);
                break;
            case QEvent::Hide:
                if (QWidget* w = keptWindow(watched)) w->setProperty(kExposed, false);
                break;
            default:
                break;
        }
        return false;
    }

private:
    static QWidget* keptWindow(QObject* watched) {
        if (!watched->isWidgetType()) return nullptr;
        auto* w = static_cast<QWidget*>(watched);
        return isKeptWindow(*w) ? w : nullptr;
    }

    // The kept top-level widget whose window is exposed for the first time since it was shown.
    static QWidget* firstExposure(QObject* watched) {
        if (!watched->isWindowType() || !static_cast<QWindow*>(watched)->isExposed()) return nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->windowHandle() != watched || !isKeptWindow(*w) || w->property(kExposed).toBool()) continue;
            w->setProperty(kExposed, true);
            return w;
        }
        return nullptr;
    }

    // Records the borders the window has now; true when they differ from those last recorded.
    static bool noteBorders(QWidget& w) {
        const QMargins borders = bordersOf(w);
        const bool changed = w.property(kBordersSeen).value<QMargins>() != borders;
        w.setProperty(kBordersSeen, QVariant::fromValue(borders));
        return changed;
    }

    void noteAndSchedule(QWidget& w) {
        noteBorders(w);
        schedule(&w);
    }

    // Checked once the event that moved the window has been handled, and the window's own resize
    // handler has had its say.
    void schedule(QWidget* w) {
        if (std::find(m_pending.begin(), m_pending.end(), w) != m_pending.end()) return;
        m_pending.emplace_back(w);
        QMetaObject::invokeMethod(
            this,
            [this, guard = QPointer<QWidget>(w)] {
                m_pending.erase(std::remove(m_pending.begin(), m_pending.end(), guard), m_pending.end());
                if (guard) check(*guard);
            },
            Qt::QueuedConnection);
    }

    static void check(QWidget& w) {
        if (!w.isVisible() ||
            (w.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
            return;
        if (Window* window = classicWindowOf(w))
            window->keepOnScreen();
        else if (!framingPending(w))
            fitWidget(w);
    }

    std::vector<QPointer<QWidget>> m_pending;
};

}  // namespace

void keepWindowsOnScreen() {
    static QPointer<ScreenKeeper> keeper;
    QCoreApplication* app = QCoreApplication::instance();
    if (keeper || !app) return;
    keeper = new ScreenKeeper(app);
    app->installEventFilter(keeper);
}

bool framingPending(const QWidget& window) {
    if (!window.isWindow() || !window.isVisible() || !x11WindowManagerStatesBorders()) return false;
    // The manager maps the window once it has framed and placed it.
    const QWindow* handle = window.windowHandle();
    return !handle || !handle->isExposed() || !x11FrameExtents(window);
}

}  // namespace sq
