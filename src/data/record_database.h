#pragma once
// The record files xsdate.edb and deldate.edb: fixed-layout student records
// over SQLite. Several files may be open; one is current, with a cursor on one
// of its records. Everything between open and close of a file is one
// transaction, so a crash leaves the file as it was before the open or as it
// is after the close.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/gbk_string.h"
#include "data/student_record.h"

namespace wmb {

enum class DbStatus { ok, missing_file, not_a_register, already_open, in_use, read_only, io_error, no_current_file };

struct DbResult {
    DbStatus status = DbStatus::ok;
    std::u8string message;  // UTF-8, a Chinese reason for the user; empty when ok
    std::filesystem::path path;
    explicit operator bool() const { return status == DbStatus::ok; }
};

class RecordDatabase {
public:
    RecordDatabase();
    ~RecordDatabase();  // rolls back every file that was not closed
    RecordDatabase(const RecordDatabase&) = delete;
    RecordDatabase& operator=(const RecordDatabase&) = delete;

    // Opens an existing register and makes it current, cursor on record 1.
    // Never creates a file. On failure nothing changes: the file that was
    // current stays current. A read-only file opens for reading; writes to it
    // then fail with read_only.
    DbResult open(const std::filesystem::path& path);
    // Commits the current file's changes and closes it; then no file is
    // current. A failed commit is reported and leaves the file as it was
    // before its open.
    DbResult close();

    int record_count() const;  // marked records included; 0 with no current file

    // Positions run 1..count; count + 1 is past the end. With no current file
    // the cursor operations do nothing and position() is 0.
    void go_to(int n);  // clamps to 1..count
    void go_to_first();
    void skip();  // from the last record on to past the end, no further
    int position() const;
    bool past_end() const;

    // Typed as the field is; past the end, in an empty file, with no current
    // file, for an unknown field or on a read error: empty text, 0, empty
    // bytes (read errors also go to last_error).
    FieldValue read_field(int number);
    FieldValue read_field(std::u8string_view layout_name);
    // These give the empty value too when the field is of another type.
    GbkString read_text(int number);
    std::int32_t read_integer(int number);
    float read_single(int number);
    ByteString read_bytes(int number);

    // Past the end, modify and mark_deleted have nothing to change and succeed.
    DbResult modify(const StudentRecord& values);  // every field of the current record
    DbResult append(const StudentRecord& values);  // after the last record; cursor on it
    // From the cursor on, each record in turn. True: the cursor stays on the
    // first match. False: the cursor goes back where it was.
    bool find(const std::function<bool(RecordDatabase&)>& condition);
    DbResult mark_deleted();  // the mark is stored; the record stays until purge
    DbResult purge();         // marked records go, the rest close up; cursor on record 1
    DbResult clear();         // every record goes

    // The last failure of any operation, reads included; ok when none failed
    // since the last successful open.
    const DbResult& last_error() const { return last_error_; }

    // An empty register; fails if the file exists. For tools and tests: the
    // program itself never creates record files.
    static DbResult create_register(const std::filesystem::path& path);

private:
    class File;

    DbResult failure(DbResult result);
    DbResult no_current_file();

    std::vector<std::unique_ptr<File>> files_;
    File* current_ = nullptr;
    DbResult last_error_;
};

}  // namespace wmb
