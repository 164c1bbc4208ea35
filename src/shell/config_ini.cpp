#include "shell/config_ini.h"

#include <fstream>
#include <optional>
#include <system_error>

#include "data/conversions.h"
#include "data/gbk_codec.h"

namespace wmb {

namespace fs = std::filesystem;

namespace {

constexpr std::u8string_view kClassSection = u8"学校班级";
constexpr std::u8string_view kClassKey = u8"date";

// A damaged config.ini may be large; the class name is near its start.
constexpr std::size_t kParseLimit = std::size_t{4} << 20;
// Beyond this the file is not ours to rewrite.
constexpr std::size_t kRewriteLimit = std::size_t{64} << 20;

constexpr std::string_view kIdeographicSpace = "\xA1\xA1";  // U+3000 in GBK

constexpr std::size_t npos = std::string_view::npos;

// The blanks the profile reader trims (Ctrl-Z included, as Windows does).
bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Byte range [begin, end) of the file.
struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
};

Span trim(std::string_view bytes, Span span) {
    while (span.begin < span.end && is_blank(bytes[span.begin])) ++span.begin;
    while (span.end > span.begin && is_blank(bytes[span.end - 1])) --span.end;
    return span;
}

std::string_view view(std::string_view bytes, Span span) { return bytes.substr(span.begin, span.end - span.begin); }

struct Line {
    std::size_t begin = 0;
    std::size_t body_end = 0;  // where "\r\n" or "\n" starts
    std::size_t end = 0;       // after the line end, or at the end of the file
};

Line line_at(std::string_view bytes, std::size_t begin) {
    Line line{begin, bytes.size(), bytes.size()};
    const std::size_t nl = bytes.find('\n', begin);
    if (nl != npos) {
        line.end = nl + 1;
        line.body_end = (nl > begin && bytes[nl - 1] == '\r') ? nl - 1 : nl;
    }
    return line;
}

enum class LineKind { other, section, key };

struct ParsedLine {
    LineKind kind = LineKind::other;
    Span name;
    std::size_t equals = npos;  // position of '=' on a key line, npos if it has none
};

ParsedLine parse_line(std::string_view bytes, const Line& line) {
    const Span body = trim(bytes, {line.begin, line.body_end});
    if (body.begin == body.end || bytes[body.begin] == ';') return {};
    if (bytes[body.begin] == '[') {
        // The name ends at the last ']' that is a character of its own, not
        // the second byte of a GBK character.
        const std::string_view text = bytes.substr(0, body.end);
        std::size_t close = npos;
        for (std::size_t p = body.begin + 1; p < body.end; p += gbk_char_length(text, p))
            if (text[p] == ']') close = p;
        if (close != npos) return {LineKind::section, trim(bytes, {body.begin + 1, close}), npos};
    }
    // '=' is never part of a GBK character, so a plain search is safe.
    const std::size_t equals = view(bytes, body).find('=');
    if (equals == npos) return {LineKind::key, body, npos};
    return {LineKind::key, trim(bytes, {body.begin, body.begin + equals}), body.begin + equals};
}

// Profile names match ignoring the case of ASCII letters; the bytes of
// double-byte characters match exactly.
bool same_name(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const std::size_t la = gbk_char_length(a, i);
        const std::size_t lb = gbk_char_length(b, j);
        if (la != lb) return false;
        if (la == 1 ? ascii_lower(a[i]) != ascii_lower(b[j]) : a.substr(i, la) != b.substr(j, lb)) return false;
        i += la;
        j += lb;
    }
    return i == a.size() && j == b.size();
}

std::string trimmed_name(std::u8string_view name) {
    const std::string gbk = utf8_to_gbk(name);
    return std::string(view(gbk, trim(gbk, {0, gbk.size()})));
}

struct Location {
    bool section_found = false;
    std::size_t insert_at = 0;  // after the section's last key line, or after its header
    std::optional<Line> key_line;
    ParsedLine key;
};

// Only the first section of the name is searched, as Windows does.
Location locate(std::string_view bytes, std::string_view section, std::string_view key) {
    Location found;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const Line line = line_at(bytes, pos);
        pos = line.end;
        const ParsedLine parsed = parse_line(bytes, line);
        if (!found.section_found) {
            if (parsed.kind == LineKind::section && same_name(view(bytes, parsed.name), section)) {
                found.section_found = true;
                found.insert_at = line.end;
            }
            continue;
        }
        if (parsed.kind == LineKind::section) break;
        if (parsed.kind != LineKind::key) continue;
        if (same_name(view(bytes, parsed.name), key)) {
            found.key_line = line;
            found.key = parsed;
            break;
        }
        found.insert_at = line.end;
    }
    return found;
}

bool is_quote(char c) { return c == '"' || c == '\''; }

std::size_t last_char_start(std::string_view text) {
    std::size_t last = 0;
    for (std::size_t p = 0; p < text.size(); p += gbk_char_length(text, p)) last = p;
    return last;
}

// True when the profile reader would not give `value` back as it stands.
bool needs_quotes(std::string_view value) {
    if (value.empty()) return false;
    if (is_blank(value.front()) || is_blank(value.back())) return true;
    if (value.size() >= 2 && is_quote(value.front()) && value.back() == value.front()) return true;
    // Full-width spaces, in case a reader trims them as Unicode blanks.
    if (value.substr(0, kIdeographicSpace.size()) == kIdeographicSpace && gbk_char_length(value, 0) == 2)
        return true;
    return value.substr(last_char_start(value)) == kIdeographicSpace;
}

std::string value_as_written(const GbkString& value) {
    std::string text = value.bytes();
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    if (needs_quotes(text)) return '"' + text + '"';
    return text;
}

std::string_view line_end_of(std::string_view bytes) {
    const std::size_t nl = bytes.find('\n');
    if (nl == npos || (nl > 0 && bytes[nl - 1] == '\r')) return "\r\n";
    return "\n";
}

// Up to `size` bytes of the file; false when it exists but cannot be read.
bool read_file(const fs::path& path, std::size_t size, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.resize(size);
    in.read(out.data(), static_cast<std::streamsize>(size));
    out.resize(static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}

}  // namespace

GbkString read_ini_value(std::string_view file_bytes, std::u8string_view section, std::u8string_view key) {
    const Location found = locate(file_bytes, trimmed_name(section), trimmed_name(key));
    if (!found.key_line || found.key.equals == npos) return GbkString();

    std::string_view value = view(file_bytes, trim(file_bytes, {found.key.equals + 1, found.key_line->body_end}));
    value = value.substr(0, value.find('\0'));  // the reader sees a C string
    if (value.size() >= 2 && is_quote(value.front()) && value.back() == value.front())
        value = value.substr(1, value.size() - 2);

    const std::size_t room = kIniValueBufferSize - 1;
    if (value.size() > room) {
        std::size_t cut = 0;
        for (std::size_t len = 0; cut < value.size(); cut += len) {
            len = gbk_char_length(value, cut);
            if (cut + len > room) break;
        }
        value = value.substr(0, cut);
    }
    return GbkString(value);
}

std::string write_ini_value(std::string_view file_bytes, std::u8string_view section, std::u8string_view key,
                            const GbkString& value) {
    const std::string section_name = trimmed_name(section);
    const std::string key_name = trimmed_name(key);
    const std::string written = value_as_written(value);
    const Location found = locate(file_bytes, section_name, key_name);
    const std::string_view eol = line_end_of(file_bytes);
    std::string out;
    out.reserve(file_bytes.size() + written.size() + section_name.size() + key_name.size() + 8);

    if (found.key_line) {
        // Keep the line up to its '=' and the blanks after it, and its line end.
        std::size_t value_begin = found.key.name.end;
        std::string_view separator = "=";
        if (found.key.equals != npos) {
            value_begin = found.key.equals + 1;
            while (value_begin < found.key_line->body_end && is_blank(file_bytes[value_begin])) ++value_begin;
            separator = {};
        }
        out.append(file_bytes.substr(0, value_begin));
        out.append(separator);
        out.append(written);
        out.append(file_bytes.substr(found.key_line->body_end));
        return out;
    }

    const std::size_t at = found.section_found ? found.insert_at : file_bytes.size();
    out.append(file_bytes.substr(0, at));
    if (at > 0 && file_bytes[at - 1] != '\n') out.append(eol);
    if (!found.section_found) out.append("[").append(section_name).append("]").append(eol);
    out.append(key_name).append("=").append(written).append(eol);
    out.append(file_bytes.substr(at));
    return out;
}

GbkString ConfigFile::read_class_name() const {
    std::error_code ec;
    const auto size = fs::file_size(path_, ec);
    if (ec) return GbkString();
    std::string bytes;
    if (!read_file(path_, size < kParseLimit ? static_cast<std::size_t>(size) : kParseLimit, bytes))
        return GbkString();
    return read_ini_value(bytes, kClassSection, kClassKey);
}

bool ConfigFile::write_class_name(const GbkString& class_name) {
    std::error_code ec;
    const fs::file_status status = fs::status(path_, ec);
    std::string current;
    if (fs::exists(status)) {
        if (!fs::is_regular_file(status)) return false;
        const auto size = fs::file_size(path_, ec);
        if (ec || size > kRewriteLimit) return false;
        if (!read_file(path_, static_cast<std::size_t>(size), current)) return false;
        // A read-only config.ini stays as it is, although renaming over it
        // might work: whoever marked it so wants it kept.
        if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) return false;
        if (!std::ofstream(path_, std::ios::binary | std::ios::app)) return false;
    } else if (status.type() != fs::file_type::not_found) {
        return false;
    }

    const std::string updated = write_ini_value(current, kClassSection, kClassKey, class_name);
    fs::path temporary = path_;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(updated.data(), static_cast<std::streamsize>(updated.size()));
        out.close();
        if (!out) {
            fs::remove(temporary, ec);
            return false;
        }
    }
    if (fs::exists(status)) fs::permissions(temporary, status.permissions(), ec);
    fs::rename(temporary, path_, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

}  // namespace wmb
