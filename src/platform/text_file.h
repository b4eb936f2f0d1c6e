#pragma once
// Whole-file text I/O with the program's conventions: files are Windows-1252, written lines end in
// CR LF, and a reader ends a line at CR LF, at a bare CR or at a bare LF.
#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sq {

// Splits text into lines at CR LF, CR or LF. A final line ending adds no empty line.
std::vector<std::string> splitLines(std::string_view text);

inline constexpr size_t kUnbounded = std::numeric_limits<size_t>::max();

// How much a reader takes from a file. A file beyond a bound is refused whole: larger than
// `maxBytes`, or, read as lines, with a line of more than `maxLineLength` bytes (its line end not
// counted) or more than `maxLines` lines.
struct ReadLimit {
    size_t maxBytes = 0;
    size_t maxLineLength = kUnbounded;
    size_t maxLines = kUnbounded;
};
// The bound of a reader that states none of its own: files the program or a test wrote itself.
inline constexpr ReadLimit kDefaultReadLimit{64u << 20};

// Reads the whole file as bytes; nullopt when it cannot be opened or read, or is refused, with the
// reason in `reason` when one is given: the system's, or the bound the file broke. Only a regular
// file (a link to one included) is read: a pipe, a device or a folder is refused without waiting
// for it. A file that grows while it is read is read as long as it was when opened.
std::optional<std::string> readFileBytes(const std::string& path, const ReadLimit& limit,
                                         std::string* reason = nullptr);
std::optional<std::string> readFileBytes(const std::string& path, std::string* reason = nullptr);
// Reads a Windows-1252 text file into UTF-8 lines; nullopt (and the reason) as readFileBytes.
std::optional<std::vector<std::string>> readTextLines(const std::string& path, const ReadLimit& limit,
                                                      std::string* reason = nullptr);
std::optional<std::vector<std::string>> readTextLines(const std::string& path, std::string* reason = nullptr);

// Writes bytes through a temporary file in the same folder and a rename, so that a failed write
// never leaves a half-written file in place of the old one, nor the temporary file. Returns false
// on failure, with the system's reason in `reason` when one is given.
bool writeFileAtomic(const std::string& path, std::string_view bytes, std::string* reason = nullptr);
// A file written in pieces through a temporary file of its own in the target's folder, renamed over
// the target by commit(): until then the target is untouched, and a writer that fails or is never
// committed removes its temporary file. Once a write failed, later writes do nothing.
//
// The temporary file's name is short and the same length whatever the target's, so every name the
// folder takes can be written. A target that is a link keeps the link: the file it points at is
// replaced. Small writes are gathered in memory, so a failed write shows in failed() at the latest
// when commit() is called.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(std::string_view bytes);
    // Flushes the file to disk and puts it in place; false (with the system's reason) when the file
    // could not be created, written or renamed.
    bool commit(std::string* reason = nullptr);

    // The file could not be created, or a write or the commit failed.
    [[nodiscard]] bool failed() const { return m_error != 0; }
    // The system's error number of that failure; 0 while none happened.
    [[nodiscard]] int error() const { return m_error; }

private:
    void fail(int error);
    void discard();
    void flushBuffer();
    void writeOut(std::string_view bytes);
    std::string m_path;
    std::string m_tmp;
    std::string m_buffer;
    int m_fd = -1;
    int m_error = 0;
};

// Makes every later atomic write fail with this error number, as a full or read-only disk would
// (0: writes work again). For tests, which run as root and cannot make a folder refuse writing.
void setAtomicWriteFault(int error);

// Writes UTF-8 lines as Windows-1252, each ended by CR LF.
bool writeTextLines(const std::string& path, const std::vector<std::string>& lines);

bool fileExists(const std::string& path);
bool dirExists(const std::string& path);

}  // namespace sq
