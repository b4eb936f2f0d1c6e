#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/encoding.h"

namespace sq {

namespace {

// Calls `take` with each line of `text`, ended at CR LF, CR or LF, until it returns false; false
// then. A final line ending adds no empty line.
// One pass over the characters, with no search per line: Open runs it over every byte of a data
// file of up to 65,535 lines.
template <class Take>
bool forEachLine(std::string_view text, Take&& take) {
    const size_t size = text.size();
    size_t start = 0;
    for (size_t i = 0; i < size; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        if (!take(text.substr(start, i - start))) return false;
        if (c == '\r' && i + 1 < size && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    return start == size || take(text.substr(start));
}

}  // namespace

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    forEachLine(text, [&](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

namespace {
// The process's umask, read once (reading it means setting it).
mode_t fileCreationMask() {
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

}  // namespace

namespace {

// A size as a person states it: "16 MB", "512 KB" or "100 bytes".
std::string sizeText(size_t bytes) {
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MB";
    if (bytes >= (1u << 10) && bytes % (1u << 10) == 0) return std::to_string(bytes >> 10) + " KB";
    return std::to_string(bytes) + " bytes";
}

std::nullopt_t refuse(std::string* reason, std::string text) {
    if (reason) *reason = std::move(text);
    return std::nullopt;
}

std::nullopt_t refuseError(std::string* reason, int error) {
    return refuse(reason, std::strerror(error));
}

// Only a regular file ends where its size says: a pipe may wait for a writer for good and a
// device may never end.
std::optional<std::string> refusedKind(const struct stat& st) {
    if (S_ISREG(st.st_mode)) return std::nullopt;
    return S_ISDIR(st.st_mode) ? std::string(std::strerror(EISDIR)) : std::string("Not a regular file");
}

// The file's bytes up to `size`: fewer when it was cut short meanwhile, never more.
std::optional<std::string> readUpTo(int fd, size_t size, std::string* reason) {
    std::string bytes(size, '\0');
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, bytes.data() + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return refuseError(reason, errno);
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

}  // namespace

std::optional<std::string> readFileBytes(const std::string& path, const ReadLimit& limit,
                                         std::string* reason) {
    // Looked at before it is opened, since opening a pipe or a device may wait or act on it.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return refuseError(reason, errno);
    if (auto refusal = refusedKind(st)) return refuse(reason, *refusal);
    // Without waiting, should a pipe have taken the file's place since.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return refuseError(reason, errno);
    std::optional<std::string> bytes;
    if (::fstat(fd, &st) != 0) {
        bytes = refuseError(reason, errno);
    } else if (auto refusal = refusedKind(st)) {
        bytes = refuse(reason, *refusal);
    } else if (static_cast<uintmax_t>(st.st_size) > limit.maxBytes) {
        bytes = refuse(reason, "File too large (more than " + sizeText(limit.maxBytes) + ")");
    } else {
        bytes = readUpTo(fd, static_cast<size_t>(st.st_size), reason);
    }
    ::close(fd);
    return bytes;
}

std::optional<std::string> readFileBytes(const std::string& path, std::string* reason) {
    return readFileBytes(path, kDefaultReadLimit, reason);
}

namespace {

// splitLines within the line bounds of `limit`, each line converted to UTF-8.
std::optional<std::vector<std::string>> boundedLines(std::string_view text, const ReadLimit& limit,
                                                     std::string* reason) {
    std::vector<std::string> lines;
    std::string refusal;
    const bool whole = forEachLine(text, [&](std::string_view line) {
        if (line.size() > limit.maxLineLength) {
            refusal = "Line " + std::to_string(lines.size() + 1) + " too long (more than " +
                      std::to_string(limit.maxLineLength) + " characters)";
        } else if (lines.size() == limit.maxLines) {
            refusal = "Too many lines (more than " + std::to_string(limit.maxLines) + ")";
        } else {
            lines.push_back(cp1252ToUtf8(line));
        }
        return refusal.empty();
    });
    if (!whole) return refuse(reason, std::move(refusal));
    return lines;
}

}  // namespace

std::optional<std::vector<std::string>> readTextLines(const std::string& path, const ReadLimit& limit,
                                                      std::string* reason) {
    const auto bytes = readFileBytes(path, limit, reason);
    if (!bytes) return std::nullopt;
    return boundedLines(*bytes, limit, reason);
}

std::optional<std::vector<std::string>> readTextLines(const std::string& path, std::string* reason) {
    return readTextLines(path, kDefaultReadLimit, reason);
}

namespace {
int g_atomicWriteFault = 0;
}  // namespace

void setAtomicWriteFault(int error) {
    g_atomicWriteFault = error;
}

namespace {

constexpr size_t kWriteBuffer = 64 * 1024;

// The folder of a path ("." for a bare name) and its last part.
std::pair<std::string, std::string> splitPath(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// The file a link points at, links followed to the end; the path itself when it is no link or its
// link leads nowhere.
std::string fileBehindLinks(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return path;
    std::string target = resolved;
    std::free(resolved);
    return target;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string path) : m_path(fileBehindLinks(path)) {
    if (g_atomicWriteFault != 0) {
        m_error = g_atomicWriteFault;
        return;
    }
    const auto [folder, name] = splitPath(m_path);
    // A name the folder cannot take would fail only at the rename, after all the writing.
    const long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (nameMax > 0 && name.size() > static_cast<size_t>(nameMax)) {
        m_error = ENAMETOOLONG;
        return;
    }
    std::string pattern = (folder == "/" ? std::string() : folder) + "/.sq-XXXXXX";
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0) {
        m_error = errno;
        return;
    }
    m_tmp = pattern;
    ::fchmod(m_fd, 0666 & ~fileCreationMask());
}

AtomicFileWriter::~AtomicFileWriter() {
    discard();
}

void AtomicFileWriter::fail(int error) {
    if (m_error == 0) m_error = error;
    discard();
}

void AtomicFileWriter::discard() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (!m_tmp.empty()) ::unlink(m_tmp.c_str());
    m_tmp.clear();
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

bool AtomicFileWriter::commit(std::string* reason) {
    flushBuffer();
    if (m_fd >= 0 && ::fsync(m_fd) != 0) fail(errno);
    if (m_fd >= 0) {
        const int closed = ::close(m_fd);
        m_fd = -1;
        if (closed != 0) fail(errno);
    }
    if (m_error == 0 && std::rename(m_tmp.c_str(), m_path.c_str()) != 0) fail(errno);
    if (m_error != 0) {
        discard();
        if (reason) *reason = std::strerror(m_error);
        return false;
    }
    m_tmp.clear();  // in place: nothing to remove
    return true;
}

bool writeFileAtomic(const std::string& path, std::string_view bytes, std::string* reason) {
    AtomicFileWriter file(path);
    file.write(bytes);
    return file.commit(reason);
}

bool writeTextLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) {
        out += utf8ToCp1252(l);
        out += "\r\n";
    }
    return writeFileAtomic(path, out);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool dirExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace sq
