#pragma once
// The settings file class: reads and writes one key of an INI file per call. The file is
// Windows-1252 text with "[section]" lines and "key=value" lines. Section and key names match
// without regard to letter case; blanks around keys and values are ignored and a value in double
// quotes is read without them. A write changes only the one line it is about (or adds it) and keeps
// every other line byte for byte; it goes through a temporary file and a rename, so a write that
// fails never loses the old file.
#include <cstdint>
#include <string>

namespace sq {

class ReadWriteINICls {
public:
    // The value of KeyName in SectionName of FileName, or DefaultValue when the file, the section
    // or the key is missing; at most 254 characters.
    std::string GetINI(std::string SectionName, std::string KeyName, std::string DefaultValue,
                       std::string FileName);
    // Stores WriteValue whole, adding the key, the section or the file as needed. Nonzero on
    // success, 0 on failure (nothing shown; the file is then unchanged).
    int32_t WriteINI(std::string SectionName, std::string KeyName, std::string WriteValue,
                     std::string FileName);
};

// The program's one instance, created on first use.
ReadWriteINICls& IniRW();

// The INI rules on a file's bytes, for the class above and its tests.
namespace ini {
// nullopt-like: `found` false when the section or key is missing. Texts are UTF-8.
struct Lookup {
    bool found = false;
    std::string value;
};
Lookup find(const std::string& fileBytes, const std::string& section, const std::string& key);
// The file's bytes with `key` in `section` set to `value`.
std::string withValue(const std::string& fileBytes, const std::string& section, const std::string& key,
                      const std::string& value);
}  // namespace ini

}  // namespace sq
