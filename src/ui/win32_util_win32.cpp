#include "ui/win32_util_win32.h"

#include <exception>

#include "data/gbk_codec.h"

namespace wmb {

std::wstring wide(std::u8string_view utf8) {
    std::u16string u = utf8_to_utf16(utf8);
    return std::wstring(u.begin(), u.end());
}

std::wstring wide(const GbkString& text) {
    std::u16string u = gbk_to_utf16(text.bytes());
    return std::wstring(u.begin(), u.end());
}

GbkString gbk_from_wide(std::wstring_view text) {
    return GbkString(utf16_to_gbk(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size())));
}

std::u8string utf8_from_wide(std::wstring_view text) {
    return utf16_to_utf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

std::wstring window_text(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
    int got = GetWindowTextW(hwnd, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return s;
}

UINT dpi_of(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static auto fn = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (fn && hwnd) {
        UINT dpi = fn(hwnd);
        if (dpi) return dpi;
    }
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

RECT scaled(const LayoutRect& r, UINT dpi) {
    RECT rc;
    rc.left = scale(r.x, dpi);
    rc.top = scale(r.y, dpi);
    rc.right = rc.left + scale(r.width, dpi);
    rc.bottom = rc.top + scale(r.height, dpi);
    return rc;
}

HFONT make_font(std::wstring_view face, int height96, bool bold, UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -scale(height96, dpi);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

HFONT make_ui_font(UINT dpi) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
        return make_font(L"Microsoft YaHei UI", 12, false, dpi);
    // The metrics are for the system DPI; rescale them for this window's DPI.
    UINT system_dpi = dpi_of(nullptr);
    ncm.lfMessageFont.lfHeight = MulDiv(ncm.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(system_dpi));
    ncm.lfMessageFont.lfQuality = CLEARTYPE_QUALITY;
    return CreateFontIndirectW(&ncm.lfMessageFont);
}

HWND create_child(HWND parent, const wchar_t* window_class, std::u8string_view text, DWORD style,
                  const ControlLayout& layout, UINT dpi, DWORD ex_style) {
    RECT rc = scaled(layout.rect, dpi);
    return CreateWindowExW(ex_style, window_class, wide(text).c_str(), style | WS_CHILD | WS_VISIBLE, rc.left,
                           rc.top, rc.right - rc.left, rc.bottom - rc.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), GetModuleHandleW(nullptr),
                           nullptr);
}

void place_child(HWND control, const ControlLayout& layout, UINT dpi) {
    RECT rc = scaled(layout.rect, dpi);
    SetWindowPos(control, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void set_font(HWND control, HFONT font) { SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

void register_window_class(const wchar_t* name, WNDPROC proc, HICON icon, HBRUSH background) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) return;
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

void bring_forward(HWND hwnd) {
    if (!hwnd) return;
    if (IsIconic(hwnd)) {
        ShowWindow(hwnd, SW_RESTORE);
        return;
    }
    if (!IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    SetActiveWindow(hwnd);
}

RECT centred_window_rect(const WindowSize& size, UINT dpi) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int w = scale(size.width, dpi), h = scale(size.height, dpi);
    int x = work.left + ((work.right - work.left) - w) / 2;
    int y = work.top + ((work.bottom - work.top) - h) / 2;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    return RECT{x, y, x + w, y + h};
}

void guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        std::wstring text = L"程序遇到意外错误，刚才的操作没有完成：\n" + wide(std::u8string(
            reinterpret_cast<const char8_t*>(e.what())));
        MessageBoxW(nullptr, text.c_str(), L"错误", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    } catch (...) {
        MessageBoxW(nullptr, L"程序遇到意外错误，刚才的操作没有完成。", L"错误", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    }
}

BITMAPINFO top_down_bgra(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

UINT pop_up_menu(HWND owner, std::span<const MenuEntry> items, POINT at, UINT alignment) {
    HMENU menu = CreatePopupMenu();
    for (const MenuEntry& item : items) AppendMenuW(menu, MF_STRING, item.command, wide(item.caption).c_str());
    UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, alignment | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
    DestroyMenu(menu);
    return chosen;
}

std::string_view resource_bytes(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!res) return {};
    HGLOBAL data = LoadResource(module, res);
    if (!data) return {};
    return std::string_view(static_cast<const char*>(LockResource(data)), SizeofResource(module, res));
}

}  // namespace wmb
