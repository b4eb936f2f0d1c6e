// Whole files with drawing on their pages, read back with the checking tools.
#include <gtest/gtest.h>

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
