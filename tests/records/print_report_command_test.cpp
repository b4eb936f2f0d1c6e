// The "Print" key of the record list windows: the question, the printer dialog and its Cancel, models
// that print nothing, printers that fail before or during the report, the progress caption, and
// windows changed, unloaded or closed while the report serves events.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include "mainwindow/panel_fixture.h"
#include "platform/text_file.h"
#include "platform/ui/hourglass.h"
#include "platform/ui/printer_surface.h"
#include "recordmodel/data_file.h"
#include "records/file_list_frm.h"
#include "records/print_report_support.h"
#include "records/record_window_fixture.h"
#include "support/file_size_limit.h"
#include "support/read_only_folder.h"
#include "support/test_support.h"

namespace sq {
namespace {

namespace fs = std::filesystem;

const std::string kNotPrinted = "The report was not printed completely.\n";

class PrintCommandTest : public sqtest::RecordWindowTest {
protected:
    void SetUp() override {
        RecordWindowTest::SetUp();
        dir = sqtest::makeTempDir("printcmd");
        addPoints(frm().QVX410PointGrid, 35);
        dialogs->onMessage = [this](const MessageRequest&) {
            pausedDuringQuestion = hourglassShown() && !timer1.enabled() && !timer2.enabled() && frm().Busy;
        };
    }
    void TearDown() override {
        PrinterSurface::setPageFaultForTests(0);
        RecordWindowTest::TearDown();
    }
    void print(std::optional<PrinterChoice> printer, MsgResult answer = MsgResult::Yes) {
        dialogs->messageAnswers.push_back(answer);
        dialogs->printerAnswers.push_back(std::move(printer));
        frm().Toolbar1.click("Print");
    }
    int printerDialogs() {
        int n = 0;
        for (const auto& r : dialogs->records) n += r.kind == "printer";
        return n;
    }
    // What every way out of "Print" gives back.
    void expectRestored() {
        EXPECT_EQ(frm().Caption(), "DataList");
        EXPECT_TRUE(timer1.enabled());
        EXPECT_TRUE(timer2.enabled());
        EXPECT_FALSE(hourglassShown());
        EXPECT_FALSE(frm().Busy);
    }
    std::string dir;
    bool pausedDuringQuestion = false;
};

TEST_F(PrintCommandTest, theQuestionComesFirstAndCancelInThePrinterDialogEndsSilently) {
    for (MsgResult answer : {MsgResult::Yes, MsgResult::No}) {
        dialogs->clear();
        print(std::nullopt, answer);
        ASSERT_EQ(dialogs->records.size(), 2u);
        const MessageRequest& question = dialogs->records[0].message;
        EXPECT_EQ(dialogs->records[0].kind, "message");
        EXPECT_EQ(question.text, "Output Record Data?");
        EXPECT_EQ(question.title, "Message");
        EXPECT_EQ(question.buttons, MsgButtons::YesNo);
        EXPECT_EQ(dialogs->records[1].kind, "printer");
        EXPECT_EQ(shared().PrintRecordData, answer == MsgResult::Yes ? kTrue : kFalse);
        EXPECT_TRUE(pausedDuringQuestion);
        expectRestored();
    }
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(PrintCommandTest, withoutASupportedModelTheQuestionIsAskedAndNothingPrints) {
    shared().DeviceModel = "XYZ 1";
    shared().FileModel = "ABC 2";
    print(PrinterChoice::pdfFile(dir + "/r.pdf"), MsgResult::Yes);
    EXPECT_EQ(dialogs->messageTexts(), std::vector<std::string>{"Output Record Data?"});
    EXPECT_EQ(shared().PrintRecordData, kTrue);
    EXPECT_EQ(printerDialogs(), 0);
    EXPECT_TRUE(fs::is_empty(dir));
    expectRestored();

    // The file's model is enough.
    shared().FileModel = "VOK-LSR20";
    dialogs->printerAnswers.clear();
    print(std::nullopt);
    EXPECT_EQ(printerDialogs(), 1);
}

// A print to a file that fails leaves no part of a report: the file of that name stays as it was and
// nothing is left beside it, and the one message names the file and the cause.
TEST_F(PrintCommandTest, aFailedPrintToFileSaysWhyAndLeavesTheOldFile) {
    const std::string path = dir + "/rep.pdf";
    const std::string old = "%PDF-1.4 the report of last week";
    struct Case {
        const char* name;
        std::function<void()> print;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"a full disk",
         [&] { sqtest::withFileSizeLimit(8192, [&] { print(PrinterChoice::pdfFile(path)); }); },
         path + "\n" + std::strerror(EFBIG)},
        {"page 3 that cannot start",
         [&] {
             PrinterSurface::setPageFaultForTests(3);
             print(PrinterChoice::pdfFile(path));
             PrinterSurface::setPageFaultForTests(0);
         },
         "The page could not be started."},
        {"a read-only folder",
         [&] {
             sqtest::ReadOnlyFolder readOnly(dir);
             print(PrinterChoice::pdfFile(path));
         },
         path + "\n" + std::strerror(EACCES)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeFileAtomic(path, old));
        dialogs->clear();
        c.print();
        const auto messages = dialogs->messages();
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[1].text, kNotPrinted + c.reason);
        EXPECT_EQ(messages[1].icon, MsgIcon::Critical);
        EXPECT_EQ(readFileBytes(path), std::optional<std::string>(old));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);
        expectRestored();
    }
}

TEST_F(PrintCommandTest, aFileThatCannotBeMadeIsNamedAndAnyNameTheFolderTakesPrints) {
    const std::string missing = dir + "/missing/r.pdf";
    print(PrinterChoice::pdfFile(missing));
    ASSERT_EQ(dialogs->messages().size(), 2u);
    EXPECT_EQ(dialogs->messages()[1].text, kNotPrinted + missing + "\n" + std::strerror(ENOENT));
    EXPECT_TRUE(fs::is_empty(dir));

    dialogs->clear();
    const std::string longName = dir + "/" + std::string(246, 'r') + ".pdf";
    print(PrinterChoice::pdfFile(longName));
    EXPECT_EQ(dialogs->messageTexts(), std::vector<std::string>{"Output Record Data?"});
    EXPECT_EQ(sqtest::readPrintedPdf(longName).pages, 3);
    expectRestored();
}

TEST_F(PrintCommandTest, theCaptionShowsTheProgressAtPassesAndTheToolbarWaits) {
    const int64_t total =
        GridCopy(frm().QVX410Grid).cellCount() + GridCopy(frm().QVX410PointGrid).cellCount();
    std::string captionInPass;
    EventPacer::setTestHook(1, [&] {
        captionInPass = frm().Caption();
        EXPECT_TRUE(frm().Busy);
        EXPECT_TRUE(hourglassShown());
        EXPECT_FALSE(timer1.enabled());
        frm().Toolbar1.click("Print");  // does nothing while the report runs
        frm().Toolbar1.click("Plot");
    });
    print(PrinterChoice::pdfFile(dir + "/r.pdf"));
    EXPECT_EQ(captionInPass, progressCaption(1, total, "Completed"));
    EXPECT_EQ(printerDialogs(), 1);
    EXPECT_EQ(dialogs->messageTexts(), std::vector<std::string>{"Output Record Data?"});
    EXPECT_FALSE(frm().SSpSelectItem.Visible());
    EXPECT_EQ(sqtest::readPrintedPdf(dir + "/r.pdf").pages, 3);
    expectRestored();
}

TEST_F(PrintCommandTest, theFileListWindowsToolbarWaitsForItsReportToo) {
    FileListFrm& f = form<FileListFrm>();
    addPoints(f.GridRecord, 5);
    bool busy = false;
    EventPacer::setTestHook(3, [&] {
        busy = f.Busy;
        f.Toolbar1.click("Print");
        f.Toolbar1.click("Ln");
    });
    dialogs->messageAnswers.push_back(MsgResult::Yes);
    dialogs->printerAnswers.push_back(PrinterChoice::pdfFile(dir + "/file.pdf"));
    f.Toolbar1.click("Print");
    EXPECT_TRUE(busy);
    EXPECT_FALSE(f.Busy);
    EXPECT_FALSE(f.SSpSelectItem.Visible());
    EXPECT_EQ(printerDialogs(), 1);
    EXPECT_EQ(sqtest::readPrintedPdf(dir + "/file.pdf").pages, 3);
    EXPECT_EQ(f.Caption(), "FileList");
    EXPECT_TRUE(timer1.enabled());
}

// The whole program with the simulated instrument: events served in the middle of a report change
// the window, never the printout.
class PrintReentryTest : public sqtest::PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        start();
        ASSERT_TRUE(waitForSupportedModel());
        dir = sqtest::makeTempDir("printreentry");
        DataListFrm& f = form<DataListFrm>();
        sqtest::addPointRows(f.QVX410PointGrid, 300);
        f.GridUserInfo.setTextMatrix(3, 1, "ACME, Inc.");
        reference = printWith("reference.pdf", 0, {});
        ASSERT_GT(reference.pages, 3);
    }
    void TearDown() override {
        EventPacer::setTestHook(0, {});
        PanelTest::TearDown();
    }
    sqtest::PrintedPdf printWith(const std::string& name, uint64_t call, std::function<void()> event) {
        dialogs->messageAnswers.push_back(MsgResult::Yes);
        dialogs->printerAnswers.push_back(PrinterChoice::pdfFile(dir + "/" + name));
        EventPacer::setTestHook(call, std::move(event));
        form<DataListFrm>().Toolbar1.click("Print");
        return sqtest::readPrintedPdf(dir + "/" + name);
    }
    void expectSameAsReference(const sqtest::PrintedPdf& pdf) {
        EXPECT_EQ(pdf.pages, reference.pages);
        EXPECT_EQ(pdf.pageTexts, reference.pageTexts);
    }
    void expectGoneForGood() {
        EXPECT_EQ(windows().find(DataListFrm::kName), nullptr);
        EXPECT_EQ(flags().DataListFrmOpen, kFalse);
        EXPECT_EQ(dialogs->messageTexts(),
                  (std::vector<std::string>{"Output Record Data?", "Output Record Data?"}));
        wait(0.5);  // the unloaded window is deleted; nothing refers to it any more
        EXPECT_EQ(windows().pendingDeletes(), 0u);
        EXPECT_EQ(windows().find(DataListFrm::kName), nullptr);
        EXPECT_TRUE(panel->Timer1.enabled());
        EXPECT_FALSE(hourglassShown());
    }
    std::string dir;
    sqtest::PrintedPdf reference;
};

TEST_F(PrintReentryTest, pointsDeletedMidReportStillPrint) {
    DataListFrm& f = form<DataListFrm>();
    const sqtest::PrintedPdf pdf = printWith("deleted.pdf", 600, [&] {
        f.QVX410PointGrid.clickCell(1, 0);
        f.QVX410PointGrid.extendTo(250, 5);
        f.QVX410PointGrid.pressKey(Qt::Key_Backspace, 8);
    });
    EXPECT_EQ(f.QVX410PointGrid.Rows(), 51);
    expectSameAsReference(pdf);
    EXPECT_EQ(f.Caption(), "DataList");
    EXPECT_FALSE(f.Busy);
}

TEST_F(PrintReentryTest, anUnloadMidReportLetsItFinishAndBringsNoWindowBack) {
    expectSameAsReference(printWith("unloaded.pdf", 100, [&] { panel->CheckFlage(); }));
    expectGoneForGood();
}

TEST_F(PrintReentryTest, theUserClosingTheWindowMidReportLetsItFinish) {
    // In the chart part, after both tables.
    const uint64_t chartPoint =
        static_cast<uint64_t>(GridCopy(form<DataListFrm>().QVX410Grid).cellCount() +
                              GridCopy(form<DataListFrm>().QVX410PointGrid).cellCount()) +
        150;
    expectSameAsReference(
        printWith("closed.pdf", chartPoint, [] { form<DataListFrm>().surface()->close(); }));
    expectGoneForGood();
}

}  // namespace
}  // namespace sq
