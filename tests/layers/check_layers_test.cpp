// scripts/check-layers on copies of the source tree, each changed by one include or link that breaks
// the order of the folders: the check fails on every one, naming the changed file, and passes on
// the unchanged tree. Where the change is one to the CMake files, configuring the changed tree
// fails too.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

// Copies what the check and a configuration read: the source tree without its build trees.
void copySourceTree(const fs::path& from, const fs::path& to) {
    for (auto it = fs::recursive_directory_iterator(from); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path relative = fs::relative(it->path(), from);
        if (it->is_directory()) {
            const std::string name = it->path().filename().string();
            if (name == ".git" || fs::exists(it->path() / "CMakeCache.txt")) {
                it.disable_recursion_pending();
                continue;
            }
            fs::create_directories(to / relative);
        } else if (it->is_regular_file()) {
            fs::copy_file(it->path(), to / relative);
        }
    }
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// One change to one file: `text` inserted right after `after`, or appended when `after` is empty (a
// file that does not exist is created).
struct Change {
    const char* name;
    const char* file;
    const char* after;
    const char* text;
    bool configureRefuses;  // a change to the CMake files, which the configuration refuses as well
};

void PrintTo(const Change& change, std::ostream* out) {
    *out << change.name;
}

void apply(const Change& change, const fs::path& tree) {
    const fs::path path = tree / change.file;
    fs::create_directories(path.parent_path());
    std::string content = fs::exists(path) ? readFile(path) : std::string();
    size_t at = content.size();
    if (*change.after) {
        at = content.find(change.after);
        ASSERT_NE(at, std::string::npos) << change.after << " is not in " << change.file;
        at += std::string(change.after).size();
    }
    content.insert(at, change.text);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

// A line of the root CMakeLists.txt before the libraries are declared.
constexpr const char* kWarnings = "add_compile_options(-Wall -Wextra -Wpedantic -Wno-unused-parameter)\n";

const Change kChanges[] = {
    {"anAngleIncludeOfAFolderAbove", "src/decoder/reply_decoder.cpp", "", "#include <mainwindow/panel.h>\n",
     false},
    {"aQuotedIncludeOfAFolderAbove", "src/decoder/reply_decoder.cpp", "", "#include \"mainwindow/panel.h\"\n",
     false},
    {"anIncludeThroughARelativePath", "src/decoder/reply_decoder.cpp", "",
     "#include \"../mainwindow/panel.h\"\n", false},
    {"anIncludeOfTheControlLayerFromThePlatformFolderBelowIt", "src/platform/dialogs.cpp", "",
     "#include \"ui/window.h\"\n", false},
    {"anIncludeWithSpacesAroundTheHash", "src/settings/setting_window.cpp", "",
     "  #  include <records/data_list_frm.h>\n", false},
    {"anIncludeFromAnHppFile", "src/decoder/extra.hpp", "", "#include \"settings/setting_window.h\"\n",
     false},
    {"anIncludeOfAPeer", "src/texts/language_texts.cpp", "", "#include \"pdf/kdr_pdf.h\"\n", false},
    {"anIncludeOfAFolderBelowThatTheLibraryDoesNotLink", "src/pdf/document.cpp", "",
     "#include \"shared/state.h\"\n", false},
    {"anIncludeThatLeavesTheSourceFolders", "src/decoder/reply_decoder.cpp", "",
     "#include \"../../tests/support/test_support.h\"\n", false},
    {"aFolderMissingFromTheLayerList", "src/extra/extra.h", "", "#pragma once\n", false},
    {"anUpwardLinkInTheTestsCMakeLists", "tests/CMakeLists.txt", "",
     "target_link_libraries(sq_decoder PUBLIC sq_mainwindow)\n", true},
    {"anUpwardLinkInTheProgramsCMakeLists", "app/CMakeLists.txt", "",
     "target_link_libraries(sq_decoder PUBLIC sq_mainwindow)\n", true},
    {"anUpwardLinkWithASpaceBeforeTheLibrary", "CMakeLists.txt", "",
     "target_link_libraries( sq_decoder PUBLIC sq_mainwindow)\n", true},
    {"anUpwardLinkInUpperCaseOverSeveralLines", "CMakeLists.txt", "",
     "TARGET_LINK_LIBRARIES(\n    sq_decoder\n    PUBLIC sq_mainwindow)\n", true},
    {"anUpwardLinkThroughAVariable", "CMakeLists.txt", "",
     "set(LOWER sq_decoder)\ntarget_link_libraries(${LOWER} PUBLIC sq_mainwindow)\n", true},
    {"anUpwardLinkAsAProperty", "tools/metersim/CMakeLists.txt", "",
     "set_property(TARGET sq_decoder APPEND PROPERTY INTERFACE_LINK_LIBRARIES sq_mainwindow)\n", true},
    {"anIncludePathGivenToALibrary", "tests/CMakeLists.txt", "",
     "target_include_directories(sq_decoder PUBLIC \"${CMAKE_SOURCE_DIR}/src\")\n", true},
    {"aDirectoryWideIncludePath", "CMakeLists.txt", kWarnings, "include_directories(src)\n", true},
    {"anIncludePathAsACompilerFlag", "CMakeLists.txt", kWarnings,
     "add_compile_options(-I${CMAKE_SOURCE_DIR}/src)\n", true},
    {"anIncludePathAsAShellFlag", "CMakeLists.txt", kWarnings,
     "add_compile_options(\"SHELL:-I${CMAKE_SOURCE_DIR}/src\")\n", true},
    {"anIncludePathGivenToOneFile", "tests/CMakeLists.txt", "",
     "get_target_property(decoderSources sq_decoder SOURCES)\n"
     "set_property(SOURCE ${decoderSources} TARGET_DIRECTORY sq_decoder APPEND PROPERTY INCLUDE_DIRECTORIES "
     "\"${CMAKE_BINARY_DIR}/include/sq_mainwindow\")\n",
     true},
    {"aLibraryLineThatLinksUpwards", "CMakeLists.txt", "sq_add_library(sq_decoder src/decoder ",
     "sq_records ", true},
    {"aLibraryLineThatLinksAPeer", "CMakeLists.txt", "sq_add_library(sq_pdf src/pdf ", "sq_texts ", false},
    {"aLibraryLineThatLinksThroughAVariable", "CMakeLists.txt", "sq_add_library(sq_decoder src/decoder ",
     "${UPPER} ", false},
};

class CheckLayersTest : public ::testing::TestWithParam<Change> {
protected:
    void SetUp() override {
        tree = sqtest::makeTempDir("tree");
        copySourceTree(SQ_SOURCE_DIR, tree);
    }
    sqtest::ToolResult check() const {
        return sqtest::runTool("bash '" + (tree / "scripts/check-layers").string() + "'");
    }
    // Configures the tree as a build would (tests included, benchmarks left out).
    sqtest::ToolResult configure() const {
        return sqtest::runTool("'" SQ_CMAKE_COMMAND "' -S '" + tree.string() + "' -B '" +
                               (tree / "build").string() + "' -DSQ_BENCH=OFF");
    }

    fs::path tree;
};

TEST_F(CheckLayersTest, theUnchangedTreePassesAndConfigures) {
    const sqtest::ToolResult checked = check();
    EXPECT_EQ(checked.status, 0) << checked.output;
    const sqtest::ToolResult configured = configure();
    EXPECT_EQ(configured.status, 0) << configured.output;
}

TEST_P(CheckLayersTest, failsOnTheChangeAndNamesTheChangedFile) {
    const Change& change = GetParam();
    apply(change, tree);
    const sqtest::ToolResult checked = check();
    EXPECT_NE(checked.status, 0);
    const std::string named = std::string(change.file) + ":";
    EXPECT_TRUE(checked.output.starts_with(named) || checked.output.find("\n" + named) != std::string::npos)
        << checked.output;
    if (!change.configureRefuses) return;
    const sqtest::ToolResult configured = configure();
    EXPECT_NE(configured.status, 0) << "the configuration accepts it";
    // Refused by the libraries' own checks, not by some other failure.
    EXPECT_TRUE(configured.output.find("(sq_check_layer_libraries)") != std::string::npos ||
                configured.output.find("(sq_add_library)") != std::string::npos)
        << configured.output;
}

INSTANTIATE_TEST_SUITE_P(Changes, CheckLayersTest, ::testing::ValuesIn(kChanges),
                         [](const ::testing::TestParamInfo<Change>& info) { return info.param.name; });

}  // namespace
