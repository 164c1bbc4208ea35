#include "data/code_tables.h"

#include <array>
#include <cstddef>

#include "data/gbk_codec.h"

namespace wmb {

namespace {

constexpr std::array<std::u8string_view, 2> kGenderCaptions{u8"    男", u8"    女"};
constexpr std::array<std::u8string_view, 2> kGenderTexts{u8"男", u8"女"};
constexpr std::array<std::u8string_view, 2> kBoardingCaptions{u8"    是", u8"    否"};
constexpr std::array<std::u8string_view, 2> kBoardingTexts{u8"是", u8"否"};
constexpr std::array<std::u8string_view, 12> kRelationCaptions{
    u8" 父亲", u8" 母亲", u8" 祖父", u8" 祖母", u8" 外公", u8" 外婆",
    u8" 叔父", u8" 姑母", u8" 舅父", u8" 姨母", u8" 其他", u8""};
constexpr std::array<std::u8string_view, 11> kRelationTexts{
    u8"父亲", u8"母亲", u8"祖父", u8"祖母", u8"外公", u8"外婆", u8"叔父", u8"姑母", u8"舅父", u8"姨母", u8"其他"};

}  // namespace

std::span<const std::u8string_view> item_captions(CodeTable table) {
    switch (table) {
    case CodeTable::gender: return kGenderCaptions;
    case CodeTable::boarding: return kBoardingCaptions;
    case CodeTable::relation: return kRelationCaptions;
    }
    return {};
}

std::span<const std::u8string_view> stored_texts(CodeTable table) {
    switch (table) {
    case CodeTable::gender: return kGenderTexts;
    case CodeTable::boarding: return kBoardingTexts;
    case CodeTable::relation: return kRelationTexts;
    }
    return {};
}

std::optional<GbkString> stored_text_for_index(CodeTable table, int index) {
    const auto texts = stored_texts(table);
    if (index < 0 || static_cast<std::size_t>(index) >= texts.size()) return std::nullopt;
    return to_gbk(texts[static_cast<std::size_t>(index)]);
}

int index_for_stored_text(CodeTable table, const GbkString& text) {
    const auto texts = stored_texts(table);
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (to_gbk(texts[i]) == text) return static_cast<int>(i);
    return 0;
}

}  // namespace wmb
