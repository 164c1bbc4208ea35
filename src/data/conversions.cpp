#include "data/conversions.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

#include "data/gbk_codec.h"

namespace wmb {

namespace {

bool in_range(unsigned char c, unsigned char low, unsigned char high) { return c >= low && c <= high; }

// The blanks strtod skips in the C locale.
bool is_c_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::size_t skip_digits(std::string_view s, std::size_t& i) {
    const std::size_t start = i;
    while (i < s.size() && is_digit(s[i])) ++i;
    return i - start;
}

// The half-width character of a full-width one, or 0 when it has none.
char folded_char(char16_t c) {
    if (c == u'\u3000') return ' ';
    if (c >= u'\uFF01' && c <= u'\uFF5E') return static_cast<char>(c - 0xFEE0);
    return 0;
}

template <typename T>
GbkString format_general(T value, int precision) {
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision);
    return GbkString(std::string_view(buf, static_cast<std::size_t>(result.ptr - buf)));
}

}  // namespace

std::size_t gbk_char_length(std::string_view text, std::size_t pos) {
    const std::size_t left = text.size() - pos;
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[pos + k]); };
    if (left < 2 || !in_range(b(0), 0x81, 0xFE)) return 1;
    if (in_range(b(1), 0x40, 0x7E) || in_range(b(1), 0x80, 0xFE)) return 2;
    if (left >= 4 && in_range(b(1), 0x30, 0x39) && in_range(b(2), 0x81, 0xFE) && in_range(b(3), 0x30, 0x39))
        return 4;
    return 1;
}

GbkString fold_full_width(const GbkString& text) {
    const std::string& in = text.bytes();
    std::size_t pos = 0;
    while (pos < in.size() && static_cast<unsigned char>(in[pos]) < 0x80) ++pos;
    if (pos == in.size()) return text;

    // Each character is decoded on its own, so that a byte the codec would
    // replace, or a code it would write back differently, stays untouched.
    std::string out(in, 0, pos);
    out.reserve(in.size());
    while (pos < in.size()) {
        const std::size_t len = gbk_char_length(in, pos);
        const std::string_view unit(in.data() + pos, len);
        char half = 0;
        if (len > 1) {
            const std::u16string decoded = gbk_to_utf16(unit);
            if (decoded.size() == 1) half = folded_char(decoded[0]);
        }
        if (half != 0)
            out += half;
        else
            out += unit;
        pos += len;
    }
    return GbkString(std::move(out));
}

double text_to_number(const GbkString& text) {
    const GbkString folded = fold_full_width(text);
    const std::string_view s = folded.bytes();
    std::size_t i = 0;
    while (i < s.size() && is_c_space(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }

    const std::size_t start = i;
    const std::size_t int_digits = skip_digits(s, i);
    std::size_t frac_digits = 0;
    if (i < s.size() && s[i] == '.') {
        ++i;
        frac_digits = skip_digits(s, i);
    }
    if (int_digits + frac_digits == 0) return 0.0;
    const std::size_t mantissa_end = i;

    // An exponent counts only when digits follow: "1e" and "1e+" read as 1.
    std::size_t end = mantissa_end;
    long long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        bool exponent_negative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            exponent_negative = s[j] == '-';
            ++j;
        }
        if (j < s.size() && is_digit(s[j])) {
            for (; j < s.size() && is_digit(s[j]); ++j)
                if (exponent < 1'000'000'000) exponent = exponent * 10 + (s[j] - '0');
            if (exponent_negative) exponent = -exponent;
            end = j;
        }
    }

    double value = 0.0;
    const auto result = std::from_chars(s.data() + start, s.data() + end, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Out of range is either far above DBL_MAX or far below the least
        // subnormal; the place of the first significant digit tells which.
        long long magnitude = exponent;
        std::size_t k = start;
        while (k < start + int_digits && s[k] == '0') ++k;
        if (k < start + int_digits) {
            magnitude += static_cast<long long>(start + int_digits - k);
        } else {
            k = start + int_digits + 1;
            while (k < mantissa_end && s[k] == '0') ++k;
            magnitude -= static_cast<long long>(k - (start + int_digits + 1));
        }
        value = magnitude > 0 ? HUGE_VAL : 0.0;
    }
    return negative ? -value : value;
}

std::int32_t truncate_to_int32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0) return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483649.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

float round_to_single(double value) {
    if (std::isnan(value)) return 0.0f;
    if (value >= static_cast<double>(FLT_MAX)) return FLT_MAX;
    if (value <= -static_cast<double>(FLT_MAX)) return -FLT_MAX;
    return static_cast<float>(value);
}

GbkString integer_to_text(std::int64_t value) {
    char buf[24];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    return GbkString(std::string_view(buf, static_cast<std::size_t>(result.ptr - buf)));
}

GbkString single_to_text(float value) { return format_general(value, 6); }

GbkString double_to_text(double value) { return format_general(value, 13); }

}  // namespace wmb
