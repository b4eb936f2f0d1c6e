#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <utility>

#include "platform/encoding.h"

namespace sq {

namespace {

// Calls `take` with each line of `text`, ended at CR LF, a lone CR or LF, until it returns false;
// false then. A final line ending adds no empty line. One pass over the characters.
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
    return refuse(reason, fileErrorText(error));
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
    // Only a regular file ends where its size says: a pipe may wait for a writer for good and a
    // device may never end.
    if (const int error = fileKindError(st)) return refuseError(reason, error);
    // Without waiting, should a pipe have taken the file's place since.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return refuseError(reason, errno);
    std::optional<std::string> bytes;
    if (::fstat(fd, &st) != 0) {
        bytes = refuseError(reason, errno);
    } else if (const int error = fileKindError(st)) {
        bytes = refuseError(reason, error);
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
