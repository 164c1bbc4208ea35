#include "data/student_record.h"

#include <cassert>
#include <cstddef>
#include <type_traits>

#include "data/conversions.h"

namespace wmb {

StudentRecord RecordBuffer;

const std::array<FieldInfo, kFieldCount> kStudentFields{{
    {1, "serial_no", FieldType::integer, 0, u8"serial_no"},
    {2, "name", FieldType::text, 1, u8"姓名"},
    {3, "gender", FieldType::text, 2, u8"gender"},
    {4, "height", FieldType::integer, 3, u8"height"},
    {5, "weight", FieldType::single, 4, u8"weight"},
    {6, "age", FieldType::integer, 5, u8"age"},
    {7, "aux_student_no", FieldType::text, 6, u8"aux_student_no"},
    {8, "national_student_no", FieldType::text, 7, u8"national_student_no"},
    {9, "photo", FieldType::bytes, -1, u8"photo"},
    {10, "boarding", FieldType::text, 8, u8"boarding"},
    {11, "dorm_no", FieldType::text, 9, u8"dorm_no"},
    {12, "bed_no", FieldType::text, 10, u8"bed_no"},
    {13, "id_card_no", FieldType::text, 11, u8"id_card_no"},
    {14, "home_address", FieldType::text, 12, u8"home_address"},
    {15, "guardian1_relation", FieldType::text, 13, u8"guardian1_relation"},
    {16, "guardian1_name", FieldType::text, 14, u8"guardian1_name"},
    {17, "guardian1_phone", FieldType::text, 15, u8"guardian1_phone"},
    {18, "guardian2_relation", FieldType::text, 16, u8"guardian2_relation"},
    {19, "guardian2_name", FieldType::text, 17, u8"guardian2_name"},
    {20, "guardian2_phone", FieldType::text, 18, u8"guardian2_phone"},
    {21, "remarks", FieldType::text, 19, u8"remarks"},
}};

namespace {

// The member behind a field number, const or not as the record is; nullptr
// when the field is not of that kind.
template <typename Record>
auto integer_member(Record& r, int number) -> decltype(&r.serial_no) {
    switch (number) {
    case 1: return &r.serial_no;
    case 4: return &r.height;
    case 6: return &r.age;
    default: return nullptr;
    }
}

template <typename Record>
auto text_member(Record& r, int number) -> decltype(&r.name) {
    switch (number) {
    case 2: return &r.name;
    case 3: return &r.gender;
    case 7: return &r.aux_student_no;
    case 8: return &r.national_student_no;
    case 10: return &r.boarding;
    case 11: return &r.dorm_no;
    case 12: return &r.bed_no;
    case 13: return &r.id_card_no;
    case 14: return &r.home_address;
    case 15: return &r.guardian1_relation;
    case 16: return &r.guardian1_name;
    case 17: return &r.guardian1_phone;
    case 18: return &r.guardian2_relation;
    case 19: return &r.guardian2_name;
    case 20: return &r.guardian2_phone;
    case 21: return &r.remarks;
    default: return nullptr;
    }
}

bool valid_field(int number) { return number >= 1 && number <= kFieldCount; }

}  // namespace

const FieldInfo& field_info(int number) {
    assert(valid_field(number));
    if (!valid_field(number)) number = 1;
    return kStudentFields[static_cast<std::size_t>(number - 1)];
}

std::optional<int> field_by_layout_name(std::u8string_view name) {
    for (const FieldInfo& info : kStudentFields)
        if (info.layout_name == name) return info.number;
    return std::nullopt;
}

FieldValue get_field(const StudentRecord& record, int number) {
    assert(valid_field(number));
    if (const auto* value = integer_member(record, number)) return *value;
    if (const auto* value = text_member(record, number)) return *value;
    if (number == 5) return record.weight;
    if (number == kPhotoField) return record.photo;
    return std::int32_t{0};
}

void set_field(StudentRecord& record, int number, const FieldValue& value) {
    assert(valid_field(number));
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, GbkString>) {
                auto* field = text_member(record, number);
                assert(field && "text into a field that is not text");
                if (field) *field = v;
            } else if constexpr (std::is_same_v<T, ByteString>) {
                assert(number == kPhotoField && "bytes into a field other than the photo");
                if (number == kPhotoField) record.photo = v;
            } else if (auto* field = integer_member(record, number)) {
                if constexpr (std::is_same_v<T, std::int32_t>)
                    *field = v;
                else
                    *field = truncate_to_int32(static_cast<double>(v));
            } else if (number == 5) {
                record.weight = round_to_single(static_cast<double>(v));
            } else {
                assert(!"number into a text or byte-set field");
            }
        },
        value);
}

FieldValue empty_value(FieldType type) {
    switch (type) {
    case FieldType::integer: return std::int32_t{0};
    case FieldType::single: return 0.0f;
    case FieldType::bytes: return ByteString();
    case FieldType::text: return GbkString();
    }
    return std::int32_t{0};
}

}  // namespace wmb
