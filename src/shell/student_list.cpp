#include "shell/student_list.h"

#include "data/list_columns.h"

namespace wmb {

std::optional<Command> toolbar_command(int index) {
    static constexpr Command kToolbar[] = {
        Command::clear_all,      Command::view_class,    Command::add_student,   Command::edit_student,
        Command::delete_student, Command::search_by_name, Command::import_excel, Command::export_excel,
        Command::deleted_students, Command::about,       Command::exit,
    };
    if (index < 0 || index >= static_cast<int>(std::size(kToolbar))) return std::nullopt;
    return kToolbar[index];
}

void fill_row_from_current_record(ListControl& list, int row, RecordDatabase& db) {
    for (int column = 0; column < static_cast<int>(kMainListColumns.size()); ++column) {
        const int field = kMainListColumns[static_cast<std::size_t>(column)].field;
        list.set_cell(row, column, cell_text(db.read_field(field)));
    }
}

bool fill_student_list(StudentList& list, RecordFiles::Report report) {
    list.超级列表框1.delete_all_rows();
    if (!list.files.open(RecordFile::register_file, report)) return false;
    RecordDatabase& db = list.files.db();
    const int n = db.record_count();
    for (int k = 1; k <= n; ++k) {
        db.go_to(k);
        const int row = list.超级列表框1.append_row();
        fill_row_from_current_record(list.超级列表框1, row, db);
    }
    list.files.close();
    return true;
}

void open_selected_student(StudentList& list, StudentForm form) {
    if (list.超级列表框1.selected_row() == -1) {
        tell(list.boxes, form == StudentForm::detail ? u8"您的班级信息为空或尚未选中要查询的学生！"
                                                      : u8"您的班级信息为空或尚未选中要修改信息的学生！");
        return;
    }
    list.host.open_student_form(form);
}

namespace {

// Empties the open file; false (and the user told) when it could not be written.
bool clear_file(StudentList& list, RecordFile file) {
    if (!list.files.open(file, RecordFiles::Report::always)) return false;
    DbResult r = list.files.db().clear();
    if (!r) {
        list.files.report_write_failure(r);
        list.files.db().close();
        return false;
    }
    return list.files.close();
}

}  // namespace

void clear_all_students(StudentList& list) {
    if (!ask_yes(list.boxes, u8"您确定要清空数据库？", u8"警告")) return;
    if (!ask_yes(list.boxes, u8"数据库一旦清空便不可恢复！", u8"再次警告！")) return;
    // A file that could not be emptied has been reported. Stop there: the
    // deleted students go only together with the class, and no success is claimed.
    if (!clear_file(list, RecordFile::register_file)) return;
    list.超级列表框1.delete_all_rows();
    if (!clear_file(list, RecordFile::deleted_file)) return;
    tell(list.boxes, u8"基础数据已清空，照片请在根目录下photo文件夹手动删除！");
}

void run_command(StudentList& list, Command command) {
    switch (command) {
    case Command::clear_all: clear_all_students(list); break;
    case Command::view_class:
        // A register that cannot be opened has been reported; it is not an empty class.
        if (fill_student_list(list, RecordFiles::Report::always) && list.超级列表框1.row_count() == 0)
            tell(list.boxes, u8"您的班级尚未录入学生信息！", MsgIcon::warning, u8"温馨提示！");
        break;
    case Command::show_all: fill_student_list(list); break;
    case Command::add_student: list.host.open_add_form(); break;
    case Command::edit_student: open_selected_student(list, StudentForm::edit); break;
    case Command::view_student: open_selected_student(list, StudentForm::detail); break;
    case Command::delete_student: list.host.delete_selected_student(); break;
    case Command::search_by_name: list.host.open_name_search(); break;
    case Command::import_excel: list.host.import_from_excel(); break;
    case Command::export_excel: list.host.export_to_excel(); break;
    case Command::deleted_students: list.host.open_deleted_students(); break;
    case Command::about: list.host.open_about(); break;
    case Command::exit: list.host.close_student_list(); break;
    }
}

}  // namespace wmb
