#include "platform/read_write_ini_cls.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/encoding.h"
#include "platform/text_file.h"

namespace sq {

namespace {

// The classic profile functions hand back a 255-byte buffer ending in a NUL.
constexpr size_t kMaxValueLength = 254;
// Far beyond any settings file; a larger one (or a pipe or device) reads as no file.
constexpr ReadLimit kIniReadLimit{1u << 20};

// One line of the file as bytes, with the line end it had (empty for a last line without one).
struct Line {
    std::string text;
    std::string end;
};

std::vector<Line> splitKeepingEnds(const std::string& bytes) {
    std::vector<Line> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        bool crLf = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
        lines.push_back({bytes.substr(start, i - start), crLf ? "\r\n" : std::string(1, bytes[i])});
        if (crLf) ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.push_back({bytes.substr(start), ""});
    return lines;
}

std::string join(const std::vector<Line>& lines) {
    std::string out;
    for (const auto& l : lines) out += l.text + l.end;
    return out;
}

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

// Letter case folding for Windows-1252 bytes: ASCII and the Latin-1 letters.
unsigned char foldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    return c;
}

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return foldCase(static_cast<unsigned char>(x)) == foldCase(static_cast<unsigned char>(y));
           });
}

// The name of a "[section]" line, or nullopt for any other line.
std::optional<std::string> sectionName(const std::string& line) {
    std::string t = trim(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    size_t close = t.find(']');
    return trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

struct KeyLine {
    std::string key;
    std::string value;
};

std::optional<KeyLine> keyLine(const std::string& line) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) return std::nullopt;
    return KeyLine{trim(line.substr(0, eq)), trim(line.substr(eq + 1))};
}

// Index of the first line of the section's body and one past its last line; nullopt when missing.
std::optional<std::pair<size_t, size_t>> sectionRange(const std::vector<Line>& lines,
                                                      const std::string& section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        auto name = sectionName(lines[i].text);
        if (!name || !sameName(*name, section)) continue;
        size_t end = i + 1;
        while (end < lines.size() && !sectionName(lines[end].text)) ++end;
        return std::make_pair(i + 1, end);
    }
    return std::nullopt;
}

std::optional<size_t> keyIndex(const std::vector<Line>& lines, std::pair<size_t, size_t> range,
                               const std::string& key) {
    for (size_t i = range.first; i < range.second; ++i) {
        auto kl = keyLine(lines[i].text);
        if (kl && sameName(kl->key, key)) return i;
    }
    return std::nullopt;
}

std::string unquote(const std::string& value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

void endLastLine(std::vector<Line>& lines, size_t index) {
    if (index < lines.size() && lines[index].end.empty()) lines[index].end = "\r\n";
}

bool hasLineBreak(const std::string& s) {
    return s.find_first_of("\r\n") != std::string::npos;
}

bool isWritableName(const std::string& section, const std::string& key) {
    if (trim(section).empty() || trim(key).empty()) return false;
    if (hasLineBreak(section) || hasLineBreak(key)) return false;
    return section.find(']') == std::string::npos && key.find('=') == std::string::npos &&
           trim(key).front() != '[';
}

std::string normalisedPath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

}  // namespace

namespace ini {

Lookup find(const std::string& fileBytes, const std::string& section, const std::string& key) {
    std::vector<Line> lines = splitKeepingEnds(fileBytes);
    auto range = sectionRange(lines, utf8ToCp1252(section));
    if (!range) return {};
    auto index = keyIndex(lines, *range, utf8ToCp1252(key));
    if (!index) return {};
    std::string value = unquote(keyLine(lines[*index].text)->value).substr(0, kMaxValueLength);
    return {true, cp1252ToUtf8(value)};
}

std::string withValue(const std::string& fileBytes, const std::string& section, const std::string& key,
                      const std::string& value) {
    std::vector<Line> lines = splitKeepingEnds(fileBytes);
    std::string sectionBytes = trim(utf8ToCp1252(section));
    std::string keyBytes = trim(utf8ToCp1252(key));
    std::string valueBytes = utf8ToCp1252(value);
    auto range = sectionRange(lines, sectionBytes);
    if (!range) {
        if (!lines.empty()) endLastLine(lines, lines.size() - 1);
        lines.push_back({"[" + sectionBytes + "]", "\r\n"});
        lines.push_back({keyBytes + "=" + valueBytes, "\r\n"});
        return join(lines);
    }
    if (auto index = keyIndex(lines, *range, keyBytes)) {
        lines[*index].text = keyLine(lines[*index].text)->key + "=" + valueBytes;
        return join(lines);
    }
    // A new key goes after the section's last non-blank line, before the blank lines that part it
    // from the next section.
    size_t insertAt = range->first;
    for (size_t i = range->first; i < range->second; ++i)
        if (!trim(lines[i].text).empty()) insertAt = i + 1;
    endLastLine(lines, insertAt - 1);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                 Line{keyBytes + "=" + valueBytes, "\r\n"});
    return join(lines);
}

}  // namespace ini

std::string ReadWriteINICls::GetINI(std::string SectionName, std::string KeyName, std::string DefaultValue,
                                    std::string FileName) {
    auto bytes = readFileBytes(normalisedPath(FileName), kIniReadLimit);
    if (bytes) {
        ini::Lookup found = ini::find(*bytes, SectionName, KeyName);
        if (found.found) return found.value;
    }
    // The default makes the same trip through the single-byte buffer as a stored value.
    return cp1252ToUtf8(utf8ToCp1252(DefaultValue).substr(0, kMaxValueLength));
}

int32_t ReadWriteINICls::WriteINI(std::string SectionName, std::string KeyName, std::string WriteValue,
                                  std::string FileName) {
    if (FileName.empty() || !isWritableName(SectionName, KeyName) || hasLineBreak(WriteValue)) return 0;
    std::string path = normalisedPath(FileName);
    auto bytes = readFileBytes(path, kIniReadLimit);
    // An existing file that cannot be read must not be replaced by one holding only this key.
    if (!bytes && !isMissing(path)) return 0;
    return writeFileAtomic(path, ini::withValue(bytes.value_or(""), SectionName, KeyName, WriteValue)) ? 1
                                                                                                       : 0;
}

ReadWriteINICls& IniRW() {
    static ReadWriteINICls instance;
    return instance;
}

}  // namespace sq
