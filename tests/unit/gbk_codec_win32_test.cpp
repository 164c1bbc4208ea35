// The codec against the code page 936 of the Windows it runs on, code by code.
#include "data/gbk_codec.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace wmb {
namespace {

constexpr UINT kGbkCodePage = 936;

// What Windows decodes the bytes to, or nothing when it calls them invalid.
bool windows_decode(const std::string& bytes, std::u16string& text) {
    wchar_t out[4];
    const int n = MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                      static_cast<int>(bytes.size()), out, 4);
    if (n <= 0) {
        return false;
    }
    text.assign(out, out + n);
    return true;
}

// What Windows encodes the character to, or nothing when it has no code for it.
bool windows_encode(char16_t unit, std::string& bytes) {
    const wchar_t in = unit;
    char out[8];
    BOOL used_default = FALSE;
    const int n = WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, &in, 1, out, sizeof out,
                                      nullptr, &used_default);
    if (n <= 0 || used_default) {
        return false;
    }
    bytes.assign(out, out + n);
    return true;
}

std::string hex(const std::string& bytes) {
    std::string out;
    char buffer[4];
    for (unsigned char b : bytes) {
        wsprintfA(buffer, "%02X ", b);
        out += buffer;
    }
    return out;
}

TEST(GbkCodecWindows, SingleBytesDecodeAsWindowsDoes) {
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        const std::string bytes(1, static_cast<char>(b));
        std::u16string expected;
        if (!windows_decode(bytes, expected)) {
            expected = u"\uFFFD";
        }
        EXPECT_EQ(gbk_to_utf16(bytes), expected) << hex(bytes);
    }
}

TEST(GbkCodecWindows, EveryTwoByteCodeDecodesAsWindowsDoes) {
    int windows_rejects = 0;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) {
                continue;
            }
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            std::u16string expected;
            if (!windows_decode(bytes, expected)) {
                ++windows_rejects;  // ours may decode it as GB18030 does
                continue;
            }
            EXPECT_EQ(gbk_to_utf16(bytes), expected) << hex(bytes);
        }
    }
    RecordProperty("windows_rejects", windows_rejects);
}

TEST(GbkCodecWindows, EveryCharacterWithAWindowsCodeEncodesToIt) {
    for (unsigned cp = 0x80; cp <= 0xFFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            continue;
        }
        const char16_t unit = static_cast<char16_t>(cp);
        const std::string ours = utf16_to_gbk(std::u16string(1, unit));
        std::string expected;
        if (!windows_encode(unit, expected)) {
            EXPECT_EQ(ours.size(), 4u) << "U+" << std::hex << cp << " has no code page 936 code";
            continue;
        }
        if (expected == "\xFF") {
            // Windows writes U+F8F5 as 0xFF but will not read 0xFF back
            // (MB_ERR_INVALID_CHARS), so it keeps its four-byte form.
            EXPECT_EQ(cp, 0xF8F5u);
            EXPECT_EQ(ours.size(), 4u);
            continue;
        }
        EXPECT_EQ(hex(ours), hex(expected)) << "U+" << std::hex << cp;
    }
}

}  // namespace
}  // namespace wmb
