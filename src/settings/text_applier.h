#pragma once
// Puts a window text procedure's assignments into a window's controls. Each window names its
// controls once; applying stops at the first assignment whose control is missing or refuses it.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "texts/window_texts.h"

namespace sq {

class TextApplier {
public:
    using SetText = std::function<void(const std::string&)>;
    using SetIndexed = std::function<void(int index, const std::string&)>;
    using SetCell = std::function<void(int row, int col, const std::string&)>;
    using SetItems = std::function<void(const std::vector<std::string>&)>;

    TextApplier& caption(const std::string& control, SetText set);
    // Elements of a control array (index) or positions of toolbar buttons and tree nodes.
    TextApplier& indexed(const std::string& control, SetIndexed set);
    TextApplier& cell(const std::string& grid, SetCell set);
    TextApplier& items(const std::string& control, SetItems set);

    // Returns false when it stopped early.
    bool apply(const WindowTexts& texts) const;

private:
    std::map<std::string, SetText> m_captions;
    std::map<std::string, SetIndexed> m_indexed;
    std::map<std::string, SetCell> m_cells;
    std::map<std::string, SetItems> m_items;
};

}  // namespace sq
