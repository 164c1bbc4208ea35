#include "ui/window_win32.h"

#include "ui/win32_util_win32.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace wmb {

Window::~Window() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void Window::close() {
    if (hwnd_) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

bool Window::create_window(const wchar_t* window_class, std::wstring_view caption, DWORD style,
                           const WindowSize& size) {
    dpi_ = dpi_of(nullptr);
    RECT rc = centred_window_rect(size, dpi_);
    std::wstring title(caption);
    HWND hwnd = CreateWindowExW(0, window_class, title.c_str(), style, rc.left, rc.top, rc.right - rc.left,
                                rc.bottom - rc.top, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!hwnd) return false;
    // The monitor may have another DPI than the system: size the window for it.
    UINT real = dpi_of(hwnd);
    if (real != dpi_) {
        dpi_ = real;
        RECT r2 = centred_window_rect(size, dpi_);
        SetWindowPos(hwnd, nullptr, r2.left, r2.top, r2.right - r2.left, r2.bottom - r2.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        on_dpi_changed();
    }
    return true;
}

LRESULT Window::on_message(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DPICHANGED) {
        dpi_ = HIWORD(wp);
        const RECT* r = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        on_dpi_changed();
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Window::window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    LRESULT result = 0;
    bool handled = false;
    guarded([&] {
        result = self->on_message(msg, wp, lp);
        handled = true;
    });
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->on_destroyed();
    }
    return handled ? result : DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace wmb
