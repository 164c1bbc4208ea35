#include "harness_win32.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "data/gbk_codec.h"
#include "data/record_database.h"
#include "shell/program_win32.h"
#include "ui/tray_icon_win32.h"

namespace wmb::ui_test {

namespace {

constexpr int kMessageBoxTextId = 0xFFFF;
constexpr int kMessageBoxIconIds[] = {1088, 20};  // Wine, Windows

std::wstring class_of(HWND hwnd) {
    wchar_t name[128] = {};
    GetClassNameW(hwnd, name, 128);
    return name;
}

LPARAM point_lparam(POINT p) { return MAKELPARAM(p.x, p.y); }

void pause_briefly() { Sleep(20); }

}  // namespace

std::wstring wide_text(std::u8string_view utf8) {
    std::u16string u = utf8_to_utf16(utf8);
    return std::wstring(u.begin(), u.end());
}

HWND control(HWND parent, int id) {
    HWND direct = GetDlgItem(parent, id);
    if (direct) return direct;
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (GetDlgCtrlID(child) == s->id) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// RunFolder ---------------------------------------------------------------

RunFolder::RunFolder() {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::random_device rd;
    wchar_t name[64];
    swprintf(name, 64, L"wmb-ui-%lu-%u", GetCurrentProcessId(), rd());
    path_ = std::filesystem::path(tmp) / name;
    std::filesystem::create_directories(path_ / "photo");
    for (const char* name : {"xsdate.edb", "deldate.edb"}) {
        DbResult r = RecordDatabase::create_register(path_ / name);
        EXPECT_TRUE(r) << "cannot create " << name;
    }
}

RunFolder::~RunFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void RunFolder::write_config(const std::string& gbk_bytes) {
    std::ofstream(path_ / "config.ini", std::ios::binary) << gbk_bytes;
}

std::string RunFolder::read_bytes(const char* name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void RunFolder::add_students(const std::vector<StudentRecord>& records, const char* file) {
    RecordDatabase db;
    ASSERT_TRUE(db.open(path_ / file));
    for (const StudentRecord& r : records) ASSERT_TRUE(db.append(r));
    ASSERT_TRUE(db.close());
}

int RunFolder::record_count(const char* file) {
    RecordDatabase db;
    if (!db.open(path_ / file)) return -1;
    int n = db.record_count();
    db.close();
    return n;
}

StudentRecord sample_student(int serial, const std::u8string& name) {
    StudentRecord r;
    r.serial_no = serial;
    r.name = to_gbk(name);
    r.gender = to_gbk(u8"女");
    r.height = 150 + serial;
    r.weight = 45.5f;
    r.age = 12;
    char buf[64];
    snprintf(buf, sizeof buf, "A%d", serial);
    r.aux_student_no = GbkString::ascii(buf);
    snprintf(buf, sizeof buf, "G10000020150201%d", 1000 + serial);
    r.national_student_no = GbkString::ascii(buf);
    r.boarding = to_gbk(u8"是");
    r.dorm_no = to_gbk(u8"1#201");
    r.bed_no = GbkString::ascii(std::to_string(serial));
    snprintf(buf, sizeof buf, "10000020150201%d", 1000 + serial);
    r.id_card_no = GbkString::ascii(buf);
    r.home_address = to_gbk(u8"柳川县东坪镇清泉村三组66号");
    r.guardian1_relation = to_gbk(u8"父亲");
    r.guardian1_name = to_gbk(u8"小桔子");
    r.guardian1_phone = GbkString::ascii("13500002222");
    r.guardian2_relation = to_gbk(u8"母亲");
    r.guardian2_name = to_gbk(u8"小樱桃");
    r.guardian2_phone = GbkString::ascii("13500001111");
    r.remarks = to_gbk(u8"备注" + std::u8string(1, static_cast<char8_t>(u8'0' + serial % 10)));
    return r;
}

// App ---------------------------------------------------------------------

App::App(const std::filesystem::path& run_dir) : run_dir_(run_dir) {
    auto* dir = new std::filesystem::path(run_dir);
    thread_ = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            std::unique_ptr<std::filesystem::path> path(static_cast<std::filesystem::path*>(p));
            ProgramOptions options;
            options.run_dir = *path;
            options.single_instance = false;
            return static_cast<DWORD>(run_program(options));
        },
        dir, 0, &thread_id_);
}

App::~App() {
    if (!ended()) {
        // Whatever the test left open: boxes answered, menus dismissed, windows closed.
        for (int round = 0; round < 50 && !ended(); ++round) {
            if (auto box = open_box()) {
                answer(*box, box->ok ? IDOK : IDNO);
            } else if (!thread_windows(L"#32768").empty()) {
                dismiss_menu();
            } else {
                for (HWND w : thread_windows(nullptr))
                    if (IsWindowVisible(w) || class_of(w) == kGateWindowClass) PostMessageW(w, WM_CLOSE, 0, 0);
            }
            WaitForSingleObject(thread_, 200);
        }
    }
    if (WaitForSingleObject(thread_, 10000) != WAIT_OBJECT_0) {
        fprintf(stderr, "the program did not end; stopping the test run\n");
        fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
    }
    CloseHandle(thread_);
}

bool App::ended() const { return WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0; }

bool App::wait_ended(std::chrono::milliseconds limit) {
    return wait_until([&] { return ended(); }, limit);
}

std::vector<HWND> App::thread_windows(const wchar_t* window_class) const {
    struct Collect {
        const wchar_t* cls;
        std::vector<HWND> found;
    } collect{window_class, {}};
    EnumThreadWindows(
        thread_id_,
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Collect*>(lp);
            if (!c->cls || class_of(hwnd) == c->cls) c->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&collect));
    return collect.found;
}

HWND App::find_window(const wchar_t* window_class) const {
    auto w = thread_windows(window_class);
    return w.empty() ? nullptr : w.front();
}

int App::count_windows(const wchar_t* window_class) const { return static_cast<int>(thread_windows(window_class).size()); }

HWND App::wait_window(const wchar_t* window_class) {
    HWND found = nullptr;
    wait_until([&] {
        found = find_window(window_class);
        return found && IsWindowVisible(found);
    });
    EXPECT_NE(found, nullptr) << "no window of class " << std::string(window_class, window_class + wcslen(window_class));
    return found;
}

bool App::wait_gone(const wchar_t* window_class) {
    return wait_until([&] { return find_window(window_class) == nullptr; });
}

std::optional<Box> App::open_box() const {
    for (HWND w : thread_windows(L"#32770")) {
        if (!IsWindowVisible(w)) continue;
        Box box;
        box.hwnd = w;
        box.title = text_of(w);
        // The text static is filled after the box is created: give it a moment.
        for (int i = 0; i < 100 && box.text.empty(); ++i) {
            box.text = text_of(GetDlgItem(w, kMessageBoxTextId));
            if (box.text.empty()) Sleep(10);
        }
        auto visible = [&](int id) {
            HWND b = GetDlgItem(w, id);
            return b && IsWindowVisible(b);
        };
        box.ok = visible(IDOK);
        box.yes = visible(IDYES);
        box.no = visible(IDNO);
        for (int id : kMessageBoxIconIds) {
            HWND icon = GetDlgItem(w, id);
            if (!icon || !IsWindowVisible(icon)) continue;
            auto h = reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0));
            if (!h) continue;
            if (h == LoadIconW(nullptr, IDI_WARNING)) box.icon = MsgIcon::warning;
            else if (h == LoadIconW(nullptr, IDI_INFORMATION)) box.icon = MsgIcon::information;
            else if (h == LoadIconW(nullptr, IDI_ERROR)) box.icon = MsgIcon::error;
        }
        return box;
    }
    return std::nullopt;
}

void App::fail_on_unexpected_box() {
    if (auto box = open_box()) {
        auto u8 = [](const std::wstring& w) {
            std::u8string s = utf16_to_utf8(std::u16string(w.begin(), w.end()));
            return std::string(s.begin(), s.end());
        };
        ADD_FAILURE() << "unexpected message box: " << u8(box->text) << " (" << u8(box->title) << ")";
        answer(*box, box->ok ? IDOK : IDNO);
        Sleep(50);
    }
}

bool App::wait_until(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (condition()) return true;
        fail_on_unexpected_box();
        if (std::chrono::steady_clock::now() > deadline) return false;
        pause_briefly();
    }
}

Box App::wait_box() {
    std::optional<Box> box;
    auto deadline = std::chrono::steady_clock::now() + kWait;
    while (!(box = open_box()) && std::chrono::steady_clock::now() < deadline) pause_briefly();
    if (!box) {
        ADD_FAILURE() << "no message box appeared";
        return Box{};
    }
    return *box;
}

void App::answer(const Box& box, int id) {
    if (!box.hwnd) return;
    HWND button = GetDlgItem(box.hwnd, id);
    PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    auto deadline = std::chrono::steady_clock::now() + kWait;
    while (IsWindow(box.hwnd) && std::chrono::steady_clock::now() < deadline) pause_briefly();
    EXPECT_FALSE(IsWindow(box.hwnd)) << "the message box did not close";
}

void App::expect_box(const std::wstring& text, const std::wstring& title, MsgButtons buttons, MsgIcon icon,
                     int answer_id) {
    Box box = wait_box();
    if (!box.hwnd) return;
    auto u8 = [](const std::wstring& w) {
        std::u8string s = utf16_to_utf8(std::u16string(w.begin(), w.end()));
        return std::string(s.begin(), s.end());
    };
    EXPECT_EQ(u8(box.text), u8(text));
    EXPECT_EQ(u8(box.title), u8(title));
    if (buttons == MsgButtons::ok) {
        EXPECT_TRUE(box.ok && !box.yes && !box.no) << "expected only OK: " << u8(text);
    } else {
        EXPECT_TRUE(box.yes && box.no && !box.ok) << "expected Yes and No: " << u8(text);
    }
    EXPECT_EQ(static_cast<int>(box.icon), static_cast<int>(icon)) << u8(text);
    answer(box, answer_id);
}

void App::expect_no_box() {
    Sleep(100);
    fail_on_unexpected_box();
}

void App::set_text(HWND edit, const std::wstring& text) {
    DWORD_PTR r;
    SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 5000, &r);
}

void App::press_enter(HWND control_hwnd) {
    PostMessageW(control_hwnd, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(control_hwnd, WM_CHAR, L'\r', 0x001C0001);
    PostMessageW(control_hwnd, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001u));
}

void App::click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void App::click_toolbar(HWND toolbar, int index) {
    RECT rc{};
    SendMessageW(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc));
    POINT p{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    PostMessageW(toolbar, WM_MOUSEMOVE, 0, point_lparam(p));
    PostMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, point_lparam(p));
    PostMessageW(toolbar, WM_LBUTTONUP, 0, point_lparam(p));
}

void App::click_list_row(HWND list, int row) {
    RECT rc{};
    rc.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rc));
    POINT p{rc.left + 10, (rc.top + rc.bottom) / 2};
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point_lparam(p));
    PostMessageW(list, WM_LBUTTONUP, 0, point_lparam(p));
}

void App::right_click(HWND target, POINT client_point) {
    POINT screen = client_point;
    ClientToScreen(target, &screen);
    move_cursor(screen);
    PostMessageW(target, WM_RBUTTONDOWN, MK_RBUTTON, point_lparam(client_point));
    PostMessageW(target, WM_RBUTTONUP, 0, point_lparam(client_point));
}

void App::move_cursor(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    // Wine moves the pointer asynchronously: wait until the move has arrived.
    wait_until(
        [&] {
            POINT now{};
            GetCursorPos(&now);
            return now.x == screen.x && now.y == screen.y;
        },
        2s);
}

void App::double_click(HWND target, POINT client_point) {
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, point_lparam(client_point));
    PostMessageW(target, WM_LBUTTONUP, 0, point_lparam(client_point));
    PostMessageW(target, WM_LBUTTONDBLCLK, MK_LBUTTON, point_lparam(client_point));
    PostMessageW(target, WM_LBUTTONUP, 0, point_lparam(client_point));
}

void App::tray_event(HWND owner, UINT mouse_message) { PostMessageW(owner, kTrayCallbackMessage, 1, mouse_message); }

void App::close_window(HWND hwnd) { PostMessageW(hwnd, WM_CLOSE, 0, 0); }

HWND App::wait_menu() {
    HWND menu = nullptr;
    auto deadline = std::chrono::steady_clock::now() + kWait;
    while (std::chrono::steady_clock::now() < deadline) {
        for (HWND w : thread_windows(L"#32768"))
            if (IsWindowVisible(w)) menu = w;
        if (menu) break;
        pause_briefly();
    }
    EXPECT_NE(menu, nullptr) << "no pop-up menu appeared";
    return menu;
}

std::vector<std::wstring> App::menu_items(HWND menu) {
    std::vector<std::wstring> items;
    auto hmenu = reinterpret_cast<HMENU>(SendMessageW(menu, 0x01E1 /* MN_GETHMENU */, 0, 0));
    int n = GetMenuItemCount(hmenu);
    for (int i = 0; i < n; ++i) {
        wchar_t buf[128] = {};
        GetMenuStringW(hmenu, static_cast<UINT>(i), buf, 128, MF_BYPOSITION);
        items.emplace_back(buf);
    }
    return items;
}

void App::choose_menu_item(int index) {
    HWND menu = wait_menu();
    if (!menu) return;
    for (int i = 0; i <= index; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    wait_until([&] { return !IsWindow(menu) || !IsWindowVisible(menu); });
}

void App::dismiss_menu() {
    for (HWND w : thread_windows(L"#32768"))
        if (IsWindowVisible(w)) PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
}

std::wstring App::text_of(HWND hwnd) {
    if (!hwnd) return {};
    wchar_t buf[4096] = {};
    DWORD_PTR r = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL, 5000, &r);
    return buf;
}

int App::list_rows(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring App::list_cell(HWND list, int row, int column) {
    wchar_t buf[1024] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buf;
    item.cchTextMax = 1024;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buf;
}

int App::list_selected(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

}  // namespace wmb::ui_test
