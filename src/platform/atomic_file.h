#pragma once
// Writing a file whole or not at all. A write goes to a temporary file in the target's folder that
// is renamed over the target once complete, and it only ever replaces a regular file or puts a file
// where none is: a device, a pipe, a socket or a folder at the name is refused and left as it is.
#include <optional>
#include <string>
#include <string_view>

struct stat;

namespace sq {

// A named temporary file older than this, unlocked, is one that a killed writer left behind.
inline constexpr int kStaleTemporaryAgeSeconds = 5 * 60;

// The error number of a write refused because its target is neither missing nor a regular file (a
// device, a pipe, a socket): beyond the system's numbers, with the text "Not a regular file".
inline constexpr int kNotRegularFile = 0x10000;
// The text of a file error number: the system's own, or that of kNotRegularFile.
[[nodiscard]] std::string fileErrorText(int error);

// The error of opening a file of this kind as a regular file: 0 for a regular file, EISDIR for a
// folder, kNotRegularFile for anything else.
[[nodiscard]] int fileKindError(const struct stat& st);

// 0 when a write to `path` may go ahead: nothing is there, or a regular file, reached through links
// or not. Otherwise the error the write would fail with: kNotRegularFile, EISDIR, ELOOP or the
// system's reason why the name cannot be looked at.
[[nodiscard]] int writeTargetError(const std::string& path);
// Nothing is at `path`, nor at the end of the links it names: a write there creates a file.
[[nodiscard]] bool isMissing(const std::string& path);

// Writes bytes through a temporary file and a rename, so that a failed write never leaves a
// half-written file in place of the old one, nor the temporary file. Returns false on failure, with
// the reason in `reason` when one is given.
bool writeFileAtomic(const std::string& path, std::string_view bytes, std::string* reason = nullptr);

// A file written in pieces through a temporary file of its own in the target's folder, renamed over
// the target by commit(): until then the target is untouched, and a writer that fails or is never
// committed removes its temporary file. Once a write failed, later writes do nothing.
//
// The target is refused when it is neither missing nor a regular file, both when the writer is made
// and at commit(). Nor can anything else that takes the name during the write be replaced: the
// file is put in place with renameat2, without replacing anything where nothing stood at the last
// look (RENAME_NOREPLACE), and over a regular file by exchanging the two names (RENAME_EXCHANGE),
// which is undone, refusing the write, when what came away is not a regular file. Where the system
// or the file system refuses those flags (EINVAL, ENOSYS), a plain rename follows a last look at
// the name, and one gap remains: something that takes the name between that look and the rename
// is replaced. A target that is a link keeps the link: the file it points at is replaced, or
// created when the link leads nowhere. A link in a sticky, world-writable folder (such as /tmp),
// the target's own or one standing for a folder on its way, is followed only when it belongs to
// the process's effective user or to the folder's owner, whatever the system's own setting for such
// links; another user's is refused with EACCES. The new file
// keeps the old one's mode, and its owner and group where the process may set them; a new file
// gets the mode a plain create gives.
//
// The temporary file has no name where the file system allows it (O_TMPFILE): it disappears with
// the process, however that ends. Elsewhere it is named ".sonoquant-tmp-" and six letters or
// digits, and is locked while its writer lives; such a writer first removes the files so named in
// its folder that are regular files of the same user, unlocked and older than
// kStaleTemporaryAgeSeconds: those that killed writers left. It looks at each name before it opens
// anything, so it never opens a pipe or a device. Either way the temporary file's name is short and
// of fixed length, so every name the folder takes can be written. Small writes are gathered in
// memory, so a failed write shows in failed() at the latest when commit() is called.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(std::string_view bytes);
    // Flushes the file to disk and puts it in place; false (with the reason) when the file could
    // not be created, written or put in place.
    bool commit(std::string* reason = nullptr);

    // The target was refused, the file could not be created, or a write or the commit failed.
    [[nodiscard]] bool failed() const { return m_error != 0; }
    // The error number of that failure (the system's, or kNotRegularFile); 0 while none happened.
    [[nodiscard]] int error() const { return m_error; }

private:
    void open(const std::string& path);
    void putInPlace();
    int renameGuarded(std::optional<struct stat> existing);
    int dropSwappedOut();
    void swapBack();
    void fail(int error);
    void discard();
    void flushBuffer();
    void writeOut(std::string_view bytes);
    std::string m_path;  // the file to replace, links followed
    std::string m_tmp;   // the temporary file's name, empty while it has none
    std::string m_buffer;
    int m_fd = -1;
    int m_error = 0;
};

// Makes every later atomic write fail with this error number, as a full or read-only disk would
// (0: writes work again). For tests, which run as root and cannot make a folder refuse writing.
void setAtomicWriteFault(int error);
// Makes later writers use named temporary files, as on a file system without unnamed ones (false:
// unnamed where possible again). For tests.
void setNamedTemporaryFiles(bool named);
// Makes later writers put their files in place by a last look and a plain rename, as on a file
// system that cannot guard a rename (false: guarded where possible again). For tests.
void setUnguardedRenames(bool unguarded);

}  // namespace sq
