#include "pdf/afm_metrics.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "platform/numbers.h"
#include "platform/text_file.h"
#include "platform/vb_error.h"

namespace sq::pdf {

namespace {
std::string_view trimSpaces(std::string_view s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

std::vector<std::string_view> splitAt(std::string_view s, char sep) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        size_t pos = s.find(sep, start);
        parts.push_back(
            s.substr(start, pos == std::string_view::npos ? std::string_view::npos : pos - start));
        if (pos == std::string_view::npos) return parts;
        start = pos + 1;
    }
}

// The second word of a field split at single spaces (two spaces make an empty word).
std::string_view secondWord(std::string_view field) {
    auto words = splitAt(trimSpaces(field), ' ');
    if (words.size() < 2) raise(kSubscriptOutOfRange);
    return words[1];
}

struct MetricLine {
    int code;
    int16_t width;
};

MetricLine parseMetricLine(std::string_view line) {
    auto fields = splitAt(line, ';');
    if (fields.size() < 2) raise(kSubscriptOutOfRange);
    double code = toNumber(secondWord(fields[0]));
    double width = toNumber(secondWord(fields[1]));
    int16_t codeValue = toInt16(code);
    if (codeValue < 1 || codeValue > 255) raise(kSubscriptOutOfRange);
    double whole = std::floor(width);
    if (whole < -32768 || whole > 32767) raise(kOverflow);
    return {codeValue, static_cast<int16_t>(whole)};
}

bool isEndMarker(const std::string& line) {
    return line.find("EndCharMetrics") != std::string::npos || line.find("-1 ;") != std::string::npos;
}
}  // namespace

AfmWidths parseAfmWidths(std::string_view text) {
    AfmWidths widths{};
    auto lines = splitLines(text);
    int firstCode = 0, lastCode = 0, takenCode = -1;
    bool inMetrics = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find("StartCharMetrics") != std::string::npos) {
            inMetrics = true;
            if (++i == lines.size()) break;
        }
        if (isEndMarker(lines[i])) {
            if (takenCode < 0) raise(kSubscriptOutOfRange);
            lastCode = takenCode;
            break;
        }
        if (!inMetrics) continue;
        MetricLine m = parseMetricLine(lines[i]);
        if (firstCode == 0) firstCode = m.code;
        widths[m.code] = m.width;
        takenCode = m.code;
    }
    for (int code = 1; code <= 255; ++code)
        if (code < firstCode || code > lastCode) widths[code] = 0;
    return widths;
}

AfmWidths readAfmWidths(const std::string& path) {
    auto bytes = readFileBytes(path);
    if (!bytes) raise(kFileNotFound);
    return parseAfmWidths(*bytes);
}

std::vector<std::string> listAfmEntries(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(fs::path(folder), ec)) raise(kPathNotFound);
    std::vector<std::string> entries;
    for (const auto& item : fs::directory_iterator(fs::path(folder), ec)) {
        if (!item.is_regular_file(ec)) continue;
        std::string full = item.path().string();
        std::string lower = full;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (lower.find(".afm") == std::string::npos) continue;
        std::string name = item.path().filename().string();
        entries.push_back(name.size() > 4 ? name.substr(0, name.size() - 4) : std::string());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

}  // namespace sq::pdf
