#include "reports/pdf_report_fixture.h"

#include <filesystem>

#include "platform/text_file.h"

namespace sqtest {

namespace {

std::vector<std::string> splitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// "x y" from "x y m", "x y l" or "x y Td".
std::string dropOperator(const std::string& line) {
    return line.substr(0, line.rfind(' '));
}

std::string unescapeLiteral(const std::string& literal) {
    std::string out;
    for (size_t i = 0; i < literal.size(); ++i) {
        if (literal[i] == '\\' && i + 1 < literal.size()) ++i;
        out += literal[i];
    }
    return out;
}

PdfPage parsePage(const std::string& content) {
    PdfPage page;
    const std::vector<std::string> lines = splitCrLf(content);
    std::string textColour;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.rfind("q ", 0) == 0) {
            textColour = line.substr(2, line.size() - 3);
        } else if (line == "%DEBUT_TEXT/%" && i + 4 < lines.size()) {
            const std::string& show = lines[i + 4];
            page.texts.push_back(
                {dropOperator(lines[i + 2]), unescapeLiteral(show.substr(1, show.size() - 5)), textColour});
            textColour.clear();
        } else if ((line == "%DEBUT_LN/%" || line == "%DEBUT_LNH/%") && i + 5 < lines.size()) {
            page.lines.push_back({dropOperator(lines[i + 2]), dropOperator(lines[i + 3]), lines[i + 1],
                                  lines[i + 4], lines[i + 5].substr(0, lines[i + 5].find(' '))});
        } else if (line == "%DEBUT_RECT/%" && i + 3 < lines.size()) {
            const std::string& box = lines[i + 3];
            page.rects.push_back({box.substr(0, box.find(" re")), lines[i + 1]});
        }
    }
    return page;
}

}  // namespace

std::vector<const PdfText*> PdfPage::textsOf(const std::string& text) const {
    std::vector<const PdfText*> found;
    for (const PdfText& t : texts)
        if (t.text == text) found.push_back(&t);
    return found;
}

std::string PdfPage::posOf(const std::string& text) const {
    const auto found = textsOf(text);
    EXPECT_EQ(found.size(), 1u) << "text \"" << text << "\"";
    return found.size() == 1 ? found[0]->pos : std::string();
}

int PdfPage::footers() const {
    int n = 0;
    for (const PdfText& t : texts) n += t.text.rfind("P - ", 0) == 0 || t.text.rfind("P-", 0) == 0;
    return n;
}

std::vector<PdfPage> readReportPages(const std::string& path) {
    const std::string bytes = pdftest::readFile(path);
    std::vector<PdfPage> pages;
    size_t at = 0;
    while ((at = bytes.find("stream\r\n", at)) != std::string::npos) {
        if (at > 0 && bytes[at - 1] == 'd') {  // "endstream"
            at += 8;
            continue;
        }
        const size_t begin = at + 8;
        const size_t end = bytes.find("endstream", begin);
        if (end == std::string::npos) break;
        pages.push_back(parsePage(bytes.substr(begin, end - begin)));
        at = end + 9;
    }
    return pages;
}

sq::GridCopy summaryGrid(int extraItems) {
    std::vector<std::vector<std::string>> rows = {
        {"", "D1", "D2", "D3"},
        {"Start Date/Time", "2022/03/30 10:00:00", "2022/03/30 10:00:00", "2022/03/30 10:00:00"},
        {"Stop Date/Time", "2022/03/30 11:00:00", "2022/03/30 11:00:00", "2022/03/30 11:00:00"},
        {"Threshold", "80 dB", "80 dB", "80 dB"},
        {"Criterion", "85 dB", "90 dB", "85 dB"},
        {"Exchange Rate", "3 dB", "5 dB", "3 dB"},
        {"Exceedance Level", "115 dB", "115 dB", "115 dB"},
        {"Interval Time", "00:01:00", "00:01:00", "00:01:00"},
        {"Total Point", "45", "45", "45"},
        {"PW Duration", "00:00:00", "", ""},
        {"Duration", "01:00:00", "01:00:00", "01:00:00"},
    };
    for (int i = 0; i < extraItems; ++i)
        rows.push_back({"LAVG " + std::to_string(i + 1), "85.3 dB", "84.1 dB", "83.0 dB"});
    return sq::GridCopy::fromRows(rows, 1, 1);
}

sq::GridCopy userInfoGrid(int rows) {
    static const char* const labels[] = {"Evaluator", "Evaluated", "Department", "Company", "Observations"};
    static const char* const values[] = {"Ann Lee", "Press line 3", "Maintenance", "ACME, Inc.",
                                         "Ear plugs worn"};
    std::vector<std::vector<std::string>> cells;
    for (int r = 0; r < rows; ++r) cells.push_back({labels[r % 5], values[r % 5]});
    return sq::GridCopy::fromRows(cells, 0, 1);
}

std::string pointTime(int p) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "2022/03/30 %02d:%02d:00", 10 + p / 60, p % 60);
    return buf;
}

sq::GridCopy pointGrid(const std::vector<std::vector<std::string>>& levels) {
    std::vector<std::vector<std::string>> rows = {{"No.s", "Date/Time", "LAVG", "Leq", "LCPK", "LZPK"}};
    for (size_t p = 0; p < levels.size(); ++p) {
        std::vector<std::string> row = {std::to_string(p + 1), pointTime(static_cast<int>(p + 1))};
        row.insert(row.end(), levels[p].begin(), levels[p].end());
        rows.push_back(row);
    }
    return sq::GridCopy::fromRows(rows, 1, 1);
}

sq::GridCopy pointGrid(int n) {
    std::vector<std::vector<std::string>> levels;
    for (int p = 1; p <= n; ++p) {
        auto level = [&](int base, int spread) {
            const int tenths = base * 10 + (p * 37) % (spread * 10);
            return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " dB";
        };
        levels.push_back({level(60, 30), level(65, 25), level(90, 40), level(95, 40)});
    }
    return pointGrid(levels);
}

ScopedProgramFolder::ScopedProgramFolder() {
    const char* previous = std::getenv("XDG_DATA_HOME");
    m_previous = previous ? previous : "";
    const std::string home = makeTempDir("home");
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    sq::ensureProgramFolder();
}

ScopedProgramFolder::~ScopedProgramFolder() {
    setenv("XDG_DATA_HOME", m_previous.c_str(), 1);
}

void PdfReportTest::SetUp() {
    sq::Runtime::get().setVirtualTime(true);
    folder = std::make_unique<ScopedProgramFolder>();
    dir = makeTempDir("report");
}

void PdfReportTest::TearDown() {
    sq::EventPacer::setTestHook(0, {});
    folder.reset();
    sq::Runtime::get().setVirtualTime(false);
}

void PdfReportTest::write(const std::string& path, const sq::PdfReportGrids& grids, bool recordData,
                          const std::string& model) {
    captions.clear();
    sq::PdfReportHost host;
    host.caption = "DataList";
    host.setCaption = [this](const std::string& text) { captions.push_back(text); };
    host.deviceModel = model;
    host.printRecordData = recordData ? -1 : 0;
    sq::WritePdfReport(path, grids, host);
}

int PdfReportTest::viewerCalls() {
    int n = 0;
    for (const auto& record : dialogs->records) n += record.kind == "viewer";
    return n;
}

}  // namespace sqtest
