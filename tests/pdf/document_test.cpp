// The file the writer produces, byte for byte: goldens written from the object texts, the catalog
// cases, offsets, and the failure paths of the document life cycle.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "pdf/kdr_pdf.h"
#include "pdf_test_support.h"
#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "platform/vb_error.h"
#include "support/file_size_limit.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"

using namespace pdftest;
using namespace std::string_literals;
using sq::kdrPDF;

namespace {

// Builds the expected file block by block, keeping offsets by the writer's counting rule.
struct Golden {
    std::string bytes = "%PDF-1.3\r\n";
    std::vector<long long> offsets{0};

    void block(const std::vector<std::string>& lines) {
        long long offset = static_cast<long long>(bytes.size());
        if (lines.front() == "%DEBUT_OBJ/%") offset += 14;
        offsets.push_back(offset);
        bytes += crlf(lines) + "\r\n";
    }
    std::string finish(int catalog) {
        long long xref = static_cast<long long>(bytes.size());
        std::vector<std::string> lines{"xref", "0 " + std::to_string(offsets.size()), "0000000000 65535 f"};
        for (size_t i = 1; i < offsets.size(); ++i) {
            std::string n = std::to_string(offsets[i]);
            lines.push_back(std::string(10 - n.size(), '0') + n + " 00000 n");
        }
        for (const char* line : {"trailer"}) lines.emplace_back(line);
        lines.push_back("<< /Size " + std::to_string(offsets.size()));
        lines.push_back("/Root " + std::to_string(catalog) + " 0 R");
        lines.push_back("/Info 1 0 R");
        lines.push_back(">>");
        lines.push_back("startxref");
        lines.push_back(std::to_string(xref));
        bytes += crlf(lines) + "\r\n" + "%%EOF\r\n";
        return bytes;
    }
};

std::vector<std::string> emptyInfo() {
    return {"1 0 obj",     "<<",           "/Producer ()", "/Author ()", "/CreationDate (D:20261210134507)",
            "/Creator ()", "/Keywords ()", "/Subject ()",  "/Title ()",  "/ModDate ()",
            ">>",          "endobj"};
}

std::vector<std::string> font(int number, int index, const std::string& name) {
    return {std::to_string(number) + " 0 obj",
            "<< /Type /Font",
            "/Subtype /Type1",
            "/Name /F" + std::to_string(index),
            "/BaseFont /" + name,
            "/Encoding /WinAnsiEncoding",
            ">>",
            "endobj"};
}

std::vector<std::string> page(int number, int parent, int resources, int contents, const std::string& box) {
    return {std::to_string(number) + " 0 obj",
            "<< /Type /Page",
            "/Parent " + std::to_string(parent) + " 0 R",
            "/MediaBox [ 0 0 " + box + "]",
            "/Resources " + std::to_string(resources) + " 0 R",
            "/Contents " + std::to_string(contents) + " 0 R",
            ">>",
            "endobj",
            "%FIN_OBJ/%"};
}

// The catalog object's text as written.
std::string catalogOf(const std::string& bytes) {
    size_t at = bytes.find("/Type /Catalog");
    size_t end = bytes.find("endobj", at);
    return bytes.substr(at, end - at);
}

}  // namespace

TEST(PdfDocument, emptyOnePageDocumentMatchesGolden) {
    Doc doc(makeFontFolder({"Helvetica"}));
    doc.pdf.PDFBeginDoc();
    doc.pdf.PDFEndDoc();

    Golden g;
    g.block(emptyInfo());
    g.block({"2 0 obj", "<< /Length 3 0 R", " >>", "stream", "endstream", "endobj"});
    g.block({"3 0 obj", "0", "endobj"});
    g.block(font(4, 1, "Helvetica"));
    g.block(
        {"%DEBUT_OBJ/%", "5 0 obj", "<< /Type /Pages", "/Kids [", "7 0 R", "]", "/Count 1", ">>", "endobj"});
    g.block({"6 0 obj", "<< /ProcSet [ /PDF /Text /ImageC]", "/XObject << ", ">>", "/Font << ", "/F1 4 0 R ",
             ">>", ">>", "endobj"});
    g.block(page(7, 5, 6, 2, "595.28 841.89"));
    g.block({"8 0 obj", "<<", "/Type /Catalog", "/Pages 5 0 R", "/OpenAction [7 0 R /Fit]",
             "/PageLayout /SinglePage", ">>", "endobj"});
    EXPECT_EQ(doc.bytes(), g.finish(8));
    expectValidPdf(doc.path, 1);
    EXPECT_EQ(doc.pdf.PDFPageNumber(), 1);
}

TEST(PdfDocument, twoPagesTwoFontsMatchGolden) {
    Doc doc(makeFontFolder({"Helvetica", "Courier"}));
    doc.pdf.PDFBeginDoc();
    doc.pdf.PDFEndPage();
    doc.pdf.PDFNewPage();
    doc.pdf.PDFEndDoc();

    Golden g;
    g.block(emptyInfo());
    g.block({"2 0 obj", "<< /Length 3 0 R", " >>", "stream", "endstream", "endobj", "%FIN_OBJ/%"});
    g.block({"%DEBUT_OBJ/%", "3 0 obj", "0", "endobj", "%FIN_OBJ/%"});
    g.block({"4 0 obj", "<< /Length 5 0 R", " >>", "stream", "%DEBUT_OBJ/%", "endstream", "endobj"});
    g.block({"5 0 obj", "14", "endobj"});
    g.block(font(6, 1, "Courier"));
    g.block(font(7, 2, "Helvetica"));
    g.block({"%DEBUT_OBJ/%", "8 0 obj", "<< /Type /Pages", "/Kids [", "10 0 R", "11 0 R", "]", "/Count 2",
             ">>", "endobj"});
    g.block({"9 0 obj", "<< /ProcSet [ /PDF /Text /ImageC]", "/XObject << ", ">>", "/Font << ", "/F1 6 0 R ",
             "/F2 7 0 R ", ">>", ">>", "endobj"});
    g.block(page(10, 8, 9, 2, "595.28 841.89"));
    g.block(page(11, 8, 9, 4, "595.28 841.89"));
    g.block({"12 0 obj", "<<", "/Type /Catalog", "/Pages 8 0 R", "/OpenAction [10 0 R /Fit]",
             "/PageLayout /SinglePage", ">>", "endobj"});
    EXPECT_EQ(doc.bytes(), g.finish(12));
    expectValidPdf(doc.path, 2);
    EXPECT_EQ(doc.pdf.PDFPageNumber(), 2);
}

TEST(PdfDocument, asciiInfoValuesAreEscapedBytesAsTheyAre) {
    Doc doc(makeFontFolder({"Helvetica"}));
    doc.pdf.PDFProducer("P");
    doc.pdf.PDFAuthor("A");
    doc.pdf.PDFCreator("C");
    doc.pdf.PDFKeywords("K");
    doc.pdf.PDFSubject("S");
    doc.pdf.PDFTitle("a)b (c\\d)");
    doc.pdf.PDFBeginDoc();
    doc.pdf.PDFEndDoc();
    std::string expected = crlf(
        {"1 0 obj", "<<", "/Producer (P)", "/Author (A)", "/CreationDate (D:20261210134507)", "/Creator (C)",
         "/Keywords (K)", "/Subject (S)", "/Title (a\\)b \\(c\\\\d\\))", "/ModDate ()", ">>", "endobj"});
    EXPECT_EQ(doc.bytes().substr(10, expected.size()), expected);
    expectValidPdf(doc.path, 1);
    auto info = runTool("pdfinfo -enc UTF-8 '" + doc.path + "'");
    EXPECT_NE(info.output.find(" a)b (c\\d)\nSubject:"), std::string::npos) << info.output;
}

// Readers take one-byte text strings as PDFDocEncoding, where Windows-1252's "€" and curly quotes
// are other characters; so any text that is not plain ASCII goes as UTF-16BE.
TEST(PdfDocument, otherInfoValuesAndOutlineTitlesReadBackUnchanged) {
    const std::string title = "12 dB \xE2\x80\x93 \xE2\x82\xAC \xE2\x80\x98x\xE2\x80\x99 \xE2\x84\xA2";
    // U+010D and U+015C hold the bytes of CR and of the backslash; U+1F50A lies beyond 16 bits.
    const std::string subject = "\xC4\x8D(\xC5\x9C) \xF0\x9F\x94\x8A";
    const std::string mark =
        "Mark \xE2\x80\x9C"
        "b\xE2\x80\x9D \xE2\x82\xAC";
    Doc doc(makeFontFolder({"Helvetica"}));
    doc.pdf.PDFTitle(title);
    doc.pdf.PDFSubject(subject);
    doc.pdf.PDFAuthor("\xC3\xA9(");
    doc.pdf.PDFUseOutlines(true);
    doc.pdf.PDFBeginDoc();
    doc.pdf.PDFSetBookmark(mark, 0, 1);
    doc.pdf.PDFSetBookmark("Plain", 0, 2);
    doc.pdf.PDFEndDoc();
    std::string bytes = doc.bytes();
    EXPECT_NE(bytes.find("/Author (\xFE\xFF\0\xE9\0\\()\r\n"s), std::string::npos);
    EXPECT_NE(bytes.find("/Subject (\xFE\xFF\x01\\r\0\\(\x01\\\\\0\\)\0 \xD8\x3D\xDD\x0A)\r\n"s),
              std::string::npos);
    EXPECT_NE(bytes.find("<</Title (Plain)\r\n"), std::string::npos);
    expectValidPdf(doc.path, 1);

    auto info = runTool("pdfinfo -enc UTF-8 '" + doc.path + "'");
    EXPECT_NE(info.output.find(" " + title + "\nSubject:"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find(" " + subject + "\nKeywords:"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find(" \xC3\xA9(\nCreator:"), std::string::npos) << info.output;
    auto json = runTool("qpdf --json --json-key=outlines '" + doc.path + "'");
    EXPECT_NE(json.output.find("\"title\": \"" + mark + "\""), std::string::npos) << json.output;
    EXPECT_NE(json.output.find("\"title\": \"Plain\""), std::string::npos) << json.output;
}

TEST(PdfDocument, catalogCarriesZoomLayoutPanelsAndViewerPreferences) {
    struct Case {
        std::function<void(kdrPDF&)> set;
        std::vector<std::string> lines;  // catalog lines after "/Pages"
    };
    const std::vector<Case> cases = {
        {[](kdrPDF&) {}, {"/OpenAction [7 0 R /Fit]", "/PageLayout /SinglePage"}},
        {[](kdrPDF& p) { p.PDFSetZoomMode(1); },
         {"/OpenAction [7 0 R /FitH null]", "/PageLayout /SinglePage"}},
        {[](kdrPDF& p) { p.PDFSetZoomMode(2); },
         {"/OpenAction [7 0 R /XYZ null null 1]", "/PageLayout /SinglePage"}},
        {[](kdrPDF& p) { p.PDFSetZoomMode(150); },
         {"/OpenAction [7 0 R /XYZ null null 1.50]", "/PageLayout /SinglePage"}},
        {[](kdrPDF& p) { p.PDFSetZoomMode(3); },
         {"/OpenAction [7 0 R /XYZ null null 0.03]", "/PageLayout /SinglePage"}},
        {[](kdrPDF& p) { p.PDFSetZoomMode(-5); },
         {"/OpenAction [7 0 R /XYZ null null -0.05]", "/PageLayout /SinglePage"}},
        {[](kdrPDF& p) { p.PDFSetLayoutMode(1); }, {"/OpenAction [7 0 R /Fit]", "/PageLayout /OneColumn"}},
        {[](kdrPDF& p) { p.PDFSetLayoutMode(2); },
         {"/OpenAction [7 0 R /Fit]", "/PageLayout /TwoColumnLeft"}},
        {[](kdrPDF& p) { p.PDFSetLayoutMode(3); }, {"/OpenAction [7 0 R /Fit]"}},
        {[](kdrPDF& p) { p.PDFUseThumbs(true); },
         {"/OpenAction [7 0 R /Fit]", "/PageLayout /SinglePage", "/PageMode /UseThumbs"}},
        {[](kdrPDF& p) { p.PDFUseOutlines(true); },
         {"/OpenAction [7 0 R /Fit]", "/PageLayout /SinglePage", "/Outlines 0 0 R",
          "/PageMode /UseOutlines"}},
        {[](kdrPDF& p) { p.PDFUseOutlines(true), p.PDFUseThumbs(true); },
         {"/OpenAction [7 0 R /Fit]", "/PageLayout /SinglePage", "/Outlines 0 0 R",
          "/PageMode /UseOutlines"}},
        {[](kdrPDF& p) { p.PDFSetViewerPreferences(25); },
         {"/OpenAction [7 0 R /Fit]", "/PageLayout /SinglePage", "/ViewerPreferences<<", "/HideMenubar true",
          "/CenterWindow true", ">>"}},
        {[](kdrPDF& p) { p.PDFSetViewerPreferences(123456); },
         {"/OpenAction [7 0 R /Fit]", "/PageLayout /SinglePage", "/ViewerPreferences<<", "/HideMenubar true",
          "/HideToolbar true", "/HideWindowUI true", "/DisplayDocTitle true", "/CenterWindow true",
          "/FitWindow true", ">>"}},
    };
    std::string fonts = makeFontFolder({"Helvetica"});
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        Doc doc(fonts);
        cases[i].set(doc.pdf);
        doc.pdf.PDFBeginDoc();
        doc.pdf.PDFEndDoc();
        std::vector<std::string> lines{"/Type /Catalog", "/Pages 5 0 R"};
        lines.insert(lines.end(), cases[i].lines.begin(), cases[i].lines.end());
        lines.push_back(">>");
        EXPECT_EQ(catalogOf(doc.bytes()), crlf(lines));
        expectValidPdf(doc.path, 1);
    }
}

TEST(PdfDocument, pageFormatsAndOrientationsGiveTheirMediaBoxes) {
    struct Case {
        int32_t format;
        std::string plain, landscape, portrait;              // MediaBox sizes
        std::string plainInfo, landscapeInfo, portraitInfo;  // pdfinfo's rounding of them
    };
    const std::vector<Case> cases = {
        {0, "595.28 841.89", "842 595", "595 842", "595.28 x 841.89", "842 x 595", "595 x 842"},
        {1, "841.89 1190.55", "1191 842", "842 1191", "841.89 x 1190.55", "1191 x 842", "842 x 1191"},
        {2, "420.94 595.28", "595 421", "421 595", "420.94 x 595.28", "595 x 421", "421 x 595"},
        {3, "612 792", "792 612", "612 792", "612 x 792", "792 x 612", "612 x 792"},
        {4, "612 1008", "1008 612", "612 1008", "612 x 1008", "1008 x 612", "612 x 1008"},
    };
    std::string fonts = makeFontFolder({"Helvetica"});
    for (const auto& c : cases) {
        SCOPED_TRACE("format " + std::to_string(c.format));
        const std::vector<std::pair<int, std::pair<std::string, std::string>>> orientations = {
            {-1, {c.plain, c.plainInfo}},
            {0, {c.landscape, c.landscapeInfo}},
            {1, {c.portrait, c.portraitInfo}}};
        for (const auto& [orientation, expected] : orientations) {
            Doc doc(fonts);
            doc.pdf.PDFFormatPage(c.format);
            if (orientation >= 0) doc.pdf.PDFOrientation(orientation);
            doc.pdf.PDFBeginDoc();
            doc.pdf.PDFEndDoc();
            EXPECT_NE(doc.bytes().find("/MediaBox [ 0 0 " + expected.first + "]\r\n"), std::string::npos);
            expectValidPdf(doc.path, 1);
            EXPECT_EQ(pageSize(doc.path, 1), expected.second);
        }
    }
}

TEST(PdfDocument, eachPageKeepsItsOwnSize) {
    Doc doc(makeFontFolder({"Helvetica"}));
    doc.pdf.PDFFormatPage(sq::PdfValue::doubles({100.5, 200.25}));
    doc.pdf.PDFBeginDoc();
    doc.pdf.PDFEndPage();
    doc.pdf.PDFFormatPage(3);  // between PDFEndPage and PDFNewPage: the next page's size
    doc.pdf.PDFOrientation(0);
    doc.pdf.PDFNewPage();
    doc.pdf.PDFEndPage();
    doc.pdf.PDFNewPage();
    doc.pdf.PDFEndDoc();
    std::string bytes = doc.bytes();
    EXPECT_NE(bytes.find("/MediaBox [ 0 0 100.5 200.25]"), std::string::npos);
    expectValidPdf(doc.path, 3);
    EXPECT_EQ(pageSize(doc.path, 1), "100.5 x 200.25");
    EXPECT_EQ(pageSize(doc.path, 2), "792 x 612");
    EXPECT_EQ(pageSize(doc.path, 3), "792 x 612");
}

TEST(PdfDocument, pageCountersFollowTheDocument) {
    Doc doc(makeFontFolder({"Helvetica"}));
    EXPECT_EQ(doc.pdf.PDFNbPage(), -1);
    doc.pdf.PDFBeginDoc();
    for (int i = 0; i < 9; ++i) {
        doc.pdf.PDFEndPage();
        doc.pdf.PDFNewPage();
        EXPECT_EQ(doc.pdf.PDFNbPage(), 1);
    }
    EXPECT_EQ(doc.pdf.PDFPageNumber(), 10);
    doc.pdf.PDFEndDoc();
    EXPECT_EQ(doc.pdf.PDFNbPage(), 10);
    EXPECT_EQ(doc.pdf.PDFPageNumber(), 10);
    expectValidPdf(doc.path, 10);
}

TEST(PdfDocument, newPageStartsAtTheMarginsAndDropsContentDrawnBeforeTheDocument) {
    Doc doc(makeFontFolder({"Helvetica"}));
    doc.pdf.PDFSetMargins(4, 7);
    doc.pdf.setCurrentPosition(50, 60);
    doc.pdf.PDFBeginDoc();
    EXPECT_EQ(doc.pdf.pageContent(), "");
    doc.pdf.PDFEndPage();
    doc.pdf.PDFNewPage();
    EXPECT_EQ(doc.pdf.currentX(), 4);
    EXPECT_EQ(doc.pdf.currentY(), 7);
    EXPECT_EQ(doc.pdf.pageContent(), "%DEBUT_OBJ/%\r\n");
}

TEST(PdfDocument, confirmationAndViewerAfterTheEnd) {
    sq::ScopedScriptedDialogs dialogs;
    Doc doc(makeFontFolder({"Helvetica"}));
    doc.pdf.PDFConfirm(true);
    doc.pdf.PDFView(true);
    doc.pdf.PDFBeginDoc();
    doc.pdf.PDFEndDoc();
    ASSERT_EQ(dialogs->records.size(), 2u);
    EXPECT_EQ(dialogs->records[0].message.text, "PDF file generated.");
    EXPECT_EQ(dialogs->records[0].message.title, "Generated PDF file - kdrPDF 1.0");
    EXPECT_EQ(dialogs->records[0].message.icon, sq::MsgIcon::None);
    EXPECT_EQ(dialogs->records[1].kind, "viewer");
    EXPECT_EQ(dialogs->records[1].text, doc.path);
    expectValidPdf(doc.path, 1);
}

TEST(PdfDocument, quietByDefault) {
    sq::ScopedScriptedDialogs dialogs;
    Doc doc(makeFontFolder({"Helvetica"}));
    doc.pdf.PDFBeginDoc();
    doc.pdf.PDFEndDoc();
    EXPECT_TRUE(dialogs->records.empty());
    expectValidPdf(doc.path, 1);
}

TEST(PdfDocument, failuresOfTheLifeCycleRaise) {
    std::string fonts = makeFontFolder({"Helvetica"});
    {
        SCOPED_TRACE("empty font list");
        std::string empty = sqtest::makeTempDir("nofonts");
        kdrPDF pdf;
        pdf.PDFPathConfiguration(empty);
        pdf.PDFFileName(empty + "/out.pdf");
        pdf.PDFBeginDoc();
        try {
            pdf.PDFEndDoc();
            FAIL() << "no error";
        } catch (const sq::VbError& e) {
            EXPECT_EQ(e.number(), sq::kSubscriptOutOfRange);
        }
        EXPECT_EQ(readFile(empty + "/out.pdf").find("trailer"), std::string::npos);
    }
    {
        SCOPED_TRACE("new page without end page");
        Doc doc(fonts);
        doc.pdf.PDFBeginDoc();
        doc.pdf.PDFNewPage();
        try {
            doc.pdf.PDFEndDoc();
            FAIL() << "no error";
        } catch (const sq::VbError& e) {
            EXPECT_EQ(e.number(), sq::kSubscriptOutOfRange);
        }
    }
    {
        SCOPED_TRACE("no output file");
        kdrPDF pdf;
        pdf.PDFLoadAfm(fonts);
        try {
            pdf.PDFBeginDoc();
            FAIL() << "no error";
        } catch (const sq::VbError& e) {
            EXPECT_EQ(e.number(), sq::kObjectNotSet);
        }
    }
}

TEST(PdfDocument, fileNameCreatesTheFileOrQuietlyNothing) {
    sq::ScopedScriptedDialogs dialogs;
    std::string folder = sqtest::makeTempDir("names");
    {
        kdrPDF pdf;
        pdf.PDFFileName("");
        EXPECT_FALSE(pdf.hasOutputFile());
        EXPECT_EQ(pdf.PDFGetFileName(), "");
    }
    {
        kdrPDF pdf;
        pdf.PDFFileName(folder + "/missing/out.pdf");
        EXPECT_FALSE(pdf.hasOutputFile());
        EXPECT_EQ(pdf.PDFGetFileName(), folder + "/missing/out.pdf");
    }
    EXPECT_TRUE(dialogs->records.empty());
}

// An existing file of the name stays as it is until the document ends, and is replaced only by a
// whole document: a document that fails or is never ended leaves it, and nothing beside it.
TEST(PdfDocument, anExistingFileIsReplacedOnlyByAnEndedDocument) {
    const std::string fonts = makeFontFolder({"Helvetica"});
    const std::string folder = sqtest::makeTempDir("replace");
    const std::string path = folder + "/old.pdf";
    const std::string old = "old content that is longer";
    auto onlyTheOldFile = [&] {
        EXPECT_EQ(readFile(path), old);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
    };
    writeFile(path, old);
    {
        SCOPED_TRACE("never ended");
        kdrPDF pdf;
        pdf.PDFLoadAfm(fonts);
        pdf.PDFFileName(folder + "\\old.pdf");
        EXPECT_TRUE(pdf.hasOutputFile());
        pdf.PDFBeginDoc();
        EXPECT_EQ(readFile(path), old);
    }
    onlyTheOldFile();
    {
        SCOPED_TRACE("a disk that fills up");
        kdrPDF pdf;
        pdf.PDFLoadAfm(fonts);
        pdf.PDFFileName(path);
        pdf.PDFBeginDoc();
        for (int i = 0; i < 2000; ++i) pdf.PDFDrawLine(1, 1, 50, 50);
        int error = 0;
        sqtest::withFileSizeLimit(1000, [&] { error = sqtest::errorOf([&] { pdf.PDFEndDoc(); }); });
        EXPECT_EQ(error, sq::kDiskFull);
        onlyTheOldFile();
    }
    {
        SCOPED_TRACE("ended");
        kdrPDF pdf;
        pdf.setClock(fixedTime);
        pdf.PDFLoadAfm(fonts);
        pdf.PDFFileName(path);
        pdf.PDFBeginDoc();
        pdf.PDFEndDoc();
        expectValidPdf(path, 1);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
    }
}

TEST(PdfDocument, aFolderThatRefusesTheFileRaises70NamingTheCause) {
    const std::string folder = sqtest::makeTempDir("refused");
    for (int error : {EACCES, EROFS}) {
        SCOPED_TRACE(std::strerror(error));
        sq::setAtomicWriteFault(error);
        kdrPDF pdf;
        try {
            pdf.PDFFileName(folder + "/out.pdf");
            FAIL() << "no error";
        } catch (const sq::VbError& e) {
            EXPECT_EQ(e.number(), sq::kPermissionDenied);
            EXPECT_STREQ(e.what(), std::strerror(error));
        }
        sq::setAtomicWriteFault(0);
        EXPECT_FALSE(pdf.hasOutputFile());
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}
