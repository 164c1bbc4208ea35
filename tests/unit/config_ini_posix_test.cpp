#include "shell/config_ini.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "data/gbk_codec.h"

namespace wmb {
namespace {

namespace fs = std::filesystem;

// Permissions bind only users other than root.
class ReadOnlyConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() == 0) GTEST_SKIP() << "root ignores file permissions";
        dir_ = fs::temp_directory_path() / ("wmb_config_ro_" + std::to_string(getpid()));
        fs::create_directories(dir_);
        std::ofstream(dir_ / "config.ini", std::ios::binary) << before_;
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, ec);
        fs::permissions(dir_ / "config.ini", fs::perms::owner_read | fs::perms::owner_write, ec);
        fs::remove_all(dir_, ec);
    }

    std::string contents() const {
        std::ifstream in(dir_ / "config.ini", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir_;
    const std::string before_ = utf8_to_gbk(u8"[学校班级]\r\ndate=旧\r\n");
};

TEST_F(ReadOnlyConfigTest, ReadOnlyFolder) {
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    ConfigFile config(dir_ / "config.ini");
    EXPECT_FALSE(config.write_class_name(to_gbk(u8"新")));
    EXPECT_EQ(contents(), before_);
    EXPECT_EQ(config.read_class_name(), to_gbk(u8"旧"));
}

TEST_F(ReadOnlyConfigTest, UnreadableFileIsNotOverwritten) {
    fs::permissions(dir_ / "config.ini", fs::perms::owner_write);
    ConfigFile config(dir_ / "config.ini");
    EXPECT_EQ(config.read_class_name(), GbkString());
    EXPECT_FALSE(config.write_class_name(to_gbk(u8"新")));
    fs::permissions(dir_ / "config.ini", fs::perms::owner_read);
    EXPECT_EQ(contents(), before_);
}

}  // namespace
}  // namespace wmb
