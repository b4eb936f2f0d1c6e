#pragma once
// The PDF report of a downloaded record: the summary table, optionally the point table, a chart page
// with the four level series and their maxima, and a level histogram page, written through the
// program's own PDF writer and opened in the desktop's viewer.
//
// The report reads copies of the record list window's three grids, taken once when it starts, so
// rows deleted or the window closed while it lets events run change nothing in the file. Events are
// served through an EventPacer; the window's caption shows the progress at its passes.
//
// A report that cannot be finished is not opened: the pages written so far are ended into a valid
// file (or, when even that fails, nothing is written and an existing file of that name stays as it
// was) and one critical message says so, naming the file and the cause.
#include <cstdint>
#include <functional>
#include <string>

#include "recordmodel/grid_copy.h"

namespace sq {

class kdrPDF;

// What the report needs of the record list window besides its grids.
struct PdfReportHost {
    std::string caption;                                 // given back when the report ends
    std::function<void(const std::string&)> setCaption;  // shows a progress text (may be empty)
    std::string deviceModel;
    int16_t printRecordData = 0;  // true (-1): the point table goes in
    std::string completedText = "Completed";
};

// The three grids as the report reads them.
struct PdfReportGrids {
    GridCopy summary;   // QVX410Grid: label, D1, D2, D3
    GridCopy points;    // QVX410PointGrid: No.s, Date/Time, LAVG, Leq, LCPK, LZPK
    GridCopy userInfo;  // GridUserInfo: label, value
};

inline constexpr const char* kPdfFilter = "PDF Files (*.pdf)|*.pdf|";

// Writes the report of `grids` to `path`.
void WritePdfReport(const std::string& path, const PdfReportGrids& grids, const PdfReportHost& host);

// The lines of model and user information above a table: "- " and the model at (x, y), then one
// line per user-information row, `step` + `margin` apart. Returns the y below the last line,
// rounded to a whole number. A line that fails is passed over.
int16_t PdfWriteUserInfo(int16_t x, int16_t y, int16_t step, int16_t margin, const GridCopy& userInfo,
                         const std::string& deviceModel, kdrPDF& document);

// Moves the line of a centimetre-based head block one step (0.72) down; at the limit it starts a
// new page with a rule at its top (unless flag is 1) and its footer, and returns to y 1.25.
double AdvancePdfLine(double& y, double limit, kdrPDF& document, uint8_t flag = 0);

}  // namespace sq
