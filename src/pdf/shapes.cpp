// Line style, width and draw mode; lines, rectangles, ellipses and polygons.
#include <algorithm>
#include <cmath>

#include "pdf/kdr_pdf.h"
#include "pdf/pdf_messages.h"
#include "pdf/pdf_text.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"

namespace sq {

std::string kdrPDF::point(double x, double y) const {
    std::string out;
    appendPoint(out, x, y);
    return out;
}

void kdrPDF::appendPoint(std::string& out, double x, double y) const {
    pdf::appendFixed(out, x * m_k, 2);
    out += ' ';
    pdf::appendFixed(out, pageHeight() - y * m_k, 2);
}

std::string kdrPDF::BuildDashPattern(int32_t style) {
    auto len = [this](double n) { return std::to_string(static_cast<long long>(std::floor(n * m_k))); };
    switch (style) {
        case 0:
            return "[] 0 d";
        case 1:
            return "[" + len(16) + " " + len(8) + " ] 0 d";
        case 2:
            return "[" + len(8) + " " + len(7) + " " + len(2) + " " + len(7) + " ] 0 d";
        case 3:
            return "[" + len(8) + " " + len(4) + " " + len(2) + " " + len(4) + " " + len(2) + " " + len(4) +
                   " ] 0 d";
        default:
            pdf::showSetterMessage("Line style set incorrectly : " + std::to_string(style) + "." +
                                       pdf::kCrLf + "Line style set to solid.",
                                   "Line Style - ");
            return "[] 0 d";
    }
}

void kdrPDF::PDFSetLineStyle(int32_t pLineStyle) {
    m_dash = BuildDashPattern(pLineStyle);
}

void kdrPDF::PDFSetDrawMode(int32_t pDrawMode) {
    switch (pDrawMode) {
        case 0:
            m_drawMode.clear();
            return;
        case 1:
            m_drawMode = "D";
            return;
        case 2:
            m_drawMode = "DB";
            return;
        default:
            pdf::showSetterMessage("Draw Mode set incorrectly : " + std::to_string(pDrawMode) + "." +
                                       pdf::kCrLf + "Draw mode set to normal",
                                   "Object Rectangle - ");
            m_drawMode.clear();
    }
}

void kdrPDF::appendPaintColors() {
    if (m_drawMode == "D") {
        appendContent(m_fillColor);
    } else if (m_drawMode == "DB") {
        appendContent(m_fillColor);
        appendContent(m_lineColor);
    } else {
        appendContent(m_lineColor);
    }
}

void kdrPDF::fillFromLineColor() {
    const std::string& line = m_lineColor;
    if (line.size() >= 2 && line.compare(line.size() - 2, 2, "RG") == 0)
        m_fillColor = line.substr(0, line.size() - 2) + "rg";
    else
        m_fillColor = line.substr(0, line.empty() ? 0 : line.size() - 1) + "g";
}

namespace {
std::string widthLine(double lineWidth, double k, const char* tail) {
    std::string out;
    pdf::appendFixed(out, lineWidth * k, 2);
    return out + tail;
}
}  // namespace

void kdrPDF::PDFDrawLineHor(double X, double Y, double w) {
    requireFinite({X, Y, w});
    fillFromLineColor();
    appendContent("%DEBUT_LNH/%");
    appendContent(m_dash);
    appendContent(point(X, Y) + " m");
    appendContent(point(X + w, Y) + " l");
    appendContent(m_lineColor);
    appendContent(widthLine(m_lineWidth, m_k, " w S"));
    appendContent("%FIN_LNH/%");
    m_x = X + w;
    m_y = Y;
}

void kdrPDF::PDFDrawLineVer(double X, double Y, double h) {
    requireFinite({X, Y, h});
    fillFromLineColor();
    appendContent("%DEBUT_LNV/%");
    appendContent(m_dash);
    appendContent(point(X, Y) + " m");
    appendContent(point(X, Y + h) + " l");
    appendContent(m_lineColor);
    appendContent(widthLine(m_lineWidth, m_k, " w S"));
    appendContent("%FIN_LNV/%");
    m_x = X;
    m_y = Y + h;
}

void kdrPDF::PDFDrawLine(double x1, double y1, double x2, double y2) {
    requireFinite({x1, y1, x2, y2});
    // The chart page draws millions of these: the block is built once and appended in one go.
    std::string& block = m_scratch;
    block.assign("%DEBUT_LN/%\r\n");
    block += m_dash;
    block += "\r\n";
    appendPoint(block, x1, y1);
    block += " m\r\n";
    appendPoint(block, x2, y2);
    block += " l\r\n";
    block += m_lineColor;
    block += "\r\n";
    pdf::appendFixed(block, m_lineWidth * m_k, 2);
    block += " w S\r\n%FIN_LN/%\r\n";
    appendContentLines(block);
    m_x = std::max(x1, x2);
    m_y = std::max(y1, y2);
}

void kdrPDF::PDFDrawRectangle(double X, double Y, double w, double h, const std::string& URLLink) {
    requireFinite({X, Y, w, h});
    appendContent("%DEBUT_RECT/%");
    appendPaintColors();
    appendContent(m_dash);
    std::string box = point(X, Y) + " ";
    pdf::appendFixed(box, w * m_k, 2);
    box += ' ';
    pdf::appendFixed(box, -h * m_k, 2);
    box += m_drawMode == "D" ? " re f" : m_drawMode == "DB" ? " re B" : " re s";
    appendContent(box);
    appendContent(widthLine(m_lineWidth, m_k, " w S"));
    setWhiteTextColor();
    m_linkText = "LINK";
    m_linkKind = "RECTANGLE";
    m_rectLinkWidth = toInt32(w);
    RegisterUrlLink(URLLink, "RECTANGLE", std::floor(X + 5), std::floor(Y + h / 2));
    appendContent("%FIN_RECT/%");
    m_linkKind.clear();
    m_x = X;
    m_y = Y + h;
}

void kdrPDF::PDFDrawEllipse(double X, double Y, double rx, double& ry, const std::string& URLLink) {
    requireFinite({X, Y, rx, ry});
    if (ry == 0) ry = rx;
    double a = rx / 2, b = ry / 2;
    double cx = X + a, cy = Y + b;
    double ka = a * 11 / 20, kb = b * 11 / 20;
    appendPaintColors();
    appendContent(m_dash);
    appendContent(point(X, cy) + " m");
    auto arc = [this](double c1x, double c1y, double c2x, double c2y, double x, double y) {
        appendContent(point(c1x, c1y) + " " + point(c2x, c2y) + " " + point(x, y) + " c");
    };
    arc(X, cy - kb, cx - ka, Y, cx, Y);
    arc(cx + ka, Y, X + rx, cy - kb, X + rx, cy);
    arc(X + rx, cy + kb, cx + ka, Y + ry, cx, Y + ry);
    arc(cx - ka, Y + ry, X, cy + kb, X, cy);
    appendContent(widthLine(m_lineWidth, m_k,
                            m_drawMode == "D"    ? " w h f"
                            : m_drawMode == "DB" ? " w B"
                                                 : " w s"));
    setWhiteTextColor();
    m_linkText = "LINK";
    m_linkKind = "ELLIPSE";
    RegisterUrlLink(URLLink, "ELLIPSE", std::floor(X - a), std::floor(cy - kb));
    m_linkKind.clear();
    m_x = X;
    m_y = cy;
}

void kdrPDF::PDFDrawPolygon(const std::vector<PdfValue>& pParam) {
    if (pParam.size() < 2 || pParam.size() % 2 != 0) raise(kSubscriptOutOfRange);
    std::vector<double> p;
    p.reserve(pParam.size());
    for (const auto& value : pParam) {
        p.push_back(value.toDouble());
        requireFinite({p.back()});
    }
    appendPaintColors();
    appendContent("%DEBUT_POLY/%");
    appendContent(m_dash);
    appendContent(point(p[0], p[1]) + " m");
    for (size_t i = 2; i + 1 < p.size(); i += 2) appendContent(point(p[i], p[i + 1]) + " l");
    appendContent(point(p[0], p[1]) + " l");
    appendContent(widthLine(m_lineWidth, m_k,
                            m_drawMode == "D"    ? " w h f"
                            : m_drawMode == "DB" ? " w B"
                                                 : " w s"));
    appendContent("%FIN_POLY/%");
}

void kdrPDF::PDFDrawPolygon(const std::vector<double>& pParam) {
    std::vector<PdfValue> values(pParam.begin(), pParam.end());
    PDFDrawPolygon(values);
}

}  // namespace sq
