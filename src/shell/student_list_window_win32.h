#pragma once
// StudentListWindow: the main list, the toolbar, the panel "操作平台" and the
// list's pop-up menu, all forwarded to the operations of student_list.h.

#include <windows.h>
#include <commctrl.h>

#include "shell/student_list.h"
#include "ui/controls_win32.h"
#include "shell/tray_window_win32.h"
#include "ui/win32_util_win32.h"
#include "ui/window_win32.h"

namespace wmb {

class Program;

class StudentListWindow : public TrayWindow {
public:
    explicit StudentListWindow(Program& program);
    ~StudentListWindow() override;
    bool create(const GbkString& class_name);
    Win32ListControl& list() { return list_; }
    StudentList operations();

protected:
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;
    void on_dpi_changed() override;

private:
    void create_controls();
    void create_toolbar();
    void create_panel();
    bool on_notify(const NMHDR* header, LRESULT& result);
    void pop_up_list_menu(POINT screen);
    void run(Command command);

    GbkString caption_;
    Win32ListControl list_;
    HWND toolbar_ = nullptr;
    HIMAGELIST toolbar_images_ = nullptr;
    HWND panel_ = nullptr;
    HWND panel_frame_ = nullptr;
    HWND panel_buttons_[9] = {};
    FontHandle ui_font_;
};

}  // namespace wmb
