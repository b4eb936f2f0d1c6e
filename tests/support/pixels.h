#pragma once
// What a widget looks like on screen, measured on its grabbed picture.
#include <QColor>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

namespace sqtest {

// How far a widget's picture strays from a background colour: the largest difference in lightness,
// and the largest saturation, over its pixels.
struct Contrast {
    int lightness = 0;
    int saturation = 0;
};

inline Contrast contrastOf(QWidget& widget, const QColor& background) {
    const QImage image = widget.grab().toImage();
    Contrast c;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            c.lightness = std::max(c.lightness, std::abs(pixel.lightness() - background.lightness()));
            c.saturation = std::max(c.saturation, pixel.hslSaturation());
        }
    return c;
}

// A disabled toolbar button looks faint: no pixel differs from the bar's background by more than a
// third of the range from black to white, and none has more than a trace of colour.
constexpr int kFaintLightness = 255 / 3;
constexpr int kFaintSaturation = 16;

inline bool looksFaint(const Contrast& c) {
    return c.lightness <= kFaintLightness && c.saturation <= kFaintSaturation;
}

}  // namespace sqtest
