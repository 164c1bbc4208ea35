#include "shell/student_list.h"

#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "shell/student_list_texts.h"
#include "shell_fixture.h"

namespace wmb {
namespace {

using namespace shell_test;

using Calls = std::vector<std::string>;
using Row = std::vector<std::string>;

Row row_of(std::initializer_list<std::u8string_view> cells) {
    Row row;
    for (std::u8string_view cell : cells) row.push_back(u(cell));
    return row;
}

const MessageRequest kEmptyClassBox{u8"您的班级尚未录入学生信息！", u8"温馨提示！", MsgButtons::ok, MsgIcon::warning};
const MessageRequest kFirstQuestion{u8"您确定要清空数据库？", u8"警告", MsgButtons::yes_no, MsgIcon::none};
const MessageRequest kSecondQuestion{u8"数据库一旦清空便不可恢复！", u8"再次警告！", MsgButtons::yes_no, MsgIcon::none};
const MessageRequest kClearedBox{u8"基础数据已清空，照片请在根目录下photo文件夹手动删除！", u8"信息：", MsgButtons::ok,
                                 MsgIcon::none};

class StudentListTest : public ::testing::Test {
protected:
    StudentListRig rig;

    // The register is closed: this program's database has no current file
    // and can open it again, and so can another.
    void expect_register_closed() {
        EXPECT_EQ(rig.db.record_count(), 0);
        EXPECT_EQ(rig.db.position(), 0);
        const DbResult again = rig.db.open(rig.paths().register_file());
        EXPECT_TRUE(again) << u(again.message);
        if (again) {
            EXPECT_TRUE(rig.db.close());
        }
        EXPECT_GE(records_in(rig.paths().register_file()), 0);
    }
};

// Three students whose fields show every kind of cell text.
std::vector<StudentRecord> three_students() {
    StudentRecord a;
    a.serial_no = 1;
    a.name = g(u8"张三");
    a.gender = g(u8"男");
    a.height = 170;
    a.weight = 60.0f;
    a.age = 14;
    a.aux_student_no = GbkString::ascii("QQ001");
    a.national_student_no = GbkString::ascii("G330105200501011234");
    a.photo = {0xFF, 0xD8, 0xFF, 0xE0, '1', '2', '3'};
    a.boarding = g(u8"是");
    a.dorm_no = GbkString::ascii("3-201");
    a.bed_no = GbkString::ascii("2");
    a.id_card_no = GbkString::ascii("33010520050101123X");
    a.home_address = g(u8"浙江省杭州市西湖区文三路1号");
    a.guardian1_relation = g(u8"父亲");
    a.guardian1_name = g(u8"张大");
    a.guardian1_phone = GbkString::ascii("13800001111");
    a.guardian2_relation = g(u8"母亲");
    a.guardian2_name = g(u8"李梅");
    a.guardian2_phone = GbkString::ascii("13900002222");
    a.remarks = g(u8"班长");

    StudentRecord b;  // texts left empty, a negative age, spaces kept
    b.serial_no = 2;
    b.name = GbkString::ascii("Li Lei");
    b.gender = g(u8"女");
    b.height = 158;
    b.weight = 45.5f;
    b.age = -3;
    b.boarding = g(u8"否");
    b.remarks = g(u8" 两端 空格 ");

    StudentRecord c = a;  // a serial number that is not its place in the file
    c.serial_no = 12;
    c.name = g(u8"王五");
    c.height = -5;
    c.weight = 52.3f;
    c.age = 0;
    c.photo.clear();
    c.guardian2_relation = g(u8"其他");
    return {a, b, c};
}

TEST_F(StudentListTest, FillShowsEveryRecordInFileOrderWithTwentyCells) {
    TempRunFolder::write_register(rig.paths().register_file(), three_students());
    TempRunFolder::write_register(rig.paths().deleted_file(), {sample_student(7)});
    rig.add_stale_row();

    EXPECT_TRUE(fill_student_list(rig.ops));

    const std::vector<Row> expected = {
        row_of({u8"1", u8"张三", u8"男", u8"170", u8"60", u8"14", u8"QQ001", u8"G330105200501011234", u8"是", u8"3-201",
                u8"2", u8"33010520050101123X", u8"浙江省杭州市西湖区文三路1号", u8"父亲", u8"张大", u8"13800001111",
                u8"母亲", u8"李梅", u8"13900002222", u8"班长"}),
        row_of({u8"2", u8"Li Lei", u8"女", u8"158", u8"45.5", u8"-3", u8"", u8"", u8"否", u8"", u8"", u8"", u8"", u8"",
                u8"", u8"", u8"", u8"", u8"", u8" 两端 空格 "}),
        row_of({u8"12", u8"王五", u8"男", u8"-5", u8"52.3", u8"0", u8"QQ001", u8"G330105200501011234", u8"是", u8"3-201",
                u8"2", u8"33010520050101123X", u8"浙江省杭州市西湖区文三路1号", u8"父亲", u8"张大", u8"13800001111",
                u8"其他", u8"李梅", u8"13900002222", u8"班长"}),
    };
    EXPECT_EQ(rig.rows(), expected);
    EXPECT_EQ(rig.list.selected_row(), -1);
    EXPECT_TRUE(rig.boxes.shown().empty());
    EXPECT_TRUE(rig.host.calls.empty());
    expect_register_closed();
    EXPECT_EQ(records_in(rig.paths().register_file()), 3);  // a fill changes nothing
}

TEST_F(StudentListTest, FillOfAnEmptyRegisterEmptiesTheList) {
    rig.folder.make_class(0, 2);
    rig.add_stale_row();
    EXPECT_TRUE(fill_student_list(rig.ops));
    EXPECT_EQ(rig.list.row_count(), 0);
    EXPECT_EQ(rig.list.selected_row(), -1);
    EXPECT_TRUE(rig.boxes.shown().empty());
    expect_register_closed();
}

TEST_F(StudentListTest, FillFollowsTheFileAsItChanges) {
    rig.folder.make_class(3);
    EXPECT_TRUE(fill_student_list(rig.ops));
    rig.list.select_row(2);
    {
        RecordDatabase other;
        ASSERT_TRUE(other.open(rig.paths().register_file()));
        other.go_to(2);
        ASSERT_TRUE(other.mark_deleted());
        ASSERT_TRUE(other.purge());
        ASSERT_TRUE(other.close());
    }
    EXPECT_TRUE(fill_student_list(rig.ops));
    ASSERT_EQ(rig.list.row_count(), 2);
    EXPECT_EQ(u(rig.list.cell(0, 1)), u(u8"学生1"));
    EXPECT_EQ(u(rig.list.cell(1, 1)), u(u8"学生3"));
    EXPECT_EQ(rig.list.selected_row(), -1);
}

TEST(StudentListFill, ViewClassWarnsOfAnEmptyClassShowAllDoesNot) {
    struct Case {
        const char* what;
        int students;
        Command command;
        std::vector<MessageRequest> boxes;
    };
    const Case cases[] = {
        {"查看全班, empty", 0, Command::view_class, {kEmptyClassBox}},
        {"全班学生信息, empty", 0, Command::show_all, {}},
        {"查看全班, 3 students", 3, Command::view_class, {}},
        {"全班学生信息, 3 students", 3, Command::show_all, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StudentListRig rig;
        rig.folder.make_class(c.students);
        rig.add_stale_row();
        run_command(rig.ops, c.command);
        EXPECT_EQ(rig.list.row_count(), c.students);
        EXPECT_EQ(rig.list.selected_row(), -1);
        EXPECT_EQ(rig.boxes.shown(), c.boxes);
        EXPECT_TRUE(rig.host.calls.empty());
        EXPECT_EQ(rig.db.record_count(), 0);
        EXPECT_EQ(records_in(rig.paths().register_file()), c.students);
    }
}

struct SelectionCase {
    const char* what;
    StudentForm form;
    Command command;
    std::u8string_view text;
    const char* host_call;
};

const SelectionCase kSelectionCases[] = {
    {"信息查询", StudentForm::detail, Command::view_student, u8"您的班级信息为空或尚未选中要查询的学生！",
     "open_student_form(detail)"},
    {"信息修改", StudentForm::edit, Command::edit_student, u8"您的班级信息为空或尚未选中要修改信息的学生！",
     "open_student_form(edit)"},
};

TEST(StudentListSelection, WithoutASelectionNoFormOpens) {
    for (int students : {0, 3}) {
        StudentListRig here;
        here.folder.make_class(students);
        ASSERT_TRUE(fill_student_list(here.ops));
        for (const SelectionCase& c : kSelectionCases) {
            SCOPED_TRACE(::testing::Message() << c.what << ", " << students << " students");
            const MessageRequest box{std::u8string(c.text), u8"信息：", MsgButtons::ok, MsgIcon::none};
            here.boxes.reset();
            open_selected_student(here.ops, c.form);
            run_command(here.ops, c.command);
            EXPECT_EQ(here.boxes.shown(), (std::vector<MessageRequest>{box, box}));
            EXPECT_TRUE(here.host.calls.empty());
        }
    }
}

TEST_F(StudentListTest, WithASelectionTheFormOpens) {
    rig.folder.make_class(3);
    ASSERT_TRUE(fill_student_list(rig.ops));
    for (const SelectionCase& c : kSelectionCases) {
        SCOPED_TRACE(c.what);
        for (int row : {0, 2}) {
            rig.host.calls.clear();
            rig.list.select_row(row);
            open_selected_student(rig.ops, c.form);
            run_command(rig.ops, c.command);
            EXPECT_EQ(rig.host.calls, (Calls{c.host_call, c.host_call}));
        }
    }
    EXPECT_TRUE(rig.boxes.shown().empty());
}

TEST(Toolbar, EachIndexStartsItsCommand) {
    const std::optional<Command> expected[] = {
        Command::clear_all,    Command::view_class,     Command::add_student,      Command::edit_student,
        Command::delete_student, Command::search_by_name, Command::import_excel,   Command::export_excel,
        Command::deleted_students, Command::about,        Command::exit,
    };
    for (int index = 0; index < 11; ++index) {
        SCOPED_TRACE(u(kMainToolbar[static_cast<std::size_t>(index)].caption));
        EXPECT_EQ(toolbar_command(index), expected[index]);
    }
    for (int index : {-1, 11, 12, INT_MIN, INT_MAX}) EXPECT_EQ(toolbar_command(index), std::nullopt) << index;
}

TEST(Toolbar, PanelAndMenuStartTheSameCommandsAsTheirToolbarButtons) {
    struct Case {
        std::u8string_view caption;
        Command command;
    };
    const Case panel[] = {
        {u8"全班学生信息", Command::show_all},   {u8"信息添加", Command::add_student},
        {u8"信息修改", Command::edit_student},    {u8"Excel导入", Command::import_excel},
        {u8"Excel导出", Command::export_excel},   {u8"删除该生", Command::delete_student},
        {u8"信息查询", Command::view_student},    {u8"删除查询", Command::deleted_students},
        {u8"全部清空", Command::clear_all},
    };
    ASSERT_EQ(kPanelButtons.size(), std::size(panel));
    for (std::size_t i = 0; i < kPanelButtons.size(); ++i) {
        EXPECT_EQ(u(kPanelButtons[i].caption), u(panel[i].caption)) << i;
        EXPECT_EQ(kPanelButtons[i].command, panel[i].command) << u(panel[i].caption);
    }
    const Case menu[] = {
        {u8"信息查询", Command::view_student}, {u8"信息修改", Command::edit_student},
        {u8"删除该生", Command::delete_student},
    };
    ASSERT_EQ(kListMenu.size(), std::size(menu));
    for (std::size_t i = 0; i < kListMenu.size(); ++i) {
        EXPECT_EQ(u(kListMenu[i].caption), u(menu[i].caption)) << i;
        EXPECT_EQ(kListMenu[i].command, menu[i].command) << u(menu[i].caption);
    }
}

TEST_F(StudentListTest, CommandsOfOtherWindowsGoToTheHost) {
    rig.folder.make_class(3);
    ASSERT_TRUE(fill_student_list(rig.ops));
    rig.list.select_row(1);
    const std::pair<Command, const char*> cases[] = {
        {Command::add_student, "open_add_form"},
        {Command::delete_student, "delete_selected_student"},
        {Command::search_by_name, "open_name_search"},
        {Command::import_excel, "import_from_excel"},
        {Command::export_excel, "export_to_excel"},
        {Command::deleted_students, "open_deleted_students"},
        {Command::about, "open_about"},
        {Command::exit, "close_student_list"},
    };
    for (const auto& [command, call] : cases) {
        SCOPED_TRACE(call);
        rig.host.calls.clear();
        run_command(rig.ops, command);
        EXPECT_EQ(rig.host.calls, Calls{call});
        EXPECT_EQ(rig.list.row_count(), 3);
    }
    EXPECT_TRUE(rig.boxes.shown().empty());
    EXPECT_EQ(records_in(rig.paths().register_file()), 3);
}

TEST(ClearAllStudents, AnythingButYesTwiceChangesNothing) {
    struct Case {
        const char* what;
        std::vector<MsgAnswer> answers;
        std::vector<MessageRequest> asked;
    };
    const Case cases[] = {
        {"No", {MsgAnswer::no}, {kFirstQuestion}},
        {"closed", {MsgAnswer::closed}, {kFirstQuestion}},
        {"Yes, No", {MsgAnswer::yes, MsgAnswer::no}, {kFirstQuestion, kSecondQuestion}},
        {"Yes, closed", {MsgAnswer::yes, MsgAnswer::closed}, {kFirstQuestion, kSecondQuestion}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StudentListRig rig;
        rig.folder.make_class(3, 2);
        ASSERT_TRUE(fill_student_list(rig.ops));
        const std::string register_before = file_bytes(rig.paths().register_file());
        const std::string deleted_before = file_bytes(rig.paths().deleted_file());
        for (MsgAnswer a : c.answers) rig.boxes.answer(a);

        run_command(rig.ops, Command::clear_all);

        EXPECT_EQ(rig.boxes.shown(), c.asked);
        EXPECT_EQ(rig.list.row_count(), 3);
        EXPECT_EQ(file_bytes(rig.paths().register_file()), register_before);
        EXPECT_EQ(file_bytes(rig.paths().deleted_file()), deleted_before);
        EXPECT_EQ(records_in(rig.paths().register_file()), 3);
        EXPECT_EQ(records_in(rig.paths().deleted_file()), 2);
    }
}

TEST_F(StudentListTest, ClearAllEmptiesBothFilesAndTheListButNotThePhotos) {
    rig.folder.make_class(3, 2);
    ASSERT_TRUE(fill_student_list(rig.ops));
    rig.list.select_row(1);
    std::vector<std::pair<fs::path, std::string>> photos;
    for (const auto& entry : fs::directory_iterator(rig.paths().photo_dir()))
        photos.emplace_back(entry.path(), file_bytes(entry.path()));
    ASSERT_EQ(photos.size(), 3u);
    rig.boxes.answer(MsgAnswer::yes);
    rig.boxes.answer(MsgAnswer::yes);

    clear_all_students(rig.ops);

    EXPECT_EQ(rig.boxes.shown(), (std::vector<MessageRequest>{kFirstQuestion, kSecondQuestion, kClearedBox}));
    EXPECT_EQ(rig.list.row_count(), 0);
    EXPECT_EQ(rig.list.selected_row(), -1);
    EXPECT_EQ(rig.db.record_count(), 0);  // both closed again
    for (const fs::path& file : {rig.paths().register_file(), rig.paths().deleted_file()}) {
        SCOPED_TRACE(file.filename().string());
        // Still a register: it opens, is empty, and takes a record.
        RecordDatabase db;
        ASSERT_TRUE(db.open(file));
        EXPECT_EQ(db.record_count(), 0);
        EXPECT_TRUE(db.append(sample_student(1)));
        EXPECT_TRUE(db.close());
        EXPECT_EQ(records_in(file), 1);
    }
    std::size_t still_there = 0;
    for (const auto& [path, bytes] : photos) {
        EXPECT_EQ(file_bytes(path), bytes) << path.filename().string();
        still_there += fs::exists(path) ? 1 : 0;
    }
    EXPECT_EQ(still_there, photos.size());
    EXPECT_TRUE(rig.host.calls.empty());

    // The list shows the emptied register from now on.
    rig.boxes.reset();
    EXPECT_TRUE(fill_student_list(rig.ops));
    EXPECT_EQ(rig.list.row_count(), 1);
}

TEST_F(StudentListTest, ClearAllOfAnEmptyClassStillSaysSo) {
    rig.folder.make_class(0);
    rig.boxes.answer(MsgAnswer::yes);
    rig.boxes.answer(MsgAnswer::yes);
    clear_all_students(rig.ops);
    EXPECT_EQ(rig.boxes.shown(), (std::vector<MessageRequest>{kFirstQuestion, kSecondQuestion, kClearedBox}));
    EXPECT_EQ(records_in(rig.paths().register_file()), 0);
    EXPECT_EQ(records_in(rig.paths().deleted_file()), 0);
}

}  // namespace
}  // namespace wmb
