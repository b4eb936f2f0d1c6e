#include "texts/language_choice.h"

#include <algorithm>

#include "platform/numbers.h"
#include "platform/text_file.h"

namespace sq {

std::optional<std::vector<std::string>> languageButtonNames(const std::vector<std::string>& listLines,
                                                            int languageCount) {
    std::vector<std::string> names(static_cast<std::size_t>(std::max(languageCount, 0)));
    for (std::size_t line = 1; line < listLines.size(); ++line) {
        if (listLines[line].empty()) continue;
        std::vector<std::string> fields = splitFields(listLines[line]);
        std::size_t entry = line - 1;
        if (fields.size() < 2 || entry >= names.size()) return std::nullopt;
        names[entry] = fields[1];
    }
    if (names.empty()) return std::nullopt;
    return names;
}

std::optional<int> currentLanguageButton(const LanguageState& state, int buttonCount) {
    double index = roundHalfEven(state.selectedNumber() - 1);
    if (index < 0 || index >= buttonCount) return std::nullopt;
    return static_cast<int>(index);
}

std::optional<std::vector<std::string>> listWithSelectedLanguage(const std::vector<std::string>& listLines,
                                                                 std::optional<int> selectedButton,
                                                                 int languageCount, int buttonCount) {
    std::vector<std::string> lines = listLines;
    if (lines.empty()) return lines;
    std::vector<std::string> fields = splitFields(lines[0]);
    if (fields.size() < 2 || languageCount > buttonCount) return std::nullopt;
    if (selectedButton && *selectedButton >= 0 && *selectedButton < languageCount)
        fields[1] = std::to_string(*selectedButton + 1);
    lines[0] = fields[0] + "\\" + fields[1];
    return lines;
}

bool storeSelectedLanguage(std::optional<int> selectedButton, int languageCount, int buttonCount) {
    auto lines = readLanguageLines(languageListPath());
    if (!lines) return false;
    auto rewritten = listWithSelectedLanguage(*lines, selectedButton, languageCount, buttonCount);
    return rewritten && writeTextLines(languageListPath(), *rewritten);
}

double languageButtonTop(int index, double firstTop, double buttonHeight) {
    return firstTop + 1.5 * index * buttonHeight;
}

double languagePanelHeight(int buttonCount, double setButtonHeight, double buttonHeight) {
    if (buttonCount < 3) return 2 * setButtonHeight + 300;
    return 1.5 * buttonHeight * buttonCount;
}

}  // namespace sq
