#include "reports/pdf_report_levels.h"

#include <algorithm>
#include <cmath>

#include "platform/numbers.h"
#include "platform/vb_error.h"
#include "reports/level_cell.h"

namespace sq {

namespace {

constexpr double kChartLowest = 50;
constexpr double kChartHighest = 150;

PdfLevel numberLevel(double number) {
    return PdfLevel{true, number, {}};
}

}  // namespace

std::string PdfLevel::asText() const {
    return isNumber ? formatNumber(number) : text;
}

double PdfLevel::numeric() const {
    if (isNumber) return number;
    std::string withPoints = text;
    std::replace(withPoints.begin(), withPoints.end(), ',', '.');
    return leadingNumber(withPoints);
}

int PdfLevel::bin() const {
    const double value = std::trunc(numeric());
    if (!(std::fabs(value) < 1e9)) raise(kSubscriptOutOfRange);
    return static_cast<int>(value);
}

PdfLevel CleanPdfLevel(std::string_view cell) {
    std::string text = UnmarkedLevelText(cell);
    if (text.find("--") != std::string::npos) return numberLevel(kChartLowest);
    const double leading = leadingNumber(text);
    if (leading < kChartLowest) return numberLevel(kChartLowest);
    if (leading > kChartHighest) return numberLevel(kChartHighest);
    return PdfLevel{false, 0, std::move(text)};
}

void PdfLevelCounts::add(const PdfLevel& level, int column) {
    const int bin = level.bin();
    if (bin < 0 || bin >= kLevels || column < 0 || column >= kColumns) raise(kSubscriptOutOfRange);
    ++m_counts[bin][column];
    m_lowest = std::min(m_lowest, bin);
    m_highest = std::max(m_highest, bin);
}

int32_t PdfLevelCounts::count(int level, int column) const {
    if (level < 0 || level >= kLevels || column < 0 || column >= kColumns) raise(kSubscriptOutOfRange);
    return m_counts[level][column];
}

double PdfLevelCounts::largest() const {
    double largest = 0;
    for (int level = m_lowest; level <= m_highest; ++level)
        for (int32_t c : m_counts[level]) largest = std::max<double>(largest, c);
    return largest;
}

int32_t PdfLevelCounts::largestOf(int level) const {
    int32_t largest = 0;
    for (int column = 0; column < kColumns; ++column) largest = std::max(largest, count(level, column));
    return largest;
}

void PdfMaximum::offer(const PdfLevel& level, std::string_view pointTime) {
    if (value.numeric() > level.numeric()) return;
    value = level;
    time = pointTime;
}

std::string PdfMaximum::text() const {
    return time + "   " + value.asText() + " dB";
}

}  // namespace sq
