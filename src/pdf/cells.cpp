// Text cells: a text laid out over lines of a box, with border, fill, alignment and links.
#include <algorithm>
#include <cctype>

#include "pdf/kdr_pdf.h"
#include "pdf/pdf_messages.h"
#include "pdf/pdf_text.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"

namespace sq {

namespace {
bool hasLetter(const std::string& code, char letter) {
    return std::any_of(code.begin(), code.end(),
                       [letter](char c) { return std::toupper(static_cast<unsigned char>(c)) == letter; });
}

// Length of the line break at text[i] (LF or CR LF), 0 when there is none.
size_t breakAt(const std::string& text, size_t i) {
    if (text[i] == '\n') return 1;
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') return 2;
    return 0;
}

std::string withoutFinalBreak(std::string text) {
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    else if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}
}  // namespace

void kdrPDF::PDFSetAlignement(int32_t gAlignement) {
    static const char* const kCodes[] = {"C", "L", "R", "FJ"};
    if (gAlignement >= 0 && gAlignement <= 3) {
        m_alignment = kCodes[gAlignement];
        return;
    }
    pdf::showSetterMessage("Invalid alignment set. : " + std::to_string(gAlignement) + "." + pdf::kCrLf +
                               "Using left alignment.",
                           "Alignment - ");
    m_alignment = "L";
}

std::string kdrPDF::PDFGetAlignement() const {
    if (m_alignment == "C") return "Center";
    if (m_alignment == "R") return "Right";
    if (m_alignment == "FJ") return "Justify";
    return "Left";
}

void kdrPDF::PDFSetBorder(int32_t gBorder) {
    static const char* const kCodes[] = {"0", "1", "T", "B", "L", "R"};
    if (gBorder >= 0 && gBorder <= 5) {
        m_border = kCodes[gBorder];
        return;
    }
    std::string digits = std::to_string(gBorder);
    m_border.clear();
    for (auto [digit, letter] : {std::pair{'4', 'L'}, {'5', 'R'}, {'2', 'T'}, {'3', 'B'}})
        if (digits.find(digit) != std::string::npos) m_border += letter;
}

void kdrPDF::PDFCell(const std::string& str_Text, double X, double Y, double w, double h,
                     const std::string& URLLink) {
    requireFinite({X, Y, w, h});
    if (m_fontSize == 0) raise(kDivisionByZero);
    const double m = m_cellMargin;
    const double capacity = (w - 2 * m) * 10 / m_fontSize;
    const std::string cellBorder = m_border;
    const bool allSides = cellBorder == "1" || cellBorder == "LRTB";
    std::string middleCode = allSides ? "LR"
                                      : std::string(hasLetter(cellBorder, 'L') ? "L" : "") +
                                            (hasLetter(cellBorder, 'R') ? "R" : "");
    std::string code = allSides ? "LRT" : middleCode + (hasLetter(cellBorder, 'T') ? "T" : "");
    const std::string text = withoutFinalBreak(pdf::toPdfBytes(str_Text));
    (void)fontResourceNumber();
    const pdf::AfmWidths& widths = widthsFor(m_fontName);

    appendContent("%DEBUT_CELL/%");
    const size_t n = text.size();
    size_t i = 0, j = 0, space = std::string::npos;
    double used = 0, y = Y;
    int lines = 1;
    auto drawLine = [&](size_t from, size_t to, double x) {
        m_border = code;
        RenderCellLine(text.substr(from, to - from), x, y, w, h, URLLink);
        y = m_y;
        space = std::string::npos;
        used = 0;
        if (++lines == 2) code = middleCode;
    };
    while (i < n) {
        if (size_t length = breakAt(text, i)) {
            drawLine(j, i, X);
            i += length;
            j = i;
            continue;
        }
        auto c = static_cast<unsigned char>(text[i]);
        if (c == 0) raise(kSubscriptOutOfRange);
        if (c == ' ') space = i;
        used = toInt16(used + static_cast<double>(widths[c]) * m_fontSize / 1000);
        if (used <= capacity) {
            ++i;
            continue;
        }
        if (space == std::string::npos) {
            if (i == j) ++i;
            drawLine(j, i, X);
        } else {
            size_t breakSpace = space;
            drawLine(j, breakSpace, X - m);
            i = breakSpace + 1;
        }
        j = i;
    }
    if (cellBorder == "1" || hasLetter(cellBorder, 'B')) code += "B";
    m_border = code;
    RenderCellLine(text.substr(j), X - m, lines > 1 ? m_y : Y, w, h, URLLink);
    m_underline = false;
    if (m_alignment == "FJ") {
        appendContent("0 Tw");
        m_wordSpacing = 0;
    }
    appendContent("%FIN_CELL/%");
}

std::string kdrPDF::cellFrame(double X, double Y, double w, double h) {
    std::string frame;
    auto number = [&frame](double v) { pdf::appendFixed(frame, v, 2); };
    if (m_fill) {
        frame += point(X, Y) + " ";
        number(w * m_k);
        frame += ' ';
        number(-h * m_k);
        frame += " re f\r";
    }
    if (m_border == "0" || m_border == "1") return frame;
    std::string width;
    pdf::appendFixed(width, m_lineWidth * m_k, 2);
    appendContent(width + " w");
    const double right = X + w, bottom = Y + h;
    if (hasLetter(m_border, 'L')) frame += point(X, Y) + " m " + point(X, bottom) + " l S\r";
    if (hasLetter(m_border, 'T')) frame += point(X, Y) + " m " + point(right, Y) + " l S \r";
    if (hasLetter(m_border, 'R')) frame += point(right, Y) + " m " + point(right, bottom) + " l S \r";
    if (hasLetter(m_border, 'B')) frame += point(X, bottom) + " m " + point(right, bottom) + " l S \r";
    return frame;
}

int16_t kdrPDF::cellTextOffset(const std::string& bytes, double w, int16_t textWidth) {
    const double m = m_cellMargin;
    if (m_alignment == "R") return toInt16(w * m_k - m - textWidth);
    if (m_alignment == "C") return toInt16((w * m_k - textWidth) / 2);
    if (m_alignment == "FJ") {
        int32_t spaces = CountOccurrences(bytes, " ");
        m_wordSpacing = (w * m_k - (spaces + 1) * m - currentWidth(bytes)) / (spaces == 0 ? 1 : spaces);
        std::string line;
        pdf::appendFixed(line, m_k * m_wordSpacing, 3);
        appendContent(line + " Tw");
    }
    return toInt16(2 * m);
}

void kdrPDF::RenderCellLine(const std::string& bytes, double X, double Y, double w, double h,
                            const std::string& link) {
    std::string escaped = pdf::escapeLiteral(bytes);
    int32_t font = fontResourceNumber();
    if (m_fontSize == 0) m_fontSize = 10;
    if (!m_lineColor.empty()) {
        size_t b = m_lineColor.find_first_not_of(' '), e = m_lineColor.find_last_not_of(' ');
        appendContent(b == std::string::npos ? std::string() : m_lineColor.substr(b, e - b + 1));
    }
    if (!m_fillColor.empty()) appendContent(m_fillColor);
    std::string frame = cellFrame(X, Y, w, h);
    m_border = "0";
    if (m_alignment.empty()) m_alignment = "L";
    int16_t textWidth = toInt16(currentWidth(bytes));
    int16_t d = cellTextOffset(bytes, w, textWidth);
    if (!frame.empty()) appendContent(frame);
    if (!link.empty()) {
        m_underline = true;
        AddLinkArea(X + d, Y + h / 2 - m_fontSize / 2.0, textWidth, m_fontSize, bytes, pdf::toPdfBytes(link));
    }
    double baseline = pageHeight() - (h / 2 * m_k + Y * m_k + 0.3 * m_fontSize);
    std::string underline;
    if (m_underline) underline = BuildUnderline(1, bytes, d + X * m_k, baseline);
    if (!m_textColor.empty()) appendContent("q " + m_textColor + " ");
    if (!underline.empty()) appendContent(underline);
    m_cellX = X;
    m_cellY = Y;
    appendContent("BT");
    appendContent("/F" + std::to_string(font) + " " + std::to_string(m_fontSize) + " Tf");
    std::string position;
    pdf::appendFixed(position, d + X * m_k, 2);
    position += ' ';
    pdf::appendFixed(position, baseline, 2);
    appendContent(position + " Td");
    appendContent("(" + escaped + ") Tj");
    appendContent("ET");
    if (!m_textColor.empty()) appendContent("Q");
    m_linkText = bytes;
    m_linkKind = "CELL";
    RegisterUrlLink(link, "CELL", m_cellX, m_cellY);
    m_linkKind.clear();
    m_x = X + w;
    m_y = Y + h;
}

}  // namespace sq
