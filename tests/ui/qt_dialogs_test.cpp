// The production message box and printer dialog: the box built but never shown, the printer
// dialog shown offscreen and its OK pressed.
#include "platform/ui/qt_dialogs.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/text_file.h"
#include "platform/ui/printer_surface.h"
#include "support/scripted_dialogs.h"
#include "support/special_files.h"
#include "support/test_support.h"

namespace sq {
namespace {

// A short message in a box titled "Sonoquant" was so narrow that a window manager showed its title
// as "So...ant".
TEST(QtDialogsTest, aMessageBoxIsWideEnoughForItsTitleBesideTheFramesButtons) {
    for (const std::string& title : {std::string(), std::string("Histogram printing of the record")}) {
        MessageRequest request;
        request.text = "OK !!!";
        request.title = title;
        const auto box = makeMessageBox(request);
        QFont bold = box->font();
        bold.setBold(true);
        const int needed = QFontMetrics(bold).horizontalAdvance(box->windowTitle()) + kTitleButtonsRoom;
        box->layout()->activate();
        EXPECT_GE(box->layout()->totalMinimumSize().width(), needed) << box->windowTitle().toStdString();
    }
}

// Qt's own message boxes (the file exists, replace it?) wait for an answer: while an object of this
// lives, each one is answered No and counted.
class QtBoxAnswers {
public:
    QtBoxAnswers() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            ++count;
            if (QAbstractButton* no = box->button(QMessageBox::No))
                no->click();
            else
                box->reject();
        });
        m_timer.start(5);
    }
    int count = 0;

private:
    QTimer m_timer;
};

// The print dialog for `printer`, shown (only a shown dialog offers its printers, printing to a
// file among them), filled in by `fill` and its OK pressed; its result.
int pressOk(QPrinter& printer, const std::function<void(QPrintDialog&)>& fill = {}) {
    const auto dialog = makePrintDialog(printer);
    dialog->show();
    if (fill) fill(*dialog);
    for (auto* buttons : dialog->findChildren<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->click();
    return dialog->result();
}

int pressOkPrintingTo(const std::string& path) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    return pressOk(printer);
}

// Where the link at `path` points; empty when no link is there.
std::string linkTarget(const std::string& path) {
    std::error_code noLink;
    return std::filesystem::read_symlink(path, noLink).string();
}

// Every name in a folder that is opened, created, written, removed or moved while this watches it.
class FolderWatch {
public:
    explicit FolderWatch(const std::string& dir) : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        ::inotify_add_watch(
            m_fd, dir.c_str(),
            IN_OPEN | IN_CREATE | IN_MODIFY | IN_ATTRIB | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO);
    }
    ~FolderWatch() { ::close(m_fd); }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    std::vector<std::string> namesTouched() {
        std::vector<std::string> names;
        alignas(inotify_event) char events[8192];
        for (ssize_t n; (n = ::read(m_fd, events, sizeof events)) > 0;) {
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                if (event->len > 0) names.emplace_back(event->name);  // the folder itself has no name
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return names;
    }

private:
    int m_fd;
};

// Qt's print dialog opens the output file before it accepts it; a pipe would hold the whole program
// up there until another program read it. Its OK refuses such a name, saying why, and the pipe is
// never opened.
TEST(QtDialogsTest, thePrintDialogsOkRefusesAnOutputFileThatIsNoRegularFileWithoutOpeningIt) {
    using namespace sqtest;
    const std::string dir = makeTempDir("printdialog");
    const std::string fifo = dir + "/fifo.pdf";
    ASSERT_TRUE(makeFifo(fifo));
    ASSERT_TRUE(makeLink("fifo.pdf", dir + "/link.pdf"));
    const bool device = makeDeviceNode(dir + "/null.pdf");
    // A reader on the pipe, so that a dialog that opens it does not wait; every open of it is seen.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    const int opens = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(opens, fifo.c_str(), IN_OPEN), 0);
    QtBoxAnswers qtBoxes;

    for (const std::string& path : {fifo, dir + "/link.pdf", dir + "/null.pdf"}) {
        if (path == dir + "/null.pdf" && !device) continue;
        SCOPED_TRACE(path);
        ScopedScriptedDialogs dialogs;
        EXPECT_EQ(pressOkPrintingTo(path), QDialog::Rejected);
        EXPECT_EQ(dialogs->messageTexts(), std::vector<std::string>{path + "\nNot a regular file"});
        EXPECT_EQ(qtBoxes.count, 0);
        char events[4096];
        EXPECT_LT(::read(opens, events, sizeof events), 0) << "the dialog opened the pipe";
    }
    {
        SCOPED_TRACE("a new file");
        ScopedScriptedDialogs dialogs;
        EXPECT_EQ(pressOkPrintingTo(dir + "/new.pdf"), QDialog::Accepted);
        EXPECT_TRUE(dialogs->messages().empty());
    }
    ::close(opens);
    ::close(reader);
    if (!device) GTEST_SKIP() << kNoDeviceNodes;
}

// A relative name is printed to in the home folder, as Qt's dialog takes it: that is the name the
// OK looks at.
TEST(QtDialogsTest, thePrintDialogsOkLooksAtARelativeOutputNameInTheHomeFolder) {
    const std::string home = sqtest::makeTempDir("printhome");
    ASSERT_TRUE(sqtest::makeFifo(home + "/fifo.pdf"));
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QByteArray::fromStdString(home));
    QtBoxAnswers qtBoxes;
    ScopedScriptedDialogs dialogs;
    EXPECT_EQ(pressOkPrintingTo("fifo.pdf"), QDialog::Rejected);
    EXPECT_EQ(dialogs->messageTexts(), std::vector<std::string>{home + "/fifo.pdf\nNot a regular file"});
    EXPECT_EQ(qtBoxes.count, 0);
    qputenv("HOME", oldHome);
}

// Qt's own check opened the name with create, then removed the name it had created: through a
// link that leads nowhere it made an empty file behind the link and removed the link. The OK now
// leaves both as they are, and still gives the printer the dialog's settings.
TEST(QtDialogsTest, thePrintDialogsOkLeavesALinkThatLeadsNowhereAsItIs) {
    const std::string dir = sqtest::makeTempDir("printlink");
    const std::string report = dir + "/report.pdf";
    ASSERT_TRUE(sqtest::makeLink("behind.pdf", report));
    QtBoxAnswers qtBoxes;
    ScopedScriptedDialogs dialogs;
    FolderWatch folder(dir);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(report));
    const int result = pressOk(printer, [](QPrintDialog& dialog) {
        auto* copies = dialog.findChild<QSpinBox*>(QStringLiteral("copies"));
        ASSERT_NE(copies, nullptr);
        copies->setValue(3);
    });

    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(dialogs->messages().empty());
    EXPECT_EQ(qtBoxes.count, 0);
    EXPECT_EQ(folder.namesTouched(), std::vector<std::string>{});
    EXPECT_EQ(linkTarget(report), "behind.pdf");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir + "/behind.pdf")));
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName().toStdString(), report);
    EXPECT_EQ(printer.copyCount(), 3);
}

// No check on the OK opens the output name, nor creates or removes anything there: Qt's own check
// did both, and a pipe that took the name just before it held the program up for good. A file that
// is there is replaced only when the user says so.
TEST(QtDialogsTest, thePrintDialogsOkOpensCreatesAndRemovesNothingAtTheOutputName) {
    const std::string dir = sqtest::makeTempDir("printnothing");
    const std::string old = dir + "/old.pdf";
    ASSERT_TRUE(writeFileAtomic(old, "%PDF-1.4 last week's"));
    const std::string question = old + " already exists.\nDo you want to overwrite it?";
    struct Case {
        std::string path;
        std::deque<MsgResult> answers;
        int result;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        {dir + "/new.pdf", {}, QDialog::Accepted, {}},
        {old, {MsgResult::Yes}, QDialog::Accepted, {question}},
        {old, {MsgResult::No}, QDialog::Rejected, {question}},
    };
    QtBoxAnswers qtBoxes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + (c.answers.empty() ? "" : c.answers[0] == MsgResult::Yes ? " Yes" : " No"));
        ScopedScriptedDialogs dialogs;
        dialogs->messageAnswers = c.answers;
        FolderWatch folder(dir);
        EXPECT_EQ(pressOkPrintingTo(c.path), c.result);
        EXPECT_EQ(dialogs->messageTexts(), c.messages);
        EXPECT_EQ(folder.namesTouched(), std::vector<std::string>{});
        EXPECT_EQ(qtBoxes.count, 0);
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir + "/new.pdf")));
    EXPECT_EQ(readFileBytes(old), std::optional<std::string>("%PDF-1.4 last week's"));
}

// The scripted answers, but the real printer dialog.
class RealPrinterDialog : public ScriptedDialogs {
public:
    std::optional<PrinterChoice> choosePrinter() override { return QtDialogs().choosePrinter(); }
};

// Printing through the printer dialog to a link that leads nowhere keeps the link and puts the PDF
// behind it, as every other write does.
TEST(QtDialogsTest, printingToALinkThatLeadsNowherePutsThePdfBehindTheLink) {
    const std::string dir = sqtest::makeTempDir("printbehind");
    const std::string report = dir + "/report.pdf";
    ASSERT_TRUE(sqtest::makeLink("behind.pdf", report));
    RealPrinterDialog dialogs;
    DialogService* const previous = setDialogService(&dialogs);
    // The dialog is modal: it is filled in and its OK pressed once it shows.
    QTimer pressOkOnceShown;
    QObject::connect(&pressOkOnceShown, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        pressOkOnceShown.stop();
        dialog->findChild<QLineEdit*>(QStringLiteral("filename"))->setText(QString::fromStdString(report));
        for (auto* buttons : dialog->findChildren<QDialogButtonBox*>())
            if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->click();
        if (dialog->isVisible()) dialog->reject();  // refused: the test fails below, it does not hang
    });
    pressOkOnceShown.start(5);
    PrinterSurface printer;
    QLabel page(QStringLiteral("Calibration Record"));
    page.resize(400, 100);
    const int error = sqtest::errorOf([&] {
        printer.ShowPrinter();
        printer.PrintForm(&page);
    });
    setDialogService(previous);

    EXPECT_EQ(error, 0);
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(linkTarget(report), "behind.pdf");
    EXPECT_EQ(readFileBytes(dir + "/behind.pdf").value_or("").substr(0, 5), "%PDF-");
}

// A dialog whose OK cannot be taken over (here: it was already) keeps Qt's own check, and the
// program says so rather than going on quietly with it.
TEST(QtDialogsTest, aPrintDialogWhoseOkCannotBeTakenOverSaysSoOnStandardError) {
    QPrinter printer(QPrinter::HighResolution);
    const auto dialog = makePrintDialog(printer);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(takeOverPrintToFileCheck(*dialog));
    EXPECT_EQ(
        testing::internal::GetCapturedStderr(),
        "The print dialog's own check of the output file could not be replaced: it opens the file, and a "
        "pipe of that name would hold the program up.\n");
}

}  // namespace
}  // namespace sq
