#pragma once
// The user manual, from its plain-text source to a PDF written with the program's own writer.
//
// Source format (UTF-8): "# " starts a chapter, "## " a section, "- " an item; other lines are
// paragraph text. An empty line ends a paragraph or an item; a line that follows without an empty
// line continues it. Every character must be one that Windows-1252 holds.
#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sq::manual {

enum class BlockKind { Chapter, Section, Paragraph, Item };

struct Block {
    BlockKind kind = BlockKind::Paragraph;
    std::string text;  // lines joined with single blanks
    int line = 0;      // where it starts in the source, 1 = first
    bool operator==(const Block&) const = default;
};

// A fault of the source, with the line it stands on.
class SourceError : public std::runtime_error {
public:
    SourceError(int line, const std::string& what);
    [[nodiscard]] int line() const { return m_line; }

private:
    int m_line;
};

// Raises SourceError for a character Windows-1252 cannot hold or a heading mark it does not know.
[[nodiscard]] std::vector<Block> parseManual(std::string_view source);

// Breaks a text into lines no wider than `measure` by the given measure of a text, at blanks only:
// words are kept whole, and a word wider than the measure stands alone on its line.
using TextWidth = std::function<double(const std::string&)>;
[[nodiscard]] std::vector<std::string> breakLines(std::string_view text, double measure,
                                                  const TextWidth& width);

// The document's title, as the viewer shows it.
inline constexpr const char* kManualTitle = "Sonoquant - User manual";

// Writes the manual: A4 portrait, 2 cm margins, Helvetica 11 with bold headings, every heading a
// bookmark (chapters level 0, sections level 1), the page number centred at the foot. The file
// appears only when it is complete. Raises std::runtime_error (or the writer's VbError) on failure.
void writeManual(const std::vector<Block>& blocks, const std::string& afmFolder, const std::string& outPath);

// The command: mkmanual SOURCE AFM-FOLDER OUTPUT. Returns the exit status; errors go to `err`,
// naming the source line where the source is at fault.
int runMkmanual(const std::vector<std::string>& args, std::ostream& err);

}  // namespace sq::manual
