#pragma once
// Captions of StudentListWindow's toolbar, panel and menu.

#include <array>
#include <string_view>

#include "shell/layout.h"
#include "shell/student_list.h"

namespace wmb {

struct ToolbarButton {
    std::u8string_view caption;
    int picture;  // index into the strip of 26
};

inline constexpr std::array<ToolbarButton, 11> kMainToolbar{{
    {u8"系统初始化", 8}, {u8"查看全班", 5}, {u8"信息添加", 2}, {u8"信息修改", 11},
    {u8"信息删除", 16},  {u8"个人查询", 23}, {u8"批量导入", 14}, {u8"批量导出", 7},
    {u8"已删查询", 3},   {u8"关于程序", 19}, {u8"退出系统", 20},
}};
inline constexpr std::u8string_view kMainToolbarTip0 = u8"如果列表中有无用信息";

struct PanelButton {
    int id;
    std::u8string_view caption;
    Command command;
};

inline constexpr std::array<PanelButton, 9> kPanelButtons{{
    {list_layout::k按钮_显示全部, u8"全班学生信息", Command::show_all},
    {list_layout::k按钮_信息添加, u8"信息添加", Command::add_student},
    {list_layout::k按钮_信息修改, u8"信息修改", Command::edit_student},
    {list_layout::k按钮_Excel导入, u8"Excel导入", Command::import_excel},
    {list_layout::k按钮_Excel导出, u8"Excel导出", Command::export_excel},
    {list_layout::k按钮_删除选中行, u8"删除该生", Command::delete_student},
    {list_layout::k按钮_信息查询, u8"信息查询", Command::view_student},
    {list_layout::k按钮_删除查询, u8"删除查询", Command::deleted_students},
    {list_layout::k按钮_清空数据库, u8"全部清空", Command::clear_all},
}};
inline constexpr std::u8string_view kPanelCaption = u8"操作平台";

struct MenuItem {
    std::u8string_view caption;
    Command command;
};

// The list's pop-up menu "信息维护".
inline constexpr std::array<MenuItem, 3> kListMenu{{
    {u8"信息查询", Command::view_student},
    {u8"信息修改", Command::edit_student},
    {u8"删除该生", Command::delete_student},
}};

inline constexpr std::u8string_view kCaptionSuffix = u8"蔚苗簿";
inline constexpr std::u8string_view kAboutCaption = u8"关于 蔚苗簿";
inline constexpr std::u8string_view kAboutTitle = u8"蔚苗簿";
inline constexpr std::u8string_view kAboutNotice =
    u8"本软件完全免费，仅供学校班级管理使用，不得用于任何商业用途。使用中发现错误或有改进建议，请反馈给作者。";

}  // namespace wmb
