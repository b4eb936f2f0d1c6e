// The printer surface: the dialog sequence with the chosen printer, PrintForm of a window to a PDF
// printer (one page, texts as texts, scaled down to fit and never enlarged), Cancel, and a printer
// that cannot be opened.
#include "platform/ui/printer_surface.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <cerrno>
#include <cstring>
#include <regex>

#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "platform/ui/controls.h"
#include "platform/ui/graph_control.h"
#include "platform/ui/window.h"
#include "platform/vb_error.h"
#include "support/file_size_limit.h"
#include "support/scripted_dialogs.h"
#include "support/special_files.h"
#include "support/test_support.h"

namespace sq {
namespace {

// A small window with a few texts, as a print command shows it.
class CalibrationWindow : public Window {
public:
    static constexpr const char* kName = "CalibrationWindow";
    CalibrationWindow() : Window(kName, WindowKind::TopLevel) {
        Title.Move(240, 240, 4000, 400);
        Level.Move(240, 840, 4000, 400);
    }
    Label Title{surface(), "Calibration Record"};
    Label Level{surface(), "Level 94.0 dB"};
};

class PrinterSurfaceTest : public ::testing::Test {
protected:
    void SetUp() override { dir = sqtest::makeTempDir("print"); }
    void TearDown() override { windows().reset(); }
    Window& shownWindow() {
        auto& w = form<CalibrationWindow>();
        w.Move(0, 0, 6000, 3000);
        w.Show();
        return w;
    }
    // The bounding box of the dark pixels of the page rendered at 72 dpi (one pixel per point).
    QRect inkOnPage(const std::string& pdf) {
        sqtest::runCommand("pdftoppm -r 72 -png -singlefile '" + pdf + "' '" + dir + "/page'");
        QImage page(QString::fromStdString(dir + "/page.png"));
        QRect box;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (qGray(page.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
        return box;
    }

    ScopedScriptedDialogs dialogs;
    std::string dir;
};

TEST_F(PrinterSurfaceTest, printFormWritesTheWindowAsTextOnOnePage) {
    std::string pdf = dir + "/window.pdf";
    dialogs->printerAnswers = {PrinterChoice::pdfFile(pdf)};
    PrinterSurface printer;
    printer.ShowPrinter();
    EXPECT_EQ(dialogs->records.size(), 1u);
    EXPECT_EQ(dialogs->records[0].kind, "printer");
    printer.PrintForm(shownWindow());

    std::string info = sqtest::runCommand("pdfinfo '" + pdf + "'");
    EXPECT_TRUE(std::regex_search(info, std::regex("Pages: +1\n"))) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    std::string text = sqtest::runCommand("pdftotext '" + pdf + "' -");
    EXPECT_NE(text.find("Calibration Record"), std::string::npos) << text;
    EXPECT_NE(text.find("Level 94.0 dB"), std::string::npos) << text;
}

TEST_F(PrinterSurfaceTest, thePrinterTakesTheChosenOrientationCopiesAndPaper) {
    std::string pdf = dir + "/landscape.pdf";
    PrinterChoice choice = PrinterChoice::pdfFile(pdf, "Letter");
    choice.orientation = PrinterChoice::Orientation::Landscape;
    choice.copies = 3;
    dialogs->printerAnswers = {choice};
    PrinterSurface printer;
    EXPECT_EQ(printer.Orientation(), 1);
    printer.ShowPrinter();
    EXPECT_EQ(printer.Orientation(), 2);
    EXPECT_EQ(printer.Copies(), 3);
    printer.PrintForm(shownWindow());
    std::string info = sqtest::runCommand("pdfinfo '" + pdf + "'");
    EXPECT_NE(info.find("792 x 612 pts (letter)"), std::string::npos) << info;
}

TEST_F(PrinterSurfaceTest, cancelRaisesTheCancelErrorAndWritesNothing) {
    std::string pdf = dir + "/before.pdf";
    dialogs->printerAnswers = {PrinterChoice::pdfFile(pdf), std::nullopt};
    PrinterSurface printer;
    printer.ShowPrinter();
    try {
        printer.ShowPrinter();
        FAIL() << "Cancel returned";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), kCancelError);
    }
    // The earlier choice stays, and nothing has been printed.
    EXPECT_EQ(printer.printer().outputFileName().toStdString(), pdf);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
}

TEST_F(PrinterSurfaceTest, theImageKeepsItsScreenSizeOrShrinksToThePrintableArea) {
    PrinterSurface printer;
    auto printBlack = [&](int width, int height, const std::string& name) {
        QWidget block;
        block.resize(width, height);
        block.setAutoFillBackground(true);
        block.setPalette(QPalette(Qt::black));
        std::string pdf = dir + "/" + name;
        dialogs->printerAnswers = {PrinterChoice::pdfFile(pdf)};
        printer.ShowPrinter();
        printer.PrintForm(&block);
        return inkOnPage(pdf);
    };
    QRectF area = printer.printer().pageLayout().paintRect(QPageLayout::Point);
    double pointsPerPixel = 72.0 / QWidget().logicalDpiX();

    QRect small = printBlack(96, 48, "small.pdf");  // one inch by half an inch on a 96 dpi screen
    EXPECT_NEAR(small.width(), 96 * pointsPerPixel, 1.5);
    EXPECT_NEAR(small.height(), 48 * pointsPerPixel, 1.5);
    EXPECT_NEAR(small.left(), area.left(), 1.5);  // from the printable area's top-left corner
    EXPECT_NEAR(small.top(), area.top(), 1.5);

    QRect wide = printBlack(4000, 200, "wide.pdf");  // shrunk to the width, proportions kept
    EXPECT_NEAR(wide.width(), area.width(), 1.5);
    EXPECT_NEAR(wide.height(), area.width() * 200 / 4000, 1.5);
    QRect tall = printBlack(200, 6000, "tall.pdf");  // shrunk to the height
    EXPECT_NEAR(tall.height(), area.height(), 1.5);
    EXPECT_NEAR(tall.width(), area.height() * 200 / 6000, 1.5);
}

// The graph draws itself onto the page too: its tick labels and captions as texts, its bars in colour.
TEST_F(PrinterSurfaceTest, aGraphPrintsItsTextsAndBars) {
    QWidget window;
    window.resize(640, 300);
    GraphControl graph(&window);
    graph.widget()->setGeometry(0, 0, 640, 300);
    graph.setGraphColor(0xFFFFFF);
    graph.Axes(1).setCaption("dB");
    graph.Axes(2).setCaption("Frequency (Times)");
    graph.Axes(1).setLabelFormat("*0.1");
    graph.Axes(1).SetMinMax(850, 860);
    std::vector<double> counts(1501, 0);
    counts[852] = 7;
    counts[855] = 3;
    graph.PlotSeries(counts, 1, 1);
    std::string pdf = dir + "/graph.pdf";
    dialogs->printerAnswers = {PrinterChoice::pdfFile(pdf)};
    PrinterSurface printer;
    printer.ShowPrinter();
    printer.PrintForm(&window);

    std::string text = sqtest::runCommand("pdftotext '" + pdf + "' -");
    for (const char* label : {"85.0", "85.5", "86.0", "Frequency (Times)", "dB"})
        EXPECT_NE(text.find(label), std::string::npos) << label << " in " << text;
    EXPECT_NE(sqtest::runCommand("pdffonts '" + pdf + "'").find("LiberationSans"), std::string::npos);
    sqtest::runCommand("pdftoppm -r 72 -png -singlefile '" + pdf + "' '" + dir + "/graph'");
    QImage page(QString::fromStdString(dir + "/graph.png"));
    int blue = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            QRgb c = page.pixel(x, y);
            blue += qBlue(c) > 150 && qRed(c) < 100;
        }
    EXPECT_GT(blue, 100);
}

// A PDF file that cannot be made raises the file's error, its text naming the file and the cause.
TEST_F(PrinterSurfaceTest, aFileThatCannotBeMadeRaisesNamingTheFileAndTheCause) {
    const std::string path = dir + "/no/such/folder/out.pdf";
    dialogs->printerAnswers = {PrinterChoice::pdfFile(path), PrinterChoice::pdfFile(path)};
    PrinterSurface printer;
    printer.ShowPrinter();
    try {
        printer.PrintForm(shownWindow());
        FAIL() << "printed into a missing folder";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), kPathNotFound);
        EXPECT_EQ(e.what(), path + "\n" + std::strerror(ENOENT));
    }

    printer.ShowPrinter();
    printer.NewPage();
    EXPECT_EQ(printer.Page(), 2);
    try {
        printer.Print("text");
        FAIL() << "printed into a missing folder";
    } catch (const VbError& e) {
        EXPECT_EQ(e.what(), path + "\n" + std::strerror(ENOENT));
    }
    EXPECT_FALSE(printer.jobOpen());
    printer.KillDoc();
    EXPECT_EQ(printer.Page(), 1);
    EXPECT_EQ(sqtest::runCommand("ls -A '" + dir + "'"), "");
}

// A pipe chosen as the PDF file, itself or through a link, is left as it is, and the print raises
// naming the file and the cause.
TEST_F(PrinterSurfaceTest, aPipeAsThePdfFileStaysAsItIsAndThePrintRaisesSayingWhy) {
    ASSERT_TRUE(sqtest::makeFifo(dir + "/fifo.pdf"));
    ASSERT_TRUE(sqtest::makeLink("fifo.pdf", dir + "/link.pdf"));
    const auto before = sqtest::nodesIn(dir);
    for (const std::string& path : {dir + "/fifo.pdf", dir + "/link.pdf"}) {
        SCOPED_TRACE(path);
        dialogs->printerAnswers = {PrinterChoice::pdfFile(path)};
        PrinterSurface printer;
        printer.ShowPrinter();
        try {
            printer.PrintForm(shownWindow());
            FAIL() << "printed into a pipe";
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), kDeviceIoError);
            EXPECT_EQ(e.what(), path + "\nNot a regular file");
        }
        EXPECT_EQ(sqtest::nodesIn(dir), before);
    }
}

// The page printer: Liberation Sans 11 pt measured on the printer in twips, pages numbered from 1 in
// every job, a NewPage that only starts a page with the next output, and a page that cannot start.
TEST_F(PrinterSurfaceTest, thePagePrinterMeasuresInTwipsAndNumbersThePagesOfEachJob) {
    PrinterSurface printer;
    printer.setFontSize(11);
    EXPECT_GT(printer.TextWidth("0000"), 0);
    EXPECT_GT(printer.TextHeight("H"), 230);
    EXPECT_LT(printer.TextHeight("H"), 270);
    EXPECT_NEAR(printer.TextWidth("0000") / printer.TextWidth("00"), 2.0, 1e-3);
    const float at11 = printer.TextWidth("0000");
    printer.setFontSize(22);  // measures afresh in the new size
    EXPECT_NEAR(printer.TextWidth("0000") / at11, 2.0, 1e-2);
    EXPECT_NEAR(printer.TextHeight("H"), 2 * 250, 40);
    printer.setFontSize(11);
    EXPECT_EQ(printer.TextWidth("0000"), at11);
    // A4 less Qt's default margins, in twips.
    const QRectF area = printer.printer().pageLayout().paintRect(QPageLayout::Point);
    EXPECT_DOUBLE_EQ(printer.ScaleWidth(), area.width() * 20);
    EXPECT_DOUBLE_EQ(printer.ScaleHeight(), area.height() * 20);

    for (const char* name : {"first.pdf", "second.pdf"}) {
        SCOPED_TRACE(name);
        const std::string pdf = dir + "/" + name;
        dialogs->printerAnswers = {PrinterChoice::pdfFile(pdf)};
        printer.ShowPrinter();
        EXPECT_EQ(printer.Page(), 1);
        for (int page = 1; page <= 3; ++page) {
            printer.setCurrentX(1440);
            printer.setCurrentY(1440);
            printer.Print("Page " + std::to_string(printer.Page()));
            printer.Line(1440, 2000, 5000, 2000);
            printer.NewPage();
        }
        EXPECT_EQ(printer.Page(), 4);
        printer.EndDoc();
        EXPECT_EQ(printer.Page(), 1);
        std::string info = sqtest::runCommand("pdfinfo '" + pdf + "'");
        EXPECT_TRUE(std::regex_search(info, std::regex("Pages: +3\n"))) << info;
        std::string text = sqtest::runCommand("pdftotext -layout '" + pdf + "' -");
        EXPECT_NE(text.find("Page 3"), std::string::npos) << text;
    }
}

// A text placed at a position stands there on the page: 1 inch in, 2 inches down, 11 points high.
TEST_F(PrinterSurfaceTest, textStandsAtItsTwipsFromThePrintableAreasCorner) {
    const std::string pdf = dir + "/place.pdf";
    dialogs->printerAnswers = {PrinterChoice::pdfFile(pdf)};
    PrinterSurface printer;
    printer.ShowPrinter();
    printer.setFontSize(11);
    printer.setCurrentX(1440);
    printer.setCurrentY(2880);
    printer.Print("HHHH");
    printer.EndDoc();
    const QRectF area = printer.printer().pageLayout().paintRect(QPageLayout::Point);
    const QRect ink = inkOnPage(pdf);
    EXPECT_NEAR(ink.left(), area.left() + 72, 2);
    // The capital's top lies below the text line's top by the font's internal leading.
    EXPECT_NEAR(ink.top(), area.top() + 144 + 2, 2.5);
    EXPECT_NEAR(ink.height(), 8, 1.5);  // cap height of 11 pt Liberation Sans
}

// A job to a PDF file reaches the file whole or not at all: a killed job and a job whose bytes the
// disk refuses leave the file of that name as it was, and nothing beside it.
TEST_F(PrinterSurfaceTest, aJobThatFailsOrIsKilledLeavesTheFileAsItWas) {
    const std::string pdf = dir + "/report.pdf";
    const std::string old = "%PDF-1.4 last week's report";
    auto printPages = [](PrinterSurface& printer, int pages) {
        for (int page = 1; page <= pages; ++page) {
            printer.setCurrentY(1000);
            printer.Print("Page " + std::to_string(page) + std::string(500, 'x'));
            printer.NewPage();
        }
    };
    auto expectOldFileOnly = [&] {
        EXPECT_EQ(readFileBytes(pdf), std::optional<std::string>(old));
        EXPECT_EQ(sqtest::runCommand("ls -A '" + dir + "'"), "report.pdf\n");
    };
    ASSERT_TRUE(writeFileAtomic(pdf, old));
    PrinterSurface printer;
    {
        SCOPED_TRACE("page 3 cannot start");
        dialogs->printerAnswers = {PrinterChoice::pdfFile(pdf)};
        printer.ShowPrinter();
        PrinterSurface::setPageFaultForTests(3);
        EXPECT_EQ(sqtest::errorOf([&] { printPages(printer, 4); }), kPrinterError);
        PrinterSurface::setPageFaultForTests(0);
        EXPECT_TRUE(printer.jobOpen());
        printer.KillDoc();
        EXPECT_FALSE(printer.jobOpen());
        EXPECT_EQ(printer.Page(), 1);
        expectOldFileOnly();
    }
    {
        SCOPED_TRACE("a full disk");
        dialogs->printerAnswers = {PrinterChoice::pdfFile(pdf)};
        printer.ShowPrinter();
        std::string error;
        sqtest::withFileSizeLimit(4096, [&] {
            try {
                printPages(printer, 40);
                printer.EndDoc();
            } catch (const VbError& e) {
                error = e.what();
            }
        });
        EXPECT_EQ(error, pdf + "\n" + std::strerror(EFBIG));
        printer.KillDoc();
        EXPECT_FALSE(printer.jobOpen());
        expectOldFileOnly();
    }
    {
        SCOPED_TRACE("a whole job");
        dialogs->printerAnswers = {PrinterChoice::pdfFile(pdf)};
        printer.ShowPrinter();
        printPages(printer, 2);
        printer.EndDoc();
        const std::string info = sqtest::runCommand("pdfinfo '" + pdf + "'");
        EXPECT_TRUE(std::regex_search(info, std::regex("Pages: +2\n"))) << info;
        EXPECT_EQ(sqtest::runCommand("ls -A '" + dir + "'"), "report.pdf\n");
    }
}

}  // namespace
}  // namespace sq
