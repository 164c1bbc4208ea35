#pragma once
// Data text and byte sets: the two kinds of stored value that are not numbers.
// GbkString holds the GBK (GB18030 for characters GBK lacks) bytes of a text;
// UI literals are UTF-8 char8_t strings and never mix with it implicitly.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wmb {

using ByteString = std::vector<std::uint8_t>;

class GbkString {
public:
    GbkString() = default;
    explicit GbkString(std::string bytes) : bytes_(std::move(bytes)) {}
    explicit GbkString(std::string_view bytes) : bytes_(bytes) {}

    // For texts known to be ASCII (digits, Latin letters).
    static GbkString ascii(std::string_view text) { return GbkString(text); }

    const std::string& bytes() const noexcept { return bytes_; }
    bool empty() const noexcept { return bytes_.empty(); }
    std::size_t size() const noexcept { return bytes_.size(); }

    GbkString& operator+=(const GbkString& other) {
        bytes_ += other.bytes_;
        return *this;
    }
    friend GbkString operator+(GbkString a, const GbkString& b) { return a += b; }
    // Exact byte-wise comparison: case, spaces and every byte count.
    friend bool operator==(const GbkString&, const GbkString&) = default;

private:
    std::string bytes_;
};

}  // namespace wmb
