#include "recordmodel/level_distribution.h"

#include <cmath>

#include "platform/numbers.h"

namespace sq {

int topBin(LevelResolution resolution) {
    return resolution == LevelResolution::TenthDb ? 1500 : 150;
}

int dashBin(LevelResolution resolution) {
    return resolution == LevelResolution::TenthDb ? 250 : 25;
}

const char* axisLabelFormat(LevelResolution resolution) {
    return resolution == LevelResolution::TenthDb ? "*0.1" : "0";
}

double levelCellValue(std::string_view text) {
    if (!text.empty() && text.front() == '*') text.remove_prefix(1);
    return leadingNumber(text);
}

int levelBin(std::string_view text, LevelResolution resolution) {
    if (text.find('-') != std::string_view::npos) return dashBin(resolution);
    const double value = levelCellValue(text);
    if (text.find('L') != std::string_view::npos || !(value < 150)) return topBin(resolution);
    // The value is below 150 and not negative (no "-"), so the bin lies within 0..top.
    const double bin = resolution == LevelResolution::TenthDb ? roundHalfEven(value * 10) : std::trunc(value);
    return static_cast<int>(bin);
}

LevelDistribution::LevelDistribution(LevelResolution resolution)
    : m_resolution(resolution), m_counts(static_cast<size_t>(topBin(resolution) + 1), 0) {}

std::vector<double> LevelDistribution::seriesValues() const {
    return std::vector<double>(m_counts.begin(), m_counts.end());
}

int LevelDistribution::lowestBin() const {
    const int top = topBin(m_resolution);
    int bin = 1;
    while (bin <= top && m_counts[static_cast<size_t>(bin)] == 0) ++bin;
    return bin;
}

int LevelDistribution::highestBin() const {
    int bin = topBin(m_resolution);
    while (bin >= 0 && m_counts[static_cast<size_t>(bin)] == 0) --bin;
    return bin;
}

std::array<int, 100> percentileBins(const std::vector<int64_t>& counts, int64_t total) {
    std::array<int, 100> bins{};
    const int last = static_cast<int>(counts.size()) - 1;
    for (int k = 0; k < 100; ++k) {
        const double share = static_cast<double>(k) / 100;
        const double target = (1 - share) * static_cast<double>(total);
        double sum = 0;
        int bin = 0;
        // Every point is in one bin, so the sum reaches the target at the highest occupied bin at the
        // latest; the bound only guards counts that add up to less than `total`.
        for (; bin < last; ++bin) {
            sum += static_cast<double>(counts[static_cast<size_t>(bin)]);
            if (sum >= target) break;
        }
        bins[static_cast<size_t>(k)] = bin;
    }
    return bins;
}

std::string levelText(int bin, LevelResolution resolution) {
    if (resolution == LevelResolution::TenthDb) return formatFixed(bin / 10.0, 1);
    return std::to_string(bin);
}

std::vector<std::string> lnGridRows(const std::vector<std::string>& levels) {
    std::vector<std::string> rows;
    for (int r = 0; r < 10; ++r) {
        std::string row = "L(" + std::to_string(r) + "0)";
        for (int c = 0; c < 10; ++c) {
            const size_t k = static_cast<size_t>(10 * r + c);
            row += '\t';
            if (k < levels.size()) row += levels[k];
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string distributionCaption(int64_t done, int64_t total, LevelResolution resolution,
                                const std::string& completed) {
    const double percent = total > 0 ? static_cast<double>(done) / static_cast<double>(total) * 100 : 100;
    return formatFixed(percent, 1) + (resolution == LevelResolution::TenthDb ? "%" : "% ") + completed;
}

LevelDistributionResults& levelDistributionResults() {
    static LevelDistributionResults results;
    return results;
}

}  // namespace sq
