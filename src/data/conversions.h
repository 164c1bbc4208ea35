#pragma once
// Text to number and number to text, the same way everywhere: forms, lists,
// record files and the Excel exchange. All results are independent of the
// C locale.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/gbk_string.h"

namespace wmb {

// Length in bytes of the GBK character that starts at `pos` (pos < size):
// 1 for ASCII and for any byte that does not start a complete valid
// sequence, 2 for a double-byte code, 4 for a GB18030 four-byte code.
std::size_t gbk_char_length(std::string_view text, std::size_t pos);

// Full-width forms U+FF01..U+FF5E become ASCII 0x21..0x7E, U+3000 a space.
// Every other byte, valid or not, is kept as it was.
GbkString fold_full_width(const GbkString& text);

// The leading decimal number of the folded text, as strtod reads it in the
// C locale but without hex, "inf" or "nan": blanks, sign, digits, fraction,
// exponent. No leading number gives 0; overflow gives +-HUGE_VAL.
double text_to_number(const GbkString& text);

// Truncation toward zero, saturating at the int32 limits; NaN gives 0.
std::int32_t truncate_to_int32(double value);
// Nearest single-precision value, saturating at +-FLT_MAX; NaN gives 0.
float round_to_single(double value);

GbkString integer_to_text(std::int64_t value);
GbkString single_to_text(float value);   // as printf "%.6g"
GbkString double_to_text(double value);  // as printf "%.13g"

}  // namespace wmb
