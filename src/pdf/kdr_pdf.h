#pragma once
// kdrPDF: the program's own PDF 1.3 writer. One instance writes one document: name the file, make
// the settings, load the fonts, PDFBeginDoc, draw, PDFEndPage + PDFNewPage per further page, and
// PDFEndDoc. Positions are in the user unit from the top left corner of the page; the file is
// written as Windows-1252 bytes with CR LF line ends, nothing compressed.
//
// A bad setter argument shows a message (error icon, title ending in "kdrPDF 1.0") and falls back;
// every other failure reaches the caller as a VbError with the classic error number. Calls out of
// order raise before writing anything: PDFFileName or PDFBeginDoc once a document has begun 5,
// PDFNewPage or PDFEndDoc while no document is open 91. A coordinate, size, width, radius, angle or
// page dimension that is NaN, infinite or beyond 1e300 in size raises 6 at the call.
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/afm_metrics.h"
#include "pdf/content_buffer.h"
#include "pdf/pdf_value.h"
#include "platform/text_file.h"

namespace sq {

class kdrPDF {
public:
    // Local date and time for the creation date.
    using Clock = std::function<std::tm()>;

    kdrPDF();
    ~kdrPDF();
    kdrPDF(const kdrPDF&) = delete;
    kdrPDF& operator=(const kdrPDF&) = delete;

    // ---- document and file
    void PDFInit();
    void PDFFileName(const std::string& str_FileName);
    void PDFBeginDoc();
    void PDFEndPage();
    void PDFNewPage();
    void PDFEndDoc();

    // ---- settings and page geometry
    void PDFSetUnit(int32_t str_Unite);
    [[nodiscard]] std::string PDFGetUnit() const;
    void PDFFormatPage(const PdfValue& str_FormatPage);
    void PDFOrientation(int32_t str_Orientation);
    void PDFPageWidth(double in_PageWidth);
    void PDFPageHeight(double in_PageHeight);
    [[nodiscard]] double PDFGetPageWidth() const;
    [[nodiscard]] double PDFGetPageHeight() const;
    void PDFSetLeftMargin(double in_left);
    void PDFSetRightMargin(double in_right);
    void PDFSetTopMargin(double in_top);
    void PDFSetBottomMargin(double in_bottom);
    void PDFSetCellMargin(double in_cell);
    void PDFSetMargins(int in_left, int in_top, int in_right = -1, int in_bottom = -1);
    [[nodiscard]] double PDFGetLeftMargin() const { return m_leftMargin; }
    [[nodiscard]] double PDFGetRightMargin() const { return m_rightMargin; }
    [[nodiscard]] double PDFGetTopMargin() const { return m_topMargin; }
    [[nodiscard]] double PDFGetBottomMargin() const { return m_bottomMargin; }
    [[nodiscard]] double PDFGetCellMargin() const { return m_cellMargin; }
    [[nodiscard]] int16_t PDFGetX() const;
    [[nodiscard]] int16_t PDFGetY() const;
    void PDFSetZoomMode(int32_t pZoomMode) { m_zoomMode = pZoomMode; }
    [[nodiscard]] std::optional<int32_t> PDFGetZoomMode() const { return m_zoomMode; }
    void PDFSetLayoutMode(int32_t pLayoutMode);
    [[nodiscard]] std::optional<int32_t> PDFGetLayoutMode() const { return m_layoutMode; }
    void PDFSetViewerPreferences(int32_t pViewerPref);
    void PDFUseThumbs(bool boThumbs) { m_useThumbs = boThumbs; }
    void PDFUseOutlines(bool boOutlines) { m_useOutlines = boOutlines; }
    void PDFProducer(const std::string& s) { m_producer = s; }
    void PDFSubject(const std::string& s) { m_subject = s; }
    void PDFKeywords(const std::string& s) { m_keywords = s; }
    void PDFCreator(const std::string& s) { m_creator = s; }
    void PDFAuthor(const std::string& s) { m_author = s; }
    void PDFTitle(const std::string& s) { m_title = s; }
    void PDFPathConfiguration(const std::string& sPathConfig) { m_afmFolder = sPathConfig; }
    void PDFWatermark(const std::string& sWatermark);
    void PDFConfirm(bool boConfirm) { m_confirm = boConfirm; }
    void PDFView(bool boView) { m_view = boView; }
    [[nodiscard]] std::string PDFGetFileName() const { return m_fileName; }
    [[nodiscard]] int32_t PDFPageNumber() const { return m_pageNumber; }
    [[nodiscard]] int32_t PDFNbPage() const { return m_nbPage; }

    // ---- fonts and text metrics
    void PDFSetFont(int32_t str_Fontname, int in_FontSize, int32_t str_Style);
    void PDFLoadAfm(const std::string& sPathAFM);
    // Width in points of the text (UTF-8) in the named font (empty: the current font) at the size.
    [[nodiscard]] double PDFGetStringWidth(const std::string& str_Txt, const std::string& str_FName,
                                           int in_FSize);

    // ---- colours
    void PDFSetTextColor(const PdfValue& gColor);
    void PDFSetLineColor(const PdfValue& gColor);
    void PDFSetDrawColor(const PdfValue& gColor);
    [[nodiscard]] std::string PDFGetTextColor() const { return m_textColorText; }
    [[nodiscard]] std::string PDFGetLineColor() const { return m_lineColorText; }
    [[nodiscard]] std::string PDFGetDrawColor() const { return m_drawColorText; }

    // ---- text output and links
    // X or Y equal to 0 mean the current position, which is written back.
    void PDFTextOut(const std::string& str_Text, double& X, double& Y);
    void PDFSetRotation(double pAngle) {
        requireFinite({pAngle});
        m_rotation = -pAngle;
    }
    [[nodiscard]] double PDFTextHeight() const { return m_fontSize * m_k; }
    // An empty str_Link becomes str_Text, also in the caller's variable.
    void PDFLink(double& X, double& Y, const std::string& str_Text, std::string& str_Link);

    // ---- lines and shapes
    void PDFSetLineStyle(int32_t pLineStyle);
    void PDFSetLineWidth(double pLineWidth) {
        requireFinite({pLineWidth});
        m_lineWidth = pLineWidth;
    }
    void PDFSetDrawMode(int32_t pDrawMode);
    void PDFDrawLineHor(double X, double Y, double w);
    void PDFDrawLineVer(double X, double Y, double h);
    void PDFDrawLine(double x1, double y1, double x2, double y2);
    void PDFDrawRectangle(double X, double Y, double w, double h, const std::string& URLLink);
    // ry = 0 draws a circle and sets the caller's ry to rx.
    void PDFDrawEllipse(double X, double Y, double rx, double& ry, const std::string& URLLink);
    // Coordinates x0, y0, x1, y1, ...: numbers or texts that read as numbers.
    void PDFDrawPolygon(const std::vector<PdfValue>& pParam);
    void PDFDrawPolygon(const std::vector<double>& pParam);

    // ---- text cells
    void PDFCell(const std::string& str_Text, double X, double Y, double w, double h,
                 const std::string& URLLink);
    void PDFSetAlignement(int32_t gAlignement);
    [[nodiscard]] std::string PDFGetAlignement() const;
    void PDFSetBorder(int32_t gBorder);
    void PDFSetFill(bool bFill) { m_fill = bFill; }

    // ---- outlines
    // y = -1: the current Y. Raises error 9, adding nothing, for a level that cannot join the tree
    // (negative, a first entry above 0, or two or more deeper than the previous entry).
    void PDFSetBookmark(const std::string& str_Text, int iLevel, double y = -1);

    // ---- JPEG images
    // 0 when the name or the file is refused (after the message).
    [[nodiscard]] double PDFImageWidth(const std::string& pFileName);
    [[nodiscard]] double PDFImageHeight(const std::string& pFileName);
    // A zero w or h is computed from the pixel size and written back.
    void PDFImage(const std::string& pFileName, double X, double Y, double& w, double& h,
                  const std::string& URLLink);

    // ---- inspection (tests and callers that need the state)
    struct LinkRecord {
        double x = 0, y = 0, width = 0, height = 0;  // points; y is the top, from the bottom of the page
        std::string target;                          // Windows-1252 bytes
    };
    // The links registered on page p (1-based); empty for a page without links.
    [[nodiscard]] std::vector<LinkRecord> pageLinks(int32_t page) const;
    [[nodiscard]] const std::string& borderCode() const { return m_border; }
    [[nodiscard]] const std::string& dashOperator() const { return m_dash; }
    [[nodiscard]] double wordSpacing() const { return m_wordSpacing; }
    void setClock(Clock clock) { m_clock = std::move(clock); }
    [[nodiscard]] double unitScale() const { return m_k; }
    [[nodiscard]] double currentX() const { return m_x; }
    [[nodiscard]] double currentY() const { return m_y; }
    void setCurrentPosition(double x, double y) { m_x = x, m_y = y; }
    [[nodiscard]] const std::vector<std::string>& fontList() const { return m_fontList; }
    [[nodiscard]] const std::string& afmFolder() const { return m_afmFolder; }
    [[nodiscard]] const std::string& currentFontName() const { return m_fontName; }
    [[nodiscard]] int16_t fontSize() const { return m_fontSize; }
    [[nodiscard]] bool underlinePending() const { return m_underline; }
    [[nodiscard]] const std::string& textColorOperator() const { return m_textColor; }
    [[nodiscard]] const std::string& lineColorOperator() const { return m_lineColor; }
    [[nodiscard]] const std::string& fillColorOperator() const { return m_fillColor; }
    // The content lines of the open page as bytes, as far as they are not yet in the file: a page
    // passes its content on to the file in blocks of a few megabytes while it is drawn.
    [[nodiscard]] std::string pageContent() const { return m_content.str(); }
    // Every content byte of the open page so far.
    [[nodiscard]] uint64_t pageContentSize() const { return m_flushedContent + m_content.size(); }
    // True while PDFFileName's output file is open (until PDFEndDoc puts it in place). The file is
    // written beside the named one and takes its place only when PDFEndDoc has written all of it: an
    // existing file of that name stays as it was until then, and for good when the document fails.
    [[nodiscard]] bool hasOutputFile() const { return m_out != nullptr; }
    // The error number of PDFFileName's last failure to create the file (the system's, or
    // kNotRegularFile); 0 after a success.
    [[nodiscard]] int outputFileError() const { return m_outputFileError; }

private:
    struct PageSize {
        double width;
        double height;
    };

    enum class DocState { NotBegun, Open, Ended };

    // Raises error 6 for a value that would reach the file as no number (NaN, an infinity) or
    // whose page coordinates could overflow to one.
    static void requireFinite(std::initializer_list<double> values);

    // document and file
    void discardUnusedOutput();
    void appendLine(std::string& buffer, std::string_view text) const;
    void appendContent(std::string_view text) {
        m_content.appendLine(text);
        if (m_content.size() >= kFlushBytes) flushContent();
    }
    void appendContentLines(std::string_view lines) {
        m_content.appendLines(lines);
        if (m_content.size() >= kFlushBytes) flushContent();
    }
    void flushContent();
    void writeStreamHeader();
    void writeRaw(std::string_view bytes);
    // Writes the page content buffer as it stands.
    void writeContent();
    void writeBlock(const std::string& block);
    void recordObjectOffset(const std::string& block);
    void recordAndWrite(const std::string& block) { recordObjectOffset(block), writeBlock(block); }
    void WriteHeader();
    void WriteInfoObject();
    void BeginPageStream();
    void closePageStream(bool byNewPage);
    void EndPageStream() { closePageStream(false); }
    void WriteFontObjects();
    void WriteFontObject(const std::string& subtype, const std::string& name, const std::string& encoding);
    void WritePagesObject();
    void WriteResourcesObject();
    void WritePageObject(int32_t n);
    void WriteOutlineObjects();
    void WriteCatalogObject();
    void WriteXrefAndTrailer();
    void StampWatermark();
    [[nodiscard]] std::string openActionLine() const;
    [[nodiscard]] std::string creationDate() const;

    // settings
    void ensurePageSizeEntries();
    [[nodiscard]] const PageSize& currentPageSize() const { return m_pageSizes.back(); }
    PageSize& currentPageSize() { return m_pageSizes.back(); }
    [[nodiscard]] double pageHeight() const { return currentPageSize().height; }

    // text and links (byte texts are Windows-1252)
    void textOutBytes(const std::string& bytes, double& X, double& Y);
    void appendRotationMatrix(double X, double Y);
    [[nodiscard]] std::string BuildUnderline(int mode, const std::string& bytes, double x, double y);
    static int32_t CountOccurrences(std::string_view text, std::string_view part);
    void AddLinkArea(double X, double Y, int32_t w, int32_t h, const std::string& bytes,
                     const std::string& target);
    void RegisterUrlLink(const std::string& URLLink, const std::string& kind, double X, double Y);
    void RotatedTextOut(double X, double Y, const std::string& text, int angle);
    [[nodiscard]] std::string annotsLine(int32_t page) const;

    // lines and shapes
    [[nodiscard]] std::string point(double x, double y) const;
    void appendPoint(std::string& out, double x, double y) const;
    void appendPaintColors();
    void fillFromLineColor();
    [[nodiscard]] std::string BuildDashPattern(int32_t style);
    void setWhiteTextColor() { PDFSetTextColor(PdfValue(int32_t(16777215))); }

    // outlines
    struct PdfBookmark {
        std::string text;
        int level = 0;
        double y = 0;
        int32_t page = 0;
        int64_t first = -1, next = -1, prev = -1, last = -1, parent = -1;  // list indexes; -1 for none
    };
    void linkOutlineTree();

    // images
    struct PdfImageInfo {
        int32_t width = 0, height = 0;
        std::string colorSpace;
        int bitsPerComponent = 0;
        std::string filter;
        std::string data;
        std::string densityUnits;
        int64_t fileSize = 0;
        bool invertedCmyk = false;  // Adobe's CMYK, stored with 0 for full ink
    };
    bool acceptsImageName(const std::string& name);
    // Fills the table entry after the last image; nullptr when the file is refused (after the message).
    const PdfImageInfo* ParseJpegFile(const std::string& fileName);
    void WriteImageObject(int32_t i);

    // cells
    void RenderCellLine(const std::string& bytes, double X, double Y, double w, double h,
                        const std::string& link);
    [[nodiscard]] std::string cellFrame(double X, double Y, double w, double h);
    [[nodiscard]] int16_t cellTextOffset(const std::string& bytes, double w, int16_t textWidth);

    // fonts
    [[nodiscard]] const pdf::AfmWidths& widthsFor(const std::string& fontName);
    [[nodiscard]] double widthOfBytes(std::string_view bytes, const std::string& fontName, int16_t size);
    [[nodiscard]] double currentWidth(std::string_view bytes) {
        return widthOfBytes(bytes, m_fontName, m_fontSize);
    }
    // The current font's /F number; raises 9 without a font list, 53 for a font that is not in the
    // list or has no metric file.
    [[nodiscard]] int32_t fontResourceNumber();

    // colours
    // messageLead + the value + "." CR LF + messageTail is shown for a text without "#".
    [[nodiscard]] std::string colorOperatorFrom(const PdfValue& value, const std::string& kind,
                                                const std::string& messageLead,
                                                const std::string& messageTail, const std::string& topic);

    // file
    std::unique_ptr<AtomicFileWriter> m_out;
    int m_outputFileError = 0;
    DocState m_docState = DocState::NotBegun;
    std::string m_fileName;
    Clock m_clock;
    int64_t m_objectCounter = 0;
    int64_t m_byteCount = 0;
    std::vector<int64_t> m_offsets;
    std::string m_streamHeader;
    static constexpr uint64_t kFlushBytes = uint64_t(4) << 20;
    pdf::ContentBuffer m_content;
    bool m_streamOpen = false;           // a page stream's header is prepared in m_streamHeader
    bool m_streamHeaderWritten = false;  // ... and already in the file
    uint64_t m_flushedContent = 0;       // content bytes of the open page already in the file
    std::string m_scratch;               // reused for operator blocks
    int64_t m_streamHeaderLength = 0;
    int32_t m_pageNumber = 0;
    int32_t m_nbPage = -1;
    std::vector<PageSize> m_pageSizes;
    std::vector<int32_t> m_pageContents;
    std::vector<PageSize> m_pageSizeCopies;
    std::vector<int64_t> m_pageObjects;
    int64_t m_pagesObject = 0;
    int64_t m_resourcesObject = 0;
    int64_t m_catalogObject = 0;
    std::vector<int64_t> m_fontObjects;
    int32_t m_fontCounter = 0;
    int32_t m_imageCount = 0;
    int64_t m_outlineRoot = 0;
    bool m_confirm = false;
    bool m_view = false;

    // settings
    double m_k = 72 / 2.54;
    double m_x = 0, m_y = 0;
    int16_t m_leftMargin = 1, m_topMargin = 1, m_rightMargin = 1, m_bottomMargin = 1;
    int16_t m_cellMargin = 3;
    std::optional<int32_t> m_zoomMode;
    std::optional<int32_t> m_layoutMode;
    std::optional<int32_t> m_viewerPreferences;
    bool m_useThumbs = false;
    bool m_useOutlines = false;
    std::string m_producer, m_author, m_creator, m_keywords, m_subject, m_title;
    std::string m_watermarkText;
    bool m_watermark = false;

    // fonts
    std::string m_afmFolder;
    std::vector<std::string> m_fontList;
    std::string m_fontName;
    int16_t m_fontSize = 0;
    bool m_underline = false;
    using FolderWidths = std::map<std::string, pdf::AfmWidths, std::less<>>;  // by font name
    std::map<std::string, FolderWidths, std::less<>> m_widthCache;            // by AFM folder
    FolderWidths* m_folderWidths = nullptr;                                   // of m_lastWidthsFolder
    std::string m_lastWidthsFolder, m_lastWidthsFont;
    const pdf::AfmWidths* m_lastWidths = nullptr;

    // colours
    std::string m_textColor = "0 g", m_lineColor = "0 G", m_fillColor = "0 g";
    std::string m_textColorText, m_lineColorText, m_drawColorText;
    double m_lastColorNumber = -1;
    std::string m_lastColorKind, m_lastColorOperator;

    // text and links
    double m_rotation = 0;
    bool m_imageLink = false;
    std::string m_linkText;
    std::string m_linkKind;
    int32_t m_rectLinkWidth = 0;
    std::vector<std::vector<LinkRecord>> m_links;  // by page, entry 0 unused
    int32_t m_linkCount = 0;
    double m_imageLinkWidth = 0, m_imageLinkHeight = 0;
    double m_wordSpacing = 0;

    // lines and shapes
    double m_lineWidth = 0.567;
    std::string m_dash;
    std::string m_drawMode;

    // outlines and images
    std::vector<PdfBookmark> m_bookmarks;
    int64_t m_lastTopBookmark = 0;
    std::vector<PdfImageInfo> m_images;

    // cells
    std::string m_alignment;
    std::string m_border;
    bool m_fill = false;
    double m_cellX = 0, m_cellY = 0;
};

}  // namespace sq
