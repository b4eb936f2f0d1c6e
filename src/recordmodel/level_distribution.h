#pragma once
// Level distributions of one point column: every point row counts in exactly one level bin of
// 0.1 dB or 1 dB, and the statistical levels L0 to L99 follow from the bins (Lk: the lowest level
// that at least 100 - k percent of the points do not exceed). Pure functions over cell texts; the
// record list windows run them (level_distribution_run.h) and the histogram window shows them.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sq {

enum class LevelResolution {
    TenthDb,  // 1501 bins 0..1500, bin i stands for i / 10 dB
    WholeDb,  // 151 bins 0..150, bin i stands for i dB
};

// The highest bin (150 dB): 1500 or 150.
[[nodiscard]] int topBin(LevelResolution resolution);
// The bin of a zero level ("--") and of any text with a "-": 25 dB, so 250 or 25.
[[nodiscard]] int dashBin(LevelResolution resolution);
// The histogram's x-axis label format: "*0.1" (the x values are tenths of a dB) or "0".
[[nodiscard]] const char* axisLabelFormat(LevelResolution resolution);

// The value of a level cell: the number the text begins with (blanks skipped, 0 when there is none),
// after one leading "*" is passed over, so a marked point counts at its level.
[[nodiscard]] double levelCellValue(std::string_view text);

// The bin a point's cell counts in, tested in this order: a "-" anywhere gives the 25 dB bin; a
// capital "L" anywhere or a value of 150 or more the top bin; else the value x 10 to the nearest whole
// number with halves to even (0.1 dB), or the value with its fraction cut off (1 dB).
[[nodiscard]] int levelBin(std::string_view text, LevelResolution resolution);

// The counts of one run, all bins 0 at the start.
class LevelDistribution {
public:
    explicit LevelDistribution(LevelResolution resolution);

    void add(std::string_view cellText) { ++m_counts[static_cast<size_t>(levelBin(cellText, m_resolution))]; }

    [[nodiscard]] LevelResolution resolution() const { return m_resolution; }
    [[nodiscard]] const std::vector<int64_t>& counts() const { return m_counts; }
    // The counts as the values of a plotted series, bin 0 first.
    [[nodiscard]] std::vector<double> seriesValues() const;
    // The lowest occupied bin searched from bin 1 (bin 0 is never taken); top + 1 when there is none.
    [[nodiscard]] int lowestBin() const;
    // The highest occupied bin, bin 0 included; -1 when every bin is empty.
    [[nodiscard]] int highestBin() const;

private:
    LevelResolution m_resolution;
    std::vector<int64_t> m_counts;
};

// The bins of L0 to L99 over `total` points: for Lk the target (1 - k / 100) x total, computed in
// double in that order, and the first bin from bin 0 up where the running sum reaches it. With no
// points every level is bin 0.
[[nodiscard]] std::array<int, 100> percentileBins(const std::vector<int64_t>& counts, int64_t total);

// A bin as an Ln level: bin / 10 with one decimal ("85.3") or the whole dB ("85").
[[nodiscard]] std::string levelText(int bin, LevelResolution resolution);

// The ten rows of the Ln table as TAB-separated texts: "L(r0)" and then L(10r) to L(10r + 9).
[[nodiscard]] std::vector<std::string> lnGridRows(const std::vector<std::string>& levels);

// The progress caption after `done` of `total` rows: done / total x 100 with one decimal, then "%"
// and `completed` (0.1 dB, as in "50.0%Completed") or "% " and `completed` (1 dB).
[[nodiscard]] std::string distributionCaption(int64_t done, int64_t total, LevelResolution resolution,
                                              const std::string& completed);

// The results of the last run, of either window and either resolution; they stay until the next
// run. The histogram window's Reset reads the first three.
struct LevelDistributionResults {
    double HistMinBin = 0;
    double HistMaxBin = 0;
    double HistYMax = 0;
    int32_t HistTotal = 0;
    std::vector<std::string> LnLevels;  // L0..L99: "0.0" texts after a 0.1-dB run, whole dB after 1 dB
};
LevelDistributionResults& levelDistributionResults();

}  // namespace sq
