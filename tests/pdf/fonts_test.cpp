// Font selection, the font list of a folder, and widths measured from metric files.
#include <gtest/gtest.h>

#include "pdf/afm_metrics.h"
#include "pdf/kdr_pdf.h"
#include "pdf_test_support.h"
#include "platform/dialogs.h"
#include "platform/vb_error.h"
#include "support/test_support.h"

using namespace pdftest;
using sq::kdrPDF;

namespace {
int errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const sq::VbError& e) {
        return e.number();
    }
    return 0;
}

std::string metrics(const std::vector<std::string>& lines) {
    return crlf(lines);
}
}  // namespace

TEST(PdfFonts, familyAndStyleDigitsGiveTheBaseFontName) {
    struct Case {
        int32_t family, style;
        std::string name;
        bool underline;
    };
    const Case cases[] = {
        {0, 0, "Helvetica", false},         {0, 12, "Helvetica-BoldOblique", false},
        {2, 21, "Times-BoldItalic", false}, {2, 1, "Times-Italic", false},
        {1, 2, "Courier-Bold", false},      {2, 8, "Times-Roman", false},
        {0, 3, "Helvetica", true},          {0, 10, "Helvetica-Oblique", false},
        {0, -2, "Helvetica-Bold", false},   {0, 7, "Helvetica", false},
        {3, 1, "Symbol-Oblique", false},    {4, 2, "ZapfDingbats-Bold", false},
        {2, 123, "Times-BoldItalic", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        kdrPDF pdf;
        pdf.PDFSetFont(c.family, 12, c.style);
        EXPECT_EQ(pdf.currentFontName(), c.name);
        EXPECT_EQ(pdf.fontSize(), 12);
        EXPECT_EQ(pdf.underlinePending(), c.underline);
    }
}

TEST(PdfFonts, underlineStaysPendingAcrossFontChanges) {
    kdrPDF pdf;
    pdf.PDFSetFont(0, 12, 3);
    pdf.PDFSetFont(1, 12, 0);
    EXPECT_EQ(pdf.currentFontName(), "Courier");
    EXPECT_TRUE(pdf.underlinePending());
}

TEST(PdfFonts, unknownFamilyShowsTheMessageAndTakesTimesRoman) {
    sq::ScopedScriptedDialogs dialogs;
    kdrPDF pdf;
    pdf.PDFSetFont(7, 14, 2);
    EXPECT_EQ(pdf.currentFontName(), "Times-Roman");
    EXPECT_EQ(pdf.fontSize(), 14);
    auto messages = dialogs->messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Font name set incorrectly : 7.\r\nFont set to Times New Roman.");
    EXPECT_EQ(messages[0].title, "Font name - kdrPDF 1.0");
    EXPECT_EQ(messages[0].icon, sq::MsgIcon::Critical);
    EXPECT_EQ(errorOf([&] { pdf.PDFSetFont(0, 40000, 0); }), sq::kOverflow);
}

TEST(PdfFonts, fontListComesFromTheFolderInByteOrder) {
    std::string folder = makeFontFolder({"Helvetica", "Helvetica-Bold"});
    kdrPDF pdf;
    pdf.PDFLoadAfm(folder);
    EXPECT_EQ(pdf.fontList(), (std::vector<std::string>{"Helvetica", "Helvetica-Bold"}));
    EXPECT_EQ(pdf.afmFolder(), folder);

    writeFile(folder + "/Notes.afm.txt", "not a metric file");
    writeFile(folder + "/readme.txt", "");
    pdf.PDFLoadAfm(folder);
    EXPECT_EQ(pdf.fontList(), (std::vector<std::string>{"Helvetica", "Helvetica-Bold", "Notes.afm"}));

    std::string empty = sqtest::makeTempDir("empty");
    writeFile(empty + "/readme.txt", "");
    pdf.PDFLoadAfm(empty);
    EXPECT_EQ(pdf.fontList().size(), 3u);
    EXPECT_EQ(pdf.afmFolder(), folder);

    EXPECT_EQ(errorOf([&] { pdf.PDFLoadAfm(empty + "/missing"); }), sq::kPathNotFound);
    EXPECT_EQ(pdf.afmFolder(), folder);
}

TEST(PdfFonts, shippedFontsGiveFourteenResourcesInNameOrder) {
    kdrPDF pdf;
    pdf.PDFLoadAfm(shippedFonts());
    const std::vector<std::string> expected = {
        "Courier",          "Courier-Bold",          "Courier-BoldOblique", "Courier-Oblique", "Helvetica",
        "Helvetica-Bold",   "Helvetica-BoldOblique", "Helvetica-Oblique",   "Symbol",          "Times-Bold",
        "Times-BoldItalic", "Times-Italic",          "Times-Roman",         "ZapfDingbats"};
    EXPECT_EQ(pdf.fontList(), expected);
}

TEST(PdfFonts, widthsFromMetricFiles) {
    std::string folder = makeFontFolder({"Helvetica"});
    kdrPDF pdf;
    pdf.PDFLoadAfm(folder);
    EXPECT_DOUBLE_EQ(pdf.PDFGetStringWidth("abc", "Helvetica", 10), 16.12);
    EXPECT_EQ(pdf.PDFGetStringWidth("", "Helvetica", 10), 0);
    EXPECT_EQ(pdf.PDFGetStringWidth("abc", "Helvetica", 0), 0);
    EXPECT_DOUBLE_EQ(pdf.PDFGetStringWidth("a\tb", "Helvetica", 10), 11.12);  // a tab is not listed
    EXPECT_DOUBLE_EQ(pdf.PDFGetStringWidth("a\xC3\xA9", "Helvetica", 10),
                     5.56);  // é: beyond the listed codes
    pdf.PDFSetFont(0, 12, 0);
    EXPECT_DOUBLE_EQ(pdf.PDFGetStringWidth("ab", "", 10), 11.12);  // empty name: the current font

    kdrPDF shipped;
    shipped.PDFLoadAfm(shippedFonts());
    EXPECT_DOUBLE_EQ(shipped.PDFGetStringWidth("P - 1", "Helvetica", 12), 25.344);
    // Code 233 (e acute in Windows-1252) is Oslash in the file's standard encoding.
    EXPECT_DOUBLE_EQ(shipped.PDFGetStringWidth("\xC3\xA9", "Helvetica", 10), 7.78);
}

TEST(PdfFonts, metricSectionRules) {
    struct Case {
        std::string name;
        std::string text;
        std::vector<std::pair<int, int>> widths;  // code, expected width
        int error;
    };
    const std::vector<Case> cases = {
        {"stops at an unencoded character",
         metrics({"StartCharMetrics 3", "C 32 ; WX 250 ; N space ;", "C 126 ; WX 584 ; N asciitilde ;",
                  "C -1 ; WX 500 ; N Euro ;", "C 200 ; WX 700 ; N x ;", "EndCharMetrics"}),
         {{32, 250}, {126, 584}, {200, 0}, {31, 0}},
         0},
        {"codes below the first and above the last are 0",
         metrics(
             {"StartCharMetrics", "C 40 ; WX 300 ;", "C 35 ; WX 400 ;", "C 50 ; WX 500 ;", "EndCharMetrics"}),
         {{40, 300}, {35, 0}, {50, 500}},
         0},
        {"widths are cut to whole numbers",
         metrics({"StartCharMetrics", "C 65 ; WX 611.9 ;", "EndCharMetrics"}),
         {{65, 611}},
         0},
        {"no StartCharMetrics", metrics({"C 65 ; WX 611 ;", "C 66 ; WX 611 ;"}), {{65, 0}, {66, 0}}, 0},
        {"never closed", metrics({"StartCharMetrics", "C 65 ; WX 611 ;"}), {{65, 0}}, 0},
        {"code 0",
         metrics({"StartCharMetrics", "C 0 ; WX 611 ;", "EndCharMetrics"}),
         {},
         sq::kSubscriptOutOfRange},
        {"code 256",
         metrics({"StartCharMetrics", "C 256 ; WX 611 ;", "EndCharMetrics"}),
         {},
         sq::kSubscriptOutOfRange},
        {"no semicolon",
         metrics({"StartCharMetrics", "C 65 WX 611", "EndCharMetrics"}),
         {},
         sq::kSubscriptOutOfRange},
        {"missing width word",
         metrics({"StartCharMetrics", "C 65 ; WX ;", "EndCharMetrics"}),
         {},
         sq::kSubscriptOutOfRange},
        {"width not a number",
         metrics({"StartCharMetrics", "C 65 ; WX wide ;", "EndCharMetrics"}),
         {},
         sq::kTypeMismatch},
        {"end before any metric line",
         metrics({"StartCharMetrics", "EndCharMetrics"}),
         {},
         sq::kSubscriptOutOfRange},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.error) {
            EXPECT_EQ(errorOf([&] { (void)sq::pdf::parseAfmWidths(c.text); }), c.error);
            continue;
        }
        auto widths = sq::pdf::parseAfmWidths(c.text);
        for (auto [code, width] : c.widths) EXPECT_EQ(widths[code], width) << "code " << code;
    }
}

TEST(PdfFonts, measuringFailuresRaiseOnEveryCall) {
    std::string folder = makeFontFolder({"Helvetica"});
    kdrPDF pdf;
    pdf.PDFLoadAfm(folder);
    EXPECT_EQ(errorOf([&] { (void)pdf.PDFGetStringWidth("a", "Symbol-Bold", 10); }), sq::kFileNotFound);
    EXPECT_EQ(errorOf([&] { (void)pdf.PDFGetStringWidth("a", "", 10); }),
              sq::kFileNotFound);  // no current font
    EXPECT_EQ(errorOf([&] { (void)pdf.PDFGetStringWidth(std::string("a\0b", 3), "Helvetica", 10); }),
              sq::kSubscriptOutOfRange);

    writeFile(folder + "/Broken.afm", metrics({"StartCharMetrics", "C 65 ; WX ;", "EndCharMetrics"}));
    EXPECT_EQ(errorOf([&] { (void)pdf.PDFGetStringWidth("A", "Broken", 10); }), sq::kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { (void)pdf.PDFGetStringWidth("A", "Broken", 10); }), sq::kSubscriptOutOfRange);
    writeFile(folder + "/Broken.afm", metrics({"StartCharMetrics", "C 65 ; WX 700 ;", "EndCharMetrics"}));
    EXPECT_DOUBLE_EQ(pdf.PDFGetStringWidth("A", "Broken", 10), 7);  // a failure is never cached
}
