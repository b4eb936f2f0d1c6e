// The build's side of the order of the folders: a library's include path reaches the headers of its
// own folder and of the folders it links, and no other, so an include written "folder/file.h" or
// <folder/file.h> that breaks the order does not compile. An include the compiler finds beside the
// including file (a relative path) is scripts/check-layers' to refuse.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Each library's include path as the build gives it (its own and those its links bring).
std::map<std::string, std::vector<std::string>> includePaths() {
    std::map<std::string, std::vector<std::string>> paths;
    std::ifstream in(SQ_LAYER_INCLUDE_PATHS);
    std::string library, list;
    while (in >> library >> list) {
        std::istringstream dirs(list);
        for (std::string dir; std::getline(dirs, dir, '|');) paths[library].push_back(dir);
    }
    return paths;
}

bool reaches(const std::vector<std::string>& path, const std::string& header) {
    for (const std::string& dir : path)
        if (std::filesystem::exists(std::filesystem::path(dir) / header)) return true;
    return false;
}

TEST(IncludePathsTest, aLibraryReachesTheHeadersOfItsOwnFolderAndOfTheFoldersItLinksOnly) {
    const auto paths = includePaths();
    struct Case {
        const char* library;
        const char* header;
        bool reached;
    };
    const Case cases[] = {
        {"sq_platform", "platform/dialogs.h", true},
        {"sq_platform", "platform/ui/window.h", false},  // the control layer is a folder inside it
        {"sq_ui", "platform/ui/window.h", true},
        {"sq_ui", "platform/dialogs.h", true},
        {"sq_ui", "shared/state.h", false},
        {"sq_texts", "pdf/kdr_pdf.h", false},  // a peer
        {"sq_pdf", "shared/state.h", false},   // below, but not linked
        {"sq_decoder", "decoder/reply_decoder.h", true},
        {"sq_decoder", "texts/language_texts.h", true},
        {"sq_decoder", "link/requests.h", false},
        {"sq_decoder", "mainwindow/panel.h", false},
        {"sq_reports", "records/data_list_frm.h", false},
        {"sq_records", "reports/plot.h", true},
        {"sq_mainwindow", "records/data_list_frm.h", true},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(paths.count(c.library)) << c.library;
        EXPECT_EQ(reaches(paths.at(c.library), c.header), c.reached) << c.library << " " << c.header;
    }
}

}  // namespace
