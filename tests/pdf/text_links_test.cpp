// Text objects, rotation, underline, links and the watermark.
#include <gtest/gtest.h>

#include "pdf/kdr_pdf.h"
#include "pdf_test_support.h"
#include "platform/vb_error.h"

using namespace pdftest;
using sq::kdrPDF;

TEST(PdfText, textObjectOfTheWorkedExample) {
    PointsPage page;
    page.pdf.PDFSetFont(0, 12, 0);
    double x = 40, y = 100;
    page.pdf.PDFTextOut("Total (dB)", x, y);
    EXPECT_EQ(page.content(), crlf({"q 0 g ", "%DEBUT_TEXT/%", "BT", "40.00 741.89 Td", "/F1 12.00 Tf",
                                    "(Total \\(dB\\)) Tj", "ET", "Q", "%FIN_TEXT/%"}));
}

TEST(PdfText, escapingFontNumberMarginAndSize) {
    struct Case {
        std::function<void(kdrPDF&)> set;
        std::string text;
        std::vector<std::string> expected;  // the lines between BT and ET
    };
    const std::vector<Case> cases = {
        {[](kdrPDF&) {}, "C:\\data", {"10.00 741.89 Td", "/F1 10.00 Tf", "(C:\\\\data) Tj"}},
        {[](kdrPDF&) {}, "a(b)c", {"10.00 741.89 Td", "/F1 10.00 Tf", "(a\\(b\\)c) Tj"}},
        {[](kdrPDF& p) { p.PDFSetFont(0, 10, 2); }, "x", {"10.00 741.89 Td", "/F2 10.00 Tf", "(x) Tj"}},
        {[](kdrPDF& p) { p.PDFSetFont(0, 0, 0); }, "x", {"10.00 741.89 Td", "/F1 10.00 Tf", "(x) Tj"}},
        {[](kdrPDF& p) { p.PDFSetLeftMargin(5); }, "x", {"15.00 741.89 Td", "/F1 10.00 Tf", "(x) Tj"}},
        {[](kdrPDF& p) { p.PDFSetUnit(1); }, "x", {"28.35 558.43 Td", "/F1 10.00 Tf", "(x) Tj"}},
        {[](kdrPDF& p) { p.PDFSetRotation(45); },
         "x",
         {"0.70711 0.70711 -0.70711 0.70711 10.00 741.89 Tm", "/F1 10.00 Tf", "(x) Tj"}},
        {[](kdrPDF& p) { p.PDFSetRotation(45), p.PDFSetLeftMargin(5); },
         "x",
         {"0.70711 0.70711 -0.70711 0.70711 10.00 741.89 Tm", "/F1 10.00 Tf", "(x) Tj"}},
        {[](kdrPDF&) {}, "\xE2\x82\xAC\xC3\xA9", {"10.00 741.89 Td", "/F1 10.00 Tf", "(\x80\xE9) Tj"}},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        PointsPage page(makeFontFolder({"Helvetica", "Helvetica-Bold"}));
        cases[i].set(page.pdf);
        double x = 10, y = 100;
        page.pdf.PDFTextOut(cases[i].text, x, y);
        std::string content = page.content();
        size_t bt = content.find("BT\r\n") + 4;
        EXPECT_EQ(content.substr(bt, content.find("ET\r\n") - bt), crlf(cases[i].expected));
    }
}

TEST(PdfText, rotationAndUnderlineAreOneShot) {
    PointsPage page;
    page.pdf.PDFSetFont(0, 10, 3);
    page.pdf.PDFSetRotation(45);
    double x = 40, y = 100;
    page.pdf.PDFTextOut("ab", x, y);
    double x2 = 40, y2 = 200;
    page.pdf.PDFTextOut("ab", x2, y2);
    std::string content = page.content();
    EXPECT_EQ(countOf(content, " Tm\r\n"), 1);
    EXPECT_EQ(countOf(content, " Td\r\n"), 1);
    // "up" measures 10 points, so the bar sits 0.1 below the baseline and 2 points lower.
    EXPECT_NE(content.find("ET\r\n40.00 739.99 11.12 -0.02 re f\r\nQ\r\n"), std::string::npos) << content;
    EXPECT_EQ(countOf(content, " re f"), 1);
    EXPECT_FALSE(page.pdf.underlinePending());
}

TEST(PdfText, zeroPositionMeansTheCurrentOneAndTheTextMovesIt) {
    PointsPage page;
    page.pdf.setCurrentPosition(30, 50);
    double x = 0, y = 0;
    page.pdf.PDFTextOut("A", x, y);
    EXPECT_EQ(x, 30);
    EXPECT_EQ(y, 50);
    EXPECT_NE(page.content().find("30.00 791.89 Td"), std::string::npos);
    EXPECT_DOUBLE_EQ(page.pdf.currentX(), 36);  // "A" is 600 at size 10
    EXPECT_EQ(page.pdf.currentY(), 60);

    // Widths in points are added to positions in the user unit as they are.
    page.pdf.PDFSetUnit(2);
    page.pdf.PDFSetFont(0, 12, 0);
    double cx = 1, cy = 2;
    page.pdf.PDFTextOut("ccccc", cx, cy);  // 30 points
    EXPECT_DOUBLE_EQ(page.pdf.currentX(), 31);
    EXPECT_EQ(page.pdf.currentY(), 14);
    page.pdf.PDFSetUnit(1);
    EXPECT_DOUBLE_EQ(page.pdf.PDFTextHeight(), 12 * 72 / 25.4);
}

TEST(PdfText, failuresReachTheCaller) {
    sq::kdrPDF pdf;  // no font list
    pdf.PDFSetFont(0, 10, 0);
    double x = 1, y = 1;
    try {
        pdf.PDFTextOut("a", x, y);
        FAIL();
    } catch (const sq::VbError& e) {
        EXPECT_EQ(e.number(), sq::kSubscriptOutOfRange);
    }
    PointsPage page;
    page.pdf.PDFSetFont(2, 10, 3);  // Times-Roman: no metric file in the folder
    try {
        page.pdf.PDFTextOut("a", x, y);
        FAIL();
    } catch (const sq::VbError& e) {
        EXPECT_EQ(e.number(), sq::kFileNotFound);
    }
}

TEST(PdfLinks, recordsAndAnnotationsPerPage) {
    PointsPage page;
    double x = 10, y = 20;
    std::string target;
    page.pdf.PDFLink(x, y, "Site", target);
    EXPECT_EQ(target, "Site");
    double x2 = 10, y2 = 40;
    std::string zero = "0";
    page.pdf.PDFLink(x2, y2, "Zero", zero);
    page.pdf.PDFEndPage();
    page.pdf.PDFNewPage();
    double x3 = 50, y3 = 60;
    std::string url = "http://example.com/a(1)";
    page.pdf.PDFLink(x3, y3, "Example", url);

    auto first = page.pdf.pageLinks(1);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].target, "Site");
    EXPECT_DOUBLE_EQ(first[0].x, 10);
    EXPECT_DOUBLE_EQ(first[0].y, 821.89);
    EXPECT_DOUBLE_EQ(first[0].width, 24);
    EXPECT_DOUBLE_EQ(first[0].height, 10);
    EXPECT_EQ(first[1].target, "Zero");
    ASSERT_EQ(page.pdf.pageLinks(2).size(), 1u);
    std::string content = page.content();
    EXPECT_NE(content.find("%DEBUT_LINK/%"), std::string::npos);
    EXPECT_NE(content.find(" re f\r\nQ\r\n%FIN_TEXT/%\r\n%FIN_LINK/%"), std::string::npos);  // underlined

    page.pdf.PDFEndDoc();
    std::string bytes = page.doc.bytes();
    EXPECT_NE(
        bytes.find("/Resources 8 0 R\r\n/Annots [<</Type /Annot /Subtype /Link /Rect [10 821.89 34 811.89] "
                   "/Border [0 0 0] /A <</S /URI /URI (Site)>>>>\r\n<</Type /Annot /Subtype /Link /Rect [10 "
                   "801.89 34 791.89] /Border [0 0 0] /A <</S /URI /URI (Zero)>>>>\r\n]\r\n/Contents 2 0 R"),
        std::string::npos)
        << bytes;
    EXPECT_NE(
        bytes.find("/Annots [<</Type /Annot /Subtype /Link /Rect [50 781.89 90 771.89] /Border [0 0 0] /A "
                   "<</S /URI /URI (http://example.com/a\\(1\\))>>>>\r\n]\r\n/Contents 4 0 R"),
        std::string::npos);
    expectValidPdf(page.doc.path, 2);
}

TEST(PdfLinks, aLinkWithoutTargetGetsNoAction) {
    PointsPage page;
    double x = 10, y = 20;
    std::string target;
    page.pdf.PDFLink(x, y, "", target);
    page.pdf.PDFEndDoc();
    EXPECT_NE(page.doc.bytes().find("/Border [0 0 0] >>\r\n]"), std::string::npos);
    expectValidPdf(page.doc.path, 1);
}

TEST(PdfWatermark, stampedOnEveryPageInPinkRotatedBold) {
    std::string fonts = makeFontFolder({"Helvetica", "Helvetica-Bold"});
    Doc doc(fonts);
    doc.pdf.PDFSetUnit(0);
    doc.pdf.PDFWatermark("DRAFT");
    doc.pdf.PDFBeginDoc();
    doc.pdf.PDFEndPage();
    doc.pdf.PDFNewPage();
    std::string second = doc.pdf.pageContent();
    EXPECT_EQ(countOf(second, "(DRAFT) Tj"), 1);  // stamped when the page begins
    doc.pdf.PDFEndPage();
    doc.pdf.PDFNewPage();
    doc.pdf.PDFEndDoc();
    std::string bytes = doc.bytes();
    EXPECT_EQ(countOf(bytes, "(DRAFT) Tj"), 5);  // once on page 1, twice on pages 2 and 3
    EXPECT_EQ(countOf(bytes, "q 1.000 0.753 0.796 rg \r\n"), 5);
    EXPECT_EQ(countOf(bytes, "/F2 50.00 Tf"), 5);
    // Width of DRAFT at 50 is 150: x = (595.28 - cos 45 * 150) / 2.75, y = (sin 45 * 150 + 841.89) / 2.15.
    EXPECT_NE(second.find("0.70711 0.70711 -0.70711 0.70711 187.81 390.95 Tm"), std::string::npos) << second;
    expectValidPdf(doc.path, 3);
}
