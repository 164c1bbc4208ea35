// The gate, the tray and the main list window, driven through their real
// controls under Wine.

#include <gtest/gtest.h>

#include <fstream>
#include <span>

#include "data/gbk_codec.h"
#include "data/list_columns.h"
#include "harness_win32.h"
#include "shell/layout.h"
#include "shell/program_win32.h"
#include "shell/student_list_texts.h"
#include "ui/win32_util_win32.h"

namespace wmb::ui_test {
namespace {

const std::wstring kReminderTitle = L"温馨提醒！";
const std::wstring kFirstUse = L"首次使用请在中间输入正确的学校班级名称，如  晓禾初中2017级1班";

std::string gbk(std::u8string_view s) { return utf8_to_gbk(s); }

std::string config_for(std::u8string_view class_name) {
    return gbk(u8"[学校班级]\r\ndate=") + gbk(class_name) + "\r\n";
}

// A program that has been walked through the gate into the main list.
struct MainWindowFixture : ::testing::Test {
    RunFolder folder;
    std::unique_ptr<App> app;
    HWND main = nullptr, list = nullptr, toolbar = nullptr;

    void enter(const std::vector<StudentRecord>& students = {}) {
        folder.add_students(students);
        folder.write_config(config_for(u8"2017级1班"));
        app = std::make_unique<App>(folder.path());
        HWND gate = app->wait_window(kGateWindowClass);
        ASSERT_NE(gate, nullptr);
        app->click(control(gate, gate_layout::k按钮_确定));
        main = app->wait_window(kStudentListWindowClass);
        ASSERT_NE(main, nullptr);
        list = control(main, list_layout::k超级列表框1);
        toolbar = control(main, list_layout::k工具条1);
    }
    HWND panel_button(int id) { return control(main, id); }
};

TEST(GateWindow, FirstStartRemindsAndRefusesAnEmptyName) {
    RunFolder folder;
    App app(folder.path());
    app.expect_box(kFirstUse, kReminderTitle, MsgButtons::ok, MsgIcon::warning, IDOK);
    HWND gate = app.wait_window(kGateWindowClass);
    EXPECT_EQ(App::text_of(gate), L"蔚苗簿");
    EXPECT_EQ(App::text_of(control(gate, gate_layout::k编辑框_班级)), L"");
    EXPECT_EQ(App::text_of(control(gate, gate_layout::k按钮_确定)), L"进入系统");

    app.click(control(gate, gate_layout::k按钮_确定));
    app.expect_box(L"请输入正确的学校班级名称，如  晓禾初中2017级1班", kReminderTitle, MsgButtons::ok,
                   MsgIcon::warning, IDOK);
    app.expect_no_box();
    EXPECT_TRUE(IsWindowVisible(gate));
    EXPECT_EQ(app.find_window(kStudentListWindowClass), nullptr);
    EXPECT_FALSE(std::filesystem::exists(folder.file("config.ini")));
}

// Entering by click or by Enter; a name of spaces is a name.
struct EnterCase {
    const char* label;
    std::u8string name;
    bool by_enter_key;
    std::string config_line;  // GBK
};

class GateEnter : public ::testing::TestWithParam<EnterCase> {};

TEST_P(GateEnter, OpensTheListAndRemembersTheClass) {
    const EnterCase& c = GetParam();
    RunFolder folder;
    {
        App app(folder.path());
        app.expect_box(kFirstUse, kReminderTitle, MsgButtons::ok, MsgIcon::warning, IDOK);
        HWND gate = app.wait_window(kGateWindowClass);
        HWND edit = control(gate, gate_layout::k编辑框_班级);
        app.set_text(edit, wide_text(c.name));
        if (c.by_enter_key) app.press_enter(edit);
        else app.click(control(gate, gate_layout::k按钮_确定));
        HWND main = app.wait_window(kStudentListWindowClass);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(App::text_of(main), wide_text(c.name) + L"蔚苗簿");
        EXPECT_TRUE(app.wait_gone(kGateWindowClass)) << "the gate closes for good";
        EXPECT_EQ(folder.read_bytes("config.ini"), gbk(u8"[学校班级]\r\n") + c.config_line + "\r\n");
        app.close_window(main);
        EXPECT_TRUE(app.wait_ended());
    }
    // The next start knows the class and says nothing.
    App again(folder.path());
    HWND gate = again.wait_window(kGateWindowClass);
    again.expect_no_box();
    EXPECT_EQ(App::text_of(control(gate, gate_layout::k编辑框_班级)), wide_text(c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GateEnter,
    ::testing::Values(EnterCase{"click", u8"2017级1班", false, gbk(u8"date=2017级1班")},
                      EnterCase{"enter_key", u8"晓禾初中2017级1班", true, gbk(u8"date=晓禾初中2017级1班")},
                      EnterCase{"spaces", u8"   ", false, "date=\"   \""},
                      EnterCase{"rare_character", u8"䶮𠀀班", true, gbk(u8"date=䶮𠀀班")}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(GateWindow, KeepsTheRestOfConfigIni) {
    RunFolder folder;
    const std::string before = "; notes\r\n[other]\r\nkey=1\r\n" + gbk(u8"[学校班级]\r\ndate=旧班\r\nx=y\r\n");
    folder.write_config(before);
    App app(folder.path());
    HWND gate = app.wait_window(kGateWindowClass);
    EXPECT_EQ(App::text_of(control(gate, gate_layout::k编辑框_班级)), L"旧班");
    app.set_text(control(gate, gate_layout::k编辑框_班级), L"新班");
    app.click(control(gate, gate_layout::k按钮_确定));
    ASSERT_NE(app.wait_window(kStudentListWindowClass), nullptr);
    EXPECT_EQ(folder.read_bytes("config.ini"),
              "; notes\r\n[other]\r\nkey=1\r\n" + gbk(u8"[学校班级]\r\ndate=新班\r\nx=y\r\n"));
}

TEST(GateWindow, PastedLineBreaksDoNotSplitTheClassName) {
    RunFolder folder;
    folder.write_config(config_for(u8"1班"));
    App app(folder.path());
    HWND edit = control(app.wait_window(kGateWindowClass), gate_layout::k编辑框_班级);
    const std::wstring pasted = L"2017级\r\n1班";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(data), pasted.c_str(), (pasted.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(data);
    SetClipboardData(CF_UNICODETEXT, data);
    CloseClipboard();
    // Posted, so they come after the start-up work already queued.
    PostMessageW(edit, EM_SETSEL, 0, -1);
    PostMessageW(edit, WM_PASTE, 0, 0);
    EXPECT_TRUE(app.wait_until([&] { return App::text_of(edit) == L"2017级  1班"; }));
    app.press_enter(edit);
    EXPECT_NE(app.wait_window(kStudentListWindowClass), nullptr);
}

TEST_F(MainWindowFixture, FillsOneRowPerRecordWithNothingSelected) {
    enter({sample_student(1, u8"小苹果"), sample_student(2, u8"李雷"), sample_student(3, u8"韩梅梅")});
    EXPECT_EQ(App::list_rows(list), 3);
    EXPECT_EQ(App::list_selected(list), -1);
    const wchar_t* names[] = {L"小苹果", L"李雷", L"韩梅梅"};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(App::list_cell(list, row, 0), std::to_wstring(row + 1));
        EXPECT_EQ(App::list_cell(list, row, 1), names[row]);
        EXPECT_EQ(App::list_cell(list, row, 2), L"女");
        EXPECT_EQ(App::list_cell(list, row, 3), std::to_wstring(151 + row));
        EXPECT_EQ(App::list_cell(list, row, 4), L"45.5");
        EXPECT_EQ(App::list_cell(list, row, 8), L"是");
        EXPECT_EQ(App::list_cell(list, row, 12), L"柳川县东坪镇清泉村三组66号");
    }
}

TEST_F(MainWindowFixture, ListColumnsHaveTheirHeadersWidthsAndAlignment) {
    enter();
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    ASSERT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 20);
    for (int i = 0; i < 20; ++i) {
        wchar_t text[64] = {};
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        col.pszText = text;
        col.cchTextMax = 64;
        ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col)));
        const ListColumn& want = kMainListColumns[static_cast<std::size_t>(i)];
        EXPECT_EQ(std::wstring(text), wide_text(want.header)) << "column " << i;
        EXPECT_EQ(col.cx, want.width) << "column " << i;
        EXPECT_EQ(col.fmt & LVCFMT_JUSTIFYMASK, want.centred ? LVCFMT_CENTER : LVCFMT_LEFT) << "column " << i;
    }
    DWORD ex = static_cast<DWORD>(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(ex & LVS_EX_GRIDLINES);
    EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & LVS_SINGLESEL);
}

TEST_F(MainWindowFixture, ToolbarHasItsCaptionsAndPictures) {
    enter();
    ASSERT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 11);
    for (int i = 0; i < 11; ++i) {
        TBBUTTON b{};
        SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
        wchar_t text[64] = {};
        SendMessageW(toolbar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(b.idCommand), reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::wstring(text), wide_text(kMainToolbar[static_cast<std::size_t>(i)].caption));
        EXPECT_EQ(b.iBitmap, kMainToolbar[static_cast<std::size_t>(i)].picture);
    }
    // Every caption is whole: the last button ends inside the strip.
    RECT last{};
    SendMessageW(toolbar, TB_GETITEMRECT, 10, reinterpret_cast<LPARAM>(&last));
    EXPECT_LE(last.right, list_layout::kControls[0].rect.width);
    // Only the first button has a tooltip.
    HWND tips = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tips, nullptr);
    for (int i = 0; i < 11; ++i) {
        wchar_t tip[128] = {};
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof(ti);
        ti.hwnd = toolbar;
        ti.uId = kToolbarCommandBase + static_cast<UINT>(i);
        ti.lpszText = tip;
        SendMessageW(tips, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&ti));
        EXPECT_EQ(std::wstring(tip), i == 0 ? std::wstring(L"如果列表中有无用信息") : std::wstring()) << "button " << i;
    }
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    EXPECT_EQ(ImageList_GetImageCount(images), 26);
    HWND panel = control(main, list_layout::k分组框1);
    for (const PanelButton& b : kPanelButtons) EXPECT_EQ(App::text_of(control(panel, b.id)), wide_text(b.caption));
}

TEST_F(MainWindowFixture, EmptyClassWarnsOnlyFromTheToolbar) {
    enter();
    EXPECT_EQ(App::list_rows(list), 0);
    app->click_toolbar(toolbar, 1);
    app->expect_box(L"您的班级尚未录入学生信息！", L"温馨提示！", MsgButtons::ok, MsgIcon::warning, IDOK);
    app->click(panel_button(list_layout::k按钮_显示全部));
    app->expect_no_box();
    EXPECT_EQ(App::list_rows(list), 0);
    // Both fills closed the register again: it can be opened here.
    EXPECT_EQ(folder.record_count(), 0);
}

TEST_F(MainWindowFixture, OpeningAStudentNeedsASelection) {
    enter({sample_student(1, u8"小苹果")});
    const std::wstring view = L"您的班级信息为空或尚未选中要查询的学生！";
    const std::wstring edit = L"您的班级信息为空或尚未选中要修改信息的学生！";
    app->click_toolbar(toolbar, 3);
    app->expect_box(edit, L"信息：", MsgButtons::ok, MsgIcon::none, IDOK);
    app->click(panel_button(list_layout::k按钮_信息修改));
    app->expect_box(edit, L"信息：", MsgButtons::ok, MsgIcon::none, IDOK);
    app->click(panel_button(list_layout::k按钮_信息查询));
    app->expect_box(view, L"信息：", MsgButtons::ok, MsgIcon::none, IDOK);
    // A double click below the last row selects nothing.
    app->double_click(list, POINT{100, 300});
    app->expect_box(view, L"信息：", MsgButtons::ok, MsgIcon::none, IDOK);
    // With a row selected no message comes.
    app->click_list_row(list, 0);
    ASSERT_TRUE(app->wait_until([&] { return App::list_selected(list) == 0; }));
    app->click(panel_button(list_layout::k按钮_信息查询));
    app->expect_no_box();
}

TEST_F(MainWindowFixture, RightClickOnTheEmptyListPopsUpItsMenu) {
    enter();
    const POINT at{200, 200};
    app->right_click(list, at);
    HWND menu = app->wait_menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(app->menu_items(menu), (std::vector<std::wstring>{L"信息查询", L"信息修改", L"删除该生"}));
    POINT screen = at;
    ClientToScreen(list, &screen);
    RECT rc;
    GetWindowRect(menu, &rc);
    EXPECT_EQ(rc.left, screen.x + 3);
    EXPECT_EQ(rc.top, screen.y + 3);
    app->choose_menu_item(0);
    app->expect_box(L"您的班级信息为空或尚未选中要查询的学生！", L"信息：", MsgButtons::ok, MsgIcon::none, IDOK);
    app->right_click(list, at);
    app->choose_menu_item(1);
    app->expect_box(L"您的班级信息为空或尚未选中要修改信息的学生！", L"信息：", MsgButtons::ok, MsgIcon::none, IDOK);
}

TEST_F(MainWindowFixture, ClearAllAsksTwiceAndEmptiesBothFiles) {
    enter({sample_student(1, u8"小苹果"), sample_student(2, u8"李雷")});
    folder.add_students({sample_student(1, u8"王五")}, "deldate.edb");
    std::filesystem::path photo = folder.path() / "photo" / u8"李雷.jpg";
    { std::ofstream(photo, std::ios::binary) << "jpeg"; }

    // No at the first question, then No at the second: nothing changes.
    app->click_toolbar(toolbar, 0);
    app->expect_box(L"您确定要清空数据库？", L"警告", MsgButtons::yes_no, MsgIcon::none, IDNO);
    app->click(panel_button(list_layout::k按钮_清空数据库));
    app->expect_box(L"您确定要清空数据库？", L"警告", MsgButtons::yes_no, MsgIcon::none, IDYES);
    app->expect_box(L"数据库一旦清空便不可恢复！", L"再次警告！", MsgButtons::yes_no, MsgIcon::none, IDNO);
    app->expect_no_box();
    EXPECT_EQ(App::list_rows(list), 2);
    EXPECT_EQ(folder.record_count(), 2);
    EXPECT_EQ(folder.record_count("deldate.edb"), 1);

    app->click_toolbar(toolbar, 0);
    app->expect_box(L"您确定要清空数据库？", L"警告", MsgButtons::yes_no, MsgIcon::none, IDYES);
    app->expect_box(L"数据库一旦清空便不可恢复！", L"再次警告！", MsgButtons::yes_no, MsgIcon::none, IDYES);
    app->expect_box(L"基础数据已清空，照片请在根目录下photo文件夹手动删除！", L"信息：", MsgButtons::ok,
                    MsgIcon::none, IDOK);
    EXPECT_EQ(App::list_rows(list), 0);
    EXPECT_EQ(folder.record_count(), 0);
    EXPECT_EQ(folder.record_count("deldate.edb"), 0);
    EXPECT_TRUE(std::filesystem::exists(photo));
}

TEST_F(MainWindowFixture, AboutWindowHasOneInstance) {
    enter();
    app->click_toolbar(toolbar, 9);
    HWND about = app->wait_window(kAboutWindowClass);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(App::text_of(about), L"关于 蔚苗簿");
    EXPECT_EQ(App::text_of(control(about, about_layout::k标签2)), L"蔚苗簿");
    app->click_toolbar(toolbar, 9);
    app->expect_no_box();
    EXPECT_EQ(app->count_windows(kAboutWindowClass), 1);

    // The about window keeps the program running after the main window closes.
    app->click_toolbar(toolbar, 10);
    EXPECT_TRUE(app->wait_gone(kStudentListWindowClass));
    EXPECT_FALSE(app->ended());
    app->close_window(about);
    EXPECT_TRUE(app->wait_ended());
}

TEST_F(MainWindowFixture, TrayEventsBringTheWindowBackAndTheMenuEnds) {
    enter();
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(app->wait_until([&] { return IsIconic(main) != FALSE; }));
    app->tray_event(main, WM_LBUTTONUP);
    EXPECT_TRUE(app->wait_until([&] { return !IsIconic(main); })) << "event 1 restores the window";

    app->move_cursor(POINT{600, 400});
    // Wine hands a moved cursor to posted messages a little later; until it
    // has, the menu opens at the old place: wait for the move, with a limit.
    HWND menu = nullptr;
    RECT rc{};
    for (int attempt = 0; attempt < 50; ++attempt) {
        app->tray_event(main, WM_RBUTTONUP);
        menu = app->wait_menu();
        ASSERT_NE(menu, nullptr);
        GetWindowRect(menu, &rc);
        if (rc.right == 600 - 5 && rc.top == 400 - 5) break;
        app->dismiss_menu();
        ASSERT_TRUE(app->wait_until([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }));
    }
    EXPECT_EQ(app->menu_items(menu), (std::vector<std::wstring>{L"进入系统", L"退出系统"}));
    EXPECT_EQ(rc.right, 600 - 5);
    EXPECT_EQ(rc.top, 400 - 5);
    app->choose_menu_item(1);
    EXPECT_TRUE(app->wait_ended()) << "退出系统 ends the program";
}

TEST(GateWindow, TrayMenuEnterAndExit) {
    RunFolder folder;
    folder.write_config(config_for(u8"1班"));
    App app(folder.path());
    HWND gate = app.wait_window(kGateWindowClass);
    ShowWindow(gate, SW_MINIMIZE);
    ASSERT_TRUE(app.wait_until([&] { return IsIconic(gate) != FALSE; }));
    app.tray_event(gate, WM_RBUTTONUP);
    app.choose_menu_item(0);
    EXPECT_TRUE(app.wait_until([&] { return !IsIconic(gate); })) << "进入系统 brings the gate back";
    app.tray_event(gate, WM_LBUTTONDBLCLK);  // event 2 does nothing
    app.expect_no_box();
    app.tray_event(gate, WM_RBUTTONUP);
    app.choose_menu_item(1);
    EXPECT_TRUE(app.wait_ended());
}

TEST(RecordFiles, DamagedRegisterIsReportedOnceAndLeftAlone) {
    RunFolder folder;
    folder.write_config(config_for(u8"1班"));
    { std::ofstream(folder.file("xsdate.edb"), std::ios::binary | std::ios::trunc) << "not a register at all"; }
    App app(folder.path());
    HWND gate = app.wait_window(kGateWindowClass);
    app.click(control(gate, gate_layout::k按钮_确定));
    Box box = app.wait_box();
    EXPECT_EQ(box.icon, MsgIcon::error);
    EXPECT_NE(box.text.find(L"xsdate.edb"), std::wstring::npos);
    app.answer(box, IDOK);
    HWND main = app.wait_window(kStudentListWindowClass);
    HWND list = control(main, list_layout::k超级列表框1);
    // The panel's fill does not repeat the report; the toolbar's, asked for by the user, does.
    app.click(control(main, list_layout::k按钮_显示全部));
    app.expect_no_box();
    app.click_toolbar(control(main, list_layout::k工具条1), 1);
    Box again = app.wait_box();
    EXPECT_NE(again.text.find(L"xsdate.edb"), std::wstring::npos);
    app.answer(again, IDOK);
    EXPECT_EQ(App::list_rows(list), 0);
    EXPECT_EQ(folder.read_bytes("xsdate.edb"), "not a register at all");
}

// At the window's DPI: 96 in the ordinary run, 144 in the run at 150 %.
void expect_layout(HWND window, const WindowSize& size, std::span<const ControlLayout> controls, const char* label) {
    const UINT dpi = dpi_of(window);
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, scale(size.width, dpi)) << label;
    EXPECT_EQ(outer.bottom - outer.top, scale(size.height, dpi)) << label;
    for (const ControlLayout& l : controls) {
        HWND parent = l.parent_id ? control(window, l.parent_id) : window;
        HWND h = control(window, l.id);
        ASSERT_NE(h, nullptr) << label << " control " << l.id;
        RECT rc;
        GetWindowRect(h, &rc);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
        const RECT want = scaled(l.rect, dpi);
        EXPECT_EQ(rc.left, want.left) << label << " control " << l.id;
        EXPECT_EQ(rc.top, want.top) << label << " control " << l.id;
        EXPECT_EQ(rc.right - rc.left, want.right - want.left) << label << " control " << l.id;
        EXPECT_EQ(rc.bottom - rc.top, want.bottom - want.top) << label << " control " << l.id;
    }
}

TEST_F(MainWindowFixture, LayoutOfEveryWindow) {
    enter();
    app->click_toolbar(toolbar, 9);
    HWND about = app->wait_window(kAboutWindowClass);
    ASSERT_NE(about, nullptr);
    expect_layout(main, list_layout::kWindow, list_layout::kControls, "main");
    expect_layout(about, about_layout::kWindow, about_layout::kControls, "about");
}

TEST(GateWindow, Layout) {
    RunFolder folder;
    folder.write_config(config_for(u8"1班"));
    App app(folder.path());
    HWND gate = app.wait_window(kGateWindowClass);
    expect_layout(gate, gate_layout::kWindow, gate_layout::kControls, "gate");
}

}  // namespace
}  // namespace wmb::ui_test
