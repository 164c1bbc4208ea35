#include "data/student_record.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>
#include <string>

#include "data/gbk_codec.h"
#include "data/serial_number.h"

namespace wmb {
namespace {

GbkString gbk(std::u8string_view text) { return to_gbk(text); }

TEST(StudentFields, NumbersTypesAndLayoutNames) {
    const FieldType types[kFieldCount] = {
        FieldType::integer, FieldType::text, FieldType::text, FieldType::integer, FieldType::single,
        FieldType::integer, FieldType::text, FieldType::text, FieldType::bytes,   FieldType::text,
        FieldType::text,    FieldType::text, FieldType::text, FieldType::text,    FieldType::text,
        FieldType::text,    FieldType::text, FieldType::text, FieldType::text,    FieldType::text,
        FieldType::text,
    };
    for (int n = 1; n <= kFieldCount; ++n) {
        const FieldInfo& info = field_info(n);
        EXPECT_EQ(info.number, n);
        EXPECT_EQ(info.type, types[n - 1]) << n;
        EXPECT_EQ(field_by_layout_name(info.layout_name), n);
        if (n != 2) {
            const std::u8string_view layout = info.layout_name;
            EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(layout.data()), layout.size()), info.code_name);
        }
    }
    EXPECT_EQ(field_info(2).code_name, "name");
    EXPECT_EQ(field_info(2).layout_name, u8"姓名");
    EXPECT_EQ(field_info(9).list_column, -1);
    EXPECT_EQ(field_info(21).code_name, "remarks");

    EXPECT_EQ(field_by_layout_name(u8"name"), std::nullopt);  // field 2 is known only by its layout name
    EXPECT_EQ(field_by_layout_name(u8""), std::nullopt);
    EXPECT_EQ(field_by_layout_name(u8"姓名 "), std::nullopt);
}

TEST(StudentFields, GetAndSetEachField) {
    StudentRecord r;
    for (int n = 1; n <= kFieldCount; ++n) {
        switch (field_info(n).type) {
        case FieldType::integer: set_field(r, n, std::int32_t{100 + n}); break;
        case FieldType::single: set_field(r, n, 45.5f); break;
        case FieldType::bytes: set_field(r, n, ByteString{0xFF, 0xD8}); break;
        case FieldType::text: set_field(r, n, GbkString::ascii(std::to_string(n))); break;
        }
    }
    EXPECT_EQ(r.serial_no, 101);
    EXPECT_EQ(r.height, 104);
    EXPECT_EQ(r.age, 106);
    EXPECT_EQ(r.weight, 45.5f);
    EXPECT_EQ(r.photo, (ByteString{0xFF, 0xD8}));
    EXPECT_EQ(r.name.bytes(), "2");
    EXPECT_EQ(r.gender.bytes(), "3");
    EXPECT_EQ(r.national_student_no.bytes(), "8");
    EXPECT_EQ(r.boarding.bytes(), "10");
    EXPECT_EQ(r.guardian2_relation.bytes(), "18");
    EXPECT_EQ(r.remarks.bytes(), "21");

    for (int n = 1; n <= kFieldCount; ++n) {
        const FieldValue value = get_field(r, n);
        EXPECT_EQ(value.index(), empty_value(field_info(n).type).index()) << n;
        StudentRecord copy;
        set_field(copy, n, value);
        EXPECT_EQ(get_field(copy, n), value) << n;
    }
}

TEST(StudentFields, NumbersAreConvertedToTheFieldType) {
    StudentRecord r;
    set_field(r, 4, 170.9);
    EXPECT_EQ(r.height, 170);
    set_field(r, 4, -0.9);
    EXPECT_EQ(r.height, 0);
    set_field(r, 6, 14.99f);
    EXPECT_EQ(r.age, 14);
    set_field(r, 1, 1e12);
    EXPECT_EQ(r.serial_no, std::numeric_limits<std::int32_t>::max());
    set_field(r, 1, -1e12);
    EXPECT_EQ(r.serial_no, std::numeric_limits<std::int32_t>::min());
    set_field(r, 4, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(r.height, 0);

    set_field(r, 5, 45.5);
    EXPECT_EQ(r.weight, 45.5f);
    set_field(r, 5, 52.3);
    EXPECT_EQ(r.weight, 52.3f);
    set_field(r, 5, std::int32_t{60});
    EXPECT_EQ(r.weight, 60.0f);
    set_field(r, 5, 1e300);
    EXPECT_EQ(r.weight, FLT_MAX);
    set_field(r, 5, -1e300);
    EXPECT_EQ(r.weight, -FLT_MAX);
    set_field(r, 5, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(r.weight, 0.0f);
}

TEST(StudentFieldsDeathTest, TextAndNumbersDoNotMix) {
    StudentRecord r;
    r.height = 170;
    r.name = gbk(u8"张三");
    // Debug builds stop at the mistake; release builds leave the field alone.
    EXPECT_DEBUG_DEATH(set_field(r, 4, gbk(u8"170")), "");
    EXPECT_DEBUG_DEATH(set_field(r, 2, std::int32_t{1}), "");
    EXPECT_DEBUG_DEATH(set_field(r, 2, ByteString{1}), "");
    EXPECT_DEBUG_DEATH(set_field(r, 9, gbk(u8"x")), "");
    EXPECT_EQ(r.height, 170);
    EXPECT_EQ(r.name, gbk(u8"张三"));
    EXPECT_TRUE(r.photo.empty());
}

TEST(StudentFields, EmptyValues) {
    EXPECT_EQ(empty_value(FieldType::integer), FieldValue(std::int32_t{0}));
    EXPECT_EQ(empty_value(FieldType::single), FieldValue(0.0f));
    EXPECT_EQ(empty_value(FieldType::bytes), FieldValue(ByteString()));
    EXPECT_EQ(empty_value(FieldType::text), FieldValue(GbkString()));
}

TEST(RecordBuffer, StartsEmpty) {
    EXPECT_EQ(RecordBuffer, StudentRecord{});
    for (int n = 1; n <= kFieldCount; ++n) EXPECT_EQ(get_field(RecordBuffer, n), empty_value(field_info(n).type));
}

// After an import the serial numbers are whatever the workbook held; the add
// rule then bumps a taken number once and does not look again.
TEST(SerialNumbers, AddAfterAnImport) {
    const int imported[] = {4, 5, 6};
    const auto taken = [&](int serial) {
        for (int s : imported)
            if (s == serial) return true;
        return false;
    };
    const int candidate = candidate_add_serial(3);
    EXPECT_EQ(candidate, 4);
    EXPECT_EQ(resolve_add_serial(candidate, taken(candidate)), 5);  // 5 is taken too, and kept
    EXPECT_EQ(resolve_add_serial(candidate_add_serial(0), false), 1);
}

TEST(SerialNumbers, RowsAndRecords) {
    EXPECT_EQ(record_for_row(0), 1);
    EXPECT_EQ(record_for_row(2), 3);
    EXPECT_EQ(record_for_row(-1), 0);
    EXPECT_EQ(row_for_record(1), 0);
    EXPECT_EQ(transferred_serial(5), 5);
    EXPECT_EQ(renumbered_serial(3), 3);
}

}  // namespace
}  // namespace wmb
