// The chart and histogram pages read back from the content streams: time labels, cleaned levels,
// maxima, count lines and bars; records the classic report could not finish; accented texts.
#include <gtest/gtest.h>

#include <regex>

#include "reports/pdf_report_fixture.h"
#include "reports/scale_to_axis.h"

namespace sqtest {
namespace {

constexpr int kChart = 0;
constexpr int kHistogram = 1;
const std::string kDashDotDot = "[8 4 2 4 2 4 ] 0 d";
const std::string kGridGrey = "0.745 0.745 0.745 RG";
const std::string kBlack = "0.000 0.000 0.000 RG";
const std::string kRed = "1.000 0.000 0.000 RG";
const std::string kCyan = "0.000 1.000 1.000 RG";
const std::string kBlue = "0.000 0.000 1.000 RG";
const std::string kGreen = "0.000 1.000 0.000 RG";
const std::string kEvenBar = "0.314 0.314 0.314 rg";
const std::string kOddBar = "0.627 0.627 0.627 rg";

struct TextAt {
    int page;  // kChart or kHistogram
    std::string text;
    std::string pos;
    size_t times = 1;
};
struct LineAt {
    int page;
    std::string from, to;
    std::string colour;  // empty: any
    std::string dash;    // empty: any
};
struct RectAt {
    std::string box;
    std::string fill;
};
struct ChartCase {
    const char* name;
    std::vector<std::vector<std::string>> levels;
    std::vector<TextAt> texts;
    std::vector<LineAt> lines;
    std::vector<std::string> absentChartLabels;  // no text reads so
    std::vector<std::string> absentChartTexts;   // no text holds it
    std::vector<LineAt> absentLines;
    std::vector<RectAt> bars;
};

std::vector<ChartCase> chartCases() {
    const std::vector<std::string> flat = {"80.0 dB", "80.0 dB", "80.0 dB", "80.0 dB"};
    return {
        {"two point rows: the first time label only, one segment per series from 60 to 540",
         {flat, flat},
         {{kChart, pointTime(1), td(20, 671)}},
         {{kChart, at(58, 650), at(58, 659), kBlack, kDashDotDot},  // the level grid's style is still set
          {kChart, at(60, 543), at(540, 543), kRed, "[] 0 d"},
          {kChart, at(60, 543), at(540, 543), kGreen, "[] 0 d"}},
         {pointTime(2)},
         {},
         {{kChart, at(538, 300), at(538, 650), "", ""}},
         {}},
        {"three point rows: first and last time labels",
         {flat, flat, flat},
         {{kChart, pointTime(1), td(20, 671)}, {kChart, pointTime(3), td(460, 671)}},
         {{kChart, at(538, 650), at(538, 659), kBlack, "[] 0 d"},
          {kChart, at(538, 300), at(538, 650), kGridGrey, kDashDotDot},
          {kChart, at(60, 543), at(300, 543), kBlue, ""},
          {kChart, at(300, 543), at(540, 543), kBlue, ""}},
         {pointTime(2)},
         {},
         {},
         {}},
        {"four point rows: the middle label is row 3's, its tick and grid line at x 380",
         {flat, flat, flat, flat},
         {{kChart, pointTime(1), td(20, 671)},
          {kChart, pointTime(3), td(330, 671)},
          {kChart, pointTime(4), td(460, 671)}},
         {{kChart, at(380, 650), at(380, 659), kBlack, "[] 0 d"},
          {kChart, at(380, 300), at(380, 650), kGridGrey, kDashDotDot},
          {kChart, at(220, 543), at(380, 543), kCyan, ""}},
         {pointTime(2)},
         {},
         {},
         {}},
        {"cleaned levels: drawn, counted and shown as maxima",
         {{"--", "151.2 dB", "45.5 dB", "*92.4 dB"}, {"-- dB", "149,9 dB", "60.0 dB", "92.4 dB"}},
         {{kChart, pointTime(2) + "   50 dB", td(380, 700)},  // equal maxima: the last time
          {kChart, pointTime(1) + "   150 dB", td(380, 720)},
          {kChart, pointTime(2) + "   60.0 dB", td(380, 740)},
          {kChart, pointTime(2) + "   92.4 dB", td(380, 760)},
          {kChart, "Max Lzpk :", td(310, 760)},
          {kHistogram, "50", td(56, 666)},
          {kHistogram, "150", td(530, 666)},
          {kHistogram, "2", td(25, 308)}},
         {{kChart, at(60, 645), at(540, 645), kRed, ""},
          {kChart, at(60, 305), at(540, 305.34), kCyan, ""},  // 149,9 dB drawn at 149.9
          {kChart, at(60, 645), at(540, 611), kBlue, ""},
          {kChart, at(60, 500.84), at(540, 500.84), kGreen, ""},
          // Counts: level 50 twice in Lavg (the largest count, up to y 304), 149 once in Leq.
          {kHistogram, at(60, 304), at(60, 650), kRed, "[] 0 d"},
          {kHistogram, at(60 + 471.6832, 477), at(60 + 471.6832, 650), kCyan, ""},
          {kHistogram, at(60 + 203.1683, 304), at(60 + 203.1683, 650), kGreen, ""},
          // An empty level's lines have length 0.
          {kHistogram, at(64.7525, 650), at(64.7525, 650), kRed, ""}},
         {},
         {"151.2", "45.5"},
         {},
         // Level 50 (even, dark) up to the largest count; level 51 (odd, light) of height 0.
         {{"60.00 538.00 4.75 -346.00", kEvenBar}, {"64.75 192.00 4.75 0.00", kOddBar}}},
        {"R = 3: level labels fall together, the highest bar ends at 540",
         {{"60.0 dB", "61.5 dB", "62.0 dB", "63.9 dB"}, {"60.5 dB", "61.0 dB", "62.5 dB", "63.0 dB"}},
         {{kHistogram, "60", td(56, 666), 3},
          {kHistogram, "61", td(216, 666), 3},
          {kHistogram, "62", td(376, 666), 3},
          {kHistogram, "63", td(530, 666)}},
         {},
         {},
         {},
         {},
         {{"60.00 538.00 120.00 -346.00", kEvenBar},
          {"180.00 538.00 120.00 -346.00", kOddBar},
          {"300.00 538.00 120.00 -346.00", kEvenBar},
          {"420.00 538.00 120.00 -346.00", kOddBar}}},
    };
}

bool hasLine(const PdfPage& page, const LineAt& l) {
    for (const PdfLine& line : page.lines)
        if (line.from == l.from && line.to == l.to && (l.colour.empty() || line.colour == l.colour) &&
            (l.dash.empty() || line.dash == l.dash))
            return true;
    return false;
}

TEST_F(PdfReportTest, chartAndHistogramDrawTheCleanedLevels) {
    for (const ChartCase& c : chartCases()) {
        SCOPED_TRACE(c.name);
        const std::string path = newPath("chart.pdf");
        write(path, {summaryGrid(), pointGrid(c.levels), userInfoGrid()});
        pdftest::expectValidPdf(path, 3);
        const auto pages = readReportPages(path);
        ASSERT_EQ(pages.size(), 3u);
        const PdfPage* page[2] = {&pages[1], &pages[2]};
        for (const TextAt& t : c.texts) {
            const auto found = page[t.page]->textsOf(t.text);
            EXPECT_EQ(found.size(), t.times) << t.text;
            for (const PdfText* f : found) EXPECT_EQ(f->pos, t.pos) << t.text;
        }
        for (const LineAt& l : c.lines) EXPECT_TRUE(hasLine(*page[l.page], l)) << l.from << " - " << l.to;
        for (const LineAt& l : c.absentLines)
            EXPECT_FALSE(hasLine(*page[l.page], l)) << l.from << " - " << l.to;
        for (const std::string& t : c.absentChartTexts)
            for (const PdfText& text : page[kChart]->texts)
                EXPECT_EQ(text.text.find(t), std::string::npos) << t;
        for (const std::string& t : c.absentChartLabels) EXPECT_FALSE(page[kChart]->hasText(t)) << t;
        for (const RectAt& bar : c.bars) {
            bool found = false;
            for (const PdfRect& r : page[kHistogram]->rects) found |= r.box == bar.box && r.fill == bar.fill;
            EXPECT_TRUE(found) << bar.box;
        }
        EXPECT_EQ(pdftest::readFile(path).find("-0.00"), std::string::npos);
        EXPECT_EQ(captions.back(), "DataList");
        EXPECT_TRUE(dialogs->messages().empty());
    }
}

// The x a text was written at, from its Td position.
double writtenX(const PdfText& text) {
    return std::stod(text.pos) - 1;
}

// 4,000 points, half at 80 dB and half at 81 dB: the largest count is 2000. Labels of four digits
// end on the page left of their tick (from x 50) or, without a tick, left of the axis (from x 56),
// their width reaching 0.4 past it, the blank after a digit's ink; a text stands the writer's
// margin of 1 right of its x. Narrower labels keep their places at x 25 (ticked) and 35.
TEST_F(PdfReportTest, countLabelsOfFourDigitsEndLeftOfTheirTickOrTheAxis) {
    std::vector<std::vector<std::string>> levels;
    for (int p = 0; p < 4000; ++p)
        levels.push_back(std::vector<std::string>(4, p % 2 ? "81.0 dB" : "80.0 dB"));
    const std::string path = newPath("counts.pdf");
    write(path, {summaryGrid(), pointGrid(levels), userInfoGrid()});
    const auto pages = readReportPages(path);
    ASSERT_EQ(pages.size(), 3u);
    const PdfPage& histogram = pages[2];
    constexpr double kDigit = 0.556 * 12;
    const struct {
        const char* label;
        double x;
    } cases[] = {
        {"2000", 49.4 - 4 * kDigit},
        {"1750", 55.4 - 4 * kDigit},
        {"1500", 49.4 - 4 * kDigit},
        {"1250", 55.4 - 4 * kDigit},
        {"1000", 49.4 - 4 * kDigit},
        {"750", 35},
        {"500", 25},
        {"250", 35},
        {"0", 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto found = histogram.textsOf(c.label);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_NEAR(writtenX(*found[0]), c.x, 0.01);
    }
    // As the page shows them: every digit left of the axis.
    const auto result = pdftest::runTool("pdftotext -bbox -f 3 -l 3 '" + path + "' -");
    static const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)"[^>]*>([0-9]+)</word>)re");
    int counts = 0;
    for (std::sregex_iterator it(result.output.begin(), result.output.end(), word), end; it != end; ++it) {
        // The count scale: left of the axis, from y 300 down to the base line.
        if (std::stod((*it)[1]) > 50 || std::stod((*it)[2]) < 290 || std::stod((*it)[2]) > 650) continue;
        ++counts;
        EXPECT_LE(std::stod((*it)[3]), 56.41) << (*it)[4];
    }
    EXPECT_EQ(counts, 9);
}

// Below a largest count of 8 several marks of the count scale fall on one whole number: each value
// is written once, at its first place from the top, while every tick and grid line stays.
TEST_F(PdfReportTest, countLabelsThatFallOnOneWholeNumberStandOnceAtTheirFirstPlace) {
    struct Label {
        const char* text;
        double x;
        double value;
    };
    const struct {
        int largest;
        std::vector<Label> labels;  // from the top down
    } cases[] = {
        {1, {{"1", 25, 1}, {"0", 35, 0}}},
        {5, {{"5", 25, 5}, {"4", 35, 4}, {"3", 25, 3}, {"2", 25, 2}, {"1", 35, 1}, {"0", 35, 0}}},
        {8,
         {{"8", 25, 8}, {"7", 35, 7}, {"6", 25, 6}, {"5", 35, 5}, {"4", 25, 4}, {"3", 35, 3}, {"2", 25, 2},
          {"1", 35, 1}, {"0", 30, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("largest count " + std::to_string(c.largest));
        const std::vector<std::string> flat(4, "80.0 dB");
        const std::string path = newPath("scale.pdf");
        write(path, {summaryGrid(), pointGrid(std::vector<std::vector<std::string>>(c.largest, flat)),
                     userInfoGrid()});
        const auto pages = readReportPages(path);
        ASSERT_EQ(pages.size(), 3u);
        const PdfPage& histogram = pages[2];
        std::vector<std::string> expected, found;
        for (const Label& l : c.labels) {
            const double y = l.value == c.largest ? 308 : 654 - sq::ScaleToAxis(l.value, c.largest, 346);
            expected.push_back(std::string(l.text) + " at " + td(l.x, y));
        }
        for (const PdfText& t : histogram.texts) {
            const double y = kPageHeight - std::stod(t.pos.substr(t.pos.find(' ')));
            const bool count = !t.text.empty() && t.text.find_first_not_of("0123456789") == std::string::npos;
            if (count && writtenX(t) < 50 && y > 300 && y < 660) found.push_back(t.text + " at " + t.pos);
        }
        EXPECT_EQ(found, expected);
        // Five ticks and eight grid lines, whatever the labels.
        int ticks = 0, gridLines = 0;
        for (const PdfLine& l : histogram.lines) {
            ticks += l.from.rfind("50.00 ", 0) == 0 && l.to.rfind("60.00 ", 0) == 0;
            gridLines += l.from.rfind("60.00 ", 0) == 0 && l.to.rfind("540.00 ", 0) == 0 &&
                         l.from.substr(6) == l.to.substr(7) && l.colour == kGridGrey;
        }
        EXPECT_EQ(ticks, 5);
        EXPECT_EQ(gridLines, 8);
    }
}

// Records the classic report ended half-way: each gives a complete document, every page with its
// footer, opened once in the viewer.
TEST_F(PdfReportTest, recordsWithoutARangeOfLevelsGiveACompleteReport) {
    struct Case {
        const char* name;
        sq::GridCopy summary;
        sq::GridCopy points;
        std::function<void(const std::vector<PdfPage>&)> check;
    };
    const auto dashes =
        pointGrid({{"-- dB", "-- dB", "-- dB", "-- dB"}, {"-- dB", "*-- dB", "-- dB", "-- dB"}});
    const auto quiet = pointGrid(
        {{"45.0 dB", "31.2 dB", "49.9 dB", "40.0 dB"}, {"12.0 dB", "44.4 dB", "0.1 dB", "45.0 dB"}});
    auto oneLevel = [](const std::vector<PdfPage>& pages) {
        const PdfPage& histogram = pages.back();
        EXPECT_EQ(histogram.posOf("50"), td(56, 666));
        ASSERT_EQ(histogram.rects.size(), 2u);  // the white area and one bar over the whole axis
        EXPECT_EQ(histogram.rects[1].box, "60.00 538.00 480.00 -346.00");
    };
    const std::vector<Case> cases = {
        {"one point row", summaryGrid(), pointGrid({{"85.3 dB", "*90.1 dB", "-- dB", "151.0 dB"}}),
         [](const std::vector<PdfPage>& pages) {
             const PdfPage& chart = pages[pages.size() - 2];
             EXPECT_EQ(chart.posOf(pointTime(1) + "   85.3 dB"), td(380, 700));
             EXPECT_EQ(chart.posOf(pointTime(1) + "   90.1 dB"), td(380, 720));
             EXPECT_EQ(chart.posOf(pointTime(1) + "   50 dB"), td(380, 740));
             EXPECT_EQ(chart.posOf(pointTime(1) + "   150 dB"), td(380, 760));
             EXPECT_FALSE(chart.hasText(pointTime(1)));
             const PdfPage& histogram = pages.back();
             EXPECT_EQ(histogram.posOf("50"), td(56, 666));
             EXPECT_EQ(histogram.posOf("150"), td(530, 666));
             EXPECT_EQ(histogram.rects.size(), 1u + 101u);
         }},
        {"every level --", summaryGrid(), dashes, oneLevel},
        {"every level below 50 dB", summaryGrid(), quiet, oneLevel},
        {"a summary grid of five rows",
         sq::GridCopy::fromRows({{"", "D1"},
                                 {"Start Date/Time", "x"},
                                 {"Stop Date/Time", "y"},
                                 {"Threshold", "80 dB"},
                                 {"Criterion", "85 dB"}},
                                1, 1),
         pointGrid(3),
         [](const std::vector<PdfPage>& pages) {
             const PdfPage& chart = pages[pages.size() - 2];
             EXPECT_EQ(chart.posOf("Threshold :"), td(90, 240));
             EXPECT_EQ(chart.posOf("85 dB"), td(90, 290));
             EXPECT_EQ(chart.textsOf(" :").size(), 4u);  // rows 5, 6, 10 and 7 read as empty
             EXPECT_EQ(pages.back().textsOf(" :").size(), 2u);
         }},
        {"no point row", summaryGrid(), pointGrid(std::vector<std::vector<std::string>>{}),
         [](const std::vector<PdfPage>& pages) {
             EXPECT_TRUE(pages[1].hasText("No.s"));
             EXPECT_EQ(pages.back().posOf("0"), td(30, 654));
             EXPECT_EQ(pages.back().rects.size(), 1u);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = newPath("mended.pdf");
        dialogs->clear();
        write(path, {c.summary, c.points, userInfoGrid()}, true);
        const auto pages = readReportPages(path);
        const int expectedPages = 4;  // header, points, chart, histogram
        pdftest::expectValidPdf(path, expectedPages);
        ASSERT_EQ(pages.size(), static_cast<size_t>(expectedPages));
        for (size_t n = 0; n < pages.size(); ++n) EXPECT_EQ(pages[n].footers(), 1) << "page " << n + 1;
        EXPECT_EQ(pages.back().posOf("P - 4"), "285.83 20.00");
        c.check(pages);
        EXPECT_EQ(viewerCalls(), 1);
        EXPECT_TRUE(dialogs->messages().empty());
        EXPECT_EQ(captions.back(), "DataList");
    }
}

struct Word {
    double xMin;
    std::string text;
};
std::vector<Word> wordsOnPage(const std::string& path, int page) {
    const auto result = pdftest::runTool("pdftotext -bbox -f " + std::to_string(page) + " -l " +
                                         std::to_string(page) + " '" + path + "' -");
    std::vector<Word> words;
    static const std::regex word(R"re(<word xMin="([0-9.]+)"[^>]*>([^<]*)</word>)re");
    for (std::sregex_iterator it(result.output.begin(), result.output.end(), word), end; it != end; ++it)
        words.push_back({std::stod((*it)[1]), (*it)[2]});
    return words;
}

// Helvetica widths: C 722, a 556, f 278, e-acute 556, space 278, quotes 333, euro 556, digits 556.
TEST_F(PdfReportTest, accentedTextsAreMeasuredByTheirGlyphs) {
    auto summary = [] {
        std::vector<std::vector<std::string>> rows = {{"", "D1"}};
        const char* const labels[] = {"Start Date/Time", "Stop Date/Time",   "Threshold",     "Criterion",
                                      "Exchange Rate",   "Exceedance Level", "Interval Time", "Total Point",
                                      "PW Duration",     "Duration"};
        for (const char* label : labels) rows.push_back({label, "1"});
        rows.push_back({"Caf\u00E9 \u201C\u20AC\u201D", "2"});
        return sq::GridCopy::fromRows(rows, 1, 1);
    }();
    const auto info = sq::GridCopy::fromRows({{"Company", "Caf\u00E9 \u201C\u20AC\u201D Zo\u00EB"}}, 0, 1);
    const std::string path = newPath("accents.pdf");
    write(path, {summary, pointGrid(2), info});
    pdftest::expectValidPdf(path, 3);
    const auto words = wordsOnPage(path, 1);
    auto xOf = [&](const std::string& text, size_t nth) {
        for (const Word& w : words)
            if (w.text == text && nth-- == 0) return w.xMin;
        ADD_FAILURE() << "no word " << text;
        return 0.0;
    };
    // The user-information line from x 30, after "- Company : " (Company: 4279).
    EXPECT_NEAR(xOf("Caf\u00E9", 0), 30 + 12 * (333 + 278 + 4279 + 278 + 278 + 278) / 1000.0, 0.05);
    EXPECT_NEAR(xOf("Zo\u00EB", 0), xOf("\u201C\u20AC\u201D", 0) + 12 * (333 + 556 + 333 + 278) / 1000.0,
                0.05);
    // The label is centred in the column set by "Exceedance Level00" (111.396): (111.396 - 3 -
    // 43.344) rounds to 65, half of it 32; its second word follows "Caf\u00E9 " (28.68).
    EXPECT_NEAR(xOf("Caf\u00E9", 1), 30 + 32, 0.05);
    EXPECT_NEAR(xOf("\u201C\u20AC\u201D", 1), 30 + 32 + 28.68, 0.05);
}

}  // namespace
}  // namespace sqtest
