// The manual: its source format, the line breaker, and the PDF the build writes from docs/manual.txt.
#include "mkmanual/manual.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <sstream>

#include "platform/program_folder.h"
#include "platform/text_file.h"
#include "support/test_support.h"
#include "texts/language_texts.h"

namespace {

using sq::manual::Block;
using sq::manual::BlockKind;
using Lines = std::vector<std::string>;

using ToolRun = sqtest::ToolResult;
using sqtest::runTool;

// ---------------------------------------------------------------------------------------------
// Line breaker

// One unit per character, but three for "W": proportional enough to show measuring by width.
double units(const std::string& text) {
    double w = 0;
    for (char c : text) w += c == 'W' ? 3 : 1;
    return w;
}

struct BreakCase {
    const char* what;
    const char* text;
    double measure;
    Lines lines;
};

TEST(ManualLineBreaker, breaksAtBlanksKeepsWordsWholeAndStaysInsideTheMeasure) {
    const BreakCase cases[] = {
        {"nothing", "", 10, {}},
        {"blanks only", "   ", 10, {}},
        {"fits on one line", "one two", 7, {"one two"}},
        {"the next word would pass the measure", "one two three", 7, {"one two", "three"}},
        {"measured by width, not by characters", "WW a b", 7, {"WW", "a b"}},
        {"runs of blanks and tabs count as one", "  a \t  b   c  ", 3, {"a b", "c"}},
        {"a word wider than the measure stands alone", "a verylongword b", 5, {"a", "verylongword", "b"}},
        {"... also at the start and at the end",
         "verylongword b c evenlongerword",
         5,
         {"verylongword", "b c", "evenlongerword"}},
    };
    for (const BreakCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Lines lines = sq::manual::breakLines(c.text, c.measure, units);
        EXPECT_EQ(lines, c.lines);
        for (const std::string& line : lines) {
            if (line.find(' ') != std::string::npos) {
                EXPECT_LE(units(line), c.measure) << line;
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Source format

TEST(ManualSource, chaptersSectionsParagraphsAndItems) {
    const std::string source =
        "# First chapter\r\n"
        "A paragraph\n"
        "  that goes on.\n"
        "\n"
        "## A section\n"
        "- one item\n"
        "  continued\n"
        "- two\n"
        "Text after an item belongs to it.\n"
        "\n"
        "\n"
        "Next paragraph with caf\xC3\xA9.\n"
        "# Second\n";
    const std::vector<Block> expected = {
        {BlockKind::Chapter, "First chapter", 1},
        {BlockKind::Paragraph, "A paragraph that goes on.", 2},
        {BlockKind::Section, "A section", 5},
        {BlockKind::Item, "one item continued", 6},
        {BlockKind::Item, "two Text after an item belongs to it.", 8},
        {BlockKind::Paragraph, "Next paragraph with caf\xC3\xA9.", 12},
        {BlockKind::Chapter, "Second", 13},
    };
    EXPECT_EQ(sq::manual::parseManual(source), expected);
}

struct SourceFault {
    const char* what;
    const char* source;
    int line;
    const char* message;
};

TEST(ManualSource, faultsNameTheirLine) {
    const SourceFault faults[] = {
        {"a character Windows-1252 lacks", "# A\n\nOK \xC3\xA9\nthe \xC5\x81 here\n", 4, "U+0141"},
        {"an unknown heading mark", "# A\n### deeper\n", 2, "heading"},
        {"a heading without text", "# A\n## \n", 2, "heading"},
        {"a section before any chapter", "text\n## A\n", 2, "section"},
    };
    for (const SourceFault& f : faults) {
        SCOPED_TRACE(f.what);
        try {
            (void)sq::manual::parseManual(f.source);
            ADD_FAILURE() << "accepted";
        } catch (const sq::manual::SourceError& e) {
            EXPECT_EQ(e.line(), f.line);
            EXPECT_NE(std::string(e.what()).find(f.message), std::string::npos) << e.what();
        }
    }
}

TEST(ManualTool, aSourceCharacterOutsideWindows1252StopsItNamingTheLine) {
    const std::string dir = sqtest::makeTempDir("manual");
    const std::string source = dir + "/manual.txt";
    const std::string out = dir + "/help/Manual.pdf";
    ASSERT_TRUE(sq::writeFileAtomic(source, "# Title\n\nGood text.\nBad \xE2\x86\x92 arrow.\n"));
    std::ostringstream err;
    EXPECT_NE(sq::manual::runMkmanual({source, sq::resourceFolder() + "/Fonts", out}, err), 0);
    EXPECT_NE(err.str().find(source + ":4:"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("U+2192"), std::string::npos) << err.str();
    EXPECT_FALSE(sq::fileExists(out));

    std::ostringstream usage;
    EXPECT_NE(sq::manual::runMkmanual({source}, usage), 0);
    EXPECT_NE(usage.str().find("usage"), std::string::npos);
}

// The page of a PDF's text (pdftotext, pages split at form feeds) on which `text` first stands;
// -1 when it stands on none.
int pageOf(const std::string& pdfText, const std::string& text) {
    const size_t at = pdfText.find(text);
    if (at == std::string::npos) return -1;
    return static_cast<int>(std::count(pdfText.begin(), pdfText.begin() + static_cast<long>(at), '\f'));
}

// Wherever the page ends, a chapter heading, the section heading that opens it and the section's
// first line stand on one page.
TEST(ManualTool, aHeadingNeverStandsAloneAtTheFootOfAPage) {
    const std::string dir = sqtest::makeTempDir("manual-pages");
    for (int lines = 28; lines <= 42; ++lines) {
        std::vector<Block> blocks;
        for (int i = 0; i < lines; ++i)
            blocks.push_back({BlockKind::Paragraph, "Line " + std::to_string(i) + ".", 0});
        blocks.push_back({BlockKind::Chapter, "Chapter heading", 0});
        blocks.push_back({BlockKind::Section, "Section heading", 0});
        blocks.push_back({BlockKind::Paragraph, "First line of the section.", 0});
        const std::string pdf = dir + "/m" + std::to_string(lines) + ".pdf";
        sq::manual::writeManual(blocks, sq::resourceFolder() + "/Fonts", pdf);
        const ToolRun text = runTool("pdftotext '" + pdf + "' -");
        ASSERT_EQ(text.status, 0) << text.output;
        const int chapter = pageOf(text.output, "Chapter heading");
        SCOPED_TRACE(lines);
        EXPECT_GE(chapter, 0);
        EXPECT_EQ(pageOf(text.output, "Section heading"), chapter);
        EXPECT_EQ(pageOf(text.output, "First line of the section."), chapter);
    }
}

// ---------------------------------------------------------------------------------------------
// The manual the build writes

std::vector<Block> manualSource() {
    const auto bytes = sq::readFileBytes(SQ_MANUAL_SOURCE);
    EXPECT_TRUE(bytes.has_value());
    return sq::manual::parseManual(bytes.value_or(""));
}

TEST(BuiltManual, isAValidPdfWithItsTitleAndEveryHeadingInOrder) {
    const std::string pdf = SQ_MANUAL_PDF;
    ASSERT_TRUE(sq::fileExists(pdf));
    const ToolRun check = runTool("qpdf --check '" + pdf + "'");
    EXPECT_EQ(check.status, 0) << check.output;
    const ToolRun info = runTool("pdfinfo '" + pdf + "'");
    EXPECT_NE(info.output.find("Title:           Sonoquant - User manual\n"), std::string::npos)
        << info.output;
    const ToolRun text = runTool("pdftotext '" + pdf + "' -");
    ASSERT_EQ(text.status, 0) << text.output;
    size_t at = 0;
    int headings = 0;
    for (const Block& block : manualSource()) {
        if (block.kind != BlockKind::Chapter && block.kind != BlockKind::Section) continue;
        ++headings;
        const size_t found = text.output.find(block.text, at);
        ASSERT_NE(found, std::string::npos) << "heading \"" << block.text << "\" missing or out of order";
        at = found + block.text.size();
    }
    EXPECT_GT(headings, 10);
    EXPECT_NE(sq::readFileBytes(pdf).value_or("").find("/PageMode /UseOutlines"), std::string::npos)
        << "the outline panel opens with the document";
}

TEST(BuiltManual, outlineHoldsChaptersWithTheirSections) {
    const ToolRun json = runTool(std::string("qpdf --json --json-key=outlines '") + SQ_MANUAL_PDF + "'");
    ASSERT_EQ(json.status, 0) << json.output;
    const QJsonArray outline =
        QJsonDocument::fromJson(QByteArray::fromStdString(json.output)).object().value("outlines").toArray();
    std::vector<std::pair<std::string, Lines>> actual;
    for (const auto& chapter : outline) {
        Lines sections;
        for (const auto& section : chapter.toObject().value("kids").toArray()) {
            sections.push_back(section.toObject().value("title").toString().toStdString());
            EXPECT_TRUE(section.toObject().value("kids").toArray().isEmpty());
        }
        actual.emplace_back(chapter.toObject().value("title").toString().toStdString(), sections);
    }
    std::vector<std::pair<std::string, Lines>> expected;
    for (const Block& block : manualSource()) {
        if (block.kind == BlockKind::Chapter) expected.emplace_back(block.text, Lines{});
        if (block.kind == BlockKind::Section) expected.back().second.push_back(block.text);
    }
    EXPECT_EQ(actual, expected);
}

// Where the manual tells what opening a data file of a model the program does not work with gives,
// it quotes the program's own message.
TEST(ManualText, tellsTheMessageADataFileOfAnUnsupportedModelGives) {
    sq::LoadDefaultTexts();
    const std::string refusal = sq::texts().TxtModelNotSupported;
    const size_t gap = refusal.find("%1");
    ASSERT_NE(gap, std::string::npos);
    const std::string before = "\"" + refusal.substr(0, gap), after = refusal.substr(gap + 2) + "\"";
    const std::string openError = "\"" + sq::texts().TxtOpenError + "\"";
    bool told = false;
    for (const Block& block : manualSource()) {
        const size_t start = block.text.find(before);
        if (start == std::string::npos) continue;
        const size_t end = block.text.find(after, start + before.size());
        const size_t quoteInside = block.text.find('"', start + before.size());
        told = told || (end != std::string::npos && quoteInside == end + after.size() - 1 &&
                        block.text.find(openError) != std::string::npos);
    }
    EXPECT_TRUE(told) << "no paragraph quotes " << openError << " and " << refusal;
}

// The first start copies the manual into the program folder's help/.
TEST(BuiltManual, firstStartSeedsItIntoTheProgramFolder) {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(sqtest::makeTempDir("xdg")));
    sq::ensureProgramFolder();
    const auto seeded = sq::readFileBytes(sq::programPath("help/Manual.pdf"));
    qputenv("XDG_DATA_HOME", saved);
    ASSERT_TRUE(seeded.has_value());
    EXPECT_EQ(seeded, sq::readFileBytes(SQ_MANUAL_PDF));
}

}  // namespace
