// Whole files with drawing on their pages, read back with the checking tools.
#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "pdf/kdr_pdf.h"
#include "pdf_test_support.h"
#include "support/test_support.h"

using namespace pdftest;

namespace {
// Dark pixels of page 1 rendered in grey at low resolution.
int darkPixels(const std::string& pdfPath) {
    std::string stem = sqtest::makeTempDir("render") + "/page";
    auto run = runTool("pdftoppm -r 30 -gray -f 1 -l 1 '" + pdfPath + "' '" + stem + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    std::string pgm = readFile(stem + "-1.pgm");
    // Header: "P5" width height maxval, each followed by one blank.
    size_t at = 0;
    for (int field = 0; field < 4; ++field) at = pgm.find_first_of(" \n", at) + 1;
    int dark = 0;
    for (size_t i = at; i < pgm.size(); ++i)
        if (static_cast<unsigned char>(pgm[i]) < 200) ++dark;
    return dark;
}
}  // namespace

TEST(PdfDrawingFile, everyPrimitiveOnOnePageIsValidReadableAndVisible) {
    Doc doc(shippedFonts());
    auto& pdf = doc.pdf;
    pdf.PDFSetUnit(0);
    pdf.PDFTitle("Sample");
    pdf.PDFBeginDoc();
    pdf.PDFSetFont(0, 12, 0);
    double x = 40, y = 60;
    pdf.PDFTextOut("Level (dB) at C:\\data", x, y);
    pdf.PDFSetFont(2, 14, 23);
    double x2 = 40, y2 = 90;
    pdf.PDFTextOut("Underlined bold", x2, y2);
    pdf.PDFSetRotation(30);
    double x3 = 300, y3 = 120;
    pdf.PDFTextOut("Rotated", x3, y3);
    pdf.PDFSetFont(0, 10, 0);
    double lx = 40, ly = 140;
    std::string target = "https://example.com/report";
    pdf.PDFLink(lx, ly, "Example link", target);
    pdf.PDFSetLineColor(int32_t(255));
    pdf.PDFSetLineWidth(1.5);
    pdf.PDFDrawLineHor(40, 160, 200);
    pdf.PDFDrawLineVer(40, 160, 100);
    pdf.PDFSetLineStyle(2);
    pdf.PDFDrawLine(40, 260, 240, 160);
    pdf.PDFSetLineStyle(0);
    pdf.PDFSetDrawColor("#00FF00");
    pdf.PDFSetDrawMode(2);
    pdf.PDFDrawRectangle(260, 160, 100, 60, "https://example.com/box");
    double ry = 0;
    pdf.PDFDrawEllipse(380, 160, 80, ry, "");
    pdf.PDFDrawPolygon(std::vector<double>{40, 300, 140, 300, 90, 380});
    pdf.PDFSetTextColor(int32_t(0));
    pdf.PDFSetBorder(1);
    pdf.PDFSetFill(false);
    pdf.PDFCell("A cell with some words that wrap over more than one line", 200, 300, 150, 14, "");
    pdf.PDFEndPage();
    pdf.PDFNewPage();
    double px = 40, py = 60;
    pdf.PDFSetTextColor(int32_t(0));
    pdf.PDFTextOut("Second page", px, py);
    pdf.PDFEndDoc();

    expectValidPdf(doc.path, 2);
    auto text = runTool("pdftotext -layout '" + doc.path + "' -");
    EXPECT_EQ(text.status, 0);
    for (const char* expected :
         {"Level (dB) at C:\\data", "Underlined bold", "Example link", "A cell with", "Second page"})
        EXPECT_NE(text.output.find(expected), std::string::npos) << expected << "\n" << text.output;
    EXPECT_GT(darkPixels(doc.path), 500);
}

TEST(PdfDrawingFile, pagesLargerThanTheContentBlockKeepTheirLengthAndOffsets) {
    Doc doc(makeFontFolder({"Helvetica"}));
    auto& pdf = doc.pdf;
    pdf.PDFSetUnit(0);
    pdf.PDFBeginDoc();
    for (int i = 0; i < 100000; ++i) pdf.PDFDrawLine(i % 500, 100, 500 - i % 500, 700);
    uint64_t first = pdf.pageContentSize();
    EXPECT_GT(first, uint64_t(5) << 20);
    EXPECT_LT(pdf.pageContent().size(), first);  // the rest is already in the file
    pdf.PDFEndPage();
    pdf.PDFNewPage();
    for (int i = 0; i < 100000; ++i) pdf.PDFDrawLine(i % 500, 100, 500 - i % 500, 700);
    uint64_t second = pdf.pageContentSize();
    pdf.PDFEndDoc();
    std::string bytes = doc.bytes();
    EXPECT_NE(bytes.find("3 0 obj\r\n" + std::to_string(first) + "\r\nendobj"), std::string::npos);
    EXPECT_NE(bytes.find("5 0 obj\r\n" + std::to_string(second) + "\r\nendobj"), std::string::npos);
    expectValidPdf(doc.path, 2);
}

TEST(PdfDrawingFile, symbolFontsKeepTheirOwnEncodingAndShowInk) {
    // What a reader makes of "abcn3" in the fonts' built-in encodings: Greek letters and dingbats.
    const std::map<int, std::string> readBack = {
        {3,
         "\xCE\xB1\xCE\xB2\xCF\x87\xCE\xBD"
         "3"},
        {4, "\xE2\x9D\x81\xE2\x9D\x82\xE2\x9D\x83\xE2\x96\xA0\xE2\x9C\x93"}};
    for (const auto& [family, expected] : readBack) {
        SCOPED_TRACE(family);
        Doc doc(shippedFonts());
        doc.pdf.PDFSetUnit(0);
        doc.pdf.PDFBeginDoc();
        doc.pdf.PDFSetFont(family, 60, 0);
        double x = 100, y = 300;
        doc.pdf.PDFTextOut("abcn3", x, y);
        doc.pdf.PDFEndDoc();
        std::string bytes = doc.bytes();
        EXPECT_NE(bytes.find("/BaseFont /Symbol\r\n>>\r\n"), std::string::npos);
        EXPECT_NE(bytes.find("/BaseFont /ZapfDingbats\r\n>>\r\n"), std::string::npos);
        EXPECT_NE(bytes.find("/BaseFont /Helvetica\r\n/Encoding /WinAnsiEncoding\r\n>>\r\n"),
                  std::string::npos);
        expectValidPdf(doc.path, 1);
        EXPECT_GT(darkPixels(doc.path), 50);
        auto text = runTool("pdftotext -enc UTF-8 '" + doc.path + "' -");
        EXPECT_NE(text.output.find(expected + "\n"), std::string::npos) << text.output;
    }
}

// Where a reader draws the end of right-aligned text: it measures with the standard widths of the
// glyphs that WinAnsiEncoding names, so the writer must measure the same way.
TEST(PdfDrawingFile, rightAlignedAccentedTextEndsAtTheCellEdge) {
    const std::vector<std::string> texts = {"\xC3\x85ngstr\xC3\xB6m", "\xE2\x80\x9Cquoted\xE2\x80\x9D",
                                            "Stra\xC3\x9F"
                                            "e \xE2\x80\x93 12 \xE2\x82\xAC"};
    Doc doc(shippedFonts());
    doc.pdf.PDFSetUnit(0);
    doc.pdf.PDFSetMargins(0, 0);
    doc.pdf.PDFBeginDoc();
    doc.pdf.PDFSetFont(0, 20, 0);
    doc.pdf.PDFSetAlignement(2);
    doc.pdf.PDFSetBorder(0);
    for (size_t i = 0; i < texts.size(); ++i) doc.pdf.PDFCell(texts[i], 100, 100 + 40.0 * i, 300, 30, "");
    doc.pdf.PDFEndDoc();
    expectValidPdf(doc.path, 1);

    // A one-line cell starts its text box one cell margin (3) left of X; the text ends one cell
    // margin inside the box's right side: 97 + 300 - 3.
    const double edge = 394;
    auto bbox = runTool("pdftotext -bbox '" + doc.path + "' -");
    ASSERT_EQ(bbox.status, 0) << bbox.output;
    std::regex word("<word xMin=\"[0-9.]+\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\"[^>]*>([^<]*)</word>");
    std::map<int, double> lineEnds;  // by line top
    for (auto it = std::sregex_iterator(bbox.output.begin(), bbox.output.end(), word);
         it != std::sregex_iterator(); ++it) {
        int top = static_cast<int>(std::stod((*it)[1]));
        lineEnds[top] = std::max(lineEnds[top], std::stod((*it)[2]));
    }
    ASSERT_EQ(lineEnds.size(), texts.size()) << bbox.output;
    for (const auto& [top, end] : lineEnds)
        EXPECT_NEAR(end, edge, 1.0) << "line at " << top << "\n" << bbox.output;
}
