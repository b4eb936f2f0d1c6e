#pragma once
// The PDF report's tests: grid copies filled as a downloaded record fills the window, a private
// program folder with the shipped fonts, and the written file read back page by page from its
// content streams (texts with their Td position, lines, rectangles).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "pdf/pdf_test_support.h"
#include "platform/dialogs.h"
#include "platform/event_pacer.h"
#include "platform/program_folder.h"
#include "platform/runtime.h"
#include "reports/pdf_report.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"

namespace sqtest {

constexpr double kPageHeight = 842;
constexpr double kPointsPerCm = 72 / 2.54;

// Where the writer puts a text written at (x, y) in the unit of k points: the left margin of one
// unit is added, y is counted from the bottom.
inline std::string td(double x, double y, double k = 1) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f %.2f", (1 + x) * k, kPageHeight - y * k);
    return buf;
}
// A point of a line or rectangle drawn in points.
inline std::string at(double x, double y) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f %.2f", x, kPageHeight - y);
    return buf;
}

struct PdfText {
    std::string pos;  // "x y" as in the Td operator
    std::string text;
    std::string colour;  // the fill operator in force, e.g. "0 g"
};
struct PdfLine {
    std::string from, to;  // "x y" as in m and l
    std::string dash, colour, width;
};
struct PdfRect {
    std::string box;  // "x y w h" as before "re"
    std::string fill;
};
struct PdfPage {
    std::vector<PdfText> texts;
    std::vector<PdfLine> lines;
    std::vector<PdfRect> rects;

    [[nodiscard]] std::vector<const PdfText*> textsOf(const std::string& text) const;
    // The one text `text` on the page; a test failure (and an empty position) otherwise.
    [[nodiscard]] std::string posOf(const std::string& text) const;
    [[nodiscard]] bool hasText(const std::string& text) const { return !textsOf(text).empty(); }
    [[nodiscard]] int footers() const;  // texts starting with "P - " or "P-"
};

// The pages of a written report, from its content streams in file order.
std::vector<PdfPage> readReportPages(const std::string& path);

// Grid copies as DataListFrm holds them.
sq::GridCopy summaryGrid(int extraItems = 1);
sq::GridCopy userInfoGrid(int rows = 5);
// The point grid: title row and one row per level row given (LAVG, Leq, LCPK, LZPK); times are
// 2022/03/30 10:00:00 plus p minutes.
sq::GridCopy pointGrid(const std::vector<std::vector<std::string>>& levels);
// n points with ordinary varied levels.
sq::GridCopy pointGrid(int n);
std::string pointTime(int p);

// The test's own program folder (XDG_DATA_HOME) seeded like the program's, for the scope.
class ScopedProgramFolder {
public:
    ScopedProgramFolder();
    ~ScopedProgramFolder();
    ScopedProgramFolder(const ScopedProgramFolder&) = delete;
    ScopedProgramFolder& operator=(const ScopedProgramFolder&) = delete;

private:
    std::string m_previous;
};

class PdfReportTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the report of the grids with the host; the captions written land in `captions`.
    void write(const std::string& path, const sq::PdfReportGrids& grids, bool recordData = false,
               const std::string& model = "QVX 410");
    std::string newPath(const std::string& name) { return dir + "/" + name; }
    [[nodiscard]] int viewerCalls();

    std::unique_ptr<ScopedProgramFolder> folder;
    sq::ScopedScriptedDialogs dialogs;
    std::vector<std::string> captions;
    std::string dir;
};

}  // namespace sqtest
