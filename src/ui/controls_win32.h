#pragma once
// The control interfaces over real Win32 controls.

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <span>
#include <vector>

#include "data/list_columns.h"
#include "ui/controls.h"
#include "ui/message_boxes.h"

namespace wmb {

class Win32EditBox : public EditBox {
public:
    Win32EditBox() = default;
    explicit Win32EditBox(HWND hwnd) : hwnd_(hwnd) {}
    void attach(HWND hwnd) { hwnd_ = hwnd; }
    HWND hwnd() const { return hwnd_; }

    GbkString text() const override;
    void set_text(const GbkString& text) override;
    bool enabled() const override;
    void set_enabled(bool enabled) override;

    // Calls `on_enter` when Enter is pressed in the box (and keeps the beep away).
    void on_enter(std::function<void()> on_enter);

private:
    static LRESULT CALLBACK subclass_proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    HWND hwnd_ = nullptr;
    std::function<void()> on_enter_;
};

// A virtual (owner-data) report list: the rows live here, the control asks
// for the cells it draws, so filling 10,000 students stays fast.
class Win32ListControl : public ListControl {
public:
    // Creates the list control with its columns.
    HWND create(HWND parent, int id, std::span<const ListColumn> columns, const RECT& rect, UINT dpi);
    HWND hwnd() const { return hwnd_; }
    void set_column_widths(std::span<const ListColumn> columns, UINT dpi);

    void delete_all_rows() override;
    void delete_row(int row) override;
    int append_row() override;
    void set_cell(int row, int column, const GbkString& text) override;
    GbkString cell(int row, int column) const override;
    int row_count() const override { return static_cast<int>(rows_.size()); }
    int selected_row() const override;

    // The parent forwards its WM_NOTIFY; true when it was the list's request for text.
    bool handle_notify(const NMHDR* header);

    // Tells the control how many rows there are now. Appending only grows
    // the rows here and posts one update, so a fill of 10,000 rows costs one
    // update, not 10,000; the window also flushes when an event is done.
    void flush();

private:
    static LRESULT CALLBACK subclass_proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    HWND hwnd_ = nullptr;
    int columns_ = 0;
    int shown_rows_ = 0;
    bool flush_posted_ = false;
    std::vector<std::vector<GbkString>> rows_;
    std::wstring scratch_;
};

class Win32MessageBoxes : public MessageBoxes {
public:
    MsgAnswer show(const MessageRequest& request) override;
};

}  // namespace wmb
