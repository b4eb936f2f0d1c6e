// The printed report from both record list windows, printed through Qt's printer into a PDF file and
// read back: every part on its pages, every page numbered, nothing blank, on A4.
#include <gtest/gtest.h>

#include <regex>

#include "mainwindow/panel_fixture.h"
#include "platform/text_file.h"
#include "recordmodel/data_file.h"
#include "records/file_list_frm.h"
#include "records/print_report_support.h"
#include "records/record_window_fixture.h"
#include "support/test_support.h"

namespace sq {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class PrintOutputTest : public sqtest::RecordWindowTest {
protected:
    void SetUp() override {
        RecordWindowTest::SetUp();
        dir = sqtest::makeTempDir("print");
        DataListFrm& f = frm();
        f.GridUserInfo.setTextMatrix(0, 1, "Zo\u00E9");
        f.GridUserInfo.setTextMatrix(3, 1, "ACME");
        f.QVX410Grid.setTextMatrix(3, 1, "80 dB");
        f.QVX410Grid.setTextMatrix(10, 1, "00:20:34");
    }
    static void addPoints(FlexGrid& grid, int n, const std::string& unit) {
        for (int p = 1; p <= n; ++p) {
            const std::string level = std::to_string(60 + p % 30) + ".4 " + unit;
            grid.AddItem(std::to_string(p) + "\t2022/03/30 14:05:09\t" + level + "\t*" + level + "\t-- " +
                         unit + "\t163.2 " + unit + "\t");
        }
    }
    sqtest::PrintedPdf print(const std::string& name, MsgResult answer) {
        const std::string path = dir + "/" + name;
        dialogs->messageAnswers.push_back(answer);
        dialogs->printerAnswers.push_back(PrinterChoice::pdfFile(path));
        frm().Toolbar1.click("Print");
        return sqtest::readPrintedPdf(path);
    }
    std::string dir;
};

TEST_F(PrintOutputTest, everyPartPrintsOnItsNumberedPages) {
    struct Case {
        const char* name;
        int points;
        MsgResult answer;
        std::string unit;
        int pages;  // 0: more than three
    };
    const std::vector<Case> cases = {
        {"1,234 points", 1234, MsgResult::Yes, "dB", 0},
        {"without the point table", 1234, MsgResult::No, "dB", 2},
        {"one point", 1, MsgResult::Yes, "dB", 3},
        {"levels in dBA", 20, MsgResult::Yes, "dBA", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs->clear();
        frm().QVX410PointGrid.setRows(1);
        addPoints(frm().QVX410PointGrid, c.points, c.unit);
        texts().TxtDBUnit = c.unit;
        const sqtest::PrintedPdf pdf = print(std::string(c.name) + ".pdf", c.answer);

        EXPECT_TRUE(pdf.a4);
        if (c.pages > 0)
            EXPECT_EQ(pdf.pages, c.pages);
        else
            EXPECT_GT(pdf.pages, 3);
        // Every page carries its own number, so none is blank, the last one included.
        EXPECT_EQ(static_cast<int>(pdf.pageTexts.size()), pdf.pages);
        EXPECT_EQ(pdf.numberedPages(), pdf.pages);
        ASSERT_GE(pdf.pageTexts.size(), 2u);

        const std::string& first = pdf.pageTexts.front();
        for (const char* text : {"- QVX 410", "- Evaluator : Zo\u00E9", "- Company : ACME", "- HeaderData",
                                 "Threshold", "80 dB", "Exceedance Level", "00:20:34"})
            EXPECT_NE(first.find(text), std::string::npos) << text << " in " << first;
        const std::string& chart = pdf.pageTexts.back();
        for (const char* text : {"- QVX 410", "- Evaluator : Zo\u00E9", "Threshold", "00:20:34", "50.0",
                                 "75.0", "100.0", "125.0", "150.0", "Lavg", "Leq", "Lcpk", "Lzpk"})
            EXPECT_NE(chart.find(text), std::string::npos) << text << " in " << chart;
        // Time labels need two points; one point still gets the frame, the legend and the footer.
        EXPECT_EQ(chart.find("2022/03/30 14:05:09") != std::string::npos, c.points >= 2);

        const bool points = c.answer == MsgResult::Yes;
        EXPECT_EQ(pdf.all().find("- RecordData") != std::string::npos, points);
        if (points) {
            const std::string& table = pdf.pageTexts[1];
            EXPECT_NE(table.find("No.s"), std::string::npos);
            EXPECT_NE(table.find("*" + std::to_string(60 + 1 % 30) + ".4 " + c.unit), std::string::npos)
                << table;
            // The point table's continuation pages repeat its titles, not the heading.
            for (size_t page = 2; page + 1 < pdf.pageTexts.size(); ++page) {
                EXPECT_NE(pdf.pageTexts[page].find("Date/Time"), std::string::npos) << page;
                EXPECT_EQ(pdf.pageTexts[page].find("QVX 410"), std::string::npos) << page;
            }
            EXPECT_TRUE(std::regex_search(pdf.pageTexts[pdf.pageTexts.size() - 2],
                                          std::regex("(^|\\s)" + std::to_string(c.points) + " +2022/03/30")));
        }
        // Only the question was asked; the caption and polling are back.
        EXPECT_EQ(dialogs->messageTexts(), std::vector<std::string>{"Output Record Data?"});
        EXPECT_EQ(frm().Caption(), "DataList");
        EXPECT_TRUE(timer1.enabled());
        EXPECT_TRUE(timer2.enabled());
    }
}

// The file list window, with no instrument connected: the heading names the file's model.
class FilePrintOutputTest : public sqtest::PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        startPort = 0;
        start();
        dir = sqtest::makeTempDir("fileprint");
    }
    void open(const Rows& summary, int points) {
        Rows pointRows = {{"No.s", "Date/Time", "LAVG", "Leq", "LCPK", "LZPK"}};
        for (int p = 1; p <= points; ++p)
            pointRows.push_back(
                {std::to_string(p), "2021/01/02 03:04:05", "70.1 dB", "71.2 dB", "95.0 dB", "99.9 dB"});
        const RecordCopy record{"KM-300", GridCopy::fromRows({{"Evaluator", "Ann"}, {"Company", "Works"}}),
                                GridCopy::fromRows(summary), GridCopy::fromRows(pointRows)};
        const std::string path = dir + "/record.qvx";
        ASSERT_TRUE(writeFileAtomic(path, recordFileBytes(record, kDataFileSeparator)));
        dialogs->fileAnswers.push_back(path);
        panel->Toolbar1.click("Open");
        ASSERT_NE(windows().find(FileListFrm::kName), nullptr);
    }
    sqtest::PrintedPdf print(const std::string& name) {
        const std::string path = dir + "/" + name;
        dialogs->messageAnswers.push_back(MsgResult::Yes);
        dialogs->printerAnswers.push_back(PrinterChoice::pdfFile(path));
        form<FileListFrm>().Toolbar1.click("Print");
        return sqtest::readPrintedPdf(path);
    }
    std::string dir;
};

TEST_F(FilePrintOutputTest, aFileWithFiveSummaryRowsPrintsUnderItsOwnModelOrTheConnectedOne) {
    open({{"", "D1", "D2", "D3"},
          {"Start Date/Time", "2021/01/02 03:04:00", "", ""},
          {"Stop Date/Time", "2021/01/02 03:09:00", "", ""},
          {"Threshold", "75 dB", "", ""},
          {"Criterion", "85 dB", "", ""}},
         30);
    EXPECT_EQ(shared().FileModel, "KM-300");
    EXPECT_EQ(shared().DeviceModel, "");
    sqtest::PrintedPdf pdf = print("file.pdf");
    EXPECT_EQ(pdf.pages, 3);
    EXPECT_EQ(pdf.numberedPages(), 3);
    for (const std::string& page : pdf.pageTexts) {
        EXPECT_NE(page.find("- KM-300"), std::string::npos) << page;
        EXPECT_NE(page.find("- Evaluator : Ann"), std::string::npos) << page;
    }
    for (const char* text :
         {"Threshold", "75 dB", "Criterion", "85 dB", "150.0", "Lzpk", "2021/01/02 03:04:05"})
        EXPECT_NE(pdf.pageTexts[2].find(text), std::string::npos) << text;
    EXPECT_EQ(dialogs->messageTexts(), std::vector<std::string>{"Output Record Data?"});
    EXPECT_EQ(form<FileListFrm>().Caption(), "FileList");

    // With an instrument's model known, the heading shows that model, also for an opened file.
    shared().DeviceModel = "QVX 410";
    pdf = print("connected.pdf");
    EXPECT_EQ(pdf.pages, 3);
    EXPECT_NE(pdf.pageTexts[0].find("- QVX 410"), std::string::npos);
    EXPECT_EQ(pdf.all().find("KM-300"), std::string::npos);
}

}  // namespace
}  // namespace sq
