// Bookmarks written as the document outline: tree links, destinations and the level refusals.
#include <gtest/gtest.h>

#include "pdf/kdr_pdf.h"
#include "pdf_test_support.h"
#include "platform/vb_error.h"

using namespace pdftest;

namespace {
// The text of object n, from its "n 0 obj" line to its "endobj".
std::string objectText(const std::string& bytes, int n) {
    std::string head = "\r\n" + std::to_string(n) + " 0 obj\r\n";
    size_t at = bytes.find(head);
    if (at == std::string::npos) return {};
    at += 2;
    return bytes.substr(at, bytes.find("endobj\r\n", at) + 8 - at);
}
}  // namespace

TEST(PdfOutlines, oneBookmarkOnAOnePageDocument) {
    Doc doc(makeFontFolder({"Helvetica"}));
    doc.pdf.PDFUseOutlines(true);
    doc.pdf.PDFBeginDoc();
    doc.pdf.PDFSetBookmark("Summary (all)", 0, 2);
    doc.pdf.PDFEndDoc();
    std::string bytes = doc.bytes();
    EXPECT_EQ(objectText(bytes, 8), crlf({"8 0 obj", "<</Title (Summary \\(all\\))", "/Parent 9 0 R",
                                          "/Dest [7 0 R /XYZ 0 785.20 null]", "/Count 0>>", "endobj"}));
    EXPECT_EQ(objectText(bytes, 9),
              crlf({"9 0 obj", "<</Type /Outlines /First 8 0 R", "/Last 8 0 R>>", "endobj"}));
    EXPECT_NE(objectText(bytes, 10).find("/Outlines 9 0 R\r\n/PageMode /UseOutlines\r\n"), std::string::npos);
    expectValidPdf(doc.path, 1);
}

TEST(PdfOutlines, treeLinksParentsChildrenAndSiblings) {
    Doc doc(makeFontFolder({"Helvetica"}));
    doc.pdf.PDFUseOutlines(true);
    doc.pdf.PDFBeginDoc();
    for (auto [text, level] : {std::pair{"A", 0}, {"B", 1}, {"C", 1}, {"D", 0}, {"E", 1}, {"F", 2}, {"G", 0}})
        doc.pdf.PDFSetBookmark(text, level, 1);
    doc.pdf.PDFEndDoc();
    std::string bytes = doc.bytes();
    // Items A..G are objects 8..14, the root 15.
    auto links = [&](int n) {
        std::string text = objectText(bytes, n);
        size_t from = text.find("/Parent"), to = text.find("/Dest");
        return text.substr(from, to - from);
    };
    EXPECT_EQ(links(8), crlf({"/Parent 15 0 R", "/Next 11 0 R", "/First 9 0 R", "/Last 10 0 R"}));
    EXPECT_EQ(links(9), crlf({"/Parent 8 0 R", "/Next 10 0 R"}));
    EXPECT_EQ(links(10), crlf({"/Parent 8 0 R", "/Prev 9 0 R"}));
    EXPECT_EQ(links(11),
              crlf({"/Parent 15 0 R", "/Prev 8 0 R", "/Next 14 0 R", "/First 12 0 R", "/Last 12 0 R"}));
    EXPECT_EQ(links(12), crlf({"/Parent 11 0 R", "/First 13 0 R", "/Last 13 0 R"}));
    EXPECT_EQ(links(13), crlf({"/Parent 12 0 R"}));
    EXPECT_EQ(links(14), crlf({"/Parent 15 0 R", "/Prev 11 0 R"}));
    EXPECT_EQ(objectText(bytes, 15),
              crlf({"15 0 obj", "<</Type /Outlines /First 8 0 R", "/Last 14 0 R>>", "endobj"}));
    expectValidPdf(doc.path, 1);
    auto outline = runTool("qpdf --json --json-key=outlines '" + doc.path + "'");
    EXPECT_EQ(outline.status, 0);
    EXPECT_EQ(countOf(outline.output, "\"title\""), 7);
}

TEST(PdfOutlines, bookmarkWithoutYTakesTheCurrentPositionOnItsPage) {
    Doc doc(makeFontFolder({"Helvetica"}));
    doc.pdf.PDFBeginDoc();
    doc.pdf.PDFSetBookmark("First", 0);
    doc.pdf.PDFEndPage();
    doc.pdf.PDFFormatPage(int32_t(3));  // page 2 is Letter: 792 high
    doc.pdf.PDFNewPage();
    doc.pdf.setCurrentPosition(1, 5);
    doc.pdf.PDFSetBookmark("Second", 0);
    doc.pdf.PDFEndDoc();
    std::string bytes = doc.bytes();
    // Two pages, one font: Page objects 9 and 10, items 11 and 12, root 13. Outlines off: not named.
    EXPECT_NE(objectText(bytes, 11).find("/Next 12 0 R\r\n/Dest [9 0 R /XYZ 0 813.54 null]"),
              std::string::npos);
    EXPECT_NE(objectText(bytes, 12).find("/Prev 11 0 R\r\n/Dest [10 0 R /XYZ 0 650.27 null]"),
              std::string::npos);
    EXPECT_NE(objectText(bytes, 13).find("/Type /Outlines"), std::string::npos);
    EXPECT_EQ(objectText(bytes, 14).find("/Outlines"), std::string::npos);
    expectValidPdf(doc.path, 2);
}

TEST(PdfOutlines, levelsThatCannotFormATreeAreRefusedAtOnce) {
    struct Case {
        std::vector<int> accepted;
        int refused;
    };
    const Case cases[] = {{{}, -1}, {{}, 1}, {{0}, 2}, {{0, 1, 2}, 4}, {{0, 1}, -1}};
    std::string fonts = makeFontFolder({"Helvetica"});
    for (const auto& c : cases) {
        Doc doc(fonts);
        doc.pdf.PDFBeginDoc();
        for (int level : c.accepted) doc.pdf.PDFSetBookmark("ok", level, 1);
        try {
            doc.pdf.PDFSetBookmark("bad", c.refused, 1);
            FAIL() << c.refused;
        } catch (const sq::VbError& e) {
            EXPECT_EQ(e.number(), sq::kSubscriptOutOfRange);
        }
        doc.pdf.PDFEndDoc();
        std::string bytes = doc.bytes();
        EXPECT_EQ(countOf(bytes, "<</Title (ok)"), static_cast<int>(c.accepted.size()));
        EXPECT_EQ(countOf(bytes, "(bad)"), 0);
        expectValidPdf(doc.path, 1);
    }
}
