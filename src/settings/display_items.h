#pragma once
// The display quantities a display page can show on its two lines. The list position is what the
// windows and the wire use; the item code on the wire follows from it, never from the text, so a
// language file changes nothing on the wire.
#include <array>
#include <string>

#include "texts/language_texts.h"

namespace sq {

inline constexpr int kDisplayItemCount = 107;
inline constexpr int kDisplayItemSystemTime = 0;
inline constexpr int kDisplayItemOff = 106;

// The text entry of each list position, 0 "SystemTime" to 106 "OFF".
const std::array<std::string LanguageTexts::*, kDisplayItemCount>& DisplayItems();

// The item code of list position `index` (0 to 106); raises VbError(5) for any other index.
int DisplayItemCode(int index);
// The list position of an item code: 19-32 less 1, 34-105 less 2, from 106 up less 26, any other
// code itself. Codes no entry has (106-129, 133 and up) give positions the lists do not hold.
int DisplayItemIndex(int code);
// The maximum and minimum levels (positions 32 to 49): such an item leaves its page's other line "OFF".
bool isMaxMinItem(int index);

}  // namespace sq
