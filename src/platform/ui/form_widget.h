#pragma once
// The Qt widgets behind a Window: the client surface that carries the controls and keeps the
// docked ones (toolbar, status bar, side bars) along its edges, and the frame of the main window.
#include <QMainWindow>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace sq {

class Window;

enum class Align { None, Top, Bottom, Left, Right };

class FormWidget : public QWidget {
    Q_OBJECT
public:
    FormWidget(Window* window, QWidget* parent);
    [[nodiscard]] Window* window() const { return m_window; }
    void detach() { m_window = nullptr; }

    // Docks `widget` along an edge, after the widgets docked before it (Align::None undocks). The rest
    // of the surface goes to the fill widget (the MDI area of the main frame), if any.
    void dock(QWidget* widget, Align align);
    void setFillWidget(QWidget* widget) {
        m_fill = widget;
        relayout();
    }
    void relayout();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Docked {
        QPointer<QWidget> widget;
        Align align;
    };
    Window* m_window;
    std::vector<Docked> m_docked;
    QPointer<QWidget> m_fill;
    bool m_layingOut = false;
};

// The main frame's outer window: closing it unloads the frame window.
class FrameWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit FrameWindow(Window* window);
    [[nodiscard]] Window* classicWindow() const { return m_window; }
    void detach() { m_window = nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    Window* m_window;
};

}  // namespace sq
