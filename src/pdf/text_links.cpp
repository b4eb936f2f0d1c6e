// Single lines of text, rotation, underline, links and their annotations, the watermark stamp.
#include <algorithm>
#include <cmath>

#include "pdf/kdr_pdf.h"
#include "pdf/pdf_text.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"

namespace sq {

namespace {
bool readsAsZero(const std::string& text) {
    return isNumeric(text) && toNumber(text) == 0;
}
}  // namespace

void kdrPDF::PDFTextOut(const std::string& str_Text, double& X, double& Y) {
    textOutBytes(pdf::toPdfBytes(str_Text), X, Y);
}

int32_t kdrPDF::fontResourceNumber() {
    if (!m_fontName.empty() && m_fontList.empty()) raise(kSubscriptOutOfRange);
    // Text in a font the document has no font object for would name a missing resource.
    auto found = std::find(m_fontList.begin(), m_fontList.end(), m_fontName);
    if (found == m_fontList.end()) raise(kFileNotFound);
    // Its metrics are read now, so that a missing file raises before anything is written.
    (void)widthsFor(m_fontName);
    return static_cast<int32_t>(found - m_fontList.begin()) + 1;
}

void kdrPDF::textOutBytes(const std::string& bytes, double& X, double& Y) {
    requireFinite({X, Y});
    std::string escaped = pdf::escapeLiteral(bytes);
    int32_t font = fontResourceNumber();
    if (X == 0) X = m_x;
    if (Y == 0) Y = m_y;
    if (m_fontSize == 0) m_fontSize = 10;
    double width = currentWidth(bytes);
    std::string underline;
    if (m_underline) underline = BuildUnderline(0, bytes, X * m_k, Y * m_k);
    if (!m_textColor.empty()) appendContent("q " + m_textColor + " ");
    appendContent("%DEBUT_TEXT/%");
    appendContent("BT");
    if (m_rotation != 0) {
        appendRotationMatrix(X, Y);
        m_rotation = 0;
    } else {
        appendContent(point((m_leftMargin + X), Y) + " Td");
    }
    std::string line = "/F" + std::to_string(font) + " ";
    pdf::appendFixed(line, m_fontSize, 2);
    line += " Tf";
    appendContent(line);
    appendContent("(" + escaped + ") Tj");
    appendContent("ET");
    if (!underline.empty()) appendContent(underline);
    if (!m_textColor.empty()) appendContent("Q");
    appendContent("%FIN_TEXT/%");
    m_underline = false;
    m_x = X + width;
    m_y = Y + m_fontSize;
}

void kdrPDF::appendRotationMatrix(double X, double Y) {
    double r = -m_rotation * 3.1416 / 180;
    std::string line;
    for (double v : {std::cos(r), std::sin(r), -std::sin(r), std::cos(r)}) {
        pdf::appendFixed(line, v, 5);
        line += ' ';
    }
    line += point(X, Y) + " Tm";
    appendContent(line);
}

std::string kdrPDF::BuildUnderline(int mode, const std::string& bytes, double x, double y) {
    double up = toInt16(currentWidth("up"));
    int32_t spaces = CountOccurrences(bytes, " ");
    double width = spaces * currentWidth(" ") + currentWidth(bytes) + spaces * m_wordSpacing;
    if (m_wordSpacing != 0) width -= (spaces + 1) * m_cellMargin;
    double thickness = width * -2 / 1000;
    std::string line;
    auto add = [&line](double v) {
        pdf::appendFixed(line, v, 2);
        line += ' ';
    };
    if (mode == 0) {
        add(toInt16(m_leftMargin * m_k + x));
        add(pageHeight() - (y - up / 1000 * m_fontSize) - 2);
        add(width);
    } else {
        add(x);
        add(y - 3);
        add(width - m_cellMargin);
    }
    add(thickness);
    return line + "re f";
}

int32_t kdrPDF::CountOccurrences(std::string_view text, std::string_view part) {
    if (part.empty()) return 0;
    int32_t count = 0;
    for (size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

void kdrPDF::PDFLink(double& X, double& Y, const std::string& str_Text, std::string& str_Link) {
    requireFinite({X, Y});
    (void)fontResourceNumber();
    appendContent("%DEBUT_LINK/%");
    m_underline = true;
    std::string text = pdf::toPdfBytes(str_Text);
    int32_t w = 0, h = m_fontSize;
    std::string written;
    if (m_imageLink) {
        w = static_cast<int32_t>(std::floor(m_imageLinkWidth));
        h = static_cast<int32_t>(std::floor(m_imageLinkHeight));
        PDFSetTextColor(PdfValue(int32_t(16711680)));
    } else if (m_linkKind == "ELLIPSE" || m_linkKind == "CELL") {
        w = static_cast<int32_t>(std::floor(currentWidth(m_linkText)));
    } else if (m_linkKind == "RECTANGLE") {
        w = m_rectLinkWidth;
    } else {
        w = static_cast<int32_t>(std::floor(currentWidth(text)));
        written = text;
    }
    textOutBytes(written, X, Y);
    m_imageLink = false;
    m_underline = false;
    m_linkKind.clear();
    if (str_Link.empty()) str_Link = str_Text;
    AddLinkArea(X, Y, w, h, text, pdf::toPdfBytes(str_Link));
    appendContent("%FIN_LINK/%");
}

void kdrPDF::AddLinkArea(double X, double Y, int32_t w, int32_t h, const std::string& bytes,
                         const std::string& target) {
    int32_t m = ++m_linkCount;
    int32_t p = m_pageNumber;
    if (p < 1) p = 1;
    if (static_cast<int32_t>(m_links.size()) <= p) m_links.resize(p + 1);
    auto& page = m_links[p];
    if (static_cast<int32_t>(page.size()) < m) page.resize(m);
    page.resize(m);
    page[m - 1] =
        LinkRecord{X * m_k, pageHeight() - Y * m_k, w * m_k, h * m_k, readsAsZero(target) ? bytes : target};
}

void kdrPDF::RegisterUrlLink(const std::string& URLLink, const std::string& kind, double X, double Y) {
    m_imageLink = kind == "IMAGE";
    if (!URLLink.empty()) {
        std::string target;
        PDFLink(X, Y, URLLink, target);
    }
    m_linkText.clear();
    m_imageLink = false;
}

std::vector<kdrPDF::LinkRecord> kdrPDF::pageLinks(int32_t page) const {
    if (page < 1 || page >= static_cast<int32_t>(m_links.size())) return {};
    return m_links[page];
}

std::string kdrPDF::annotsLine(int32_t page) const {
    if (page >= static_cast<int32_t>(m_links.size()) || m_links[page].empty()) return {};
    std::string line = "/Annots [";
    for (const auto& link : m_links[page]) {
        line += "<</Type /Annot /Subtype /Link /Rect [" + pdf::shortNumber(link.x) + " " +
                pdf::shortNumber(link.y) + " " + pdf::shortNumber(link.x + link.width) + " " +
                pdf::shortNumber(link.y - link.height) + "] /Border [0 0 0] ";
        // A link without a target gets no action rather than an unclosed dictionary.
        line +=
            link.target.empty() ? ">>" : "/A <</S /URI /URI (" + pdf::escapeLiteral(link.target) + ")>>>>";
        line += "\r\n";
    }
    return line + "]";
}

void kdrPDF::RotatedTextOut(double X, double Y, const std::string& text, int angle) {
    PDFSetRotation(angle);
    textOutBytes(text, X, Y);
    PDFSetRotation(0);
}

void kdrPDF::StampWatermark() {
    if (!m_watermark) return;
    PDFSetFont(0, 50, 2);
    PDFSetTextColor(PdfValue(std::vector<PdfValue>{int32_t(255), int32_t(192), int32_t(203)}));
    std::string text = pdf::toPdfBytes(m_watermarkText);
    double y = (std::sin(45.0) * currentWidth(text) + PDFGetPageHeight()) / 2.15;
    double x = (PDFGetPageWidth() - std::cos(45.0) * currentWidth(text)) / 2.75;
    RotatedTextOut(x, y, text, 45);
}

}  // namespace sq
