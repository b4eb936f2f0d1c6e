#pragma once
// Helpers for the PDF writer's tests: fixture fonts, reading the written file back, the checking
// tools (qpdf, poppler) and a fixed clock.
#include <ctime>
#include <string>
#include <vector>

#include "pdf/kdr_pdf.h"
#include "support/test_support.h"

namespace pdftest {

// Lines joined, each followed by CR LF.
std::string crlf(const std::vector<std::string>& lines);
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// The 14 metric files that the build ships.
std::string shippedFonts();
// A fresh folder with one small metric file per name; each gives a and b the width 556, c 500,
// space 250 and "u", "p" 500 (codes 32 to 126 otherwise 600).
std::string makeFontFolder(const std::vector<std::string>& names);
// The small metric file's text.
std::string smallAfm();

// 2026-12-10 13:45:07.
std::tm fixedTime();
inline const char* kFixedDate = "20261210134507";

using sqtest::runTool;
using sqtest::ToolResult;
// qpdf --check passes and pdfinfo reports version 1.3 and the page count; then every xref entry
// points at its object's line and startxref at "xref". Reports failures through gtest.
void expectValidPdf(const std::string& path, int pages);
// pdfinfo's "Page N size" values for page n, e.g. "595.28 x 841.89".
std::string pageSize(const std::string& path, int page);

// A writer with the fixed clock, the given font folder loaded and the output file named.
struct Doc {
    explicit Doc(const std::string& fontFolder, const std::string& tag = "doc");
    sq::kdrPDF pdf;
    std::string path;
    std::string bytes() const { return readFile(path); }
};

}  // namespace pdftest

namespace pdftest {

// A begun document in points with zero margins on A4 (H = 841.89), the fonts of `fontFolder`
// loaded (Helvetica first unless the folder says otherwise) and Helvetica 10 selected.
struct PointsPage {
    explicit PointsPage(const std::string& fontFolder = makeFontFolder({"Helvetica"}));
    Doc doc;
    sq::kdrPDF& pdf;
    std::string content() const { return pdf.pageContent(); }
};

int countOf(const std::string& text, const std::string& part);

}  // namespace pdftest
