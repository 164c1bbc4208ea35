// 蔚苗簿: the program starts here.

#include <windows.h>

#include <filesystem>
#include <string>

#include "shell/program_win32.h"

namespace {

// The folder that holds the program file.
std::filesystem::path run_directory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return std::filesystem::path(path).parent_path();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wmb::ProgramOptions options;
    options.run_dir = run_directory();
    return wmb::run_program(options);
}
