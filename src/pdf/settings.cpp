// Units, page formats and sizes, margins, viewer options.
#include "pdf/kdr_pdf.h"
#include "pdf/pdf_messages.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"

namespace sq {

namespace {
constexpr double kPointsPerMm = 72 / 25.4;
constexpr double kPointsPerCm = 72 / 2.54;

struct Format {
    double width;
    double height;
};
constexpr Format kFormats[] = {
    {595.28, 841.89}, {841.89, 1190.55}, {420.94, 595.28}, {612, 792}, {612, 1008}};
constexpr Format kA4 = kFormats[0];
}  // namespace

void kdrPDF::PDFSetUnit(int32_t str_Unite) {
    switch (str_Unite) {
        case 0:
            m_k = 1;
            return;
        case 1:
            m_k = kPointsPerMm;
            return;
        case 2:
            m_k = kPointsPerCm;
            return;
        default:
            pdf::showSetterMessage("Incorrect Unit of Measure : " + std::to_string(str_Unite) + "." +
                                       pdf::kCrLf + "Using centimeter ",
                                   "Error in measurement unit - ");
            m_k = kPointsPerCm;
    }
}

std::string kdrPDF::PDFGetUnit() const {
    if (m_k == 1) return "pt";
    if (m_k == kPointsPerMm) return "mm";
    if (m_k == kPointsPerCm) return "cm";
    return {};
}

void kdrPDF::ensurePageSizeEntries() {
    if (m_pageSizes.empty()) m_pageSizes.push_back({0, 0});
}

void kdrPDF::PDFFormatPage(const PdfValue& str_FormatPage) {
    ensurePageSizeEntries();
    Format chosen = kA4;
    if (str_FormatPage.kind() == PdfValue::Kind::Long) {
        auto code = static_cast<int32_t>(str_FormatPage.number());
        if (code >= 0 && code <= 4) {
            chosen = kFormats[code];
        } else {
            pdf::showSetterMessage("Format page set incorrectly : " + std::to_string(code) + "." +
                                       pdf::kCrLf + "Format page set to A4.",
                                   "Format Page - ");
        }
    } else if (str_FormatPage.isDoubleArray()) {
        const auto& items = str_FormatPage.items();
        if (items.size() < 2) raise(kSubscriptOutOfRange);
        requireFinite({items[0].number(), items[1].number()});
        chosen = {items[0].number(), items[1].number()};
    } else {
        pdf::showSetterMessage("Format page set incorrectly : " + str_FormatPage.toText() + "." + pdf::kCrLf +
                                   "Format page set to A4",
                               "Format Page - ");
    }
    currentPageSize() = {chosen.width, chosen.height};
}

void kdrPDF::PDFOrientation(int32_t str_Orientation) {
    ensurePageSizeEntries();
    double w = toInt16(currentPageSize().width);
    double h = toInt16(currentPageSize().height);
    if (str_Orientation == 0) {
        currentPageSize() = {h, w};
        return;
    }
    if (str_Orientation != 1)
        pdf::showSetterMessage("Orientation set incorrectly: " + std::to_string(str_Orientation) + "." +
                                   pdf::kCrLf + "Orientation set to portrait.",
                               "Error in orientation - ");
    currentPageSize() = {w, h};
}

void kdrPDF::PDFPageWidth(double in_PageWidth) {
    requireFinite({in_PageWidth});
    currentPageSize().width = in_PageWidth;
}
void kdrPDF::PDFPageHeight(double in_PageHeight) {
    requireFinite({in_PageHeight});
    currentPageSize().height = in_PageHeight;
}
double kdrPDF::PDFGetPageWidth() const {
    return currentPageSize().width;
}
double kdrPDF::PDFGetPageHeight() const {
    return currentPageSize().height;
}

void kdrPDF::PDFSetLeftMargin(double in_left) {
    m_leftMargin = toInt16(in_left);
}
void kdrPDF::PDFSetRightMargin(double in_right) {
    m_rightMargin = toInt16(in_right);
}
void kdrPDF::PDFSetTopMargin(double in_top) {
    m_topMargin = toInt16(in_top);
}
void kdrPDF::PDFSetBottomMargin(double in_bottom) {
    m_bottomMargin = toInt16(in_bottom);
}
void kdrPDF::PDFSetCellMargin(double in_cell) {
    m_cellMargin = toInt16(in_cell);
}

void kdrPDF::PDFSetMargins(int in_left, int in_top, int in_right, int in_bottom) {
    int16_t left = toInt16(in_left), top = toInt16(in_top);
    int16_t right = toInt16(in_right), bottom = toInt16(in_bottom);
    m_leftMargin = left;
    m_topMargin = top;
    m_rightMargin = right == -1 ? left : right;
    m_bottomMargin = bottom == -1 ? top : bottom;
}

int16_t kdrPDF::PDFGetX() const {
    return toInt16(m_x);
}
int16_t kdrPDF::PDFGetY() const {
    return toInt16(m_y);
}

void kdrPDF::PDFSetLayoutMode(int32_t pLayoutMode) {
    if (pLayoutMode >= 0 && pLayoutMode <= 3) {
        m_layoutMode = pLayoutMode;
        return;
    }
    pdf::showSetterMessage("Layout incorrect : " + std::to_string(pLayoutMode) + "." + pdf::kCrLf +
                               "Layout will be set to simple single page.",
                           "Layout Mode - ");
    m_layoutMode = 0;
}

void kdrPDF::PDFSetViewerPreferences(int32_t pViewerPref) {
    m_viewerPreferences = pViewerPref;
}

void kdrPDF::PDFWatermark(const std::string& sWatermark) {
    m_watermarkText = sWatermark;
    m_watermark = true;
}

}  // namespace sq
