#pragma once
// The language window's work on the language list, without the window: the names its option
// buttons show, the button of the current language, and the list rewritten with a new choice.
// Button k stands for the (k + 1)-th language line and stores the number k + 1.
#include <optional>
#include <string>
#include <vector>

#include "texts/language_files.h"

namespace sq {

// Names for buttons 0 to languageCount - 1, taken from field 2 of the list's language lines.
// nullopt where the window's load stops before labelling any button: a language line without a
// backslash, a name pushed past the last button by an empty line among the language lines, or
// no name at all for button 0.
[[nodiscard]] std::optional<std::vector<std::string>> languageButtonNames(
    const std::vector<std::string>& listLines, int languageCount);

// The button the current language selects, or nullopt when no button has its number.
[[nodiscard]] std::optional<int> currentLanguageButton(const LanguageState& state, int buttonCount);

// The list's lines with the selection line rewritten as field 1, a backslash and the chosen
// number (field 2 as it was when no button is selected; further fields dropped); other lines stay.
// nullopt when the window closes without storing: an empty selection line or one without a
// backslash, or a language counted in the list that has no button.
[[nodiscard]] std::optional<std::vector<std::string>> listWithSelectedLanguage(
    const std::vector<std::string>& listLines, std::optional<int> selectedButton, int languageCount,
    int buttonCount);

// Reads the list file, stores the choice and writes it back with CR LF after every line. Returns
// false (file untouched) when the list cannot be read, is refused as above, or cannot be written;
// only on true does the window go on to load the language.
bool storeSelectedLanguage(std::optional<int> selectedButton, int languageCount, int buttonCount);

// Layout in twips. Buttons stand 1.5 button heights apart below button 0.
[[nodiscard]] double languageButtonTop(int index, double firstTop, double buttonHeight);
[[nodiscard]] double languagePanelHeight(int buttonCount, double setButtonHeight, double buttonHeight);

}  // namespace sq
