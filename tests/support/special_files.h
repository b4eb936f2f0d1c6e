#pragma once
// Names that are no regular file, as a test makes them: a pipe, a character device node and a
// socket, and what stands at a name, to show that a write left it as it was; and the cases a test
// of a file's name runs through, a pipe or a device node at the name or at the end of a link.
//
// The device node is a node of the device /dev/null is, made in the test's own folder, so that a
// program that wrongly replaced it replaces only the test's node. Making one needs root (CI runs as
// root); makeDeviceNode says false elsewhere, and the test skips those cases with a message.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "support/test_support.h"

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

// Something a test puts at a file's name instead of a regular file. A test's own case type may
// extend it with what the test expects of each case.
struct SpecialFile {
    // Where a reader that waits for a writer to the pipe blocks.
    enum class Pipe { None, AtTheName, InTheFolder };

    std::string what;
    // Makes it at `path`, and what it leads to in the folder `dir`; false when it cannot be made.
    std::function<bool(const std::string& dir, const std::string& path)> make;
    bool device = false;  // made with mknod, which needs root
    Pipe pipe = Pipe::None;

    // The pipe a blocked reader waits on ("" when there is none), for a ReadWatchdog to open.
    std::string pipePath(const std::string& dir, const std::string& path) const {
        switch (pipe) {
            case Pipe::AtTheName:
                return path;
            case Pipe::InTheFolder:
                return dir + "/fifo";
            case Pipe::None:
                break;
        }
        return {};
    }
};

// A pipe, a device node, a link to a pipe and a link to a device node. The links are absolute, so
// that the name may stand in another folder than what it leads to.
inline std::vector<SpecialFile> pipesAndDeviceNodes() {
    using Pipe = SpecialFile::Pipe;
    return {
        {"a pipe", [](auto&, auto& path) { return makeFifo(path); }, false, Pipe::AtTheName},
        {"a device node", [](auto&, auto& path) { return makeDeviceNode(path); }, true},
        {"a link to a pipe",
         [](auto& dir, auto& path) { return makeFifo(dir + "/fifo") && makeLink(dir + "/fifo", path); },
         false, Pipe::InTheFolder},
        {"a link to a device node",
         [](auto& dir, auto& path) { return makeDeviceNode(dir + "/null") && makeLink(dir + "/null", path); },
         true},
    };
}

// The same cases as a test's own case type, which extends SpecialFile with `expected`.
template <class Case, class... Expected>
std::vector<Case> pipesAndDeviceNodesAs(const Expected&... expected) {
    std::vector<Case> cases;
    for (SpecialFile& file : pipesAndDeviceNodes()) cases.push_back(Case{std::move(file), expected...});
    return cases;
}

// Where a case is made: the folder for what it leads to, and the name.
struct SpecialFilePlace {
    std::string dir;
    std::string path;
};

// A fresh folder for each case, with the name `name` in it.
inline std::function<SpecialFilePlace()> freshFolder(const std::string& tag, const std::string& name) {
    return [tag, name] {
        const std::string dir = makeTempDir(tag);
        return SpecialFilePlace{dir, dir + "/" + name};
    };
}

// Makes each case where `place` says and runs `body(case, dir, path)` on it, under the case's name.
// A device node that cannot be made (no root) skips its case, and the test ends skipped, naming
// those cases; any other case that cannot be made fails the test.
template <class Cases, class Body>
void forEachSpecialFile(const Cases& cases, const std::function<SpecialFilePlace()>& place, Body body) {
    std::string skipped;
    for (const auto& c : cases) {
        const SpecialFile& file = c;
        SCOPED_TRACE(file.what);
        const SpecialFilePlace at = place();
        if (!file.make(at.dir, at.path)) {
            ASSERT_TRUE(file.device) << "could not make " << file.what;
            skipped += (skipped.empty() ? "" : ", ") + file.what;
            continue;
        }
        body(c, at.dir, at.path);
    }
    if (!skipped.empty()) GTEST_SKIP() << kNoDeviceNodes << " (" << skipped << ")";
}

}  // namespace sqtest
