#pragma once
// Names that are no regular file, as a test makes them: a pipe, a character device node and a
// socket, and what stands at a name, to show that a write left it as it was.
//
// The device node is a node of the device /dev/null is, made in the test's own folder, so that a
// program that wrongly replaced it replaces only the test's node. Making one needs root (CI runs as
// root); makeDeviceNode says false elsewhere, and the test skips those cases with a message.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>

namespace sqtest {

inline bool makeFifo(const std::string& path) {
    return ::mkfifo(path.c_str(), 0600) == 0;
}

inline bool makeDeviceNode(const std::string& path) {
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

inline bool makeSocket(const std::string& path) {
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

inline bool makeLink(const std::string& target, const std::string& path) {
    std::error_code error;
    std::filesystem::create_symlink(target, path, error);
    return !error;
}

inline constexpr const char* kNoDeviceNodes =
    "cases with a device node not run: making one (mknod) needs root";

// What stands at a name itself, links not followed: its kind and, for a device, which device; and
// for a link, where it points.
struct NodeAt {
    mode_t kind = 0;
    dev_t device = 0;
    std::string linkText;
    bool operator==(const NodeAt&) const = default;
};

inline void PrintTo(const NodeAt& node, std::ostream* os) {
    switch (node.kind) {
        case S_IFREG:
            *os << "a regular file";
            break;
        case S_IFDIR:
            *os << "a folder";
            break;
        case S_IFIFO:
            *os << "a pipe";
            break;
        case S_IFSOCK:
            *os << "a socket";
            break;
        case S_IFLNK:
            *os << "a link to " << node.linkText;
            break;
        case S_IFCHR:
            *os << "character device " << major(node.device) << ":" << minor(node.device);
            break;
        default:
            *os << "a node of kind " << node.kind;
            break;
    }
}

inline std::optional<NodeAt> nodeAt(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return std::nullopt;
    NodeAt node{st.st_mode & S_IFMT, S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? st.st_rdev : 0, {}};
    if (S_ISLNK(st.st_mode)) node.linkText = std::filesystem::read_symlink(path).string();
    return node;
}

// Everything in a folder by name, as nodeAt sees it.
inline std::map<std::string, NodeAt> nodesIn(const std::string& dir) {
    std::map<std::string, NodeAt> nodes;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        nodes[entry.path().filename().string()] = *nodeAt(entry.path().string());
    return nodes;
}

}  // namespace sqtest
