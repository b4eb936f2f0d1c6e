#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>  // renameat2 and its flags
#ifndef RENAME_NOREPLACE
#include <linux/fs.h>
#include <sys/syscall.h>
#define SQ_RENAMEAT2_BY_SYSCALL
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <deque>
#include <optional>
#include <random>
#include <utility>

namespace sq {

namespace {

int g_atomicWriteFault = 0;
bool g_namedTemporaryFiles = false;
bool g_unguardedRenames = false;

constexpr size_t kWriteBuffer = 64 * 1024;
// As many links as the system itself follows in one name before it gives up.
constexpr int kMaxLinks = 40;
// How often a rename looks again when the target's name changed under it, before it gives up.
constexpr int kPlaceAttempts = 8;
// A named temporary file: a prefix of the program's own that no user would choose for a file, and
// six letters or digits, as mkostemp makes them.
constexpr std::string_view kTemporaryPrefix = ".sonoquant-tmp-";
constexpr size_t kTemporaryLetters = 6;
constexpr std::string_view kTemporaryAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

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

// Looks at the name a write puts its file at (links already followed): 0 when nothing is there or
// a regular file is, whose status then goes to `existing`; otherwise the error.
int inspectTarget(const std::string& target, std::optional<struct stat>& existing) {
    existing.reset();
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
    if (const int error = fileKindError(st)) return error;
    existing = st;
    return 0;
}

// A link in a folder where anyone may make names but only their owners remove them (sticky and
// world-writable, as /tmp) is followed only when it is the process's own or the folder's owner's:
// another user could have planted it there to turn a privileged write onto a file of their choice.
// The same rule as the system's protected links, applied whatever the system's setting, since the
// writer follows links itself.
int linkFollowError(const std::string& link, const struct stat& linkStatus) {
    if (linkStatus.st_uid == ::geteuid()) return 0;
    struct stat folder {};
    if (::stat(splitPath(link).first.c_str(), &folder) != 0) return errno;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return shared && linkStatus.st_uid != folder.st_uid ? EACCES : 0;
}

// The parts of a path between its slashes, in order; empty parts and "." are dropped.
std::deque<std::string> pathParts(std::string_view path) {
    std::deque<std::string> parts;
    for (size_t at = 0; at <= path.size();) {
        const size_t slash = std::min(path.find('/', at), path.size());
        const std::string_view part = path.substr(at, slash - at);
        if (!part.empty() && part != ".") parts.emplace_back(part);
        at = slash + 1;
    }
    return parts;
}

// The file that a write to `path` puts in place: the name its links lead to, which need not exist
// (a write through a link that leads nowhere creates the file it points at, as a plain write
// would). The path is taken part by part as the system resolves it, so that linkFollowError has its
// say over every link on the way, the folders' links included; what follows a part that cannot be
// looked at (a folder that is missing, say) is left for the write itself to fail on. ELOOP for links
// that lead round in a circle (more than kMaxLinks), EACCES for a link that linkFollowError refuses.
int fileBehindLinks(const std::string& path, std::string& target) {
    if (path.empty()) {
        target = path;
        return 0;
    }
    std::string resolved = path.starts_with('/') ? "/" : "";
    std::deque<std::string> rest = pathParts(path);
    int links = 0;
    auto inResolved = [&resolved](const std::string& part) {
        return resolved.empty() ? part : joinPath(resolved, part);
    };
    while (!rest.empty()) {
        const std::string current = inResolved(rest.front());
        rest.pop_front();
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0) {
            resolved = current;
            break;
        }
        if (!S_ISLNK(st.st_mode)) {
            resolved = current;
            continue;
        }
        if (++links > kMaxLinks) return ELOOP;
        if (const int error = linkFollowError(current, st)) return error;
        const std::optional<std::string> next = readLink(current);
        if (!next) return errno;
        if (next->empty()) return ENOENT;
        if (next->front() == '/') resolved = "/";
        std::deque<std::string> parts = pathParts(*next);
        rest.insert(rest.begin(), parts.begin(), parts.end());
    }
    for (const std::string& part : rest) resolved = inResolved(part);
    target = resolved.empty() ? "." : resolved;
    return 0;
}

// Follows the links of `path` to the name a write puts its file at (`target`) and looks at it: 0
// when nothing is there or a regular file is, whose status then goes to `existing`; otherwise the
// error the write would fail with.
int resolveWriteTarget(const std::string& path, std::string& target, std::optional<struct stat>& existing) {
    existing.reset();
    if (const int error = fileBehindLinks(path, target)) return error;
    return inspectTarget(target, existing);
}

bool isTemporaryName(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + kTemporaryLetters || !name.starts_with(kTemporaryPrefix))
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(kTemporaryPrefix.size()), name.end(),
                       [](char c) { return kTemporaryAlphabet.find(c) != std::string_view::npos; });
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A regular file of this user, untouched for longer than a live writer leaves its file unlocked.
bool mayBeStale(const struct stat& st, time_t now) {
    return S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && now - st.st_mtime > kStaleTemporaryAgeSeconds;
}

// Removes the named temporary file `name` in the folder if a killed writer of this user left it: a
// live writer holds a lock on its file, and the age spares a file whose writer has only just made
// it and not locked it yet. The name is looked at before anything is opened, so only a regular file
// is, and one that took the name meanwhile is left alone.
void removeIfStale(int folderFd, const char* name, time_t now) {
    struct stat seen {};
    if (::fstatat(folderFd, name, &seen, AT_SYMLINK_NOFOLLOW) != 0 || !mayBeStale(seen, now)) return;
    const int fd = ::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) == 0 && sameFile(opened, seen) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::fstatat(folderFd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(named, opened))
        ::unlinkat(folderFd, name, 0);
    ::close(fd);
}

void removeStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(dir))
        if (isTemporaryName(entry->d_name)) removeIfStale(::dirfd(dir), entry->d_name, now);
    ::closedir(dir);
}

std::string procPathOf(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

// A file without a name in `folder` (O_TMPFILE), or -1 with the error in `error`.
int openUnnamed(const std::string& folder, int& error) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    // It gets its name through /proc; without /proc it could never be put in place.
    struct stat st {};
    if (::lstat(procPathOf(fd).c_str(), &st) != 0) {
        ::close(fd);
        error = EOPNOTSUPP;
        return -1;
    }
    return fd;
}

// The errors by which a system or a file system says that it makes no files without a name.
bool lacksUnnamedFiles(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// A named temporary file in `folder`, its name in `name`, or -1 with the error in `error`.
int openNamed(const std::string& folder, std::string& name, int& error) {
    std::string pattern = joinPath(folder, std::string(kTemporaryPrefix) + "XXXXXX");
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    name = std::move(pattern);
    return fd;
}

std::string randomTemporaryName() {
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<size_t> letter(0, kTemporaryAlphabet.size() - 1);
    std::string name(kTemporaryPrefix);
    for (size_t i = 0; i < kTemporaryLetters; ++i) name += kTemporaryAlphabet[letter(random)];
    return name;
}

// Gives the unnamed file `fd` a temporary name in `folder`; 0, or the error.
int nameUnnamed(int fd, const std::string& folder, std::string& name) {
    const std::string source = procPathOf(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = joinPath(folder, randomTemporaryName());
        if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            name = std::move(candidate);
            return 0;
        }
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
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

int renameWith(const std::string& from, const std::string& to, unsigned flags) {
#ifdef SQ_RENAMEAT2_BY_SYSCALL
    return static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), flags));
#else
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), flags);
#endif
}

// The errors by which a system or a file system says that it cannot rename with these flags.
bool lacksGuardedRename(int error) {
    return error == EINVAL || error == ENOSYS;
}

}  // namespace

std::string fileErrorText(int error) {
    return error == kNotRegularFile ? std::string("Not a regular file") : std::string(std::strerror(error));
}

int fileKindError(const struct stat& st) {
    if (S_ISREG(st.st_mode)) return 0;
    return S_ISDIR(st.st_mode) ? EISDIR : kNotRegularFile;
}

int writeTargetError(const std::string& path) {
    std::string target;
    std::optional<struct stat> existing;
    return resolveWriteTarget(path, target, existing);
}

bool isMissing(const std::string& path) {
    std::string target;
    std::optional<struct stat> existing;
    return resolveWriteTarget(path, target, existing) == 0 && !existing;
}

void setAtomicWriteFault(int error) {
    g_atomicWriteFault = error;
}

void setNamedTemporaryFiles(bool named) {
    g_namedTemporaryFiles = named;
}

void setUnguardedRenames(bool unguarded) {
    g_unguardedRenames = unguarded;
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
    std::optional<struct stat> existing;
    if (const int error = resolveWriteTarget(path, m_path, existing)) return fail(error);
    const auto [folder, name] = splitPath(m_path);
    // A name the folder cannot take would fail only at the rename, after all the writing.
    const long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (nameMax > 0 && name.size() > static_cast<size_t>(nameMax)) return fail(ENAMETOOLONG);
    int error = 0;
    if (!g_namedTemporaryFiles) m_fd = openUnnamed(folder, error);
    // Only where temporary files have names can a killed writer have left one.
    if (m_fd < 0 && (g_namedTemporaryFiles || lacksUnnamedFiles(error))) {
        removeStaleTemporaries(folder);
        m_fd = openNamed(folder, m_tmp, error);
    }
    if (m_fd < 0) return fail(error);
    // Marks the file as in use for sweepers; a file system without locks only loses that mark.
    (void)::flock(m_fd, LOCK_EX | LOCK_NB);
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

// The target is looked at again, since a pipe or device may have taken its name meanwhile. The file
// stays open and locked until it has its place, so no sweeper takes it for a killed writer's.
void AtomicFileWriter::putInPlace() {
    std::optional<struct stat> existing;
    if (const int error = inspectTarget(m_path, existing)) return fail(error);
    giveOwnerAndMode(m_fd, existing);
    if (m_tmp.empty()) {
        if (const int error = nameUnnamed(m_fd, splitPath(m_path).first, m_tmp)) return fail(error);
    }
    int error = g_unguardedRenames ? ENOSYS : renameGuarded(existing);
    // Where a rename cannot be guarded, the look above is the last one: whatever takes the name
    // between it and the plain rename is replaced.
    if (lacksGuardedRename(error)) error = ::rename(m_tmp.c_str(), m_path.c_str()) == 0 ? 0 : errno;
    if (error != 0) return fail(error);
    m_tmp.clear();  // the target's name now
    // After fsync has succeeded, closing has nothing left to report.
    ::close(m_fd);
    m_fd = -1;
}

// Puts the temporary file at the target's name so that nothing but a regular file is ever replaced,
// whatever takes the name meanwhile: where nothing stood at the last look, a rename that refuses to
// replace anything; over a regular file, an exchange of the two names, undone when what it took
// away turns out to be something else. 0, or the error: EINVAL or ENOSYS where the system or the
// file system cannot rename so.
int AtomicFileWriter::renameGuarded(std::optional<struct stat> existing) {
    int error = 0;
    for (int attempt = 0; attempt < kPlaceAttempts; ++attempt) {
        const unsigned flags = existing ? RENAME_EXCHANGE : RENAME_NOREPLACE;
        if (renameWith(m_tmp, m_path, flags) == 0) return existing ? dropSwappedOut() : 0;
        error = errno;
        // EEXIST: something took the free name; ENOENT: the old file went. Either way, look again.
        if (error != EEXIST && error != ENOENT) return error;
        if (const int kind = inspectTarget(m_path, existing)) return kind;
        giveOwnerAndMode(m_fd, existing);
    }
    return error;
}

// After an exchange, what stood at the target's name stands at the temporary's. A regular file is
// the old file, and goes. Anything else took the name after the last look: it is put back and the
// write refused.
int AtomicFileWriter::dropSwappedOut() {
    struct stat out {};
    if (::lstat(m_tmp.c_str(), &out) != 0) return 0;  // gone already; the new file is in place
    if (S_ISREG(out.st_mode)) {
        ::unlink(m_tmp.c_str());
        return 0;
    }
    swapBack();
    return fileKindError(out);
}

// Exchanges the names once more, which leaves the new file at the temporary's name to be discarded.
// Should yet another file have taken the target's name from the new one meanwhile, that newcomer
// is put back. Whatever cannot be told to be the new file is not removed: none of it is ours.
void AtomicFileWriter::swapBack() {
    struct stat ours {};
    struct stat back {};
    if (::fstat(m_fd, &ours) != 0 || renameWith(m_tmp, m_path, RENAME_EXCHANGE) != 0 ||
        ::lstat(m_tmp.c_str(), &back) != 0) {
        m_tmp.clear();
        return;
    }
    if (sameFile(back, ours)) return;
    (void)renameWith(m_tmp, m_path, RENAME_EXCHANGE);
    m_tmp.clear();
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
