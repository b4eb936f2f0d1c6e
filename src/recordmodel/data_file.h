#pragma once
// The data file (".qvx") and the CSV export of a record: its three grids written one grid row per
// line, every cell followed by the separator (TAB, or "," for CSV), Windows-1252, CR LF; and the
// reader that sorts a data file's lines into the file list window's grids.
//
// Line layout (U, H, P: rows of the user-information, summary and point grids, title rows
// included): the model, an empty line, "Information", U rows, an empty line, "HeaderData", H rows,
// two empty lines, "RecordData", P rows; 8 + U + H + P lines in all.
//
// Cells never break the layout: a TAB, CR or LF inside a cell is written as a blank, and the CSV
// export quotes a cell holding "," or '"', doubling each '"'. Files without such cells are exactly
// the classic ones, so the reader reads old and new files alike.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_file.h"
#include "recordmodel/grid_copy.h"

namespace sq {

constexpr char kDataFileSeparator = '\t';
constexpr char kCsvSeparator = ',';

// What the writers read: the model line and the three grids, copied before writing starts.
struct RecordCopy {
    std::string model;
    GridCopy userInfo;
    GridCopy header;
    GridCopy points;
};

// Appends row `row` of `grid` as one line: each cell, then the separator, CR LF at the end.
void appendRowLine(std::string& out, const GridCopy& grid, int row, char separator);
// Appends a line that stands alone (the model, a keyword, an empty line), CR LF at the end.
void appendTextLine(std::string& out, std::string_view text);

// Every cell of the three grids, fixed rows and columns included: the progress counts these.
[[nodiscard]] int64_t recordCellCount(const RecordCopy& record);
// Writes the file in pieces of some 64 KB: `emit` gets each piece in order. `afterRow` runs after
// each grid row with the cells done so far.
void writeRecordFile(const RecordCopy& record, char separator,
                     const std::function<void(std::string_view)>& emit,
                     const std::function<void(int64_t cellsDone)>& afterRow = {});
// The whole file at once.
[[nodiscard]] std::string recordFileBytes(const RecordCopy& record, char separator,
                                          const std::function<void(int64_t cellsDone)>& afterRow = {});

// The progress caption: the share done in percent with one decimal, "% " and the word for
// completed ("12.5% Completed"); never above 100.0.
[[nodiscard]] std::string progressCaption(int64_t done, int64_t total, const std::string& completed);

// The file chosen in the last confirmed save dialog, and whether a writer has yet to use it.
std::string& SaveFileName();
bool& SaveFileChosen();

// The reader's place in a data file: the section (0 none, 1 "HeaderData", 2 "RecordData",
// 3 "Information") and the number of the line the section's rows follow. A fresh reader is used
// for every file.
struct DataFileReader {
    int16_t LoadSection = 0;
    int32_t LoadSectionStart = 0;
};

enum class DataFileGrid { None, UserInfo, Header, Record };

// A line the reader keeps: the grid it goes to and its text, appended there as a row (the grid
// splits it at TABs and drops what does not fit).
struct DataFileRow {
    DataFileGrid grid = DataFileGrid::None;
    std::string_view text;
};

// Reads line `lineNumber` (1 for the line after the model line). Empty lines change nothing; a line
// whose first field is exactly "Information", "HeaderData" or "RecordData" starts that section
// (the point section's title row is its start too); any other line after its section's start goes
// to that section's grid, and before the first keyword to none.
DataFileRow ParseDataFileLine(DataFileReader& reader, int32_t lineNumber, std::string_view lineText);

// The most points a record holds: its header counts them in 16 bits.
constexpr int32_t kMaxRecordPoints = 65535;
// A data file is refused unread beyond these. The largest record writes some 5 MB in lines of under
// a hundred characters; only a user-information value can make a line long.
inline constexpr ReadLimit kDataFileReadLimit{16u << 20, 64u << 10, 2u * (kMaxRecordPoints + 1)};

// The rows a data file's lines (the model line first, read by the caller) put into the grids, in
// file order, read by a fresh reader. When the file would show nothing, or more points than a
// record holds, nullopt with the reason in `refusal`. The rows' texts point into `lines`.
std::optional<std::vector<DataFileRow>> dataFileRows(const std::vector<std::string>& lines,
                                                     std::string& refusal);

}  // namespace sq
