// Document life cycle and the file serializer: objects, offsets, cross-reference table, trailer.
#include <cmath>

#include "pdf/kdr_pdf.h"
#include "pdf/pdf_messages.h"
#include "pdf/pdf_text.h"
#include "platform/dialogs.h"
#include "platform/numbers.h"
#include "platform/program_folder.h"
#include "platform/text_file.h"
#include "platform/vb_error.h"

namespace sq {

namespace {
constexpr const char* kBeginObj = "%DEBUT_OBJ/%";
constexpr const char* kEndObj = "%FIN_OBJ/%";
constexpr int64_t kBeginObjBytes = 14;  // "%DEBUT_OBJ/%" and its CR LF

std::tm localNow() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return parts;
}

std::string objectLine(int64_t number) {
    return std::to_string(number) + " 0 obj";
}
std::string reference(int64_t number) {
    return std::to_string(number) + " 0 R";
}

bool isPermissionError(int error) {
    return fileError(error).number() == kPermissionDenied;
}
}  // namespace

kdrPDF::kdrPDF() : m_clock(localNow) {
    PDFInit();
}

kdrPDF::~kdrPDF() = default;

void kdrPDF::PDFInit() {
    if (m_afmFolder.empty()) m_afmFolder = programFolder();
    std::string folder = m_afmFolder;
    if (dirExists(folder)) PDFLoadAfm(folder);
    m_offsets.clear();
    m_pageContents.clear();
    m_pageSizeCopies.clear();
    m_fontObjects.clear();
    m_nbPage = -1;
    m_k = 72 / 2.54;
    m_pageSizes.assign(1, PageSize{595.28, 841.89});
    m_underline = false;
    m_linkCount = 0;
    m_links.clear();
    int16_t margin = toInt16(72 / 2.54 / 28.35);
    PDFSetMargins(margin, margin);
    m_cellMargin = toInt16(margin / 10.0 * m_k);
    m_lineWidth = 0.567;
    m_x = m_leftMargin;
    m_y = m_topMargin;
    m_streamHeader.clear();
    m_content.clear();
    m_streamOpen = false;
    m_lineColor = "0 G";
    m_fillColor = "0 g";
    m_textColor = "0 g";
    m_producer.clear();
    m_author.clear();
    m_creator.clear();
    m_keywords.clear();
    m_subject.clear();
}

// ---- output file

void kdrPDF::PDFFileName(const std::string& str_FileName) {
    // A second file would cut the first off mid-document and start without a header.
    if (m_docState != DocState::NotBegun) raise(kInvalidCall);
    m_fileName = str_FileName;
    m_outputFileError = 0;
    if (str_FileName.empty()) return;
    std::string path = str_FileName;
    for (char& c : path)
        if (c == '\\') c = '/';
    m_out.reset();
    // The file is written beside its name and takes its place only when complete, so a viewer that
    // holds the previous report open never stops it: a folder that refuses the file refuses it for
    // good, and the caller learns why at once.
    auto file = std::make_unique<AtomicFileWriter>(path);
    m_outputFileError = file->error();
    if (!file->failed())
        m_out = std::move(file);
    else if (isPermissionError(m_outputFileError))
        throw fileError(m_outputFileError);
}

void kdrPDF::writeRaw(std::string_view bytes) {
    if (!m_out) raise(kObjectNotSet);
    m_out->write(bytes);
    if (m_out->failed()) throw fileError(m_out->error());
}

void kdrPDF::writeContent() {
    if (!m_out) raise(kObjectNotSet);
    m_content.writeTo([this](std::string_view chunk) { m_out->write(chunk); });
    if (m_out->failed()) throw fileError(m_out->error());
}

void kdrPDF::writeBlock(const std::string& block) {
    writeRaw(block);
    writeRaw("\r\n");
    m_byteCount += static_cast<int64_t>(block.size()) + 2;
}

void kdrPDF::recordObjectOffset(const std::string& block) {
    int64_t offset = m_byteCount;
    if (block.rfind(std::string(kBeginObj) + "\r\n", 0) == 0) offset += kBeginObjBytes;
    if (static_cast<int64_t>(m_offsets.size()) <= m_objectCounter) m_offsets.resize(m_objectCounter + 1, 0);
    m_offsets[m_objectCounter] = offset;
}

void kdrPDF::appendLine(std::string& buffer, std::string_view text) const {
    buffer += text;
    buffer += "\r\n";
}

// ---- life cycle

void kdrPDF::requireFinite(std::initializer_list<double> values) {
    constexpr double kLargest = 1e300;
    for (double v : values)
        if (!(std::fabs(v) <= kLargest)) raise(kOverflow);
}

void kdrPDF::PDFBeginDoc() {
    if (m_docState != DocState::NotBegun) raise(kInvalidCall);
    if (!m_out) raise(kObjectNotSet);
    m_pageNumber = 1;
    m_objectCounter = 0;
    m_byteCount = 0;
    m_offsets.assign(1, 0);
    m_pageContents.assign(1, 0);
    m_pageSizeCopies.assign(1, PageSize{0, 0});
    m_nbPage = 1;
    m_fontObjects.assign(1, 0);
    m_imageCount = 0;
    m_fontCounter = 0;
    m_pageObjects.assign(1, 0);
    m_links.assign(1, {});
    m_streamHeader.clear();
    WriteHeader();
    WriteInfoObject();
    BeginPageStream();
    m_docState = DocState::Open;
}

void kdrPDF::WriteHeader() {
    m_objectCounter = 0;
    writeRaw("%PDF-1.3\r\n");
    m_byteCount = 10;
}

std::string kdrPDF::creationDate() const {
    std::tm t = m_clock();
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                  t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

void kdrPDF::WriteInfoObject() {
    m_objectCounter = 1;
    auto value = [](const std::string& text) { return pdf::textString(text); };
    std::string block;
    appendLine(block, objectLine(1));
    appendLine(block, "<<");
    appendLine(block, "/Producer (" + value(m_producer) + ")");
    appendLine(block, "/Author (" + value(m_author) + ")");
    appendLine(block, "/CreationDate (D:" + creationDate() + ")");
    appendLine(block, "/Creator (" + value(m_creator) + ")");
    appendLine(block, "/Keywords (" + value(m_keywords) + ")");
    appendLine(block, "/Subject (" + value(m_subject) + ")");
    appendLine(block, "/Title (" + value(m_title) + ")");
    appendLine(block, "/ModDate ()");
    appendLine(block, ">>");
    appendLine(block, "endobj");
    recordAndWrite(block);
}

void kdrPDF::BeginPageStream() {
    m_objectCounter = 2;
    m_streamHeader.clear();
    appendLine(m_streamHeader, objectLine(2));
    appendLine(m_streamHeader, "<< /Length " + reference(3));
    appendLine(m_streamHeader, " >>");
    m_streamHeaderLength = static_cast<int64_t>(m_streamHeader.size());
    appendLine(m_streamHeader, "stream");
    m_content.clear();
    m_flushedContent = 0;
    m_streamOpen = true;
    m_streamHeaderWritten = false;
}

// The stream object of the open page begins with its header, written once: either when the first
// block of content goes to the file or when the page closes. Nothing else is written in between.
void kdrPDF::writeStreamHeader() {
    if (m_streamHeaderWritten) return;
    recordObjectOffset(m_streamHeader);
    writeRaw(m_streamHeader);
    m_streamHeaderWritten = true;
}

void kdrPDF::flushContent() {
    if (!m_streamOpen || !m_out) return;
    writeStreamHeader();
    writeContent();
    m_flushedContent += m_content.size();
    m_content.clear();
}

// Writes the open page's stream object and its length object.
void kdrPDF::closePageStream(bool byNewPage) {
    std::string tail;
    appendLine(tail, "endstream");
    appendLine(tail, "endobj");
    if (byNewPage) appendLine(tail, kEndObj);
    writeStreamHeader();
    writeContent();
    writeRaw(tail);
    writeRaw("\r\n");
    int64_t length = static_cast<int64_t>(m_flushedContent + m_content.size());
    m_byteCount +=
        static_cast<int64_t>(m_streamHeader.size()) + length + static_cast<int64_t>(tail.size()) + 2;
    m_content.clear();
    m_flushedContent = 0;
    m_streamOpen = false;
    m_streamHeaderWritten = false;

    ++m_objectCounter;
    std::string block;
    if (byNewPage) appendLine(block, kBeginObj);
    appendLine(block, objectLine(m_objectCounter));
    appendLine(block, std::to_string(length));
    appendLine(block, "endobj");
    if (byNewPage) appendLine(block, kEndObj);
    recordAndWrite(block);
}

void kdrPDF::PDFEndPage() {
    m_pageSizes.push_back(m_pageSizes.back());
    StampWatermark();
}

void kdrPDF::PDFNewPage() {
    if (m_docState != DocState::Open) raise(kObjectNotSet);
    m_x = m_leftMargin;
    m_y = m_topMargin;
    m_linkCount = 0;
    ++m_pageNumber;
    closePageStream(true);
    ++m_objectCounter;
    m_streamHeader.clear();
    appendLine(m_streamHeader, objectLine(m_objectCounter));
    appendLine(m_streamHeader, "<< /Length " + reference(m_objectCounter + 1));
    appendLine(m_streamHeader, " >>");
    m_streamHeaderLength = static_cast<int64_t>(m_streamHeader.size());
    appendLine(m_streamHeader, "stream");
    m_streamOpen = true;
    appendContent(kBeginObj);
    StampWatermark();
}

// The output file of a document never begun is dropped: nothing of it ever reached the named file.
void kdrPDF::discardUnusedOutput() {
    if (m_docState == DocState::NotBegun) m_out.reset();
}

void kdrPDF::PDFEndDoc() {
    if (m_docState != DocState::Open) {
        discardUnusedOutput();
        raise(kObjectNotSet);
    }
    // Whatever happens below, this document cannot be ended a second time.
    m_docState = DocState::Ended;
    StampWatermark();
    EndPageStream();
    WriteFontObjects();
    WritePagesObject();
    WriteResourcesObject();
    for (int32_t i = 1; i <= m_imageCount; ++i) WriteImageObject(i);
    for (int32_t n = 1; n <= m_pageNumber; ++n) WritePageObject(n);
    WriteOutlineObjects();
    WriteCatalogObject();
    WriteXrefAndTrailer();
    writeRaw("%%EOF\r\n");
    m_byteCount += 7;
    const std::unique_ptr<AtomicFileWriter> file = std::move(m_out);
    if (!file->commit()) throw fileError(file->error());
    if (m_confirm)
        msgBox("PDF file generated.", MsgButtons::OK, MsgIcon::None,
               std::string("Generated PDF file - ") + pdf::kWriterName);
    if (m_view) dialogs().openWithViewer(m_fileName);
}

// ---- objects written by PDFEndDoc

void kdrPDF::WriteFontObjects() {
    if (m_fontList.empty()) raise(kSubscriptOutOfRange);
    // The two symbol fonts keep their built-in encoding: under WinAnsiEncoding their codes would
    // name Latin glyphs they do not have, and viewers draw nothing.
    for (const auto& name : m_fontList)
        WriteFontObject("Type1", name, name == "Symbol" || name == "ZapfDingbats" ? "" : "WinAnsiEncoding");
}

void kdrPDF::WriteFontObject(const std::string& subtype, const std::string& name,
                             const std::string& encoding) {
    ++m_fontCounter;
    ++m_objectCounter;
    m_fontObjects.push_back(m_objectCounter);
    std::string block;
    appendLine(block, objectLine(m_objectCounter));
    appendLine(block, "<< /Type /Font");
    appendLine(block, "/Subtype /" + subtype);
    appendLine(block, "/Name /F" + std::to_string(m_fontCounter));
    appendLine(block, "/BaseFont /" + pdf::toPdfBytes(name));
    if (!encoding.empty()) appendLine(block, "/Encoding /" + encoding);
    appendLine(block, ">>");
    appendLine(block, "endobj");
    recordAndWrite(block);
}

void kdrPDF::WritePagesObject() {
    m_pagesObject = ++m_objectCounter;
    std::string block;
    appendLine(block, kBeginObj);
    appendLine(block, objectLine(m_pagesObject));
    appendLine(block, "<< /Type /Pages");
    appendLine(block, "/Kids [");
    m_pageContents.assign(1, 0);
    m_pageSizeCopies.assign(1, PageSize{0, 0});
    for (int32_t n = 1; n <= m_pageNumber; ++n) {
        appendLine(block, reference(m_pagesObject + 1 + m_imageCount + n));
        if (n > static_cast<int32_t>(m_pageSizes.size())) raise(kSubscriptOutOfRange);
        m_pageContents.push_back(2 * n);
        m_pageSizeCopies.push_back(m_pageSizes[n - 1]);
    }
    m_nbPage = m_pageNumber;
    appendLine(block, "]");
    appendLine(block, "/Count " + std::to_string(m_pageNumber));
    appendLine(block, ">>");
    appendLine(block, "endobj");
    recordAndWrite(block);
}

void kdrPDF::WriteResourcesObject() {
    m_resourcesObject = ++m_objectCounter;
    std::string block;
    appendLine(block, objectLine(m_resourcesObject));
    appendLine(block, "<< /ProcSet [ /PDF /Text /ImageC]");
    appendLine(block, "/XObject << ");
    for (int32_t i = 1; i <= m_imageCount; ++i)
        appendLine(block, "/ImgJPEG" + std::to_string(i) + " " + reference(m_resourcesObject + i));
    appendLine(block, ">>");
    appendLine(block, "/Font << ");
    for (int32_t i = 1; i <= m_fontCounter; ++i)
        appendLine(block, "/F" + std::to_string(i) + " " + reference(m_fontObjects[i]) + " ");
    appendLine(block, ">>");
    appendLine(block, ">>");
    appendLine(block, "endobj");
    recordAndWrite(block);
}

void kdrPDF::WritePageObject(int32_t n) {
    ++m_objectCounter;
    if (static_cast<int32_t>(m_pageObjects.size()) <= n) m_pageObjects.resize(n + 1, 0);
    m_pageObjects[n] = m_objectCounter;
    const PageSize& size = m_pageSizeCopies[n];
    std::string block;
    appendLine(block, objectLine(m_objectCounter));
    appendLine(block, "<< /Type /Page");
    appendLine(block, "/Parent " + reference(m_pagesObject));
    appendLine(block,
               "/MediaBox [ 0 0 " + pdf::shortNumber(size.width) + " " + pdf::shortNumber(size.height) + "]");
    appendLine(block, "/Resources " + reference(m_resourcesObject));
    std::string annots = annotsLine(n);
    if (!annots.empty()) appendLine(block, annots);
    appendLine(block, "/Contents " + reference(m_pageContents[n]));
    appendLine(block, ">>");
    appendLine(block, "endobj");
    appendLine(block, kEndObj);
    recordAndWrite(block);
}

std::string kdrPDF::openActionLine() const {
    std::string head = "/OpenAction [" + reference(m_pageObjects[1]);
    switch (m_zoomMode.value_or(0)) {
        case 0:
            return head + " /Fit]";
        case 1:
            return head + " /FitH null]";
        case 2:
            return head + " /XYZ null null 1]";
        default:
            return head + " /XYZ null null " + pdf::fixed(*m_zoomMode / 100.0, 2) + "]";
    }
}

void kdrPDF::WriteCatalogObject() {
    m_catalogObject = ++m_objectCounter;
    std::string block;
    appendLine(block, objectLine(m_catalogObject));
    appendLine(block, "<<");
    appendLine(block, "/Type /Catalog");
    appendLine(block, "/Pages " + reference(m_pagesObject));
    appendLine(block, openActionLine());
    switch (m_layoutMode.value_or(0)) {
        case 0:
            appendLine(block, "/PageLayout /SinglePage");
            break;
        case 1:
            appendLine(block, "/PageLayout /OneColumn");
            break;
        case 2:
            appendLine(block, "/PageLayout /TwoColumnLeft");
            break;
        default:
            break;
    }
    // With both panels asked for, only the outline one is named: a second /PageMode key would make
    // the dictionary invalid, and readers took the last one anyway.
    if (m_useThumbs && !m_useOutlines) appendLine(block, "/PageMode /UseThumbs");
    if (m_useOutlines) {
        appendLine(block, "/Outlines " + reference(m_outlineRoot));
        appendLine(block, "/PageMode /UseOutlines");
    }
    if (m_viewerPreferences) {
        std::string digits = std::to_string(*m_viewerPreferences);
        appendLine(block, "/ViewerPreferences<<");
        static const std::pair<char, const char*> kPreferences[] = {
            {'2', "/HideMenubar true"},     {'1', "/HideToolbar true"},  {'3', "/HideWindowUI true"},
            {'6', "/DisplayDocTitle true"}, {'5', "/CenterWindow true"}, {'4', "/FitWindow true"}};
        for (const auto& [digit, line] : kPreferences)
            if (digits.find(digit) != std::string::npos) appendLine(block, line);
        appendLine(block, ">>");
    }
    appendLine(block, ">>");
    appendLine(block, "endobj");
    recordAndWrite(block);
}

void kdrPDF::WriteXrefAndTrailer() {
    int64_t count = m_objectCounter + 1;
    std::string block;
    block.reserve(static_cast<size_t>(count) * 20 + 128);
    appendLine(block, "xref");
    appendLine(block, "0 " + std::to_string(count));
    appendLine(block, "0000000000 65535 f");
    for (int64_t i = 1; i < count; ++i) {
        std::string offset = std::to_string(m_offsets[i]);
        if (offset.size() > 10) raise(kOverflow);
        appendLine(block, pdf::padZeros10(offset) + " 00000 n");
    }
    appendLine(block, "trailer");
    appendLine(block, "<< /Size " + std::to_string(count));
    appendLine(block, "/Root " + reference(m_catalogObject));
    appendLine(block, "/Info 1 0 R");
    appendLine(block, ">>");
    appendLine(block, "startxref");
    appendLine(block, std::to_string(m_byteCount));
    writeBlock(block);
}

}  // namespace sq
