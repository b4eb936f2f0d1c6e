#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace sq {

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

}  // namespace sq
