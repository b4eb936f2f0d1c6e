#include "pdf_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "platform/program_folder.h"
#include "support/test_support.h"

namespace pdftest {

std::string crlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) out += line + "\r\n";
    return out;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string shippedFonts() {
    return sq::resourceFolder() + "/Fonts";
}

std::string smallAfm() {
    std::string text = "StartFontMetrics 4.1\r\nFontName Small\r\nStartCharMetrics 95\r\n";
    for (int code = 32; code <= 126; ++code) {
        int width = 600;
        if (code == 'a' || code == 'b') width = 556;
        if (code == 'c' || code == 'u' || code == 'p') width = 500;
        if (code == ' ') width = 250;
        text += "C " + std::to_string(code) + " ; WX " + std::to_string(width) + " ; N x ; B 0 0 0 0 ;\r\n";
    }
    text += "C -1 ; WX 333 ; N unencoded ; B 0 0 0 0 ;\r\nEndCharMetrics\r\nEndFontMetrics\r\n";
    return text;
}

std::string makeFontFolder(const std::vector<std::string>& names) {
    std::string folder = sqtest::makeTempDir("fonts");
    for (const auto& name : names) writeFile(folder + "/" + name + ".afm", smallAfm());
    return folder;
}

std::tm fixedTime() {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 10;
    t.tm_hour = 13;
    t.tm_min = 45;
    t.tm_sec = 7;
    return t;
}

namespace {
void expectXrefPointsAtObjects(const std::string& bytes) {
    size_t startxref = bytes.rfind("startxref\r\n");
    ASSERT_NE(startxref, std::string::npos);
    long long xrefAt = std::stoll(bytes.substr(startxref + 11));
    ASSERT_EQ(bytes.compare(xrefAt, 6, "xref\r\n"), 0) << "startxref does not point at xref";
    size_t countLine = xrefAt + 6;
    int count = std::stoi(bytes.substr(countLine + 2));
    size_t entry = bytes.find("0000000000 65535 f\r\n", countLine) + 20;
    for (int i = 1; i < count; ++i, entry += 20) {
        long long offset = std::stoll(bytes.substr(entry, 10));
        std::string line = std::to_string(i) + " 0 obj\r\n";
        EXPECT_EQ(bytes.compare(offset, line.size(), line), 0) << "xref entry " << i << " -> " << offset;
    }
}
}  // namespace

void expectValidPdf(const std::string& path, int pages) {
    auto check = runTool("qpdf --check '" + path + "'");
    EXPECT_EQ(check.status, 0) << check.output;
    auto info = runTool("pdfinfo '" + path + "'");
    EXPECT_EQ(info.status, 0) << info.output;
    EXPECT_TRUE(std::regex_search(info.output, std::regex("PDF version:\\s+1.3\n"))) << info.output;
    EXPECT_TRUE(std::regex_search(info.output, std::regex("Pages:\\s+" + std::to_string(pages) + "\n")))
        << info.output;
    expectXrefPointsAtObjects(readFile(path));
}

std::string pageSize(const std::string& path, int page) {
    auto info =
        runTool("pdfinfo -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" + path + "'");
    std::smatch m;
    std::regex re("Page\\s+" + std::to_string(page) + " size:\\s+([0-9.]+ x [0-9.]+)");
    if (!std::regex_search(info.output, m, re)) return info.output;
    return m[1];
}

Doc::Doc(const std::string& fontFolder, const std::string& tag) {
    pdf.setClock(fixedTime);
    pdf.PDFLoadAfm(fontFolder);
    path = sqtest::makeTempDir(tag) + "/out.pdf";
    pdf.PDFFileName(path);
}

}  // namespace pdftest

namespace pdftest {

PointsPage::PointsPage(const std::string& fontFolder) : doc(fontFolder, "page"), pdf(doc.pdf) {
    pdf.PDFSetUnit(0);
    pdf.PDFSetMargins(0, 0);
    pdf.PDFBeginDoc();
    pdf.PDFSetFont(0, 10, 0);
}

int countOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

}  // namespace pdftest
