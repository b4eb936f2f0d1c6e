#include "platform/ui/page_surface.h"

namespace sq {

void PageSurface::setFontSize(double points) {
    if (points == m_fontSize) return;
    m_fontSize = points;
    fontChanged();
}

float PageSurface::TextWidth(std::string_view text) {
    return static_cast<float>(measureWidth(text));
}

float PageSurface::TextHeight(std::string_view text) {
    return static_cast<float>(measureHeight(text));
}

void PageSurface::Print(std::string_view text) {
    prepareOutput();
    if (!text.empty()) drawText(m_x, m_y, text);
    m_x = 0;
    m_y += lineHeight();
}

double PageSurface::ScaleWidth() {
    return pageWidth();
}

double PageSurface::ScaleHeight() {
    return pageHeight();
}

void PageSurface::Line(double x1, double y1, double x2, double y2, std::optional<int32_t> colour,
                       LineForm form) {
    prepareOutput();
    drawLine({x1, y1, x2, y2, colour, form, m_drawWidth, m_drawStyle});
}

void PageSurface::NewPage() {
    ++m_page;
}

void PageSurface::EndDoc() {
    if (m_jobOpen) endJob();
    resetJob();
}

void PageSurface::KillDoc() {
    if (m_jobOpen && !abortJob()) endJob();
    resetJob();
}

void PageSurface::prepareOutput() {
    if (!m_jobOpen) {
        beginJob();
        m_jobOpen = true;
        m_pagesStarted = 1;
    }
    // Pages announced before the output (blank ones too, as NewPage before any output asks for).
    while (m_pagesStarted < m_page) {
        beginPage();
        ++m_pagesStarted;
    }
}

void PageSurface::resetJob() {
    m_jobOpen = false;
    m_page = 1;
    m_pagesStarted = 0;
}

}  // namespace sq
