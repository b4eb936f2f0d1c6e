// Text cells: line breaking, border codes per line, alignment, justification, fill and links.
#include <gtest/gtest.h>

#include "pdf/kdr_pdf.h"
#include "pdf_test_support.h"
#include "platform/dialogs.h"
#include "platform/vb_error.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"

using namespace pdftest;
using sq::kdrPDF;

namespace {
// The texts of the Tj lines, in order.
std::vector<std::string> shownTexts(const std::string& content) {
    std::vector<std::string> texts;
    for (size_t at = content.find(") Tj"); at != std::string::npos; at = content.find(") Tj", at + 1)) {
        size_t open = content.rfind("\n(", at) + 2;
        texts.push_back(content.substr(open, at - open));
    }
    return texts;
}

// The border segments drawn, as letters per cell line (L, T, R, B from their coordinates).
std::vector<std::string> segmentLines(const std::string& content) {
    std::vector<std::string> lines;
    for (size_t at = content.find(" w\r\n"); at != std::string::npos; at = content.find(" w\r\n", at + 1)) {
        size_t end = content.find("\r\r\n", at);
        lines.push_back(content.substr(at + 4, end == std::string::npos ? 0 : end - at - 4));
    }
    return lines;
}
}  // namespace

TEST(PdfCells, oneLineCellOfTheWorkedExample) {
    PointsPage page;
    page.pdf.PDFSetBorder(45);
    EXPECT_EQ(page.pdf.borderCode(), "LR");
    page.pdf.PDFCell("ab", 23, 30, 100, 12, "");
    EXPECT_EQ(page.content(),
              crlf({"%DEBUT_CELL/%", "0 G", "0 g", "0.57 w",
                    "20.00 811.89 m 20.00 799.89 l S\r120.00 811.89 m 120.00 799.89 l S \r", "q 0 g ", "BT",
                    "/F1 10 Tf", "26.00 802.89 Td", "(ab) Tj", "ET", "Q", "%FIN_CELL/%"}));
    EXPECT_EQ(page.pdf.currentX(), 120);
    EXPECT_EQ(page.pdf.currentY(), 42);
}

TEST(PdfCells, linesBreakAtSpacesInsideWordsAndAtLineBreaks) {
    struct Case {
        std::string text;
        double width;
        std::vector<std::string> lines;
    };
    // Size 10, cell margin 3: the capacity is the width less 6 points; "c" is 5 points, a space 2.5.
    const std::vector<Case> cases = {
        {"cccccccc cccccccc cccccccc", 106, {"cccccccc cccccccc", "cccccccc"}},
        {std::string(24, 'c'), 106, {std::string(20, 'c'), std::string(4, 'c')}},
        {"cc", 8, {"c", "c", ""}},
        {"ab\r\ncd", 106, {"ab", "cd"}},
        {"ab\ncd", 106, {"ab", "cd"}},
        {"ab\rcd", 106, {"ab\rcd"}},
        {"ab\r\n", 106, {"ab"}},
        {"", 106, {""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        PointsPage page;
        page.pdf.PDFCell(c.text, 23, 30, c.width, 12, "");
        EXPECT_EQ(shownTexts(page.content()), c.lines);
    }
}

TEST(PdfCells, linesBrokenAtASpaceStartAtTheCellMarginAndFollowEachOther) {
    PointsPage page;
    page.pdf.PDFCell(std::string(24, 'c'), 23, 30, 106, 12, "");
    std::string content = page.content();
    EXPECT_NE(content.find("29.00 802.89 Td"), std::string::npos);  // broken inside the word: at X
    EXPECT_NE(content.find("26.00 790.89 Td"), std::string::npos);  // last line: X - m, one line lower
    EXPECT_EQ(page.pdf.currentY(), 54);
}

TEST(PdfCells, borderCodesPerLine) {
    struct Case {
        int32_t border;
        std::string text;
        std::vector<std::string> segments;  // per line: the segment operators
    };
    const std::string l1 = "20.00 811.89 m 20.00 799.89 l S", t1 = "20.00 811.89 m 126.00 811.89 l S ",
                      r1 = "126.00 811.89 m 126.00 799.89 l S ", b1 = "20.00 799.89 m 126.00 799.89 l S ";
    const std::string l2 = "20.00 799.89 m 20.00 787.89 l S", r2 = "126.00 799.89 m 126.00 787.89 l S ";
    const std::string l3 = "20.00 787.89 m 20.00 775.89 l S", r3 = "126.00 787.89 m 126.00 775.89 l S ",
                      b3 = "20.00 775.89 m 126.00 775.89 l S ";
    const std::string three = "cccccccc cccccccc cccccccc cccccccc cccccccc";
    const std::vector<Case> cases = {
        {1, three, {l1 + "\r" + t1 + "\r" + r1, l2 + "\r" + r2, l3 + "\r" + r3 + "\r" + b3}},
        {1, "ab", {l1 + "\r" + t1 + "\r" + r1 + "\r" + b1}},
        {2, three, {t1, "", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.border);
        PointsPage page;
        page.pdf.PDFSetBorder(c.border);
        page.pdf.PDFCell(c.text, 23, 30, 106, 12, "");
        auto segments = segmentLines(page.content());
        // Lines without segments show the line width and an empty frame.
        for (auto& s : segments)
            if (s.find(" m ") == std::string::npos) s.clear();
        EXPECT_EQ(segments, c.segments);
        EXPECT_EQ(page.pdf.borderCode(), "0");
    }
}

TEST(PdfCells, settingsAfterACell) {
    sq::ScopedScriptedDialogs dialogs;
    PointsPage page;
    page.pdf.PDFSetBorder(1);
    page.pdf.PDFCell("ab", 23, 30, 106, 12, "");
    EXPECT_EQ(page.pdf.PDFGetAlignement(), "Left");
    std::string before = page.content();
    page.pdf.PDFCell("ab", 23, 60, 106, 12, "");
    EXPECT_EQ(page.content().substr(before.size()).find(" m "), std::string::npos);

    struct Border {
        int32_t value;
        std::string code;
    };
    for (const auto& b : {Border{0, "0"}, {3, "B"}, {12, "T"}, {-4, "L"}, {10, ""}, {2345, "LRTB"}}) {
        page.pdf.PDFSetBorder(b.value);
        EXPECT_EQ(page.pdf.borderCode(), b.code) << b.value;
    }
    page.pdf.PDFSetAlignement(2);
    EXPECT_EQ(page.pdf.PDFGetAlignement(), "Right");
    page.pdf.PDFSetAlignement(3);
    EXPECT_EQ(page.pdf.PDFGetAlignement(), "Justify");
    page.pdf.PDFSetAlignement(7);
    EXPECT_EQ(page.pdf.PDFGetAlignement(), "Left");
    auto messages = dialogs->messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Invalid alignment set. : 7.\r\nUsing left alignment.");
    EXPECT_EQ(messages[0].title, "Alignment - kdrPDF 1.0");
}

TEST(PdfCells, alignmentsPlaceTheText) {
    struct Case {
        int32_t alignment;
        std::string td;
    };
    // "ab" is 11.12 points (11 whole) in a cell 100 wide drawn at x = 20.
    const Case cases[] = {{1, "26.00"}, {2, "106.00"}, {0, "64.00"}, {3, "26.00"}};
    for (const auto& c : cases) {
        PointsPage page;
        page.pdf.PDFSetAlignement(c.alignment);
        page.pdf.PDFCell("ab", 23, 30, 100, 12, "");
        EXPECT_NE(page.content().find(c.td + " 802.89 Td"), std::string::npos) << c.alignment;
    }
}

TEST(PdfCells, justifiedLineGetsItsWordSpacing) {
    std::string folder = sqtest::makeTempDir("even");
    std::string afm = "StartCharMetrics\r\n";
    for (int code = 32; code <= 126; ++code) afm += "C " + std::to_string(code) + " ; WX 500 ; N x ;\r\n";
    writeFile(folder + "/Helvetica.afm", afm + "EndCharMetrics\r\n");
    PointsPage page(folder);
    page.pdf.PDFSetFont(0, 8, 0);  // "a b c" is 20 points
    page.pdf.PDFSetAlignement(3);
    page.pdf.PDFCell("a b c", 23, 30, 200, 12, "");
    std::string content = page.content();
    EXPECT_NE(content.find("\r\n85.500 Tw\r\n"), std::string::npos) << content;
    EXPECT_NE(content.find("\r\n0 Tw\r\n%FIN_CELL/%"), std::string::npos);
    EXPECT_EQ(page.pdf.wordSpacing(), 0);
}

TEST(PdfCells, fillAndEmptyText) {
    PointsPage page;
    page.pdf.PDFSetFill(true);
    page.pdf.PDFSetBorder(0);
    page.pdf.PDFCell("", 23, 30, 100, 12, "");
    // Border 0 leaves the cell's line code empty: the line width is written, no segment.
    EXPECT_EQ(page.content(),
              crlf({"%DEBUT_CELL/%", "0 G", "0 g", "0.57 w", "20.00 811.89 100.00 -12.00 re f\r", "q 0 g ",
                    "BT", "/F1 10 Tf", "26.00 802.89 Td", "() Tj", "ET", "Q", "%FIN_CELL/%"}));
}

TEST(PdfCells, linkedCellLinesAreUnderlinedAndRegisterTwoLinksEach) {
    PointsPage page;
    page.pdf.PDFCell("cccccccc cccccccc cccccccc", 23, 30, 106, 12, "http://x");
    std::string content = page.content();
    EXPECT_EQ(countOf(content, " re f\r\n"), 2 + 2);  // each line's text and each link's empty text
    auto links = page.pdf.pageLinks(1);
    ASSERT_EQ(links.size(), 4u);
    EXPECT_EQ(links[0].target, "http://x");
    EXPECT_DOUBLE_EQ(links[0].x, 26);  // X - m + d
    EXPECT_DOUBLE_EQ(links[1].x, 20);  // the line's corner
    EXPECT_FALSE(page.pdf.underlinePending());
}

TEST(PdfCells, zeroFontSizeRaisesBeforeWriting) {
    PointsPage page;
    page.pdf.PDFSetFont(0, 0, 0);
    try {
        page.pdf.PDFCell("ab", 23, 30, 100, 12, "");
        FAIL();
    } catch (const sq::VbError& e) {
        EXPECT_EQ(e.number(), sq::kDivisionByZero);
    }
    EXPECT_EQ(page.content(), "");
}
