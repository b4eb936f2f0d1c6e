#pragma once
// The texts of the table that the platform layer's own messages are worded with.
#include "platform/com_ports.h"
#include "platform/serial_port.h"
#include "texts/language_texts.h"

namespace sq {

[[nodiscard]] OpenFailureWords openFailureWords(const LanguageTexts& table);
[[nodiscard]] ComPortTableWords comPortTableWords(const LanguageTexts& table);

}  // namespace sq
