// The main window's Open command filling the file list window, and the whole round trip: a record
// downloaded from the simulated instrument, edited, saved, and opened again.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <optional>

#include "mainwindow/panel_fixture.h"
#include "platform/text_file.h"
#include "recordmodel/data_file.h"
#include "records/data_list_frm.h"
#include "records/file_list_frm.h"
#include "records/record_expectations.h"
#include "records/record_window_fixture.h"
#include "support/read_watchdog.h"
#include "support/scoped_language.h"
#include "support/test_support.h"

namespace sq {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows cellsOf(const FlexGrid& g) {
    Rows rows;
    for (int r = 0; r < g.Rows(); ++r) {
        rows.emplace_back();
        for (int c = 0; c < g.Cols(); ++c) rows.back().push_back(g.TextMatrix(r, c));
    }
    return rows;
}

FileListFrm* fileList() {
    return dynamic_cast<FileListFrm*>(windows().find(FileListFrm::kName));
}

class OpenCommandTest : public sqtest::PanelTest {
protected:
    void open(const std::string& path) {
        dialogs->fileAnswers.push_back(path);
        panel->Toolbar1.click("Open");
    }
    std::string writeFile(const std::string& name, const std::string& bytes) {
        if (dir.empty()) dir = sqtest::makeTempDir("open");
        EXPECT_TRUE(writeFileAtomic(dir + "/" + name, bytes));
        return dir + "/" + name;
    }
    std::string dir;
};

const std::string kBody =
    "\r\nInformation\r\nEvaluator\tZo\xE9\t\r\n\r\nHeaderData\r\n\tD1\tD2\tD3\t\r\nThreshold\t80 dB\t70 "
    "dB\t0 dB\t\r\n"
    "\r\n\r\nRecordData\r\nNo.s\tDate/Time\t\r\n1\tp1\t61.0 dB\t\r\n2\tp2\t--\t\r\n";

// Without an instrument the program is idle, so the models are the test's to set.
TEST_F(OpenCommandTest, aFileIsShownOnlyWhenItsModelOrTheInstrumentsIsSupported) {
    startPort = 0;
    start();
    struct Case {
        const char* deviceModel;
        const char* previousFileModel;
        std::optional<std::string> line0;  // nullopt: an empty file
        bool windowOpen;
    };
    std::vector<Case> cases;
    for (const char* device : {"QVX 410", ""})
        for (const char* previous : {"", "RAV 820", "XYZ 9"})
            for (const auto& line0 : {std::optional<std::string>("KM-300"),
                                      std::optional<std::string>("ABC 1"), std::optional<std::string>()})
                for (bool windowOpen : {false, true}) cases.push_back({device, previous, line0, windowOpen});

    for (const Case& c : cases) {
        const bool filled = c.line0 && (*c.line0 == "KM-300" || std::string(c.deviceModel) == "QVX 410");
        SCOPED_TRACE(std::string(c.deviceModel) + " / " + c.previousFileModel + " / " +
                     c.line0.value_or("(empty)") + (c.windowOpen ? " / open" : ""));
        windows().unload(FileListFrm::kName);
        shared().DeviceModel = c.deviceModel;
        shared().FileModel = "QVX 410";
        if (c.windowOpen) {
            FileListFrm& old = form<FileListFrm>();
            old.Show();
            old.GridRecord.AddItem("old row");
        }
        shared().FileModel = c.previousFileModel;
        const std::string path = writeFile("f.qvx", c.line0 ? *c.line0 + "\r\n" + kBody : "");
        bool pausedWhileLoading = false;
        windows().registerWindow(FileListFrm::kName, [&] {
            pausedWhileLoading = !panel->Timer1.enabled();
            return std::make_unique<FileListFrm>();
        });
        const std::string caption = panel->Caption();
        dialogs->clear();
        open(path);
        EXPECT_TRUE(panel->Timer1.enabled());
        EXPECT_EQ(panel->Caption(), caption);
        if (!filled) {
            // Told why, so that nobody takes the cells still shown for this file's.
            const std::string why = c.line0 ? "Model " + *c.line0 + " is not supported" : "No data in file";
            EXPECT_EQ(dialogs->messageTexts(),
                      std::vector<std::string>{"Open Error !!!\n" + path + "\n" + why});
            EXPECT_EQ(shared().FileModel, c.previousFileModel);
            EXPECT_EQ(fileList() != nullptr, c.windowOpen);
            if (c.windowOpen) {
                EXPECT_EQ(fileList()->GridRecord.TextMatrix(1, 0), "old row");
            }
            continue;
        }
        EXPECT_TRUE(dialogs->messages().empty());
        EXPECT_EQ(shared().FileModel, *c.line0);
        ASSERT_NE(fileList(), nullptr);
        FileListFrm& f = *fileList();
        EXPECT_TRUE(pausedWhileLoading);
        EXPECT_TRUE(f.Visible());
        EXPECT_TRUE(f.SSPQVX410.Visible());
        EXPECT_EQ(cellsOf(f.FileUserInfoGrid), (Rows{{"Evaluator", "Zo\u00E9"}}));
        EXPECT_EQ(cellsOf(f.GridHeader),
                  (Rows{{"", "D1", "D2", "D3"}, {"Threshold", "80 dB", "70 dB", "0 dB"}}));
        EXPECT_EQ(f.GridHeader.FixedRows(), 1);
        EXPECT_EQ(cellsOf(f.GridRecord), (Rows{{"No.s", "Date/Time", "LAVG", "Leq", "LCPK", "LZPK"},
                                               {"1", "p1", "61.0 dB", "", "", ""},
                                               {"2", "p2", "--", "", "", ""}}));
    }
}

TEST_F(OpenCommandTest, anUnreadableFileIsReportedAndChangesNothing) {
    startPort = 0;
    start();
    shared().DeviceModel = "QVX 410";
    shared().FileModel = "RAV 820";
    bool pausedAtMessage = false;
    dialogs->onMessage = [&](const MessageRequest&) { pausedAtMessage = !panel->Timer1.enabled(); };
    const std::string gone = sqtest::makeTempDir("gone") + "/vanished.qvx";
    open(gone);
    const auto messages = dialogs->messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Open Error !!!\n" + gone + "\n" + std::strerror(ENOENT));
    EXPECT_EQ(messages[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(pausedAtMessage);
    EXPECT_TRUE(panel->Timer1.enabled());
    EXPECT_EQ(shared().FileModel, "RAV 820");
    EXPECT_EQ(fileList(), nullptr);

    dialogs->clear();
    panel->Toolbar1.click("Open");  // cancelled: no message
    EXPECT_TRUE(dialogs->messages().empty());
}

// A point section of `points` rows under its title row, as a data file holds it.
std::string pointSection(int points) {
    std::string text = "RecordData\r\nNo.s\tDate/Time\t\r\n";
    for (int n = 1; n <= points; ++n) text += std::to_string(n) + "\tp\t61.0 dB\t\r\n";
    return text;
}

// A file that would show nothing, or more than a record holds, or that is no file to read at all,
// is refused with the reason; the window keeps the file opened before, and polling goes on. A pipe
// or a link to a device never holds the program up, and nothing unbounded is read.
TEST_F(OpenCommandTest, aFileThatWouldShowNothingOrTooMuchIsRefusedAndTheOldFileStaysShown) {
    startPort = 0;
    start();
    open(writeFile("good.qvx", "QVX 410\r\n" + kBody));
    ASSERT_NE(fileList(), nullptr);
    const FileListFrm* shown = fileList();
    const Rows points = cellsOf(fileList()->GridRecord), header = cellsOf(fileList()->GridHeader);
    ASSERT_EQ(points.size(), 3u);

    const std::string fifo = dir + "/fifo.qvx";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string zero = dir + "/zero.qvx";
    std::filesystem::create_symlink("/dev/zero", zero);
    const std::string large = writeFile("large.qvx", "QVX 410\r\n" + kBody);
    std::filesystem::resize_file(large, (16u << 20) + 1);
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {fifo, "Not a regular file"},
        {zero, "Not a regular file"},
        {writeFile("empty.qvx", ""), "No data in file"},
        {writeFile("model.qvx", "QVX 410\r\n"), "No data in file"},
        {writeFile("stray.qvx", "QVX 410\r\n\r\n\r\nstray\tx\t\r\n"), "No data in file"},
        {writeFile("other.qvx", "XYZ 9\r\n" + kBody), "Model XYZ 9 is not supported"},
        {writeFile("junk.qvx", std::string(60, 'J') + "\r\n" + kBody),
         "Model " + std::string(40, 'J') + "... is not supported"},
        {writeFile("65536.qvx", "QVX 410\r\n\r\n" + pointSection(65536)), "More than 65535 points"},
        {writeFile("lines.qvx", "QVX 410\r\n" + kBody + std::string(140000, '\n')),
         "Too many lines (more than 131072)"},
        {writeFile("line.qvx", "QVX 410\r\n\r\nRecordData\r\nNo.s\r\n" + std::string(70000, 'x') + "\t\r\n"),
         "Line 5 too long (more than 65536 characters)"},
        {large, "File too large (more than 16 MB)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        dialogs->clear();
        bool pausedAtMessage = false;
        dialogs->onMessage = [&](const MessageRequest&) { pausedAtMessage = !panel->Timer1.enabled(); };
        {
            const sqtest::ReadWatchdog guard("Open " + c.path, c.path == fifo ? fifo : "");
            open(c.path);
        }
        const auto messages = dialogs->messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, "Open Error !!!\n" + c.path + "\n" + c.reason);
        EXPECT_EQ(messages[0].icon, MsgIcon::Critical);
        EXPECT_TRUE(pausedAtMessage);
        EXPECT_TRUE(panel->Timer1.enabled());
        EXPECT_EQ(shared().FileModel, "QVX 410");
        ASSERT_EQ(fileList(), shown);
        EXPECT_EQ(cellsOf(fileList()->GridRecord), points);
        EXPECT_EQ(cellsOf(fileList()->GridHeader), header);
    }

    // The largest record a file can hold opens.
    dialogs->clear();
    open(writeFile("65535.qvx", "QVX 410\r\n\r\n" + pointSection(65535)));
    EXPECT_TRUE(dialogs->messages().empty());
    ASSERT_NE(fileList(), nullptr);
    EXPECT_EQ(fileList()->GridRecord.Rows(), 65536);
    EXPECT_EQ(fileList()->GridRecord.TextMatrix(65535, 0), "65535");
}

// Each Open starts the reader afresh: lines before a file's first keyword go nowhere, even after a
// file that ended in the point section.
// The reasons Open gives are the language's.
TEST_F(OpenCommandTest, theRefusalIsToldInTheLoadedLanguage) {
    startPort = 0;
    start();
    const sqtest::ScopedLanguage language(
        "Deutsch",
        "Open Error !!!\\\326ffnen fehlgeschlagen !!!\r\nNo data in file\\Keine Daten in der Datei\r\n"
        "Model %1 is not supported\\Modell %1 wird nicht unterst\xFCtzt\r\n");
    const std::string empty = writeFile("empty.qvx", "");
    const std::string other = writeFile("other.qvx", "XYZ 9\r\n" + kBody);
    for (const std::string& path : {empty, other}) open(path);
    EXPECT_EQ(
        dialogs->messageTexts(),
        (std::vector<std::string>{
            "\u00d6ffnen fehlgeschlagen !!!\n" + empty + "\nKeine Daten in der Datei",
            "\u00d6ffnen fehlgeschlagen !!!\n" + other + "\nModell XYZ 9 wird nicht unterst\u00fctzt"}));
}

TEST_F(OpenCommandTest, linesBeforeTheFirstKeywordAreIgnoredOnASecondOpen) {
    startPort = 0;
    start();
    open(writeFile("a.qvx", "QVX 410\r\n\r\nRecordData\r\nNo.s\t\r\n1\tp1\t\r\n"));
    ASSERT_EQ(fileList()->GridRecord.Rows(), 2);
    open(
        writeFile("b.qvx", "QVX 410\r\n\r\n\r\n\r\nstray\tx\t\r\nmore\r\nInformation\r\nEvaluator\tv\t\r\n"));
    FileListFrm& f = *fileList();
    EXPECT_EQ(cellsOf(f.GridRecord), (Rows{{"No.s", "Date/Time", "LAVG", "Leq", "LCPK", "LZPK"}}));
    EXPECT_EQ(cellsOf(f.FileUserInfoGrid), (Rows{{"Evaluator", "v"}}));
    EXPECT_EQ(f.GridHeader.Rows(), 0);
}

// The CSV export is no data file: opened all the same, its keywords are found but each row lands
// whole, commas included, in column 0.
TEST_F(OpenCommandTest, aCsvExportOpensWithEachRowInColumnZero) {
    startPort = 0;
    start();
    open(writeFile("r.csv",
                   "QVX 410\r\n\r\nInformation\r\nEvaluator,Zo,\r\n\r\nHeaderData\r\n,D1,D2,D3,\r\n"
                   "\r\n\r\nRecordData\r\nNo.s,Date/Time,\r\n1,p1,\"a,b\",\r\n"));
    FileListFrm& f = *fileList();
    EXPECT_EQ(cellsOf(f.FileUserInfoGrid), (Rows{{"Evaluator,Zo,", ""}}));
    EXPECT_EQ(cellsOf(f.GridHeader), (Rows{{",D1,D2,D3,", "", "", ""}}));
    EXPECT_EQ(f.GridRecord.TextMatrix(1, 0), "1,p1,\"a,b\",");
}

// ---------------------------------------------------------------------------------------------

class RoundTripTest : public sqtest::PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(startFresh());
        dir = sqtest::makeTempDir("roundtrip");
    }
    void expectFileListEqualsRecordList() {
        DataListFrm& source = form<DataListFrm>();
        ASSERT_NE(fileList(), nullptr);
        FileListFrm& f = *fileList();
        EXPECT_EQ(cellsOf(f.FileUserInfoGrid), cellsOf(source.GridUserInfo));
        EXPECT_EQ(cellsOf(f.GridHeader), cellsOf(source.QVX410Grid));
        EXPECT_EQ(f.GridHeader.FixedRows(), 1);
        EXPECT_EQ(cellsOf(f.GridRecord), cellsOf(source.QVX410PointGrid));
    }
    std::string dir;
};

TEST_F(RoundTripTest, anEditedRecordSavedAndOpenedAgainMatchesCellForCell) {
    for (size_t n : {1u, 35u, 1234u}) {
        SCOPED_TRACE(n);
        download(sqtest::recordOf(n));
        DataListFrm& source = form<DataListFrm>();
        ASSERT_EQ(source.QVX410PointGrid.Rows(), static_cast<int>(n) + 1);
        source.GridUserInfo.doubleClickCell(1, 0);
        source.EditGrid->type("Dupont, \u00C9. \"QA\"\r");
        source.QVX410PointGrid.clickCell(1, 0);
        source.QVX410PointGrid.pressKey(Qt::Key_Backspace, 8);

        const std::string path = dir + "/record" + std::to_string(n) + ".qvx";
        dialogs->fileAnswers.push_back(path);
        source.Toolbar1.click("save");
        ASSERT_TRUE(fileExists(path));
        dialogs->fileAnswers.push_back(path);
        panel->Toolbar1.click("Open");
        expectFileListEqualsRecordList();
        EXPECT_EQ(fileList()->FileUserInfoGrid.TextMatrix(1, 1), "Dupont, \u00C9. \"QA\"");

        const std::string bytes = *readFileBytes(path);
        for (const char* lineEnd : {"\n", "\r"}) {
            std::string other;
            for (size_t i = 0; i < bytes.size(); ++i) {
                if (bytes.compare(i, 2, "\r\n") == 0) {
                    other += lineEnd;
                    ++i;
                } else {
                    other += bytes[i];
                }
            }
            const std::string otherPath = path + (lineEnd[0] == '\n' ? ".lf" : ".cr");
            ASSERT_TRUE(writeFileAtomic(otherPath, other));
            dialogs->fileAnswers.push_back(otherPath);
            panel->Toolbar1.click("Open");
            expectFileListEqualsRecordList();
        }
        EXPECT_TRUE(dialogs->messages().empty());
        panel->CheckFlage();
    }
}

}  // namespace
}  // namespace sq
