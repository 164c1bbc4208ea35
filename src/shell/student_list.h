#pragma once
// StudentListWindow's operations: the main list fill, the selection check
// before a student is opened, clearing both record files, and the one
// dispatch point of the toolbar, the panel and the list's pop-up menu.

#include <optional>

#include "shell/record_files.h"
#include "ui/controls.h"
#include "ui/message_boxes.h"

namespace wmb {

enum class StudentForm { detail, edit };

// Everything the toolbar, the panel "操作平台" and the menu "信息维护" start.
enum class Command {
    clear_all,         // 系统初始化, 全部清空
    view_class,        // 查看全班: fill, and say so when the class is empty
    show_all,          // 全班学生信息: fill, no message
    add_student,       // 信息添加
    edit_student,      // 信息修改
    view_student,      // 信息查询, double click
    delete_student,    // 信息删除, 删除该生
    search_by_name,    // 个人查询
    import_excel,      // 批量导入, Excel导入
    export_excel,      // 批量导出, Excel导出
    deleted_students,  // 已删查询, 删除查询
    about,             // 关于程序
    exit,              // 退出系统
};

std::optional<Command> toolbar_command(int index);

// What the operations need of the windows around the main list.
class StudentListHost {
public:
    virtual ~StudentListHost() = default;
    virtual void open_add_form() = 0;                      // modal
    virtual void open_student_form(StudentForm form) = 0;  // modal, loads the selected student
    virtual void open_name_search() = 0;                   // modeless
    virtual void open_deleted_students() = 0;              // modeless
    virtual void open_about() = 0;                         // modeless
    virtual void delete_selected_student() = 0;
    virtual void import_from_excel() = 0;
    virtual void export_to_excel() = 0;
    virtual void close_student_list() = 0;
};

struct StudentList {
    ListControl& 超级列表框1;
    RecordFiles& files;
    MessageBoxes& boxes;
    StudentListHost& host;
};

// False when the register could not be opened (the list stays empty).
bool fill_student_list(StudentList& list, RecordFiles::Report report = RecordFiles::Report::once);
void open_selected_student(StudentList& list, StudentForm form);
void clear_all_students(StudentList& list);
void run_command(StudentList& list, Command command);

// Writes the current record of the open file into row `row` of a 20-column list.
void fill_row_from_current_record(ListControl& list, int row, RecordDatabase& db);

}  // namespace wmb
