#include "shell/config_ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "data/gbk_codec.h"

namespace wmb {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// GBK bytes of a UTF-8 literal, for building file contents.
std::string g(std::u8string_view text) { return utf8_to_gbk(text); }

std::string read_class(std::string_view file) { return read_ini_value(file, u8"学校班级", u8"date").bytes(); }

std::string write_class(std::string_view file, std::string_view value) {
    return write_ini_value(file, u8"学校班级", u8"date", GbkString(value));
}

TEST(ReadIniValue, FindsTheKeyOfTheSection) {
    struct Case {
        std::string file;
        std::string value;
    };
    const std::string name = g(u8"晓禾初中2017级1班");
    const Case cases[] = {
        {g(u8"[学校班级]\r\ndate=") + name + "\r\n", name},
        {g(u8"[学校班级]\ndate=") + name + "\n", name},
        {g(u8"[学校班级]\ndate=") + name, name},                       // no final line end
        {g(u8"[学校班级]\r\ndate=") + name + "\r", name},
        {g(u8"[其他]\r\ndate=x\r\n[学校班级]\r\nyear=1\r\ndate=") + name + "\r\n", name},
        {g(u8"[学校班级]\r\nDATE=a\r\n"), "a"},                        // key case
        {g(u8"[学校班级]\r\nDaTe=a\r\n"), "a"},
        {g(u8"  [学校班级]  \r\n\tdate\t =  a b  \t\r\n"), "a b"},      // blanks trimmed
        {g(u8"[ 学校班级 ]\r\ndate=a\r\n"), "a"},
        {g(u8"[学校班级] ; comment\r\ndate=a\r\n"), "a"},
        {g(u8"[学校班级]\r\n;date=comment\r\n  ; date=comment\r\ndate=a\r\n"), "a"},
        {g(u8"[学校班级]\r\ndate=first\r\ndate=second\r\n"), "first"},
        {g(u8"[学校班级]\r\ndate=a=b\r\n"), "a=b"},
        {g(u8"[学校班级]\r\ndate=a ; not a comment\r\n"), "a ; not a comment"},
        {g(u8"[学校班级]\r\n\r\n\r\ndate=a"), "a"},
        // Quotes: one surrounding pair goes, blanks inside stay.
        {g(u8"[学校班级]\r\ndate=\"   \"\r\n"), "   "},
        {g(u8"[学校班级]\r\ndate= \" a \" \r\n"), " a "},
        {g(u8"[学校班级]\r\ndate='a'\r\n"), "a"},
        {g(u8"[学校班级]\r\ndate=\"\"a\"\"\r\n"), "\"a\""},
        {g(u8"[学校班级]\r\ndate=\"\"\r\n"), ""},
        {g(u8"[学校班级]\r\ndate=\"\r\n"), "\""},
        {g(u8"[学校班级]\r\ndate=\"a\r\n"), "\"a"},
        {g(u8"[学校班级]\r\ndate=\"a'\r\n"), "\"a'"},
        // A C string ends at its first zero byte.
        {g(u8"[学校班级]\r\ndate=ab") + std::string(1, '\0') + "cd\r\n", "ab"},
    };
    for (const Case& c : cases) EXPECT_EQ(read_class(c.file), c.value) << c.file;
}

TEST(ReadIniValue, MissingSectionOrKeyGivesEmpty) {
    const std::string files[] = {
        "",
        "\r\n\r\n",
        g(u8"date=a\r\n"),                                       // before any section
        g(u8"[其他]\r\ndate=a\r\n"),
        g(u8"[学校班级]\r\nyear=a\r\n"),
        g(u8"[学校班级]\r\ndate\r\n"),                           // no '='
        g(u8"[学校班级]\r\ndates=a\r\n"),
        g(u8"[学校班级]\r\n; date=a\r\n"),
        g(u8";[学校班级]\r\ndate=a\r\n"),
        g(u8"[学校班级\r\ndate=a\r\n"),                          // no ']'
        g(u8"[学校班级x]\r\ndate=a\r\n"),
        // Only the first section of the name is searched.
        g(u8"[学校班级]\r\nyear=1\r\n[学校班级]\r\ndate=a\r\n"),
    };
    for (const std::string& file : files) EXPECT_EQ(read_class(file), "") << file;
}

TEST(ReadIniValue, ComparesNamesCaseInsensitivelyOnlyForAsciiLetters) {
    EXPECT_EQ(read_ini_value("[Settings]\nName=x\n", u8"sETTINGS", u8"name").bytes(), "x");
    // 0x81 0x41 and 0x81 0x61 are two different characters whose second
    // bytes happen to be 'A' and 'a'.
    EXPECT_EQ(read_ini_value("[\x81\x61]\nk=wrong\n[\x81\x41]\nk=right\n", gbk_to_utf8("\x81\x41"), u8"k").bytes(),
              "right");
    // A ']' that is the second byte of a character closes no section name,
    // so "date" below still belongs to the class section.
    EXPECT_EQ(read_class(g(u8"[学校班级]\n") + "[\x81]\ndate=v\n"), "v");
}

TEST(ReadIniValue, TakesAtMost10239Bytes) {
    const std::string prefix = g(u8"[学校班级]\r\ndate=");
    const std::string zhong = g(u8"中");
    ASSERT_EQ(zhong.size(), 2u);
    struct Case {
        std::string value;
        std::string read;
    };
    const Case cases[] = {
        {std::string(10239, 'a'), std::string(10239, 'a')},
        {std::string(10240, 'a'), std::string(10239, 'a')},
        {std::string(100000, 'a'), std::string(10239, 'a')},
        {std::string(10237, 'a') + zhong, std::string(10237, 'a') + zhong},
        {std::string(10238, 'a') + zhong, std::string(10238, 'a')},  // no half character
        {std::string(10238, 'a') + zhong + "b", std::string(10238, 'a')},
        {'"' + std::string(10239, 'a') + '"', std::string(10239, 'a')},  // quotes go first
        {std::string(10238, 'a') + "\x80\xFF", std::string(10238, 'a') + "\x80"},
    };
    for (const Case& c : cases) {
        const std::string read = read_class(prefix + c.value + "\r\n");
        EXPECT_EQ(read.size(), c.read.size());
        EXPECT_TRUE(read == c.read);
    }
}

TEST(ReadIniValue, KeepsBytesThatAreNotGbk) {
    const std::string junk = "\x80\xFF\x81\xA1";
    EXPECT_EQ(read_class(g(u8"[学校班级]\r\ndate=") + junk + "\r\n"), junk);

    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string file(static_cast<std::size_t>(random() % 2000), '\0');
        for (char& c : file) c = static_cast<char>(random() % 8 == 0 ? "[]=;\r\n\" "[random() % 8] : random() % 256);
        if (round % 2) file = g(u8"[学校班级]\r\ndate=") + file;
        EXPECT_LE(read_class(file).size(), kIniValueBufferSize - 1);
        const std::string written = write_class(file, "x");
        EXPECT_EQ(read_class(written), "x");
    }
}

TEST(WriteIniValue, CreatesSectionAndKey) {
    EXPECT_EQ(write_class("", "a"), g(u8"[学校班级]\r\ndate=a\r\n"));
    EXPECT_EQ(write_class("[x]\nk=1\n", "a"), "[x]\nk=1\n" + g(u8"[学校班级]\ndate=a\n"));
    EXPECT_EQ(write_class("[x]\r\nk=1", "a"), "[x]\r\nk=1\r\n" + g(u8"[学校班级]\r\ndate=a\r\n"));
    // The key goes after the section's last key, before what follows it.
    EXPECT_EQ(write_class(g(u8"[学校班级]\r\nyear=1\r\n\r\n; about x\r\n[x]\r\nk=1\r\n"), "a"),
              g(u8"[学校班级]\r\nyear=1\r\ndate=a\r\n\r\n; about x\r\n[x]\r\nk=1\r\n"));
    EXPECT_EQ(write_class(g(u8"[x]\nk=1\n[学校班级]"), "a"), g(u8"[x]\nk=1\n[学校班级]\ndate=a\n"));
    EXPECT_EQ(write_class(g(u8"[学校班级]\n"), "a"), g(u8"[学校班级]\ndate=a\n"));
}

TEST(WriteIniValue, ReplacesOnlyTheValue) {
    const std::string before = g(u8"; 蔚苗簿\r\n[其他]\r\ndate=keep\r\n\r\n[学校班级]\r\n  Date = old value  \r\nyear=1\r\n[x]\r\nk=v");
    const std::string after = g(u8"; 蔚苗簿\r\n[其他]\r\ndate=keep\r\n\r\n[学校班级]\r\n  Date = 新班级\r\nyear=1\r\n[x]\r\nk=v");
    EXPECT_EQ(write_class(before, g(u8"新班级")), after);

    EXPECT_EQ(write_class(g(u8"[学校班级]\ndate=old"), "new"), g(u8"[学校班级]\ndate=new"));
    EXPECT_EQ(write_class(g(u8"[学校班级]\ndate=old\n"), ""), g(u8"[学校班级]\ndate=\n"));
    EXPECT_EQ(write_class(g(u8"[学校班级]\ndate\n"), "new"), g(u8"[学校班级]\ndate=new\n"));
    EXPECT_EQ(write_class(g(u8"[学校班级]\r\ndate=1\r\ndate=2\r\n"), "3"), g(u8"[学校班级]\r\ndate=3\r\ndate=2\r\n"));
    const std::string junk = "\x80\xFF\x81\r\r\x00x"s;
    EXPECT_EQ(write_class(junk + g(u8"\n[学校班级]\ndate=old\n") + junk, "new"),
              junk + g(u8"\n[学校班级]\ndate=new\n") + junk);
}

TEST(WriteIniValue, ValuesReadBackUnchanged) {
    const std::string values[] = {
        "", " ", "   ", " a", "a ", "\ta\t", "\"", "\"\"", "\"a\"", "'a'", "\"a'", "a\"b", "\"a",
        "=", ";a", "[a]", g(u8"　班　"), g(u8"晓禾初中2017级1班"), g(u8"　"), "\x80\xFF", std::string(10239, 'z'),
    };
    const std::string files[] = {"", g(u8"[学校班级]\r\ndate=old\r\n"), g(u8"[学校班级]\nyear=1")};
    for (const std::string& file : files)
        for (const std::string& value : values) {
            const std::string written = write_class(file, value);
            EXPECT_EQ(read_class(written), value) << written;
            EXPECT_EQ(read_class(write_class(written, value)), value) << written;
        }
    EXPECT_EQ(write_class("", "   "), g(u8"[学校班级]\r\ndate=\"   \"\r\n"));
    EXPECT_EQ(write_class("", "'a'"), g(u8"[学校班级]\r\ndate=\"'a'\"\r\n"));
    EXPECT_EQ(write_class("", g(u8"　班")), g(u8"[学校班级]\r\ndate=\"　班\"\r\n"));
    EXPECT_EQ(write_class("", g(u8"班")), g(u8"[学校班级]\r\ndate=班\r\n"));
}

TEST(WriteIniValue, LineBreaksInTheValueBecomeSpaces) {
    const std::string written = write_class("", g(u8"a\r\n[学校班级]\r\ndate=evil\nb\r"));
    EXPECT_EQ(written, g(u8"[学校班级]\r\ndate=\"a  [学校班级]  date=evil b \"\r\n"));
    EXPECT_EQ(read_class(written), g(u8"a  [学校班级]  date=evil b "));
}

class ConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        dir_ = fs::temp_directory_path() /
               ("wmb_config_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
                std::to_string(seed()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    fs::path file() const { return dir_ / "config.ini"; }

    void put(const std::string& bytes) const {
        std::ofstream out(file(), std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    std::string contents() const {
        std::ifstream in(file(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir_;
};

TEST_F(ConfigFileTest, MissingFileReadsEmptyAndIsCreatedByAWrite) {
    ConfigFile config(file());
    EXPECT_EQ(config.read_class_name(), GbkString());
    ASSERT_TRUE(config.write_class_name(to_gbk(u8"2017级1班")));
    EXPECT_EQ(contents(), g(u8"[学校班级]\r\ndate=2017级1班\r\n"));
    EXPECT_EQ(ConfigFile(file()).read_class_name(), to_gbk(u8"2017级1班"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);  // no temporary left
}

TEST_F(ConfigFileTest, RewriteKeepsTheRestOfTheFile) {
    const std::string before = g(u8"[其他]\nkey=值\n[学校班级]\ndate=旧\n; end");
    put(before);
    ConfigFile config(file());
    EXPECT_EQ(config.read_class_name(), to_gbk(u8"旧"));
    ASSERT_TRUE(config.write_class_name(GbkString(std::string_view("    "))));
    EXPECT_EQ(contents(), g(u8"[其他]\nkey=值\n[学校班级]\ndate=\"    \"\n; end"));
    EXPECT_EQ(config.read_class_name().bytes(), "    ");
    ASSERT_TRUE(config.write_class_name(to_gbk(u8"新")));
    EXPECT_EQ(contents(), g(u8"[其他]\nkey=值\n[学校班级]\ndate=新\n; end"));
}

TEST_F(ConfigFileTest, WriteIntoAMissingFolderFails) {
    ConfigFile config(dir_ / "missing" / "config.ini");
    EXPECT_FALSE(config.write_class_name(to_gbk(u8"班")));
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
    EXPECT_EQ(config.read_class_name(), GbkString());
}

// Marked read-only, config.ini is kept, even where a rename over it would
// succeed (for root, or on a writable folder).
TEST_F(ConfigFileTest, ReadOnlyFileIsLeftAlone) {
    const std::string before = g(u8"[学校班级]\r\ndate=旧\r\n");
    put(before);
    fs::permissions(file(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ConfigFile config(file());
    EXPECT_FALSE(config.write_class_name(to_gbk(u8"新")));
    EXPECT_EQ(config.read_class_name(), to_gbk(u8"旧"));
    EXPECT_FALSE(fs::exists(dir_ / "config.ini.tmp"));
    fs::permissions(file(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(contents(), before);
}

TEST_F(ConfigFileTest, AFolderInPlaceOfTheFile) {
    fs::create_directory(file());
    ConfigFile config(file());
    EXPECT_EQ(config.read_class_name(), GbkString());
    EXPECT_FALSE(config.write_class_name(to_gbk(u8"班")));
    EXPECT_TRUE(fs::is_directory(file()));
}

TEST_F(ConfigFileTest, LargeDamagedFiles) {
    put(std::string(5 << 20, 'x'));  // 5 MB without a line end
    ConfigFile config(file());
    EXPECT_EQ(config.read_class_name(), GbkString());

    put(g(u8"[学校班级]\ndate=") + std::string(5 << 20, '\xA3'));  // 5 MB of lead bytes
    const std::string name = config.read_class_name().bytes();
    EXPECT_EQ(name.size(), 10238u);
    EXPECT_EQ(name.find_first_not_of('\xA3'), std::string::npos);

    ASSERT_TRUE(config.write_class_name(to_gbk(u8"班")));
    EXPECT_EQ(contents(), g(u8"[学校班级]\ndate=班"));
}

}  // namespace
}  // namespace wmb
