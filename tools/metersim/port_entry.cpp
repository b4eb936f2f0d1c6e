#include "metersim/port_entry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <map>
#include <sstream>
#include <thread>

#include "platform/program_folder.h"
#include "platform/text_file.h"

namespace sq::metersim {

namespace {

// One short line; anything larger, a pipe or a device is no entry.
constexpr ReadLimit kEntryReadLimit{4u << 10};

struct TextEntry {
    std::string device;
    long long pid = 0;
};

// The entries this process has claimed, by COM number, with the descriptor that holds the lock.
std::map<int, int>& heldEntries() {
    static std::map<int, int> held;
    return held;
}

// Reads a "device-path process-id" entry; false when the file is anything else.
bool readTextEntry(const std::string& path, TextEntry& out) {
    auto bytes = readFileBytes(path, kEntryReadLimit);
    if (!bytes) return false;
    auto lines = splitLines(*bytes);
    if (lines.empty()) return false;
    std::istringstream in(lines[0]);
    if (!(in >> out.device >> out.pid) || out.pid <= 0) return false;
    std::string rest;
    return !(in >> rest);
}

// Whether a running simulator holds the entry's lock. The program takes a shared lock for an
// instant whenever it looks at an entry, so a refusal is tried again for a moment before it counts.
bool lockIsHeld(const std::string& path) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return false;
        const bool got = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        ::close(fd);
        if (got) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// A new file holding `line`, locked before anyone can see it under the entry's name.
int writeLockedFile(const std::string& path, const std::string& line) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        ::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
        ::close(fd);
        ::unlink(path.c_str());
        return -1;
    }
    return fd;
}

bool sameFile(int fd, const std::string& path) {
    struct stat mine {
    }, named{};
    return ::fstat(fd, &mine) == 0 && ::lstat(path.c_str(), &named) == 0 && mine.st_dev == named.st_dev &&
           mine.st_ino == named.st_ino;
}

// Puts the locked file `fresh` under the entry's name unless an entry there must stay.
bool installEntry(const std::string& fresh, const std::string& path, std::string& message) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (::link(fresh.c_str(), path.c_str()) == 0) {
                message = "wrote " + path;
                return true;
            }
            if (errno == EEXIST) continue;  // another entry appeared meanwhile: look at it
            break;
        }
        TextEntry old;
        if (!S_ISREG(st.st_mode) || !readTextEntry(path, old)) {
            message = path + " exists and is not a simulator entry; remove it first";
            return false;
        }
        if (lockIsHeld(path)) {
            message = path + " belongs to process " + std::to_string(old.pid) + " (" + old.device +
                      "), which is still running";
            return false;
        }
        if (::rename(fresh.c_str(), path.c_str()) == 0) {
            message =
                "wrote " + path + " (replaced a stale entry of process " + std::to_string(old.pid) + ")";
            return true;
        }
        break;
    }
    message = "cannot write " + path;
    return false;
}

}  // namespace

std::string portEntryPath(int com) {
    return programPath("ports/COM" + std::to_string(com));
}

bool claimPortEntry(int com, const std::string& device, std::string& message) {
    releasePortEntry(com);
    ensureProgramFolder();
    const std::string path = portEntryPath(com);
    const std::string fresh = path + ".new-" + std::to_string(getpid());
    ::unlink(fresh.c_str());
    int fd = writeLockedFile(fresh, device + " " + std::to_string(getpid()) + "\r\n");
    if (fd < 0) {
        message = "cannot write " + path;
        return false;
    }
    const bool installed = installEntry(fresh, path, message);
    ::unlink(fresh.c_str());  // after a link the entry keeps the file; after a rename it is gone
    if (!installed) {
        ::close(fd);
        return false;
    }
    heldEntries()[com] = fd;
    return true;
}

void releasePortEntry(int com) {
    auto it = heldEntries().find(com);
    if (it == heldEntries().end()) return;
    const std::string path = portEntryPath(com);
    // Removed while still locked, so the program never sees our entry unlocked.
    if (sameFile(it->second, path)) ::unlink(path.c_str());
    ::close(it->second);
    heldEntries().erase(it);
}

}  // namespace sq::metersim
