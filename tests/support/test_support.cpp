#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <array>
#include <atomic>
#include <cstdio>

#include "platform/vb_error.h"

namespace sqtest {

namespace {
QTemporaryDir& root() {
    static QTemporaryDir dir(QDir::tempPath() + "/sonoquant-test-XXXXXX");
    return dir;
}
}  // namespace

std::string dataHome() {
    return (root().path() + "/data").toStdString();
}

std::string makeTempDir(const std::string& tag) {
    static std::atomic<int> counter{0};
    QString path = root().path() + "/" + QString::fromStdString(tag) + "-" + QString::number(counter++);
    QDir().mkpath(path);
    return path.toStdString();
}

std::string runCommand(const std::string& command) {
    std::string out;
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return out;
    std::array<char, 4096> buf{};
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) out.append(buf.data(), n);
    pclose(pipe);
    return out;
}

int errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const sq::VbError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace sqtest
