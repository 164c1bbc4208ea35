// The real .exe as its own process: one program per run folder.

#include <gtest/gtest.h>

#include "data/gbk_codec.h"
#include "harness_win32.h"
#include "shell/program_win32.h"

namespace wmb::ui_test {
namespace {

std::filesystem::path program_exe() {
    std::wstring unix_path = wide_text(std::u8string(reinterpret_cast<const char8_t*>(WMB_PROGRAM_EXE)));
    for (wchar_t& c : unix_path)
        if (c == L'/') c = L'\\';
    return std::filesystem::path(L"Z:" + unix_path);
}

struct Process {
    PROCESS_INFORMATION info{};
    explicit Process(const std::filesystem::path& exe) {
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        std::wstring cmd = L"\"" + exe.wstring() + L"\"";
        EXPECT_TRUE(CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   exe.parent_path().c_str(), &si, &info));
    }
    ~Process() {
        if (info.hProcess) {
            if (WaitForSingleObject(info.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
    }
    bool exited_within(DWORD ms) const { return WaitForSingleObject(info.hProcess, ms) == WAIT_OBJECT_0; }
};

std::vector<HWND> gates_of(DWORD pid) {
    struct Collect {
        DWORD pid;
        std::vector<HWND> found;
    } c{pid, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Collect*>(lp);
            wchar_t cls[64] = {};
            GetClassNameW(hwnd, cls, 64);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if ((c->pid == 0 || owner == c->pid) && std::wstring(cls) == kGateWindowClass && IsWindowVisible(hwnd))
                c->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&c));
    return c.found;
}

bool poll(const std::function<bool()>& condition) {
    for (int i = 0; i < 500; ++i) {
        if (condition()) return true;
        Sleep(20);
    }
    return false;
}

TEST(Program, SecondStartBringsTheFirstForwardAndEnds) {
    RunFolder folder;
    folder.write_config(utf8_to_gbk(u8"[学校班级]\r\ndate=1班\r\n"));
    const std::filesystem::path exe = folder.path() / "weimiaobu.exe";
    ASSERT_TRUE(std::filesystem::copy_file(program_exe(), exe)) << program_exe().string();

    Process first(exe);
    ASSERT_TRUE(poll([&] { return gates_of(first.info.dwProcessId).size() == 1; }));
    HWND gate = gates_of(first.info.dwProcessId).front();
    ShowWindow(gate, SW_MINIMIZE);
    ASSERT_TRUE(poll([&] { return IsIconic(gate) != FALSE; }));

    Process second(exe);
    EXPECT_TRUE(second.exited_within(10000)) << "the second start ends by itself";
    EXPECT_TRUE(poll([&] { return !IsIconic(gate); })) << "the running program comes forward";
    EXPECT_EQ(gates_of(0).size(), 1u);

    PostMessageW(gate, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.exited_within(10000));
}

}  // namespace
}  // namespace wmb::ui_test
