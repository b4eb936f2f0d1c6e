#include "platform/com_ports.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <fstream>
#include <sstream>

#include "platform/memory_port.h"
#include "platform/program_folder.h"

namespace sq {

namespace {

constexpr int kMaxCom = 256;

bool processAlive(long pid) {
    if (pid <= 0) return false;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) return false;
    // A zombie still answers kill(); it has given up its pseudo-terminal all the same.
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return true;
    size_t close = line.rfind(')');
    return close == std::string::npos || close + 2 >= line.size() || line[close + 2] != 'Z';
}

// "device-path pid" -> the path while the process lives. Nothing for a malformed entry.
enum class EntryState { Live, Stale, Malformed };

EntryState readTextEntry(const std::string& entry, std::string& devicePath) {
    std::ifstream in(entry);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
    size_t blank = line.find_last_of(" \t");
    if (blank == std::string::npos || blank == 0) return EntryState::Malformed;
    std::string pidText = line.substr(blank + 1);
    if (pidText.empty() || pidText.size() > 9) return EntryState::Malformed;
    for (char c : pidText)
        if (!std::isdigit(static_cast<unsigned char>(c))) return EntryState::Malformed;
    devicePath = line.substr(0, line.find_last_not_of(" \t", blank) + 1);
    return processAlive(std::stol(pidText)) ? EntryState::Live : EntryState::Stale;
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
    switch (readTextEntry(entry, devicePath)) {
        case EntryState::Live:
            return true;
        case EntryState::Stale:
            ::unlink(entry.c_str());
            return false;
        case EntryState::Malformed:
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

std::string defaultComDevice(int n) {
    if (n >= 1 && n <= 32) return "/dev/ttyUSB" + std::to_string(n - 1);
    if (n >= 33 && n <= 64) return "/dev/ttyACM" + std::to_string(n - 33);
    if (n >= 65 && n <= 96) return "/dev/ttyS" + std::to_string(n - 65);
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

bool comPortExists(int n) {
    ComPortLocation where = resolveComPort(n);
    if (where.kind == ComPortLocation::Kind::Memory) return true;
    return where.kind == ComPortLocation::Kind::Device && ::access(where.devicePath.c_str(), F_OK) == 0;
}

}  // namespace sq
