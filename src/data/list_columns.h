#pragma once
// The 20 columns of the main list and of the deleted-students list: header,
// width in pixels at 96 DPI, the field shown, alignment. Column 0 is left
// aligned, the others centred; the photo (field 9) has no column.

#include <array>
#include <string_view>

#include "data/gbk_string.h"
#include "data/student_record.h"

namespace wmb {

struct ListColumn {
    std::u8string_view header;
    int width;
    int field;  // 1-based field number
    bool centred;
};

inline constexpr int kListColumnCount = 20;

inline constexpr std::array<ListColumn, kListColumnCount> kMainListColumns{{
    {u8"序号", 40, 1, false},
    {u8"姓名", 70, 2, true},
    {u8"性别", 40, 3, true},
    {u8"身高", 50, 4, true},
    {u8"体重", 40, 5, true},
    {u8"年龄", 40, 6, true},
    {u8"学籍辅号", 90, 7, true},
    {u8"全国学号", 150, 8, true},
    {u8"是否住宿", 70, 10, true},
    {u8"宿舍号", 60, 11, true},
    {u8"床位号", 55, 12, true},
    {u8"身份证号", 140, 13, true},
    {u8"家庭住址", 270, 14, true},
    {u8"监护人1关系", 90, 15, true},
    {u8"监护人1姓名", 90, 16, true},
    {u8"监护人1电话", 90, 17, true},
    {u8"监护人2关系", 90, 18, true},
    {u8"监护人2姓名", 90, 19, true},
    {u8"监护人2电话", 90, 20, true},
    {u8"备注", 300, 21, true},
}};

// The same columns, wider for the weight, the age and the dormitory.
inline constexpr std::array<ListColumn, kListColumnCount> kDeletedListColumns = [] {
    auto columns = kMainListColumns;
    columns[4].width = 50;
    columns[5].width = 100;
    columns[9].width = 70;
    return columns;
}();

// A stored value as a list shows it: integers in plain decimal, the weight
// as "%.6g", texts as they are; a byte set shows nothing.
GbkString cell_text(const FieldValue& value);
// Cell `column` (0..19) of the row that shows `record`.
GbkString list_cell_text(const StudentRecord& record, int column);

}  // namespace wmb
