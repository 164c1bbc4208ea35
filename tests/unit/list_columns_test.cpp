#include "data/list_columns.h"

#include <gtest/gtest.h>

#include <string>

#include "data/gbk_codec.h"

namespace wmb {
namespace {

GbkString gbk(std::u8string_view text) { return to_gbk(text); }

TEST(ListColumns, MainListHeadersWidthsAndFields) {
    struct Expected {
        std::u8string_view header;
        int width;
        int field;
    };
    const Expected expected[kListColumnCount] = {
        {u8"序号", 40, 1},          {u8"姓名", 70, 2},          {u8"性别", 40, 3},
        {u8"身高", 50, 4},          {u8"体重", 40, 5},          {u8"年龄", 40, 6},
        {u8"学籍辅号", 90, 7},      {u8"全国学号", 150, 8},     {u8"是否住宿", 70, 10},
        {u8"宿舍号", 60, 11},       {u8"床位号", 55, 12},       {u8"身份证号", 140, 13},
        {u8"家庭住址", 270, 14},    {u8"监护人1关系", 90, 15},  {u8"监护人1姓名", 90, 16},
        {u8"监护人1电话", 90, 17},  {u8"监护人2关系", 90, 18},  {u8"监护人2姓名", 90, 19},
        {u8"监护人2电话", 90, 20},  {u8"备注", 300, 21},
    };
    for (int c = 0; c < kListColumnCount; ++c) {
        const ListColumn& column = kMainListColumns[static_cast<std::size_t>(c)];
        EXPECT_EQ(column.header, expected[c].header) << c;
        EXPECT_EQ(column.width, expected[c].width) << c;
        EXPECT_EQ(column.field, expected[c].field) << c;
        EXPECT_EQ(column.centred, c != 0) << c;
        EXPECT_EQ(field_info(column.field).list_column, c);
    }
}

TEST(ListColumns, DeletedListDiffersOnlyInThreeWidths) {
    for (int c = 0; c < kListColumnCount; ++c) {
        const ListColumn& main = kMainListColumns[static_cast<std::size_t>(c)];
        const ListColumn& deleted = kDeletedListColumns[static_cast<std::size_t>(c)];
        EXPECT_EQ(deleted.header, main.header) << c;
        EXPECT_EQ(deleted.field, main.field) << c;
        EXPECT_EQ(deleted.centred, main.centred) << c;
        if (c != 4 && c != 5 && c != 9) {
            EXPECT_EQ(deleted.width, main.width) << c;
        }
    }
    EXPECT_EQ(kDeletedListColumns[4].width, 50);   // 体重
    EXPECT_EQ(kDeletedListColumns[5].width, 100);  // 年龄
    EXPECT_EQ(kDeletedListColumns[9].width, 70);   // 宿舍号
}

TEST(CellText, NumbersAsTextTextsAsStored) {
    EXPECT_EQ(cell_text(std::int32_t{170}).bytes(), "170");
    EXPECT_EQ(cell_text(std::int32_t{-5}).bytes(), "-5");
    EXPECT_EQ(cell_text(60.0f).bytes(), "60");
    EXPECT_EQ(cell_text(45.5f).bytes(), "45.5");
    EXPECT_EQ(cell_text(0.25f).bytes(), "0.25");
    EXPECT_EQ(cell_text(1.5).bytes(), "1.5");
    EXPECT_EQ(cell_text(gbk(u8"  张三 ")), gbk(u8"  张三 "));
    EXPECT_EQ(cell_text(GbkString(std::string_view("\x80\xFF"))).bytes(), "\x80\xFF");
    EXPECT_EQ(cell_text(ByteString{0xFF, 0xD8, 0xFF}).bytes(), "");
}

TEST(CellText, RowOfARecord) {
    StudentRecord r;
    r.serial_no = 3;
    r.name = gbk(u8"李四");
    r.gender = gbk(u8"男");
    r.height = 170;
    r.weight = 45.5f;
    r.age = 14;
    r.aux_student_no = gbk(u8"QQ 12345");
    r.national_student_no = gbk(u8"G1234");
    r.photo = ByteString{1, 2, 3};
    r.boarding = gbk(u8"否");
    r.dorm_no = gbk(u8"3-201");
    r.bed_no = gbk(u8"2");
    r.id_card_no = gbk(u8"11010120050101123X");
    r.home_address = gbk(u8"北京市");
    r.guardian1_relation = gbk(u8"父亲");
    r.guardian1_name = gbk(u8"李一");
    r.guardian1_phone = gbk(u8"13800000000");
    r.guardian2_relation = gbk(u8"外婆");
    r.guardian2_name = gbk(u8"王二");
    r.guardian2_phone = gbk(u8"");
    r.remarks = gbk(u8"备注 ");

    const std::u8string_view expected[kListColumnCount] = {
        u8"3",      u8"李四",   u8"男",          u8"170",                u8"45.5",  u8"14",  u8"QQ 12345",
        u8"G1234",  u8"否",     u8"3-201",       u8"2",                  u8"11010120050101123X",
        u8"北京市", u8"父亲",   u8"李一",        u8"13800000000",        u8"外婆",  u8"王二", u8"", u8"备注 ",
    };
    for (int c = 0; c < kListColumnCount; ++c) EXPECT_EQ(list_cell_text(r, c), gbk(expected[c])) << c;
}

}  // namespace
}  // namespace wmb
