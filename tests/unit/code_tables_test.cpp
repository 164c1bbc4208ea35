#include "data/code_tables.h"

#include <gtest/gtest.h>

#include <string>

#include "data/gbk_codec.h"

namespace wmb {
namespace {

GbkString gbk(std::u8string_view text) { return to_gbk(text); }

TEST(CodeTables, CaptionsByIndex) {
    const auto gender = item_captions(CodeTable::gender);
    ASSERT_EQ(gender.size(), 2u);
    EXPECT_EQ(gender[0], u8"    男");
    EXPECT_EQ(gender[1], u8"    女");

    const auto boarding = item_captions(CodeTable::boarding);
    ASSERT_EQ(boarding.size(), 2u);
    EXPECT_EQ(boarding[0], u8"    是");
    EXPECT_EQ(boarding[1], u8"    否");

    const auto relation = item_captions(CodeTable::relation);
    ASSERT_EQ(relation.size(), 12u);
    EXPECT_EQ(relation[0], u8" 父亲");
    EXPECT_EQ(relation[6], u8" 叔父");
    EXPECT_EQ(relation[10], u8" 其他");
    EXPECT_EQ(relation[11], u8"");
}

// A stored text is the caption without its leading spaces, for every item
// that stores one.
TEST(CodeTables, StoredTextIsTheCaptionWithoutItsIndent) {
    for (CodeTable table : {CodeTable::gender, CodeTable::boarding, CodeTable::relation}) {
        const auto captions = item_captions(table);
        const auto texts = stored_texts(table);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            std::u8string_view caption = captions[i];
            caption.remove_prefix(caption.find_first_not_of(u8' '));
            EXPECT_EQ(texts[i], caption);
            EXPECT_EQ(stored_text_for_index(table, static_cast<int>(i)), gbk(texts[i]));
        }
    }
}

TEST(CodeTables, IndexToStoredText) {
    EXPECT_EQ(stored_text_for_index(CodeTable::gender, 1), gbk(u8"女"));
    EXPECT_EQ(stored_text_for_index(CodeTable::boarding, 0), gbk(u8"是"));
    EXPECT_EQ(stored_text_for_index(CodeTable::relation, 9), gbk(u8"姨母"));

    struct Outside {
        CodeTable table;
        int index;
    };
    const Outside outside[] = {
        {CodeTable::gender, -1},   {CodeTable::gender, 2},     {CodeTable::boarding, -1},
        {CodeTable::boarding, 2},  {CodeTable::relation, -1},  {CodeTable::relation, 11},  // the empty item
        {CodeTable::relation, 12}, {CodeTable::relation, 1000},
    };
    for (const Outside& o : outside)
        EXPECT_EQ(stored_text_for_index(o.table, o.index), std::nullopt) << static_cast<int>(o.table) << ' ' << o.index;
}

TEST(CodeTables, StoredTextToIndex) {
    EXPECT_EQ(index_for_stored_text(CodeTable::gender, gbk(u8"女")), 1);
    EXPECT_EQ(index_for_stored_text(CodeTable::boarding, gbk(u8"否")), 1);
    EXPECT_EQ(index_for_stored_text(CodeTable::relation, gbk(u8"其他")), 10);
    EXPECT_EQ(index_for_stored_text(CodeTable::relation, gbk(u8"外婆")), 5);

    // Texts in no table, as an import may store them, select the first item.
    const std::u8string_view foreign[] = {u8"", u8"    女", u8" 女", u8"女 ", u8"F", u8"女性", u8"母亲"};
    for (std::u8string_view text : foreign) EXPECT_EQ(index_for_stored_text(CodeTable::gender, gbk(text)), 0);
    EXPECT_EQ(index_for_stored_text(CodeTable::boarding, gbk(u8"    否")), 0);
    EXPECT_EQ(index_for_stored_text(CodeTable::relation, gbk(u8" 母亲")), 0);
    EXPECT_EQ(index_for_stored_text(CodeTable::relation, gbk(u8"")), 0);
    EXPECT_EQ(index_for_stored_text(CodeTable::relation, GbkString(std::string_view("\xC4\xB8"))), 0);  // half of 母亲
}

}  // namespace
}  // namespace wmb
