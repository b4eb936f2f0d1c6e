// Top-level windows on a real desktop: opened or restored, each stands with its frame inside the
// screen's available area; a window whose minimum is larger than the area takes the area and lays
// itself out at the size it gets.
#include <QMessageBox>
#include <memory>

#include "desktop/desktop_fixture.h"
#include "mainwindow/com_port_set_frm.h"
#include "platform/text_file.h"
#include "platform/ui/qt_dialogs.h"
#include "platform/ui/twips.h"
#include "records/data_list_frm.h"
#include "records/record_expectations.h"
#include "reports/histogram.h"
#include "reports/plot.h"
#include "reports/record_plot.h"

using namespace sq;
using sqtest::DesktopTest;
using sqtest::measureFrame;
using sqtest::standsInsideTheScreen;
using sqtest::waitUntil;

namespace {

TEST_F(DesktopTest, theMainWindowFitsTheScreenMaximisedAndRestoredAndLaysItselfOutThere) {
    Panel& p = startOnDesktop();
    QWidget& main = *p.mainWindow();
    EXPECT_TRUE(standsInsideTheScreen(main)) << "maximised";

    sqtest::doubleClickTitleBar(main);
    ASSERT_TRUE(waitUntil([&] { return !main.isMaximized(); })) << "the window manager restores the window";
    EXPECT_TRUE(standsInsideTheScreen(main)) << "restored";
    const QRect area = sqtest::availableArea();
    const QRect frame = measureFrame(main).frame;
    // At its minimum where the screen has room for it, else as large as the area.
    EXPECT_EQ(frame.height(), std::min(area.height(), toPixels(11250)));
    EXPECT_EQ(frame.width(), std::min(area.width(), toPixels(13665)));
    // Laid out at that size: the status bar whole at the client's foot, its second panel taking
    // what the other three leave.
    QWidget* status = p.StatusBar1.widget();
    EXPECT_EQ(status->mapTo(&main, QPoint(0, status->height())).y(), main.height());
    const double others =
        p.StatusBar1.panelWidth(1) + p.StatusBar1.panelWidth(3) + p.StatusBar1.panelWidth(4);
    EXPECT_NEAR(p.StatusBar1.panelWidth(2), p.ScaleWidth() - others, 15);
}

// The graph window opens at its opening size, 11955 x 8960 twips with its frame (the height raised
// to the minimum by its resize rule), and comes back to it after a print or a cancelled one.
TEST_F(DesktopTest, theGraphWindowOpensAtItsSizeInsideTheScreenAndReturnsToItAfterPrinting) {
    startOnDesktop();
    ASSERT_TRUE(waitForSupportedModel());
    download(sqtest::recordOf(40));
    DataListFrm& list = form<DataListFrm>();
    ShowRecordPlot(list.QVX410Grid, list.QVX410PointGrid, 2, "LAVG");
    auto* plot = dynamic_cast<Plot*>(windows().find(Plot::kName));
    ASSERT_NE(plot, nullptr);
    QWidget& window = *plot->surface()->window();
    EXPECT_TRUE(standsInsideTheScreen(window));
    const QRect area = sqtest::availableArea();
    const QRect opened = measureFrame(window).frame;
    EXPECT_EQ(opened.size(),
              QSize(std::min(area.width(), toPixels(11955)), std::min(area.height(), toPixels(8960))));
    QWidget* controls = plot->FrmGraphic.widget();
    EXPECT_LE(controls->mapTo(&window, QPoint(0, controls->height())).y(), window.height())
        << "the frame of controls whole";

    const std::string pdf = sqtest::makeTempDir("graph") + "/graph.pdf";
    for (const std::optional<PrinterChoice>& answer :
         {std::optional<PrinterChoice>(), std::optional<PrinterChoice>(PrinterChoice::pdfFile(pdf))}) {
        SCOPED_TRACE(answer ? "printed" : "cancelled");
        dialogs->printerAnswers = {answer};
        plot->CmdPrint.click();
        sqtest::waitForQuiet(window);
        EXPECT_EQ(measureFrame(window).frame, opened);
    }
    EXPECT_TRUE(sq::fileExists(pdf));
}

// The level histogram opens at its minimum, 9660 x 7785 twips with its frame.
TEST_F(DesktopTest, theHistogramWindowOpensAtItsSizeInsideTheScreen) {
    startOnDesktop();
    ASSERT_TRUE(waitForSupportedModel());
    download(sqtest::recordOf(40));
    DataListFrm& list = form<DataListFrm>();
    list.Toolbar1_ButtonClick("Ln");
    list.BtnSelectOK_Click();
    list.Btn1dB_Click();
    Window* histogram = windows().find(Histogram::kName);
    ASSERT_NE(histogram, nullptr);
    QWidget& window = *histogram->surface()->window();
    EXPECT_TRUE(standsInsideTheScreen(window));
    EXPECT_EQ(measureFrame(window).frame.size(), QSize(toPixels(9660), toPixels(7785)));
}

// A message box and the port window, the windows every user meets first.
TEST_F(DesktopTest, aMessageBoxAndThePortWindowOpenInsideTheScreen) {
    startOnDesktop();
    // One of the longest the program shows: a report that could not be finished, with its file.
    MessageRequest request;
    request.text =
        "PDF report incomplete !!!\n/home/a-user-with-a-long-name/.local/share/Sonoquant/PDF/"
        "2024-05-06 10.00.00 Building site north, second floor.pdf\nNo space left on device";
    request.icon = MsgIcon::Critical;
    const std::unique_ptr<QMessageBox> box = makeMessageBox(request);
    box->show();
    EXPECT_TRUE(standsInsideTheScreen(*box)) << "message box";
    box->hide();

    ComPortSetFrm& port = form<ComPortSetFrm>();
    port.Show();
    EXPECT_TRUE(standsInsideTheScreen(*port.surface()->window())) << "port window";
}

}  // namespace
