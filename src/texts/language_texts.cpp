#include "texts/language_texts.h"

#include <iterator>
#include <unordered_map>

namespace sq {

namespace {

constexpr TextEntry kEntries[] = {
#define SQ_TEXT(name, english) {#name, english, english, &LanguageTexts::name},
#define SQ_TEXT_KEY(name, english, key) {#name, english, key, &LanguageTexts::name},
#define SQ_TEXT_FIXED(name, english) {#name, english, nullptr, &LanguageTexts::name},
#include "texts/language_text_list.inc"
#undef SQ_TEXT
#undef SQ_TEXT_KEY
#undef SQ_TEXT_FIXED
};
static_assert(std::size(kEntries) == kLanguageTextCount);

std::unordered_map<std::string_view, int> buildKeyIndex() {
    std::unordered_map<std::string_view, int> index;
    for (std::size_t i = 0; i < std::size(kEntries); ++i)
        if (kEntries[i].key) index.emplace(kEntries[i].key, static_cast<int>(i));
    return index;
}

}  // namespace

LanguageTexts& texts() {
    static LanguageTexts table;
    return table;
}

std::span<const TextEntry> textEntries() {
    return kEntries;
}

int findTextByKey(std::string_view key) {
    static const std::unordered_map<std::string_view, int> index = buildKeyIndex();
    auto it = index.find(key);
    return it == index.end() ? -1 : it->second;
}

void loadDefaultTexts(LanguageTexts& table) {
    for (const TextEntry& entry : kEntries) table.*(entry.member) = entry.english;
}

void LoadDefaultTexts() {
    loadDefaultTexts(texts());
}

}  // namespace sq
