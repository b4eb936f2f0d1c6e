#pragma once
// Checks that texts are drawn whole in the controls that show them, measured as Qt draws them.
#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <cmath>
#include <string>

namespace sqtest {

// Room a grid cell needs for `text`: its advance (laid out at fractional widths, so rounded up) plus
// the margin the item delegate keeps on either side and, in a table that draws its grid, the line
// at the cell's right edge.
inline int cellWidthNeeded(const QWidget& view, const std::string& text) {
    const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    const auto* table = qobject_cast<const QTableView*>(&view);
    const int gridLine = table && table->showGrid() ? 1 : 0;
    const double advance = QFontMetricsF(view.font()).horizontalAdvance(QString::fromStdString(text));
    return static_cast<int>(std::ceil(advance)) + 2 * margin + gridLine;
}

// Room a header section needs for `text`.
inline int headerWidthNeeded(const QHeaderView& header, const std::string& text) {
    const int margin = header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
    return QFontMetrics(header.font()).horizontalAdvance(QString::fromStdString(text)) + 2 * margin;
}

// A label or check box whose own size hint (text, margins, indicator) fits its width; a push button
// whose text and margins do (its size hint adds a minimum width).
inline bool showsWhole(const QWidget& w) {
    if (const auto* button = qobject_cast<const QPushButton*>(&w)) {
        const QStyle& style = *button->style();
        const int margins = style.pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                            2 * style.pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        return button->fontMetrics().horizontalAdvance(button->text()) + margins <= button->width();
    }
    return w.sizeHint().width() <= w.width();
}

// True when `w` lies inside its parent's rectangle.
inline bool insideParent(const QWidget& w) {
    return w.parentWidget() && w.parentWidget()->rect().contains(w.geometry());
}

// True when `panel`, as the user sees it in its window, looks exactly like the panel drawn on its
// own (which fills its background): nothing of the controls under it shows through.
inline bool drawnOpaque(QWidget& panel) {
    QApplication::processEvents();
    QWidget* top = panel.window();
    const QRect area(panel.mapTo(top, QPoint(0, 0)), panel.size());
    const QImage seen = top->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage alone = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
    return seen == alone;
}

}  // namespace sqtest
