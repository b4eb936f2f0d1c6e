// Calls out of order, numbers that are no numbers and fonts outside the list: each raises its
// error before anything of it is written, and every file the writer finishes is still valid.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>

#include "pdf/kdr_pdf.h"
#include "pdf_test_support.h"
#include "platform/dialogs.h"
#include "platform/vb_error.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"

using namespace pdftest;
using sq::kdrPDF;

namespace {
using sqtest::errorOf;

bool claimsToBeFinished(const std::string& path) {
    return std::filesystem::exists(path) && readFile(path).find("%%EOF") != std::string::npos;
}
}  // namespace

TEST(PdfMisuse, callsOutOfOrderRaiseAndLeaveNoFalseFinishedFile) {
    struct Case {
        std::string name;
        std::function<void(kdrPDF&, const std::string& folder)> before;  // steps that must work
        std::function<void(kdrPDF&, const std::string& folder)> misuse;
        int error;
        bool finishes;  // PDFEndDoc afterwards writes a whole document
    };
    const std::string fonts = makeFontFolder({"Helvetica"});
    const std::vector<Case> cases = {
        {"end without begin", [](kdrPDF&, const std::string&) {},
         [](kdrPDF& p, const std::string&) { p.PDFEndDoc(); }, sq::kObjectNotSet, false},
        {"end after a failed font loading", [](kdrPDF&, const std::string&) {},
         [](kdrPDF& p, const std::string& folder) {
             EXPECT_EQ(errorOf([&] { p.PDFLoadAfm(folder + "/no-such-folder"); }), sq::kPathNotFound);
             p.PDFEndDoc();
         },
         sq::kObjectNotSet, false},
        {"new page without begin", [](kdrPDF&, const std::string&) {},
         [](kdrPDF& p, const std::string&) { p.PDFNewPage(); }, sq::kObjectNotSet, false},
        {"second end", [](kdrPDF& p, const std::string&) { p.PDFBeginDoc(), p.PDFEndDoc(); },
         [](kdrPDF& p, const std::string&) { p.PDFEndDoc(); }, sq::kObjectNotSet, false},
        {"file name after begin", [](kdrPDF& p, const std::string&) { p.PDFBeginDoc(); },
         [](kdrPDF& p, const std::string& folder) { p.PDFFileName(folder + "/second.pdf"); },
         sq::kInvalidCall, true},
        {"second begin", [](kdrPDF& p, const std::string&) { p.PDFBeginDoc(); },
         [](kdrPDF& p, const std::string&) { p.PDFBeginDoc(); }, sq::kInvalidCall, true},
        {"text in a font outside the list",
         [](kdrPDF& p, const std::string&) {
             p.PDFPathConfiguration(makeFontFolder({"Times-Roman"}));  // measurable, yet no font object
             p.PDFBeginDoc();
             p.PDFSetFont(2, 10, 0);
         },
         [](kdrPDF& p, const std::string&) {
             double x = 10, y = 10;
             p.PDFTextOut("x", x, y);
         },
         sq::kFileNotFound, true},
        {"cell in a font without metrics",
         [](kdrPDF& p, const std::string&) { p.PDFBeginDoc(), p.PDFSetFont(1, 10, 0); },
         [](kdrPDF& p, const std::string&) { p.PDFCell("x", 1, 1, 5, 1, ""); }, sq::kFileNotFound, true},
        {"link in a font without metrics",
         [](kdrPDF& p, const std::string&) { p.PDFBeginDoc(), p.PDFSetFont(1, 10, 0); },
         [](kdrPDF& p, const std::string&) {
             double x = 1, y = 1;
             std::string target = "http://example.com";
             p.PDFLink(x, y, "x", target);
         },
         sq::kFileNotFound, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string folder = sqtest::makeTempDir("misuse");
        std::string path = folder + "/out.pdf";
        kdrPDF pdf;
        pdf.setClock(fixedTime);
        pdf.PDFLoadAfm(fonts);
        pdf.PDFFileName(path);
        c.before(pdf, folder);
        std::string content = pdf.pageContent();
        EXPECT_EQ(errorOf([&] { c.misuse(pdf, folder); }), c.error);
        EXPECT_EQ(pdf.pageContent(), content);
        EXPECT_FALSE(std::filesystem::exists(folder + "/second.pdf"));
        if (c.finishes) {
            pdf.PDFEndDoc();
            expectValidPdf(path, 1);
            EXPECT_EQ(readFile(path).find("/F0"), std::string::npos);
        } else if (claimsToBeFinished(path)) {
            expectValidPdf(path, 1);  // only the legitimately ended document
        }
        EXPECT_EQ(errorOf([&] { pdf.PDFEndDoc(); }), sq::kObjectNotSet);
        EXPECT_FALSE(pdf.hasOutputFile());
    }
}

TEST(PdfMisuse, endBeforeBeginRemovesTheEmptyFileButNeverAnotherOne) {
    std::string folder = sqtest::makeTempDir("unused");
    {
        kdrPDF pdf;
        pdf.PDFFileName(folder + "/report.pdf");
        EXPECT_TRUE(pdf.hasOutputFile());
        EXPECT_EQ(errorOf([&] { pdf.PDFEndDoc(); }), sq::kObjectNotSet);
        EXPECT_FALSE(std::filesystem::exists(folder + "/report.pdf"));
    }
    {
        // A link to a file is left alone, and so is its target.
        writeFile(folder + "/target.pdf", "");
        std::filesystem::create_symlink(folder + "/target.pdf", folder + "/link.pdf");
        kdrPDF pdf;
        pdf.PDFFileName(folder + "/link.pdf");
        EXPECT_EQ(errorOf([&] { pdf.PDFEndDoc(); }), sq::kObjectNotSet);
        EXPECT_TRUE(std::filesystem::is_symlink(folder + "/link.pdf"));
        EXPECT_TRUE(std::filesystem::exists(folder + "/target.pdf"));
    }
    {
        kdrPDF pdf;  // no file named at all
        EXPECT_EQ(errorOf([&] { pdf.PDFEndDoc(); }), sq::kObjectNotSet);
        EXPECT_FALSE(pdf.hasOutputFile());
    }
}

TEST(PdfMisuse, numbersThatAreNoNumbersRaiseOverflowAtTheCall) {
    struct Case {
        std::string name;
        std::function<void(kdrPDF&, double)> call;
    };
    const std::vector<Case> cases = {
        {"text x",
         [](kdrPDF& p, double v) {
             double y = 5;
             p.PDFTextOut("a", v, y);
         }},
        {"text y",
         [](kdrPDF& p, double v) {
             double x = 5;
             p.PDFTextOut("a", x, v);
         }},
        {"link x",
         [](kdrPDF& p, double v) {
             double y = 5;
             std::string target = "t";
             p.PDFLink(v, y, "a", target);
         }},
        {"line end", [](kdrPDF& p, double v) { p.PDFDrawLine(1, 1, v, 2); }},
        {"horizontal line width", [](kdrPDF& p, double v) { p.PDFDrawLineHor(1, 1, v); }},
        {"vertical line start", [](kdrPDF& p, double v) { p.PDFDrawLineVer(v, 1, 3); }},
        {"rectangle height", [](kdrPDF& p, double v) { p.PDFDrawRectangle(1, 1, 3, v, ""); }},
        {"radius",
         [](kdrPDF& p, double v) {
             double ry = 0;
             p.PDFDrawEllipse(10, 10, v, ry, "");
         }},
        {"second radius", [](kdrPDF& p, double v) { p.PDFDrawEllipse(10, 10, 3, v, ""); }},
        {"polygon point",
         [](kdrPDF& p, double v) {
             p.PDFDrawPolygon(std::vector<double>{1, 1, 5, v, 9, 1});
         }},
        {"cell width", [](kdrPDF& p, double v) { p.PDFCell("a", 1, 1, v, 2, ""); }},
        {"image position",
         [](kdrPDF& p, double v) {
             double w = 0, h = 0;
             p.PDFImage("/nowhere/x.jpg", v, 1, w, h, "");
         }},
        {"page width", [](kdrPDF& p, double v) { p.PDFPageWidth(v); }},
        {"page height", [](kdrPDF& p, double v) { p.PDFPageHeight(v); }},
        {"page format",
         [](kdrPDF& p, double v) {
             p.PDFFormatPage(sq::PdfValue::doubles({v, 500}));
         }},
        {"line width", [](kdrPDF& p, double v) { p.PDFSetLineWidth(v); }},
        {"rotation", [](kdrPDF& p, double v) { p.PDFSetRotation(v); }},
        {"bookmark position", [](kdrPDF& p, double v) { p.PDFSetBookmark("b", 0, v); }},
        {"left margin", [](kdrPDF& p, double v) { p.PDFSetLeftMargin(v); }},
    };
    const double kInf = std::numeric_limits<double>::infinity();
    sq::ScopedScriptedDialogs dialogs;
    PointsPage page;
    double x = 10, y = 10;
    page.pdf.PDFTextOut("before", x, y);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string content = page.content();
        for (double bad : {std::nan(""), kInf, -kInf, 1e301, -1e301})
            EXPECT_EQ(errorOf([&] { c.call(page.pdf, bad); }), sq::kOverflow) << bad;
        EXPECT_EQ(page.content(), content);
    }
    EXPECT_TRUE(dialogs->records.empty());
    page.pdf.PDFEndDoc();
    std::string bytes = page.doc.bytes();
    EXPECT_EQ(bytes.find("NaN"), std::string::npos);
    EXPECT_EQ(bytes.find("Infinity"), std::string::npos);
    EXPECT_EQ(bytes.find("/Title (b)"), std::string::npos);
    EXPECT_NE(bytes.find("/MediaBox [ 0 0 595.28 841.89]"), std::string::npos);
    expectValidPdf(page.doc.path, 1);
}
