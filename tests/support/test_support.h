#pragma once
// Helpers shared by the test suites.
#include <string>

namespace sqtest {

// A fresh empty folder under the test run's temporary root.
std::string makeTempDir(const std::string& tag = "t");
// Root of the test run's private XDG_DATA_HOME (so programFolder() is <root>/Sonoquant).
std::string dataHome();

}  // namespace sqtest
