// The record list window's "PDF": the question and the save dialog, failures that say so, events
// served in the middle of a report, and a downloaded record's report end to end.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <regex>

#include "mainwindow/panel_fixture.h"
#include "platform/text_file.h"
#include "platform/vb_error.h"
#include "records/record_expectations.h"
#include "records/record_window_fixture.h"
#include "reports/pdf_report_fixture.h"
#include "support/file_size_limit.h"
#include "support/read_only_folder.h"
#include "support/scripted_dialogs.h"
#include "support/special_files.h"

namespace sqtest {
namespace {

namespace fs = std::filesystem;
using sq::DataListFrm;

sq::PdfReportGrids copiesOf(DataListFrm& f) {
    return {sq::GridCopy(f.QVX410Grid), sq::GridCopy(f.QVX410PointGrid), sq::GridCopy(f.GridUserInfo)};
}

// The report the window's grids give now, written beside the real one (its viewer call included).
void writeReference(DataListFrm& f, const std::string& path) {
    sq::PdfReportHost host;
    host.deviceModel = sq::shared().DeviceModel;
    host.printRecordData = sq::shared().PrintRecordData;
    sq::WritePdfReport(path, copiesOf(f), host);
}

// The file's bytes with the creation date (the one thing two runs may differ in) blanked.
std::string withoutDate(const std::string& path) {
    static const std::regex date(R"(/CreationDate \(D:\d+\))");
    return std::regex_replace(pdftest::readFile(path), date, "/CreationDate (D:)");
}

int viewerCallsIn(sq::ScriptedDialogs& d, const std::string& path) {
    int n = 0;
    for (const auto& record : d.records) n += record.kind == "viewer" && record.text == path;
    return n;
}

class PdfCommandTest : public RecordWindowTest {
protected:
    void SetUp() override {
        RecordWindowTest::SetUp();
        folder = std::make_unique<ScopedProgramFolder>();
        dir = makeTempDir("pdfcmd");
        sq::shared().SelectedRecordTime = "20220330--140509";
        DataListFrm& f = frm();
        addPoints(f.QVX410PointGrid, 45);
        f.GridUserInfo.setTextMatrix(0, 1, "Ann Lee");
    }
    void TearDown() override {
        RecordWindowTest::TearDown();
        folder.reset();
    }
    // "PDF" answered with `answer` to the question and `path` in the save dialog (nullopt: Cancel).
    void pdf(std::optional<std::string> path, sq::MsgResult answer = sq::MsgResult::No) {
        dialogs->messageAnswers.push_back(answer);
        dialogs->fileAnswers.push_back(std::move(path));
        frm().Toolbar1.click("PDF");
    }
    void expectRestored() {
        EXPECT_EQ(frm().Caption(), "DataList");
        EXPECT_TRUE(timer1.enabled());
        EXPECT_TRUE(timer2.enabled());
        EXPECT_FALSE(frm().Busy);
    }
    std::unique_ptr<ScopedProgramFolder> folder;
    std::string dir;
};

TEST_F(PdfCommandTest, asksForThePointTableThenOffersTheRecordsTimeInThePdfFolder) {
    pdf(std::nullopt, sq::MsgResult::Yes);
    const auto messages = dialogs->messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Output Record Data?");
    EXPECT_EQ(messages[0].buttons, sq::MsgButtons::YesNo);
    EXPECT_EQ(messages[0].title, "Message");
    EXPECT_EQ(sq::shared().PrintRecordData, sq::kTrue);
    ASSERT_EQ(dialogs->fileRequests.size(), 1u);
    const sq::FileDialogRequest& shown = dialogs->fileRequests[0];
    EXPECT_EQ(shown.initialDir + "/" + shown.fileName, sq::programFolder() + "/PDF/20220330--140509");
    EXPECT_EQ(shown.filter, "PDF Files (*.pdf)|*.pdf|");
    EXPECT_TRUE(fs::is_empty(sq::programPath("PDF")));
    expectRestored();

    // A path without a file name writes nothing either; No leaves the point table out.
    pdf(dir + "/", sq::MsgResult::No);
    EXPECT_EQ(sq::shared().PrintRecordData, sq::kFalse);
    EXPECT_TRUE(fs::is_empty(dir));
    EXPECT_EQ(viewerCallsIn(*dialogs, dir + "/"), 0);
    expectRestored();

    // The name goes to the report as chosen: no extension is added.
    pdf(dir + "/report");
    pdftest::expectValidPdf(dir + "/report", 3);
    EXPECT_EQ(viewerCallsIn(*dialogs, dir + "/report"), 1);
    expectRestored();
}

TEST_F(PdfCommandTest, aReportThatCannotBeFinishedSaysSoAndIsNotOpened) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        std::string file;
        std::string error;
        bool fileLeft;
        uint64_t failingCall = 0;
        rlim_t sizeLimit = 0;
    };
    const std::vector<Case> cases = {
        {"no font folder", [] { fs::remove_all(sq::programPath("Fonts")); }, "a.pdf",
         "Error 76: Path not found", false},
        {"no Helvetica metrics", [] { fs::remove(sq::programPath("Fonts/Helvetica.afm")); }, "b.pdf",
         "Error 53: File not found", true},
        {"a folder that does not exist", [] {}, "missing/c.pdf", "Error 76: No such file or directory",
         false},
        {"an error in the middle of the report", [] {}, "d.pdf", "Error 6: Overflow", true, 30},
        {"ending the document fails as well", [] {}, "e.pdf", "Error 6: Overflow", false, 30, 20000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedProgramFolder own;
        c.prepare();
        dialogs->clear();
        const std::string path = dir + "/" + c.file;
        std::string captionInPass;
        if (c.failingCall)
            sq::EventPacer::setTestHook(c.failingCall, [&] {
                captionInPass = frm().Caption();
                sq::raise(sq::kOverflow);
            });
        if (c.sizeLimit)
            withFileSizeLimit(c.sizeLimit, [&] { pdf(path); });
        else
            pdf(path);

        const auto messages = dialogs->messages();
        ASSERT_EQ(messages.size(), 2u);  // the question, then the one failure message
        std::string expected = "PDF report incomplete !!!\r\n" + path + "\r\n" + c.error;
        if (!c.fileLeft) expected += "\r\nNo report was written.";
        EXPECT_EQ(messages[1].text, expected);
        EXPECT_EQ(messages[1].icon, sq::MsgIcon::Critical);
        EXPECT_EQ(viewerCallsIn(*dialogs, path), 0);
        EXPECT_EQ(fs::exists(path), c.fileLeft);
        if (c.fileLeft) {
            const auto check = pdftest::runTool("qpdf --check '" + path + "'");
            EXPECT_EQ(check.status, 0) << check.output;
        }
        if (c.failingCall) {
            EXPECT_EQ(captionInPass, "10.80% Completed");  // 11 summary rows, then segment 19 of 176
        }
        expectRestored();
    }
}

// A report that cannot be written leaves the file of that name as it was and nothing beside it, and
// says why; a name as long as the folder takes is written like any other.
TEST_F(PdfCommandTest, aFailedReportLeavesTheOldFileAndNamesTheCause) {
    const std::string path = dir + "/rep.pdf";
    const std::string old = "%PDF-1.3 the report of last week";
    ASSERT_TRUE(sq::writeFileAtomic(path, old));
    auto expectFailure = [&](const std::string& error) {
        const auto messages = dialogs->messages();
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[1].text,
                  "PDF report incomplete !!!\r\n" + path + "\r\n" + error + "\r\nNo report was written.");
        EXPECT_EQ(viewerCallsIn(*dialogs, path), 0);
        EXPECT_EQ(pdftest::readFile(path), old);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);
        expectRestored();
    };
    {
        SCOPED_TRACE("a full disk");
        withFileSizeLimit(20000, [&] { pdf(path); });
        expectFailure("Error 61: " + std::string(std::strerror(EFBIG)));
    }
    {
        SCOPED_TRACE("a read-only folder");
        dialogs->clear();
        ReadOnlyFolder readOnly(dir);
        pdf(path);
        expectFailure("Error 70: " + std::string(std::strerror(EACCES)));
    }
    {
        SCOPED_TRACE("a name of 250 bytes");
        dialogs->clear();
        const std::string longName = dir + "/" + std::string(246, 'r') + ".pdf";
        pdf(longName);
        EXPECT_EQ(dialogs->messages().size(), 1u);
        pdftest::expectValidPdf(longName, 3);
        EXPECT_EQ(viewerCallsIn(*dialogs, longName), 1);
    }
}

// A pipe or a device node chosen as the report's file, itself or through a link, stays as it is;
// the report says why and nothing is opened.
TEST_F(PdfCommandTest, aPipeOrADeviceNodeChosenAsTheFileStaysAsItIs) {
    const auto emptyFolder = [&] {
        fs::remove_all(dir);
        fs::create_directory(dir);
        return SpecialFilePlace{dir, dir + "/report.pdf"};
    };
    const auto expectRefused = [&](const SpecialFile&, const std::string&, const std::string& path) {
        dialogs->clear();
        const auto before = nodesIn(dir);
        pdf(path);
        const auto messages = dialogs->messages();
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[1].text, "PDF report incomplete !!!\r\n" + path +
                                        "\r\nError 57: Not a regular file\r\nNo report was written.");
        EXPECT_EQ(viewerCallsIn(*dialogs, path), 0);
        EXPECT_EQ(nodesIn(dir), before);
        expectRestored();
    };
    forEachSpecialFile(pipesAndDeviceNodes(), emptyFolder, expectRefused);
}

// The whole program with the simulated instrument: events served in the middle of a report change
// the window, never the file, and bring no window back.
class PdfReentryTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        std::remove(sq::headerBinPath().c_str());
        start();
        ASSERT_TRUE(waitForSupportedModel());
        dir = makeTempDir("pdfreentry");
    }
    void TearDown() override {
        sq::EventPacer::setTestHook(0, {});
        PanelTest::TearDown();
    }
    static DataListFrm& filledWindow() {
        DataListFrm& f = sq::form<DataListFrm>();
        if (f.QVX410PointGrid.Rows() != 401) {
            f.QVX410PointGrid.setRows(1);
            addPointRows(f.QVX410PointGrid, 400);
            f.GridUserInfo.setTextMatrix(3, 1, "ACME, Inc.");
        }
        return f;
    }
    std::string dir;
};

TEST_F(PdfReentryTest, eventsDuringTheReportChangeTheWindowNeverTheFile) {
    struct Case {
        const char* name;
        uint64_t call;  // with the point table: 11 summary rows, 401 point rows, then 1,596 segments
        std::function<void(DataListFrm&)> event;
        bool windowGone;
    };
    const std::vector<Case> cases = {
        {"Backspace on point rows", 200,
         [](DataListFrm& f) {
             f.QVX410PointGrid.clickCell(1, 0);
             f.QVX410PointGrid.extendTo(300, 5);
             f.QVX410PointGrid.pressKey(Qt::Key_Backspace, 8);
             EXPECT_EQ(f.QVX410PointGrid.Rows(), 101);
         },
         false},
        {"a second PDF and a save", 100,
         [](DataListFrm& f) {
             f.Toolbar1.click("PDF");
             f.Toolbar1.click("save");
         },
         false},
        {"CheckFlage unloads the window in the chart", 1500, [this](DataListFrm&) { panel->CheckFlage(); },
         true},
        {"the user closes the window in the point table", 300, [](DataListFrm& f) { f.surface()->close(); },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DataListFrm& f = filledWindow();
        const std::string caption = f.Caption();
        sq::shared().PrintRecordData = sq::kTrue;
        writeReference(f, dir + "/reference.pdf");
        const std::string path = dir + "/report.pdf";
        dialogs->clear();
        dialogs->fileRequests.clear();
        dialogs->messageAnswers.push_back(sq::MsgResult::Yes);
        dialogs->fileAnswers.push_back(path);
        bool pollingInPass = true;
        sq::EventPacer::setTestHook(c.call, [&] {
            pollingInPass = panel->Timer1.enabled() || panel->Timer2.enabled();
            c.event(f);
        });
        f.Toolbar1.click("PDF");

        EXPECT_EQ(withoutDate(path), withoutDate(dir + "/reference.pdf"));
        EXPECT_EQ(dialogs->messages().size(), 1u);  // the question of the one report
        EXPECT_EQ(dialogs->fileRequests.size(), 1u);
        EXPECT_EQ(viewerCallsIn(*dialogs, path), 1);
        EXPECT_FALSE(pollingInPass);
        EXPECT_TRUE(panel->Timer1.enabled());
        EXPECT_TRUE(panel->Timer2.enabled());
        if (c.windowGone) {
            EXPECT_EQ(sq::windows().find(DataListFrm::kName), nullptr);
            EXPECT_EQ(sq::flags().DataListFrmOpen, sq::kFalse);
            wait(0.5);  // the unloaded window is deleted; nothing refers to it any more
            EXPECT_EQ(sq::windows().pendingDeletes(), 0u);
            EXPECT_EQ(sq::windows().find(DataListFrm::kName), nullptr);
        } else {
            EXPECT_EQ(f.Caption(), caption);
            EXPECT_FALSE(f.Busy);
        }
    }
}

// A 1,234-point record downloaded from the simulated instrument, reported with and without its
// point table.
class PdfEndToEndTest : public PdfReentryTest {
protected:
    void SetUp() override {
        PdfReentryTest::SetUp();
        wait(2);  // the calibration date and level have arrived
        record = recordOf(1234);
        download(record, 3);
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_NE(sq::windows().find(DataListFrm::kName), nullptr);
        ASSERT_EQ(sq::form<DataListFrm>().QVX410PointGrid.Rows(), 1235);
    }
    void pdf(std::optional<std::string> path, sq::MsgResult answer) {
        dialogs->messageAnswers.push_back(answer);
        dialogs->fileAnswers.push_back(std::move(path));
        sq::form<DataListFrm>().Toolbar1.click("PDF");
    }
    // Dark pixels of a page rendered in grey at 20 dpi.
    int darkPixels(const std::string& path, int page) {
        const std::string prefix = dir + "/page";
        const auto result = pdftest::runTool("pdftoppm -gray -r 20 -f " + std::to_string(page) + " -l " +
                                             std::to_string(page) + " '" + path + "' '" + prefix + "'");
        EXPECT_EQ(result.status, 0) << result.output;
        const std::string pgm = pdftest::readFile(prefix + "-" + std::to_string(page) + ".pgm");
        size_t at = 0;
        for (int fields = 0; fields < 4 && at < pgm.size(); ++fields) at = pgm.find_first_of(" \n", at) + 1;
        int dark = 0;
        for (size_t i = at; i < pgm.size(); ++i) dark += static_cast<unsigned char>(pgm[i]) < 128;
        return dark;
    }
    sq::metersim::StoredRecord record;
};

TEST_F(PdfEndToEndTest, aDownloadedRecordsReport) {
    const std::string model = sq::shared().DeviceModel;
    pdf(std::nullopt, sq::MsgResult::Yes);
    ASSERT_EQ(dialogs->messages().size(), 1u);
    EXPECT_EQ(dialogs->messages()[0].text, "Output Record Data?");
    ASSERT_EQ(dialogs->fileRequests.size(), 1u);
    EXPECT_EQ(dialogs->fileRequests[0].initialDir + "/" + dialogs->fileRequests[0].fileName,
              sq::programFolder() + "/PDF/20220330--140509");
    pdf(dir + "/", sq::MsgResult::Yes);
    EXPECT_TRUE(fs::is_empty(dir));
    EXPECT_TRUE(panel->Timer1.enabled());
    EXPECT_TRUE(panel->Timer2.enabled());

    const std::string withPoints = dir + "/with points";
    bool pollingInPass = true;
    sq::EventPacer::setTestHook(500,
                                [&] { pollingInPass = panel->Timer1.enabled() || panel->Timer2.enabled(); });
    pdf(withPoints, sq::MsgResult::Yes);
    EXPECT_FALSE(pollingInPass);
    EXPECT_TRUE(panel->Timer1.enabled());
    EXPECT_TRUE(panel->Timer2.enabled());
    // The summary page, 41 points on the first point page and 42 on each further one, chart, histogram.
    const int pages = 1 + 1 + (1234 - 41 + 41) / 42 + 2;
    ASSERT_EQ(pages, 33);
    pdftest::expectValidPdf(withPoints, pages);
    EXPECT_NE(pdftest::runTool("pdfinfo '" + withPoints + "'").output.find("595 x 842 pts"),
              std::string::npos);
    EXPECT_EQ(viewerCallsIn(*dialogs, withPoints), 1);
    const std::string text = pdftest::runTool("pdftotext -raw '" + withPoints + "' -").output;
    for (const std::string& expected :
         {std::string("\n- Header Data\n"), std::string("\n- RecordData\n"), "- " + model + "\n",
          std::string("- Evaluator :"), std::string("- Observations :"), std::string("Max Lavg :"),
          std::string("Max Lzpk :"), std::string("Freq")})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    for (int n = 1; n <= pages; ++n)
        EXPECT_NE(text.find("\nP - " + std::to_string(n) + "\n"), std::string::npos) << n;
    EXPECT_NE(text.find(expectedPointRows(record).back()[1]), std::string::npos);  // the last point's time
    EXPECT_GT(darkPixels(withPoints, pages - 1), 500);
    EXPECT_GT(darkPixels(withPoints, pages), 500);

    const std::string without = dir + "/without points.pdf";
    pdf(without, sq::MsgResult::No);
    pdftest::expectValidPdf(without, 3);
    EXPECT_EQ(pdftest::runTool("pdftotext '" + without + "' -").output.find("RecordData"), std::string::npos);
    EXPECT_EQ(viewerCallsIn(*dialogs, without), 1);
    EXPECT_EQ(sq::form<DataListFrm>().Caption(), "DataList");
}

}  // namespace
}  // namespace sqtest
