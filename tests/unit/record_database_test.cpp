#include "data/record_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "data/gbk_codec.h"

namespace wmb {
namespace {

namespace fs = std::filesystem;

GbkString g(std::u8string_view text) { return to_gbk(text); }
GbkString ascii(const std::string& text) { return GbkString::ascii(text); }

StudentRecord student(int k, std::size_t photo_size = 0) {
    const std::string n = std::to_string(k);
    StudentRecord r;
    r.serial_no = k;
    r.name = g(u8"学生") + ascii(n);
    r.gender = g(k % 2 ? u8"男" : u8"女");
    r.height = 150 + k;
    r.weight = 40.5f + static_cast<float>(k);
    r.age = 12 + k % 3;
    r.aux_student_no = ascii("QQ" + n);
    r.national_student_no = ascii("G33010" + n);
    r.photo.resize(photo_size);
    for (std::size_t i = 0; i < photo_size; ++i) r.photo[i] = static_cast<std::uint8_t>(i * 7 + static_cast<std::size_t>(k));
    r.boarding = g(u8"是");
    r.dorm_no = ascii("3-" + n);
    r.bed_no = ascii(n);
    r.id_card_no = ascii("33010520050101" + std::to_string(1000 + k));
    r.home_address = g(u8"浙江省杭州市西湖区文三路") + ascii(n) + g(u8"号");
    r.guardian1_relation = g(u8"父亲");
    r.guardian1_name = g(u8"家长") + ascii(n);
    r.guardian1_phone = ascii("1380000" + std::to_string(1000 + k));
    r.guardian2_relation = g(u8"母亲");
    r.guardian2_name = g(u8"妈妈") + ascii(n);
    r.guardian2_phone = ascii("1390000" + std::to_string(1000 + k));
    r.remarks = g(u8"备注 ") + ascii(n);
    return r;
}

// All 21 fields of the current record, each read as its own type.
StudentRecord read_record(RecordDatabase& db) {
    StudentRecord r;
    for (int n = 1; n <= kFieldCount; ++n) {
        const FieldValue value = db.read_field(n);
        if (const auto* single = std::get_if<float>(&value))
            r.weight = *single;  // bit for bit, NaN included
        else
            set_field(r, n, value);
    }
    return r;
}

std::vector<StudentRecord> read_all(RecordDatabase& db) {
    std::vector<StudentRecord> out;
    for (db.go_to_first(); !db.past_end(); db.skip()) out.push_back(read_record(db));
    return out;
}

std::string file_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_bytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

fs::path journal_of(const fs::path& path) { return fs::path(path.native() + fs::path("-journal").native()); }

// A fresh folder with Chinese characters in its name, removed afterwards.
class RecordDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        dir_ = fs::temp_directory_path() / fs::path(u8"蔚苗簿 记录-");
        dir_ += std::to_string(random()) + std::to_string(random());
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code error;
        fs::remove_all(dir_, error);
    }

    fs::path path(std::u8string_view name) const { return dir_ / fs::path(name); }

    // A register holding the given records.
    fs::path make_register(std::u8string_view name, const std::vector<StudentRecord>& records) {
        const fs::path file = path(name);
        EXPECT_TRUE(RecordDatabase::create_register(file));
        RecordDatabase db;
        EXPECT_TRUE(db.open(file));
        for (const StudentRecord& r : records) EXPECT_TRUE(db.append(r));
        EXPECT_TRUE(db.close());
        return file;
    }

    fs::path make_register(std::u8string_view name, int count, std::size_t photo_size = 0) {
        std::vector<StudentRecord> records;
        for (int k = 1; k <= count; ++k) records.push_back(student(k, photo_size));
        return make_register(name, records);
    }

    std::vector<StudentRecord> contents(const fs::path& file) {
        RecordDatabase db;
        EXPECT_TRUE(db.open(file));
        std::vector<StudentRecord> out = read_all(db);
        EXPECT_TRUE(db.close());
        return out;
    }

    fs::path dir_;
};

// Cursor, read and write rules, step by step on one open register of three.
TEST_F(RecordDatabaseTest, OperationsFollowTheCursorRules) {
    const fs::path file = make_register(u8"班级.edb", 3);
    RecordDatabase db;
    ASSERT_TRUE(db.open(file));

    using Act = std::function<bool(RecordDatabase&)>;
    const auto serial_is = [](int n) { return [n](RecordDatabase& d) { return d.read_integer(1) == n; }; };
    struct Step {
        const char* what;
        Act act;
        bool result;
        int position;
        bool past_end;
        int count;
        int serial;  // field 1 at the cursor, 0 past the end
    };
    const Step steps[] = {
        {"after open", [](RecordDatabase&) { return true; }, true, 1, false, 3, 1},
        {"go_to 2", [](RecordDatabase& d) { d.go_to(2); return true; }, true, 2, false, 3, 2},
        {"go_to above the count", [](RecordDatabase& d) { d.go_to(99); return true; }, true, 3, false, 3, 3},
        {"go_to 0", [](RecordDatabase& d) { d.go_to(0); return true; }, true, 1, false, 3, 1},
        {"go_to negative", [](RecordDatabase& d) { d.go_to(-7); return true; }, true, 1, false, 3, 1},
        {"skip", [](RecordDatabase& d) { d.skip(); return true; }, true, 2, false, 3, 2},
        {"skip to the last", [](RecordDatabase& d) { d.skip(); return true; }, true, 3, false, 3, 3},
        {"skip past the end", [](RecordDatabase& d) { d.skip(); return true; }, true, 4, true, 3, 0},
        {"skip stays past the end", [](RecordDatabase& d) { d.skip(); return true; }, true, 4, true, 3, 0},
        {"find past the end", [](RecordDatabase& d) { return d.find([](RecordDatabase&) { return true; }); }, false, 4,
         true, 3, 0},
        {"go_to_first", [](RecordDatabase& d) { d.go_to_first(); return true; }, true, 1, false, 3, 1},
        {"find a later record", [&](RecordDatabase& d) { return d.find(serial_is(3)); }, true, 3, false, 3, 3},
        {"find does not wrap around", [&](RecordDatabase& d) { return d.find(serial_is(1)); }, false, 3, false, 3, 3},
        {"find matches the cursor record", [&](RecordDatabase& d) { d.go_to(2); return d.find(serial_is(2)); }, true,
         2, false, 3, 2},
        {"failed find returns", [&](RecordDatabase& d) { return d.find(serial_is(42)); }, false, 2, false, 3, 2},
        {"modify", [](RecordDatabase& d) { return static_cast<bool>(d.modify(student(20))); }, true, 2, false, 3, 20},
        {"append", [](RecordDatabase& d) { return static_cast<bool>(d.append(student(4))); }, true, 4, false, 4, 4},
        {"modify past the end changes nothing",
         [](RecordDatabase& d) { d.skip(); return static_cast<bool>(d.modify(student(77))); }, true, 5, true, 4, 0},
        {"mark past the end changes nothing", [](RecordDatabase& d) { return static_cast<bool>(d.mark_deleted()); },
         true, 5, true, 4, 0},
        {"find sees the appended record", [&](RecordDatabase& d) { d.go_to_first(); return d.find(serial_is(4)); },
         true, 4, false, 4, 4},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        EXPECT_EQ(step.act(db), step.result);
        EXPECT_EQ(db.position(), step.position);
        EXPECT_EQ(db.past_end(), step.past_end);
        EXPECT_EQ(db.record_count(), step.count);
        EXPECT_EQ(db.read_integer(1), step.serial);
        if (step.past_end) {
            EXPECT_EQ(db.read_field(2), FieldValue(GbkString()));
            EXPECT_EQ(db.read_field(5), FieldValue(0.0f));
            EXPECT_EQ(db.read_field(9), FieldValue(ByteString()));
        }
    }
    ASSERT_TRUE(db.close());
    EXPECT_FALSE(fs::exists(journal_of(file)));

    const std::vector<StudentRecord> expected{student(1), student(20), student(3), student(4)};
    EXPECT_EQ(contents(file), expected);
}

TEST_F(RecordDatabaseTest, ReadsEveryFieldTypedAndByLayoutName) {
    const StudentRecord r = student(5, 1000);
    const fs::path file = make_register(u8"a.edb", std::vector<StudentRecord>{r});
    RecordDatabase db;
    ASSERT_TRUE(db.open(file));
    for (int n = 1; n <= kFieldCount; ++n) {
        SCOPED_TRACE(n);
        const FieldValue value = db.read_field(n);
        EXPECT_EQ(value, get_field(r, n));
        EXPECT_EQ(value.index(), empty_value(field_info(n).type).index());
        EXPECT_EQ(db.read_field(field_info(n).layout_name), value);
    }
    EXPECT_EQ(db.read_field(u8"姓名"), FieldValue(r.name));
    EXPECT_EQ(db.read_text(2), r.name);
    EXPECT_EQ(db.read_integer(4), r.height);
    EXPECT_EQ(db.read_single(5), r.weight);
    EXPECT_EQ(db.read_bytes(9), r.photo);
    // Wrong type, unknown field: the empty value.
    EXPECT_EQ(db.read_text(1), GbkString());
    EXPECT_EQ(db.read_integer(2), 0);
    EXPECT_EQ(db.read_field(u8"没有这个字段"), FieldValue(GbkString()));
    EXPECT_EQ(db.read_field(0), FieldValue(GbkString()));
    EXPECT_EQ(db.read_field(22), FieldValue(GbkString()));
    EXPECT_TRUE(db.last_error());
    EXPECT_TRUE(db.close());
}

TEST_F(RecordDatabaseTest, EmptyRegisterReadsAsPastTheEnd) {
    const fs::path file = make_register(u8"空.edb", 0);
    RecordDatabase db;
    ASSERT_TRUE(db.open(file));
    EXPECT_EQ(db.record_count(), 0);
    EXPECT_EQ(db.position(), 1);
    EXPECT_TRUE(db.past_end());
    db.go_to(5);
    EXPECT_EQ(db.position(), 1);
    EXPECT_EQ(db.read_field(1), FieldValue(std::int32_t{0}));
    EXPECT_EQ(db.read_field(2), FieldValue(GbkString()));
    EXPECT_EQ(db.read_field(9), FieldValue(ByteString()));
    EXPECT_FALSE(db.find([](RecordDatabase&) { return true; }));
    EXPECT_TRUE(db.purge());
    ASSERT_TRUE(db.append(student(1)));
    EXPECT_EQ(db.position(), 1);
    EXPECT_EQ(db.read_integer(1), 1);
    EXPECT_TRUE(db.close());
    EXPECT_EQ(contents(file), std::vector<StudentRecord>{student(1)});
}

TEST_F(RecordDatabaseTest, NothingHappensWithoutACurrentFile) {
    const fs::path file = make_register(u8"a.edb", 2);
    RecordDatabase db;
    const auto check_inert = [&](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(db.record_count(), 0);
        EXPECT_EQ(db.position(), 0);
        EXPECT_TRUE(db.past_end());
        db.go_to(2);
        db.skip();
        db.go_to_first();
        EXPECT_EQ(db.position(), 0);
        bool asked = false;
        EXPECT_FALSE(db.find([&](RecordDatabase&) { return asked = true; }));
        EXPECT_FALSE(asked);
        EXPECT_EQ(db.read_field(1), FieldValue(std::int32_t{0}));
        EXPECT_EQ(db.read_field(2), FieldValue(GbkString()));
        EXPECT_EQ(db.read_field(9), FieldValue(ByteString()));
        for (const auto& write : std::initializer_list<std::function<DbResult()>>{
                 [&] { return db.modify(student(9)); }, [&] { return db.append(student(9)); },
                 [&] { return db.mark_deleted(); }, [&] { return db.purge(); }, [&] { return db.clear(); },
                 [&] { return db.close(); }}) {
            const DbResult result = write();
            EXPECT_EQ(result.status, DbStatus::no_current_file);
            EXPECT_FALSE(result.message.empty());
            EXPECT_EQ(db.last_error().status, DbStatus::no_current_file);
        }
    };
    check_inert("never opened");
    ASSERT_TRUE(db.open(file));
    ASSERT_TRUE(db.close());
    check_inert("after close");
    EXPECT_EQ(contents(file).size(), 2u);
}

TEST_F(RecordDatabaseTest, SeveralFilesOpenOneCurrent) {
    const fs::path a = make_register(u8"xsdate.edb", 3);
    const fs::path b = make_register(u8"deldate.edb", 1);
    {
        RecordDatabase db;
        ASSERT_TRUE(db.open(a));
        ASSERT_TRUE(db.append(student(4)));
        ASSERT_TRUE(db.open(b));
        EXPECT_EQ(db.record_count(), 1);  // b is current now
        EXPECT_EQ(db.open(a).status, DbStatus::already_open);
        EXPECT_EQ(db.record_count(), 1);  // still b
        ASSERT_TRUE(db.append(student(2)));
        ASSERT_TRUE(db.close());
        EXPECT_EQ(db.record_count(), 0);  // none current; a stays open
        EXPECT_EQ(db.open(a).status, DbStatus::already_open);
        EXPECT_EQ(db.append(student(5)).status, DbStatus::no_current_file);
    }  // a was never closed: its append is rolled back
    EXPECT_EQ(contents(a).size(), 3u);
    EXPECT_EQ(contents(b), (std::vector<StudentRecord>{student(1), student(2)}));
    EXPECT_FALSE(fs::exists(journal_of(a)));
}

TEST_F(RecordDatabaseTest, OpenRefusesWhatIsNotAnOpenableRegister) {
    const fs::path good = make_register(u8"good.edb", 2);
    const fs::path real = make_register(u8"real.edb", 4, 50'000);
    const fs::path open_one = make_register(u8"open.edb", 1);

    // SQLite databases made without us: `sql` runs on a new file.
    const auto raw_database = [&](std::u8string_view name, const std::string& sql) {
        const fs::path file = path(name);
        sqlite3* db = nullptr;
        const std::u8string utf8 = file.u8string();
        EXPECT_EQ(sqlite3_open(reinterpret_cast<const char*>(utf8.c_str()), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
        return file;
    };
    // Our header and tables, with one thing changed.
    const auto ours_but = [&](std::u8string_view name, const std::string& change) {
        const fs::path file = path(name);
        fs::copy_file(good, file);
        sqlite3* db = nullptr;
        const std::u8string utf8 = file.u8string();
        EXPECT_EQ(sqlite3_open(reinterpret_cast<const char*>(utf8.c_str()), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, change.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
        return file;
    };

    struct Case {
        const char* what;
        std::function<fs::path()> make;
        DbStatus status;
    };
    const Case cases[] = {
        {"missing", [&] { return path(u8"没有.edb"); }, DbStatus::missing_file},
        {"folder", [&] { fs::create_directory(path(u8"folder.edb")); return path(u8"folder.edb"); },
         DbStatus::not_a_register},
        {"empty file", [&] { write_bytes(path(u8"empty.edb"), ""); return path(u8"empty.edb"); },
         DbStatus::not_a_register},
        {"garbage",
         [&] {
             std::mt19937 random(7);
             std::string bytes(8192, '\0');
             for (char& c : bytes) c = static_cast<char>(random());
             write_bytes(path(u8"garbage.edb"), bytes);
             return path(u8"garbage.edb");
         },
         DbStatus::not_a_register},
        {"truncated copy",
         [&] {
             const std::string bytes = file_bytes(real);
             write_bytes(path(u8"cut.edb"), std::string_view(bytes).substr(0, bytes.size() / 2));
             return path(u8"cut.edb");
         },
         DbStatus::not_a_register},
        {"cut inside a page",
         [&] {
             const std::string bytes = file_bytes(real);
             write_bytes(path(u8"cut2.edb"), std::string_view(bytes).substr(0, bytes.size() - 100));
             return path(u8"cut2.edb");
         },
         DbStatus::not_a_register},
        {"another SQLite database", [&] { return raw_database(u8"other.db", "CREATE TABLE t(a, b)"); },
         DbStatus::not_a_register},
        {"another database in WAL mode",
         [&] { return raw_database(u8"wal.db", "PRAGMA journal_mode=WAL; CREATE TABLE t(a)"); },
         DbStatus::not_a_register},
        {"our tables without our mark", [&] { return ours_but(u8"nomark.edb", "PRAGMA application_id = 0"); },
         DbStatus::not_a_register},
        {"a later format", [&] { return ours_but(u8"v2.edb", "PRAGMA user_version = 2"); }, DbStatus::not_a_register},
        {"field 2 not named 姓名",
         [&] { return ours_but(u8"name.edb", "ALTER TABLE student RENAME COLUMN \"姓名\" TO name"); },
         DbStatus::not_a_register},
        {"a field missing",
         [&] { return ours_but(u8"drop.edb", "DROP VIEW \"学生\"; ALTER TABLE student DROP COLUMN remarks"); },
         DbStatus::not_a_register},
        {"an extra field", [&] { return ours_but(u8"extra.edb", "ALTER TABLE student ADD COLUMN x TEXT"); },
         DbStatus::not_a_register},
        {"a field of another type",
         [&] {
             return ours_but(u8"type.edb",
                             "PRAGMA writable_schema = ON; UPDATE sqlite_schema SET sql = "
                             "replace(sql, '\"weight\" REAL', '\"weight\" TEXT') WHERE name = 'student'");
         },
         DbStatus::not_a_register},
        {"no photo table", [&] { return ours_but(u8"nophoto.edb", "DROP VIEW \"学生\"; DROP TABLE student_photo"); },
         DbStatus::not_a_register},
        {"a trigger",
         [&] {
             return ours_but(u8"trigger.edb",
                             "CREATE TRIGGER t AFTER UPDATE ON student BEGIN DELETE FROM student; END");
         },
         DbStatus::not_a_register},
        {"already open", [&] { return open_one; }, DbStatus::already_open},
        {"already open, other spelling", [&] { return dir_ / u8"sub" / u8".." / u8"open.edb"; },
         DbStatus::already_open},
    };
    fs::create_directory(dir_ / u8"sub");

    RecordDatabase db;
    ASSERT_TRUE(db.open(open_one));
    ASSERT_TRUE(db.open(good));  // current while the others fail
    db.go_to(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path file = c.make();
        const bool existed = fs::exists(file);
        const bool regular = fs::is_regular_file(file);
        const std::string before = regular ? file_bytes(file) : std::string();
        const DbResult result = db.open(file);
        EXPECT_EQ(result.status, c.status);
        EXPECT_FALSE(result);
        EXPECT_FALSE(result.message.empty());
        EXPECT_EQ(result.path, file);
        EXPECT_EQ(db.last_error().status, c.status);
        // Nothing changed: the good file is current, cursor kept, the bad file untouched.
        EXPECT_EQ(db.record_count(), 2);
        EXPECT_EQ(db.position(), 2);
        EXPECT_EQ(db.read_integer(1), 2);
        EXPECT_EQ(fs::exists(file), existed);
        if (regular) {
            EXPECT_EQ(file_bytes(file), before);
        }
        EXPECT_FALSE(fs::exists(journal_of(file)));
    }
    EXPECT_TRUE(db.close());
}

TEST_F(RecordDatabaseTest, OpenOfAFileLockedElsewhereReportsInUse) {
    const fs::path file = make_register(u8"locked.edb", 2);
    sqlite3* other = nullptr;
    const std::u8string utf8 = file.u8string();
    ASSERT_EQ(sqlite3_open(reinterpret_cast<const char*>(utf8.c_str()), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    RecordDatabase db;
    const DbResult result = db.open(file);
    EXPECT_EQ(result.status, DbStatus::in_use);
    EXPECT_FALSE(result.message.empty());
    EXPECT_EQ(db.record_count(), 0);

    ASSERT_EQ(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_TRUE(db.open(file));
    EXPECT_EQ(db.record_count(), 2);
    // Now ours holds the lock: the other connection cannot write.
    EXPECT_EQ(sqlite3_exec(other, "DELETE FROM student", nullptr, nullptr, nullptr), SQLITE_BUSY);
    sqlite3_close(other);
    EXPECT_TRUE(db.close());
}

TEST_F(RecordDatabaseTest, CreateRegisterNeverOverwrites) {
    const fs::path file = make_register(u8"a.edb", 2);
    const std::string before = file_bytes(file);
    const DbResult result = RecordDatabase::create_register(file);
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.message.empty());
    EXPECT_EQ(file_bytes(file), before);

    write_bytes(path(u8"notes.txt"), "keep me");
    EXPECT_FALSE(RecordDatabase::create_register(path(u8"notes.txt")));
    EXPECT_EQ(file_bytes(path(u8"notes.txt")), "keep me");
}

TEST_F(RecordDatabaseTest, MarksPersistAndPurgeClosesUpInOrder) {
    const fs::path file = make_register(u8"xsdate.edb", 6, 3000);
    RecordDatabase db;
    ASSERT_TRUE(db.open(file));
    db.go_to(2);
    ASSERT_TRUE(db.mark_deleted());
    db.go_to(5);
    ASSERT_TRUE(db.mark_deleted());
    ASSERT_TRUE(db.mark_deleted());  // twice is once
    EXPECT_EQ(db.record_count(), 6);  // marked records stay, readable
    EXPECT_EQ(read_record(db), student(5, 3000));
    ASSERT_TRUE(db.close());

    ASSERT_TRUE(db.open(file));  // the marks were stored
    EXPECT_EQ(db.record_count(), 6);
    db.go_to(4);
    ASSERT_TRUE(db.purge());
    EXPECT_EQ(db.position(), 1);
    ASSERT_EQ(db.record_count(), 4);
    // Renumber as a transfer does: fields 2..21 as read, field 1 = k.
    for (int k = 1; k <= db.record_count(); ++k) {
        db.go_to(k);
        StudentRecord r = read_record(db);
        r.serial_no = k;
        ASSERT_TRUE(db.modify(r));
    }
    ASSERT_TRUE(db.purge());  // nothing marked: nothing goes
    EXPECT_EQ(db.record_count(), 4);
    ASSERT_TRUE(db.close());

    std::vector<StudentRecord> expected;
    for (int k : {1, 3, 4, 6}) {
        expected.push_back(student(k, 3000));
        expected.back().serial_no = static_cast<int>(expected.size());
    }
    EXPECT_EQ(contents(file), expected);

    ASSERT_TRUE(db.open(file));
    ASSERT_TRUE(db.append(student(7)));
    EXPECT_EQ(db.position(), 5);
    ASSERT_TRUE(db.clear());
    EXPECT_EQ(db.record_count(), 0);
    EXPECT_TRUE(db.past_end());
    ASSERT_TRUE(db.close());
    EXPECT_TRUE(contents(file).empty());
}

TEST_F(RecordDatabaseTest, ModifyAndAppendRoundTripEveryValue) {
    const std::string odd_texts[] = {
        "",
        std::string("\0", 1),
        std::string("a\0b", 3),
        "\x80",              // a byte GBK does not use alone
        "\xff\xfe\xfd",
        "\xd5",              // lead byte without a trail
        "\xd5\x7f",          // lead byte with an invalid trail
        "\xa1",
        "  spaces kept  ",
        "\xc0\x80",          // overlong UTF-8 for NUL, meaningless in GBK
        "\x81\x30\x81\x30",  // GB18030 four-byte code
        "\x95\x32\x82\x36",  // GB18030 four-byte code of U+10000
    };
    std::vector<StudentRecord> written;
    int k = 0;
    for (const std::string& bytes : odd_texts) {
        StudentRecord r = student(++k);
        r.name = GbkString(bytes);
        r.remarks = GbkString(bytes) + g(u8"尾");
        r.home_address = GbkString(bytes + bytes);
        written.push_back(r);
    }
    const float weights[] = {60.0f, 45.5f, 0.1f, -0.0f, 0.0f, FLT_MAX, -FLT_MAX, FLT_TRUE_MIN, FLT_MIN,
                             std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN(),
                             16777217.0f, 1e-30f};
    for (float w : weights) {
        StudentRecord r = student(++k);
        r.weight = w;
        written.push_back(r);
    }
    for (std::int32_t n : {INT32_MIN, INT32_MAX, 0, -1}) {
        StudentRecord r = student(++k);
        r.serial_no = r.height = r.age = n;
        written.push_back(r);
    }

    const fs::path file = make_register(u8"a.edb", 0);
    RecordDatabase db;
    ASSERT_TRUE(db.open(file));
    // Modified over records that held other values, and appended new.
    for (std::size_t i = 0; i < written.size(); ++i) ASSERT_TRUE(db.append(student(100)));
    for (std::size_t i = 0; i < written.size(); ++i) {
        db.go_to(static_cast<int>(i) + 1);
        ASSERT_TRUE(db.modify(written[i]));
    }
    for (const StudentRecord& r : written) ASSERT_TRUE(db.append(r));
    ASSERT_TRUE(db.close());

    const std::vector<StudentRecord> read = contents(file);
    ASSERT_EQ(read.size(), 2 * written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        SCOPED_TRACE(i);
        StudentRecord expected = written[i % written.size()];
        StudentRecord got = read[i];
        EXPECT_EQ(std::memcmp(&got.weight, &expected.weight, sizeof(float)), 0) << got.weight;
        got.weight = expected.weight = 0;  // compared bit for bit above
        EXPECT_EQ(got, expected);
    }
}

// Canonical texts are stored as readable UTF-8 text, other bytes as blobs,
// and the view shows the 21 fields in field order.
TEST_F(RecordDatabaseTest, FileIsReadableWithSqlite) {
    StudentRecord r = student(1, 10);
    r.name = g(u8"张三");
    r.remarks = GbkString(std::string("\x80\xff"));
    const fs::path file = make_register(u8"a.edb", std::vector<StudentRecord>{r});

    sqlite3* db = nullptr;
    const std::u8string utf8 = file.u8string();
    ASSERT_EQ(sqlite3_open_v2(reinterpret_cast<const char*>(utf8.c_str()), &db, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT * FROM \"学生\"", -1, &statement, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    ASSERT_EQ(sqlite3_column_count(statement), kFieldCount);
    for (int n = 1; n <= kFieldCount; ++n)
        EXPECT_EQ(std::u8string(reinterpret_cast<const char8_t*>(sqlite3_column_name(statement, n - 1))),
                  field_info(n).layout_name);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_type(statement, 1), SQLITE_TEXT);
    EXPECT_EQ(std::u8string(reinterpret_cast<const char8_t*>(sqlite3_column_text(statement, 1))), u8"张三");
    EXPECT_EQ(sqlite3_column_type(statement, 20), SQLITE_BLOB);
    EXPECT_EQ(sqlite3_column_bytes(statement, 8), 10);  // the photo
    EXPECT_EQ(sqlite3_column_int(statement, 0), 1);
    EXPECT_EQ(sqlite3_column_double(statement, 4), 41.5);
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

TEST_F(RecordDatabaseTest, PhotoOf64MegabytesRoundTrips) {
    constexpr std::size_t kSize = 64u << 20;
    StudentRecord big = student(1);
    big.photo.resize(kSize);
    for (std::size_t i = 0; i < kSize; ++i) big.photo[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 13);
    const fs::path file = make_register(u8"big.edb", std::vector<StudentRecord>{student(0), big});

    RecordDatabase db;
    ASSERT_TRUE(db.open(file));
    db.go_to(2);
    EXPECT_TRUE(db.read_bytes(9) == big.photo);
    // Grow it by one byte and shrink the other record's photo to nothing.
    big.photo.push_back(0x5a);
    ASSERT_TRUE(db.modify(big));
    db.go_to(1);
    ASSERT_TRUE(db.modify(student(0)));
    ASSERT_TRUE(db.close());

    ASSERT_TRUE(db.open(file));
    db.go_to(2);
    const ByteString read = db.read_bytes(9);
    EXPECT_EQ(read.size(), kSize + 1);
    EXPECT_TRUE(read == big.photo);
    db.go_to(1);
    EXPECT_TRUE(db.read_bytes(9).empty());
    EXPECT_TRUE(db.close());
}

// The list fields and the photos lie on separate pages: with every page that
// carries photo bytes destroyed, the list still reads in full, while reading
// a photo reports the damage.
TEST_F(RecordDatabaseTest, ListReadsNeverTouchThePhotoPages) {
    constexpr std::uint8_t kMark = 0xa5;
    std::vector<StudentRecord> records;
    for (int k = 1; k <= 5; ++k) {
        records.push_back(student(k));
        records.back().photo.assign(300'000, kMark);
    }
    const fs::path file = make_register(u8"photos.edb", records);

    std::string bytes = file_bytes(file);
    const std::size_t page = static_cast<std::uint8_t>(bytes[16]) << 8 | static_cast<std::uint8_t>(bytes[17]);
    ASSERT_EQ(bytes.size() % page, 0u);
    std::size_t destroyed = 0;
    for (std::size_t at = page; at < bytes.size(); at += page) {
        const auto marks = std::count(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                      bytes.begin() + static_cast<std::ptrdiff_t>(at + page), static_cast<char>(kMark));
        if (marks > static_cast<std::ptrdiff_t>(page / 2)) {
            std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), page, '\0');
            ++destroyed;
        }
    }
    ASSERT_GT(destroyed, 5 * 300'000 / page - 5);
    write_bytes(file, bytes);

    RecordDatabase db;
    ASSERT_TRUE(db.open(file));
    ASSERT_EQ(db.record_count(), 5);
    for (int k = 1; k <= 5; ++k) {
        db.go_to(k);
        for (int n = 1; n <= kFieldCount; ++n)
            if (n != kPhotoField) {
                EXPECT_EQ(db.read_field(n), get_field(records[static_cast<std::size_t>(k - 1)], n));
            }
    }
    EXPECT_TRUE(db.last_error()) << reinterpret_cast<const char*>(db.last_error().message.c_str());
    EXPECT_TRUE(db.read_bytes(9).empty());
    EXPECT_EQ(db.last_error().status, DbStatus::not_a_register);
    EXPECT_FALSE(db.last_error().message.empty());
    const DbResult closed = db.close();
    EXPECT_TRUE(closed) << reinterpret_cast<const char*>(closed.message.c_str());
}

TEST_F(RecordDatabaseTest, ReadOnlyFileReadsButRefusesWrites) {
    const fs::path file = make_register(u8"ro.edb", 2);
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    if (std::ofstream(file, std::ios::binary | std::ios::app)) {
        fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
        GTEST_SKIP() << "the file stays writable for this user";
    }
    const std::string before = file_bytes(file);
    RecordDatabase db;
    ASSERT_TRUE(db.open(file));
    EXPECT_EQ(db.record_count(), 2);
    EXPECT_EQ(read_record(db), student(1));
    EXPECT_EQ(db.append(student(3)).status, DbStatus::read_only);
    EXPECT_EQ(db.modify(student(3)).status, DbStatus::read_only);
    EXPECT_EQ(db.mark_deleted().status, DbStatus::read_only);
    EXPECT_EQ(db.last_error().status, DbStatus::read_only);
    EXPECT_EQ(db.record_count(), 2);
    EXPECT_TRUE(db.close());
    EXPECT_EQ(file_bytes(file), before);
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
}

}  // namespace
}  // namespace wmb
