#pragma once
// One notification-area icon, owned by a window, with the program's tip.

#include <windows.h>

namespace wmb {

inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;

class TrayIcon {
public:
    TrayIcon() = default;
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon() { remove(); }

    void add(HWND owner, HICON icon);
    void remove();
    // Explorer restarted: put the icon back.
    void re_add();

    // The event number of a callback: 1 left button up, 2 left double click,
    // 3 right button up or context menu; 0 for anything else.
    static int event_of(LPARAM lparam);
    // Explorer's broadcast after it restarted.
    static UINT taskbar_created_message();

private:
    HWND owner_ = nullptr;
    HICON icon_ = nullptr;
    bool added_ = false;
};

}  // namespace wmb
