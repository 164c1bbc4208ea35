#pragma once
// Small Win32 helpers shared by the windows: text at the edges, DPI scaling,
// fonts, control creation from a layout, and the guard that keeps
// exceptions out of Windows code.

#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "data/gbk_string.h"
#include "shell/layout.h"

namespace wmb {

std::wstring wide(std::u8string_view utf8);
std::wstring wide(const GbkString& text);
GbkString gbk_from_wide(std::wstring_view text);
std::u8string utf8_from_wide(std::wstring_view text);

std::wstring window_text(HWND hwnd);

UINT dpi_of(HWND hwnd);  // 96 when the system has no per-window DPI
inline int scale(int px96, UINT dpi) { return MulDiv(px96, static_cast<int>(dpi), 96); }
RECT scaled(const LayoutRect& r, UINT dpi);

// A font by face and character height in 96-DPI pixels.
HFONT make_font(std::wstring_view face, int height96, bool bold, UINT dpi);
// The system's message font, for controls without a font of their own.
HFONT make_ui_font(UINT dpi);

class FontHandle {
public:
    FontHandle() = default;
    explicit FontHandle(HFONT font) : font_(font) {}
    FontHandle(const FontHandle&) = delete;
    FontHandle& operator=(const FontHandle&) = delete;
    FontHandle& operator=(HFONT font) {
        reset();
        font_ = font;
        return *this;
    }
    ~FontHandle() { reset(); }
    HFONT get() const { return font_; }

private:
    void reset() {
        if (font_) DeleteObject(font_);
        font_ = nullptr;
    }
    HFONT font_ = nullptr;
};

HWND create_child(HWND parent, const wchar_t* window_class, std::u8string_view text, DWORD style,
                  const ControlLayout& layout, UINT dpi, DWORD ex_style = 0);
// Moves a control to its layout place at the given DPI.
void place_child(HWND control, const ControlLayout& layout, UINT dpi);
void set_font(HWND control, HFONT font);

// Creates a top-level window class once per process.
void register_window_class(const wchar_t* name, WNDPROC proc, HICON icon, HBRUSH background);

// Restores a minimised window, else makes it the active window.
void bring_forward(HWND hwnd);

// Outer window size at a DPI, and a position centred on the work area.
RECT centred_window_rect(const WindowSize& size, UINT dpi);

// Runs an event handler; an exception is reported to the user, never passed
// on into Windows.
void guarded(const std::function<void()>& handler);

// Describes a top-down 32-bit BGRA bitmap.
BITMAPINFO top_down_bgra(int width, int height);

// Pops up a menu of (command, caption) items at a screen point and returns
// the chosen command, 0 when none.
struct MenuEntry {
    UINT command;
    std::u8string_view caption;
};
UINT pop_up_menu(HWND owner, std::span<const MenuEntry> items, POINT at, UINT alignment);

// The bytes of an RCDATA resource of this module (empty when missing).
std::string_view resource_bytes(int id);

}  // namespace wmb
