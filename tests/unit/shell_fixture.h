#pragma once
// What the shell's logic tests share: a real run folder with the two record
// files, the photo folder and config.ini; a host that records what the
// operations asked of the windows; readable output for message boxes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "data/gbk_codec.h"
#include "data/record_database.h"
#include "shell/record_files.h"
#include "shell/run_paths.h"
#include "shell/student_list.h"
#include "ui/fake_controls.h"

namespace wmb {

inline void PrintTo(const MessageRequest& box, std::ostream* os) {
    const char* icons[] = {"none", "warning", "information", "error"};
    *os << '{' << std::string(box.text.begin(), box.text.end()) << " | " << std::string(box.title.begin(), box.title.end())
        << " | " << (box.buttons == MsgButtons::ok ? "ok" : "yes_no") << " | " << icons[static_cast<int>(box.icon)]
        << '}';
}

namespace shell_test {

namespace fs = std::filesystem;

inline GbkString g(std::u8string_view text) { return to_gbk(text); }
// UTF-8 bytes as a std::string, so that failures print as text.
inline std::string u(std::u8string_view text) { return std::string(text.begin(), text.end()); }
inline std::string u(const GbkString& text) { return u(to_utf8(text)); }

inline std::string file_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void write_bytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Student k of a class, every field filled, with a small photo.
inline StudentRecord sample_student(int k) {
    const std::string n = std::to_string(k);
    StudentRecord r;
    r.serial_no = k;
    r.name = g(u8"学生") + GbkString::ascii(n);
    r.gender = g(k % 2 ? u8"男" : u8"女");
    r.height = 150 + k;
    r.weight = 40.0f + static_cast<float>(k);
    r.age = 12;
    r.aux_student_no = GbkString::ascii("QQ" + n);
    r.national_student_no = GbkString::ascii("G33010" + n);
    r.photo = {0xFF, 0xD8, 0xFF, static_cast<std::uint8_t>(k)};
    r.boarding = g(u8"是");
    r.dorm_no = GbkString::ascii("3-" + n);
    r.bed_no = GbkString::ascii(n);
    r.id_card_no = GbkString::ascii("33010520050101" + std::to_string(1000 + k));
    r.home_address = g(u8"浙江省杭州市文三路") + GbkString::ascii(n) + g(u8"号");
    r.guardian1_relation = g(u8"父亲");
    r.guardian1_name = g(u8"家长") + GbkString::ascii(n);
    r.guardian1_phone = GbkString::ascii("1380000" + std::to_string(1000 + k));
    r.guardian2_relation = g(u8"母亲");
    r.guardian2_name = g(u8"妈妈") + GbkString::ascii(n);
    r.guardian2_phone = GbkString::ascii("1390000" + std::to_string(1000 + k));
    r.remarks = g(u8"备注") + GbkString::ascii(n);
    return r;
}

// Records in a file, or -1 when it does not open. Opened by a RecordDatabase
// of its own, so it also shows that nobody else left the file open or locked.
inline int records_in(const fs::path& file) {
    RecordDatabase db;
    if (!db.open(file)) return -1;
    const int n = db.record_count();
    EXPECT_TRUE(db.close());
    return n;
}

inline std::vector<GbkString> names_in(const fs::path& file) {
    std::vector<GbkString> names;
    RecordDatabase db;
    if (!db.open(file)) return names;
    for (db.go_to_first(); !db.past_end(); db.skip()) names.push_back(db.read_text(2));
    EXPECT_TRUE(db.close());
    return names;
}

// A fresh run folder with Chinese characters and a space in its name,
// removed afterwards.
class TempRunFolder {
public:
    TempRunFolder() {
        std::random_device random;
        paths_.run_dir = fs::temp_directory_path() / fs::path(u8"蔚苗簿 运行-");
        paths_.run_dir += std::to_string(random()) + std::to_string(random());
        fs::create_directories(paths_.run_dir);
    }
    ~TempRunFolder() {
        std::error_code error;
        fs::remove_all(paths_.run_dir, error);
    }
    TempRunFolder(const TempRunFolder&) = delete;
    TempRunFolder& operator=(const TempRunFolder&) = delete;

    const RunPaths& paths() const { return paths_; }
    fs::path path(std::u8string_view name) const { return paths_.run_dir / fs::path(name); }

    // A register file holding `records`, made as a tool would make it.
    static void write_register(const fs::path& file, const std::vector<StudentRecord>& records) {
        ASSERT_TRUE(RecordDatabase::create_register(file));
        RecordDatabase db;
        ASSERT_TRUE(db.open(file));
        for (const StudentRecord& r : records) ASSERT_TRUE(db.append(r));
        ASSERT_TRUE(db.close());
    }

    // xsdate.edb with `students` sample students, deldate.edb with `deleted`
    // more, and a photo for each student of the register.
    void make_class(int students, int deleted = 0) {
        std::vector<StudentRecord> present, gone;
        for (int k = 1; k <= students; ++k) present.push_back(sample_student(k));
        for (int k = 1; k <= deleted; ++k) gone.push_back(sample_student(100 + k));
        write_register(paths_.register_file(), present);
        write_register(paths_.deleted_file(), gone);
        fs::create_directories(paths_.photo_dir());
        for (const StudentRecord& r : present)
            write_bytes(paths_.photo_dir() / fs::path(to_utf8(r.name) + u8".jpg"), "JPEG of " + r.name.bytes());
    }

private:
    RunPaths paths_;
};

// Records, in order, what the main list's operations asked of the windows.
class RecordingStudentListHost : public StudentListHost {
public:
    std::vector<std::string> calls;

    void open_add_form() override { calls.push_back("open_add_form"); }
    void open_student_form(StudentForm form) override {
        calls.push_back(form == StudentForm::detail ? "open_student_form(detail)" : "open_student_form(edit)");
    }
    void open_name_search() override { calls.push_back("open_name_search"); }
    void open_deleted_students() override { calls.push_back("open_deleted_students"); }
    void open_about() override { calls.push_back("open_about"); }
    void delete_selected_student() override { calls.push_back("delete_selected_student"); }
    void import_from_excel() override { calls.push_back("import_from_excel"); }
    void export_to_excel() override { calls.push_back("export_to_excel"); }
    void close_student_list() override { calls.push_back("close_student_list"); }
};

// StudentListWindow's operations over fakes and a real run folder.
struct StudentListRig {
    TempRunFolder folder;
    FakeListControl list;
    FakeMessageBoxes boxes;
    RecordDatabase db;
    RecordFiles files{db, boxes, folder.paths()};
    RecordingStudentListHost host;
    StudentList ops{list, files, boxes, host};

    const RunPaths& paths() const { return folder.paths(); }

    // The list's rows as UTF-8 texts.
    std::vector<std::vector<std::string>> rows() const {
        std::vector<std::vector<std::string>> out;
        for (int r = 0; r < list.row_count(); ++r) {
            std::vector<std::string> row;
            for (int c = 0; c < 20; ++c) row.push_back(u(list.cell(r, c)));
            out.push_back(std::move(row));
        }
        return out;
    }

    // A row left over from an earlier state of the list, selected.
    void add_stale_row() {
        const int row = list.append_row();
        list.set_cell(row, 0, GbkString::ascii("99"));
        list.set_cell(row, 1, g(u8"旧行"));
        list.select_row(row);
    }
};

}  // namespace shell_test
}  // namespace wmb
