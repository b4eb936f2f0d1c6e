#include "platform/ui/frame_borders.h"

#include <QGuiApplication>

#include "platform/ui/x11_frame_extents.h"

namespace sq {

namespace {

// No window manager states borders: the toolkit's figure for the frame is all there is.
class UnstatedBorders : public FrameBorders {
public:
    bool statedByManager() override { return false; }
    std::optional<QMargins> stated(const QWidget&) override { return std::nullopt; }
};

std::unique_ptr<FrameBorders>& source() {
    static std::unique_ptr<FrameBorders> current;
    return current;
}

std::unique_ptr<FrameBorders> platformSource() {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) return std::make_unique<X11FrameBorders>();
    return std::make_unique<UnstatedBorders>();
}

}  // namespace

FrameBorders& frameBorders() {
    std::unique_ptr<FrameBorders>& current = source();
    if (!current) current = platformSource();
    return *current;
}

void setFrameBorders(std::unique_ptr<FrameBorders> replacement) {
    source() = std::move(replacement);
}

}  // namespace sq
