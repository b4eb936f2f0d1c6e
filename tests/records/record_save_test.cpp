// The record list window's "save": the dialog and its filter, the written file, failures that leave
// nothing behind, the progress caption, and a save that other events interrupt.
#include "records/record_save.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <vector>

#include "mainwindow/panel_fixture.h"
#include "platform/text_file.h"
#include "platform/ui/hourglass.h"
#include "records/record_window_fixture.h"
#include "support/file_size_limit.h"
#include "support/special_files.h"
#include "support/test_support.h"

namespace sq {
namespace {

namespace fs = std::filesystem;

RecordCopy copyOf(DataListFrm& f) {
    return {shared().DeviceModel, GridCopy(f.GridUserInfo), GridCopy(f.QVX410Grid),
            GridCopy(f.QVX410PointGrid)};
}

std::set<std::string> filesIn(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
    return names;
}

class RecordSaveTest : public sqtest::RecordWindowTest {
protected:
    void SetUp() override {
        RecordWindowTest::SetUp();
        dir = sqtest::makeTempDir("save");
        DataListFrm& f = frm();
        addPoints(f.QVX410PointGrid, 35);
        f.GridUserInfo.setTextMatrix(0, 1, "Zo\u00E9");
    }
    void save(std::optional<std::string> path, int filter = 1) {
        dialogs->fileAnswers.push_back(std::move(path));
        dialogs->filterAnswers.push_back(filter);
        frm().Toolbar1.click("save");
    }
    // What every way out of "save" gives back.
    void expectRestored() {
        EXPECT_EQ(frm().Caption(), "DataList");
        EXPECT_FALSE(SaveFileChosen());
        EXPECT_TRUE(timer1.enabled());
        EXPECT_TRUE(timer2.enabled());
        EXPECT_FALSE(hourglassShown());
        EXPECT_FALSE(frm().Busy);
    }
    std::string dir;
};

TEST_F(RecordSaveTest, aCancelledDialogWritesNothing) {
    const auto before = filesIn(programFolder());
    save(std::nullopt);
    ASSERT_EQ(dialogs->fileRequests.size(), 1u);
    const FileDialogRequest& shown = dialogs->fileRequests[0];
    EXPECT_EQ(shown.initialDir, programFolder());
    EXPECT_EQ(shown.fileName, "QVX 410");
    EXPECT_EQ(shown.filter, kSaveDataFilter);
    EXPECT_EQ(shown.filterIndex, 1);
    EXPECT_EQ(filesIn(programFolder()), before);
    EXPECT_TRUE(dialogs->messages().empty());
    expectRestored();
}

TEST_F(RecordSaveTest, theSecondFilterWritesCsvAndTheOthersADataFileUnderTheNameAsGiven) {
    for (auto [filter, separator] :
         {std::pair{1, kDataFileSeparator}, {2, kCsvSeparator}, {3, kDataFileSeparator}}) {
        SCOPED_TRACE(filter);
        const std::string path = dir + "/record" + std::to_string(filter);
        save(path, filter);
        EXPECT_EQ(readFileBytes(path), recordFileBytes(copyOf(frm()), separator));
        expectRestored();
    }
    EXPECT_EQ(filesIn(dir), (std::set<std::string>{"record1", "record2", "record3"}));

    frm().GridUserInfo.setTextMatrix(1, 1, "second");
    save(dir + "/record1");
    EXPECT_EQ(readFileBytes(dir + "/record1"), recordFileBytes(copyOf(frm()), kDataFileSeparator));
    EXPECT_EQ(filesIn(dir).size(), 3u);
}

TEST_F(RecordSaveTest, withoutASupportedModelNothingIsWritten) {
    shared().DeviceModel = "XYZ 1";
    save(dir + "/x.qvx");
    EXPECT_FALSE(fs::exists(dir + "/x.qvx"));
    expectRestored();
}

using sqtest::withFileSizeLimit;

TEST_F(RecordSaveTest, aFailedWriteIsReportedAndLeavesNoPartialFileAndTheOldOneUntouched) {
    fs::create_directory(dir + "/folder");
    ASSERT_TRUE(writeFileAtomic(dir + "/old.qvx", "old bytes"));
    struct Case {
        const char* name;
        std::string path;
        int error;
        bool disk = false;
    };
    const std::vector<Case> cases = {
        {"missing folder", dir + "/missing/a.qvx", ENOENT},
        {"a folder", dir + "/folder", EISDIR},
        {"disk full over an old file", dir + "/old.qvx", EFBIG, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs->clear();
        if (c.disk)
            withFileSizeLimit(64, [&] { save(c.path); });
        else
            save(c.path);
        const auto messages = dialogs->messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, "Save Error !!!\n" + c.path + "\n" + std::strerror(c.error));
        EXPECT_EQ(messages[0].icon, MsgIcon::Critical);
        EXPECT_EQ(filesIn(dir), (std::set<std::string>{"folder", "old.qvx"}));
        EXPECT_TRUE(fs::is_empty(dir + "/folder"));
        EXPECT_EQ(readFileBytes(dir + "/old.qvx"), std::optional<std::string>("old bytes"));
        expectRestored();

        // A later save whose dialog is cancelled never writes to the failed name.
        save(std::nullopt);
        EXPECT_EQ(dialogs->messages().size(), 1u);
        EXPECT_EQ(filesIn(dir), (std::set<std::string>{"folder", "old.qvx"}));
    }
}

// A pipe or a device node chosen in the dialog, itself or through links, is never replaced by the
// record (as root, /dev/null typed in the dialog would have been): the save says why and leaves
// everything as it was. A link that leads nowhere gets the file it points at, as a plain write would.
TEST_F(RecordSaveTest, aSaveOverAPipeOrADeviceNodeIsRefusedAndLeavesItAsItIs) {
    using namespace sqtest;
    struct Case : SpecialFile {
        std::string reason;  // empty: the file the link points at is written
    };
    std::vector<Case> cases = pipesAndDeviceNodesAs<Case>(std::string("Not a regular file"));
    cases.push_back({{"links in a circle",
                      [](auto& folder, auto& path) {
                          return makeLink("b", path) && makeLink("record.qvx", folder + "/b");
                      }},
                     std::strerror(ELOOP)});
    cases.push_back(
        {{"a link that leads nowhere", [](auto&, auto& path) { return makeLink("new.qvx", path); }}, ""});
    const auto expectSaveOrRefusal = [&](const Case& c, const std::string& folder, const std::string& path) {
        dialogs->clear();
        const auto before = nodesIn(folder);
        save(path);
        expectRestored();
        if (c.reason.empty()) {
            EXPECT_TRUE(dialogs->messages().empty());
            EXPECT_EQ(nodeAt(path), before.at("record.qvx"));
            EXPECT_EQ(readFileBytes(folder + "/new.qvx"), recordFileBytes(copyOf(frm()), kDataFileSeparator));
            return;
        }
        ASSERT_EQ(dialogs->messages().size(), 1u);
        EXPECT_EQ(dialogs->messages()[0].text, "Save Error !!!\n" + path + "\n" + c.reason);
        EXPECT_EQ(nodesIn(folder), before);
    };
    forEachSpecialFile(cases, freshFolder("special", "record.qvx"), expectSaveOrRefusal);
}

TEST_F(RecordSaveTest, theCaptionShowsTheProgressAtPassesAndTheToolbarWaits) {
    const int64_t total = recordCellCount(copyOf(frm()));
    std::string captionInPass;
    bool busyInPass = false;
    EventPacer::setTestHook(1, [&] {
        captionInPass = frm().Caption();
        busyInPass = frm().Busy;
        frm().Toolbar1.click("save");  // does nothing while the save runs
        frm().Toolbar1.click("Plot");
        EXPECT_TRUE(hourglassShown());
        EXPECT_FALSE(timer1.enabled());
    });
    save(dir + "/p.qvx");
    EXPECT_EQ(captionInPass, progressCaption(2, total, "Completed"));  // after the first row of two cells
    EXPECT_TRUE(busyInPass);
    EXPECT_EQ(dialogs->fileRequests.size(), 1u);
    EXPECT_FALSE(frm().SSpSelectItem.Visible());
    EXPECT_TRUE(fs::exists(dir + "/p.qvx"));
    expectRestored();
}

// The whole program with the simulated instrument: events served in the middle of a save change the
// window, never the file.
class SaveReentryTest : public sqtest::PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(startFresh());
        dir = sqtest::makeTempDir("reentry");
        DataListFrm& f = form<DataListFrm>();
        sqtest::addPointRows(f.QVX410PointGrid, 1234);
        f.GridUserInfo.setTextMatrix(3, 1, "ACME, Inc.");
    }
    void TearDown() override {
        EventPacer::setTestHook(0, {});
        PanelTest::TearDown();
    }
    void saveWith(uint64_t call, std::function<void()> event) {
        dialogs->fileAnswers.push_back(dir + "/r.csv");
        dialogs->filterAnswers.push_back(2);
        EventPacer::setTestHook(call, std::move(event));
        form<DataListFrm>().Toolbar1.click("save");
    }
    std::string dir;
};

TEST_F(SaveReentryTest, anUnloadMidSaveLeavesTheFileWholeAndBringsNoWindowBack) {
    const std::string expected = recordFileBytes(copyOf(form<DataListFrm>()), kCsvSeparator);
    saveWith(100, [&] { panel->CheckFlage(); });
    EXPECT_EQ(readFileBytes(dir + "/r.csv"), expected);
    EXPECT_EQ(windows().find(DataListFrm::kName), nullptr);
    EXPECT_EQ(flags().DataListFrmOpen, kFalse);
    EXPECT_TRUE(dialogs->messages().empty());
    wait(0.5);  // the unloaded window is deleted; nothing refers to it any more
    EXPECT_EQ(windows().pendingDeletes(), 0u);
    EXPECT_EQ(windows().find(DataListFrm::kName), nullptr);
    EXPECT_TRUE(panel->Timer1.enabled());
    EXPECT_FALSE(hourglassShown());
}

TEST_F(SaveReentryTest, pointsDeletedMidSaveStayInTheFile) {
    DataListFrm& f = form<DataListFrm>();
    const std::string expected = recordFileBytes(copyOf(f), kCsvSeparator);
    saveWith(600, [&] {
        f.QVX410PointGrid.clickCell(1, 0);
        f.QVX410PointGrid.extendTo(1000, 5);
        f.QVX410PointGrid.pressKey(Qt::Key_Backspace, 8);
    });
    EXPECT_EQ(f.QVX410PointGrid.Rows(), 235);
    EXPECT_EQ(readFileBytes(dir + "/r.csv"), expected);
    EXPECT_EQ(f.Caption(), "DataList");
    EXPECT_FALSE(f.Busy);
}

}  // namespace
}  // namespace sq
