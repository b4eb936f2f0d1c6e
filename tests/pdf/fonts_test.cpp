// Font selection, the font list of a folder, and widths measured from metric files.
#include <gtest/gtest.h>

#include "pdf/afm_metrics.h"
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
}

// The shipped files number glyphs in Adobe's standard encoding; text is set in WinAnsiEncoding, so
// each Windows-1252 code measures as the glyph of that name (code 233 is eacute, not Oslash).
TEST(PdfFonts, shippedFontsMeasureWindows1252TextByGlyphName) {
    struct Case {
        std::string font, text;
        double width;  // at 10 points
    };
    const std::vector<Case> cases = {
        {"Helvetica", "\xC3\xA9", 5.56},      // é
        {"Helvetica", "\xC3\x98", 7.78},      // Ø
        {"Helvetica", "\xE2\x82\xAC", 5.56},  // €
        {"Helvetica", "\xE2\x80\x99", 2.22},  // ’
        {"Helvetica", "abc", 16.12},
        {"Helvetica", "'`", 5.24},                       // quotesingle and grave, not the curly quotes
        {"Helvetica", "\xC3\x85ngstr\xC3\xB6m", 42.79},  // Ångström
        {"Helvetica", "P - 1", 21.12},
        {"Times-Roman", "\xC3\xA9\xE2\x82\xAC\xC3\x9F", 14.44},  // é € ß
        {"Times-Roman", "\xE2\x80\x9Cx\xE2\x80\x9D", 13.88},     // “x”
        {"Courier", "\xC3\xA9\xE2\x80\x93\xC3\xBC", 18},         // é – ü
        {"Symbol", "a", 6.31},                                   // by code: alpha
        {"ZapfDingbats", "3n", 15.16},                           // by code: a19, a73
        {"Helvetica", "\xC2\x81", 0},                            // a code WinAnsiEncoding leaves unused
    };
    kdrPDF pdf;
    pdf.PDFLoadAfm(shippedFonts());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.font + " " + c.text);
        EXPECT_NEAR(pdf.PDFGetStringWidth(c.text, c.font, 10), c.width, 1e-9);
    }
    // Every glyph that WinAnsiEncoding names is in every text font, so none measures 0.
    for (const auto& font : pdf.fontList()) {
        if (font == "Symbol" || font == "ZapfDingbats") continue;
        auto widths = sq::pdf::readAfmWidths(shippedFonts() + "/" + font + ".afm");
        for (int code = 32; code <= 255; ++code) {
            const char* name = sq::pdf::winAnsiGlyphName(code);
            if (!name) continue;
            EXPECT_GT(widths[code], 0) << font << " " << code << " " << name;
        }
    }
}

TEST(PdfFonts, cachedWidthsFollowTheFolderOfEachCall) {
    std::string small = makeFontFolder({"Helvetica", "Courier"});
    kdrPDF pdf;
    pdf.PDFLoadAfm(small);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        pdf.PDFPathConfiguration(small);
        EXPECT_DOUBLE_EQ(pdf.PDFGetStringWidth("A", "Helvetica", 10), 6);
        EXPECT_DOUBLE_EQ(pdf.PDFGetStringWidth("c", "Courier", 10), 5);
        pdf.PDFPathConfiguration(shippedFonts());
        EXPECT_DOUBLE_EQ(pdf.PDFGetStringWidth("A", "Helvetica", 10), 6.67);
        EXPECT_DOUBLE_EQ(pdf.PDFGetStringWidth("c", "Courier", 10), 6);
        EXPECT_DOUBLE_EQ(pdf.PDFGetStringWidth("A", "Helvetica", 10), 6.67);
    }
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
        {"a named encoding is read by glyph name, unencoded glyphs included",
         metrics({"EncodingScheme AdobeStandardEncoding", "StartCharMetrics 4",
                  "C 39 ; WX 222 ; N quoteright ;", "C 169 ; WX 191 ; N quotesingle ;",
                  "C 0 ; WX 300 ; N space ;", "C -1 ; WX 556 ; N eacute ;", "C -1 ; WX 556 ; N Euro ;",
                  "C -1 ; WX 999 ; N unknownglyph ;", "EndCharMetrics"}),
         {{39, 191}, {146, 222}, {169, 0}, {32, 300}, {160, 300}, {233, 556}, {128, 556}, {65, 0}},
         0},
        {"width and name found wherever they stand",
         metrics({"EncodingScheme Custom", "StartCharMetrics", "N A ; C 65 ; B 0 0 1 1 ; WX 611.5 ;",
                  "EndCharMetrics"}),
         {{65, 611}},
         0},
        {"FontSpecific is read by code",
         metrics({"EncodingScheme FontSpecific", "StartCharMetrics", "C 97 ; WX 631 ; N alpha ;",
                  "C -1 ; WX 500 ; N a ;", "EndCharMetrics"}),
         {{97, 631}},
         0},
        {"by glyph name, a line without a width",
         metrics(
             {"EncodingScheme AdobeStandardEncoding", "StartCharMetrics", "C 65 ; N A ;", "EndCharMetrics"}),
         {},
         sq::kSubscriptOutOfRange},
        {"by glyph name, a width that is no number",
         metrics({"EncodingScheme AdobeStandardEncoding", "StartCharMetrics", "C 65 ; WX wide ; N A ;",
                  "EndCharMetrics"}),
         {},
         sq::kTypeMismatch},
        {"by glyph name, end before any metric line",
         metrics({"EncodingScheme AdobeStandardEncoding", "StartCharMetrics", "EndCharMetrics"}),
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
