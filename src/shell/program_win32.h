#pragma once
// The running program: its windows, its record database and message boxes.
// It is the host the portable operations call back into.

#include <windows.h>

#include <filesystem>
#include <memory>

#include "data/record_database.h"
#include "shell/config_ini.h"
#include "shell/gate.h"
#include "shell/record_files.h"
#include "shell/student_list.h"
#include "ui/controls_win32.h"

namespace wmb {

class GateWindow;
class StudentListWindow;
class AboutWindow;

struct ProgramOptions {
    std::filesystem::path run_dir;
    // Off in tests, which run the program several times in one process.
    bool single_instance = true;
};

// Opens the gate and runs the event loop until no window is left.
int run_program(const ProgramOptions& options);

// Window class names, for finding the windows from outside (tests).
inline constexpr const wchar_t* kGateWindowClass = L"WmbGateWindow";
inline constexpr const wchar_t* kStudentListWindowClass = L"WmbStudentListWindow";
inline constexpr const wchar_t* kAboutWindowClass = L"WmbAboutWindow";
inline constexpr const wchar_t* kPanelClass = L"WmbPanel";
inline constexpr UINT kToolbarCommandBase = 2000;
inline constexpr UINT kListMenuCommandBase = 3000;
inline constexpr UINT kTrayMenuEnter = 4001;
inline constexpr UINT kTrayMenuExit = 4002;

class Program : public ShellHost, public StudentListHost {
public:
    explicit Program(const ProgramOptions& options);
    ~Program() override;

    int run();

    HICON icon() const { return icon_; }
    HICON small_icon() const { return small_icon_; }
    MessageBoxes& boxes() { return boxes_; }
    RecordFiles& files() { return files_; }
    ConfigFile& config() { return config_; }
    GateWindow* gate() { return gate_.get(); }

    // A top-level window of the program was destroyed.
    void window_closed();
    // The class name typed at the gate, read by StudentListWindow's creation.
    GbkString class_name_at_gate() const;
    void hide_gate();
    void pop_up_tray_menu_for(HWND owner);
    // Another start of the program asked this one to come forward.
    void bring_forward_current();

    // ShellHost
    bool student_list_exists() const override;
    bool gate_exists() const override;
    void open_student_list() override;
    void close_student_list() override;
    void close_gate() override;
    void bring_forward_student_list() override;
    void bring_forward_gate() override;
    void pop_up_tray_menu(TrayOwner owner) override;

    // StudentListHost
    void open_add_form() override;
    void open_student_form(StudentForm form) override;
    void open_name_search() override;
    void open_deleted_students() override;
    void open_about() override;
    void delete_selected_student() override;
    void import_from_excel() override;
    void export_to_excel() override;

private:
    bool any_window_left() const;

    ProgramOptions options_;
    RunPaths paths_;
    RecordDatabase db_;
    Win32MessageBoxes boxes_;
    RecordFiles files_;
    ConfigFile config_;
    HICON icon_ = nullptr;
    HICON small_icon_ = nullptr;
    std::unique_ptr<GateWindow> gate_;
    std::unique_ptr<StudentListWindow> student_list_;
    std::unique_ptr<AboutWindow> about_;
};

}  // namespace wmb
