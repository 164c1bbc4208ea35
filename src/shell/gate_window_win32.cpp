#include "shell/gate_window_win32.h"

#include "resource_ids.h"
#include "shell/program_win32.h"
#include "ui/picture_win32.h"

namespace wmb {

namespace {
constexpr UINT kRemindMessage = WM_APP + 10;
}

GateWindow::GateWindow(Program& program) : TrayWindow(program, TrayOwner::gate) {}

GateWindow::~GateWindow() {
    if (background_) DeleteObject(background_);
}

bool GateWindow::create() {
    register_window_class(kGateWindowClass, window_proc, program_.icon(), GetSysColorBrush(COLOR_BTNFACE));
    if (!create_window(kGateWindowClass, L"蔚苗簿", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                       gate_layout::kWindow))
        return false;
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
    // The reminder comes once the window shows, so it stands over it.
    PostMessageW(hwnd(), kRemindMessage, 0, 0);
    return true;
}

Gate GateWindow::gate() { return Gate{class_box_, program_.config(), program_.boxes(), program_}; }

void GateWindow::create_controls() {
    const UINT d = dpi();
    class_box_.attach(create_child(hwnd(), L"EDIT", u8"", WS_TABSTOP | ES_AUTOHSCROLL | ES_MULTILINE, gate_layout::kControls[0], d,
                                   WS_EX_CLIENTEDGE));
    enter_button_ = create_child(hwnd(), L"BUTTON", u8"进入系统", WS_TABSTOP | BS_PUSHBUTTON,
                                 gate_layout::kControls[1], d);
    on_dpi_changed();
    class_box_.on_enter([this] {
        Gate g = gate();
        enter_register(g);
    });
}

void GateWindow::on_dpi_changed() {
    const UINT d = dpi();
    place_child(class_box_.hwnd(), gate_layout::kControls[0], d);
    place_child(enter_button_, gate_layout::kControls[1], d);
    edit_font_ = make_font(L"微软雅黑", gate_layout::kEditFontHeight, false, d);
    button_font_ = make_font(L"微软雅黑", gate_layout::kButtonFontHeight, true, d);
    set_font(class_box_.hwnd(), edit_font_.get());
    set_font(enter_button_, button_font_.get());
    // Centre the line in the tall box; only a multi-line edit takes a
    // formatting rectangle, and Win32EditBox keeps it to one line.
    RECT rc;
    GetClientRect(class_box_.hwnd(), &rc);
    int pad = (rc.bottom - scale(gate_layout::kEditFontHeight + 6, d)) / 2;
    if (pad > 0) {
        RECT fmt{scale(4, d), pad, rc.right - scale(4, d), rc.bottom - pad};
        SendMessageW(class_box_.hwnd(), EM_SETRECT, 0, reinterpret_cast<LPARAM>(&fmt));
    }
    if (background_) {
        DeleteObject(background_);
        background_ = nullptr;
    }
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void GateWindow::paint_background(HDC dc) {
    RECT rc;
    GetClientRect(hwnd(), &rc);
    if (!background_ || background_size_.cx != rc.right || background_size_.cy != rc.bottom) {
        if (background_) DeleteObject(background_);
        background_ = Picture::decode(resource_bytes(IDR_BACKGROUND_JPG)).render(rc.right, rc.bottom);
        background_size_ = SIZE{rc.right, rc.bottom};
    }
    if (!background_) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, background_);
    BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
}

LRESULT GateWindow::on_message(UINT msg, WPARAM wp, LPARAM lp) {
    if (handle_shared_message(msg, lp)) return 0;
    switch (msg) {
    case WM_CREATE: {
        create_controls();
        add_tray_icon();
        Gate g = gate();
        load_class_name(g);
        return 0;
    }
    case kRemindMessage: {
        Gate g = gate();
        remind_first_use(g);
        SetFocus(class_box_.hwnd());
        return 0;
    }
    case WM_ERASEBKGND:
        paint_background(reinterpret_cast<HDC>(wp));
        return 1;
    case WM_COMMAND:
        if (LOWORD(wp) == gate_layout::k按钮_确定 && HIWORD(wp) == BN_CLICKED) {
            Gate g = gate();
            enter_register(g);
            return 0;
        }
        break;
    }
    return Window::on_message(msg, wp, lp);
}

}  // namespace wmb
