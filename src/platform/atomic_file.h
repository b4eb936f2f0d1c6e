#pragma once
// Writing a file whole or not at all: through a temporary file in the target's folder that is
// renamed over the target once complete.
#include <string>
#include <string_view>

namespace sq {

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

}  // namespace sq
