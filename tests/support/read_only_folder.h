#pragma once
// A folder that refuses new files while the scope lasts. Its mode goes to read-only; root, whom the
// mode does not stop, gets the refusal from the atomic file writer's fault switch instead, with the
// error a read-only folder gives (EACCES).
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "platform/text_file.h"

namespace sqtest {

class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string folder) : m_folder(std::move(folder)) {
        namespace fs = std::filesystem;
        fs::permissions(m_folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        if (::geteuid() == 0) sq::setAtomicWriteFault(EACCES);
    }
    ~ReadOnlyFolder() {
        sq::setAtomicWriteFault(0);
        std::filesystem::permissions(m_folder, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    std::string m_folder;
};

}  // namespace sqtest
