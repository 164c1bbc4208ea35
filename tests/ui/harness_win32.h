#pragma once
// Drives the real windows of the program the way a user's input reaches
// them. The program runs on its own UI thread, exactly as in the .exe; the
// test body is the user: it posts input, waits by polling with a deadline,
// reads what the windows show and answers every message box by script.
// A box the test did not wait for fails the test and is dismissed.

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/student_record.h"
#include "ui/message_boxes.h"

namespace wmb::ui_test {

using namespace std::chrono_literals;
inline constexpr auto kWait = 10s;

// A fresh run folder: both record files, the photo folder, maybe config.ini.
class RunFolder {
public:
    RunFolder();
    ~RunFolder();
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(const char* name) const { return path_ / name; }
    void write_config(const std::string& gbk_bytes);
    std::string read_bytes(const char* name) const;
    void add_students(const std::vector<StudentRecord>& records, const char* file = "xsdate.edb");
    int record_count(const char* file = "xsdate.edb");

private:
    std::filesystem::path path_;
};

StudentRecord sample_student(int serial, const std::u8string& name);

struct Box {
    HWND hwnd = nullptr;
    std::wstring text, title;
    bool ok = false, yes = false, no = false;
    MsgIcon icon = MsgIcon::none;
};

class App {
public:
    explicit App(const std::filesystem::path& run_dir);
    ~App();  // closes what is left and waits for the program to end
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // The program's UI thread ended (its last window closed).
    bool ended() const;
    bool wait_ended(std::chrono::milliseconds limit = kWait);

    // Top-level windows of the program by class name.
    HWND find_window(const wchar_t* window_class) const;
    HWND wait_window(const wchar_t* window_class);
    bool wait_gone(const wchar_t* window_class);
    int count_windows(const wchar_t* window_class) const;

    // Input, as a user gives it.
    void set_text(HWND edit, const std::wstring& text);
    void press_enter(HWND control);
    void click(HWND button);
    void click_toolbar(HWND toolbar, int index);
    void click_list_row(HWND list, int row);
    void right_click(HWND control, POINT client_point);
    void double_click(HWND control, POINT client_point);
    void tray_event(HWND owner, UINT mouse_message);
    void move_cursor(POINT screen);
    void close_window(HWND hwnd);

    // Pop-up menus: the visible menu window, its item texts, choosing by index.
    HWND wait_menu();
    std::vector<std::wstring> menu_items(HWND menu);
    void choose_menu_item(int index);
    void dismiss_menu();

    // Message boxes. expect_box waits for one, checks it and answers it.
    Box wait_box();
    void expect_box(const std::wstring& text, const std::wstring& title, MsgButtons buttons, MsgIcon icon,
                    int answer);
    void answer(const Box& box, int id);
    // Fails on any box that is open now.
    void expect_no_box();

    // Waits until the condition holds, failing on boxes nobody expected.
    bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds limit = kWait);

    // Reading.
    static std::wstring text_of(HWND hwnd);
    static int list_rows(HWND list);
    static std::wstring list_cell(HWND list, int row, int column);
    static int list_selected(HWND list);

private:
    std::vector<HWND> thread_windows(const wchar_t* window_class) const;
    std::optional<Box> open_box() const;
    void fail_on_unexpected_box();

    HANDLE thread_ = nullptr;
    DWORD thread_id_ = 0;
    std::filesystem::path run_dir_;
};

// The child of `parent` with this control id (searching grandchildren too).
HWND control(HWND parent, int id);

std::wstring wide_text(std::u8string_view utf8);

}  // namespace wmb::ui_test
