#include "support/test_support.h"

#include <sys/wait.h>

#include <QDir>
#include <QTemporaryDir>
#include <array>
#include <atomic>
#include <cctype>
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

ToolResult runTool(const std::string& command) {
    ToolResult result;
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buf{};
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) result.output.append(buf.data(), n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string runCommand(const std::string& command) {
    return runTool(command).output;
}

int errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const sq::VbError& e) {
        return e.number();
    }
    return 0;
}

std::string caseName(std::string_view what) {
    std::string name;
    bool upper = false;
    for (const char ch : what) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c)) {
            name += upper ? static_cast<char>(std::toupper(c)) : ch;
            upper = false;
        } else {
            upper = true;
        }
    }
    return name;
}

}  // namespace sqtest
