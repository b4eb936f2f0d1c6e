#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/encoding.h"

namespace sq {

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

namespace {
bool fail(std::string* reason, int error) {
    if (reason) *reason = std::strerror(error);
    return false;
}
}  // namespace

std::optional<std::string> readFileBytes(const std::string& path, std::string* reason) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        fail(reason, errno);
        return std::nullopt;
    }
    std::string bytes;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            fail(reason, errno);
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return bytes;
}

std::optional<std::vector<std::string>> readTextLines(const std::string& path, std::string* reason) {
    auto bytes = readFileBytes(path, reason);
    if (!bytes) return std::nullopt;
    std::vector<std::string> lines = splitLines(*bytes);
    for (auto& l : lines) l = cp1252ToUtf8(l);
    return lines;
}

bool writeFileAtomic(const std::string& path, std::string_view bytes, std::string* reason) {
    std::string tmp = path + ".tmp-" + std::to_string(::getpid());
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return fail(reason, errno);
    const char* p = bytes.data();
    size_t left = bytes.size();
    int error = 0;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0 && error == 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && std::rename(tmp.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(tmp.c_str());
        return fail(reason, error);
    }
    return true;
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
