#pragma once
// Helpers shared by the test suites.
#include <functional>
#include <string>
#include <string_view>

namespace sqtest {

// A fresh empty folder under the test run's temporary root.
std::string makeTempDir(const std::string& tag = "t");
// Root of the test run's private XDG_DATA_HOME (so programFolder() is <root>/Sonoquant).
std::string dataHome();

// A shell command's exit status (-1 when it could not run or did not exit) and what it wrote, its
// standard output and standard error together.
struct ToolResult {
    int status = -1;
    std::string output;
};
ToolResult runTool(const std::string& command);
// What a shell command wrote, its standard output and standard error together.
std::string runCommand(const std::string& command);

// The number of the error `action` raises; 0 when it raises none.
int errorOf(const std::function<void()>& action);

// A test name made of a case's description: its letters and digits, each word after the first
// starting with a capital ("a link to a pipe" gives "aLinkToAPipe").
std::string caseName(std::string_view what);

}  // namespace sqtest
