#include "ui/controls_win32.h"

#include "ui/win32_util_win32.h"

namespace wmb {

GbkString Win32EditBox::text() const { return gbk_from_wide(window_text(hwnd_)); }

void Win32EditBox::set_text(const GbkString& text) { SetWindowTextW(hwnd_, wide(text).c_str()); }

bool Win32EditBox::enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }

void Win32EditBox::set_enabled(bool enabled) { EnableWindow(hwnd_, enabled ? TRUE : FALSE); }

void Win32EditBox::on_enter(std::function<void()> on_enter) {
    on_enter_ = std::move(on_enter);
    SetWindowSubclass(hwnd_, subclass_proc, 1, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK Win32EditBox::subclass_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<Win32EditBox*>(data);
    switch (msg) {
    case WM_GETDLGCODE:
        // Enter belongs to the box, not to the dialog manager's default button.
        if (lp && reinterpret_cast<const MSG*>(lp)->message == WM_KEYDOWN &&
            reinterpret_cast<const MSG*>(lp)->wParam == VK_RETURN)
            return DLGC_WANTALLKEYS | DefSubclassProc(hwnd, msg, wp, lp);
        break;
    case WM_KEYDOWN:
        if (wp == VK_RETURN) {
            guarded([&] {
                if (self->on_enter_) self->on_enter_();
            });
            return 0;
        }
        break;
    case WM_CHAR:
        // A box drawn multi-line (to centre its text) still holds one line.
        if (wp == L'\r' || wp == L'\n') return 0;
        break;
    case WM_PASTE:
        if (GetWindowLongW(hwnd, GWL_STYLE) & ES_MULTILINE) {
            std::wstring text;
            if (OpenClipboard(hwnd)) {
                if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                    if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
                        text = chars;
                        GlobalUnlock(data);
                    }
                }
                CloseClipboard();
            }
            for (wchar_t& c : text)
                if (c == L'\r' || c == L'\n') c = L' ';
            SendMessageW(hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, subclass_proc, 1);
        break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

HWND Win32ListControl::create(HWND parent, int id, std::span<const ListColumn> columns, const RECT& rect, UINT dpi) {
    columns_ = static_cast<int>(columns.size());
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                                LVS_SHOWSELALWAYS | LVS_OWNERDATA | LVS_NOSORTHEADER,
                            rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_FLATSB |
                                                 LVS_EX_DOUBLEBUFFER);
    SetWindowSubclass(hwnd_, subclass_proc, 1, reinterpret_cast<DWORD_PTR>(this));
    ListView_SetTextColor(hwnd_, RGB(0, 0, 0));
    ListView_SetTextBkColor(hwnd_, RGB(255, 255, 255));
    ListView_SetBkColor(hwnd_, RGB(255, 255, 255));
    for (int i = 0; i < columns_; ++i) {
        const ListColumn& c = columns[static_cast<std::size_t>(i)];
        std::wstring header = wide(c.header);
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        col.fmt = c.centred ? LVCFMT_CENTER : LVCFMT_LEFT;
        col.cx = scale(c.width, dpi);
        col.pszText = header.data();
        col.iSubItem = i;
        SendMessageW(hwnd_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
    }
    return hwnd_;
}

void Win32ListControl::set_column_widths(std::span<const ListColumn> columns, UINT dpi) {
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        ListView_SetColumnWidth(hwnd_, i, scale(columns[static_cast<std::size_t>(i)].width, dpi));
}

namespace {
constexpr UINT kFlushMessage = WM_APP + 30;
}

LRESULT CALLBACK Win32ListControl::subclass_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                                 DWORD_PTR data) {
    if (msg == kFlushMessage) {
        reinterpret_cast<Win32ListControl*>(data)->flush();
        return 0;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, subclass_proc, 1);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

void Win32ListControl::flush() {
    flush_posted_ = false;
    if (shown_rows_ == row_count()) return;
    shown_rows_ = row_count();
    ListView_SetItemCountEx(hwnd_, shown_rows_, LVSICF_NOSCROLL);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32ListControl::delete_all_rows() {
    rows_.clear();
    shown_rows_ = 0;
    ListView_SetItemCountEx(hwnd_, 0, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32ListControl::delete_row(int row) {
    if (row < 0 || row >= row_count()) return;
    rows_.erase(rows_.begin() + row);
    flush();
    // Rows below the deleted one moved up even when the count was already known.
    InvalidateRect(hwnd_, nullptr, TRUE);
}

int Win32ListControl::append_row() {
    rows_.emplace_back(static_cast<std::size_t>(columns_));
    if (!flush_posted_) flush_posted_ = PostMessageW(hwnd_, kFlushMessage, 0, 0) != FALSE;
    return row_count() - 1;
}

void Win32ListControl::set_cell(int row, int column, const GbkString& text) {
    if (row < 0 || row >= row_count() || column < 0 || column >= columns_) return;
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
    // Rows the control does not know yet are drawn when it learns of them.
    if (row < shown_rows_) ListView_RedrawItems(hwnd_, row, row);
}

GbkString Win32ListControl::cell(int row, int column) const {
    if (row < 0 || row >= row_count() || column < 0 || column >= columns_) return {};
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

int Win32ListControl::selected_row() const {
    return static_cast<int>(SendMessageW(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool Win32ListControl::handle_notify(const NMHDR* header) {
    if (header->hwndFrom != hwnd_ || header->code != LVN_GETDISPINFOW) return false;
    auto* info = const_cast<NMLVDISPINFOW*>(reinterpret_cast<const NMLVDISPINFOW*>(header));
    LVITEMW& item = info->item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const int row = item.iItem, column = item.iSubItem;
        scratch_ = (row >= 0 && row < row_count() && column >= 0 && column < columns_)
                       ? wide(rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)])
                       : std::wstring();
        std::size_t n = scratch_.copy(item.pszText, static_cast<std::size_t>(item.cchTextMax - 1));
        item.pszText[n] = L'\0';
    }
    return true;
}

MsgAnswer Win32MessageBoxes::show(const MessageRequest& request) {
    UINT flags = MB_TASKMODAL | MB_SETFOREGROUND;
    flags |= request.buttons == MsgButtons::yes_no ? MB_YESNO : MB_OK;
    switch (request.icon) {
    case MsgIcon::none: break;
    case MsgIcon::warning: flags |= MB_ICONWARNING; break;
    case MsgIcon::information: flags |= MB_ICONINFORMATION; break;
    case MsgIcon::error: flags |= MB_ICONERROR; break;
    }
    switch (MessageBoxW(nullptr, wide(request.text).c_str(), wide(request.title).c_str(), flags)) {
    case IDOK: return MsgAnswer::ok;
    case IDYES: return MsgAnswer::yes;
    case IDNO: return MsgAnswer::no;
    default: return MsgAnswer::closed;
    }
}

}  // namespace wmb
