#pragma once
// config.ini: the class name between runs. The file is a Windows profile
// file in GBK whatever the system code page, so it is read and written here
// rather than through the profile API, with the same reading rules: names
// case-insensitive for ASCII letters, blanks around names and values
// trimmed, one pair of surrounding quotes stripped, ';' comment lines, the
// first matching section and key win, a 10,240-byte value buffer.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "data/gbk_string.h"

namespace wmb {

// The reader's buffer holds this many bytes with the terminating zero.
inline constexpr std::size_t kIniValueBufferSize = 10240;

// The value of `key` in `section`, or the empty text when either is missing.
// At most kIniValueBufferSize - 1 bytes are taken, never half a character.
GbkString read_ini_value(std::string_view file_bytes, std::u8string_view section, std::u8string_view key);

// The file with `key` in `section` set to `value`. An existing key line gets
// the new value and every other byte stays as it was; otherwise the key is
// added to the section, or the section and key at the end. Line breaks in
// the value become spaces; a value that reading would alter (blanks at an
// end, surrounding quotes) is written in double quotes.
std::string write_ini_value(std::string_view file_bytes, std::u8string_view section, std::u8string_view key,
                            const GbkString& value);

class ConfigFile {
public:
    explicit ConfigFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& path() const noexcept { return path_; }

    // Section "学校班级", key "date"; empty when the file, section or key is
    // missing or the file cannot be read.
    GbkString read_class_name() const;
    // Replaces the file through a temporary file, so a failed or interrupted
    // write leaves the old file whole. False when it could not be written.
    bool write_class_name(const GbkString& class_name);

private:
    std::filesystem::path path_;
};

}  // namespace wmb
