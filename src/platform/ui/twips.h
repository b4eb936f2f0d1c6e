#pragma once
// Sizes and positions of windows and controls are computed in twips (1/1440 inch) and converted to
// pixels only where a widget is touched. At 96 dpi one pixel is 15 twips.
#include <string>

class QFont;
class QWidget;

namespace sq {

constexpr double kTwipsPerInch = 1440.0;

// A control's place in twips, as the window layouts compute it.
struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// A window's or a panel's size in twips.
struct TwipSize {
    int width = 0;
    int height = 0;
    bool operator==(const TwipSize&) const = default;
};

// A dialog's minimum size and its centred inner panel.
struct CentredPanel {
    TwipSize outer;
    double panelLeft = 0;
    double panelTop = 0;
};

// Twips per pixel at `dpi` logical dots per inch (15 at 96 dpi).
[[nodiscard]] double twipsPerPixel(double dpi);
// Rounds to the nearest pixel, halves away from zero.
[[nodiscard]] int twipsToPixels(double twips, double dpi);
[[nodiscard]] double pixelsToTwips(int pixels, double dpi);

// The logical dpi of the primary screen (96 when there is none).
[[nodiscard]] double screenDpi();
// Shorthands at the screen's dpi.
[[nodiscard]] int toPixels(double twips);
[[nodiscard]] double toTwips(int pixels);

// Width in twips of `text` drawn in `font`; a column "as wide as 000000000" is textWidthTwips(font,
// "000000000").
[[nodiscard]] double textWidthTwips(const QFont& font, const std::string& text);
// Width in twips of a string of `count` digit zeros in `font`.
[[nodiscard]] double zerosWidthTwips(const QFont& font, int count);

// Keeps a splitter position between the bounds a window gives: below `low` gives `low`, above `high`
// gives `high` (the low bound wins when they cross).
[[nodiscard]] double clampSplit(double candidate, double low, double high);

}  // namespace sq
