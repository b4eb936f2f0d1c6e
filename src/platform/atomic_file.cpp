#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

namespace sq {

namespace {

int g_atomicWriteFault = 0;

constexpr size_t kWriteBuffer = 64 * 1024;
// As many links as the system itself follows in one name before it gives up.
constexpr int kMaxLinks = 40;

// The process's umask, read once (reading it means setting it).
mode_t fileCreationMask() {
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

// The folder of a path ("." for a bare name) and its last part.
std::pair<std::string, std::string> splitPath(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::string joinPath(const std::string& folder, std::string_view name) {
    return (folder == "/" ? std::string() : folder) + "/" + std::string(name);
}

// The text of a link; nullopt (errno set) when it cannot be read.
std::optional<std::string> readLink(const std::string& path) {
    std::string text(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink(path.c_str(), text.data(), text.size());
        if (n < 0) return std::nullopt;
        if (static_cast<size_t>(n) < text.size()) {
            text.resize(static_cast<size_t>(n));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

int kindError(const struct stat& st) {
    if (S_ISREG(st.st_mode)) return 0;
    return S_ISDIR(st.st_mode) ? EISDIR : kNotRegularFile;
}

// Looks at the name a write puts its file at (links already followed): 0 when nothing is there or
// a regular file is, whose status then goes to `existing`; otherwise the error.
int inspectTarget(const std::string& target, std::optional<struct stat>& existing) {
    existing.reset();
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
    if (const int error = kindError(st)) return error;
    existing = st;
    return 0;
}

// The old file's owner and group where the process may give them (only root gives a file away; a
// member of the old group may still give it that group), and its mode, less the set-id bits of an
// owner or group that could not be kept. A new file gets the mode a plain create gives.
void giveOwnerAndMode(int fd, const std::optional<struct stat>& old) {
    if (!old) {
        ::fchmod(fd, 0666 & ~fileCreationMask());
        return;
    }
    mode_t mode = old->st_mode & 07777;
    if (::fchown(fd, old->st_uid, old->st_gid) != 0) {
        mode &= ~S_ISUID;
        if (::fchown(fd, static_cast<uid_t>(-1), old->st_gid) != 0) mode &= ~S_ISGID;
    }
    ::fchmod(fd, mode);
}

}  // namespace

std::string fileErrorText(int error) {
    return error == kNotRegularFile ? std::string("Not a regular file") : std::string(std::strerror(error));
}

int fileBehindLinks(const std::string& path, std::string& target) {
    std::string current = path;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            target = std::move(current);
            return 0;
        }
        const std::optional<std::string> next = readLink(current);
        if (!next) return errno;
        if (next->empty()) return ENOENT;
        current = next->front() == '/' ? *next : joinPath(splitPath(current).first, *next);
    }
    return ELOOP;
}

int writeTargetError(const std::string& path) {
    std::string target;
    if (const int error = fileBehindLinks(path, target)) return error;
    std::optional<struct stat> existing;
    return inspectTarget(target, existing);
}

void setAtomicWriteFault(int error) {
    g_atomicWriteFault = error;
}

AtomicFileWriter::AtomicFileWriter(std::string path) {
    if (g_atomicWriteFault != 0) {
        m_error = g_atomicWriteFault;
        return;
    }
    open(path);
}

AtomicFileWriter::~AtomicFileWriter() {
    discard();
}

void AtomicFileWriter::open(const std::string& path) {
    if (const int error = fileBehindLinks(path, m_path)) return fail(error);
    std::optional<struct stat> existing;
    if (const int error = inspectTarget(m_path, existing)) return fail(error);
    const auto [folder, name] = splitPath(m_path);
    // A name the folder cannot take would fail only at the rename, after all the writing.
    const long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (nameMax > 0 && name.size() > static_cast<size_t>(nameMax)) return fail(ENAMETOOLONG);
    std::string pattern = joinPath(folder, ".sq-XXXXXX");
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0) return fail(errno);
    m_tmp = pattern;
}

void AtomicFileWriter::fail(int error) {
    if (m_error == 0) m_error = error;
    discard();
}

void AtomicFileWriter::discard() {
    if (!m_tmp.empty()) ::unlink(m_tmp.c_str());
    m_tmp.clear();
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_buffer.clear();
}

void AtomicFileWriter::write(std::string_view bytes) {
    if (m_fd < 0) return;
    if (m_buffer.size() + bytes.size() <= kWriteBuffer) {
        m_buffer.append(bytes);
        return;
    }
    flushBuffer();
    if (bytes.size() >= kWriteBuffer)
        writeOut(bytes);
    else if (m_fd >= 0)
        m_buffer.append(bytes);
}

void AtomicFileWriter::flushBuffer() {
    writeOut(m_buffer);
    m_buffer.clear();
}

void AtomicFileWriter::writeOut(std::string_view bytes) {
    while (m_fd >= 0 && !bytes.empty()) {
        ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            fail(n < 0 ? errno : ENOSPC);
            return;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
}

// The target is looked at again, since a pipe or device may have taken its name meanwhile. Until
// then the temporary file has the private mode it was made with.
void AtomicFileWriter::putInPlace() {
    std::optional<struct stat> existing;
    if (const int error = inspectTarget(m_path, existing)) return fail(error);
    giveOwnerAndMode(m_fd, existing);
    const int closed = ::close(m_fd);
    m_fd = -1;
    if (closed != 0) return fail(errno);
    if (std::rename(m_tmp.c_str(), m_path.c_str()) != 0) return fail(errno);
    m_tmp.clear();  // the target's name now
}

bool AtomicFileWriter::commit(std::string* reason) {
    flushBuffer();
    if (m_fd < 0 && m_error == 0) m_error = EBADF;  // committed before
    if (m_fd >= 0 && ::fsync(m_fd) != 0) fail(errno);
    if (m_fd >= 0) putInPlace();
    if (m_error == 0) return true;
    discard();
    if (reason) *reason = fileErrorText(m_error);
    return false;
}

bool writeFileAtomic(const std::string& path, std::string_view bytes, std::string* reason) {
    AtomicFileWriter file(path);
    file.write(bytes);
    return file.commit(reason);
}

}  // namespace sq
