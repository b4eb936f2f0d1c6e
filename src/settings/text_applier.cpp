#include "settings/text_applier.h"

#include "platform/vb_error.h"

namespace sq {

TextApplier& TextApplier::caption(const std::string& control, SetText set) {
    m_captions[control] = std::move(set);
    return *this;
}

TextApplier& TextApplier::indexed(const std::string& control, SetIndexed set) {
    m_indexed[control] = std::move(set);
    return *this;
}

TextApplier& TextApplier::cell(const std::string& grid, SetCell set) {
    m_cells[grid] = std::move(set);
    return *this;
}

TextApplier& TextApplier::items(const std::string& control, SetItems set) {
    m_items[control] = std::move(set);
    return *this;
}

namespace {

template <typename Map>
const typename Map::mapped_type* lookup(const Map& map, const std::string& name) {
    auto it = map.find(name);
    return it == map.end() ? nullptr : &it->second;
}

}  // namespace

bool TextApplier::apply(const WindowTexts& texts) const {
    for (const TextAssignment& a : texts.assignments()) {
        try {
            switch (a.target) {
                case TextTarget::Caption:
                    if (a.index < 0) {
                        auto* set = lookup(m_captions, a.control);
                        if (!set) return false;
                        (*set)(a.text);
                        break;
                    }
                    [[fallthrough]];
                case TextTarget::ToolTip:
                case TextTarget::TreeNode:
                case TextTarget::AxisCaption: {
                    auto* set = lookup(m_indexed, a.control);
                    if (!set) return false;
                    (*set)(a.index, a.text);
                    break;
                }
                case TextTarget::GridCell: {
                    auto* set = lookup(m_cells, a.control);
                    if (!set) return false;
                    (*set)(a.row, a.col, a.text);
                    break;
                }
                case TextTarget::ListItems: {
                    auto* set = lookup(m_items, a.control);
                    if (!set) return false;
                    (*set)(a.items);
                    break;
                }
            }
        } catch (const VbError&) {
            return false;
        }
    }
    return true;
}

}  // namespace sq
