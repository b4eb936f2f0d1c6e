#include "platform/ui/twips.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace sq {

double twipsPerPixel(double dpi) {
    return kTwipsPerInch / (dpi > 0 ? dpi : 96.0);
}

int twipsToPixels(double twips, double dpi) {
    return static_cast<int>(std::lround(twips / twipsPerPixel(dpi)));
}

double pixelsToTwips(int pixels, double dpi) {
    return pixels * twipsPerPixel(dpi);
}

double screenDpi() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app) return 96.0;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 96.0;
    double dpi = screen->logicalDotsPerInch();
    return dpi > 0 ? dpi : 96.0;
}

int toPixels(double twips) {
    return twipsToPixels(twips, screenDpi());
}
double toTwips(int pixels) {
    return pixelsToTwips(pixels, screenDpi());
}

double textWidthTwips(const QFont& font, const std::string& text) {
    QFontMetricsF metrics(font);
    return metrics.horizontalAdvance(QString::fromStdString(text)) * twipsPerPixel(screenDpi());
}

double zerosWidthTwips(const QFont& font, int count) {
    return textWidthTwips(font, std::string(static_cast<size_t>(count > 0 ? count : 0), '0'));
}

double clampSplit(double candidate, double low, double high) {
    if (candidate < low) return low;
    if (candidate > high) return std::max(low, high);
    return candidate;
}

}  // namespace sq
