// The production message box and printer dialog, built but never shown.
#include "platform/ui/qt_dialogs.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <functional>

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

// Qt's print dialog opens the output file before it accepts it; a pipe would hold the whole program
// up there until another program read it. Its OK refuses such a name first, saying why, and the
// pipe is never opened. Qt's own check still runs for a name a write may replace.
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
    // Qt's own messages (the file exists, replace it?) would wait for an answer: they are answered No.
    int qtMessages = 0;
    QTimer answerQt;
    QObject::connect(&answerQt, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        ++qtMessages;
        if (QAbstractButton* no = box->button(QMessageBox::No))
            no->click();
        else
            box->reject();
    });
    answerQt.start(5);

    const auto pressOk = [](const std::string& path) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        const auto dialog = makePrintDialog(printer);
        dialog->show();  // only a shown dialog offers its printers, printing to a file among them
        for (auto* buttons : dialog->findChildren<QDialogButtonBox*>())
            if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->click();
        return dialog->result();
    };
    for (const std::string& path : {fifo, dir + "/link.pdf", dir + "/null.pdf"}) {
        if (path == dir + "/null.pdf" && !device) continue;
        SCOPED_TRACE(path);
        ScopedScriptedDialogs dialogs;
        EXPECT_EQ(pressOk(path), QDialog::Rejected);
        EXPECT_EQ(dialogs->messageTexts(), std::vector<std::string>{path + "\nNot a regular file"});
        EXPECT_EQ(qtMessages, 0);
        char events[4096];
        EXPECT_LT(::read(opens, events, sizeof events), 0) << "the dialog opened the pipe";
    }
    {
        SCOPED_TRACE("a new file");
        ScopedScriptedDialogs dialogs;
        EXPECT_EQ(pressOk(dir + "/new.pdf"), QDialog::Accepted);
        EXPECT_TRUE(dialogs->messages().empty());
    }
    ::close(opens);
    ::close(reader);
    if (!device) GTEST_SKIP() << kNoDeviceNodes;
}

}  // namespace
}  // namespace sq
