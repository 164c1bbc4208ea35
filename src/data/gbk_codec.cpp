#include "data/gbk_codec.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace wmb {
namespace {

// A run of four-byte codes whose linear indexes and code points both count up.
struct FourByteRun {
    std::uint16_t first_index;
    std::uint16_t first_code_point;
    std::uint16_t length;
};

#include "data/gbk_tables.inc"

constexpr char32_t kInvalid = 0xFFFFFFFF;
constexpr char32_t kReplacement = 0xFFFD;
constexpr std::uint32_t kFourByteBmpCount = 39420;       // 0x81308130 .. 0x8431A439
constexpr std::uint32_t kSupplementaryIndex = 189000;    // 0x90308130 = U+10000
constexpr std::size_t kMaxGbkSequence = 4;

// Short (one- or two-byte) code of every BMP character, 0 for the four-byte
// form; the inverse of kTwoByteToUnicode plus the euro sign at 0x80.
class ShortCodes {
public:
    ShortCodes() {
        for (unsigned lead = 0; lead < 126; ++lead) {
            for (unsigned trail = 0; trail < 191; ++trail) {
                const std::uint16_t cp = kTwoByteToUnicode[lead][trail];
                if (cp != kReplacement) {
                    codes_[cp] = static_cast<std::uint16_t>((lead + 0x81) << 8 | (trail + 0x40));
                }
            }
        }
        codes_[0x20AC] = 0x80;
    }
    std::uint16_t operator[](char32_t cp) const { return codes_[cp]; }

private:
    std::array<std::uint16_t, 0x10000> codes_{};
};

const ShortCodes& short_codes() {
    static const ShortCodes codes;
    return codes;
}

// Code point of a four-byte code's linear index, or kInvalid.
char32_t four_byte_code_point(std::uint32_t index) {
    if (index < kFourByteBmpCount) {
        std::size_t lo = 0;
        std::size_t hi = std::size(kFourByteByIndex);
        while (hi - lo > 1) {  // last run starting at or before index
            const std::size_t mid = (lo + hi) / 2;
            if (kFourByteByIndex[mid].first_index <= index) {
                lo = mid;
            } else {
                hi = mid;
            }
        }
        const FourByteRun& run = kFourByteByIndex[lo];
        return run.first_code_point + (index - run.first_index);
    }
    if (index >= kSupplementaryIndex && index - kSupplementaryIndex < 0x100000) {
        return 0x10000 + (index - kSupplementaryIndex);
    }
    return kInvalid;
}

// Linear four-byte index of a character without a short code, or kInvalid.
std::uint32_t four_byte_index(char32_t cp) {
    if (cp > 0xFFFF) {
        return kSupplementaryIndex + (cp - 0x10000);
    }
    std::size_t lo = 0;
    std::size_t hi = std::size(kFourByteByCodePoint);
    while (hi - lo > 1) {
        const std::size_t mid = (lo + hi) / 2;
        if (kFourByteByCodePoint[mid].first_code_point <= cp) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    const FourByteRun& run = kFourByteByCodePoint[lo];
    if (cp < run.first_code_point || cp - run.first_code_point >= run.length) {
        return kInvalid;
    }
    return run.first_index + (cp - run.first_code_point);
}

// Decodes the non-ASCII sequence at p (p < end, *p >= 0x80) and advances p
// past it; an invalid or truncated sequence gives kInvalid and takes one byte.
inline char32_t decode_non_ascii(const unsigned char*& p, const unsigned char* end) {
    const unsigned lead = p[0];
    if (lead - 0x81u < 126u && end - p >= 2) {
        const unsigned trail = p[1];
        if (trail - 0x40u < 191u) {
            const char32_t cp = kTwoByteToUnicode[lead - 0x81][trail - 0x40];
            if (cp != kReplacement) {
                p += 2;
                return cp;
            }
        } else if (trail - 0x30u < 10u && end - p >= 4 && p[2] - 0x81u < 126u && p[3] - 0x30u < 10u) {
            const std::uint32_t index =
                (((lead - 0x81) * 10 + (trail - 0x30)) * 126 + (p[2] - 0x81)) * 10 + (p[3] - 0x30);
            const char32_t cp = four_byte_code_point(index);
            if (cp != kInvalid) {
                p += 4;
                return cp;
            }
        }
    } else if (lead == 0x80) {
        ++p;
        return 0x20AC;
    }
    ++p;
    return kInvalid;
}

// Writes the GBK bytes of a scalar value >= 0x80; returns the new end.
inline char* encode_non_ascii(const ShortCodes& short_code, char32_t cp, char* out) {
    if (cp <= 0xFFFF) {
        const std::uint16_t code = short_code[cp];
        if (code > 0xFF) {
            out[0] = static_cast<char>(code >> 8);
            out[1] = static_cast<char>(code & 0xFF);
            return out + 2;
        }
        if (code != 0) {
            *out = static_cast<char>(code);
            return out + 1;
        }
    }
    std::uint32_t index = four_byte_index(cp);
    if (index == kInvalid) {  // a surrogate code point: no character at all
        *out = '?';
        return out + 1;
    }
    out[3] = static_cast<char>(0x30 + index % 10);
    index /= 10;
    out[2] = static_cast<char>(0x81 + index % 126);
    index /= 126;
    out[1] = static_cast<char>(0x30 + index % 10);
    out[0] = static_cast<char>(0x81 + index / 10);
    return out + 4;
}

inline char16_t* put_utf16(char32_t cp, char16_t* out) {
    if (cp <= 0xFFFF) {
        *out = static_cast<char16_t>(cp);
        return out + 1;
    }
    cp -= 0x10000;
    out[0] = static_cast<char16_t>(0xD800 + (cp >> 10));
    out[1] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    return out + 2;
}

inline char8_t* put_utf8(char32_t cp, char8_t* out) {
    if (cp < 0x80) {
        *out = static_cast<char8_t>(cp);
        return out + 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char8_t>(0xC0 | cp >> 6);
        out[1] = static_cast<char8_t>(0x80 | (cp & 0x3F));
        return out + 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char8_t>(0xE0 | cp >> 12);
        out[1] = static_cast<char8_t>(0x80 | (cp >> 6 & 0x3F));
        out[2] = static_cast<char8_t>(0x80 | (cp & 0x3F));
        return out + 3;
    }
    out[0] = static_cast<char8_t>(0xF0 | cp >> 18);
    out[1] = static_cast<char8_t>(0x80 | (cp >> 12 & 0x3F));
    out[2] = static_cast<char8_t>(0x80 | (cp >> 6 & 0x3F));
    out[3] = static_cast<char8_t>(0x80 | (cp & 0x3F));
    return out + 4;
}

// Next scalar value of UTF-16 text; an unpaired surrogate gives kInvalid.
inline char32_t next_utf16(const char16_t*& p, const char16_t* end) {
    const char32_t unit = *p++;
    if (unit - 0xD800u >= 0x800u) {
        return unit;
    }
    if (unit < 0xDC00 && p != end && *p - 0xDC00u < 0x400u) {
        return 0x10000 + ((unit - 0xD800) << 10) + (*p++ - 0xDC00);
    }
    return kInvalid;
}

// Next scalar value of UTF-8 text (*p >= 0x80). A malformed sequence gives
// kInvalid and takes its maximal valid prefix, at least one byte, so the next
// byte that cannot continue it starts afresh.
inline char32_t next_utf8_non_ascii(const char8_t*& p, const char8_t* end) {
    const unsigned b0 = *p++;
    unsigned need;
    char32_t cp;
    unsigned lo = 0x80;
    unsigned hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        need = 1;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        need = 2;
        cp = b0 & 0x0F;
        if (b0 == 0xE0) {
            lo = 0xA0;  // no overlong forms
        } else if (b0 == 0xED) {
            hi = 0x9F;  // no surrogates
        }
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        need = 3;
        cp = b0 & 0x07;
        if (b0 == 0xF0) {
            lo = 0x90;
        } else if (b0 == 0xF4) {
            hi = 0x8F;  // nothing above U+10FFFF
        }
    } else {
        return kInvalid;
    }
    for (; need > 0; --need) {
        if (p == end || *p < lo || *p > hi) {
            return kInvalid;
        }
        cp = cp << 6 | (*p++ & 0x3Fu);
        lo = 0x80;
        hi = 0xBF;
    }
    return cp;
}

// Cuts a result buffer to what was written, giving back unused memory.
template <typename String>
void finish(String& text, std::size_t used) {
    text.resize(used);
    text.shrink_to_fit();
}

// Makes room in out after `at` for one more GBK sequence plus one byte for
// each of the `units_left` input units, which is all the unchecked ASCII
// path may write; returns `at` in the possibly moved buffer.
inline char* reserve_gbk(std::string& out, char* at, std::size_t units_left) {
    const std::size_t used = static_cast<std::size_t>(at - out.data());
    const std::size_t room = kMaxGbkSequence + units_left;
    if (out.size() - used < room) {
        out.resize(out.size() * 2 + room);
    }
    return out.data() + used;
}

// GBK to a Unicode form, `put` writing one code point; ASCII is copied as is.
template <typename String, typename Put>
String decode_gbk(std::string_view gbk, std::size_t units_per_byte, Put put) {
    String out(gbk.size() * units_per_byte, 0);
    auto* o = out.data();
    const auto* p = reinterpret_cast<const unsigned char*>(gbk.data());
    const auto* end = p + gbk.size();
    while (p != end) {
        if (*p < 0x80) {
            *o++ = *p++;
            continue;
        }
        const char32_t cp = decode_non_ascii(p, end);
        o = put(cp == kInvalid ? kReplacement : cp, o);
    }
    finish(out, static_cast<std::size_t>(o - out.data()));
    return out;
}

// A Unicode form to GBK, `next` reading one non-ASCII code point.
template <typename Unit, typename Next>
std::string encode_gbk(std::basic_string_view<Unit> text, std::size_t initial_size, Next next) {
    std::string out(initial_size, '\0');
    char* o = out.data();
    const ShortCodes& short_code = short_codes();
    const Unit* p = text.data();
    const Unit* end = p + text.size();
    while (p != end) {
        if (*p < 0x80) {
            *o++ = static_cast<char>(*p++);
            continue;
        }
        const char32_t cp = next(p, end);
        o = reserve_gbk(out, o, static_cast<std::size_t>(end - p));
        if (cp == kInvalid) {
            *o++ = '?';
        } else {
            o = encode_non_ascii(short_code, cp, o);
        }
    }
    finish(out, static_cast<std::size_t>(o - out.data()));
    return out;
}

}  // namespace

// Every GBK byte gives at most one UTF-16 unit (four bytes give two at most).
std::u16string gbk_to_utf16(std::string_view gbk) { return decode_gbk<std::u16string>(gbk, 1, [](char32_t cp, char16_t* o) { return put_utf16(cp, o); }); }

// Two bytes per unit covers all but BMP characters in four-byte form.
std::string utf16_to_gbk(std::u16string_view text) {
    // Lambdas, so the readers inline into the loop.
    return encode_gbk(text, text.size() * 2 + kMaxGbkSequence,
                      [](const char16_t*& p, const char16_t* end) { return next_utf16(p, end); });
}

// At most three UTF-8 bytes per GBK byte (0x80 and U+FFFD for one byte).
std::u8string gbk_to_utf8(std::string_view gbk) { return decode_gbk<std::u8string>(gbk, 3, [](char32_t cp, char8_t* o) { return put_utf8(cp, o); }); }

// GBK never takes more bytes than UTF-8 except for four-byte forms.
std::string utf8_to_gbk(std::u8string_view text) {
    return encode_gbk(text, text.size() + kMaxGbkSequence,
                      [](const char8_t*& p, const char8_t* end) { return next_utf8_non_ascii(p, end); });
}

std::u16string utf8_to_utf16(std::u8string_view text) {
    // Never more UTF-16 units than UTF-8 bytes.
    std::u16string out(text.size(), u'\0');
    char16_t* o = out.data();
    const char8_t* p = text.data();
    const char8_t* end = p + text.size();
    while (p != end) {
        if (*p < 0x80) {
            *o++ = *p++;
            continue;
        }
        const char32_t cp = next_utf8_non_ascii(p, end);
        o = put_utf16(cp == kInvalid ? kReplacement : cp, o);
    }
    finish(out, static_cast<std::size_t>(o - out.data()));
    return out;
}

std::u8string utf16_to_utf8(std::u16string_view text) {
    // At most three UTF-8 bytes per UTF-16 unit (four per surrogate pair).
    std::u8string out(text.size() * 3, u8'\0');
    char8_t* o = out.data();
    const char16_t* p = text.data();
    const char16_t* end = p + text.size();
    while (p != end) {
        if (*p < 0x80) {
            *o++ = static_cast<char8_t>(*p++);
            continue;
        }
        const char32_t cp = next_utf16(p, end);
        o = put_utf8(cp == kInvalid ? kReplacement : cp, o);
    }
    finish(out, static_cast<std::size_t>(o - out.data()));
    return out;
}

bool is_canonical_gbk(std::string_view gbk) {
    const ShortCodes& short_code = short_codes();
    const auto* p = reinterpret_cast<const unsigned char*>(gbk.data());
    const auto* end = p + gbk.size();
    while (p != end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const unsigned char* start = p;
        const char32_t cp = decode_non_ascii(p, end);
        if (cp == kInvalid) {
            return false;
        }
        char encoded[kMaxGbkSequence];
        const char* encoded_end = encode_non_ascii(short_code, cp, encoded);
        if (std::string_view(encoded, static_cast<std::size_t>(encoded_end - encoded)) !=
            std::string_view(reinterpret_cast<const char*>(start), static_cast<std::size_t>(p - start))) {
            return false;
        }
    }
    return true;
}

}  // namespace wmb
