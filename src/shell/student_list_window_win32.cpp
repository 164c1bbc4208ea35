#include "shell/student_list_window_win32.h"

#include "data/gbk_codec.h"
#include "resource_ids.h"
#include "shell/program_win32.h"
#include "shell/student_list_texts.h"
#include "ui/image_strip_win32.h"

namespace wmb {

namespace {

LRESULT CALLBACK panel_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
        // The panel only groups the buttons; their clicks belong to the window.
        return SendMessageW(GetParent(hwnd), msg, wp, lp);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return SendMessageW(GetParent(hwnd), msg, wp, lp);
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void register_panel_class() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kPanelClass, &wc)) return;
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = panel_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kPanelClass;
    RegisterClassExW(&wc);
}

constexpr int kToolbarTopMargin = 6;

const ControlLayout& layout_of(int id) {
    for (const ControlLayout& c : list_layout::kControls)
        if (c.id == id) return c;
    return list_layout::kControls[0];
}

}  // namespace

StudentListWindow::StudentListWindow(Program& program) : TrayWindow(program, TrayOwner::student_list) {}

StudentListWindow::~StudentListWindow() {
    if (toolbar_images_) ImageList_Destroy(toolbar_images_);
}

StudentList StudentListWindow::operations() { return StudentList{list_, program_.files(), program_.boxes(), program_}; }

bool StudentListWindow::create(const GbkString& class_name) {
    register_window_class(kStudentListWindowClass, window_proc, program_.icon(), GetSysColorBrush(COLOR_BTNFACE));
    register_panel_class();
    caption_ = class_name + to_gbk(kCaptionSuffix);
    if (!create_window(kStudentListWindowClass, wide(caption_),
                       WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                       list_layout::kWindow))
        return false;
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
    return true;
}

void StudentListWindow::create_controls() {
    const UINT d = dpi();
    ui_font_ = make_ui_font(d);
    create_toolbar();
    list_.create(hwnd(), list_layout::k超级列表框1, kMainListColumns, scaled(layout_of(list_layout::k超级列表框1).rect, d), d);
    set_font(list_.hwnd(), ui_font_.get());
    create_panel();
}

void StudentListWindow::create_toolbar() {
    const UINT d = dpi();
    const ControlLayout& l = layout_of(list_layout::k工具条1);
    RECT rc = scaled(l.rect, d);
    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_LIST |
                                   TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                               rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(l.id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    set_font(toolbar_, ui_font_.get());
    // The strip starts 6 pixels above the client area: pictures with blank
    // rows above them stay in the visible part.
    toolbar_images_ = load_image_strip(IDB_TOOLBAR, 16, scale(16, d), scale(kToolbarTopMargin, d));
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolbar_images_));

    std::wstring strings;
    for (const ToolbarButton& b : kMainToolbar) {
        strings += wide(b.caption);
        strings += L'\0';
    }
    strings += L'\0';
    auto first = static_cast<INT_PTR>(SendMessageW(toolbar_, TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(strings.c_str())));
    TBBUTTON buttons[kMainToolbar.size()] = {};
    for (std::size_t i = 0; i < kMainToolbar.size(); ++i) {
        buttons[i].iBitmap = kMainToolbar[i].picture;
        buttons[i].idCommand = static_cast<int>(kToolbarCommandBase + i);
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
        buttons[i].iString = first + static_cast<INT_PTR>(i);
    }
    // Eleven captions have to fit the strip's width.
    SendMessageW(toolbar_, TB_SETPADDING, 0, MAKELPARAM(scale(2, d), scale(2, d)));
    SendMessageW(toolbar_, TB_ADDBUTTONSW, kMainToolbar.size(), reinterpret_cast<LPARAM>(buttons));

}

void StudentListWindow::create_panel() {
    const UINT d = dpi();
    const ControlLayout& l = layout_of(list_layout::k分组框1);
    RECT rc = scaled(l.rect, d);
    panel_ = CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                             rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, hwnd(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(l.id)), GetModuleHandleW(nullptr), nullptr);
    const ControlLayout frame{0, u8"", 0, {0, 0, l.rect.width, l.rect.height}};
    panel_frame_ = create_child(panel_, L"BUTTON", kPanelCaption, BS_GROUPBOX | WS_CLIPSIBLINGS, frame, d);
    set_font(panel_frame_, ui_font_.get());
    for (std::size_t i = 0; i < kPanelButtons.size(); ++i) {
        panel_buttons_[i] = create_child(panel_, L"BUTTON", kPanelButtons[i].caption,
                                         WS_TABSTOP | BS_PUSHBUTTON | WS_CLIPSIBLINGS, layout_of(kPanelButtons[i].id), d);
        set_font(panel_buttons_[i], ui_font_.get());
        SetWindowPos(panel_buttons_[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    // Above the list it stands on.
    SetWindowPos(panel_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void StudentListWindow::on_dpi_changed() {
    if (!toolbar_) return;
    const UINT d = dpi();
    ui_font_ = make_ui_font(d);
    place_child(toolbar_, layout_of(list_layout::k工具条1), d);
    place_child(list_.hwnd(), layout_of(list_layout::k超级列表框1), d);
    list_.set_column_widths(kMainListColumns, d);
    place_child(panel_, layout_of(list_layout::k分组框1), d);
    const ControlLayout& l = layout_of(list_layout::k分组框1);
    place_child(panel_frame_, ControlLayout{0, u8"", 0, {0, 0, l.rect.width, l.rect.height}}, d);
    for (std::size_t i = 0; i < kPanelButtons.size(); ++i) {
        place_child(panel_buttons_[i], layout_of(kPanelButtons[i].id), d);
        set_font(panel_buttons_[i], ui_font_.get());
    }
    for (HWND h : {toolbar_, list_.hwnd(), panel_frame_}) set_font(h, ui_font_.get());
    HIMAGELIST old = toolbar_images_;
    toolbar_images_ = load_image_strip(IDB_TOOLBAR, 16, scale(16, d), scale(kToolbarTopMargin, d));
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolbar_images_));
    if (old) ImageList_Destroy(old);
}

void StudentListWindow::run(Command command) {
    StudentList ops = operations();
    run_command(ops, command);
    list_.flush();
}

void StudentListWindow::pop_up_list_menu(POINT screen) {
    MenuEntry items[kListMenu.size()];
    for (std::size_t i = 0; i < kListMenu.size(); ++i)
        items[i] = {kListMenuCommandBase + static_cast<UINT>(i), kListMenu[i].caption};
    UINT chosen = pop_up_menu(hwnd(), items, POINT{screen.x + 3, screen.y + 3}, TPM_LEFTALIGN | TPM_TOPALIGN);
    if (chosen >= kListMenuCommandBase && chosen < kListMenuCommandBase + kListMenu.size())
        run(kListMenu[chosen - kListMenuCommandBase].command);
}

bool StudentListWindow::on_notify(const NMHDR* header, LRESULT& result) {
    if (list_.handle_notify(header)) return true;
    if (header->hwndFrom == list_.hwnd()) {
        if (header->code == NM_RCLICK) {
            // Where the click was, which is where the cursor is for a user.
            POINT pt = reinterpret_cast<const NMITEMACTIVATE*>(header)->ptAction;
            ClientToScreen(list_.hwnd(), &pt);
            pop_up_list_menu(pt);
            result = 1;
            return true;
        }
        if (header->code == NM_DBLCLK) {
            run(Command::view_student);
            return true;
        }
    }
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = const_cast<NMTTDISPINFOW*>(reinterpret_cast<const NMTTDISPINFOW*>(header));
        static const std::wstring tip = wide(kMainToolbarTip0);
        // Only the first button has a tooltip.
        info->lpszText = const_cast<wchar_t*>(header->idFrom == kToolbarCommandBase ? tip.c_str() : L"");
        return true;
    }
    return false;
}

LRESULT StudentListWindow::on_message(UINT msg, WPARAM wp, LPARAM lp) {
    if (handle_shared_message(msg, lp)) return 0;
    switch (msg) {
    case WM_CREATE: {
        create_controls();
        program_.hide_gate();
        add_tray_icon();
        StudentList ops = operations();
        fill_student_list(ops);
        list_.flush();
        return 0;
    }
    case WM_COMMAND: {
        const UINT id = LOWORD(wp);
        if (id >= kToolbarCommandBase && id < kToolbarCommandBase + kMainToolbar.size()) {
            if (auto c = toolbar_command(static_cast<int>(id - kToolbarCommandBase))) run(*c);
            return 0;
        }
        if (HIWORD(wp) == BN_CLICKED) {
            for (const PanelButton& b : kPanelButtons)
                if (static_cast<int>(id) == b.id) {
                    run(b.command);
                    return 0;
                }
        }
        break;
    }
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (on_notify(reinterpret_cast<const NMHDR*>(lp), result)) return result;
        break;
    }
    }
    return Window::on_message(msg, wp, lp);
}

}  // namespace wmb
