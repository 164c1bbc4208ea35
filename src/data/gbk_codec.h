#pragma once
// The program's own text codec between stored GBK bytes and Unicode.
// Two-byte codes follow Windows code page 936; characters that code page
// lacks use the GB18030 four-byte form, so every Unicode character survives.
// Decoding never fails: a byte sequence that is not valid becomes U+FFFD for
// the offending byte and decoding resumes right after it.

#include <string>
#include <string_view>

#include "data/gbk_string.h"

namespace wmb {

std::u16string gbk_to_utf16(std::string_view gbk);
// Unpaired surrogates become '?'.
std::string utf16_to_gbk(std::u16string_view text);

std::u8string gbk_to_utf8(std::string_view gbk);
// Malformed UTF-8 sequences become '?'.
std::string utf8_to_gbk(std::u8string_view text);

// Malformed UTF-8 sequences and unpaired surrogates become U+FFFD.
std::u16string utf8_to_utf16(std::u8string_view text);
std::u8string utf16_to_utf8(std::u16string_view text);

// True when the bytes decode without replacement and encode back to themselves.
bool is_canonical_gbk(std::string_view gbk);

inline GbkString to_gbk(std::u16string_view text) { return GbkString(utf16_to_gbk(text)); }
inline GbkString to_gbk(std::u8string_view text) { return GbkString(utf8_to_gbk(text)); }
inline std::u16string to_utf16(const GbkString& text) { return gbk_to_utf16(text.bytes()); }
inline std::u8string to_utf8(const GbkString& text) { return gbk_to_utf8(text.bytes()); }

}  // namespace wmb
