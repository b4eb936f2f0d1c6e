#include "platform/com_ports.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <optional>
#include <vector>

#include "platform/memory_port.h"
#include "platform/program_folder.h"
#include "platform/text_file.h"

namespace sq {

namespace {

constexpr int kMaxCom = 256;

// A simulator holds an exclusive lock on its entry file for its whole run, so the entry is live
// exactly while taking a shared lock fails. The test lock is released at once.
enum class LockState { Held, Free, Gone };

LockState entryLock(const std::string& entry, struct stat& opened) {
    int fd = ::open(entry.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return LockState::Gone;
    ::fstat(fd, &opened);
    LockState state = LockState::Free;
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) state = errno == EWOULDBLOCK ? LockState::Held : LockState::Gone;
    ::close(fd);  // also releases a test lock
    return state;
}

// Unix 98 pseudo-terminal slaves are character devices of majors 136 to 143.
bool isPseudoTerminal(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned int m = major(st.st_rdev);
    return m >= 136 && m <= 143;
}

// "device-path process-id": the device path, or nothing when the line has another form.
std::optional<std::string> readTextEntry(const std::string& entry) {
    // One short line; anything larger, or what is no longer a regular file, is no entry.
    constexpr ReadLimit kEntryReadLimit{4u << 10};
    const std::optional<std::string> bytes = readFileBytes(entry, kEntryReadLimit);
    if (!bytes) return std::nullopt;
    const std::vector<std::string> lines = splitLines(*bytes);
    std::string line = lines.empty() ? std::string() : lines.front();
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
    size_t blank = line.find_last_of(" \t");
    if (blank == std::string::npos || blank == 0) return std::nullopt;
    std::string pidText = line.substr(blank + 1);
    if (pidText.empty() || pidText.size() > 9) return std::nullopt;
    for (char c : pidText)
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    return line.substr(0, line.find_last_not_of(" \t", blank) + 1);
}

// Removes a stale entry, unless a new one has replaced it since it was looked at.
void removeStaleEntry(const std::string& entry, const struct stat& stale) {
    struct stat now {};
    if (::lstat(entry.c_str(), &now) == 0 && now.st_dev == stale.st_dev && now.st_ino == stale.st_ino)
        ::unlink(entry.c_str());
}

bool entryPath(int n, std::string& devicePath) {
    std::string entry = comPortsFolder() + "/COM" + std::to_string(n);
    struct stat st {};
    if (::lstat(entry.c_str(), &st) != 0) return false;
    if (S_ISLNK(st.st_mode) || S_ISCHR(st.st_mode)) {
        devicePath = entry;
        return true;
    }
    if (!S_ISREG(st.st_mode)) return false;
    std::optional<std::string> device = readTextEntry(entry);
    if (!device) return false;  // not a simulator's entry: the user's file, left alone
    struct stat opened {};
    switch (entryLock(entry, opened)) {
        case LockState::Held:
            if (!isPseudoTerminal(*device)) return false;
            devicePath = *device;
            return true;
        case LockState::Free:
            removeStaleEntry(entry, opened);
            return false;
        case LockState::Gone:
            return false;
    }
    return false;
}

}  // namespace

int comNumberFromName(std::string_view name) {
    if (name.size() < 4 || name.size() > 6) return 0;
    for (int i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return 0;
    int n = 0;
    for (char c : name.substr(3)) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
        n = n * 10 + (c - '0');
    }
    return n >= 1 && n <= kMaxCom ? n : 0;
}

namespace {

// COM numbers in blocks of 32, each block numbering one kind of device from 0.
struct DeviceBlock {
    int firstCom;
    const char* devicePrefix;
};
constexpr int kBlockSize = 32;
constexpr DeviceBlock kDeviceBlocks[] = {{1, "/dev/ttyUSB"}, {33, "/dev/ttyACM"}, {65, "/dev/ttyS"}};

}  // namespace

std::string defaultComDevice(int n) {
    for (const DeviceBlock& block : kDeviceBlocks)
        if (n >= block.firstCom && n < block.firstCom + kBlockSize)
            return block.devicePrefix + std::to_string(n - block.firstCom);
    return {};
}

std::string comPortsFolder() {
    return programPath("ports");
}

ComPortLocation resolveComPort(int n) {
    ComPortLocation where;
    if (n < 1 || n > kMaxCom) return where;
    if (auto pair = MemoryPortPair::find(n)) {
        where.kind = ComPortLocation::Kind::Memory;
        where.memory = std::move(pair);
        return where;
    }
    std::string path;
    if (!entryPath(n, path)) path = defaultComDevice(n);
    if (!path.empty()) {
        where.kind = ComPortLocation::Kind::Device;
        where.devicePath = path;
    }
    return where;
}

namespace {

bool portExists(const ComPortLocation& where) {
    if (where.kind == ComPortLocation::Kind::Memory) return true;
    return where.kind == ComPortLocation::Kind::Device && ::access(where.devicePath.c_str(), F_OK) == 0;
}

}  // namespace

bool comPortExists(int n) {
    return portExists(resolveComPort(n));
}

std::string comPortTable(const ComPortTableWords& words) {
    std::string found;
    for (int n = 1; n <= kMaxCom; ++n) {
        const ComPortLocation where = resolveComPort(n);
        if (!portExists(where)) continue;
        const std::string device =
            where.kind == ComPortLocation::Kind::Memory ? std::string("(in-memory port)") : where.devicePath;
        found += "COM" + std::to_string(n) + "  " + device + "\n";
    }
    std::string table;
    if (!found.empty()) table = words.found + "\n" + found + "\n";
    table += words.numbering + "\nCOMn  " + comPortsFolder() + "/COMn";
    for (const DeviceBlock& block : kDeviceBlocks) {
        const int lastCom = block.firstCom + kBlockSize - 1;
        table += "\nCOM" + std::to_string(block.firstCom) + "-COM" + std::to_string(lastCom) + "  " +
                 block.devicePrefix + "0-" + std::to_string(kBlockSize - 1);
    }
    return table;
}

}  // namespace sq
