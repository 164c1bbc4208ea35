#include "ui/tray_icon_win32.h"

#include <shellapi.h>

namespace wmb {

namespace {

NOTIFYICONDATAW icon_data(HWND owner, HICON icon) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof(nid);
    nid.hWnd = owner;
    nid.uID = 1;
    nid.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    nid.uCallbackMessage = kTrayCallbackMessage;
    nid.hIcon = icon;
    lstrcpynW(nid.szTip, L"蔚苗簿", ARRAYSIZE(nid.szTip));
    return nid;
}

}  // namespace

void TrayIcon::add(HWND owner, HICON icon) {
    owner_ = owner;
    icon_ = icon;
    NOTIFYICONDATAW nid = icon_data(owner_, icon_);
    added_ = Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
}

void TrayIcon::re_add() {
    if (owner_) add(owner_, icon_);
}

void TrayIcon::remove() {
    if (!owner_) return;
    NOTIFYICONDATAW nid = icon_data(owner_, icon_);
    Shell_NotifyIconW(NIM_DELETE, &nid);
    added_ = false;
    owner_ = nullptr;
}

int TrayIcon::event_of(LPARAM lparam) {
    switch (LOWORD(lparam)) {
    case WM_LBUTTONUP: return 1;
    case WM_LBUTTONDBLCLK: return 2;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU: return 3;
    default: return 0;
    }
}

UINT TrayIcon::taskbar_created_message() {
    static UINT msg = RegisterWindowMessageW(L"TaskbarCreated");
    return msg;
}

}  // namespace wmb
