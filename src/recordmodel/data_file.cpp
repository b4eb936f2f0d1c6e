#include "recordmodel/data_file.h"

#include <algorithm>

#include "platform/encoding.h"
#include "platform/fill_in.h"
#include "platform/numbers.h"
#include "texts/language_texts.h"

namespace sq {

namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Appends `text` as Windows-1252 with TAB, CR and LF as blanks; in a quoted CSV cell each '"' twice.
void appendBytes(std::string& out, std::string_view text, bool quoted) {
    std::string converted;
    if (!isAscii(text)) {
        converted = utf8ToCp1252(text);
        text = converted;
    }
    for (char c : text) {
        if (c == '\t' || c == '\r' || c == '\n') {
            out += ' ';
        } else {
            if (quoted && c == '"') out += '"';
            out += c;
        }
    }
}

void appendCell(std::string& out, std::string_view text, char separator) {
    // Most cells are plain ASCII with nothing to replace: they go in whole.
    if (text.find_first_of(separator == kCsvSeparator ? "\t\r\n,\"" : "\t\r\n") == std::string_view::npos &&
        isAscii(text)) {
        out += text;
        out += separator;
        return;
    }
    const bool quoted = separator == kCsvSeparator && text.find_first_of(",\"") != std::string_view::npos;
    if (quoted) out += '"';
    appendBytes(out, text, quoted);
    if (quoted) out += '"';
    out += separator;
}

}  // namespace

void appendRowLine(std::string& out, const GridCopy& grid, int row, char separator) {
    for (int col = 0; col < grid.cols(); ++col) appendCell(out, grid.cell(row, col), separator);
    out += "\r\n";
}

void appendTextLine(std::string& out, std::string_view text) {
    appendBytes(out, text, false);
    out += "\r\n";
}

int64_t recordCellCount(const RecordCopy& record) {
    return record.userInfo.cellCount() + record.header.cellCount() + record.points.cellCount();
}

void writeRecordFile(const RecordCopy& record, char separator,
                     const std::function<void(std::string_view)>& emit,
                     const std::function<void(int64_t cellsDone)>& afterRow) {
    constexpr size_t kPiece = 64 * 1024;
    std::string out;
    out.reserve(2 * kPiece);
    int64_t done = 0;
    auto emitFull = [&] {
        if (out.size() < kPiece) return;
        emit(out);
        out.clear();
    };
    auto grid = [&](const GridCopy& g) {
        for (int row = 0; row < g.rows(); ++row) {
            appendRowLine(out, g, row, separator);
            emitFull();
            done += g.cols();
            if (afterRow) afterRow(done);
        }
    };
    appendTextLine(out, record.model);
    appendTextLine(out, "");
    appendTextLine(out, "Information");
    grid(record.userInfo);
    appendTextLine(out, "");
    appendTextLine(out, "HeaderData");
    grid(record.header);
    appendTextLine(out, "");
    appendTextLine(out, "");
    appendTextLine(out, "RecordData");
    grid(record.points);
    if (!out.empty()) emit(out);
}

std::string recordFileBytes(const RecordCopy& record, char separator,
                            const std::function<void(int64_t cellsDone)>& afterRow) {
    std::string all;
    writeRecordFile(
        record, separator, [&](std::string_view piece) { all += piece; }, afterRow);
    return all;
}

std::string progressCaption(int64_t done, int64_t total, const std::string& completed) {
    double percent = 100.0;
    if (total > 0)
        percent =
            static_cast<double>(std::clamp<int64_t>(done, 0, total)) / static_cast<double>(total) * 100.0;
    return formatFixed(percent, 1) + "% " + completed;
}

std::string& SaveFileName() {
    static std::string name;
    return name;
}

bool& SaveFileChosen() {
    static bool chosen = false;
    return chosen;
}

DataFileRow ParseDataFileLine(DataFileReader& reader, int32_t lineNumber, std::string_view lineText) {
    if (lineText.empty()) return {};
    const std::string_view first = lineText.substr(0, lineText.find('\t'));
    if (first == "Information") {
        reader.LoadSection = 3;
        reader.LoadSectionStart = lineNumber;
    } else if (first == "HeaderData") {
        reader.LoadSection = 1;
        reader.LoadSectionStart = lineNumber;
    } else if (first == "RecordData") {
        reader.LoadSection = 2;
        reader.LoadSectionStart = lineNumber + 1;
    }
    if (lineNumber <= reader.LoadSectionStart) return {};
    switch (reader.LoadSection) {
        case 3:
            return {DataFileGrid::UserInfo, lineText};
        case 1:
            return {DataFileGrid::Header, lineText};
        case 2:
            return {DataFileGrid::Record, lineText};
        default:
            return {};
    }
}

std::optional<std::vector<DataFileRow>> dataFileRows(const std::vector<std::string>& lines,
                                                     std::string& refusal) {
    DataFileReader reader;
    std::vector<DataFileRow> rows;
    int32_t points = 0;
    for (size_t n = 1; n < lines.size(); ++n) {
        const DataFileRow row = ParseDataFileLine(reader, static_cast<int32_t>(n), lines[n]);
        if (row.grid == DataFileGrid::None) continue;
        if (row.grid == DataFileGrid::Record && ++points > kMaxRecordPoints) {
            refusal = fillIn(texts().TxtTooManyPoints, {std::to_string(kMaxRecordPoints)});
            return std::nullopt;
        }
        rows.push_back(row);
    }
    if (rows.empty()) {
        refusal = texts().TxtNoDataInFile;
        return std::nullopt;
    }
    return rows;
}

}  // namespace sq
