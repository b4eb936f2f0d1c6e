// The data file and CSV layouts byte for byte, cells that hold separators, the progress caption and
// the line reader's sorting of a data file into the file list window's grids.
#include "recordmodel/data_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/text_file.h"

namespace sq {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// Three points (the second marked, the third with a zero level), an empty user value, a value
// with "é" and one with a character Windows-1252 lacks, and two summary item rows.
RecordCopy sampleRecord() {
    RecordCopy r;
    r.model = "QVX 410";
    r.userInfo = GridCopy::fromRows({{"Evaluator", "Zo\u00E9"},
                                     {"Evaluated", "A. Smith"},
                                     {"Department", "Noise"},
                                     {"Company", ""},
                                     {"Observations", "ok \u03A9"}},
                                    0, 1);
    r.header = GridCopy::fromRows({{"", "D1", "D2", "D3"},
                                   {"Threshold", "80 dB", "70 dB", "0 dB"},
                                   {"Total Point", "3", "3", "3"},
                                   {"LAEQ", "61.3 dB", "61.3 dB", "61.3 dB"},
                                   {"Dose", "1.2 %", "0.4 %", "0.0 %"}},
                                  1, 1);
    r.points =
        GridCopy::fromRows({{"No.s", "Date/Time", "LAVG", "Leq", "LCPK", "LZPK"},
                            {"1", "2022/03/30 14:06:09", "61.2 dB", "60.1 dB", "90.3 dB", "95.0 dB"},
                            {"2", "2022/03/30 14:07:09", "*62.0 dB", "*61.5 dB", "*91.0 dB", "*96.4 dB"},
                            {"3", "2022/03/30 14:08:16", "-- dB", "60.9 dB", "90.0 dB", "-- dB"}},
                           1, 1);
    return r;
}

const std::string kUserLines =
    "Evaluator\tZo\xE9\t\r\n"
    "Evaluated\tA. Smith\t\r\n"
    "Department\tNoise\t\r\n"
    "Company\t\t\r\n"
    "Observations\tok ?\t\r\n";
const std::string kPointLines =
    "No.s\tDate/Time\tLAVG\tLeq\tLCPK\tLZPK\t\r\n"
    "1\t2022/03/30 14:06:09\t61.2 dB\t60.1 dB\t90.3 dB\t95.0 dB\t\r\n"
    "2\t2022/03/30 14:07:09\t*62.0 dB\t*61.5 dB\t*91.0 dB\t*96.4 dB\t\r\n"
    "3\t2022/03/30 14:08:16\t-- dB\t60.9 dB\t90.0 dB\t-- dB\t\r\n";

std::string tabsTo(std::string text, char separator) {
    for (char& c : text)
        if (c == '\t') c = separator;
    return text;
}

std::string expectedFile(const std::string& headerLines, const std::string& pointLines, char separator) {
    return "QVX 410\r\n\r\nInformation\r\n" + tabsTo(kUserLines, separator) + "\r\nHeaderData\r\n" +
           tabsTo(headerLines, separator) + "\r\n\r\nRecordData\r\n" + tabsTo(pointLines, separator);
}

const std::string kHeaderLines =
    "\tD1\tD2\tD3\t\r\n"
    "Threshold\t80 dB\t70 dB\t0 dB\t\r\n"
    "Total Point\t3\t3\t3\t\r\n"
    "LAEQ\t61.3 dB\t61.3 dB\t61.3 dB\t\r\n"
    "Dose\t1.2 %\t0.4 %\t0.0 %\t\r\n";

TEST(DataFileTest, dataFileAndCsvFollowTheLayoutByteForByte) {
    const RecordCopy r = sampleRecord();
    for (char separator : {kDataFileSeparator, kCsvSeparator}) {
        SCOPED_TRACE(separator);
        const std::string bytes = recordFileBytes(r, separator);
        EXPECT_EQ(bytes, expectedFile(kHeaderLines, kPointLines, separator));
        EXPECT_EQ(splitLines(bytes).size(), 8u + 5 + 5 + 4);
    }
}

TEST(DataFileTest, aDeletedColumnWritesThreeCellsAndATitleOnlyGridEndsTheFile) {
    RecordCopy r = sampleRecord();
    r.header = GridCopy::fromRows({{"", "D1", "D2"},
                                   {"Threshold", "80 dB", "70 dB"},
                                   {"Total Point", "3", "3"},
                                   {"LAEQ", "61.3 dB", "61.3 dB"},
                                   {"Dose", "1.2 %", "0.4 %"}},
                                  1, 1);
    const std::string threeColumns =
        "\tD1\tD2\t\r\nThreshold\t80 dB\t70 dB\t\r\nTotal Point\t3\t3\t\r\nLAEQ\t61.3 dB\t61.3 dB\t\r\n"
        "Dose\t1.2 %\t0.4 %\t\r\n";
    EXPECT_EQ(recordFileBytes(r, kDataFileSeparator), expectedFile(threeColumns, kPointLines, '\t'));

    r = sampleRecord();
    r.points = GridCopy::fromRows({{"No.s", "Date/Time", "LAVG", "Leq", "LCPK", "LZPK"}}, 1, 1);
    const std::string titleOnly = "No.s\tDate/Time\tLAVG\tLeq\tLCPK\tLZPK\t\r\n";
    for (char separator : {kDataFileSeparator, kCsvSeparator}) {
        const std::string bytes = recordFileBytes(r, separator);
        EXPECT_EQ(bytes, expectedFile(kHeaderLines, titleOnly, separator));
        EXPECT_EQ(splitLines(bytes).size(), 8u + 5 + 5 + 1);
    }
}

// A reader of RFC 4180 CSV lines: quoted cells may hold "," and doubled quotes.
std::vector<std::string> csvCells(const std::string& line) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            cells.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

std::vector<std::string> tabCells(const std::string& line) {
    std::vector<std::string> cells(1);
    for (char c : line) {
        if (c == '\t')
            cells.emplace_back();
        else
            cells.back() += c;
    }
    return cells;
}

TEST(DataFileTest, separatorsInsideCellsNeverShiftRowsOrColumns) {
    struct Case {
        const char* name;
        std::string text;
        std::string inDataFile;  // the cell as the data file keeps it
        std::string inCsvLine;   // the cell as the CSV line holds it
    };
    const std::vector<Case> cases = {
        {"tab", "a\tb", "a b", "a b"},
        {"cr", "a\rb", "a b", "a b"},
        {"lf", "line1\nline2", "line1 line2", "line1 line2"},
        {"crlf", "x\r\ny", "x  y", "x  y"},
        {"comma", "Smith, J.", "Smith, J.", "\"Smith, J.\""},
        {"quote", "say \"hi\"", "say \"hi\"", "\"say \"\"hi\"\"\""},
        {"both", "a\"b,c", "a\"b,c", "\"a\"\"b,c\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordCopy r = sampleRecord();
        r.userInfo = GridCopy::fromRows({{c.text, c.text}, {"Evaluated", "x"}}, 0, 1);

        const auto dataLines = splitLines(recordFileBytes(r, kDataFileSeparator));
        ASSERT_EQ(dataLines.size(), 8u + 2 + 5 + 4);
        EXPECT_EQ(dataLines[3], c.inDataFile + "\t" + c.inDataFile + "\t");
        EXPECT_EQ(tabCells(dataLines[3]), (std::vector<std::string>{c.inDataFile, c.inDataFile, ""}));
        EXPECT_EQ(dataLines[4], "Evaluated\tx\t");

        const auto csvLines = splitLines(recordFileBytes(r, kCsvSeparator));
        ASSERT_EQ(csvLines.size(), 8u + 2 + 5 + 4);
        EXPECT_EQ(csvLines[3], c.inCsvLine + "," + c.inCsvLine + ",");
        EXPECT_EQ(csvCells(csvLines[3]), (std::vector<std::string>{c.inDataFile, c.inDataFile, ""}));
        EXPECT_EQ(csvCells(csvLines[8]),
                  (std::vector<std::string>{"Threshold", "80 dB", "70 dB", "0 dB", ""}));
    }
}

TEST(DataFileTest, progressCountsEveryCellAndEndsAtOneHundred) {
    EXPECT_EQ(progressCaption(1, 8, "Completed"), "12.5% Completed");
    EXPECT_EQ(progressCaption(0, 8, "Completed"), "0.0% Completed");
    EXPECT_EQ(progressCaption(8, 8, "Completed"), "100.0% Completed");
    EXPECT_EQ(progressCaption(9, 8, "Completed"), "100.0% Completed");
    EXPECT_EQ(progressCaption(2, 3, "Fertig"), "66.7% Fertig");

    const RecordCopy r = sampleRecord();
    const int64_t total = recordCellCount(r);
    EXPECT_EQ(total, 5 * 2 + 5 * 4 + 4 * 6);
    std::vector<int64_t> done;
    (void)recordFileBytes(r, kCsvSeparator, [&](int64_t cells) { done.push_back(cells); });
    ASSERT_EQ(done.size(), 14u);  // one call per grid row
    EXPECT_EQ(done.front(), 2);   // the user-information grid's first row already counts
    EXPECT_EQ(done.back(), total);
    EXPECT_TRUE(std::is_sorted(done.begin(), done.end()));
}

// Lines of a file (line 0, the model, left out) through one fresh reader: the rows each grid gets.
struct Sorted {
    std::vector<std::string> userInfo, header, record;
    bool operator==(const Sorted&) const = default;
};

Sorted sortLines(const std::vector<std::string>& lines, DataFileReader reader = {}) {
    Sorted s;
    for (size_t n = 1; n < lines.size(); ++n) {
        const DataFileRow row = ParseDataFileLine(reader, static_cast<int32_t>(n), lines[n]);
        if (row.grid == DataFileGrid::UserInfo) s.userInfo.emplace_back(row.text);
        if (row.grid == DataFileGrid::Header) s.header.emplace_back(row.text);
        if (row.grid == DataFileGrid::Record) s.record.emplace_back(row.text);
    }
    return s;
}

TEST(DataFileTest, theReaderSortsLinesBySection) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        Sorted expected;
    };
    const std::vector<Case> cases = {
        {"a written file",
         {"QVX 410", "", "Information", "Evaluator\tZo\t", "Company\t\t", "", "HeaderData", "\tD1\tD2\tD3\t",
          "Threshold\t80 dB\t", "", "", "RecordData", "No.s\tDate/Time\t", "1\tp1\t", "2\tp2\t"},
         {{"Evaluator\tZo\t", "Company\t\t"},
          {"\tD1\tD2\tD3\t", "Threshold\t80 dB\t"},
          {"1\tp1\t", "2\tp2\t"}}},
        {"no points: the title row only", {"M", "", "RecordData", "No.s\tDate/Time\t"}, {}},
        {"blank lines anywhere are skipped but counted",
         {"M", "HeaderData", "", "", "row\t", "RecordData", "", "1\t", "", "2\t"},
         {{}, {"row\t"}, {"1\t", "2\t"}}},
        {"points straight after RecordData: the first is taken for the title",
         {"M", "RecordData", "1\tp1\t", "2\tp2\t"},
         {{}, {}, {"2\tp2\t"}}},
        {"keywords match exactly",
         {"M", "Information", "information\tx", " HeaderData", "HeaderData ", "RecordData\tx", "t", "p"},
         {{"information\tx", " HeaderData", "HeaderData "}, {}, {"p"}}},
        {"lines before the first keyword go nowhere",
         {"M", "stray\t", "more", "HeaderData", "h"},
         {{}, {"h"}, {}}},
    };
    for (const Case& c : cases) EXPECT_EQ(sortLines(c.lines), c.expected) << c.name;
}

}  // namespace
}  // namespace sq
