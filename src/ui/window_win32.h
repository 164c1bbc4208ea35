#pragma once
// Base of the program's top-level windows: binds the C++ object to its HWND
// at WM_NCCREATE and routes messages to it, keeping exceptions out of Windows.

#include <windows.h>

#include <string_view>

#include "shell/layout.h"

namespace wmb {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }
    bool exists() const { return hwnd_ != nullptr; }
    void close();  // as the close box does
    UINT dpi() const { return dpi_; }

protected:
    // Creates the window with its outer size at the DPI of the monitor it opens on.
    bool create_window(const wchar_t* window_class, std::wstring_view caption, DWORD style, const WindowSize& size);
    virtual LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp);
    // After WM_NCDESTROY: the HWND is gone.
    virtual void on_destroyed() {}
    // A new DPI: relayout. The window has already been moved to the suggested rect.
    virtual void on_dpi_changed() {}

    static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

private:
    HWND hwnd_ = nullptr;
    UINT dpi_ = 96;
};

}  // namespace wmb
