// Text, line and fill colours as operator lines, from arrays, numbers and "#RRGGBB" texts.
#include <cmath>

#include "pdf/kdr_pdf.h"
#include "pdf/pdf_messages.h"
#include "pdf/pdf_text.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"

namespace sq {

namespace {
struct Rgb {
    int r, g, b;
};

Rgb splitRgb(double value) {
    double v = std::floor(value);
    if (!(v >= -2147483648.0 && v <= 2147483647.0)) raise(kOverflow);
    double b = std::floor(v / 65536);
    double g = std::floor((v - 65536 * b) / 256);
    double r = v - 65536 * b - 256 * g;
    for (double c : {r, g, b})
        if (c < 0 || c > 255) raise(kOverflow);
    return {static_cast<int>(r), static_cast<int>(g), static_cast<int>(b)};
}

int hexPair(const std::string& s, size_t at) {
    int value = 0;
    for (size_t i = at; i < at + 2; ++i) {
        char c = s[i];
        int digit = (c >= '0' && c <= '9')   ? c - '0'
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                             : -1;
        if (digit < 0) raise(kTypeMismatch);
        value = value * 16 + digit;
    }
    return value;
}

Rgb parseHtmlColor(const std::string& text) {
    std::string padded = "000000" + text;
    std::string s = padded.substr(padded.size() - 6);
    return {hexPair(s, 0), hexPair(s, 2), hexPair(s, 4)};
}

std::string buildColorOperator(const Rgb& c, const std::string& kind) {
    if (kind != "TEXT" && kind != "BORDER" && kind != "LINE") return {};
    std::string out;
    for (int component : {c.r, c.g, c.b}) {
        pdf::appendFixed(out, component / 255.0, 3);
        out += ' ';
    }
    out += kind == "LINE" ? "RG" : "rg";
    return out;
}
}  // namespace

std::string kdrPDF::colorOperatorFrom(const PdfValue& value, const std::string& kind,
                                      const std::string& messageLead, const std::string& messageTail,
                                      const std::string& topic) {
    Rgb rgb{0, 0, 0};
    if (value.isArray()) {
        const auto& items = value.items();
        if (items.size() < 3) raise(kSubscriptOutOfRange);
        rgb = {toInt16(items[0].toDouble()), toInt16(items[1].toDouble()), toInt16(items[2].toDouble())};
    } else if (!value.isText()) {
        // Charts set the same few colours millions of times.
        if (m_lastColorNumber == value.number() && m_lastColorKind == kind) return m_lastColorOperator;
        rgb = splitRgb(value.number());
        m_lastColorOperator = buildColorOperator(rgb, kind);
        m_lastColorNumber = value.number();
        m_lastColorKind = kind;
        return m_lastColorOperator;
    } else if (!value.text().empty() && value.text()[0] == '#') {
        rgb = parseHtmlColor(value.text());
    } else {
        pdf::showSetterMessage(messageLead + value.text() + "." + pdf::kCrLf + messageTail, topic);
    }
    return buildColorOperator(rgb, kind);
}

void kdrPDF::PDFSetTextColor(const PdfValue& gColor) {
    m_textColor =
        colorOperatorFrom(gColor, "TEXT", "Invalid HTMl color set", "Set color to  black.", "Text Color ");
}

void kdrPDF::PDFSetLineColor(const PdfValue& gColor) {
    m_lineColor = colorOperatorFrom(gColor, "LINE", "Invalid line color set ", "Setting line color to black.",
                                    "Line Color - ");
}

void kdrPDF::PDFSetDrawColor(const PdfValue& gColor) {
    m_fillColor =
        colorOperatorFrom(gColor, "BORDER", "Invalid Draw Color set ", "Using black.", "Draw Color - ");
}

}  // namespace sq
