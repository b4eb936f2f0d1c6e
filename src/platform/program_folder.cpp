#include "platform/program_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "platform/text_file.h"

namespace sq {

std::string programFolder() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return (base + "/Sonoquant").toStdString();
}

std::string programPath(const std::string& relative) {
    std::string rel = relative;
    for (char& c : rel)
        if (c == '\\') c = '/';
    while (!rel.empty() && rel.front() == '/') rel.erase(rel.begin());
    return programFolder() + "/" + rel;
}

std::string resourceFolderBesideProgram() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return (program.parent_path() / SQ_RESOURCE_DIR_FROM_PROGRAM).lexically_normal().string();
}

std::string resourceFolder() {
    // Beside the running program first: an installed program finds the resources of its own prefix
    // wherever it was installed, and a program in the build tree finds the build's.
    for (const std::string& candidate : {resourceFolderBesideProgram(), std::string(SQ_BUILD_RESOURCE_DIR),
                                         std::string(SQ_INSTALL_RESOURCE_DIR)})
        if (!candidate.empty() && dirExists(candidate)) return candidate;
    return SQ_BUILD_RESOURCE_DIR;
}

std::string ensureProgramFolder() {
    QString root = QString::fromStdString(programFolder());
    QDir().mkpath(root);
    for (const char* sub : {"bin", "PDF", "ports"}) QDir(root).mkpath(sub);
    QString source = QString::fromStdString(resourceFolder());
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QString file = it.next();
        QString rel = QDir(source).relativeFilePath(file);
        QString target = root + "/" + rel;
        if (QFileInfo::exists(target)) continue;
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
        QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                     QFile::ReadOther);
    }
    return programFolder();
}

}  // namespace sq
