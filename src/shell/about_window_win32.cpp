#include "shell/about_window_win32.h"

#include "shell/program_win32.h"
#include "shell/student_list_texts.h"

namespace wmb {

bool AboutWindow::create() {
    register_window_class(kAboutWindowClass, window_proc, program_.icon(), GetSysColorBrush(COLOR_BTNFACE));
    if (!create_window(kAboutWindowClass, wide(kAboutCaption), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                       about_layout::kWindow))
        return false;
    ShowWindow(hwnd(), SW_SHOW);
    return true;
}

void AboutWindow::on_dpi_changed() {
    if (!title_) return;
    const UINT d = dpi();
    place_child(title_, about_layout::kControls[0], d);
    place_child(notice_, about_layout::kControls[1], d);
    title_font_ = make_font(L"华文楷体", 24, false, d);
    notice_font_ = make_font(L"微软雅黑", 12, false, d);
    set_font(title_, title_font_.get());
    set_font(notice_, notice_font_.get());
}

LRESULT AboutWindow::on_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        title_ = create_child(hwnd(), L"STATIC", kAboutTitle, SS_CENTER, about_layout::kControls[0], dpi());
        notice_ = create_child(hwnd(), L"STATIC", kAboutNotice, SS_LEFT, about_layout::kControls[1], dpi());
        on_dpi_changed();
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd());
        return 0;
    }
    return Window::on_message(msg, wp, lp);
}

void AboutWindow::on_destroyed() { program_.window_closed(); }

}  // namespace wmb
