#include "pdf/afm_metrics.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>

#include "platform/numbers.h"
#include "platform/text_file.h"
#include "platform/vb_error.h"

namespace sq::pdf {

namespace {
// Font metrics files are tens of KB; a larger file, a pipe or a device is not read.
constexpr ReadLimit kAfmReadLimit{4u << 20};

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

// WinAnsiEncoding from code 32 on; nullptr for the codes it leaves unused.
constexpr const char* kWinAnsi[224] = {
    // 32-63
    "space", "exclam", "quotedbl", "numbersign", "dollar", "percent", "ampersand", "quotesingle", "parenleft",
    "parenright", "asterisk", "plus", "comma", "hyphen", "period", "slash", "zero", "one", "two", "three",
    "four", "five", "six", "seven", "eight", "nine", "colon", "semicolon", "less", "equal", "greater",
    "question",
    // 64-95
    "at", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P", "Q", "R", "S", "T",
    "U", "V", "W", "X", "Y", "Z", "bracketleft", "backslash", "bracketright", "asciicircum", "underscore",
    // 96-127
    "grave", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p", "q", "r", "s",
    "t", "u", "v", "w", "x", "y", "z", "braceleft", "bar", "braceright", "asciitilde", nullptr,
    // 128-159
    "Euro", nullptr, "quotesinglbase", "florin", "quotedblbase", "ellipsis", "dagger", "daggerdbl",
    "circumflex", "perthousand", "Scaron", "guilsinglleft", "OE", nullptr, "Zcaron", nullptr, nullptr,
    "quoteleft", "quoteright", "quotedblleft", "quotedblright", "bullet", "endash", "emdash", "tilde",
    "trademark", "scaron", "guilsinglright", "oe", nullptr, "zcaron", "Ydieresis",
    // 160-191
    "space", "exclamdown", "cent", "sterling", "currency", "yen", "brokenbar", "section", "dieresis",
    "copyright", "ordfeminine", "guillemotleft", "logicalnot", "hyphen", "registered", "macron", "degree",
    "plusminus", "twosuperior", "threesuperior", "acute", "mu", "paragraph", "periodcentered", "cedilla",
    "onesuperior", "ordmasculine", "guillemotright", "onequarter", "onehalf", "threequarters", "questiondown",
    // 192-223
    "Agrave", "Aacute", "Acircumflex", "Atilde", "Adieresis", "Aring", "AE", "Ccedilla", "Egrave", "Eacute",
    "Ecircumflex", "Edieresis", "Igrave", "Iacute", "Icircumflex", "Idieresis", "Eth", "Ntilde", "Ograve",
    "Oacute", "Ocircumflex", "Otilde", "Odieresis", "multiply", "Oslash", "Ugrave", "Uacute", "Ucircumflex",
    "Udieresis", "Yacute", "Thorn", "germandbls",
    // 224-255
    "agrave", "aacute", "acircumflex", "atilde", "adieresis", "aring", "ae", "ccedilla", "egrave", "eacute",
    "ecircumflex", "edieresis", "igrave", "iacute", "icircumflex", "idieresis", "eth", "ntilde", "ograve",
    "oacute", "ocircumflex", "otilde", "odieresis", "divide", "oslash", "ugrave", "uacute", "ucircumflex",
    "udieresis", "yacute", "thorn", "ydieresis"};

int16_t wholeWidth(double width) {
    double whole = std::floor(width);
    if (whole < -32768 || whole > 32767) raise(kOverflow);
    return static_cast<int16_t>(whole);
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
    return {codeValue, wholeWidth(width)};
}

struct NamedMetric {
    std::string_view name;  // empty when the line has none
    int16_t width;
};

// The width (WX or W0X) and the name (N) of a metric line, wherever they stand in it.
NamedMetric parseNamedMetricLine(std::string_view line) {
    std::optional<int16_t> width;
    std::string_view name;
    for (std::string_view field : splitAt(line, ';')) {
        auto words = splitAt(trimSpaces(field), ' ');
        if (words[0] == "WX" || words[0] == "W0X") {
            if (words.size() < 2) raise(kSubscriptOutOfRange);
            width = wholeWidth(toNumber(words[1]));
        } else if (words[0] == "N" && words.size() >= 2) {
            name = words[1];
        }
    }
    if (!width) raise(kSubscriptOutOfRange);
    return {name, *width};
}

bool isEndMarker(const std::string& line) {
    return line.find("EndCharMetrics") != std::string::npos || line.find("-1 ;") != std::string::npos;
}

bool startsMetrics(const std::string& line) {
    return line.find("StartCharMetrics") != std::string::npos;
}

// True when the header names an encoding of the font's own other than FontSpecific.
bool readsByGlyphName(const std::vector<std::string>& lines) {
    constexpr std::string_view kKey = "EncodingScheme";
    for (const auto& line : lines) {
        if (startsMetrics(line)) return false;
        std::string_view text = trimSpaces(line);
        if (text.substr(0, kKey.size()) != kKey) continue;
        std::string_view scheme = trimSpaces(text.substr(kKey.size()));
        return !scheme.empty() && scheme != "FontSpecific";
    }
    return false;
}

AfmWidths widthsByCode(const std::vector<std::string>& lines) {
    AfmWidths widths{};
    int firstCode = 0, lastCode = 0, takenCode = -1;
    bool inMetrics = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (startsMetrics(lines[i])) {
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

// Only EndCharMetrics ends the section here: the unencoded glyphs after the encoded ones are
// exactly those that WinAnsiEncoding adds (Euro, the accented letters, ...).
AfmWidths widthsByGlyphName(const std::vector<std::string>& lines) {
    auto it = std::find_if(lines.begin(), lines.end(), startsMetrics);
    if (it != lines.end()) ++it;
    std::map<std::string_view, int16_t> byName;
    bool anyMetric = false;
    for (; it != lines.end(); ++it) {
        if (it->find("EndCharMetrics") != std::string::npos) {
            if (!anyMetric) raise(kSubscriptOutOfRange);
            break;
        }
        NamedMetric m = parseNamedMetricLine(*it);
        anyMetric = true;
        if (!m.name.empty()) byName.emplace(m.name, m.width);
    }
    AfmWidths widths{};
    for (int code = 32; code <= 255; ++code) {
        const char* name = winAnsiGlyphName(code);
        if (!name) continue;
        auto found = byName.find(name);
        if (found != byName.end()) widths[code] = found->second;
    }
    return widths;
}
}  // namespace

const char* winAnsiGlyphName(int code) {
    if (code < 32 || code > 255) return nullptr;
    return kWinAnsi[code - 32];
}

AfmWidths parseAfmWidths(std::string_view text) {
    auto lines = splitLines(text);
    return readsByGlyphName(lines) ? widthsByGlyphName(lines) : widthsByCode(lines);
}

AfmWidths readAfmWidths(const std::string& path) {
    auto bytes = readFileBytes(path, kAfmReadLimit);
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
