#include "data/list_columns.h"

#include <cassert>
#include <cstddef>
#include <type_traits>

#include "data/conversions.h"

namespace wmb {

GbkString cell_text(const FieldValue& value) {
    return std::visit(
        [](const auto& v) -> GbkString {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::int32_t>)
                return integer_to_text(v);
            else if constexpr (std::is_same_v<T, float>)
                return single_to_text(v);
            else if constexpr (std::is_same_v<T, double>)
                return double_to_text(v);
            else if constexpr (std::is_same_v<T, GbkString>)
                return v;
            else
                return GbkString();
        },
        value);
}

GbkString list_cell_text(const StudentRecord& record, int column) {
    assert(column >= 0 && column < kListColumnCount);
    if (column < 0 || column >= kListColumnCount) return GbkString();
    return cell_text(get_field(record, kMainListColumns[static_cast<std::size_t>(column)].field));
}

}  // namespace wmb
