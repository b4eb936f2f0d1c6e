// Line styles, draw modes, lines, rectangles, ellipses and polygons as content-stream operators.
#include <gtest/gtest.h>

#include "pdf/kdr_pdf.h"
#include "pdf_test_support.h"
#include "platform/dialogs.h"
#include "platform/vb_error.h"
#include "support/scripted_dialogs.h"

using namespace pdftest;
using sq::kdrPDF;

TEST(PdfShapes, dashPatternsScaleWithTheUnitWhenSet) {
    struct Case {
        int32_t unit, style;
        std::string dash;
    };
    const Case cases[] = {{0, 0, "[] 0 d"},
                          {0, 1, "[16 8 ] 0 d"},
                          {1, 2, "[22 19 5 19 ] 0 d"},
                          {2, 3, "[226 113 56 113 56 113 ] 0 d"}};
    for (const auto& c : cases) {
        kdrPDF pdf;
        pdf.PDFSetUnit(c.unit);
        pdf.PDFSetLineStyle(c.style);
        pdf.PDFSetUnit(0);
        EXPECT_EQ(pdf.dashOperator(), c.dash);
    }
}

TEST(PdfShapes, badStyleAndDrawModeShowTheirMessages) {
    sq::ScopedScriptedDialogs dialogs;
    PointsPage page;
    page.pdf.PDFSetLineStyle(1);
    page.pdf.PDFSetLineStyle(4);
    EXPECT_EQ(page.pdf.dashOperator(), "[] 0 d");
    page.pdf.PDFSetDrawMode(1);
    page.pdf.PDFSetDrawMode(3);
    page.pdf.PDFDrawRectangle(10, 20, 30, 40, "");
    EXPECT_NE(page.content().find(" re s\r\n"), std::string::npos);
    auto messages = dialogs->messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, "Line style set incorrectly : 4.\r\nLine style set to solid.");
    EXPECT_EQ(messages[0].title, "Line Style - kdrPDF 1.0");
    EXPECT_EQ(messages[1].text, "Draw Mode set incorrectly : 3.\r\nDraw mode set to normal");
    EXPECT_EQ(messages[1].title, "Object Rectangle - kdrPDF 1.0");
}

TEST(PdfShapes, linesAndTheFillTheyDeriveFromTheLineColour) {
    PointsPage page;
    page.pdf.PDFSetDrawColor(int32_t(65280));
    page.pdf.PDFDrawLineHor(10, 20, 30);
    EXPECT_EQ(page.content(), crlf({"%DEBUT_LNH/%", "", "10.00 821.89 m", "40.00 821.89 l", "0 G", "0.57 w S",
                                    "%FIN_LNH/%"}));
    EXPECT_EQ(page.pdf.fillColorOperator(), "0 g");
    EXPECT_EQ(page.pdf.currentX(), 40);
    EXPECT_EQ(page.pdf.currentY(), 20);

    page.pdf.PDFSetLineColor(int32_t(255));
    page.pdf.PDFSetDrawColor(int32_t(65280));
    page.pdf.PDFSetLineStyle(1);
    page.pdf.PDFSetLineWidth(2);
    page.pdf.PDFDrawLine(5, 9, 3, 12);
    EXPECT_EQ(page.pdf.fillColorOperator(), "0.000 1.000 0.000 rg");
    EXPECT_EQ(page.pdf.currentX(), 5);
    EXPECT_EQ(page.pdf.currentY(), 12);
    page.pdf.PDFDrawLineVer(10, 20, 5);
    EXPECT_EQ(page.pdf.fillColorOperator(), "1.000 0.000 0.000 rg");
    EXPECT_EQ(page.pdf.currentY(), 25);
    std::string content = page.content();
    EXPECT_NE(content.find(crlf({"%DEBUT_LN/%", "[16 8 ] 0 d", "5.00 832.89 m", "3.00 829.89 l",
                                 "1.000 0.000 0.000 RG", "2.00 w S", "%FIN_LN/%", "%DEBUT_LNV/%",
                                 "[16 8 ] 0 d", "10.00 821.89 m", "10.00 816.89 l", "1.000 0.000 0.000 RG",
                                 "2.00 w S", "%FIN_LNV/%"})),
              std::string::npos)
        << content;
}

TEST(PdfShapes, rectanglePaintsByDrawModeAndTurnsTheTextWhite) {
    struct Case {
        int32_t mode;
        std::vector<std::string> colours;
        std::string paint;
    };
    const Case cases[] = {{0, {"0 G"}, "s"}, {1, {"0 g"}, "f"}, {2, {"0 g", "0 G"}, "B"}};
    for (const auto& c : cases) {
        PointsPage page;
        page.pdf.PDFSetTextColor(int32_t(255));
        page.pdf.PDFSetDrawMode(c.mode);
        page.pdf.PDFDrawRectangle(10, 5, 30, 2, "");
        std::vector<std::string> expected{"%DEBUT_RECT/%"};
        expected.insert(expected.end(), c.colours.begin(), c.colours.end());
        for (const char* line : {"", ""}) (void)line;
        expected.push_back("");
        expected.push_back("10.00 836.89 30.00 -2.00 re " + c.paint);
        expected.push_back("0.57 w S");
        expected.push_back("%FIN_RECT/%");
        EXPECT_EQ(page.content(), crlf(expected));
        EXPECT_EQ(page.pdf.currentY(), 7);
        EXPECT_EQ(page.pdf.textColorOperator(), "1.000 1.000 1.000 rg");
        EXPECT_TRUE(page.pdf.pageLinks(1).empty());
    }
}

TEST(PdfShapes, rectangleWithALinkRegistersItAtTheLeftMiddle) {
    PointsPage page;
    page.pdf.PDFDrawRectangle(10, 20, 30.5, 40, "http://x");
    auto links = page.pdf.pageLinks(1);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].target, "http://x");
    EXPECT_DOUBLE_EQ(links[0].x, 15);
    EXPECT_DOUBLE_EQ(links[0].y, 841.89 - 40);
    EXPECT_DOUBLE_EQ(links[0].width, 30);  // 30.5 to the even 30
    EXPECT_DOUBLE_EQ(links[0].height, 10);
}

TEST(PdfShapes, circleFromAnEllipseWithoutHeight) {
    PointsPage page;
    page.pdf.PDFSetDrawMode(1);
    double ry = 0;
    page.pdf.PDFDrawEllipse(10, 20, 40, ry, "");
    EXPECT_EQ(ry, 40);
    EXPECT_EQ(page.content(),
              crlf({"0 g", "", "10.00 801.89 m", "10.00 812.89 19.00 821.89 30.00 821.89 c",
                    "41.00 821.89 50.00 812.89 50.00 801.89 c", "50.00 790.89 41.00 781.89 30.00 781.89 c",
                    "19.00 781.89 10.00 790.89 10.00 801.89 c", "0.57 w h f"}));
    EXPECT_EQ(page.pdf.currentX(), 10);
    EXPECT_EQ(page.pdf.currentY(), 40);
    EXPECT_EQ(page.pdf.textColorOperator(), "1.000 1.000 1.000 rg");
}

TEST(PdfShapes, polygonClosesBackToTheFirstPoint) {
    PointsPage page;
    page.pdf.PDFSetDrawMode(2);
    page.pdf.setCurrentPosition(1, 2);
    page.pdf.PDFDrawPolygon(std::vector<sq::PdfValue>{10.0, 20.0, "30", 20.0, 20.0, 40.0});
    EXPECT_EQ(page.content(), crlf({"0 g", "0 G", "%DEBUT_POLY/%", "", "10.00 821.89 m", "30.00 821.89 l",
                                    "20.00 801.89 l", "10.00 821.89 l", "0.57 w B", "%FIN_POLY/%"}));
    EXPECT_EQ(page.pdf.currentX(), 1);
    EXPECT_EQ(page.pdf.currentY(), 2);
}

TEST(PdfShapes, polygonWithAnOddCountRaisesBeforeDrawing) {
    PointsPage page;
    try {
        page.pdf.PDFDrawPolygon(std::vector<double>{10, 20, 30});
        FAIL();
    } catch (const sq::VbError& e) {
        EXPECT_EQ(e.number(), sq::kSubscriptOutOfRange);
    }
    EXPECT_EQ(page.content(), "");
}
