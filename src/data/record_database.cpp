#include "data/record_database.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <new>
#include <optional>
#include <utility>

#include "data/gbk_codec.h"

namespace wmb {

namespace fs = std::filesystem;

namespace {

// File format. The list fields live in `student`, one row per record, in
// rowid order; the photos live apart in `student_photo`, so that reading the
// list never walks a photo's overflow pages. The view `学生` shows the 21
// fields in field order for anyone who looks at the file with sqlite3.
constexpr std::int32_t kApplicationId = 0x574D4231;  // "WMB1"
constexpr std::int32_t kFormatVersion = 1;
constexpr int kBusyTimeoutMs = 1500;

constexpr const char* kListTable = "student";
constexpr const char* kPhotoTable = "student_photo";
constexpr const char8_t* kViewName = u8"学生";

std::string as_chars(std::u8string_view text) { return std::string(text.begin(), text.end()); }

std::string quoted(std::u8string_view name) {
    std::string out = "\"";
    for (char8_t c : name) {
        if (c == u8'"') out += '"';
        out += static_cast<char>(c);
    }
    return out + '"';
}

const char* declared_type(FieldType type) {
    switch (type) {
    case FieldType::integer: return "INTEGER";
    case FieldType::single: return "REAL";
    case FieldType::bytes: return "BLOB";
    case FieldType::text: return "TEXT";
    }
    return "TEXT";
}

// The fields kept in `student`, in field order: all but the photo.
const std::vector<const FieldInfo*>& list_fields() {
    static const std::vector<const FieldInfo*> fields = [] {
        std::vector<const FieldInfo*> out;
        for (const FieldInfo& info : kStudentFields)
            if (info.number != kPhotoField) out.push_back(&info);
        return out;
    }();
    return fields;
}

// Statement parameter of the row id in the list statements, after the fields.
int rowid_parameter() { return static_cast<int>(list_fields().size()) + 1; }

std::string list_columns(const char* prefix = "") {
    std::string out;
    for (const FieldInfo* info : list_fields()) {
        if (!out.empty()) out += ", ";
        out += prefix + quoted(info->layout_name);
    }
    return out;
}

std::string schema_sql() {
    std::string sql = "CREATE TABLE " + std::string(kListTable) + " (rec INTEGER PRIMARY KEY, deleted INTEGER";
    for (const FieldInfo* info : list_fields())
        sql += ", " + quoted(info->layout_name) + " " + declared_type(info->type);
    sql += ");\nCREATE TABLE " + std::string(kPhotoTable) + " (rec INTEGER PRIMARY KEY, bytes BLOB);\n";
    sql += "CREATE VIEW " + quoted(kViewName) + " AS SELECT ";
    bool first = true;
    for (const FieldInfo& info : kStudentFields) {
        if (!first) sql += ", ";
        first = false;
        if (info.number == kPhotoField)
            sql += "ifnull(p.bytes, x'') AS " + quoted(info.layout_name);
        else
            sql += "s." + quoted(info.layout_name);
    }
    sql += " FROM " + std::string(kListTable) + " AS s LEFT JOIN " + kPhotoTable +
           " AS p ON p.rec = s.rec ORDER BY s.rec;\n";
    return sql;
}

std::string select_list_sql() { return "SELECT " + list_columns() + " FROM " + kListTable + " WHERE rec = ?1"; }

std::string update_list_sql() {
    std::string sql = "UPDATE " + std::string(kListTable) + " SET ";
    int parameter = 1;
    for (const FieldInfo* info : list_fields()) {
        if (parameter > 1) sql += ", ";
        sql += quoted(info->layout_name) + " = ?" + std::to_string(parameter++);
    }
    return sql + " WHERE rec = ?" + std::to_string(rowid_parameter());
}

std::string insert_list_sql() {
    std::string sql = "INSERT INTO " + std::string(kListTable) + " (rec, deleted, " + list_columns() +
                      ") VALUES (?" + std::to_string(rowid_parameter()) + ", 0";
    for (int parameter = 1; parameter < rowid_parameter(); ++parameter) sql += ", ?" + std::to_string(parameter);
    return sql + ")";
}

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

int exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }
int exec(sqlite3* db, const std::string& sql) { return exec(db, sql.c_str()); }

int prepare(sqlite3* db, const std::string& sql, Statement& out) {
    sqlite3_stmt* statement = nullptr;
    const int rc = sqlite3_prepare_v3(db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    out.reset(statement);
    return rc;
}

// Runs a statement that returns no rows, unless binding its parameters
// failed, and makes it ready for the next use.
int run(sqlite3_stmt* statement, int bind_rc = SQLITE_OK) {
    const int rc = bind_rc == SQLITE_OK ? sqlite3_step(statement) : bind_rc;
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    return rc == SQLITE_DONE || rc == SQLITE_ROW ? SQLITE_OK : rc;
}

int query_integer(sqlite3* db, const char* sql, std::int64_t& out) {
    Statement statement;
    int rc = prepare(db, sql, statement);
    if (rc != SQLITE_OK) return rc;
    rc = sqlite3_step(statement.get());
    if (rc == SQLITE_ROW) {
        out = sqlite3_column_int64(statement.get(), 0);
        return SQLITE_OK;
    }
    return rc == SQLITE_DONE ? SQLITE_ERROR : rc;
}

// Texts that survive GBK -> UTF-8 -> GBK are stored as TEXT, readable in any
// SQLite tool; any other byte string as a BLOB of its bytes.
int bind_text(sqlite3_stmt* statement, int parameter, const GbkString& text) {
    if (is_canonical_gbk(text.bytes())) {
        const std::u8string utf8 = gbk_to_utf8(text.bytes());
        return sqlite3_bind_text64(statement, parameter, reinterpret_cast<const char*>(utf8.c_str()), utf8.size(),
                                   SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    return sqlite3_bind_blob64(statement, parameter, text.bytes().data(), text.size(), SQLITE_TRANSIENT);
}

// A REAL keeps every float but NaN (stored as NULL) and -0 (stored as 0);
// those two go in as their four bytes.
int bind_single(sqlite3_stmt* statement, int parameter, float value) {
    if (!std::isnan(value) && !(value == 0.0f && std::signbit(value)))
        return sqlite3_bind_double(statement, parameter, static_cast<double>(value));
    std::array<unsigned char, sizeof(float)> bytes;
    std::memcpy(bytes.data(), &value, sizeof value);
    return sqlite3_bind_blob(statement, parameter, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

std::int32_t column_integer(sqlite3_stmt* statement, int column) {
    const std::int64_t value = sqlite3_column_int64(statement, column);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

float column_single(sqlite3_stmt* statement, int column) {
    if (sqlite3_column_type(statement, column) == SQLITE_BLOB && sqlite3_column_bytes(statement, column) == sizeof(float)) {
        float value;
        std::memcpy(&value, sqlite3_column_blob(statement, column), sizeof value);
        return value;
    }
    return static_cast<float>(sqlite3_column_double(statement, column));
}

GbkString column_text(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL: return GbkString();
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, column));
        const int size = sqlite3_column_bytes(statement, column);
        return data ? GbkString(std::string(data, static_cast<std::size_t>(size))) : GbkString();
    }
    default: {
        const auto* data = reinterpret_cast<const char8_t*>(sqlite3_column_text(statement, column));
        const int size = sqlite3_column_bytes(statement, column);
        return data ? GbkString(utf8_to_gbk(std::u8string_view(data, static_cast<std::size_t>(size)))) : GbkString();
    }
    }
}

ByteString column_bytes(sqlite3_stmt* statement, int column) {
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement, column));
    const int size = sqlite3_column_bytes(statement, column);
    return data ? ByteString(data, data + size) : ByteString();
}

// Binds the 20 list fields to parameters 1..20.
int bind_list(sqlite3_stmt* statement, const StudentRecord& values) {
    int parameter = 1;
    for (const FieldInfo* info : list_fields()) {
        int rc = SQLITE_OK;
        switch (info->type) {
        case FieldType::integer:
            rc = sqlite3_bind_int(statement, parameter, std::get<std::int32_t>(get_field(values, info->number)));
            break;
        case FieldType::single: rc = bind_single(statement, parameter, values.weight); break;
        case FieldType::text:
            rc = bind_text(statement, parameter, std::get<GbkString>(get_field(values, info->number)));
            break;
        case FieldType::bytes: break;  // only the photo, kept apart
        }
        if (rc != SQLITE_OK) return rc;
        ++parameter;
    }
    return SQLITE_OK;
}

void read_list(sqlite3_stmt* statement, StudentRecord& record) {
    int column = 0;
    for (const FieldInfo* info : list_fields()) {
        switch (info->type) {
        case FieldType::integer: set_field(record, info->number, column_integer(statement, column)); break;
        case FieldType::single: record.weight = column_single(statement, column); break;
        case FieldType::text: set_field(record, info->number, column_text(statement, column)); break;
        case FieldType::bytes: break;
        }
        ++column;
    }
}

DbResult make_result(DbStatus status, std::u8string message, const fs::path& path) {
    return DbResult{status, std::move(message), path};
}

std::u8string sqlite_message(sqlite3* db, int rc) {
    const char* text = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    return std::u8string(reinterpret_cast<const char8_t*>(text));
}

DbResult sqlite_failure(int rc, sqlite3* db, const fs::path& path) {
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return make_result(DbStatus::in_use, u8"记录文件正被其他程序使用", path);
    case SQLITE_READONLY: return make_result(DbStatus::read_only, u8"记录文件是只读的，无法保存修改", path);
    case SQLITE_NOTADB: return make_result(DbStatus::not_a_register, u8"该文件不是学生记录文件", path);
    case SQLITE_CORRUPT: return make_result(DbStatus::not_a_register, u8"记录文件已损坏", path);
    case SQLITE_FULL: return make_result(DbStatus::io_error, u8"磁盘空间不足，无法保存修改", path);
    case SQLITE_NOMEM: return make_result(DbStatus::io_error, u8"内存不足", path);
    case SQLITE_TOOBIG: return make_result(DbStatus::io_error, u8"数据太大，记录文件存不下", path);
    default: return make_result(DbStatus::io_error, u8"读写记录文件出错（" + sqlite_message(db, rc) + u8"）", path);
    }
}

DbResult not_a_register(const fs::path& path) {
    return make_result(DbStatus::not_a_register, u8"该文件不是学生记录文件", path);
}

std::uint32_t big_endian32(const unsigned char* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | std::uint32_t{p[3]};
}

// Looks at the database header before SQLite does, so that a file of another
// program (another SQLite database in WAL mode included) is never touched.
// The fields checked here are written once, when the register is made.
std::optional<DbResult> check_header(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return make_result(DbStatus::io_error, u8"无法读取记录文件", path);
    std::array<unsigned char, 100> header{};
    in.read(reinterpret_cast<char*>(header.data()), static_cast<std::streamsize>(header.size()));
    if (in.gcount() != static_cast<std::streamsize>(header.size())) return not_a_register(path);
    static constexpr char kMagic[] = "SQLite format 3";  // with its NUL: 16 bytes
    const bool ours = std::memcmp(header.data(), kMagic, sizeof kMagic) == 0 && header[18] == 1 && header[19] == 1 &&
                      big_endian32(&header[60]) == static_cast<std::uint32_t>(kFormatVersion) &&
                      big_endian32(&header[68]) == static_cast<std::uint32_t>(kApplicationId);
    if (!ours) return not_a_register(path);
    return std::nullopt;
}

struct ExpectedColumn {
    std::string name;
    std::string type;
    bool primary_key;
};

// Compares PRAGMA table_info with the expected columns: names, declared
// types and the key, in order, none more.
int check_table(sqlite3* db, const char* table, const std::vector<ExpectedColumn>& expected, bool& matches) {
    Statement statement;
    int rc = prepare(db, std::string("PRAGMA table_info(") + table + ")", statement);
    if (rc != SQLITE_OK) return rc;
    matches = true;
    std::size_t index = 0;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 1));
        const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 2));
        const bool key = sqlite3_column_int(statement.get(), 5) == 1;
        if (index >= expected.size() || !name || !type || expected[index].name != name ||
            expected[index].type != type || expected[index].primary_key != key)
            matches = false;
        ++index;
    }
    if (index != expected.size()) matches = false;
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int check_layout(sqlite3* db, bool& matches) {
    std::int64_t application_id = 0;
    std::int64_t version = 0;
    std::int64_t triggers = 0;
    int rc = query_integer(db, "PRAGMA application_id", application_id);
    if (rc == SQLITE_OK) rc = query_integer(db, "PRAGMA user_version", version);
    if (rc == SQLITE_OK) rc = query_integer(db, "SELECT count(*) FROM sqlite_schema WHERE type = 'trigger'", triggers);
    if (rc != SQLITE_OK) return rc;
    matches = application_id == kApplicationId && version == kFormatVersion && triggers == 0;
    if (!matches) return SQLITE_OK;

    std::vector<ExpectedColumn> list{{"rec", "INTEGER", true}, {"deleted", "INTEGER", false}};
    for (const FieldInfo* info : list_fields()) list.push_back({as_chars(info->layout_name), declared_type(info->type), false});
    rc = check_table(db, kListTable, list, matches);
    if (rc != SQLITE_OK || !matches) return rc;
    return check_table(db, kPhotoTable, {{"rec", "INTEGER", true}, {"bytes", "BLOB", false}}, matches);
}

// A copy cut short keeps a valid header and schema; its size gives it away.
int check_size(sqlite3* db, const fs::path& path, bool& matches) {
    std::int64_t pages = 0;
    std::int64_t page_size = 0;
    int rc = query_integer(db, "PRAGMA page_count", pages);
    if (rc == SQLITE_OK) rc = query_integer(db, "PRAGMA page_size", page_size);
    if (rc != SQLITE_OK) return rc;
    std::error_code error;
    const auto size = fs::file_size(path, error);
    matches = !error && static_cast<std::uintmax_t>(pages) * static_cast<std::uintmax_t>(page_size) == size;
    return SQLITE_OK;
}

std::string sqlite_path(const fs::path& path) { return as_chars(path.u8string()); }

}  // namespace

// One open record file: its connection, which holds the file's transaction
// from open to close, the row ids in file order and the cursor.
class RecordDatabase::File {
public:
    File(fs::path given, fs::path absolute) : path(std::move(given)), absolute(std::move(absolute)) {}
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() {
        for (Statement* statement : {&select_list, &select_photo, &update_list, &insert_list, &upsert_photo,
                                     &delete_photo, &mark, &select_rows})
            statement->reset();
        if (db) {
            if (!sqlite3_get_autocommit(db)) exec(db, "ROLLBACK");
            sqlite3_close_v2(db);
        }
    }

    DbResult open();
    int count() const { return static_cast<int>(rows.size()); }
    bool past_end() const { return cursor > count(); }
    void move_to(int position);
    void forget_record();
    bool load_list(DbResult& error);
    bool load_photo(DbResult& error);
    int write_photo(sqlite3_int64 rowid, const ByteString& photo);
    int load_rows(std::vector<sqlite3_int64>& out);
    template <typename Body>
    DbResult transact(Body&& body);

    fs::path path;
    fs::path absolute;
    sqlite3* db = nullptr;
    bool read_only = false;
    std::optional<DbResult> lost;  // why the transaction was given up, if it was
    bool changed = false;          // a write succeeded since the open

    std::vector<sqlite3_int64> rows;
    int cursor = 1;
    StudentRecord cached;  // the current record, once read
    bool list_cached = false;
    bool photo_cached = false;

    Statement select_list, select_photo, update_list, insert_list, upsert_photo, delete_photo, mark, select_rows;

private:
    DbResult fail(int rc) { return sqlite_failure(rc, db, path); }
    void restart();
};

DbResult RecordDatabase::File::open() {
    const std::string name = sqlite_path(absolute);
    int rc = sqlite3_open_v2(name.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        if ((rc & 0xff) == SQLITE_CANTOPEN) return make_result(DbStatus::io_error, u8"无法打开记录文件", path);
        return fail(rc);
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, static_cast<int*>(nullptr));
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, static_cast<int*>(nullptr));
    // EXTRA: FULL plus a sync of the folder after the journal is deleted, so a
    // commit survives a power cut right after close. The cache holds every
    // list page a renumbering dirties (32 MB, some 80,000 students): once it
    // spills, each photo read would sync the journal.
    rc = exec(db, "PRAGMA journal_mode = DELETE; PRAGMA synchronous = EXTRA; PRAGMA cache_size = -32768");
    if (rc != SQLITE_OK) return fail(rc);

    read_only = sqlite3_db_readonly(db, "main") == 1;
    rc = exec(db, read_only ? "BEGIN" : "BEGIN EXCLUSIVE");
    if (rc != SQLITE_OK) return fail(rc);

    bool matches = false;
    rc = check_layout(db, matches);
    if (rc != SQLITE_OK) return fail(rc);
    if (!matches) return not_a_register(path);
    rc = check_size(db, absolute, matches);
    if (rc != SQLITE_OK) return fail(rc);
    if (!matches) return make_result(DbStatus::not_a_register, u8"记录文件不完整，可能已被截断", path);
    if (!read_only) {
        // SQLite has rolled back a hot journal by now. One still there was
        // left by a process killed before its header was written, which
        // SQLite does before it touches the database: it means nothing. Under
        // our exclusive lock no one else is writing one.
        std::error_code error;
        fs::remove(fs::path(absolute.native() + fs::path("-journal").native()), error);
    }

    const std::string photo_table = kPhotoTable;
    const std::string list_table = kListTable;
    for (const auto& [statement, sql] : std::initializer_list<std::pair<Statement*, std::string>>{
             {&select_list, select_list_sql()},
             {&update_list, update_list_sql()},
             {&insert_list, insert_list_sql()},
             {&select_photo, "SELECT bytes FROM " + photo_table + " WHERE rec = ?1"},
             {&upsert_photo, "INSERT INTO " + photo_table +
                                 " (rec, bytes) VALUES (?1, ?2) ON CONFLICT (rec) DO UPDATE SET bytes = excluded.bytes"
                                 " WHERE bytes IS NOT excluded.bytes"},
             {&delete_photo, "DELETE FROM " + photo_table + " WHERE rec = ?1"},
             {&mark, "UPDATE " + list_table + " SET deleted = 1 WHERE rec = ?1"},
             {&select_rows, "SELECT rec FROM " + list_table + " ORDER BY rec"},
         }) {
        rc = prepare(db, sql, *statement);
        if (rc != SQLITE_OK) return fail(rc);
    }
    rc = load_rows(rows);
    if (rc != SQLITE_OK) return fail(rc);
    return {};
}

int RecordDatabase::File::load_rows(std::vector<sqlite3_int64>& out) {
    out.clear();
    sqlite3_stmt* statement = select_rows.get();
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        if (out.size() >= static_cast<std::size_t>(INT_MAX - 1)) {
            rc = SQLITE_TOOBIG;
            break;
        }
        out.push_back(sqlite3_column_int64(statement, 0));
    }
    sqlite3_reset(statement);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

void RecordDatabase::File::move_to(int position) {
    if (position == cursor) return;
    cursor = position;
    forget_record();
}

void RecordDatabase::File::forget_record() {
    list_cached = false;
    photo_cached = false;
    cached = StudentRecord();  // lets a large photo go at once
}

bool RecordDatabase::File::load_list(DbResult& error) {
    if (list_cached) return true;
    sqlite3_stmt* statement = select_list.get();
    sqlite3_bind_int64(statement, 1, rows[static_cast<std::size_t>(cursor - 1)]);
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) {
        read_list(statement, cached);
    } else if (rc == SQLITE_DONE) {  // gone behind our back: an empty record
        ByteString photo = std::move(cached.photo);
        cached = StudentRecord();
        cached.photo = std::move(photo);
    }
    sqlite3_reset(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        error = fail(rc);
        return false;
    }
    list_cached = true;
    return true;
}

bool RecordDatabase::File::load_photo(DbResult& error) {
    if (photo_cached) return true;
    sqlite3_stmt* statement = select_photo.get();
    sqlite3_bind_int64(statement, 1, rows[static_cast<std::size_t>(cursor - 1)]);
    const int rc = sqlite3_step(statement);
    cached.photo = rc == SQLITE_ROW ? column_bytes(statement, 0) : ByteString();
    sqlite3_reset(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        error = fail(rc);
        return false;
    }
    photo_cached = true;
    return true;
}

// An empty photo has no row; an unchanged one is not rewritten.
int RecordDatabase::File::write_photo(sqlite3_int64 rowid, const ByteString& photo) {
    if (photo.empty()) {
        sqlite3_bind_int64(delete_photo.get(), 1, rowid);
        return run(delete_photo.get());
    }
    sqlite3_stmt* statement = upsert_photo.get();
    sqlite3_bind_int64(statement, 1, rowid);
    return run(statement, sqlite3_bind_blob64(statement, 2, photo.data(), photo.size(), SQLITE_STATIC));
}

// Runs one write operation as a savepoint of the file's transaction: all of
// it or nothing. When SQLite gives up the whole transaction (it may on a
// full disk or an I/O error), the file is back as it was before the open; the
// file is then locked again but takes no more writes, and close reports it.
template <typename Body>
DbResult RecordDatabase::File::transact(Body&& body) {
    if (lost) return *lost;
    if (read_only) return make_result(DbStatus::read_only, u8"记录文件是只读的，无法保存修改", path);
    int rc = exec(db, "SAVEPOINT operation");
    if (rc == SQLITE_OK) {
        try {
            rc = body();
        } catch (const std::bad_alloc&) {
            rc = SQLITE_NOMEM;
        }
    }
    if (rc == SQLITE_OK) rc = exec(db, "RELEASE operation");
    if (rc == SQLITE_OK) {
        changed = true;
        return {};
    }
    DbResult failure = fail(rc);
    if (sqlite3_get_autocommit(db)) {
        failure.message += u8"，本次打开后的修改均未保存";
        lost = failure;
        restart();
    } else {
        exec(db, "ROLLBACK TO operation");
        exec(db, "RELEASE operation");
    }
    return failure;
}

void RecordDatabase::File::restart() {
    exec(db, "BEGIN EXCLUSIVE");
    std::vector<sqlite3_int64> reloaded;
    if (load_rows(reloaded) == SQLITE_OK) rows = std::move(reloaded);
    forget_record();
    cursor = std::clamp(cursor, 1, count() + 1);
}

RecordDatabase::RecordDatabase() = default;
RecordDatabase::~RecordDatabase() = default;

DbResult RecordDatabase::failure(DbResult result) {
    last_error_ = result;
    return result;
}

DbResult RecordDatabase::no_current_file() {
    return failure(make_result(DbStatus::no_current_file, u8"没有打开的记录文件", {}));
}

DbResult RecordDatabase::open(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = path.empty() ? path : fs::absolute(path, error);
    const fs::file_status status = absolute.empty() ? fs::file_status() : fs::status(absolute, error);
    if (!fs::exists(status)) return failure(make_result(DbStatus::missing_file, u8"记录文件不存在", path));
    if (!fs::is_regular_file(status)) return failure(not_a_register(path));
    for (const auto& file : files_) {
        if (fs::equivalent(absolute, file->absolute, error) && !error)
            return failure(make_result(DbStatus::already_open, u8"记录文件已经打开", path));
    }
    if (auto bad = check_header(absolute)) return failure(*bad);

    auto file = std::make_unique<File>(path, absolute);
    DbResult result = file->open();
    if (!result) return failure(result);
    current_ = file.get();
    files_.push_back(std::move(file));
    last_error_ = {};
    return {};
}

DbResult RecordDatabase::close() {
    if (!current_) return no_current_file();
    File& file = *current_;
    DbResult result;
    if (file.lost) {
        result = *file.lost;
    } else if (!file.changed) {
        exec(file.db, "ROLLBACK");  // nothing to keep; also ends a transaction that met a damaged page
    } else if (const int rc = exec(file.db, "COMMIT"); rc != SQLITE_OK) {
        result = sqlite_failure(rc, file.db, file.path);
        result.message = u8"保存修改失败：" + result.message;
    }
    std::erase_if(files_, [&](const auto& f) { return f.get() == &file; });
    current_ = nullptr;
    return result ? result : failure(result);
}

int RecordDatabase::record_count() const { return current_ ? current_->count() : 0; }

void RecordDatabase::go_to(int n) {
    if (current_) current_->move_to(std::clamp(n, 1, std::max(current_->count(), 1)));
}

void RecordDatabase::go_to_first() { go_to(1); }

void RecordDatabase::skip() {
    if (current_ && !current_->past_end()) current_->move_to(current_->cursor + 1);
}

int RecordDatabase::position() const { return current_ ? current_->cursor : 0; }

bool RecordDatabase::past_end() const { return !current_ || current_->past_end(); }

FieldValue RecordDatabase::read_field(int number) {
    if (number < 1 || number > kFieldCount) return GbkString();
    const FieldInfo& info = field_info(number);
    if (!current_ || current_->past_end()) return empty_value(info.type);
    DbResult error;
    if (number == kPhotoField) {
        if (current_->load_photo(error)) return current_->cached.photo;
    } else if (current_->load_list(error)) {
        return get_field(current_->cached, number);
    }
    failure(error);
    return empty_value(info.type);
}

FieldValue RecordDatabase::read_field(std::u8string_view layout_name) {
    const std::optional<int> number = field_by_layout_name(layout_name);
    return number ? read_field(*number) : FieldValue(GbkString());
}

GbkString RecordDatabase::read_text(int number) {
    FieldValue value = read_field(number);
    auto* text = std::get_if<GbkString>(&value);
    return text ? std::move(*text) : GbkString();
}

std::int32_t RecordDatabase::read_integer(int number) {
    const FieldValue value = read_field(number);
    const auto* integer = std::get_if<std::int32_t>(&value);
    return integer ? *integer : 0;
}

float RecordDatabase::read_single(int number) {
    const FieldValue value = read_field(number);
    const auto* single = std::get_if<float>(&value);
    return single ? *single : 0.0f;
}

ByteString RecordDatabase::read_bytes(int number) {
    FieldValue value = read_field(number);
    auto* bytes = std::get_if<ByteString>(&value);
    return bytes ? std::move(*bytes) : ByteString();
}

DbResult RecordDatabase::modify(const StudentRecord& values) {
    if (!current_) return no_current_file();
    File& file = *current_;
    if (file.past_end()) return {};
    const sqlite3_int64 rowid = file.rows[static_cast<std::size_t>(file.cursor - 1)];
    // The callers read a record and write it back with one field changed; a
    // photo just read needs no rewrite.
    const bool same_photo = file.photo_cached && file.cached.photo == values.photo;
    DbResult result = file.transact([&] {
        sqlite3_stmt* statement = file.update_list.get();
        int rc = bind_list(statement, values);
        if (rc == SQLITE_OK) rc = sqlite3_bind_int64(statement, rowid_parameter(), rowid);
        rc = run(statement, rc);
        if (rc == SQLITE_OK && !same_photo) rc = file.write_photo(rowid, values.photo);
        return rc;
    });
    if (!result) return failure(result);
    if (!same_photo) file.cached = values;
    else {
        ByteString photo = std::move(file.cached.photo);
        file.cached = values;
        file.cached.photo = std::move(photo);
    }
    file.list_cached = true;
    file.photo_cached = true;
    return {};
}

DbResult RecordDatabase::append(const StudentRecord& values) {
    if (!current_) return no_current_file();
    File& file = *current_;
    const sqlite3_int64 last = file.rows.empty() ? 0 : file.rows.back();
    if (last == std::numeric_limits<sqlite3_int64>::max() || file.rows.size() >= static_cast<std::size_t>(INT_MAX - 1))
        return failure(make_result(DbStatus::io_error, u8"记录文件已满", file.path));
    const sqlite3_int64 rowid = last + 1;
    DbResult result = file.transact([&] {
        sqlite3_stmt* statement = file.insert_list.get();
        int rc = bind_list(statement, values);
        if (rc == SQLITE_OK) rc = sqlite3_bind_int64(statement, rowid_parameter(), rowid);
        rc = run(statement, rc);
        if (rc == SQLITE_OK) rc = file.write_photo(rowid, values.photo);
        return rc;
    });
    if (!result) return failure(result);
    file.rows.push_back(rowid);
    file.move_to(file.count());
    file.cached = values;
    file.list_cached = true;
    file.photo_cached = true;
    return {};
}

bool RecordDatabase::find(const std::function<bool(RecordDatabase&)>& condition) {
    if (!current_) return false;
    File* const file = current_;
    const int start = file->cursor;
    for (int position = start; position <= file->count(); ++position) {
        file->move_to(position);
        if (condition(*this)) return true;
        if (current_ != file) return false;  // the condition closed the file
    }
    file->move_to(start);
    return false;
}

DbResult RecordDatabase::mark_deleted() {
    if (!current_) return no_current_file();
    File& file = *current_;
    if (file.past_end()) return {};
    const sqlite3_int64 rowid = file.rows[static_cast<std::size_t>(file.cursor - 1)];
    DbResult result = file.transact([&] {
        sqlite3_bind_int64(file.mark.get(), 1, rowid);
        return run(file.mark.get());
    });
    return result ? result : failure(result);
}

DbResult RecordDatabase::purge() {
    if (!current_) return no_current_file();
    File& file = *current_;
    std::vector<sqlite3_int64> remaining;
    const std::string list_table = kListTable;
    const std::string photo_table = kPhotoTable;
    DbResult result = file.transact([&] {
        int rc = exec(file.db, "DELETE FROM " + photo_table + " WHERE rec IN (SELECT rec FROM " + list_table +
                                   " WHERE deleted <> 0); DELETE FROM " + list_table + " WHERE deleted <> 0");
        if (rc == SQLITE_OK) rc = file.load_rows(remaining);
        return rc;
    });
    if (!result) return failure(result);
    file.rows = std::move(remaining);
    file.cursor = 1;
    file.forget_record();
    return {};
}

DbResult RecordDatabase::clear() {
    if (!current_) return no_current_file();
    File& file = *current_;
    const std::string sql = "DELETE FROM " + std::string(kPhotoTable) + "; DELETE FROM " + kListTable;
    DbResult result = file.transact([&] { return exec(file.db, sql); });
    if (!result) return failure(result);
    file.rows.clear();
    file.cursor = 1;
    file.forget_record();
    return {};
}

DbResult RecordDatabase::create_register(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error || path.empty()) return make_result(DbStatus::io_error, u8"无效的文件路径", path);
    if (fs::exists(absolute, error) || error) return make_result(DbStatus::io_error, u8"文件已存在", path);

    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(sqlite_path(absolute).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    // Larger pages than SQLite's 4 KB: a photo of 200 KB is read in 13 calls
    // instead of 50, which counts where each file access is slow (Wine).
    if (rc == SQLITE_OK)
        rc = exec(db, "PRAGMA page_size = 16384; PRAGMA journal_mode = DELETE; PRAGMA synchronous = EXTRA; "
                      "BEGIN EXCLUSIVE");
    // Someone else may have made the file meanwhile.
    const bool raced = rc == SQLITE_OK && fs::file_size(absolute, error) != 0;
    if (rc == SQLITE_OK && !raced) {
        rc = exec(db, "PRAGMA application_id = " + std::to_string(kApplicationId) +
                          "; PRAGMA user_version = " + std::to_string(kFormatVersion) + ";\n" + schema_sql() + "COMMIT");
    }
    DbResult result = raced ? make_result(DbStatus::io_error, u8"文件已存在", path)
                            : rc != SQLITE_OK ? sqlite_failure(rc, db, path) : DbResult{};
    sqlite3_close_v2(db);
    if (!result && !raced) fs::remove(absolute, error);
    return result;
}

}  // namespace wmb
