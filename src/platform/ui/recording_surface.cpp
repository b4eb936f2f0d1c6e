#include "platform/ui/recording_surface.h"

#include <algorithm>

#include "platform/ui/printer_surface.h"
#include "platform/vb_error.h"

namespace sq {

std::vector<std::string> RecordingSurface::texts() const {
    std::vector<std::string> out;
    for (const Call& c : m_calls)
        if (c.kind == Kind::Text) out.push_back(c.text);
    return out;
}

const RecordingSurface::Call* RecordingSurface::findText(const std::string& text) const {
    for (const Call& c : m_calls)
        if (c.kind == Kind::Text && c.text == text) return &c;
    return nullptr;
}

double RecordingSurface::measureWidth(std::string_view text) {
    // Continuation bytes of UTF-8 add no character.
    const auto chars = std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
    return static_cast<double>(chars) * m_metrics.charWidth;
}

double RecordingSurface::measureHeight(std::string_view text) {
    return m_metrics.lineHeight * static_cast<double>(1 + std::count(text.begin(), text.end(), '\n'));
}

void RecordingSurface::beginJob() {
    m_devicePage = 1;
    Call c;
    c.kind = Kind::Page;
    c.page = 1;
    m_calls.push_back(c);
}

void RecordingSurface::beginPage() {
    if (m_devicePage + 1 == m_failPage) raise(kPrinterError, "The page could not be started.");
    ++m_devicePage;
    Call c;
    c.kind = Kind::Page;
    c.page = m_devicePage;
    m_calls.push_back(c);
}

void RecordingSurface::drawText(double x, double y, std::string_view text) {
    Call c;
    c.kind = Kind::Text;
    c.page = m_devicePage;
    c.text = std::string(text);
    c.line.x1 = x;
    c.line.y1 = y;
    c.fontSize = FontSize();
    m_calls.push_back(std::move(c));
}

void RecordingSurface::drawLine(const LineCall& line) {
    Call c;
    c.kind = Kind::Line;
    c.page = m_devicePage;
    c.line = line;
    m_calls.push_back(std::move(c));
}

void RecordingSurface::endJob() {
    Call c;
    c.kind = Kind::End;
    c.page = m_devicePage;
    m_calls.push_back(c);
    m_devicePage = 0;
}

bool RecordingSurface::abortJob() {
    if (!m_canAbort) return false;
    Call c;
    c.kind = Kind::Kill;
    c.page = m_devicePage;
    m_calls.push_back(c);
    m_devicePage = 0;
    return true;
}

}  // namespace sq
