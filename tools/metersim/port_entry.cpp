#include "metersim/port_entry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sstream>

#include "platform/program_folder.h"
#include "platform/text_file.h"

namespace sq::metersim {

namespace {

struct TextEntry {
    std::string device;
    pid_t pid = 0;
};

// Reads a "device-path process-id" entry; false when the file is anything else.
bool readTextEntry(const std::string& path, TextEntry& out) {
    auto bytes = readFileBytes(path);
    if (!bytes) return false;
    auto lines = splitLines(*bytes);
    if (lines.empty()) return false;
    std::istringstream in(lines[0]);
    long long pid = 0;
    if (!(in >> out.device >> pid) || pid <= 0) return false;
    std::string rest;
    if (in >> rest) return false;
    out.pid = static_cast<pid_t>(pid);
    return true;
}

}  // namespace

std::string portEntryPath(int com) {
    return programPath("ports/COM" + std::to_string(com));
}

bool processAlive(pid_t pid) {
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

bool claimPortEntry(int com, const std::string& device, std::string& message) {
    std::string path = portEntryPath(com);
    struct stat st {};
    std::string replaced;
    if (lstat(path.c_str(), &st) == 0) {
        TextEntry old;
        if (!S_ISREG(st.st_mode) || !readTextEntry(path, old)) {
            message = path + " exists and is not a simulator entry; remove it first";
            return false;
        }
        if (processAlive(old.pid) && old.pid != getpid()) {
            message = path + " belongs to process " + std::to_string(old.pid) + " (" + old.device +
                      "), which is still running";
            return false;
        }
        replaced = " (replaced a stale entry of process " + std::to_string(old.pid) + ")";
    }
    ensureProgramFolder();
    if (!writeTextLines(path, {device + " " + std::to_string(getpid())})) {
        message = "cannot write " + path;
        return false;
    }
    message = "wrote " + path + replaced;
    return true;
}

void releasePortEntry(int com) {
    std::string path = portEntryPath(com);
    TextEntry entry;
    if (readTextEntry(path, entry) && entry.pid == getpid()) std::remove(path.c_str());
}

}  // namespace sq::metersim
