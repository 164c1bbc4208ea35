#include "shell/program_win32.h"

#include <commctrl.h>
#include <objbase.h>

#include <cwctype>

#include "resource_ids.h"
#include "shell/about_window_win32.h"
#include "shell/gate_window_win32.h"
#include "shell/student_list_window_win32.h"
#include "ui/picture_win32.h"

namespace wmb {

namespace {

constexpr const wchar_t* kInstanceClass = L"WmbInstance";
constexpr UINT kComeForwardMessage = WM_APP + 20;

// One program per run directory: two copies of the program in two folders
// keep two classes, but one register is never worked on twice.
std::wstring instance_key(const std::filesystem::path& run_dir) {
    std::wstring s = std::filesystem::absolute(run_dir).lexically_normal().wstring();
    std::uint64_t h = 1469598103934665603ull;
    for (wchar_t c : s) {
        c = c == L'/' ? L'\\' : static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
        h = (h ^ static_cast<std::uint64_t>(c)) * 1099511628211ull;
    }
    wchar_t buf[64];
    swprintf(buf, 64, L"Local\\WeiMiaoBu-%016llx", static_cast<unsigned long long>(h));
    return buf;
}

LRESULT CALLBACK instance_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kComeForwardMessage) {
        auto* program = reinterpret_cast<Program*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (program) guarded([&] { program->bring_forward_current(); });
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// The window through which a second start reaches the running program.
class InstanceGuard {
public:
    // False when the program already runs for this folder (it was asked to come forward).
    bool acquire(const std::filesystem::path& run_dir, Program& program) {
        std::wstring key = instance_key(run_dir);
        mutex_ = CreateMutexW(nullptr, TRUE, key.c_str());
        if (mutex_ && GetLastError() == ERROR_ALREADY_EXISTS) {
            HWND other = nullptr;
            // The first start may still be creating its window.
            for (int i = 0; i < 50 && !other; ++i) {
                other = FindWindowExW(HWND_MESSAGE, nullptr, kInstanceClass, key.c_str());
                if (!other) Sleep(100);
            }
            if (other) {
                DWORD pid = 0;
                GetWindowThreadProcessId(other, &pid);
                AllowSetForegroundWindow(pid);
                PostMessageW(other, kComeForwardMessage, 0, 0);
            }
            return false;
        }
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = instance_proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kInstanceClass;
        RegisterClassExW(&wc);
        window_ = CreateWindowExW(0, kInstanceClass, key.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&program));
        return true;
    }
    ~InstanceGuard() {
        if (window_) DestroyWindow(window_);
        if (mutex_) CloseHandle(mutex_);
    }

private:
    HANDLE mutex_ = nullptr;
    HWND window_ = nullptr;
};

HICON load_icon(int size) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, size, size,
                                         LR_DEFAULTCOLOR));
}

}  // namespace

int run_program(const ProgramOptions& options) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_LISTVIEW_CLASSES |
                                              ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    int code = 0;
    {
        GdiplusSession gdiplus;
        Program program(options);
        InstanceGuard instance;
        if (!options.single_instance || instance.acquire(options.run_dir, program)) code = program.run();
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return code;
}

Program::Program(const ProgramOptions& options)
    : options_(options),
      paths_{options.run_dir},
      files_(db_, boxes_, paths_),
      config_(paths_.config_file()) {
    icon_ = load_icon(GetSystemMetrics(SM_CXICON));
    small_icon_ = load_icon(GetSystemMetrics(SM_CXSMICON));
}

Program::~Program() {
    about_.reset();
    student_list_.reset();
    gate_.reset();
    if (icon_) DestroyIcon(icon_);
    if (small_icon_) DestroyIcon(small_icon_);
}

int Program::run() {
    gate_ = std::make_unique<GateWindow>(*this);
    if (!gate_->create()) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Tab moves between the controls of every window.
        HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (top && IsDialogMessageW(top, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

bool Program::any_window_left() const {
    return (gate_ && gate_->exists()) || (student_list_ && student_list_->exists()) || (about_ && about_->exists());
}

void Program::window_closed() {
    if (!any_window_left()) PostQuitMessage(0);
}

GbkString Program::class_name_at_gate() const {
    return gate_ && gate_->exists() ? gate_->class_box().text() : GbkString();
}

void Program::hide_gate() {
    if (gate_ && gate_->exists()) ShowWindow(gate_->hwnd(), SW_HIDE);
}

bool Program::student_list_exists() const { return student_list_ && student_list_->exists(); }

bool Program::gate_exists() const { return gate_ && gate_->exists(); }

void Program::open_student_list() {
    if (student_list_exists()) {
        bring_forward_student_list();
        return;
    }
    student_list_ = std::make_unique<StudentListWindow>(*this);
    student_list_->create(class_name_at_gate());
}

void Program::close_student_list() {
    if (student_list_exists()) student_list_->close();
}

void Program::close_gate() {
    if (gate_exists()) gate_->close();
}

void Program::bring_forward_student_list() {
    if (student_list_exists()) bring_forward(student_list_->hwnd());
}

void Program::bring_forward_gate() {
    if (gate_exists()) bring_forward(gate_->hwnd());
}

void Program::bring_forward_current() {
    if (student_list_exists()) bring_forward_student_list();
    else bring_forward_gate();
}

void Program::pop_up_tray_menu(TrayOwner owner) {
    HWND hwnd = nullptr;
    if (owner == TrayOwner::gate && gate_exists()) hwnd = gate_->hwnd();
    if (owner == TrayOwner::student_list && student_list_exists()) hwnd = student_list_->hwnd();
    if (hwnd) pop_up_tray_menu_for(hwnd);
}

void Program::pop_up_tray_menu_for(HWND owner) {
    static constexpr MenuEntry kItems[] = {{kTrayMenuEnter, u8"进入系统"}, {kTrayMenuExit, u8"退出系统"}};
    // The cursor of the tray event that asked for the menu.
    DWORD pos = GetMessagePos();
    POINT pt{static_cast<short>(LOWORD(pos)) - 5, static_cast<short>(HIWORD(pos)) - 5};
    // Without being foreground the menu would not close on a click elsewhere.
    SetForegroundWindow(owner);
    UINT chosen = pop_up_menu(owner, kItems, pt, TPM_RIGHTALIGN | TPM_TOPALIGN);
    PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen == kTrayMenuEnter) tray_menu_enter(*this);
    else if (chosen == kTrayMenuExit) tray_menu_exit(*this);
}

void Program::open_about() {
    if (about_ && about_->exists()) {
        bring_forward(about_->hwnd());
        return;
    }
    about_ = std::make_unique<AboutWindow>(*this);
    about_->create();
}

// The forms, the bin, the search and the Excel exchange arrive with their own windows.
void Program::open_add_form() {}
void Program::open_student_form(StudentForm) {}
void Program::open_name_search() {}
void Program::open_deleted_students() {}
void Program::delete_selected_student() {}
void Program::import_from_excel() {}
void Program::export_to_excel() {}

}  // namespace wmb
