// Where the report puts its texts and rules, read back from the content streams of the written file.
// Td positions include the writer's left margin of one unit, and y counts from the bottom of the
// 595 x 842 page.
#include <gtest/gtest.h>

#include "reports/pdf_report_fixture.h"

namespace sqtest {
namespace {

struct Placed {
    int page;  // 1-based
    std::string text;
    std::string pos;  // Td operands
};

struct LayoutCase {
    const char* name;
    int userRows;
    bool recordData;
    int points;
    int pages;
    std::vector<Placed> expected;
};

const double k = kPointsPerCm;

// Footer widths: "P - n" is 2112 / 1000 x 12 = 25.344 points wide. After a table's last row it
// stands at (595 - 25.344) rounded, halved without remainder (285); at a page break and on the
// chart pages at the exact half (284.828).
const std::string kLastFooter = "286.00 20.00";
const std::string kBreakFooter = "285.83 17.00";
const std::string kChartFooter = "285.83 20.00";

std::vector<LayoutCase> layoutCases() {
    return {
        {"record table over two pages",
         5,
         true,
         45,
         5,
         {
             {1, "- QVX 410", "30.00 809.00"},
             {1, "- Evaluator : Ann Lee", td(29, 46)},
             {1, "- Evaluated : Press line 3", td(29, 59)},
             {1, "- Observations : Ear plugs worn", td(29, 98)},
             {1, " - Header Data", td(29, 127)},
             {1, "Start Date/Time", td(41, 159)},  // centred in the column of "Exceedance Level00"
             {1, "P - 1", kLastFooter},
             {2, "- QVX 410", td(29, 33)},
             {2, "- Observations : Ear plugs worn", td(29, 98)},
             {2, " - RecordData", td(29, 127)},
             // "No.s00" sets column 0's width (38.016): titles and numbers centred in it.
             {2, "No.s", td(34, 143)},
             {2, "1", td(43, 159)},
             {2, "41", td(40, 799)},
             {2, "P - 2", kBreakFooter},
             {3, "- QVX 410", td(29, 33)},
             {3, "No.s", td(34, 127)},
             {3, "42", td(40, 143)},
             {3, "45", td(40, 191)},
             {3, "P - 3", kLastFooter},
             {4, "- QVX 410", td(0.25, 4.13, k)},
             {4, "- Evaluator : Ann Lee", td(0.25, 4.85, k)},
             {4, "- Evaluated : Press line 3", td(0.25, 5.57, k)},
             {4, "- Department : Maintenance", td(0.25, 6.29, k)},
             {4, "- Company : ACME, Inc.", td(0.25, 7.01, k)},
             {4, "- Observations : Ear plugs worn", td(0.25, 7.73, k)},
             {4, "Threshold :", td(90, 240)},
             {4, "80 dB", td(90, 255)},
             {4, "Criterion :", td(90, 275)},
             {4, "85 dB", td(90, 290)},
             {4, "Exchange Rate :", td(200, 240)},
             {4, "3 dB", td(200, 255)},
             {4, "Exceedance Level :", td(200, 275)},
             {4, "115 dB", td(200, 290)},
             {4, "Duration :", td(20, 698)},
             {4, "01:00:00", td(20, 715)},
             {4, "Interval Time :", td(20, 733)},
             {4, "00:01:00", td(20, 750)},
             {4, "P - 4", kChartFooter},
             {5, "- Observations : Ear plugs worn", td(0.25, 7.73, k)},
             {5, "Exceedance Level :", td(200, 275)},
             {5, "P - 5", kChartFooter},
         }},
        {"a page holds title row and 41 points, then 42 points a page",
         5,
         true,
         83,
         5,
         {
             {3, "42", td(40, 143)},
             {3, "83", td(40, 799)},
             {3, "P - 3", kLastFooter},
         }},
        {"without user information",
         0,
         false,
         3,
         3,
         {
             {1, "- QVX 410", td(29, 33)},
             {1, " - Header Data", td(29, 62)},
             {1, "D1", td(143.396 + 52, 78)},  // column 1 starts after 111.396 + 3
             {1, "P - 1", kLastFooter},
             {2, "- QVX 410", td(0.25, 4.13, k)},
             {2, "Max Lavg :", td(310, 700)},
             {3, "Freq", td(45, 290)},
         }},
    };
}

TEST_F(PdfReportTest, textsStandWhereTheLayoutPutsThem) {
    for (const LayoutCase& c : layoutCases()) {
        SCOPED_TRACE(c.name);
        const std::string path = newPath("layout.pdf");
        write(path, {summaryGrid(), pointGrid(c.points), userInfoGrid(c.userRows)}, c.recordData);
        pdftest::expectValidPdf(path, c.pages);
        const auto pages = readReportPages(path);
        ASSERT_EQ(pages.size(), static_cast<size_t>(c.pages));
        for (const Placed& p : c.expected) EXPECT_EQ(pages[p.page - 1].posOf(p.text), p.pos) << p.text;
        for (size_t n = 0; n < pages.size(); ++n) EXPECT_EQ(pages[n].footers(), 1) << "page " << n + 1;
        EXPECT_EQ(pages[0].hasText(" - RecordData") || pages[1].hasText(" - RecordData"), c.recordData);
        EXPECT_TRUE(dialogs->messages().empty());
    }
}

// The caption shows the progress only at the pacer's passes and gets its text back at the end.
TEST_F(PdfReportTest, theCaptionShowsTheProgressAtPasses) {
    struct Case {
        const char* name;
        uint64_t call;
        sq::GridCopy points;
        std::string caption;
    } const cases[] = {
        {"after summary row 4 of 0 to 11", 5, pointGrid(3), "36.4 % Completed"},
        // A point table of its title row alone is complete after it.
        {"after the title row of a record without points", 13,
         pointGrid(std::vector<std::vector<std::string>>{}), "100.0 % Completed"},
        {"after segment 3 of 4 x 2", 12 + 4 + 3, pointGrid(3), "37.50% Completed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> inPass;
        sq::EventPacer::setTestHook(c.call, [&] { inPass = captions; });
        write(newPath("progress.pdf"), {summaryGrid(), c.points, userInfoGrid()}, true);
        EXPECT_EQ(inPass, std::vector<std::string>{c.caption});
        EXPECT_EQ(captions, (std::vector<std::string>{c.caption, "DataList"}));
    }
}

TEST_F(PdfReportTest, tableRowsAreRuledAcrossAllColumns) {
    const std::string path = newPath("rules.pdf");
    write(path, {summaryGrid(), pointGrid(45), userInfoGrid()}, true);
    const auto pages = readReportPages(path);
    ASSERT_EQ(pages.size(), 5u);
    auto count = [](const PdfPage& page, const std::string& from, const std::string& to) {
        int n = 0;
        for (const PdfLine& l : page.lines) n += l.from == from && l.to == to;
        return n;
    };
    // The title row's top rule runs from the left rule to the last column's right rule.
    const PdfPage& first = pages[1];
    std::string end;
    for (const PdfLine& l : first.lines)
        if (l.from == at(26, 130) && l.to != at(26, 146)) end = l.to.substr(0, l.to.find(' '));
    ASSERT_FALSE(end.empty());
    const double right = std::stod(end);
    EXPECT_GT(right, 26 + 38.016 + 123.432 + 4 * 54.708);
    // The row of point 41 at y 799: left rule, right rule of its last cell and bottom rule.
    EXPECT_EQ(count(first, at(26, 786), at(26, 802)), 1);
    EXPECT_EQ(count(first, at(right, 786), at(right, 802)), 1);
    EXPECT_EQ(count(first, at(26, 802), at(right, 802)), 1);
    // The continuation page repeats the title row with its top and bottom rules, drawn once.
    EXPECT_EQ(count(pages[2], at(26, 114), at(right, 114)), 1);
    EXPECT_EQ(count(pages[2], at(26, 130), at(right, 130)), 1);
    EXPECT_EQ(count(pages[2], at(26, 130), at(26, 146)), 1);
}

// The head block's line steps 0.72 cm down; at the limit a new page gets its top rule (unless the
// flag is 1) and its footer at once, and the line starts again at 1.25 cm.
TEST_F(PdfReportTest, advancingAHeadLinePastTheLimitStartsAPage) {
    const std::string path = newPath("advance.pdf");
    {
        sq::kdrPDF doc;
        doc.PDFFileName(path);
        doc.PDFLoadAfm(sq::programPath("Fonts"));
        doc.PDFSetFont(0, 12, 0);
        doc.PDFFormatPage(sq::PdfValue(int32_t(0)));
        doc.PDFOrientation(1);
        doc.PDFSetUnit(2);
        doc.PDFBeginDoc();
        double y = 26.9;
        EXPECT_NEAR(sq::AdvancePdfLine(y, 27, doc), 27.62, 1e-9);
        EXPECT_NEAR(y, 27.62, 1e-9);
        EXPECT_EQ(doc.PDFPageNumber(), 1);
        EXPECT_EQ(sq::AdvancePdfLine(y, 27, doc), 1.25);
        EXPECT_EQ(y, 1.25);
        EXPECT_EQ(doc.PDFPageNumber(), 2);
        y = 27;
        sq::AdvancePdfLine(y, 27, doc, 1);
        doc.PDFEndDoc();
    }
    const auto pages = readReportPages(path);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[1].posOf("P-2"), td(595.0 / 66, 28, k));
    ASSERT_EQ(pages[1].lines.size(), 1u);
    EXPECT_EQ(pages[1].lines[0].from, at(1.0 * k, 0.705 * k));
    EXPECT_EQ(pages[1].lines[0].to, at(20.25 * k, 0.705 * k));
    EXPECT_EQ(pages[2].posOf("P-3"), td(595.0 / 66, 28, k));
    EXPECT_TRUE(pages[2].lines.empty());
}

}  // namespace
}  // namespace sqtest
