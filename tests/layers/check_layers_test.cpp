// Copies of the source tree, each changed to reach a folder above or beside its own in one way: the
// configuration, or the build of the library the change is in, fails and names what changed. The
// unchanged tree configures and its libraries build.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

// Copies what a configuration reads: the source tree without its build trees.
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

// One edit of one file: `text` inserted right after `after`, or appended when `after` is empty (a
// file that does not exist is created). A link edit makes `file` a symbolic link to `text` instead.
struct Edit {
    const char* file;
    const char* after;
    const char* text;
    bool link = false;
};

// A change of the tree. With a target, the change configures and the build of the target fails;
// without, the configuration fails. Either way the output names `named`.
struct Change {
    const char* name;
    std::vector<Edit> edits;
    const char* target;
    const char* named;
};

// Applies edits to a tree and, on revert(), puts back what they changed.
class EditedTree {
public:
    explicit EditedTree(fs::path root) : m_root(std::move(root)) {}

    void apply(const Edit& edit) {
        const fs::path path = m_root / edit.file;
        if (!m_saved.count(path))
            m_saved[path] =
                fs::exists(fs::symlink_status(path)) ? std::optional(readFile(path)) : std::nullopt;
        fs::create_directories(path.parent_path());
        if (edit.link) {
            fs::create_symlink(edit.text, path);
            return;
        }
        std::string content = fs::exists(path) ? readFile(path) : std::string();
        size_t at = content.size();
        if (*edit.after) {
            at = content.find(edit.after);
            ASSERT_NE(at, std::string::npos) << edit.after << " is not in " << edit.file;
            at += std::string(edit.after).size();
        }
        content.insert(at, edit.text);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    }

    void revert() {
        for (const auto& [path, content] : m_saved) {
            fs::remove(path);
            if (content) std::ofstream(path, std::ios::binary) << *content;
        }
        m_saved.clear();
    }

private:
    fs::path m_root;
    std::map<fs::path, std::optional<std::string>> m_saved;
};

// A plain, quick configuration: no optimisation, no sanitizer, no benchmarks.
sqtest::ToolResult configure(const fs::path& tree) {
    return sqtest::runTool("'" SQ_CMAKE_COMMAND "' -S '" + tree.string() + "' -B '" +
                           (tree / "build").string() + "' -DCMAKE_BUILD_TYPE= -DSQ_BENCH=OFF");
}

sqtest::ToolResult build(const fs::path& tree, const std::string& target) {
    const unsigned jobs = std::max(2u, std::thread::hardware_concurrency());
    return sqtest::runTool("'" SQ_CMAKE_COMMAND "' --build '" + (tree / "build").string() + "' --target " +
                           target + " -j" + std::to_string(jobs));
}

// The words of a text with single spaces between them, as CMake wraps its messages at any space.
std::string words(const std::string& text) {
    std::istringstream in(text);
    std::string out;
    for (std::string word; in >> word;) out += (out.empty() ? "" : " ") + word;
    return out;
}

// Refused by the layer check, naming what changed, and not by some other failure.
void expectRefused(const Change& change, const sqtest::ToolResult& result) {
    EXPECT_NE(result.status, 0) << "accepted";
    const std::string output = words(result.output);
    EXPECT_NE(output.find(words(change.named)), std::string::npos) << result.output;
    EXPECT_NE(output.find("depend only downwards"), std::string::npos) << result.output;
}

// Lines of the root CMakeLists.txt before the libraries are declared, and after them.
constexpr const char* kWarnings = "add_compile_options(-Wall -Wextra -Wpedantic -Wno-unused-parameter)\n";
constexpr const char* kAfterTheLibraries = "add_subdirectory(app)\n";

constexpr const char* kPlatformSource = "src/platform/dialogs.cpp";
constexpr const char* kDecoderSource = "src/decoder/reply_decoder.cpp";

// Includes, each refused by the build of the library the changed source belongs to.
const Change kIncludes[] = {
    {"anIncludeOfAFolderAbove",
     {{kPlatformSource, "", "#include \"shared/window_names.h\"\n"}},
     "sq_platform",
     kPlatformSource},
    {"anIncludeThroughARelativePath",
     {{kPlatformSource, "", "#include \"../shared/window_names.h\"\n"}},
     "sq_platform",
     kPlatformSource},
    {"anIncludeThroughASymbolicLinkBesideTheFile",
     {{"src/platform/window_names.h", "", "../shared/window_names.h", true},
      {kPlatformSource, "", "#include \"window_names.h\"\n"}},
     "sq_platform",
     "src/platform/window_names.h"},
    {"anIncludeThroughALinkedFolderBesideTheFile",
     {{"src/platform/linked", "", "../shared", true},
      {kPlatformSource, "", "#include \"linked/window_names.h\"\n"}},
     "sq_platform",
     kPlatformSource},
    {"anIncludeAcrossALineSplice",
     {{kPlatformSource, "", "#\\\ninclude \"shared/window_names.h\"\n"}},
     "sq_platform",
     kPlatformSource},
    {"anIncludeWrittenAsADigraph",
     {{kPlatformSource, "", "%:include \"shared/window_names.h\"\n"}},
     "sq_platform",
     kPlatformSource},
    {"anIncludeOfTheControlLayerFromThePlatformFolderBelowIt",
     {{kPlatformSource, "", "#include \"ui/grid_store.h\"\n"}},
     "sq_platform",
     kPlatformSource},
    {"anAngleIncludeOfAFolderAbove",
     {{kDecoderSource, "", "#include <mainwindow/poll_loop.h>\n"}},
     "sq_decoder",
     kDecoderSource},
    {"anIncludeWithSpacesAroundTheHash",
     {{kDecoderSource, "", "  #  include \"records/grid_editing.h\"\n"}},
     "sq_decoder",
     kDecoderSource},
    {"anIncludeOfAPeer",
     {{"src/texts/language_texts.cpp", "", "#include \"pdf/kdr_pdf.h\"\n"}},
     "sq_texts",
     "src/texts/language_texts.cpp"},
    {"anIncludeOfAFolderBelowThatTheLibraryDoesNotLink",
     {{"src/pdf/document.cpp", "", "#include \"shared/state.h\"\n"}},
     "sq_pdf",
     "src/pdf/document.cpp"},
};

// Changes of the CMake files, refused by the configuration unless they name a target.
const Change kCMakeChanges[] = {
    {"anUpwardLinkInTheTestsCMakeLists",
     {{"tests/CMakeLists.txt", "", "target_link_libraries(sq_decoder PUBLIC sq_mainwindow)\n"}},
     nullptr,
     "sq_decoder links sq_mainwindow"},
    {"anUpwardLinkInTheProgramsCMakeLists",
     {{"app/CMakeLists.txt", "", "target_link_libraries(sq_decoder PUBLIC sq_mainwindow)\n"}},
     nullptr,
     "sq_decoder links sq_mainwindow"},
    {"anUpwardLinkThroughAVariable",
     {{"CMakeLists.txt", "",
       "set(LOWER sq_decoder)\ntarget_link_libraries(${LOWER} PUBLIC sq_mainwindow)\n"}},
     nullptr,
     "sq_decoder links sq_mainwindow"},
    {"anUpwardLinkAsAProperty",
     {{"tools/metersim/CMakeLists.txt", "",
       "set_property(TARGET sq_decoder APPEND PROPERTY INTERFACE_LINK_LIBRARIES sq_mainwindow)\n"}},
     nullptr,
     "sq_decoder links sq_mainwindow"},
    {"aLibraryLineThatLinksUpwards",
     {{"CMakeLists.txt", "sq_add_library(sq_decoder src/decoder ", "sq_records "}},
     nullptr,
     "sq_decoder links sq_records"},
    {"aLibraryLineThatLinksAPeer",
     {{"CMakeLists.txt", "sq_add_library(sq_pdf src/pdf ", "sq_texts "}},
     nullptr,
     "sq_pdf links sq_texts"},
    {"anAliasNamedLikeASystemLibraryThatLinksUpwards",
     {{"CMakeLists.txt", kAfterTheLibraries,
       "add_library(wrap INTERFACE)\ntarget_link_libraries(wrap INTERFACE sq_settings)\n"
       "add_library(PkgConfig::WRAP ALIAS wrap)\n"},
      {"CMakeLists.txt", "sq_add_library(sq_recordmodel src/recordmodel ", "PkgConfig::WRAP "}},
     nullptr,
     "sq_recordmodel -> PkgConfig::WRAP -> sq_settings"},
    {"aQtTargetThatLinksUpwards",
     {{"CMakeLists.txt", kAfterTheLibraries, "target_link_libraries(Qt6::Core INTERFACE sq_settings)\n"}},
     nullptr,
     "sq_platform -> Qt6::Core -> sq_settings"},
    {"aTargetImportedInTheTestsFolderOnly",
     {{"tests/CMakeLists.txt", "",
       "add_library(hidden INTERFACE IMPORTED)\ntarget_link_libraries(hidden INTERFACE sq_settings)\n"
       "target_link_libraries(sq_recordmodel PUBLIC hidden)\n"}},
     nullptr,
     "links hidden"},
    {"theObjectsOfAnotherLibraryAddedInALoop",
     {{"CMakeLists.txt", "",
       "foreach(t sq_recordmodel)\n    target_sources(${t} PRIVATE "
       "$<TARGET_OBJECTS:sq_settings>)\nendforeach()\n"}},
     nullptr,
     "sq_recordmodel is compiled from $<TARGET_OBJECTS:sq_settings>"},
    {"aSourceOfAnotherFolder",
     {{"tests/CMakeLists.txt", "",
       "target_sources(sq_recordmodel PRIVATE ${CMAKE_SOURCE_DIR}/src/settings/window_rules.cpp)\n"}},
     nullptr,
     "src/settings/window_rules.cpp"},
    {"anObjectLibraryOfAnotherFolder",
     {{"CMakeLists.txt", kAfterTheLibraries,
       "add_library(moved OBJECT src/settings/window_rules.cpp)\n"
       "target_link_libraries(sq_recordmodel PRIVATE moved)\n"}},
     nullptr,
     "src/settings/window_rules.cpp"},
    // Last: it changes the flags of every object, after which the whole tree would be rebuilt.
    {"anIncludePathAsACompilerFlag",
     {{"CMakeLists.txt", kWarnings, "add_compile_options(--include-directory=${CMAKE_SOURCE_DIR}/src)\n"},
      {kPlatformSource, "", "#include \"shared/window_names.h\"\n"}},
     "sq_platform",
     kPlatformSource},
};

// Checks one change of an unchanged, configured and built tree, then puts the tree back.
void check(const fs::path& tree, const Change& change) {
    SCOPED_TRACE(change.name);
    EditedTree edited(tree);
    for (const Edit& edit : change.edits) edited.apply(edit);
    if (change.target) {
        expectRefused(change, build(tree, change.target));
        // A failed check fails again on the next build rather than counting as done.
        expectRefused(change, build(tree, change.target));
    } else {
        expectRefused(change, configure(tree));
    }
    edited.revert();
}

// One tree serves every case: each is undone before the next, and only what it changed is rebuilt.
TEST(CheckLayersTest, theUnchangedTreeBuildsAndEachReachUpwardsFailsNamingWhatChanged) {
    const fs::path tree = sqtest::makeTempDir("tree");
    copySourceTree(SQ_SOURCE_DIR, tree);
    const sqtest::ToolResult configured = configure(tree);
    ASSERT_EQ(configured.status, 0) << configured.output;
    // The libraries the include cases change, and those below them.
    const sqtest::ToolResult built = build(tree, "sq_decoder sq_pdf");
    ASSERT_EQ(built.status, 0) << built.output;

    for (const Change& change : kIncludes) check(tree, change);
    for (const Change& change : kCMakeChanges) check(tree, change);
}

}  // namespace
