#include "platform/ui/hourglass.h"

#include <QCursor>
#include <QGuiApplication>

namespace sq {

namespace {
int g_depth = 0;
}

ScopedHourglass::ScopedHourglass() {
    ++g_depth;
    if (qGuiApp) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

ScopedHourglass::~ScopedHourglass() {
    --g_depth;
    if (qGuiApp) QGuiApplication::restoreOverrideCursor();
}

bool hourglassShown() {
    return g_depth > 0;
}

}  // namespace sq
