#pragma once
// Windows with the classic life cycle. Each window is a single instance kept by the registry:
// referring to it loads it (creates it hidden and runs its load handler, its open flag True from the
// start of that handler); Show shows it modeless or modal; Unload runs the unload handler, clears the
// flag, hides the window and deletes it later, never while one of its handlers is on the stack.
//
// After an Unload, a reference held by other code stays usable until the event loop next runs with
// no handler of that window active; refer to the window again (form<W>() or windows().window(name))
// to get a fresh, loaded instance. In virtual time a modal Show must be answered by the modal hook.
#include <QPointer>
#include <QRect>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QEventLoop;
class QMainWindow;
class QMdiArea;
class QMdiSubWindow;
class QWidget;
class QFont;

namespace sq {

class FormWidget;
class FrameWindow;
class WindowPlacement;

enum class WindowKind {
    TopLevel,  // a window of its own on the desktop
    MdiChild,  // lives in the MDI area registered with the registry (top-level while there is none)
    MdiFrame,  // the main frame: a QMainWindow whose central widget is the MDI area
};
enum class ShowMode { Modeless = 0, Modal = 1 };
enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

class Window {
public:
    Window(std::string name, WindowKind kind = WindowKind::MdiChild, int16_t* openFlag = nullptr);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    [[nodiscard]] const std::string& name() const { return m_name; }
    [[nodiscard]] WindowKind kind() const { return m_kind; }
    // The surface the window's controls are placed on (client coordinates, twips via the controls).
    [[nodiscard]] QWidget* surface() const;
    // For WindowKind::MdiFrame: the frame and its MDI area; nullptr otherwise.
    [[nodiscard]] QMainWindow* mainWindow() const;
    [[nodiscard]] QMdiArea* mdiArea() const;

    // The flag set to True at the start of load and to False after the unload handler. May be set
    // after construction (before the window is loaded).
    void setOpenFlag(int16_t* flag) { m_openFlag = flag; }
    [[nodiscard]] int16_t* openFlagPointer() const { return m_openFlag; }
    [[nodiscard]] bool isLoaded() const { return m_loaded; }
    [[nodiscard]] bool isUnloading() const { return m_unloading; }

    // Loads the window if it is not loaded (normally done by the registry on reference).
    void Load();
    // Shows the window. Modal: returns when it is hidden or unloaded; timers and other windows keep
    // running meanwhile. A modal hook installed on the registry answers instead (tests).
    void Show(ShowMode mode = ShowMode::Modeless);
    void Hide();
    // Runs the unload handler, clears the open flag, hides the window and hands it to the registry
    // for deletion later. Safe from inside the window's own handlers. Does nothing when not loaded.
    void Unload();

    [[nodiscard]] bool Visible() const;
    void setCaption(const std::string& caption);
    [[nodiscard]] std::string Caption() const;
    void setWindowState(WindowState state);
    [[nodiscard]] WindowState windowState() const;
    // Geometry of the outer window in twips (for MDI children: inside the MDI area).
    void Move(double left, double top, double width, double height);
    void setWidth(double twips);
    void setHeight(double twips);
    [[nodiscard]] double Left() const;
    [[nodiscard]] double Top() const;
    [[nodiscard]] double Width() const;
    [[nodiscard]] double Height() const;
    // Size of the client surface in twips.
    [[nodiscard]] double ScaleWidth() const;
    [[nodiscard]] double ScaleHeight() const;
    void setMinimumSizeTwips(double width, double height);
    // Centres the window on its screen (top-level) or in the MDI area (children).
    void centre();
    // The window's font (the one grid column widths are measured in).
    [[nodiscard]] QFont font() const;
    [[nodiscard]] double textWidthTwips(const std::string& text) const;

    // Handlers, settable any time; the virtual ones call them by default.
    std::function<void()> onLoad;
    std::function<void()> onUnload;
    std::function<void()> onResize;
    std::function<void()> onActivate;

    // Handlers currently running for this window (control events included).
    [[nodiscard]] int handlerDepth() const { return m_handlerDepth; }

protected:
    virtual void Form_Load() {
        if (onLoad) onLoad();
    }
    virtual void Form_Unload() {
        if (onUnload) onUnload();
    }
    virtual void Form_Resize() {
        if (onResize) onResize();
    }
    virtual void Form_Activate() {
        if (onActivate) onActivate();
    }
    // Called by Show after the window became visible and before a modal wait begins.
    virtual void shown(ShowMode mode) {}
    // A top-level window, once after each show, when its placement first finds it framed by the
    // window system and neither minimised nor maximised: its frame's true size is known then (at
    // once where no window manager frames windows). A window shown minimised or maximised has it
    // only when it is restored.
    virtual void framed() {}

private:
    friend class FormWidget;
    friend class FrameWindow;
    friend class HandlerScope;
    friend class WindowRegistry;
    void ensureShell();
    QWidget* outer() const;
    // The placement of the outer widget (made with it; it acts while the widget is top-level).
    [[nodiscard]] WindowPlacement& placement() const;
    // The outer frame in pixels: the one asked for and not yet applied, else the window's own.
    [[nodiscard]] QRect frameRect() const;
    // The outer frame in pixels as the window system reports it now.
    [[nodiscard]] QRect currentFrame() const;
    void applyChildFrame(const QRect& frame);
    void giveDefaultChildFrame();
    [[nodiscard]] WindowState stateToShowIn() const;
    void runResize();
    void runActivate();
    void userClose();

    std::string m_name;
    WindowKind m_kind;
    int16_t* m_openFlag;
    bool m_loaded = false;
    bool m_unloading = false;
    int m_handlerDepth = 0;
    bool m_inResize = false;
    bool m_resizeAgain = false;
    QEventLoop* m_modalLoop = nullptr;
    WindowState m_state = WindowState::Normal;
    // Shown once, or given a frame by code (Move, centre): no default frame is due.
    bool m_placed = false;
    // A frame given in twips while the window was hidden, given again when it is shown.
    std::optional<std::array<double, 4>> m_pendingMove;
    QPointer<FormWidget> m_surface;
    QPointer<FrameWindow> m_frame;
    QPointer<QMdiArea> m_mdiArea;
    QPointer<QMdiSubWindow> m_subWindow;
};

// Marks a handler of the window that owns `widget` as running, so that an Unload from inside it
// defers the deletion until the outermost handler has returned. Controls wrap every event in one.
class HandlerScope {
public:
    explicit HandlerScope(const QWidget* widget);
    explicit HandlerScope(Window* window);
    ~HandlerScope();
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

private:
    QPointer<QWidget> m_guard;
    Window* m_window = nullptr;
};

// The window that owns `widget` (through its ancestors), or nullptr.
Window* windowOf(const QWidget* widget);

using WindowFactory = std::function<std::unique_ptr<Window>()>;

class WindowRegistry {
public:
    static WindowRegistry& get();
    ~WindowRegistry();

    // Names a factory for a window opened by name. A later registration replaces an earlier one
    // (tests register stand-ins this way).
    void registerWindow(const std::string& name, WindowFactory factory);
    [[nodiscard]] bool isRegistered(const std::string& name) const;

    // Refers to a window: the loaded instance, else a new one from the factory, loaded. Raises
    // VbError(kInvalidCall) for a name nobody registered.
    Window& window(const std::string& name);
    // The loaded instance or nullptr; never loads.
    [[nodiscard]] Window* find(const std::string& name) const;
    [[nodiscard]] bool isLoaded(const std::string& name) const { return find(name) != nullptr; }
    // Unloads the named window if it is loaded.
    void unload(const std::string& name);
    // Unloads every loaded window (children first, in reverse order of loading).
    void unloadAll();
    [[nodiscard]] std::vector<std::string> loadedNames() const;

    // Typed reference: the loaded instance of W (named W::kName), else a new W, loaded.
    template <class W>
    W& form() {
        if (auto* w = dynamic_cast<W*>(find(W::kName))) return *w;
        return static_cast<W&>(adopt(std::make_unique<W>()));
    }

    // The MDI area that MdiChild windows are placed in (the main frame registers its own).
    void setMdiArea(QMdiArea* area);
    [[nodiscard]] QMdiArea* mdiArea() const;

    // Test hook: answers a modal Show without blocking. Called with the shown window; when it returns
    // Show returns. Empty: a modal Show waits for the window to close.
    void setModalHook(std::function<void(Window&)> hook) { m_modalHook = std::move(hook); }
    [[nodiscard]] const std::function<void(Window&)>& modalHook() const { return m_modalHook; }

    // Deletes unloaded windows whose handlers have all returned (runs by itself from the event loop).
    void collectUnloaded();
    [[nodiscard]] size_t pendingDeletes() const { return m_unloaded.size(); }

    // Tests: unloads everything, deletes it, forgets stand-ins, the MDI area and the modal hook.
    void reset();

private:
    friend class Window;
    friend class HandlerScope;
    WindowRegistry() = default;
    Window& adopt(std::unique_ptr<Window> window);
    void retire(Window* window);
    void scheduleCollect();

    std::map<std::string, WindowFactory> m_factories;
    std::vector<std::unique_ptr<Window>> m_loaded;    // in order of loading
    std::vector<std::unique_ptr<Window>> m_unloaded;  // waiting for deletion
    QPointer<QMdiArea> m_mdiArea;
    std::function<void(Window&)> m_modalHook;
    bool m_collectScheduled = false;
};

inline WindowRegistry& windows() {
    return WindowRegistry::get();
}
template <class W>
W& form() {
    return WindowRegistry::get().form<W>();
}

}  // namespace sq
