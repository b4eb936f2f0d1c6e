#pragma once
// The level values of the PDF report's chart and histogram: a point-grid level cell cleaned into a
// value the chart can draw, the count of each whole-dB level per series, and each series' maximum.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace sq {

// A cleaned level cell: the number 50 or 150 (a cell without a level, or one outside the chart's
// range), or the cell's text without its mark and unit, which may keep a decimal comma.
struct PdfLevel {
    bool isNumber = true;
    double number = 0;
    std::string text;

    // The value as it reads in the maxima lines ("50", "92.4", "149,9").
    [[nodiscard]] std::string asText() const;
    // The value used for positions, counts and maxima: a decimal comma reads as a point.
    [[nodiscard]] double numeric() const;
    // The whole-dB level the value is counted in.
    [[nodiscard]] int bin() const;
};

// "*" and " dB" are removed; "--" gives 50; a leading number below 50 gives 50, above 150 gives 150
// (a comma ends that number); anything else stays as text.
PdfLevel CleanPdfLevel(std::string_view cell);

// The count table of the histogram: whole-dB levels 0 to 150, count columns 0 to 3 (one per series).
class PdfLevelCounts {
public:
    static constexpr int kLevels = 151;
    static constexpr int kColumns = 4;

    // Counts the value in `column`; raises error 9 for a level or column outside the table.
    void add(const PdfLevel& level, int column);
    [[nodiscard]] int32_t count(int level, int column) const;
    [[nodiscard]] bool empty() const { return m_highest < m_lowest; }
    // The lowest and the highest level counted (1500 and 0 while nothing is counted).
    [[nodiscard]] int lowest() const { return m_lowest; }
    [[nodiscard]] int highest() const { return m_highest; }
    // The largest count of the levels from the lowest to the highest counted; 0 when none.
    [[nodiscard]] double largest() const;
    // The largest of the four counts of one level.
    [[nodiscard]] int32_t largestOf(int level) const;

private:
    std::array<std::array<int32_t, kColumns>, kLevels> m_counts{};
    int m_lowest = 1500;
    int m_highest = 0;
};

// The maximum of one series and the time of the point that holds it; an equal value replaces it, so
// the time is that of the last such point.
struct PdfMaximum {
    PdfLevel value;  // the number 0 until a point is offered
    std::string time;

    void offer(const PdfLevel& level, std::string_view pointTime);
    // The maxima line's value: the time, three spaces, the value and " dB".
    [[nodiscard]] std::string text() const;
};

}  // namespace sq
