#include "data/conversions.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "data/gbk_codec.h"

namespace wmb {
namespace {

GbkString gbk(std::u8string_view text) { return to_gbk(text); }
GbkString raw(std::string_view bytes) { return GbkString(bytes); }

TEST(FoldFullWidth, FoldsFullWidthFormsAndIdeographicSpace) {
    struct Case {
        std::u8string_view in;
        std::string_view out;
    };
    const Case cases[] = {
        {u8"１７０", "170"},
        {u8"－５．５", "-5.5"},
        {u8"ＡＢＣｘｙｚ", "ABCxyz"},
        {u8"！＄～", "!$~"},  // U+FF01, U+FF04 (not in row A3 of GBK), U+FF5E
        {u8"　", " "},
        {u8"ａ　ｂ", "a b"},
    };
    for (const Case& c : cases) EXPECT_EQ(fold_full_width(gbk(c.in)).bytes(), c.out) << (const char*)c.in.data();
}

TEST(FoldFullWidth, KeepsEverythingElseByteForByte) {
    const GbkString mixed = gbk(u8"张三１班");
    EXPECT_EQ(fold_full_width(mixed), gbk(u8"张三") + raw("1") + gbk(u8"班"));

    const std::string_view kept[] = {
        "plain ascii 123",
        "\x81\x41\x81\x61",      // double-byte codes whose second byte is an ASCII letter
        "\x81\x30\x81\x30",      // a GB18030 four-byte code
        "\x80\xFF",              // bytes that start no character
        "\xA3",                  // a lead byte cut off at the end
        "\xA3\x0A",              // a lead byte before a line feed
    };
    for (std::string_view bytes : kept) EXPECT_EQ(fold_full_width(raw(bytes)).bytes(), bytes);

    EXPECT_EQ(fold_full_width(gbk(u8"￥")), gbk(u8"￥"));  // U+FFE5 lies outside the folded range
    EXPECT_EQ(fold_full_width(raw("\x80" "\xA3\xB1" "\xFF")).bytes(), "\x80" "1" "\xFF");
}

TEST(TextToNumber, ReadsTheLeadingDecimalNumber) {
    struct Case {
        std::u8string_view text;
        double expected;
    };
    const Case cases[] = {
        {u8"60", 60},
        {u8"170.9", 170.9},
        {u8"45.5", 45.5},
        {u8"1.7e2", 170},
        {u8"1.7E+2", 170},
        {u8"25e-1", 2.5},
        {u8"-12.5", -12.5},
        {u8"+3", 3},
        {u8"-0.9", -0.9},
        {u8".5", 0.5},
        {u8"5.", 5},
        {u8"-.5", -0.5},
        {u8"007", 7},
        {u8"170cm", 170},
        {u8"170厘米", 170},
        {u8"1,5", 1},
        {u8"1 000", 1},
        {u8"1e5x", 1e5},
        {u8"1e", 1},
        {u8"1e+", 1},
        {u8"1e-", 1},
        {u8"2E", 2},
        {u8"1e308", 1e308},
        {u8"0.0001e309", 1e305},
        {u8"1e-320", 1e-320},
        {u8"1e-400", 0},
        {u8"-1e-400", 0},
        {u8"0.000001e-318", 0},
        {u8"  42", 42},
        {u8"\t\n\v\f\r 7", 7},
        // Full-width digits, signs, point and blanks.
        {u8"１７０", 170},
        {u8"－５", -5},
        {u8"＋３", 3},
        {u8"４５．５", 45.5},
        {u8"１．７ｅ２", 170},
        {u8"　　８", 8},
        {u8"　 -1", -1},
        // No leading number.
        {u8"", 0},
        {u8"abc", 0},
        {u8".", 0},
        {u8"-", 0},
        {u8"+", 0},
        {u8"-.", 0},
        {u8"+-5", 0},
        {u8"e5", 0},
        {u8"约170", 0},
        {u8"inf", 0},
        {u8"-infinity", 0},
        {u8"nan", 0},
        {u8"0x1A", 0},
        {u8"\u00A05", 0},  // a no-break space is no C blank
    };
    for (const Case& c : cases) {
        const std::string shown(reinterpret_cast<const char*>(c.text.data()), c.text.size());
        EXPECT_DOUBLE_EQ(text_to_number(gbk(c.text)), c.expected) << '"' << shown << '"';
    }
}

TEST(TextToNumber, OverflowGivesHugeValAndUnderflowZero) {
    EXPECT_EQ(text_to_number(gbk(u8"1e309")), HUGE_VAL);
    EXPECT_EQ(text_to_number(gbk(u8"-1e309")), -HUGE_VAL);
    EXPECT_EQ(text_to_number(gbk(u8"1000e306")), HUGE_VAL);
    EXPECT_EQ(text_to_number(gbk(u8"1e99999999999999999999")), HUGE_VAL);
    EXPECT_EQ(text_to_number(gbk(u8"0.00000000001e99999999999")), HUGE_VAL);
    EXPECT_EQ(text_to_number(gbk(u8"1e-99999999999999999999")), 0.0);
    EXPECT_EQ(text_to_number(gbk(u8"123456789e-340")), 0.0);
    EXPECT_EQ(text_to_number(GbkString(std::string(400, '9'))), HUGE_VAL);
    EXPECT_EQ(text_to_number(GbkString("0." + std::string(400, '0') + "1")), 0.0);
    EXPECT_EQ(text_to_number(gbk(u8"0e99999")), 0.0);
}

TEST(TextToNumber, IgnoresInvalidBytes) {
    EXPECT_EQ(text_to_number(raw("\x81" "5")), 0.0);
    EXPECT_EQ(text_to_number(raw("5\x80\xFF")), 5.0);
    EXPECT_EQ(text_to_number(raw("\xA3\xB5\xA3")), 5.0);  // "５" and a dangling lead byte
}

TEST(TruncateToInt32, TruncatesTowardZeroAndSaturates) {
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t min = std::numeric_limits<std::int32_t>::min();
    struct Case {
        double value;
        std::int32_t expected;
    };
    const Case cases[] = {
        {170.9, 170},          {-170.9, -170},       {-0.9, 0},           {0.9, 0},
        {-0.0, 0},             {2147483647.0, max},  {2147483647.99, max}, {2147483648.0, max},
        {-2147483648.0, min},  {-2147483648.99, min}, {-2147483649.0, min}, {1e10, max},
        {-1e10, min},          {1e308, max},         {HUGE_VAL, max},     {-HUGE_VAL, min},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {-std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(truncate_to_int32(c.value), c.expected) << c.value;
}

TEST(TruncateToInt32, OfTypedTexts) {
    EXPECT_EQ(truncate_to_int32(text_to_number(gbk(u8"170.9"))), 170);
    EXPECT_EQ(truncate_to_int32(text_to_number(gbk(u8"-0.9"))), 0);
    EXPECT_EQ(truncate_to_int32(text_to_number(gbk(u8"99999999999"))), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(truncate_to_int32(text_to_number(gbk(u8"1e309"))), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(truncate_to_int32(text_to_number(gbk(u8"-1e309"))), std::numeric_limits<std::int32_t>::min());
}

TEST(RoundToSingle, RoundsAndSaturates) {
    EXPECT_EQ(round_to_single(45.5), 45.5f);
    EXPECT_EQ(round_to_single(0.1), 0.1f);
    EXPECT_EQ(round_to_single(-0.25), -0.25f);
    EXPECT_EQ(round_to_single(16777217.0), 16777216.0f);  // ties to even
    EXPECT_EQ(round_to_single(1e39), FLT_MAX);
    EXPECT_EQ(round_to_single(-1e39), -FLT_MAX);
    EXPECT_EQ(round_to_single(HUGE_VAL), FLT_MAX);
    EXPECT_EQ(round_to_single(-HUGE_VAL), -FLT_MAX);
    EXPECT_EQ(round_to_single(static_cast<double>(FLT_MAX)), FLT_MAX);
    EXPECT_EQ(round_to_single(1e-50), 0.0f);
    EXPECT_EQ(round_to_single(std::numeric_limits<double>::quiet_NaN()), 0.0f);
}

TEST(NumberToText, IntegersInPlainDecimal) {
    EXPECT_EQ(integer_to_text(60).bytes(), "60");
    EXPECT_EQ(integer_to_text(0).bytes(), "0");
    EXPECT_EQ(integer_to_text(-5).bytes(), "-5");
    EXPECT_EQ(integer_to_text(std::numeric_limits<std::int32_t>::min()).bytes(), "-2147483648");
    EXPECT_EQ(integer_to_text(std::numeric_limits<std::int64_t>::min()).bytes(), "-9223372036854775808");
    EXPECT_EQ(integer_to_text(std::numeric_limits<std::int64_t>::max()).bytes(), "9223372036854775807");
}

TEST(NumberToText, SingleAsSixSignificantDigits) {
    struct Case {
        float value;
        std::string_view text;
    };
    const Case cases[] = {
        {60.0f, "60"},        {45.5f, "45.5"},           {0.25f, "0.25"},       {0.1f, "0.1"},
        {0.0f, "0"},          {-3.5f, "-3.5"},           {170.9f, "170.9"},     {123456.0f, "123456"},
        {1234567.0f, "1.23457e+06"}, {1e-5f, "1e-05"},   {0.0001f, "0.0001"},   {FLT_MAX, "3.40282e+38"},
    };
    for (const Case& c : cases) EXPECT_EQ(single_to_text(c.value).bytes(), c.text) << c.value;
}

TEST(NumberToText, DoubleAsThirteenSignificantDigits) {
    struct Case {
        double value;
        std::string_view text;
    };
    const Case cases[] = {
        {1e13, "1e+13"},       {1.5, "1.5"},  {170, "170"},          {1e-5, "1e-05"},
        {1234567890123.0, "1234567890123"},    {0.1, "0.1"},          {1.0 / 3, "0.3333333333333"},
        {-2.5e-300, "-2.5e-300"}, {0, "0"},
    };
    for (const Case& c : cases) EXPECT_EQ(double_to_text(c.value).bytes(), c.text) << c.value;
}

// The formatting must agree with printf for every kind of value, not only
// the hand-picked ones above.
TEST(NumberToText, AgreesWithPrintf) {
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    const auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    char expected[64];
    for (int i = 0; i < 2000; ++i) {
        const int exponent = static_cast<int>(next() % 40) - 20;
        const double mantissa = static_cast<double>(next() % 100000000) / 1000.0;
        const double value = (next() & 1 ? -1 : 1) * mantissa * std::pow(10.0, exponent);
        const float single = static_cast<float>(value);
        std::snprintf(expected, sizeof expected, "%.6g", static_cast<double>(single));
        EXPECT_EQ(single_to_text(single).bytes(), expected) << value;
        std::snprintf(expected, sizeof expected, "%.13g", value);
        EXPECT_EQ(double_to_text(value).bytes(), expected) << value;
    }
}

TEST(NumberToText, RoundTripsThroughTextToNumber) {
    for (float weight : {45.5f, 60.0f, 0.25f, 52.3f, 99.99f})
        EXPECT_EQ(round_to_single(text_to_number(single_to_text(weight))), weight) << weight;
}

}  // namespace
}  // namespace wmb
