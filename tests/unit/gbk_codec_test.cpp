#include "data/gbk_codec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace wmb {
namespace {

std::string hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        if (!out.empty()) {
            out += ' ';
        }
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
}

std::u16string utf16_of(char32_t cp) {
    if (cp < 0x10000) {
        return std::u16string(1, static_cast<char16_t>(cp));
    }
    cp -= 0x10000;
    return {static_cast<char16_t>(0xD800 + (cp >> 10)), static_cast<char16_t>(0xDC00 + (cp & 0x3FF))};
}

// Every scalar value from first to last (inclusive), skipping surrogates.
std::u16string scalars(char32_t first, char32_t last) {
    std::u16string text;
    for (char32_t cp = first; cp <= last; ++cp) {
        if (cp < 0xD800 || cp > 0xDFFF) {
            text += utf16_of(cp);
        }
    }
    return text;
}

bool is_two_byte_code(unsigned lead, unsigned trail) {
    return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

TEST(GbkCodecTwoByte, EveryCodeDecodesToOneCharacterAndEncodesBack) {
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (!is_two_byte_code(lead, trail)) {
                continue;
            }
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string text = gbk_to_utf16(bytes);
            ASSERT_EQ(text.size(), 1u) << hex(bytes);
            ASSERT_NE(text[0], u'\uFFFD') << hex(bytes);
            ASSERT_EQ(hex(utf16_to_gbk(text)), hex(bytes));
            ASSERT_TRUE(is_canonical_gbk(bytes)) << hex(bytes);
        }
    }
}

TEST(GbkCodecSingleByte, AsciiIsItselfAndOnly0x80IsTheEuroSign) {
    for (unsigned b = 0; b < 0x80; ++b) {
        const std::string bytes(1, static_cast<char>(b));
        EXPECT_EQ(gbk_to_utf16(bytes), std::u16string(1, static_cast<char16_t>(b)));
        EXPECT_EQ(utf16_to_gbk(std::u16string(1, static_cast<char16_t>(b))), bytes);
    }
    EXPECT_EQ(gbk_to_utf16("\x80"), u"\u20AC");
    EXPECT_EQ(utf16_to_gbk(u"\u20AC"), "\x80");
    for (unsigned b = 0x81; b <= 0xFF; ++b) {  // a lead byte alone, or 0xFF
        EXPECT_EQ(gbk_to_utf16(std::string(1, static_cast<char>(b))), u"\uFFFD") << b;
    }
}

struct KnownCode {
    char32_t cp;
    std::string_view bytes;
};

class GbkCodecKnownCodes : public ::testing::TestWithParam<KnownCode> {};

TEST_P(GbkCodecKnownCodes, EncodesToAndDecodesFrom) {
    const KnownCode& known = GetParam();
    EXPECT_EQ(hex(utf16_to_gbk(utf16_of(known.cp))), hex(known.bytes));
    EXPECT_EQ(gbk_to_utf16(known.bytes), utf16_of(known.cp));
    EXPECT_TRUE(is_canonical_gbk(known.bytes));
    EXPECT_EQ(gbk_to_utf8(known.bytes), utf16_to_utf8(utf16_of(known.cp)));
    EXPECT_EQ(hex(utf8_to_gbk(utf16_to_utf8(utf16_of(known.cp)))), hex(known.bytes));
}

INSTANTIATE_TEST_SUITE_P(
    Table, GbkCodecKnownCodes,
    ::testing::Values(
        // Code page 936 as Windows writes it.
        KnownCode{U'中', "\xD6\xD0"}, KnownCode{U'文', "\xCE\xC4"}, KnownCode{U'\u3000', "\xA1\xA1"},
        KnownCode{U'\u00B7', "\xA1\xA4"}, KnownCode{U'\u2014', "\xA1\xAA"}, KnownCode{U'\u20AC', "\x80"},
        KnownCode{U'\uE000', "\xAA\xA1"},  // user-defined area
        KnownCode{U'\uE76C', "\xA2\xE3"},  // Windows keeps PUA where GB18030 has the euro sign
        KnownCode{U'\uE863', "\xFE\x9F"},  // ... and where GB18030 has 䶮
        // GB18030 four-byte codes (as glibc's iconv writes them).
        KnownCode{U'\u0080', "\x81\x30\x81\x30"}, KnownCode{U'\u00E4', "\x81\x30\x8A\x31"},
        KnownCode{U'\uF8F5', "\x83\x39\xFE\x30"}, KnownCode{U'\uFFFD', "\x84\x31\xA4\x37"},
        KnownCode{U'\uFFFF', "\x84\x31\xA4\x39"}, KnownCode{U'\U00010000', "\x90\x30\x81\x30"},
        KnownCode{U'\U0001F600', "\x94\x39\xFC\x36"}, KnownCode{U'\U00020000', "\x95\x32\x82\x36"},
        KnownCode{U'\U0010FFFF', "\xE3\x32\x9A\x35"},
        // Characters with a GB18030 two-byte code that Windows keeps for PUA
        // take four bytes: the PUA character's GB18030 code (䶮, U+1E3F),
        // the GB18030-2005 code (U+FE10) or the algorithmic one (U+20087).
        KnownCode{U'䶮', "\x83\x36\xCF\x39"}, KnownCode{U'\u1E3F', "\x81\x35\xF4\x37"},
        KnownCode{U'\uFE10', "\x84\x31\x82\x36"}, KnownCode{U'\U00020087', "\x95\x32\x90\x31"}));

TEST(GbkCodecRoundTrip, EveryUnicodeCharacterHasOneCanonicalCode) {
    // Plane by plane: decoding the encoded text gives it back, and the bytes
    // are canonical, so no two characters share a code.
    for (unsigned plane = 0; plane <= 0x10; ++plane) {
        const std::u16string text = scalars(char32_t{plane << 16}, char32_t{(plane << 16) + 0xFFFF});
        const std::string gbk = utf16_to_gbk(text);
        ASSERT_EQ(gbk_to_utf16(gbk), text) << "plane " << plane;
        ASSERT_TRUE(is_canonical_gbk(gbk)) << "plane " << plane;
        ASSERT_EQ(utf8_to_gbk(utf16_to_utf8(text)), gbk) << "plane " << plane;
        ASSERT_EQ(gbk_to_utf8(gbk), utf16_to_utf8(text)) << "plane " << plane;
        if (plane > 0) {
            ASSERT_EQ(gbk.size(), text.size() * 2) << "four bytes per surrogate pair";
        }
    }
}

TEST(GbkCodecRoundTrip, RareCharactersInANameSurvive) {
    const std::u8string name = u8"王䶮𠀀😀";
    const std::string gbk = utf8_to_gbk(name);
    EXPECT_EQ(hex(gbk), "CD F5 83 36 CF 39 95 32 82 36 94 39 FC 36");
    EXPECT_EQ(gbk_to_utf8(gbk), name);
    EXPECT_EQ(to_utf8(to_gbk(name)), name);
}

TEST(GbkCodecCanonical, FormsThatDecodeButAreNotCanonical) {
    // GB18030's four-byte code of U+E76C decodes, but U+E76C is written A2 E3.
    EXPECT_EQ(gbk_to_utf16("\x83\x36\xC7\x39"), u"\uE76C");
    EXPECT_FALSE(is_canonical_gbk("\x83\x36\xC7\x39"));
    EXPECT_FALSE(is_canonical_gbk("ab\x81"));
    EXPECT_FALSE(is_canonical_gbk("\xFF"));
    EXPECT_FALSE(is_canonical_gbk("\xD6\xD0\xD6"));
    EXPECT_FALSE(is_canonical_gbk("\x84\x31\xA5\x30"));  // unassigned four-byte code
    EXPECT_TRUE(is_canonical_gbk(""));
    EXPECT_TRUE(is_canonical_gbk(std::string_view("a\0b", 3)));
    EXPECT_TRUE(is_canonical_gbk("\xD6\xD0\xCE\xC4 ABC \x80"));
}

struct BadGbk {
    std::string_view bytes;
    std::u16string_view text;
};

class GbkCodecInvalidInput : public ::testing::TestWithParam<BadGbk> {};

TEST_P(GbkCodecInvalidInput, ReplacesTheFirstByteAndResumesAfterIt) {
    const BadGbk& bad = GetParam();
    EXPECT_EQ(gbk_to_utf16(bad.bytes), bad.text) << hex(bad.bytes);
    EXPECT_EQ(gbk_to_utf8(bad.bytes), utf16_to_utf8(bad.text)) << hex(bad.bytes);
    EXPECT_FALSE(is_canonical_gbk(bad.bytes)) << hex(bad.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GbkCodecInvalidInput,
    ::testing::Values(
        BadGbk{"\xD6", u"\uFFFD"}, BadGbk{"ab\xD6", u"ab\uFFFD"}, BadGbk{"\xFF", u"\uFFFD"},
        BadGbk{"\xFF\xD6\xD0", u"\uFFFD中"}, BadGbk{"\xD6\xFF\xD6\xD0", u"\uFFFD\uFFFD中"},
        BadGbk{"\xD6 x", u"\uFFFD x"}, BadGbk{"\xD6\x7F", u"\uFFFD\x7F"}, BadGbk{"\xD6\x3F", u"\uFFFD?"},
        BadGbk{std::string_view("\xD6\0\xD6\xD0", 4), std::u16string_view(u"\uFFFD\0中", 3)},
        BadGbk{"\xD6\xD0\xCE", u"中\uFFFD"},
        // Four-byte forms: truncated, a bad third or fourth byte, unassigned.
        BadGbk{"\x81\x30", u"\uFFFD0"}, BadGbk{"\x81\x30\x81", u"\uFFFD0\uFFFD"},
        BadGbk{"\x81\x30\x81\x2F", u"\uFFFD0\uFFFD/"}, BadGbk{"\x81\x30\x20\x30", u"\uFFFD0 0"},
        BadGbk{"\x81\x30\xFF\x30", u"\uFFFD0\uFFFD0"}, BadGbk{"\x81\x30\xD6\xD0", u"\uFFFD0中"},
        BadGbk{"\x84\x31\xA5\x30", u"\uFFFD1\uFFFD0"},  // just after U+FFFF
        BadGbk{"\x8F\x39\xFE\x39", u"\uFFFD9\uFFFD9"},  // just before U+10000
        BadGbk{"\xE3\x32\x9A\x36", u"\uFFFD2\uFFFD6"},  // just after U+10FFFF
        BadGbk{"\xFE\x39\xFE\x39", u"\uFFFD9\uFFFD9"}));

// Valid text that ends with a space resynchronises any decoder state: a space
// is neither a trail byte nor a four-byte digit.
TEST(GbkCodecInvalidInput, RandomBytesKeepTheValidTextAroundThem) {
    std::mt19937 random(20240601);
    // Bytes from the interesting classes: ASCII, digits, leads, 0x80, 0xFF.
    const std::string_view pool("\x00\x30\x39\x40\x7E\x7F\x80\x81\x84\x90\xA1\xD6\xE3\xFE\xFF" "A0 ", 18);
    const std::string marker = utf16_to_gbk(u" 中文䶮😀A ");
    for (int round = 0; round < 3000; ++round) {
        std::string garbage(random() % 24, '\0');
        for (char& c : garbage) {
            c = random() % 3 == 0 ? static_cast<char>(random()) : pool[random() % pool.size()];
        }
        const std::u16string garbage_text = gbk_to_utf16(garbage);
        ASSERT_LE(garbage_text.size(), garbage.size());
        // Valid UTF-16 out, and decoding is stable under re-encoding.
        ASSERT_EQ(utf16_to_utf8(garbage_text), gbk_to_utf8(garbage));
        ASSERT_EQ(gbk_to_utf16(utf16_to_gbk(garbage_text)), garbage_text) << hex(garbage);

        const std::u16string text = gbk_to_utf16(marker + garbage + marker);
        ASSERT_EQ(text.substr(0, 8), u" 中文䶮😀A ") << hex(garbage);
        ASSERT_EQ(text.substr(text.size() - 8), u" 中文䶮😀A ") << hex(garbage);
    }
}

struct BadUtf8 {
    std::u8string_view utf8;
    std::string_view gbk;        // malformed sequences as '?'
    std::u16string_view utf16;   // ... and as U+FFFD
};

class GbkCodecMalformedUtf8 : public ::testing::TestWithParam<BadUtf8> {};

TEST_P(GbkCodecMalformedUtf8, ReplacesEachMaximalBadSequence) {
    const BadUtf8& bad = GetParam();
    EXPECT_EQ(hex(utf8_to_gbk(bad.utf8)), hex(bad.gbk));
    EXPECT_EQ(utf8_to_utf16(bad.utf8), bad.utf16);
}

// The tables are written byte by byte: u8 literals cannot hold bad UTF-8.
std::u8string_view u8bytes(std::string_view bytes) {
    return {reinterpret_cast<const char8_t*>(bytes.data()), bytes.size()};
}

INSTANTIATE_TEST_SUITE_P(
    Table, GbkCodecMalformedUtf8,
    ::testing::Values(
        BadUtf8{u8bytes("a\x80z"), "a?z", u"a\uFFFDz"},                       // stray continuation
        BadUtf8{u8bytes("\xE4\xB8z"), "?z", u"\uFFFDz"},                      // truncated 中
        BadUtf8{u8bytes("\xE4\xB8"), "?", u"\uFFFD"},                         // ... at the end
        BadUtf8{u8bytes("\xE4\xB8\xE4\xB8\xAD"), "?\xD6\xD0", u"\uFFFD中"},   // then a whole one
        BadUtf8{u8bytes("\xC0\xAF"), "??", u"\uFFFD\uFFFD"},                  // overlong '/'
        BadUtf8{u8bytes("\xE0\x80\xAF"), "???", u"\uFFFD\uFFFD\uFFFD"},       // overlong, three bytes
        BadUtf8{u8bytes("\xED\xA0\x80"), "???", u"\uFFFD\uFFFD\uFFFD"},       // a surrogate
        BadUtf8{u8bytes("\xF4\x90\x80\x80"), "????", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
        BadUtf8{u8bytes("\xF0\x9F\x98x"), "?x", u"\uFFFDx"},                  // truncated emoji
        BadUtf8{u8bytes("\xF5\xFF\xFE"), "???", u"\uFFFD\uFFFD\uFFFD"},
        BadUtf8{u8bytes("\xF0\x9F\x98\x80"), "\x94\x39\xFC\x36", u"\U0001F600"}));

TEST(GbkCodecUtf16, UnpairedSurrogates) {
    EXPECT_EQ(utf16_to_gbk(u"a\xD800"), "a?");
    EXPECT_EQ(utf16_to_gbk(u"a\xDC00" "b"), "a?b");
    EXPECT_EQ(utf16_to_gbk(u"\xDC00\xD800"), "??");
    EXPECT_EQ(utf16_to_gbk(u"\xDC00\xDC00"), "??");
    EXPECT_EQ(utf16_to_gbk(u"\xD800\xD800\xDC00"), "?\x90\x30\x81\x30");
    EXPECT_EQ(utf16_to_utf8(u"a\xD800"), u8"a\uFFFD");
    EXPECT_EQ(utf16_to_utf8(u"\xDC00\xD800\xDC00"), u8"\uFFFD\U00010000");
}

TEST(GbkCodecUtf16, Utf8AndUtf16RoundTripEveryCharacter) {
    const std::u16string text = scalars(0, 0x10FFFF);
    const std::u8string utf8 = utf16_to_utf8(text);
    EXPECT_EQ(utf8_to_utf16(utf8), text);
    const std::u8string sample = utf16_to_utf8(u"A\u00E9\u4E2D\U0001F600");
    EXPECT_EQ(hex(std::string(sample.begin(), sample.end())), "41 C3 A9 E4 B8 AD F0 9F 98 80");
}

// Outputs that outgrow the first guess at their size: four-byte forms from
// one UTF-16 unit or two UTF-8 bytes, then ASCII written without a size check.
// The tail lengths fill the first guess exactly in one encoder or the other.
TEST(GbkCodecBuffers, FourByteFormsOutgrowTheFirstGuess) {
    for (std::size_t tail : {0u, 1u, 999u, 1000u, 1001u, 3000u}) {
        std::u16string text;
        std::u8string utf8;
        std::string expected;
        for (int i = 0; i < 1000; ++i) {
            text += u"\u00E4";
            utf8 += u8"\u00E4";
            expected += "\x81\x30\x8A\x31";
        }
        text.append(tail, u'x');
        utf8.append(tail, u8'x');
        expected.append(tail, 'x');
        EXPECT_EQ(utf16_to_gbk(text), expected) << tail;
        EXPECT_EQ(utf8_to_gbk(utf8), expected) << tail;
    }
    EXPECT_EQ(utf16_to_gbk(u"\u00E4"), "\x81\x30\x8A\x31");
    EXPECT_EQ(utf8_to_gbk(u8"\u00E4x"), "\x81\x30\x8A\x31x");
    EXPECT_EQ(gbk_to_utf8(std::string(500, '\x80')).size(), 1500u);
}

TEST(GbkCodecEmpty, EmptyInEmptyOut) {
    EXPECT_TRUE(gbk_to_utf16("").empty());
    EXPECT_TRUE(gbk_to_utf8("").empty());
    EXPECT_TRUE(utf16_to_gbk(u"").empty());
    EXPECT_TRUE(utf8_to_gbk(u8"").empty());
    EXPECT_TRUE(utf8_to_utf16(u8"").empty());
    EXPECT_TRUE(utf16_to_utf8(u"").empty());
}

}  // namespace
}  // namespace wmb
