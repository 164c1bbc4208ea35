#include "shell/tray_window_win32.h"

#include "shell/program_win32.h"

namespace wmb {

void TrayWindow::add_tray_icon() { tray_.add(hwnd(), program_.small_icon()); }

bool TrayWindow::handle_shared_message(UINT msg, LPARAM lp) {
    switch (msg) {
    case kTrayCallbackMessage:
        on_tray_event(program_, owner_, TrayIcon::event_of(lp));
        return true;
    case WM_CLOSE:
        DestroyWindow(hwnd());
        return true;
    case WM_DESTROY:
        tray_.remove();
        return true;
    default:
        if (msg == TrayIcon::taskbar_created_message()) {
            tray_.re_add();
            return true;
        }
        return false;
    }
}

void TrayWindow::on_destroyed() { program_.window_closed(); }

}  // namespace wmb
