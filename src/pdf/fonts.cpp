// Font selection, the font list from a folder of AFM files, and text widths.
#include <algorithm>

#include "pdf/kdr_pdf.h"
#include "pdf/pdf_messages.h"
#include "pdf/pdf_text.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"

namespace sq {

namespace {
std::string withSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string baseFontName(const std::string& base, bool italic, bool bold) {
    if (base == "Times") {
        if (italic && bold) return "Times-BoldItalic";
        if (italic) return "Times-Italic";
        if (bold) return "Times-Bold";
        return "Times-Roman";
    }
    if (italic && bold) return base + "-BoldOblique";
    if (italic) return base + "-Oblique";
    if (bold) return base + "-Bold";
    return base;
}
}  // namespace

void kdrPDF::PDFSetFont(int32_t str_Fontname, int in_FontSize, int32_t str_Style) {
    int16_t size = toInt16(in_FontSize);
    static const char* const kFamilies[] = {"Helvetica", "Courier", "Times", "Symbol", "ZapfDingbats"};
    if (str_Fontname < 0 || str_Fontname > 4) {
        pdf::showSetterMessage("Font name set incorrectly : " + std::to_string(str_Fontname) + "." +
                                   pdf::kCrLf + "Font set to Times New Roman.",
                               "Font name - ");
        m_fontName = "Times-Roman";
        m_fontSize = size;
        return;
    }
    std::string digits = std::to_string(str_Style);
    bool italic = digits.find('1') != std::string::npos;
    bool bold = digits.find('2') != std::string::npos;
    if (digits.find('3') != std::string::npos) m_underline = true;
    m_fontName = baseFontName(kFamilies[str_Fontname], italic, bold);
    m_fontSize = size;
}

void kdrPDF::PDFLoadAfm(const std::string& sPathAFM) {
    auto entries = pdf::listAfmEntries(withSlashes(sPathAFM));
    if (entries.empty()) return;
    m_fontList = std::move(entries);
    m_afmFolder = sPathAFM;
}

const pdf::AfmWidths& kdrPDF::widthsFor(const std::string& fontName) {
    if (m_lastWidths && fontName == m_lastWidthsFont && m_afmFolder == m_lastWidthsFolder)
        return *m_lastWidths;
    // Looked up without building the file's path: a report measures thousands of cells.
    if (!m_folderWidths || m_afmFolder != m_lastWidthsFolder) {
        m_folderWidths = &m_widthCache[m_afmFolder];
        m_lastWidthsFolder = m_afmFolder;
    }
    auto found = m_folderWidths->find(fontName);
    if (found == m_folderWidths->end()) {
        std::string path = withSlashes(m_afmFolder) + "/" + fontName + ".afm";
        found = m_folderWidths->emplace(fontName, pdf::readAfmWidths(path)).first;
    }
    m_lastWidthsFont = fontName;
    m_lastWidths = &found->second;
    return found->second;
}

double kdrPDF::PDFGetStringWidth(const std::string& str_Txt, const std::string& str_FName, int in_FSize) {
    int16_t size = toInt16(in_FSize);
    const std::string& font = str_FName.empty() ? m_fontName : str_FName;
    if (pdf::isAscii(str_Txt)) return widthOfBytes(str_Txt, font, size);
    return widthOfBytes(pdf::toPdfBytes(str_Txt), font, size);
}

double kdrPDF::widthOfBytes(std::string_view bytes, const std::string& fontName, int16_t size) {
    const pdf::AfmWidths& widths = widthsFor(fontName);
    int64_t sum = 0;
    for (char c : bytes) {
        auto code = static_cast<unsigned char>(c);
        if (code == 0) raise(kSubscriptOutOfRange);
        sum += widths[code];
    }
    int64_t product = sum * size;
    if (sum > INT32_MAX || sum < INT32_MIN || product > INT32_MAX || product < INT32_MIN) raise(kOverflow);
    return static_cast<double>(product) / 1000;
}

}  // namespace sq
