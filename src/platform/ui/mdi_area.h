#pragma once
// The main frame's MDI area. The maximised state belongs to the area, as in classic MDI: while the
// child in front is maximised, a child that comes to the front (because the one in front closed or
// another was brought forward) is maximised too, and the maximised children behind the front one
// stay maximised, so that none is laid out at a restored size it never had. A child the user
// restores stays restored until it is maximised again or comes to the front from behind a
// maximised one.
class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace sq {

[[nodiscard]] QMdiArea* newMdiArea(QWidget* parent);

// True when a shown child other than `child` is in front of the area and maximised: `child` is then
// to be shown maximised.
[[nodiscard]] bool maximisedChildInFront(const QMdiArea& area, const QMdiSubWindow* child);

}  // namespace sq
