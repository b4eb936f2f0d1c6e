#include "platform/program_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

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

std::string resourceFolder() {
    for (const char* candidate : {SQ_BUILD_RESOURCE_DIR, SQ_INSTALL_RESOURCE_DIR})
        if (dirExists(candidate)) return candidate;
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
