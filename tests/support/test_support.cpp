#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <atomic>

namespace sqtest {

namespace {
QTemporaryDir& root() {
    static QTemporaryDir dir(QDir::tempPath() + "/sonoquant-test-XXXXXX");
    return dir;
}
}  // namespace

std::string dataHome() { return (root().path() + "/data").toStdString(); }

std::string makeTempDir(const std::string& tag) {
    static std::atomic<int> counter{0};
    QString path = root().path() + "/" + QString::fromStdString(tag) + "-" + QString::number(counter++);
    QDir().mkpath(path);
    return path.toStdString();
}

}  // namespace sqtest
