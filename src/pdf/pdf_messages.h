#pragma once
// The writer's setter messages: error icon, OK button, title "<topic>kdrPDF 1.0".
#include <string>

namespace sq::pdf {

inline constexpr const char* kCrLf = "\r\n";
inline constexpr const char* kWriterName = "kdrPDF 1.0";

void showSetterMessage(const std::string& text, const std::string& topic);

}  // namespace sq::pdf
