#include "platform/ui/mdi_area.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace sq {

namespace {

// Follows the child in front and whether it is maximised; a null activation (the frame losing the
// focus) is no change of front child.
class MaximisedFront : public QObject {
public:
    explicit MaximisedFront(QMdiArea* area) : QObject(area) {
        connect(area, &QMdiArea::subWindowActivated, this, &MaximisedFront::cameToFront);
    }

private:
    void cameToFront(QMdiSubWindow* child) {
        if (!child || child == m_front) return;
        const bool frontWasMaximised = m_frontMaximised;
        disconnect(m_stateWatch);
        m_front = child;
        m_frontMaximised = child->isMaximized();
        m_stateWatch = connect(child, &QMdiSubWindow::windowStateChanged, this,
                               [this](Qt::WindowStates, Qt::WindowStates now) {
                                   m_frontMaximised = now.testFlag(Qt::WindowMaximized);
                               });
        // A child comes to the front also from inside its own show, while the toolkit is still
        // setting the state it is shown in: it is maximised once that is done.
        if (frontWasMaximised && !m_frontMaximised)
            QMetaObject::invokeMethod(
                this, [this, front = m_front] { maximise(front); }, Qt::QueuedConnection);
    }

    void maximise(const QPointer<QMdiSubWindow>& child) {
        if (child && child == m_front && child->isVisible() && !child->isMaximized()) child->showMaximized();
    }

    QPointer<QMdiSubWindow> m_front;
    // The front child's state as last seen; it outlives the child, which may be deleted before
    // the next one comes to the front.
    bool m_frontMaximised = false;
    QMetaObject::Connection m_stateWatch;
};

}  // namespace

QMdiArea* newMdiArea(QWidget* parent) {
    auto* area = new QMdiArea(parent);
    // Bringing a child forward must not restore the one that was in front.
    area->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    new MaximisedFront(area);
    return area;
}

bool maximisedChildInFront(const QMdiArea& area, const QMdiSubWindow* child) {
    const QMdiSubWindow* front = area.currentSubWindow();
    return front && front != child && front->isVisible() && front->isMaximized();
}

}  // namespace sq
