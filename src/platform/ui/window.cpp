#include "platform/ui/window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <algorithm>

#include "platform/ui/form_widget.h"
#include "platform/ui/frame_geometry.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/screen_keeper.h"
#include "platform/ui/twips.h"
#include "platform/ui/window_placement.h"
#include "platform/vb_error.h"

namespace sq {

// ---------------------------------------------------------------------------------------------
// FormWidget / FrameWindow

FormWidget::FormWidget(Window* window, QWidget* parent) : QWidget(parent), m_window(window) {}

void FormWidget::dock(QWidget* widget, Align align) {
    m_docked.erase(std::remove_if(m_docked.begin(), m_docked.end(),
                                  [widget](const Docked& d) { return d.widget == widget || !d.widget; }),
                   m_docked.end());
    if (align != Align::None) {
        m_docked.push_back({widget, align});
        widget->installEventFilter(this);
    }
    relayout();
}

void FormWidget::relayout() {
    if (m_layingOut) return;
    m_layingOut = true;
    QRect free = rect();
    for (const Docked& d : m_docked) {
        QWidget* w = d.widget;
        if (!w || w->isHidden()) continue;
        switch (d.align) {
            case Align::Top:
                w->setGeometry(free.left(), free.top(), free.width(), w->height());
                free.setTop(free.top() + w->height());
                break;
            case Align::Bottom:
                w->setGeometry(free.left(), free.bottom() + 1 - w->height(), free.width(), w->height());
                free.setBottom(free.bottom() - w->height());
                break;
            case Align::Left:
                w->setGeometry(free.left(), free.top(), w->width(), free.height());
                free.setLeft(free.left() + w->width());
                break;
            case Align::Right:
                w->setGeometry(free.right() + 1 - w->width(), free.top(), w->width(), free.height());
                free.setRight(free.right() - w->width());
                break;
            case Align::None:
                break;
        }
    }
    if (m_fill) m_fill->setGeometry(free.normalized());
    m_layingOut = false;
}

bool FormWidget::eventFilter(QObject* watched, QEvent* event) {
    // A docked widget that changes its size or visibility moves the others.
    switch (event->type()) {
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            relayout();
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void FormWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
    if (m_window) m_window->runResize();
}

void FormWidget::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_window) m_window->userClose();
}

void FormWidget::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (m_window && m_window->m_modalLoop) m_window->m_modalLoop->quit();
}

bool FormWidget::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && m_window) m_window->runActivate();
    return QWidget::event(event);
}

FrameWindow::FrameWindow(Window* window) : m_window(window) {}

void FrameWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_window) m_window->userClose();
}

bool FrameWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && m_window) m_window->runActivate();
    return QMainWindow::event(event);
}

// ---------------------------------------------------------------------------------------------
// Window

Window::Window(std::string name, WindowKind kind, int16_t* openFlag)
    : m_name(std::move(name)), m_kind(kind), m_openFlag(openFlag) {
    keepWindowsOnScreen();
    ensureShell();
}

Window::~Window() {
    if (m_modalLoop) m_modalLoop->quit();
    if (m_kind == WindowKind::MdiFrame && windows().mdiArea() == m_mdiArea.data())
        windows().setMdiArea(nullptr);
    // Detach the widgets first, so no event reaches a half-destroyed window.
    if (m_surface) m_surface->detach();
    if (m_frame) m_frame->detach();
    delete outer();
}

void Window::ensureShell() {
    switch (m_kind) {
        case WindowKind::MdiFrame: {
            auto* frame = new FrameWindow(this);
            m_frame = frame;
            m_surface = new FormWidget(this, frame);
            frame->setCentralWidget(m_surface);
            m_mdiArea = newMdiArea(m_surface);
            m_surface->setFillWidget(m_mdiArea);
            windows().setMdiArea(m_mdiArea);
            break;
        }
        case WindowKind::MdiChild:
            m_surface = new FormWidget(this, nullptr);
            if (QMdiArea* area = windows().mdiArea()) {
                m_subWindow = area->addSubWindow(m_surface);
                m_subWindow->hide();
            }
            break;
        case WindowKind::TopLevel:
            m_surface = new FormWidget(this, nullptr);
            break;
    }
    m_surface->setObjectName(QString::fromStdString(m_name));
    m_surface->hide();
    WindowPlacement::of(*outer()).setOwner({[this] { return m_loaded; },
                                            [this] {
                                                HandlerScope scope(this);
                                                framed();
                                            }});
}

WindowPlacement& Window::placement() const {
    return WindowPlacement::of(*outer());
}

QWidget* Window::surface() const {
    return m_surface;
}
QMainWindow* Window::mainWindow() const {
    return m_frame;
}
QMdiArea* Window::mdiArea() const {
    return m_mdiArea;
}

QWidget* Window::outer() const {
    if (m_frame) return m_frame;
    if (m_subWindow) return m_subWindow;
    return m_surface;
}

void Window::Load() {
    if (m_loaded) return;
    m_loaded = true;
    if (m_openFlag) *m_openFlag = -1;
    HandlerScope scope(this);
    Form_Load();
}

namespace {
// Shows a window maximised, minimised or normal; a normal show also restores a maximised one.
void showInState(QWidget* w, WindowState state) {
    switch (state) {
        case WindowState::Maximized:
            w->showMaximized();
            break;
        case WindowState::Minimized:
            w->showMinimized();
            break;
        case WindowState::Normal:
            w->showNormal();
            break;
    }
}
}  // namespace

void Window::Show(ShowMode mode) {
    Load();
    if (!m_loaded) return;  // the load handler unloaded the window
    QWidget* w = outer();
    const Qt::WindowModality before = w->windowModality();
    // A top-level window shown modally takes its modality before its first show. Changing it later
    // takes a hide and a show, and a window hidden and shown again while the window manager is
    // still framing it may never be mapped.
    const bool modalLoop = mode == ShowMode::Modal && !windows().modalHook();
    if (modalLoop && w->isWindow() && !w->isVisible()) w->setWindowModality(Qt::ApplicationModal);
    if (w != m_surface) m_surface->show();
    if (!m_placed) giveDefaultChildFrame();
    m_placed = true;
    showInState(w, stateToShowIn());
    if (m_pendingMove) {
        std::array<double, 4> g = *m_pendingMove;
        m_pendingMove.reset();
        // A window shown maximised or minimised keeps the size given before as its restored size.
        if (m_state == WindowState::Normal) {
            const QSize before = w->size();
            Move(g[0], g[1], g[2], g[3]);
            // The size given again supersedes what the resize handler asked for when the window was
            // shown; where it brings no resize of its own, the handler runs for it here.
            if (w->size() == before) runResize();
        }
    }
    w->raise();
    if (m_subWindow && m_subWindow->mdiArea()) m_subWindow->mdiArea()->setActiveSubWindow(m_subWindow);
    shown(mode);
    if (mode != ShowMode::Modal) return;
    if (const auto& hook = windows().modalHook()) {
        HandlerScope scope(this);
        hook(*this);
        return;
    }
    QEventLoop loop;
    m_modalLoop = &loop;
    if (w->isWindow() && w->windowModality() != Qt::ApplicationModal) {
        w->hide();
        w->setWindowModality(Qt::ApplicationModal);
        w->show();
    }
    HandlerScope scope(this);
    if (m_loaded && m_surface->isVisible()) loop.exec();
    m_modalLoop = nullptr;
    if (m_loaded && w->isWindow()) w->setWindowModality(before);
}

// An MDI child that its code never placed gets the classic default frame on its first show: three
// quarters of the area each way (never less than its minimum), in the area's top-left corner. A
// child shown maximised returns to it when the user restores it.
void Window::giveDefaultChildFrame() {
    if (!m_subWindow || !m_subWindow->mdiArea()) return;
    const QSize area = m_subWindow->mdiArea()->viewport()->size();
    const QSize size =
        QSize(area.width() * 3 / 4, area.height() * 3 / 4).expandedTo(m_subWindow->minimumSize());
    m_subWindow->setGeometry(QRect(QPoint(0, 0), size));
}

// A child shown while a maximised one is in front of the MDI area is shown maximised as well.
WindowState Window::stateToShowIn() const {
    const bool maximisedInFront = m_subWindow && m_subWindow->isHidden() && m_subWindow->mdiArea() &&
                                  maximisedChildInFront(*m_subWindow->mdiArea(), m_subWindow);
    return maximisedInFront && m_state == WindowState::Normal ? WindowState::Maximized : m_state;
}

void Window::Hide() {
    QWidget* w = outer();
    if (w) w->hide();
    if (m_modalLoop) m_modalLoop->quit();
}

void Window::Unload() {
    if (!m_loaded || m_unloading) return;
    m_unloading = true;
    {
        HandlerScope scope(this);
        try {
            Form_Unload();
        } catch (...) {
            m_unloading = false;
            throw;
        }
    }
    if (m_openFlag) *m_openFlag = 0;
    m_loaded = false;
    m_unloading = false;
    Hide();
    windows().retire(this);
}

void Window::userClose() {
    Unload();
}

void Window::runResize() {
    if (!m_loaded) return;
    if (m_inResize) {
        m_resizeAgain = true;
        return;
    }
    m_inResize = true;
    // The size the window has now supersedes a request the handler made for an earlier one, unless
    // the window manager has just framed the window: then the handler works from the frame last given.
    if (outer()->isWindow()) placement().supersedeRequest();
    HandlerScope scope(this);
    // A handler that changes the size is run once more for the new size, as the classic runtime does.
    for (int round = 0; round < 4; ++round) {
        m_resizeAgain = false;
        Form_Resize();
        if (!m_resizeAgain || !m_loaded) break;
    }
    m_inResize = false;
}

void Window::runActivate() {
    if (!m_loaded) return;
    HandlerScope scope(this);
    Form_Activate();
}

bool Window::Visible() const {
    QWidget* w = outer();
    return w && m_loaded && !w->isHidden();
}

void Window::setCaption(const std::string& caption) {
    QString text = QString::fromStdString(caption);
    m_surface->setWindowTitle(text);
    if (outer() != m_surface) outer()->setWindowTitle(text);
}

std::string Window::Caption() const {
    return outer()->windowTitle().toStdString();
}

void Window::setWindowState(WindowState state) {
    m_state = state;
    placement().dropRequest();
    QWidget* w = outer();
    if (w->isHidden()) return;
    showInState(w, state);
}

WindowState Window::windowState() const {
    QWidget* w = outer();
    if (w->isHidden()) return m_state;
    if (w->isMinimized()) return WindowState::Minimized;
    if (w->isMaximized()) return WindowState::Maximized;
    return WindowState::Normal;
}

void Window::Move(double left, double top, double width, double height) {
    m_placed = true;
    QWidget* w = outer();
    // The frame's borders are known only once the window is shown: sizes given before are applied again then.
    if (w->isHidden()) m_pendingMove = std::array<double, 4>{left, top, width, height};
    QRect frame(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
    if (!w->isWindow()) {
        placement().dropRequest();
        applyChildFrame(frame);
        return;
    }
    frame = fitInside(frame, availableAreaOf(*w));
    if ((m_inResize || placement().framingPending()) && !w->isHidden())
        placement().request(frame);
    else
        placement().apply(frame);
}

void Window::applyChildFrame(const QRect& frame) {
    QWidget* w = outer();
    const QSize borders = w->frameGeometry().size() - w->geometry().size();
    w->move(frame.topLeft());
    w->resize(std::max(0, frame.width() - borders.width()), std::max(0, frame.height() - borders.height()));
}

QRect Window::frameRect() const {
    if (const std::optional<QRect>& requested = placement().requested()) return *requested;
    return currentFrame();
}

QRect Window::currentFrame() const {
    QWidget* w = outer();
    return w->isWindow() ? placement().outerFrame() : w->frameGeometry();
}

void Window::setWidth(double twips) {
    Move(Left(), Top(), twips, Height());
}
void Window::setHeight(double twips) {
    Move(Left(), Top(), Width(), twips);
}
double Window::Left() const {
    return toTwips(frameRect().x());
}
double Window::Top() const {
    return toTwips(frameRect().y());
}
double Window::Width() const {
    return toTwips(frameRect().width());
}
double Window::Height() const {
    return toTwips(frameRect().height());
}
double Window::ScaleWidth() const {
    return toTwips(m_surface->width());
}
double Window::ScaleHeight() const {
    return toTwips(m_surface->height());
}

void Window::setMinimumSizeTwips(double width, double height) {
    outer()->setMinimumSize(toPixels(width), toPixels(height));
}

void Window::centre() {
    m_placed = true;
    QWidget* w = outer();
    QRect area;
    if (m_subWindow && m_subWindow->mdiArea()) {
        area = m_subWindow->mdiArea()->viewport()->rect();
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    } else {
        return;
    }
    const QRect frame = currentFrame();
    const QPoint centred(area.x() + (area.width() - frame.width()) / 2,
                         area.y() + (area.height() - frame.height()) / 2);
    w->move(centred);
    placement().moveApplied(centred);
    if (m_pendingMove) {
        (*m_pendingMove)[0] = toTwips(w->x());
        (*m_pendingMove)[1] = toTwips(w->y());
    }
}

QFont Window::font() const {
    return m_surface->font();
}

double Window::textWidthTwips(const std::string& text) const {
    return sq::textWidthTwips(font(), text);
}

// ---------------------------------------------------------------------------------------------
// HandlerScope

Window* windowOf(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (auto* form = qobject_cast<const FormWidget*>(w)) return form->window();
    }
    return nullptr;
}

HandlerScope::HandlerScope(const QWidget* widget) : HandlerScope(windowOf(widget)) {}

HandlerScope::HandlerScope(Window* window) : m_window(window) {
    if (m_window) {
        m_guard = m_window->m_surface;
        ++m_window->m_handlerDepth;
    }
}

HandlerScope::~HandlerScope() {
    if (!m_window || !m_guard) return;
    if (--m_window->m_handlerDepth == 0 && !m_window->m_loaded) windows().scheduleCollect();
}

// ---------------------------------------------------------------------------------------------
// WindowRegistry

WindowRegistry::~WindowRegistry() {
    // At program exit the application (and with it every widget) may already be gone.
    if (QCoreApplication::instance()) return;
    for (auto& w : m_loaded) (void)w.release();
    for (auto& w : m_unloaded) (void)w.release();
}

WindowRegistry& WindowRegistry::get() {
    static WindowRegistry registry;
    return registry;
}

void WindowRegistry::setMdiArea(QMdiArea* area) {
    m_mdiArea = area;
}
QMdiArea* WindowRegistry::mdiArea() const {
    return m_mdiArea;
}

void WindowRegistry::registerWindow(const std::string& name, WindowFactory factory) {
    m_factories[name] = std::move(factory);
}

bool WindowRegistry::isRegistered(const std::string& name) const {
    return m_factories.count(name) != 0;
}

Window& WindowRegistry::window(const std::string& name) {
    if (Window* w = find(name)) return *w;
    auto it = m_factories.find(name);
    if (it == m_factories.end() || !it->second) raise(kInvalidCall, "No window named " + name);
    return adopt(it->second());
}

Window* WindowRegistry::find(const std::string& name) const {
    for (const auto& w : m_loaded)
        if (w->name() == name) return w.get();
    return nullptr;
}

void WindowRegistry::unload(const std::string& name) {
    if (Window* w = find(name)) w->Unload();
}

void WindowRegistry::unloadAll() {
    std::vector<Window*> order;
    for (const auto& w : m_loaded) order.push_back(w.get());
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        // A handler may have unloaded (and retired) some of them meanwhile.
        bool stillLoaded =
            std::any_of(m_loaded.begin(), m_loaded.end(), [p = *it](const auto& w) { return w.get() == p; });
        if (stillLoaded) (*it)->Unload();
    }
}

std::vector<std::string> WindowRegistry::loadedNames() const {
    std::vector<std::string> names;
    for (const auto& w : m_loaded) names.push_back(w->name());
    return names;
}

Window& WindowRegistry::adopt(std::unique_ptr<Window> window) {
    Window* w = window.get();
    m_loaded.push_back(std::move(window));
    w->Load();
    return *w;
}

void WindowRegistry::retire(Window* window) {
    auto it =
        std::find_if(m_loaded.begin(), m_loaded.end(), [window](const auto& w) { return w.get() == window; });
    if (it == m_loaded.end()) return;
    m_unloaded.push_back(std::move(*it));
    m_loaded.erase(it);
    scheduleCollect();
}

void WindowRegistry::scheduleCollect() {
    if (m_collectScheduled || !QCoreApplication::instance()) return;
    m_collectScheduled = true;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [this] {
            m_collectScheduled = false;
            collectUnloaded();
        },
        Qt::QueuedConnection);
}

void WindowRegistry::collectUnloaded() {
    // Deleting a window may run code that unloads others, so take the deletable ones out first.
    std::vector<std::unique_ptr<Window>> done;
    for (auto it = m_unloaded.begin(); it != m_unloaded.end();) {
        if ((*it)->handlerDepth() == 0 && !(*it)->isLoaded()) {
            done.push_back(std::move(*it));
            it = m_unloaded.erase(it);
        } else {
            ++it;
        }
    }
    done.clear();
}

void WindowRegistry::reset() {
    m_modalHook = nullptr;
    unloadAll();
    m_loaded.clear();
    m_unloaded.clear();
    m_factories.clear();
    m_mdiArea = nullptr;
}

}  // namespace sq
