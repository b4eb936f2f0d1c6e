#include "platform/ui/screen_keeper.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "platform/ui/window_placement.h"
#include "platform/ui/x11_frame_extents.h"

namespace sq {

namespace {

// Windows of their own; menus, tool tips and the like are the toolkit's to place.
bool isKeptWindow(const QWidget& w) {
    if (!w.isWindow()) return false;
    const Qt::WindowType type = w.windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Tool;
}

QWidget* keptWindow(QObject* watched) {
    if (!watched->isWidgetType()) return nullptr;
    auto* w = static_cast<QWidget*>(watched);
    return isKeptWindow(*w) ? w : nullptr;
}

WindowPlacement* placementOf(QObject* watched) {
    QWidget* w = keptWindow(watched);
    return w ? WindowPlacement::find(*w) : nullptr;
}

// The kept top-level widget whose native window `watched` is, when that window is exposed.
QWidget* exposedWindow(QObject* watched) {
    if (!watched->isWindowType()) return nullptr;
    auto* handle = static_cast<QWindow*>(watched);
    if (!handle->isExposed()) return nullptr;
    QWidget* w = QWidget::find(handle->winId());
    return w && w->windowHandle() == handle && isKeptWindow(*w) ? w : nullptr;
}

class ScreenKeeper : public QObject {
public:
    explicit ScreenKeeper(QObject* parent) : QObject(parent) {
        onX11FrameExtentsChange([](QWidget& w) {
            if (WindowPlacement* placement = placementOf(&w)) placement->bordersChanged();
        });
    }
    ~ScreenKeeper() override { onX11FrameExtentsChange({}); }
    ScreenKeeper(const ScreenKeeper&) = delete;
    ScreenKeeper& operator=(const ScreenKeeper&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Show:
                if (QWidget* w = keptWindow(watched)) WindowPlacement::of(*w).shown(!event->spontaneous());
                break;
            case QEvent::Hide:
                if (WindowPlacement* placement = placementOf(watched))
                    placement->hidden(!event->spontaneous());
                break;
            case QEvent::Resize:
            case QEvent::WindowStateChange:
                if (WindowPlacement* placement = placementOf(watched)) placement->resized();
                break;
            case QEvent::Move:
                if (WindowPlacement* placement = placementOf(watched)) placement->moved();
                break;
            case QEvent::Expose:
                if (QWidget* w = exposedWindow(watched)) WindowPlacement::of(*w).exposed();
                break;
            default:
                break;
        }
        return false;
    }
};

}  // namespace

void keepWindowsOnScreen() {
    static QPointer<ScreenKeeper> keeper;
    QCoreApplication* app = QCoreApplication::instance();
    if (keeper || !app) return;
    keeper = new ScreenKeeper(app);
    app->installEventFilter(keeper);
}

}  // namespace sq
