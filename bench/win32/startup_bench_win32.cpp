// startup_bench [--reps N]: how long the user waits for the program, timed
// from outside as a user sees it. For registers of 0, 1,000 and 10,000
// students it times process start -> the gate visible, then 进入系统 -> the
// main list visible with every row, then closing -> the process gone; a
// minimal Win32 program gives the floor for the first and last step.
// weimiaobu.exe and minimal_window.exe lie beside this program.

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <mmsystem.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "data/gbk_codec.h"
#include "data/record_database.h"
#include "data/student_record.h"
#include "shell/layout.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The program's window classes, and the one minimal_window registers.
constexpr const wchar_t* kGateWindowClass = L"WmbGateWindow";
constexpr const wchar_t* kStudentListWindowClass = L"WmbStudentListWindow";
constexpr const wchar_t* kMinimalWindowClass = L"WmbMinimalWindow";

// Long enough for 10,000 rows on a slow machine; a step that takes longer is broken.
constexpr auto kStepLimit = 60s;
constexpr int kDefaultRepetitions = 5;
constexpr std::array kStudentCounts{0, 1000, 10000};

// Sample students -----------------------------------------------------------

constexpr std::u8string_view kSurnames[] = {u8"王", u8"李", u8"张", u8"刘", u8"陈", u8"杨", u8"黄", u8"赵",  u8"吴",
                                            u8"周", u8"徐", u8"孙", u8"马", u8"朱", u8"胡", u8"郭", u8"何",  u8"高",
                                            u8"林", u8"罗", u8"郑", u8"梁", u8"谢", u8"宋", u8"唐", u8"欧阳"};
constexpr std::u8string_view kGivenNameChars[] = {
    u8"子", u8"涵", u8"浩", u8"宇", u8"欣", u8"怡", u8"梓", u8"轩", u8"雨", u8"萱", u8"思", u8"博", u8"文",
    u8"佳", u8"俊", u8"杰", u8"晨", u8"诗", u8"一", u8"诺", u8"明", u8"泽", u8"可", u8"馨", u8"婷", u8"磊",
    u8"琳", u8"鑫", u8"雪", u8"峰", u8"嘉", u8"睿", u8"晓", u8"禾", u8"若", u8"瑶", u8"志", u8"强"};
constexpr std::u8string_view kCounties[] = {u8"柳川县", u8"桃源县", u8"清河县", u8"安化县", u8"永和县", u8"石门县"};
constexpr std::u8string_view kTowns[] = {u8"东坪镇", u8"城关镇", u8"白沙镇", u8"马家乡",
                                         u8"青山镇", u8"龙潭乡", u8"柳林镇"};
constexpr std::u8string_view kVillages[] = {u8"清泉村", u8"杨柳村", u8"新华村", u8"红旗村",
                                            u8"长岭村", u8"枫树村", u8"金塘村", u8"石桥村"};
constexpr std::u8string_view kNumerals[] = {u8"一", u8"二", u8"三", u8"四", u8"五",
                                            u8"六", u8"七", u8"八", u8"九", u8"十"};
constexpr std::u8string_view kRemarks[] = {u8"",
                                           u8"",
                                           u8"",
                                           u8"班长",
                                           u8"学习委员",
                                           u8"体育特长",
                                           u8"走读，家长接送",
                                           u8"对花生过敏",
                                           u8"留守儿童，由祖父母照看",
                                           u8"转学生，2017年9月转入"};
constexpr std::string_view kRegionCodes[] = {"430921", "430523", "511025", "360723", "421181", "522422"};
constexpr std::string_view kPhonePrefixes[] = {"135", "136", "138", "139", "150", "151",
                                               "152", "158", "159", "182", "187", "188"};

// Realistic register contents, the same on every run.
class StudentMaker {
public:
    wmb::StudentRecord make(int serial) {
        wmb::StudentRecord r;
        const bool boy = chance(50);
        const std::u8string_view surname = pick(kSurnames);
        r.serial_no = serial;
        r.name = wmb::to_gbk(std::u8string(surname) + given_name());
        r.gender = wmb::to_gbk(boy ? u8"男" : u8"女");
        r.age = between(12, 15);
        r.height = between(138, 178);
        r.weight = static_cast<float>(between(70, 140)) / 2.0f;
        const std::string id = id_card_no(2017 - r.age + 12, boy);
        r.aux_student_no = wmb::GbkString::ascii("2017" + padded(serial, 5));
        r.national_student_no = wmb::GbkString::ascii("G" + id);
        r.id_card_no = wmb::GbkString::ascii(id);
        if (chance(60)) {
            r.boarding = wmb::to_gbk(u8"是");
            r.dorm_no = wmb::to_gbk(u8"3#" + ascii8(std::to_string(between(1, 5)) + padded(between(1, 20), 2)));
            r.bed_no = wmb::GbkString::ascii(std::to_string(between(1, 8)));
        } else {
            r.boarding = wmb::to_gbk(u8"否");
        }
        r.home_address =
            wmb::to_gbk(std::u8string(pick(kCounties)) + std::u8string(pick(kTowns)) + std::u8string(pick(kVillages)) +
                        std::u8string(pick(kNumerals)) + u8"组" + ascii8(std::to_string(between(1, 120))) + u8"号");
        const bool grandparents = chance(15);
        r.guardian1_relation = wmb::to_gbk(grandparents ? u8"祖父" : u8"父亲");
        r.guardian1_name = wmb::to_gbk(std::u8string(surname) + given_name());
        r.guardian1_phone = wmb::GbkString::ascii(phone());
        r.guardian2_relation = wmb::to_gbk(grandparents ? u8"祖母" : u8"母亲");
        r.guardian2_name = wmb::to_gbk(std::u8string(pick(kSurnames)) + given_name());
        r.guardian2_phone = wmb::GbkString::ascii(phone());
        r.remarks = wmb::to_gbk(pick(kRemarks));
        return r;
    }

private:
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool chance(int percent) { return between(1, 100) <= percent; }
    template <class T>
    T pick(std::span<const T> items) {
        return items[static_cast<std::size_t>(between(0, static_cast<int>(items.size()) - 1))];
    }
    template <class T, std::size_t N>
    T pick(const T (&items)[N]) {
        return pick(std::span<const T>(items));
    }

    static std::u8string ascii8(const std::string& text) { return std::u8string(text.begin(), text.end()); }
    static std::string padded(int value, int width) {
        std::string s = std::to_string(value);
        return std::string(static_cast<std::size_t>(std::max(0, width - static_cast<int>(s.size()))), '0') + s;
    }

    std::u8string given_name() {
        std::u8string name(pick(kGivenNameChars));
        if (chance(70)) name += pick(kGivenNameChars);
        return name;
    }

    // 18 digits: region, birth date, sequence (odd for boys), check digit.
    std::string id_card_no(int birth_year, bool boy) {
        std::string id = std::string(pick(kRegionCodes)) + std::to_string(birth_year) + padded(between(1, 12), 2) +
                         padded(between(1, 28), 2) + padded(between(0, 99), 2) +
                         std::to_string(between(0, 4) * 2 + (boy ? 1 : 0));
        constexpr int kWeights[] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
        int sum = 0;
        for (std::size_t i = 0; i < 17; ++i) sum += (id[i] - '0') * kWeights[i];
        id += "10X98765432"[sum % 11];
        return id;
    }

    std::string phone() { return std::string(pick(kPhonePrefixes)) + padded(between(0, 99999999), 8); }

    std::mt19937 random_{20170901};
};

// Run folders ---------------------------------------------------------------

std::string narrow(const std::wstring& text) {
    const std::u8string u8 = wmb::utf16_to_utf8(std::u16string(text.begin(), text.end()));
    return std::string(u8.begin(), u8.end());
}

void check(const wmb::DbResult& result, const char* what) {
    if (result) return;
    throw std::runtime_error(std::string(what) + ": " + std::string(result.message.begin(), result.message.end()));
}

// A folder as the teacher keeps it: the program, both registers, the photo
// folder and config.ini with the class name, so the gate asks nothing.
fs::path prepare_program_folder(const fs::path& root, const fs::path& program, int students) {
    const fs::path dir = root / ("students-" + std::to_string(students));
    fs::create_directories(dir / "photo");
    fs::copy_file(program, dir / "weimiaobu.exe", fs::copy_options::overwrite_existing);
    check(wmb::RecordDatabase::create_register(dir / "xsdate.edb"), "cannot create the register");
    check(wmb::RecordDatabase::create_register(dir / "deldate.edb"), "cannot create the register");
    wmb::RecordDatabase db;
    check(db.open(dir / "xsdate.edb"), "cannot open the register");
    StudentMaker maker;
    for (int serial = 1; serial <= students; ++serial) check(db.append(maker.make(serial)), "cannot add a student");
    check(db.close(), "cannot write the register");
    std::ofstream(dir / "config.ini", std::ios::binary) << wmb::utf8_to_gbk(u8"[学校班级]\r\ndate=1班\r\n");
    return dir / "weimiaobu.exe";
}

fs::path prepare_minimal_folder(const fs::path& root, const fs::path& program) {
    const fs::path dir = root / "minimal";
    fs::create_directories(dir);
    fs::copy_file(program, dir / "minimal_window.exe", fs::copy_options::overwrite_existing);
    return dir / "minimal_window.exe";
}

// Watching a process from outside -------------------------------------------

class Process {
public:
    explicit Process(const fs::path& exe) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring command = L"\"" + exe.wstring() + L"\"";
        const std::wstring dir = exe.parent_path().wstring();
        if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &startup,
                            &info_))
            throw std::runtime_error("cannot start " + narrow(exe.wstring()));
    }
    ~Process() {
        if (WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD id() const { return info_.dwProcessId; }
    bool wait_exit(std::chrono::milliseconds limit) const {
        return WaitForSingleObject(info_.hProcess, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
    }

private:
    PROCESS_INFORMATION info_{};
};

// The process's visible top-level window of this class.
HWND visible_window(DWORD process_id, const wchar_t* window_class) {
    HWND hwnd = nullptr;
    while ((hwnd = FindWindowExW(nullptr, hwnd, window_class, nullptr))) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == process_id && IsWindowVisible(hwnd)) return hwnd;
    }
    return nullptr;
}

int list_row_count(HWND list) {
    DWORD_PTR rows = 0;
    if (!SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &rows)) return -1;
    return static_cast<int>(rows);
}

// A message box would wait for a user who is not there: the run is void.
void fail_on_message_box(DWORD process_id) {
    if (HWND box = visible_window(process_id, L"#32770")) {
        wchar_t text[512] = {};
        GetWindowTextW(box, text, 512);
        throw std::runtime_error("the program shows a message box: " + narrow(text));
    }
}

// Polls every millisecond until `found` gives a window; the time of the
// first poll that saw it is the end of the step.
template <class Find>
HWND wait_for(DWORD process_id, Find found, const char* what) {
    const auto deadline = Clock::now() + kStepLimit;
    for (;;) {
        if (HWND hwnd = found()) return hwnd;
        fail_on_message_box(process_id);
        if (Clock::now() > deadline) throw std::runtime_error(std::string("timed out waiting for ") + what);
        Sleep(1);
    }
}

double ms_between(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Run {
    double start_ms = 0;             // process start -> first window visible
    std::optional<double> enter_ms;  // 进入系统 -> main list visible and full
    double exit_ms = 0;              // WM_CLOSE -> process gone
};

void close_and_wait(const Process& process, HWND window, Run& run) {
    const auto closed = Clock::now();
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (!process.wait_exit(std::chrono::duration_cast<std::chrono::milliseconds>(kStepLimit)))
        throw std::runtime_error("the program did not end after WM_CLOSE");
    run.exit_ms = ms_between(closed, Clock::now());
}

Run run_minimal(const fs::path& exe) {
    Run run;
    const auto started = Clock::now();
    Process process(exe);
    HWND window = wait_for(
        process.id(), [&] { return visible_window(process.id(), kMinimalWindowClass); }, "the minimal window");
    run.start_ms = ms_between(started, Clock::now());
    close_and_wait(process, window, run);
    return run;
}

Run run_program(const fs::path& exe, int students) {
    Run run;
    const auto started = Clock::now();
    Process process(exe);
    HWND gate = wait_for(
        process.id(), [&] { return visible_window(process.id(), kGateWindowClass); }, "the gate");
    run.start_ms = ms_between(started, Clock::now());

    HWND enter = GetDlgItem(gate, wmb::gate_layout::k按钮_确定);
    if (!enter) throw std::runtime_error("the gate has no enter button");
    const auto clicked = Clock::now();
    PostMessageW(enter, BM_CLICK, 0, 0);
    HWND main = wait_for(
        process.id(),
        [&]() -> HWND {
            HWND hwnd = visible_window(process.id(), kStudentListWindowClass);
            if (!hwnd) return nullptr;
            HWND list = GetDlgItem(hwnd, wmb::list_layout::k超级列表框1);
            return list && list_row_count(list) == students ? hwnd : nullptr;
        },
        "the main list");
    run.enter_ms = ms_between(clicked, Clock::now());

    close_and_wait(process, main, run);
    return run;
}

// The table -----------------------------------------------------------------

struct Summary {
    double median = 0, min = 0;
};

Summary summarize(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front()};
}

template <class RunOnce>
void measure(const char* label, int repetitions, RunOnce run_once) {
    run_once();  // the first start in a fresh folder meets cold caches (and Wine's warm-up): not counted
    std::vector<double> start, enter, closing;
    for (int i = 0; i < repetitions; ++i) {
        const Run run = run_once();
        start.push_back(run.start_ms);
        if (run.enter_ms) enter.push_back(*run.enter_ms);
        closing.push_back(run.exit_ms);
    }
    const Summary s = summarize(start), x = summarize(closing);
    std::printf("%-26s %9.1f %7.1f", label, s.median, s.min);
    if (enter.empty()) {
        std::printf(" %9s %7s", "-", "-");
    } else {
        const Summary e = summarize(enter);
        std::printf(" %9.1f %7.1f", e.median, e.min);
    }
    std::printf(" %9.1f %7.1f\n", x.median, x.min);
    std::fflush(stdout);
}

// 10000 -> "10,000"
std::string grouped(int value) {
    const std::string digits = std::to_string(value);
    std::string s;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) s += ',';
        s += digits[i];
    }
    return s;
}

fs::path own_folder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return fs::path(path).parent_path();
        }
        path.resize(path.size() * 2);
    }
}

fs::path scratch_root() {
    wchar_t tmp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, tmp);
    return fs::path(tmp) / (L"wmb-startup-bench-" + std::to_wstring(GetCurrentProcessId()));
}

int run_bench(int repetitions) {
    const fs::path here = own_folder();
    for (const wchar_t* name : {L"weimiaobu.exe", L"minimal_window.exe"})
        if (!fs::exists(here / name)) throw std::runtime_error(narrow(name) + " is not beside startup_bench.exe");

    const fs::path root = scratch_root();
    struct Cleanup {
        fs::path root;
        ~Cleanup() {
            std::error_code ignored;
            fs::remove_all(root, ignored);
        }
    } cleanup{root};

    std::printf("Startup, %d runs per case after one warm-up run; times in ms\n\n", repetitions);
    std::printf("%-26s %17s %17s %17s\n", "", "start -> window", "enter -> list", "close -> exit");
    std::printf("%-26s %9s %7s %9s %7s %9s %7s\n", "case", "median", "min", "median", "min", "median", "min");

    const fs::path minimal = prepare_minimal_folder(root, here / "minimal_window.exe");
    measure("minimal window", repetitions, [&] { return run_minimal(minimal); });
    for (int students : kStudentCounts) {
        const fs::path program = prepare_program_folder(root, here / "weimiaobu.exe", students);
        const std::string label = "weimiaobu, " + grouped(students) + " students";
        measure(label.c_str(), repetitions, [&] { return run_program(program, students); });
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int repetitions = kDefaultRepetitions;
    for (int i = 1; i < argc; ++i) {
        if (std::wstring_view(argv[i]) == L"--reps" && i + 1 < argc) {
            repetitions = _wtoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: startup_bench [--reps N]\n");
            return 2;
        }
    }
    if (repetitions < 1) {
        std::fprintf(stderr, "--reps needs a number of at least 1\n");
        return 2;
    }
    // Sleep(1) sleeps 1 ms only with a 1 ms timer period.
    timeBeginPeriod(1);
    int status = 1;
    try {
        status = run_bench(repetitions);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "startup_bench: %s\n", e.what());
    }
    timeEndPeriod(1);
    return status;
}
