#pragma once
// Reading back a printed report that the printer wrote as a PDF file: its page count and size from
// pdfinfo, its text page by page from pdftotext -layout.
#include <regex>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace sqtest {

struct PrintedPdf {
    int pages = -1;  // pdfinfo's page count; -1 when it could not read the file
    bool a4 = false;
    std::vector<std::string> pageTexts;  // pdftotext -layout, one text per page

    [[nodiscard]] std::string all() const {
        std::string text;
        for (const std::string& page : pageTexts) text += page;
        return text;
    }
    // How many pages carry the footer of their own number ("P - n" on page n; pdftotext may close up
    // the blanks of so short a text).
    [[nodiscard]] int numberedPages() const {
        int n = 0;
        for (size_t i = 0; i < pageTexts.size(); ++i)
            n += std::regex_search(pageTexts[i],
                                   std::regex("(^|\\s)P *- *" + std::to_string(i + 1) + "(\\s|$)"));
        return n;
    }
};

inline PrintedPdf readPrintedPdf(const std::string& path) {
    PrintedPdf pdf;
    const std::string info = runCommand("pdfinfo '" + path + "'");
    std::smatch m;
    if (std::regex_search(info, m, std::regex("Pages: +([0-9]+)"))) pdf.pages = std::stoi(m[1]);
    pdf.a4 = info.find("(A4)") != std::string::npos;
    const std::string text = runCommand("pdftotext -layout '" + path + "' -");
    size_t begin = 0;
    for (size_t ff = text.find('\f'); ff != std::string::npos; ff = text.find('\f', begin)) {
        pdf.pageTexts.push_back(text.substr(begin, ff - begin));
        begin = ff + 1;
    }
    return pdf;
}

}  // namespace sqtest
