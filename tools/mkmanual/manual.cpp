#include "manual.h"

#include <cstdio>
#include <filesystem>
#include <ostream>

#include "pdf/kdr_pdf.h"
#include "platform/encoding.h"
#include "platform/text_file.h"
#include "platform/vb_error.h"

namespace sq::manual {

namespace {

// The manual's source is tens of KB; a larger file, a pipe or a device is not read.
constexpr ReadLimit kSourceReadLimit{16u << 20};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string trimmed(std::string_view s) {
    size_t from = 0, to = s.size();
    while (from < to && isBlank(s[from])) ++from;
    while (to > from && isBlank(s[to - 1])) --to;
    return std::string(s.substr(from, to - from));
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

std::string codeName(char32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
    return buf;
}

// Each character must survive the trip to Windows-1252 and back.
void checkEncodable(const std::string& line, int lineNumber) {
    for (size_t i = 0; i < line.size();) {
        const size_t start = i;
        const char32_t c = nextCodePoint(line, i);
        const std::string one = line.substr(start, i - start);
        if (cp1252ToUtf8(utf8ToCp1252(one)) != one)
            throw SourceError(lineNumber, "the character " + codeName(c) + " has no Windows-1252 byte");
    }
}

std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i])) ++i;
        const size_t start = i;
        while (i < text.size() && !isBlank(text[i])) ++i;
        if (i > start) out.emplace_back(text.substr(start, i - start));
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Page layout, in points from the top left corner of the page.

constexpr double kPointsPerCm = 72 / 2.54;
constexpr double kMargin = 2 * kPointsPerCm;

struct TextStyle {
    const char* font;
    int style;  // the writer's style code: 0 regular, 2 bold
    int size;
    double leading;      // from one line's top to the next
    double spaceBefore;  // above a heading, except at the top of a page
};

constexpr TextStyle kTitle{"Helvetica-Bold", 2, 20, 28, 0};
constexpr TextStyle kChapter{"Helvetica-Bold", 2, 16, 22, 16};
constexpr TextStyle kSection{"Helvetica-Bold", 2, 12, 17, 8};
constexpr TextStyle kBody{"Helvetica", 0, 11, 15, 0};
constexpr TextStyle kFooter{"Helvetica", 0, 9, 12, 0};
constexpr double kBlockGap = 5;     // after a paragraph or an item
constexpr double kItemIndent = 14;  // the item's text; its dash stands at the margin

class ManualWriter {
public:
    ManualWriter(const std::string& afmFolder, const std::string& path) {
        m_pdf.PDFLoadAfm(afmFolder);
        m_pdf.PDFFileName(path);
        m_pdf.PDFSetUnit(0);
        m_pdf.PDFFormatPage(int32_t(0));
        m_pdf.PDFOrientation(1);
        m_pdf.PDFSetMargins(0, 0);  // the layout below places every line itself
        m_pdf.PDFTitle(kManualTitle);
        m_pdf.PDFAuthor("Sonoquant");
        m_pdf.PDFCreator("mkmanual");
        m_pdf.PDFUseOutlines(true);
        m_pdf.PDFBeginDoc();
        m_pageBottom = m_pdf.PDFGetPageHeight() - kMargin;
        m_measure = m_pdf.PDFGetPageWidth() - 2 * kMargin;
        m_cursor = kMargin;
        line(kTitle, kMargin, kManualTitle);
        m_cursor += kBlockGap * 2;
    }

    // `next` is the block that follows, if any: a heading keeps what comes next with it.
    void add(const Block& block, const Block* next) {
        const bool sectionFollows = next && next->kind == BlockKind::Section;
        switch (block.kind) {
            case BlockKind::Chapter:
                heading(kChapter, 0, block.text, sectionFollows);
                break;
            case BlockKind::Section:
                heading(kSection, 1, block.text, false);
                break;
            case BlockKind::Paragraph:
                text(block.text, 0);
                break;
            case BlockKind::Item:
                text(block.text, kItemIndent);
                break;
        }
    }

    void finish() {
        footer();
        m_pdf.PDFEndDoc();
    }

private:
    double width(const TextStyle& s, const std::string& t) {
        return m_pdf.PDFGetStringWidth(t, s.font, s.size);
    }

    bool atPageTop() const { return m_cursor <= kMargin; }

    // Starts a page when `height` more would pass the bottom margin.
    void makeRoom(double height) {
        if (m_cursor + height <= m_pageBottom || atPageTop()) return;
        footer();
        m_pdf.PDFEndPage();
        m_pdf.PDFNewPage();
        m_cursor = kMargin;
    }

    void line(const TextStyle& s, double x, const std::string& t) {
        makeRoom(s.leading);
        m_pdf.PDFSetFont(0, s.size, s.style);
        double baseline = m_cursor + s.size;
        m_pdf.PDFTextOut(t, x, baseline);
        m_cursor += s.leading;
    }

    // A heading keeps its first line of text with it, and a chapter heading also the section
    // heading that opens it, so that no heading stands alone at the foot of a page.
    void heading(const TextStyle& s, int level, const std::string& t, bool sectionFollows) {
        if (!atPageTop()) m_cursor += s.spaceBefore;
        double keep = s.leading + kBody.leading;
        if (sectionFollows) keep += kSection.spaceBefore + kSection.leading + 2;
        makeRoom(keep);
        m_pdf.PDFSetBookmark(t, level, m_cursor);
        for (const std::string& l :
             breakLines(t, m_measure, [&](const std::string& x) { return width(s, x); }))
            line(s, kMargin, l);
        m_cursor += 2;
    }

    void text(const std::string& t, double indent) {
        const auto lines =
            breakLines(t, m_measure - indent, [&](const std::string& x) { return width(kBody, x); });
        for (size_t i = 0; i < lines.size(); ++i) {
            if (indent > 0 && i == 0) {
                makeRoom(kBody.leading);
                m_pdf.PDFSetFont(0, kBody.size, kBody.style);
                double x = kMargin + 2, baseline = m_cursor + kBody.size;
                m_pdf.PDFTextOut("-", x, baseline);
            }
            line(kBody, kMargin + indent, lines[i]);
        }
        m_cursor += kBlockGap;
    }

    void footer() {
        const std::string number = std::to_string(m_pdf.PDFPageNumber());
        m_pdf.PDFSetFont(0, kFooter.size, kFooter.style);
        double x = (m_pdf.PDFGetPageWidth() - width(kFooter, number)) / 2;
        double baseline = m_pdf.PDFGetPageHeight() - kMargin / 2;
        m_pdf.PDFTextOut(number, x, baseline);
    }

    kdrPDF m_pdf;
    double m_cursor = 0;  // top of the next line
    double m_pageBottom = 0;
    double m_measure = 0;
};

}  // namespace

SourceError::SourceError(int line, const std::string& what) : std::runtime_error(what), m_line(line) {}

std::vector<Block> parseManual(std::string_view source) {
    std::vector<Block> blocks;
    bool continues = false;  // the last block is a paragraph or item that takes further lines
    bool chapterSeen = false;
    int number = 0;
    for (const std::string& raw : splitLines(source)) {
        ++number;
        checkEncodable(raw, number);
        const std::string line = trimmed(raw);
        if (line.empty()) {
            continues = false;
            continue;
        }
        if (line[0] == '#') {
            Block heading{BlockKind::Chapter, "", number};
            if (startsWith(line, "# ")) {
                heading.text = trimmed(line.substr(2));
                chapterSeen = true;
            } else if (startsWith(line, "## ")) {
                heading.kind = BlockKind::Section;
                heading.text = trimmed(line.substr(3));
                if (!chapterSeen) throw SourceError(number, "a section before the first chapter");
            } else {
                throw SourceError(number, "a heading starts with \"# \" or \"## \"");
            }
            if (heading.text.empty()) throw SourceError(number, "a heading without text");
            blocks.push_back(heading);
            continues = false;
            continue;
        }
        if (startsWith(line, "- ")) {
            blocks.push_back({BlockKind::Item, trimmed(line.substr(2)), number});
            continues = true;
            continue;
        }
        if (continues) {
            blocks.back().text += ' ' + line;
            continue;
        }
        blocks.push_back({BlockKind::Paragraph, line, number});
        continues = true;
    }
    return blocks;
}

std::vector<std::string> breakLines(std::string_view text, double measure, const TextWidth& width) {
    std::vector<std::string> lines;
    std::string current;
    for (std::string& word : words(text)) {
        if (current.empty()) {
            current = std::move(word);
            continue;
        }
        std::string candidate = current + ' ' + word;
        if (width(candidate) <= measure) {
            current = std::move(candidate);
        } else {
            lines.push_back(std::move(current));
            current = std::move(word);
        }
    }
    if (!current.empty()) lines.push_back(std::move(current));
    return lines;
}

void writeManual(const std::vector<Block>& blocks, const std::string& afmFolder, const std::string& outPath) {
    namespace fs = std::filesystem;
    for (const char* font : {"Helvetica", "Helvetica-Bold"})
        if (!fileExists(afmFolder + "/" + font + ".afm"))
            throw std::runtime_error("no " + std::string(font) + ".afm in " + afmFolder);
    const fs::path out(outPath);
    if (out.has_parent_path()) fs::create_directories(out.parent_path());
    const std::string part = outPath + ".part";
    try {
        ManualWriter writer(afmFolder, part);
        for (size_t i = 0; i < blocks.size(); ++i)
            writer.add(blocks[i], i + 1 < blocks.size() ? &blocks[i + 1] : nullptr);
        writer.finish();
    } catch (...) {
        std::error_code ignored;
        fs::remove(part, ignored);
        throw;
    }
    fs::rename(part, out);
}

int runMkmanual(const std::vector<std::string>& args, std::ostream& err) {
    if (args.size() != 3) {
        err << "usage: mkmanual SOURCE AFM-FOLDER OUTPUT\n";
        return 2;
    }
    const std::string& source = args[0];
    const std::optional<std::string> bytes = readFileBytes(source, kSourceReadLimit);
    if (!bytes) {
        err << source << ": cannot be read\n";
        return 1;
    }
    try {
        writeManual(parseManual(*bytes), args[1], args[2]);
    } catch (const SourceError& e) {
        err << source << ":" << e.line() << ": " << e.what() << "\n";
        return 1;
    } catch (const VbError& e) {
        err << "mkmanual: the PDF writer failed with error " << e.number() << " (" << e.what() << ")\n";
        return 1;
    } catch (const std::exception& e) {
        err << "mkmanual: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace sq::manual
