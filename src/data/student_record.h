#pragma once
// The student record: 21 fields in stored order, their types and code names,
// the code tables of the three choice fields, the list columns and the
// serial-number rules.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

#include "data/gbk_string.h"

namespace wmb {

struct StudentRecord {
    std::int32_t serial_no = 0;        // 1
    GbkString name;                    // 2, stored under the layout name "姓名"
    GbkString gender;                  // 3
    std::int32_t height = 0;           // 4
    float weight = 0.0f;               // 5
    std::int32_t age = 0;              // 6
    GbkString aux_student_no;          // 7
    GbkString national_student_no;     // 8
    ByteString photo;                  // 9
    GbkString boarding;                // 10
    GbkString dorm_no;                 // 11
    GbkString bed_no;                  // 12
    GbkString id_card_no;              // 13
    GbkString home_address;            // 14
    GbkString guardian1_relation;      // 15
    GbkString guardian1_name;          // 16
    GbkString guardian1_phone;         // 17
    GbkString guardian2_relation;      // 18
    GbkString guardian2_name;          // 19
    GbkString guardian2_phone;         // 20
    GbkString remarks;                 // 21

    friend bool operator==(const StudentRecord&, const StudentRecord&) = default;
};

inline constexpr int kFieldCount = 21;
inline constexpr int kPhotoField = 9;

enum class FieldType { integer, single, bytes, text };

// One stored value. A double is what the forms hand over for numbers; it is
// converted to the field's type when written.
using FieldValue = std::variant<std::int32_t, float, double, ByteString, GbkString>;

struct FieldInfo {
    int number;                    // 1-based
    std::string_view code_name;    // serial_no, name, ...
    FieldType type;
    int list_column;               // -1 for the photo
    std::u8string_view layout_name;  // column name in the record file
};

extern const std::array<FieldInfo, kFieldCount> kStudentFields;

const FieldInfo& field_info(int number);                       // 1..21
std::optional<int> field_by_layout_name(std::u8string_view name);

// Typed access by field number. set_field converts numbers as a record file
// does: to an integer by truncation toward zero, to single precision by rounding.
FieldValue get_field(const StudentRecord& record, int number);
void set_field(StudentRecord& record, int number, const FieldValue& value);

// The value of a field of the given type when nothing is stored (past the end).
FieldValue empty_value(FieldType type);

// The one program-wide record holder.
extern StudentRecord RecordBuffer;

}  // namespace wmb
